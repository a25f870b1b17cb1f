#pragma once
/// Putting every simulated object of the project back to its initial conditions.

#include "model/object_record.h"
#include "simulation/contact/contact_depth.h"
#include "simulation/run_settings.h"
#include "simulation/run_state.h"

#include <span>
#include <vector>

namespace kv::sim {

/// Assigns the run's slots and sets each slot's object up from its record.
///
/// `objects` are the project's objects in use, the camera excluded. Every
/// object's `recordChannel` becomes -1, then that of each slot's object its slot
/// number. Slot 0 takes object 0; each further slot (up to the settings'
/// interactive count) the next object whose role is interactive or static.
///
/// A simulated object that starts inside the ground (a contact point below
/// the surface even with its strut fully compressed) is raised, north, east
/// and attitude kept, until the deepest of its points, struts at rest, rests
/// on the surface (the slot's `startLift` says by how much); its record keeps
/// the initial conditions it was given. One that merely stands on its
/// compressed suspension, as a state taken from a recording does, is left.
void ResetSimulation(RunState& run, const RunSettings& settings,
                     std::span<model::ObjectRecord> objects);

/// The contact depths (ft) of the object `record` describes, set up at its
/// initial conditions on `settings.ground`; `vertices` are its geometry's
/// contact vertices (m, body axes).
ContactDepth initialContactDepth(const model::ObjectRecord& record, const RunSettings& settings,
                                 const std::vector<Vec3>& vertices);

} // namespace kv::sim
