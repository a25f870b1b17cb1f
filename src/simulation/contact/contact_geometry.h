#pragma once
/// Where the tire and skid effectors sit on the body: their attachment points,
/// strut axes and steering, from the effector tree.

#include "common/vecmath.h"
#include "simulation/contact/ground_contact_state.h"
#include "simulation/control_block.h"

namespace kv::sim {

/// Pose of one effector relative to the body.
struct EffectorPose {
    Vec3 position{};                             ///< body axes (ft)
    Mat3 orientation{1, 0, 0, 0, 1, 0, 0, 0, 1}; ///< body to effector axes
};

/// Pose of effector `index` of the tree. Degrees of freedom driven by control
/// channels follow the controls; those driven by the contact model's own
/// outputs (strut compression, tire roll, pivot) stay at rest, since the
/// model measures the compression from the rest position itself. A broken
/// parent chain ends at the body.
EffectorPose effectorPose(const GroundContactState& g, int index, const ControlBlock& controls);

/// Recomputes the attachment point, strut axis, steering angle and side sign
/// of every contact effector.
void updateContactGeometry(GroundContactState& g, const ControlBlock& controls);

} // namespace kv::sim
