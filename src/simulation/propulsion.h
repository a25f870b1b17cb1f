#pragma once
/// Propulsion and rotor effectors: fill the object's propulsion force set.

#include "simulation/body_state.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Rewrites `obj.forces.propulsion` (body axes) for derivative stage `stage`
/// (1 predictor, 2 corrector) from the air-relative velocity and the rates.
/// The helicopter engine's rotor model fills it; other engines leave it zero.
void computePropulsion(int stage, const BodyState& state, SimObject& obj);

} // namespace kv::sim
