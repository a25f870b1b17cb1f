#include "simulation/sensors.h"

namespace kv::sim {

void updateSensors(const SimObject& /*obj*/, SensorRecord& /*sensors*/) {}

} // namespace kv::sim
