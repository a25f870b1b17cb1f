#pragma once
// A pilot layer driven directly: sensed values set by hand, one call a step.

#include "common/unit_constants.h"
#include "model/object_record.h"
#include "simulation/pilot/pilot_stages.h"
#include "simulation/pilot/pilot_step.h"

namespace kv::sim::test {

inline constexpr float kPilotDt = 1.0f / 60.0f;

struct PilotRig {
    ControlRecord raw;
    SensorRecord sensors;
    AutopilotState pilot;
    CommandRecord command;

    PilotRig(int vehicleType, int engineType) {
        pilot.vehicleType = vehicleType;
        pilot.engineType = engineType;
        command.transmission = kDrive;
    }

    /// One pilot step; `key` is the command code of this step's raw controls.
    void step(int key = 0) {
        raw.command = key;
        PilotStep(raw, sensors, pilot, command, kPilotDt, kStandardGravity);
    }

    /// Flying straight and level at `knots` (true and indicated) in the air.
    void flying(float knots) {
        sensors.onGround = 0.0f;
        sensors.trueAirspeed = knots;
        sensors.indicatedAirspeed = knots;
        sensors.totalTemperature = 518.67f;
    }

    void onGround() { sensors.onGround = 1.0f; }
};

inline PilotRig aircraft() {
    return PilotRig(model::kVehicleAircraft, model::kEngineJet);
}
inline PilotRig car() {
    return PilotRig(model::kVehicleCar, model::kEngineCar);
}
inline PilotRig motorcycle() {
    return PilotRig(model::kVehicleMotorcycle, model::kEngineMotorcycle);
}
inline PilotRig helicopter() {
    return PilotRig(model::kVehicleHelicopter, model::kEngineHelicopter);
}

} // namespace kv::sim::test
