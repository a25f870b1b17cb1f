#include "simulation/propulsion.h"

#include "model/object_record.h"
#include "simulation/rotor_step.h"

namespace kv::sim {

void computePropulsion(int stage, const BodyState& state, SimObject& obj) {
    obj.forces.propulsion.clear();

    // The helicopter's rotor model writes the propulsion set itself.
    if (obj.engine.engineType == model::kEngineHelicopter) {
        HelicopterRotor(stage, obj, obj.airVelocity, state.rates);
    }
}

} // namespace kv::sim
