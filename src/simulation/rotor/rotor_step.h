#pragma once
/// The helicopter rotor inside the body's step: its own two-stage integration,
/// the rotor and flap channels and the tachometer.

#include "common/vecmath.h"
#include "simulation/sim_object.h"
#include "simulation/step_context.h"

namespace kv::sim {

/// Shown when a rotor state derivative makes the rotor's integration unstable.
inline constexpr const char* kRotorUnstableMessage = "The helicopter simulation became unstable.";

/// Limit of the three main-rotor flap channels, either way (rad, 10 deg).
inline constexpr float kRotorFlapChannelLimit = 0.17453292f;

/// Rebuilds the object's rotor model at set-up: state 0, nothing pending.
void setUpRotor(RotorModel& rotor);

/// The rotor's part of derivative stage `stage` (1 predictor, 2 corrector) of
/// an object with the helicopter engine, at air-relative body velocity
/// `airVelocity` (ft/s) and body rates `rates` (rad/s). The rotor integrates
/// with the run's physics step and gravity and turns its channels at the rate
/// of the object's propulsion settings. Writes the propulsion
/// force set (both stages give the stage-1 forces); stage 1 predicts the
/// rotor state, stage 2 advances it, turns the rotor channels and sets the
/// flap channels and the tachometer. Throughout the run's first frame the
/// state restarts from 0 on every call. A derivative above 10000, or not
/// finite, stops the advance there and leaves a report pending.
void HelicopterRotor(int stage, SimObject& obj, const Vec3& airVelocity, const Vec3& rates);

/// Shows a pending rotor instability and sets the run's stop flag. Called by
/// the body's step after each derivative evaluation, so the report comes
/// before the body's own test of that stage.
void reportRotorInstability(SimObject& obj, const StepContext& ctx);

} // namespace kv::sim
