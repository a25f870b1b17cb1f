#include "simulation/pilot_step.h"

namespace kv::sim {

void pilotStep(const ControlRecord& /*raw*/, const SensorRecord& /*sensors*/,
               AutopilotState& /*autopilot*/, CommandRecord& /*command*/) {}

} // namespace kv::sim
