#include "simulation/contact/body_point_contact.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

/// Friction of one touching point, earth axes (lbf). The point holds to its
/// anchor with a spring and damper as stiff as the normal contact while the
/// force that takes stays within the friction limit; beyond it, it slides
/// with a friction that grows with the sliding speed up to the limit at
/// 1 ft/s, and its anchor is dragged along no farther behind it than the
/// limit stretches the spring, so that it sticks again where it stops.
/// `tangentVelocity` is the point's velocity along the surface and `world`
/// its place (earth axes, ft/s, ft).
Vec3 pointFriction(GroundContactState& g, std::size_t i, bool commit, const Vec3& n,
                   const Vec3& world, const Vec3& tangentVelocity, float normal) {
    const Vec3 anchor = g.held[i] != 0 ? g.anchors[i] : world;
    Vec3 offset;
    VecSub(world, anchor, offset);
    Vec3 alongNormal;
    VecScale(n, VecDot(n, offset), alongNormal);
    VecSub(offset, alongNormal, offset);

    const float limit = normal * g.friction;
    Vec3 hold;
    VecScale(offset, -g.bodyStiffness, hold);
    Vec3 damp;
    VecScale(tangentVelocity, -g.bodyDamping, damp);
    VecAdd(hold, damp, hold);
    if (VecLength(hold) <= limit) {
        if (commit) {
            g.anchors[i] = anchor;
            g.held[i] = 1;
        }
        return hold;
    }
    if (commit) {
        const float stretch = VecLength(offset);
        const float reach = g.bodyStiffness > 0.0f ? limit / g.bodyStiffness : 0.0f;
        Vec3 behind{};
        if (stretch > reach && stretch > 0.0f) {
            VecScale(offset, reach / stretch, behind);
        } else {
            behind = offset;
        }
        VecSub(world, behind, g.anchors[i]);
        g.held[i] = 1;
    }
    const float speed = VecLength(tangentVelocity);
    Vec3 dir;
    VecNormalize(tangentVelocity, dir);
    Vec3 slide;
    VecScale(dir, -MinOf(speed, 1.0f) * limit, slide);
    return slide;
}

} // namespace

void addBodyPointContact(int stage, SimObject& obj, const GroundQuery& ground, const Vec3& velocity,
                         const Vec3& rates) {
    const bool commit = stage == 2;
    GroundContactState& g = obj.groundContact;
    const std::size_t count = g.points.size();
    if (count == 0)
        return;
    // Points surely above every surface under the body need no lookup: they
    // would find no contact. The margin (ft) covers the rounding of the
    // interpolated heights, so the forces are the same as with every lookup.
    constexpr float kClearMargin = 0.01f;
    const float reach = g.pointReach;
    const float clear = ground.highestIn(obj.position[0] - reach, obj.position[1] - reach,
                                         obj.position[0] + reach, obj.position[1] + reach) -
                        kClearMargin;
    if (obj.position[2] + reach < clear) {
        std::fill(g.penetration.begin(), g.penetration.end(), 0.0f);
        if (commit) {
            std::fill(g.held.begin(), g.held.end(), std::uint8_t{0});
        }
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3& p = g.points[i];
        Vec3 world;
        MatVec3(obj.bodyToEarth, p, world);
        VecAdd(world, obj.position, world);
        if (world[2] < clear) {
            g.penetration[i] = 0.0f;
            if (commit) {
                g.held[i] = 0;
            }
            continue;
        }
        const float surface = ground.height(g.pointCursor, false, world[0], world[1]);
        if (!(world[2] > surface)) {
            g.penetration[i] = 0.0f;
            if (commit) {
                g.held[i] = 0;
            }
            continue;
        }
        const GroundPoint s = ground.heightAndNormal(g.pointCursor, false, world[0], world[1]);
        const Vec3& n = s.normal;
        const float d = std::clamp((s.height - world[2]) * n[2], 0.0f, 1.0f);

        Vec3 lift;
        VecScale(n, d, lift);
        Vec3 liftBody;
        MatVec3(obj.earthToBody, lift, liftBody);
        Vec3 r;
        VecAdd(p, liftBody, r);

        Vec3 vb;
        VecCross(rates, r, vb);
        VecAdd(vb, velocity, vb);
        Vec3 v;
        MatVec3(obj.bodyToEarth, vb, v);
        Vec3 along;
        VecScale(n, VecDot(n, v), along);
        Vec3 vt;
        VecSub(v, along, vt);

        const float normal =
            MaxOf(0.0f, g.bodyStiffness * d + g.bodyDamping * (d - g.penetration[i]) / g.dt);
        const Vec3 friction = pointFriction(g, i, commit, n, world, vt, normal);

        Vec3 f;
        VecScale(n, normal, f);
        VecAdd(f, friction, f);
        Vec3 fb;
        MatVec3(obj.earthToBody, f, fb);
        VecAdd(obj.forces.ground.force, fb, obj.forces.ground.force);
        Vec3 m;
        VecCross(r, fb, m);
        VecAdd(obj.forces.ground.moment, m, obj.forces.ground.moment);

        g.penetration[i] = d;
    }
}

} // namespace kv::sim
