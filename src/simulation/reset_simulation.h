#pragma once
/// Putting every simulated object of the project back to its initial conditions.

#include "model/object_record.h"
#include "simulation/run_settings.h"
#include "simulation/run_state.h"

#include <span>

namespace kv::sim {

/// Assigns the run's slots and sets each slot's object up from its record.
///
/// `objects` are the project's objects in use, the camera excluded. Every
/// object's `recordChannel` becomes -1, then that of each slot's object its slot
/// number. Slot 0 takes object 0; each further slot (up to the settings'
/// interactive count) the next object whose role is interactive or static.
void ResetSimulation(RunState& run, const RunSettings& settings,
                     std::span<model::ObjectRecord> objects);

} // namespace kv::sim
