#pragma once
/// The user-defined external force, built afresh in every derivative evaluation.

#include "simulation/body/body_state.h"
#include "simulation/body/force_set.h"
#include "simulation/environment/environment.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// The external force and moment on `obj` in body axes, for an object whose
/// external-force switch is on: the stored force scaled component-wise by the
/// object's multipliers, applied at the stored point, plus the stored moment.
/// Settings in earth axes are turned with the object's earth-to-body matrix.
/// The caller skips the call while the switch is off.
ForceSet ExternalForceSet(const BodyState& state, const SimObject& obj,
                          const Environment& environment);

} // namespace kv::sim
