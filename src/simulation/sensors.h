#pragma once
/// The pilot layer's view of a simulated object.

#include "simulation/sim_object.h"

namespace kv::sim {

/// What the pilot and autopilot read each sub-step. Filled by `updateSensors`;
/// no quantity is sensed yet.
struct SensorRecord {};

/// Refreshes `sensors` from `obj`. Nothing is sensed yet.
void updateSensors(const SimObject& obj, SensorRecord& sensors);

} // namespace kv::sim
