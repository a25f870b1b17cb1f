#pragma once
/// Ground and scenery contact of effectors and geometry points: fill the
/// object's ground force set.

#include "simulation/body_state.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Rewrites `obj.forces.ground` (body axes) for derivative stage `stage`; tire
/// and suspension states advance only in stage 2. No contact model is fitted
/// yet, so the set is zero.
void computeGroundContact(int stage, const BodyState& state, SimObject& obj);

} // namespace kv::sim
