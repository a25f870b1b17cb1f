#pragma once
/// What the user is told when a run raised a vehicle that started inside the
/// ground onto it.

#include "app/settings/units.h"
#include "simulation/run_state.h"

#include <span>
#include <string>
#include <vector>

namespace kv::app {

/// "The car started 25.0 ft below the ground and was placed on it.": the
/// vehicle named by its type, the height `liftFeet` (ft) in the working length unit.
std::string startedBelowGroundNotice(std::int32_t vehicleType, float liftFeet,
                                     const WorkingUnits& units);

/// The notices of every slot of `run` that its reset raised, slot order;
/// `objects` are the run's objects (the slots' vehicle types).
std::vector<std::string> startNotices(const sim::RunState& run,
                                      std::span<const model::ObjectRecord> objects,
                                      const WorkingUnits& units);

} // namespace kv::app
