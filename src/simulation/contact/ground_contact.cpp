#include "simulation/contact/ground_contact.h"

#include "common/unit_constants.h"
#include "simulation/contact/body_point_contact.h"
#include "simulation/contact/contact_geometry.h"
#include "simulation/contact/tire_model.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

const FlatGround kLevelGround{};

struct Motion {
    const Vec3& velocity;
    const Vec3& rates;
};

/// Skid law of a touching skid at `world` (earth axes, ft) with tire frame
/// `toTire`: it holds to where it stuck while static friction can keep it
/// there. The corrector stage (`commit`) moves its anchor.
TireOutput skidContact(ContactEffector& c, const SimObject& obj, const Vec3& world,
                       const Mat3& toTire, const TireInput& in, float braking, bool commit) {
    const Vec3 anchor = c.held ? c.anchor : world;
    Vec3 moved;
    VecSub(world, anchor, moved);
    Vec3 movedBody;
    MatVec3(obj.earthToBody, moved, movedBody);
    Vec3 offset;
    MatVec3(toTire, movedBody, offset);
    bool holding = false;
    const TireOutput law =
        stickingSkidLaw(in.velocity, offset, in.load, braking, c.stiffness, c.damping, holding);
    if (commit) {
        c.anchor = anchor;
        if (!holding) {
            // Dragged along no farther behind than the limit stretches the
            // strut's spring, so that the skid sticks again where it stops.
            const float stretch = VecLength(moved);
            const float reach = c.stiffness > 0.0f ? std::clamp(braking, 0.0f, 5.0f) *
                                                         std::fabs(in.load) / c.stiffness
                                                   : 0.0f;
            Vec3 behind = moved;
            if (stretch > reach && stretch > 0.0f) {
                VecScale(moved, reach / stretch, behind);
            }
            VecSub(world, behind, c.anchor);
        }
        c.held = true;
    }
    return law;
}

/// Suspension and tire or skid law of contact effector `i`.
void contactEffector(int stage, SimObject& obj, const GroundQuery& ground, int i,
                     const Motion& motion) {
    GroundContactState& g = obj.groundContact;
    ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
    const float dt = g.dt;

    Vec3 p = c.attach;
    Vec3 world;
    MatVec3(obj.bodyToEarth, p, world);
    VecAdd(world, obj.position, world);
    const GroundPoint surface = ground.heightAndNormal(c.cursor, false, world[0], world[1]);
    const Vec3& n = surface.normal;
    Vec3 nb;
    MatVec3(obj.earthToBody, n, nb);

    float height = surface.height;
    if (c.isTire) {
        Vec3 d{nb[0], 0.0f, nb[2]};
        VecNormalize(d, d);
        const Vec3 lowest{p[0] - c.radius * d[0], p[1] - c.radius * d[1], p[2] - c.radius * d[2]};
        p = lowest;
        MatVec3(obj.bodyToEarth, p, world);
        VecAdd(world, obj.position, world);
        height = ground.height(c.cursor, false, world[0], world[1]);
    }
    const float depth = world[2] - height;
    Vec3 axisEarth;
    MatVec3(obj.bodyToEarth, c.axis, axisEarth);
    const float alignment = VecDot(axisEarth, n);

    float x = 0.0f;
    if (depth > 0.0f && alignment > 0.0f) {
        const Vec3 down{0.0f, 0.0f, -depth};
        x = std::clamp(VecDot(down, n) / alignment, 0.0f, c.travel);
    }

    TireInput in;
    in.stage = stage;
    in.dt = dt;
    in.compression = x;
    in.radius = c.radius;
    in.width = c.width;
    in.wheelInertia = c.wheelInertia;
    in.braked = c.braked;
    in.driven = c.driven;
    in.brake = obj.controls.channels[kBrake];
    in.braking = g.braking;
    in.driveTorque = obj.engine.driveTorque;
    in.drivenCount = g.drivenCount;
    in.pitch = obj.pitch;
    in.tireType = g.tireType;
    in.grip = g.grip;

    float skid = 0.0f;
    c.normalForce = 0.0f;
    if (x <= 0.0f) {
        if (stage == 2) {
            c.held = false;
        }
        if (c.isTire) {
            // Off the ground the wheel only spins down.
            if (g.detailed) {
                detailedTireLaw(in, c.tire);
            } else {
                simpleTireLaw(in, c.tire);
            }
        }
    } else {
        g.inContact = true;
        const float rate = (x - c.previousCompression) / dt;
        const float normal =
            MaxOf(0.0f, MaxOf(0.0f, -nb[2]) * (c.stiffness * x + c.damping * rate));

        Vec3 r;
        VecScale(c.axis, x, r);
        VecAdd(p, r, r);
        Vec3 vc;
        VecCross(motion.rates, r, vc);
        VecAdd(vc, motion.velocity, vc);
        Vec3 extra;
        VecScale(c.axis, rate, extra);
        VecAdd(vc, extra, vc);
        Vec3 moved;
        VecSub(c.attach, c.attachStart, moved);
        VecScale(moved, 1.0f / dt, moved);
        VecAdd(vc, moved, vc);

        const float slope = std::asin(std::clamp(-nb[0], -1.0f, 1.0f));
        Mat3 t;
        EulerToMatrix(0.0f, slope * kDegPerRad, c.steer * kDegPerRad, t);
        MatVec3(t, vc, in.velocity);
        in.load = -normal;

        TireOutput law;
        if (!c.isTire) {
            law = skidContact(c, obj, world, t, in, g.braking, stage == 2);
        } else if (g.detailed) {
            law = detailedTireLaw(in, c.tire);
        } else {
            law = simpleTireLaw(in, c.tire);
        }
        skid = law.skid;
        c.normalForce = normal;

        Mat3 tt;
        Transpose3(t, tt);
        Vec3 f;
        MatVec3(tt, Vec3{law.fx, law.fy, 0.0f}, f);
        Vec3 push;
        VecScale(nb, normal, push);
        VecAdd(f, push, f);
        VecAdd(obj.forces.ground.force, f, obj.forces.ground.force);

        Vec3 m;
        VecCross(r, f, m);
        VecAdd(obj.forces.ground.moment, m, obj.forces.ground.moment);
        if (c.isTire) {
            const float h = c.wheelInertia * c.tire.spin;
            const Vec3 spinMomentum{h * std::sin(c.steer), h * std::cos(c.steer), 0.0f};
            Vec3 gyro;
            VecCross(motion.rates, spinMomentum, gyro);
            VecAdd(obj.forces.ground.moment, gyro, obj.forces.ground.moment);
        }
    }

    c.previousCompression = x;
    c.compression = x;
    const auto k = static_cast<std::size_t>(i);
    obj.contact.compression[k] = c.travel > 0.0f ? x / c.travel : 0.0f;
    obj.contact.skid[k] = skid;
}

} // namespace

void ComputeGroundForces(int stage, SimObject& obj, const Vec3& velocity, const Vec3& rates) {
    GroundContactState& g = obj.groundContact;
    obj.forces.ground.clear();
    const GroundQuery& ground = g.ground != nullptr ? *g.ground : kLevelGround;

    if (stage == 1 || !g.geometryReady) {
        for (int i = 0; i < g.effectorCount; ++i) {
            ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
            c.attachStart = c.attach;
        }
        updateContactGeometry(g, obj.controls);
        if (!g.geometryReady) {
            for (int i = 0; i < g.effectorCount; ++i) {
                ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
                c.attachStart = c.attach;
            }
            g.geometryReady = true;
        }
    }

    g.inContact = false;
    const Motion motion{velocity, rates};
    for (int i = 0; i < g.effectorCount; ++i) {
        contactEffector(stage, obj, ground, i, motion);
    }

    if (stage == 2) {
        for (int i = 0; i < g.effectorCount; ++i) {
            ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
            c.rollAngle -= SignOf(c.attach[1]) * c.side * c.tire.spin * g.dt;
            obj.contact.rollAngle[static_cast<std::size_t>(i)] = c.rollAngle;
        }
    }

    float rpm = 0.0f;
    for (int i = 0; i < g.effectorCount; ++i) {
        const ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
        if (c.driven) {
            rpm += c.tire.spin * kRpmPerRadPerSec;
        }
    }
    g.drivenWheelRpm = g.drivenCount > 0 ? rpm / static_cast<float>(g.drivenCount) : 0.0f;
    obj.engine.wheelRpm = g.drivenWheelRpm;

    addBodyPointContact(stage, obj, ground, velocity, rates);
}

} // namespace kv::sim
