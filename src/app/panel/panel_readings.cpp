#include "app/panel/panel_readings.h"

#include "app/settings/units.h"
#include "model/object_record.h"
#include "simulation/run_state.h"

#include <cmath>

namespace kv::app {

PanelReadings readPanel(const sim::Slot& slot) {
    const sim::SimObject& o = slot.sim;
    const sim::AutopilotState& pilot = slot.autopilot;
    PanelReadings r;
    r.groundSpeed = std::hypot(o.earthVelocity[0], o.earthVelocity[1]);
    r.engineRpm = o.engine.rpm;
    r.brake = o.controls.channels[sim::kBrake] > 0.0f;
    r.brakeHold = pilot.levers.brakeHold;
    r.cruise = pilot.engaged;
    r.transmission = o.controls.transmission < 0 ? -1 : (o.controls.transmission > 0 ? 1 : 0);
    r.mach = o.mach;
    r.altitude = -o.position[2];
    r.airspeed = o.airspeed;
    r.loadFactor = o.loadFactor[2];
    r.heading = o.yaw;
    r.flaps = pilot.levers.flap;
    r.throttle = pilot.levers.throttle;
    r.nozzle = pilot.levers.nozzle;
    r.gearDown = pilot.levers.gear > 0.5f;
    return r;
}

PanelInput panelInputOf(const sim::RunState& run, std::int32_t vehicleType,
                        const sim::CameraRecord& camera, float lengthUnitFactor) {
    PanelInput in;
    if (run.slotCount > 0)
        in.readings = readPanel(run.slots[0]);
    in.aircraftPanel =
        vehicleType == model::kVehicleAircraft || vehicleType == model::kVehicleHelicopter;
    in.imperial = !isMetricLength(lengthUnitFactor);
    in.cameraMode = camera.mode;
    in.cameraControl = camera.cameraControl != 0;
    in.paused = run.flags.pause;
    return in;
}

} // namespace kv::app
