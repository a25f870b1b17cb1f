#pragma once
/// The pilot and autopilot: raw controller input to commanded control positions.

#include "simulation/control_block.h"
#include "simulation/control_record.h"
#include "simulation/sensors.h"

namespace kv::sim {

struct AutopilotState {
    bool started = false; ///< the autopilot has captured its targets this run
    int vehicleType = 0;  ///< vehicle type code of the flown object
};

/// Turns `raw` into `command` for one sub-step. No pilot law is fitted yet, so
/// the command stays as it is.
void pilotStep(const ControlRecord& raw, const SensorRecord& sensors, AutopilotState& autopilot,
               CommandRecord& command);

} // namespace kv::sim
