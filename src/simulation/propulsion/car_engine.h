#pragma once
/// The car engine (engine type 5).

#include "simulation/propulsion/wheeled_engine.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Torque curve, gearbox and limits of the car engine.
extern const WheeledEngineData kCarEngine;

/// Engine speed, gear, drive torque and tachometer of a car for one derivative
/// evaluation; clears the propulsion force set.
void CarEngine(SimObject& obj);

} // namespace kv::sim
