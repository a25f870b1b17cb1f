#pragma once
/// The user-defined external force, built afresh in every derivative evaluation.

#include "simulation/body_state.h"
#include "simulation/environment.h"
#include "simulation/force_set.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// The external force and moment (body axes) on `obj`; zero while the object's
/// external-force switch is off. No force model is fitted yet, so it is zero.
ForceSet computeExternalForce(const BodyState& state, const SimObject& obj,
                              const Environment& environment);

} // namespace kv::sim
