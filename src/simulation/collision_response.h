#pragma once
/// Response to contact with another simulated object: fill the object's
/// collision force set.

#include "simulation/body_state.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Rewrites `obj.forces.collision` (body axes) from the contact that the run
/// loop's pair test stored. No response model is fitted yet, so the set is zero.
void computeCollisionResponse(const BodyState& state, SimObject& obj);

} // namespace kv::sim
