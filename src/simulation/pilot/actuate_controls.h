#pragma once
/// Control actuation: commanded positions to the control block.

#include "simulation/control_block.h"

namespace kv::sim {

/// Travel rates of the rate-limited channels (full-scale units per second).
inline constexpr float kSurfaceRate = 5.0f;   ///< aileron, elevator, rudder
inline constexpr float kFlapGearRate = 0.4f;  ///< flap and landing gear
inline constexpr float kThrottleRate = 1.0f;  ///< throttle
inline constexpr float kNozzleRate = 0.5f;    ///< nozzle
inline constexpr float kTireSteerRate = 2.0f; ///< tire steer

/// Moves `current` toward `command` by `rate`*`dt`, landing exactly on the
/// command once it is within one step (0.1% of a step allowed for rounding).
float MoveToward(float current, float command, float rate, float dt);

/// Moves `controls` toward `command` for a sub-step of `dt` (s). The status
/// words, the transmission, the external-force switch with its multipliers and
/// the channels brake to pedal are taken as commanded; aileron, elevator,
/// rudder, flap, landing gear, throttle, nozzle and tire steer travel at their
/// rates. The gear and the rotor and propeller channels belong to the models
/// that write them and are left alone.
void ActuateControls(const CommandRecord& command, ControlBlock& controls, float dt);

} // namespace kv::sim
