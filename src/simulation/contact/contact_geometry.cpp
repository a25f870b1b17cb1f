#include "simulation/contact/contact_geometry.h"

#include "common/unit_constants.h"
#include "model/driver_codes.h"

#include <cmath>

namespace kv::sim {

namespace {

/// Current value of the quantity a driver code names, as the contact geometry
/// sees it.
float drivingQuantity(int code, float yawOffset, const ControlBlock& c) {
    if (code >= model::kDriverAileron && code <= model::kDriverNozzle) {
        return c.channels[static_cast<std::size_t>(code - 1)];
    }
    switch (code) {
    case model::kDriverPropellerRotation:
        return c.propellerAngle * kDegPerRad;
    case model::kDriverMainRotorRotation:
        return c.mainRotorAngle * kDegPerRad;
    case model::kDriverMainRotorFlap: {
        const float psi = (c.mainRotorAngle * kDegPerRad + yawOffset) * kRadPerDeg;
        return std::sin(psi) * c.flapSin * kDegPerRad + std::cos(psi) * c.flapCos * kDegPerRad +
               c.coning * kDegPerRad;
    }
    case model::kDriverMainRotorPitch:
        return c.mainRotorPitch * kDegPerRad;
    case model::kDriverTailRotorRotation:
        return c.tailRotorAngle * kDegPerRad;
    case model::kDriverTailRotorPitch:
        return c.tailRotorPitch * kDegPerRad;
    case model::kDriverTireSteer:
        return c.tireSteer;
    case model::kDriverTransmission:
        return static_cast<float>(c.transmission);
    case model::kDriverExternalForce:
        return static_cast<float>(c.externalForce);
    default:
        return 0.0f;
    }
}

/// Local translation (ft) and rotation (body-of-parent to effector) of one node.
void localTransform(const ContactTreeNode& n, const ControlBlock& c, Vec3& t, Mat3& r) {
    float v[6];
    for (int i = 0; i < 6; ++i) {
        const auto k = static_cast<std::size_t>(i);
        v[i] = n.drivers[k] == model::kDriverNone || n.drivers[k] >= model::kDriverSkidIndicator
                   ? n.offsets[k]
                   : n.offsets[k] + n.scales[k] * drivingQuantity(n.drivers[k], n.offsets[5], c);
    }
    t = {v[0], v[1], v[2]};
    EulerToMatrix(v[3], v[4], v[5], r);
}

} // namespace

EffectorPose effectorPose(const GroundContactState& g, int index, const ControlBlock& controls) {
    // Gather the chain from the effector up to its root, at most one pass
    // over the tree, then compose from the root down.
    int chain[model::kMaxEffectors];
    int depth = 0;
    for (int e = index; e >= 0 && e < g.treeSize && depth < model::kMaxEffectors;
         e = g.tree[static_cast<std::size_t>(e)].parent) {
        chain[depth++] = e;
    }
    EffectorPose pose;
    for (int k = depth - 1; k >= 0; --k) {
        Vec3 t;
        Mat3 r;
        localTransform(g.tree[static_cast<std::size_t>(chain[k])], controls, t, r);
        Mat3 parentToBody;
        Transpose3(pose.orientation, parentToBody);
        Vec3 offset;
        MatVec3(parentToBody, t, offset);
        VecAdd(pose.position, offset, pose.position);
        Mat3 composed;
        MatMul3(r, pose.orientation, composed);
        pose.orientation = composed;
    }
    return pose;
}

void updateContactGeometry(GroundContactState& g, const ControlBlock& controls) {
    for (int i = 0; i < g.effectorCount; ++i) {
        ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
        const EffectorPose pose = effectorPose(g, c.effector, controls);
        c.attach = pose.position;
        float roll = 0.0f, pitch = 0.0f, yaw = 0.0f;
        MatrixToEuler(pose.orientation, roll, pitch, yaw);
        c.side = SignOf(c.attach[1]);
        if (std::fabs(yaw) > kHalfPi) {
            yaw -= SignOf(yaw) * kPi;
            c.side = -c.side;
        }
        c.steer = yaw;
        const int parent = g.tree[static_cast<std::size_t>(c.effector)].parent;
        if (c.pivoted || parent < 0 || parent >= g.treeSize) {
            c.axis = {0.0f, 0.0f, -1.0f};
        } else {
            const EffectorPose p = effectorPose(g, parent, controls);
            Mat3 toBody;
            Transpose3(p.orientation, toBody);
            MatVec3(toBody, Vec3{0.0f, 0.0f, -1.0f}, c.axis);
        }
    }
}

} // namespace kv::sim
