#pragma once
/// The pilot and autopilot: raw controller input to commanded control positions.

#include "simulation/control_block.h"
#include "simulation/control_record.h"
#include "simulation/pilot/pilot_state.h"
#include "simulation/pilot/sensors.h"

namespace kv::sim {

/// One sub-step of the pilot layer: starts the pilot state at the first call
/// of a run, applies the key command of `raw` (then clears it, so that a key
/// acts once), selects the modes, maps the stick and buttons, takes in the
/// sensors and runs the control laws of the vehicle type, writing `command`.
/// `dt` is the physics step (s), `gravity` the project gravity (ft/s^2).
void PilotStep(ControlRecord& raw, const SensorRecord& sensors, AutopilotState& autopilot,
               CommandRecord& command, float dt, float gravity);

} // namespace kv::sim
