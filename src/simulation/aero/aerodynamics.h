#pragma once
/// Aerodynamics: fill the object's aerodynamic force set.

#include "simulation/body/body_state.h"
#include "simulation/environment/atmosphere.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Rewrites `obj.forces.aero` (stability axes) from the air density, the body
/// rates of `state` and the object's air data (airspeed, alpha, beta, Mach,
/// alpha rate) with the model chosen by its aerodynamic-model code: F-16 (0),
/// F-4 (1), Boeing 747 (2) or linear (3); any other code gives a zero set.
void ComputeAerodynamics(const AtmosphereSample& air, const BodyState& state, SimObject& obj);

} // namespace kv::sim
