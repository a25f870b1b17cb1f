#include "simulation/propulsion/motorcycle_engine.h"

#include "model/object_record.h"

namespace kv::sim {

const WheeledEngineData kMotorcycleEngine{
    .curveRpm = {3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 15000},
    .curveTorque = {35, 32, 40, 42, 50, 52, 51, 57, 56, 54, 0},
    .torqueNormaliser = 130.0f,
    .ratios = {0.0f, 2.5f, 2.0f, 1.5f, 1.0f, 0.8f, 0.6f},
    .finalDrive = 10.0f,
    .neutralFollowsWheels = false,
    .idleRpm = 1000.0f,
    .maxRpm = 15000.0f,
    .kickdownRpm = 7000.0f,
    .coastDownRpm = 4000.0f,
    .cruiseUpRpm = 7000.0f,
    .forcedUpRpm = 11000.0f,
};

void MotorcycleEngine(SimObject& obj) {
    RunWheeledEngine(kMotorcycleEngine, obj.engine.cursors[model::kEngineMotorcycle], obj);
}

} // namespace kv::sim
