#pragma once
/// Aerodynamics: fill the object's aerodynamic force set.

#include "simulation/atmosphere.h"
#include "simulation/body_state.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Rewrites `obj.forces.aero` (stability axes) from the air density, the
/// altitude and the body rates. No aerodynamic model is fitted yet, so the set
/// is zero.
void computeAerodynamics(const AtmosphereSample& air, const BodyState& state, SimObject& obj);

} // namespace kv::sim
