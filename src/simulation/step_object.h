#pragma once
/// One fixed physics step of a simulated object (Heun's method).

#include "simulation/sim_object.h"
#include "simulation/step_context.h"

namespace kv::sim {

/// A derivative element above this (signed, not magnitude) marks the
/// integration as unstable.
inline constexpr double kUnstableDerivative = 10000.0;

/// The message shown when the integration becomes unstable.
inline constexpr const char* kUnstableMessage = "The simulation became unstable.";

/// True when derivative element `value` makes the integration unstable: above
/// the threshold, or not a finite number at all (a NaN would otherwise slip
/// through the comparison and poison every later frame).
bool isUnstableDerivative(double value);

/// Advances `obj` by `ctx.dt` with the explicit trapezoidal rule. On an
/// instability the message is shown once, the stop flag is set and the object
/// keeps the elements advanced before the failing one.
void StepObject(SimObject& obj, const StepContext& ctx);

} // namespace kv::sim
