#pragma once
/// Quantities recomputed from the state after each integration stage.

#include "simulation/body/body_state.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Recomputes `obj`'s matrices, Euler angles, air data, angle rates, load
/// factors, earth velocity and local position from `state` (whose quaternion
/// is renormalised in place) and its derivative `d`.
void UpdateDerivedQuantities(BodyState& state, const StateDerivative& d, SimObject& obj);

} // namespace kv::sim
