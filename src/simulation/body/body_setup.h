#pragma once
/// Set-up of a simulated body from its object record and initial conditions.

#include "model/object_record.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Rebuilds `obj` from `record`: position, attitude, velocity and rates from the
/// initial conditions (local origin at latitude 0, longitude 0), scaled mass
/// properties, load factors (0, 0, 1), times 0, force sets, wind and control
/// block cleared. The slot number is left as it is.
void setUpBody(SimObject& obj, const model::ObjectRecord& record);

} // namespace kv::sim
