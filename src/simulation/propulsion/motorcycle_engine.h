#pragma once
/// The motorcycle engine (engine type 6).

#include "simulation/propulsion/wheeled_engine.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Torque curve, gearbox and limits of the motorcycle engine.
extern const WheeledEngineData kMotorcycleEngine;

/// Engine speed, gear, drive torque and tachometer of a motorcycle for one
/// derivative evaluation; clears the propulsion force set.
void MotorcycleEngine(SimObject& obj);

} // namespace kv::sim
