#pragma once
/// One derivative evaluation: every force source, then the rigid-body equations.

#include "simulation/body/body_state.h"
#include "simulation/environment/environment.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Predictor and corrector stages of a step.
inline constexpr int kPredictorStage = 1;
inline constexpr int kCorrectorStage = 2;

/// Derivative of `state` for `obj`. The force sources rewrite the object's force
/// sets; `state`'s quaternion is renormalised in place.
StateDerivative ComputeDerivatives(int stage, BodyState& state, SimObject& obj,
                                   const Environment& environment);

} // namespace kv::sim
