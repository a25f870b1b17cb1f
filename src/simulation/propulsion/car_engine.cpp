#include "simulation/propulsion/car_engine.h"

#include "model/object_record.h"

namespace kv::sim {

const WheeledEngineData kCarEngine{
    .curveRpm = {1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 5500, 6000, 9000},
    .curveTorque = {327, 341, 350, 384, 408, 425, 420, 400, 377, 323, 0},
    .torqueNormaliser = 323.0f,
    .ratios = {0.0f, 2.64f, 1.78f, 1.30f, 1.00f, 0.74f, 0.49f},
    .finalDrive = 3.3f,
    .neutralFollowsWheels = true,
    .idleRpm = 600.0f,
    .maxRpm = 9000.0f,
    .kickdownRpm = 3000.0f,
    .coastDownRpm = 1000.0f,
    .cruiseUpRpm = 3000.0f,
    .forcedUpRpm = 6000.0f,
};

void CarEngine(SimObject& obj) {
    RunWheeledEngine(kCarEngine, obj.engine.cursors[model::kEngineCar], obj);
}

} // namespace kv::sim
