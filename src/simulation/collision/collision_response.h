#pragma once
/// Response to contact with another simulated object: fill the object's
/// collision force set.

#include "common/vecmath.h"
#include "simulation/body/body_state.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Rewrites `obj.forces.collision` (body axes) from the contact that the run
/// loop's pair test stored: every touching vertex of this object that lies
/// behind the partner's contact plane is pushed out along the partner's
/// normal, with damping while it separates and friction along the surface.
/// `velocity` (ft/s) and `rates` (rad/s) are this object's, in body axes.
void ComputeCollisionForces(SimObject& obj, const Vec3& velocity, const Vec3& rates);

/// The derivative evaluation's hook: `ComputeCollisionForces` with the
/// state's body velocity and rates.
void ComputeCollisionForces(const BodyState& state, SimObject& obj);

} // namespace kv::sim
