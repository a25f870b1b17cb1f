#pragma once
/// Propulsion and rotor effectors: fill the object's propulsion force set.

#include "simulation/body/body_state.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Rewrites `obj.forces.propulsion` (body axes) and the tachometer for
/// derivative stage `stage` (1 predictor, 2 corrector) with the model of the
/// object's engine type: propeller (1), jet (2), ducted fan (3), VTOL jet (4),
/// car (5), motorcycle (6), helicopter rotor (7), UFO (8), spacecraft (9). Any
/// other code gives a zero set.
void ComputePropulsion(int stage, const BodyState& state, SimObject& obj);

} // namespace kv::sim
