#pragma once
/// What the instrument panel reads from the simulated object and the camera,
/// in the units the run keeps (feet, seconds, radians, g).

#include "simulation/camera_record.h"

#include <cstdint>

// Declared only: the Qt views include this header, and the run state's
// "slots" member must not meet Qt's macro of that name.
namespace kv::sim {
struct Slot;
struct RunState;
} // namespace kv::sim

namespace kv::app {

/// The simulated object's instruments.
struct PanelReadings {
    float groundSpeed = 0.0f; ///< horizontal speed over the ground (ft/s)
    float engineRpm = 0.0f;   ///< engine speed on the tachometer (rev/min)
    bool brake = false;       ///< the brakes are applied
    bool brakeHold = false;   ///< B has set the brakes on
    bool cruise = false;      ///< Q: cruise control (car) or autopilot (aircraft) engaged
    int transmission = 0;     ///< -1 reverse, 0 neutral, 1 drive
    float mach = 0.0f;        ///< Mach number
    float altitude = 0.0f;    ///< height above the origin (ft)
    float airspeed = 0.0f;    ///< true airspeed (ft/s)
    float loadFactor = 1.0f;  ///< normal load factor (g)
    float heading = 0.0f;     ///< yaw (rad)
    float flaps = 0.0f;       ///< flap lever 0..1
    float throttle = 0.0f;    ///< throttle lever 0..1
    float nozzle = 0.0f;      ///< nozzle lever 0..1
    bool gearDown = false;    ///< landing gear lever down
};

/// Everything one panel frame depends on.
struct PanelInput {
    PanelReadings readings;
    bool aircraftPanel = false; ///< object 0 is an aircraft or a helicopter
    bool imperial = true;       ///< MPH rather than KPH
    int cameraMode = 0;         ///< 0..10
    bool cameraControl = false; ///< F12: the controller drives the camera
    bool paused = false;        ///< P: the run is paused
};

/// The readings of run slot `slot` (its object's instruments).
PanelReadings readPanel(const sim::Slot& slot);

/// The panel's input: slot 0 of `run` (the simulated object, vehicle type
/// `vehicleType`), the camera and the working length unit (ft per unit).
PanelInput panelInputOf(const sim::RunState& run, std::int32_t vehicleType,
                        const sim::CameraRecord& camera, float lengthUnitFactor);

} // namespace kv::app
