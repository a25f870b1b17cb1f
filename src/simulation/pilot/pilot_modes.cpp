#include "model/object_record.h"
#include "simulation/pilot/pilot_stages.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

void selectModes(AutopilotState& pilot) {
    if (!pilot.engaged) {
        pilot.longitudinalMode = kModeManual;
        pilot.lateralMode = kModeManual;
        pilot.speedMode = kModeManual;
        pilot.engagementWord = kDisengagedWord;
        pilot.engagementDone = false;
        pilot.climbHoldEngaged = false;
        return;
    }
    const bool hovering = pilot.engineType == model::kEngineHelicopter ||
                          (pilot.engineType == model::kEngineVtolJet && pilot.levers.nozzle > 0.0f);
    pilot.engagementWord = kEngagedWord;
    if (hovering) {
        pilot.longitudinalMode = kModeHover;
        pilot.lateralMode = kModeHover;
        pilot.speedMode = kModeHold;
        pilot.engagementDone = false;
        if (!pilot.climbHoldEngaged) {
            // The climb-rate hold takes its selected rate from the lever:
            // engaging it selects level flight and starts the hold from the
            // output in use, so that the vehicle neither sinks nor jumps.
            pilot.levers.throttle = kLevelFlightLever;
            pilot.integrators.climbRate = std::clamp(pilot.lastThrottle, 0.0f, 1.0f);
            pilot.climbHoldEngaged = true;
        }
        return;
    }
    pilot.climbHoldEngaged = false;
    pilot.longitudinalMode = kModeHold;
    pilot.lateralMode = kModeHold;
    pilot.speedMode = pilot.engineType == model::kEngineSpacecraft ? kModeManual : kModeSpeedHold;
    if (pilot.engagementDone) {
        return;
    }
    // Captured from the sensed values of the previous call (of this call at
    // the first call of a run).
    PilotHolds& h = pilot.holds;
    h.altitude = pilot.sensed.altitude;
    h.heading = pilot.sensed.yaw / kRadPerDeg;
    h.speed = pilot.sensed.indicatedAirspeed * kKnotsPerFps;
    h.speedLow = 0.5f * h.speed;
    h.speedHigh = 2.0f * h.speed;
    const float range = h.speedHigh - h.speedLow;
    pilot.levers.throttle = range > 0.0f ? (h.speed - h.speedLow) / range : 0.0f;
    pilot.engagementDone = true;
}

void mapStick(const ControlRecord& raw, AutopilotState& pilot) {
    PilotLevers& levers = pilot.levers;
    const float x = raw.stickX;
    const float y = raw.stickY;
    if (raw.buttonA != 0) {
        levers.externalForce = true;
        levers.externalForceMultipliers = {-y, x, 0.0f};
    } else if (raw.buttonB != 0) {
        levers.externalForce = true;
        levers.externalForceMultipliers = {0.0f, x, -y};
    } else {
        levers.externalForce = false;
        levers.externalForceMultipliers = {0.0f, 0.0f, 0.0f};
        if (pilot.vehicleType == model::kVehicleCar ||
            pilot.vehicleType == model::kVehicleMotorcycle) {
            levers.brake = levers.brakeHold ? 1.0f : std::max(y, 0.0f);
            levers.throttle = std::max(-y, 0.0f);
            levers.steering = x;
        } else if (pilot.sensed.onGround && levers.brakeHold) {
            levers.lateralStick = 0.0f;
            levers.longitudinalStick = 0.0f;
            levers.brake = std::max(y, 0.0f);
            levers.steering = x;
        } else {
            levers.lateralStick = x;
            levers.longitudinalStick = y;
            levers.brake = levers.brakeHold ? 1.0f : 0.0f;
            levers.steering = 0.0f;
        }
    }
    pilot.selected.bank = x * 60.0f;
    pilot.selected.flightPath = y * 30.0f;
    pilot.selected.climbRate = (levers.throttle - kLevelFlightLever) * 4000.0f;
}

void takeSensors(const SensorRecord& sensors, AutopilotState& pilot) {
    PilotSensed& s = pilot.sensed;
    s.onGround = sensors.onGround != 0.0f;
    s.loadFactor = {sensors.loadFactor[0], sensors.loadFactor[1], sensors.loadFactor[2]};
    s.p = sensors.rates[0] * kRadPerDeg;
    s.q = sensors.rates[1] * kRadPerDeg;
    s.r = sensors.rates[2] * kRadPerDeg;
    s.roll = sensors.roll * kRadPerDeg;
    s.pitch = sensors.pitch * kRadPerDeg;
    s.yaw = sensors.yaw * kRadPerDeg;
    s.alpha = sensors.alpha * kRadPerDeg;
    s.beta = sensors.beta * kRadPerDeg;
    s.flightPath = s.pitch - s.alpha;
    s.altitude = sensors.pressureAltitude;
    s.trueAirspeed = sensors.trueAirspeed * kFpsPerKnot;
    s.indicatedAirspeed = sensors.indicatedAirspeed * kFpsPerKnot;
    s.verticalSpeed = sensors.verticalSpeed / 60.0f;
    s.dynamicPressure = s.indicatedAirspeed * s.indicatedAirspeed * 0.00118845f;
    const float t = sensors.totalTemperature;
    if (t >= 392.67f && t <= 761.67f) {
        s.mach = s.trueAirspeed / std::sqrt(2411.4692f * t);
    }
    const float cosAlpha = std::cos(s.alpha);
    s.forwardAirspeed = s.trueAirspeed * std::cos(s.beta) * cosAlpha;
    s.lateralAirspeed = s.trueAirspeed * std::sin(s.beta) * cosAlpha;
}

std::int32_t engagedWord(const AutopilotState& pilot) {
    return pilot.longitudinalMode == kModeManual && pilot.lateralMode == kModeManual &&
                   pilot.speedMode == kModeManual
               ? 0
               : 1;
}

} // namespace kv::sim
