#include "simulation/pilot/pilot_step.h"

#include "model/object_record.h"
#include "simulation/pilot/pilot_stages.h"

namespace kv::sim {

void PilotStep(ControlRecord& raw, const SensorRecord& sensors, AutopilotState& autopilot,
               CommandRecord& command, float dt, float gravity) {
    if (!autopilot.started) {
        startPilot(autopilot, command);
        // The first call has no previous sensed values: an autopilot engaged
        // on it captures its holds from the present ones instead of zeros.
        takeSensors(sensors, autopilot);
    }
    autopilot.dt = dt;
    autopilot.elapsed += dt;

    applyKeyCommand(raw.command, autopilot);
    raw.command = 0;

    selectModes(autopilot);
    mapStick(raw, autopilot);
    takeSensors(sensors, autopilot);

    switch (autopilot.vehicleType) {
    case model::kVehicleCar:
        carLaws(autopilot, command);
        break;
    case model::kVehicleMotorcycle:
        motorcycleLaws(autopilot, gravity, command);
        break;
    case model::kVehicleHelicopter:
        helicopterLaws(autopilot, gravity, command);
        break;
    case model::kVehicleAircraft:
        if (autopilot.engineType == model::kEngineSpacecraft) {
            spacecraftLaws(autopilot, command);
        } else {
            aircraftLaws(autopilot, gravity, command);
        }
        break;
    default:
        return;
    }

    command.externalForce = autopilot.levers.externalForce ? 1 : 0;
    command.externalForceMultipliers = autopilot.levers.externalForceMultipliers;
}

} // namespace kv::sim
