#pragma once
/// Control actuation: commanded positions to the control block.

#include "simulation/control_block.h"

namespace kv::sim {

/// Moves `controls` toward `command` for a sub-step of `dt` (s). No actuator
/// model is fitted yet, so the control block stays as it is.
void ActuateControls(const CommandRecord& command, ControlBlock& controls, float dt);

} // namespace kv::sim
