#include "simulation/propulsion/propulsion.h"

#include "simulation/propulsion/car_engine.h"
#include "simulation/propulsion/motorcycle_engine.h"
#include "simulation/propulsion/thrust_engines.h"
#include "simulation/propulsion/ufo_drive.h"
#include "simulation/rotor/rotor_step.h"

namespace kv::sim {

void ComputePropulsion(int stage, const BodyState& state, SimObject& obj) {
    switch (obj.engine.engineType) {
    case model::kEnginePropeller:
        propellerEngine(stage, state, obj);
        break;
    case model::kEngineJet:
        jetEngine(state, obj);
        break;
    case model::kEngineDuctedFan:
        ductedFanEngine(stage, obj);
        break;
    case model::kEngineVtolJet:
        vtolJetEngine(state, obj);
        break;
    case model::kEngineCar:
        CarEngine(obj);
        break;
    case model::kEngineMotorcycle:
        MotorcycleEngine(obj);
        break;
    case model::kEngineHelicopter:
        obj.forces.propulsion.clear();
        HelicopterRotor(stage, obj, obj.airVelocity, state.rates);
        break;
    case model::kEngineUfo:
        ufoDrive(state, obj);
        break;
    case model::kEngineSpacecraft:
        spacecraftEngine(obj);
        break;
    default:
        obj.forces.propulsion.clear();
        break;
    }
}

} // namespace kv::sim
