#include "model/object_record.h"
#include "simulation/pilot/pilot_stages.h"

#include <algorithm>

namespace kv::sim {

void startPilot(AutopilotState& pilot, const CommandRecord& command) {
    AutopilotState fresh;
    fresh.started = true;
    fresh.vehicleType = pilot.vehicleType;
    fresh.engineType = pilot.engineType;
    fresh.trim = pilot.trim;
    // The helicopter and the motorcycle need the autopilot to be flyable at all.
    fresh.engaged = pilot.engineType == model::kEngineHelicopter ||
                    pilot.vehicleType == model::kVehicleMotorcycle;

    // Levers start where the run's initial control values put the controls, so
    // that the first sub-step does not throw the gear, flaps or throttle.
    const auto& ch = command.channels;
    PilotLevers& levers = fresh.levers;
    levers.throttle = std::clamp(ch[kThrottle], 0.0f, 1.0f);
    levers.brake = std::clamp(ch[kBrake], 0.0f, 1.0f);
    levers.nozzle = std::clamp(ch[kNozzle], 0.0f, 1.0f);
    levers.flap = std::clamp(ch[kFlap], 0.0f, 1.0f);
    levers.gear = std::clamp(ch[kGear], 0.0f, 1.0f);
    levers.transmission = command.transmission < 0 ? kReverse : kDrive;
    fresh.lastThrottle = levers.throttle;
    if (pilot.engineType == model::kEngineHelicopter) {
        // A helicopter starts on its climb-rate hold: select level flight and
        // start the hold from the initial collective, so that the first
        // sub-steps neither dive at the lever's -2000 ft/min nor drop the
        // collective to 0 while the integrator winds up.
        levers.throttle = kLevelFlightLever;
        fresh.integrators.climbRate = std::clamp(ch[kCollective], 0.0f, 1.0f);
        fresh.lastThrottle = fresh.integrators.climbRate;
    }
    if (pilot.trim.active) {
        // A trimmed start: the manual stick centres on the trimmed elevator,
        // and the holds start from the trimmed positions, so that engaging
        // the autopilot does not bump the controls.
        const PilotTrim& t = pilot.trim;
        levers.elevatorTrim = t.elevator;
        PilotIntegrators& i = fresh.integrators;
        if (pilot.vehicleType == model::kVehicleHelicopter) {
            i.aileron = t.lateralCyclic;
            i.elevator = t.longitudinalCyclic;
            i.yaw = t.pedal;
        } else {
            i.elevator = t.elevator;
            i.throttle = t.throttle;
        }
    }
    pilot = fresh;
}

namespace {

/// The held speed follows the throttle lever across the held-speed range.
void followLever(AutopilotState& pilot) {
    PilotHolds& h = pilot.holds;
    h.speed = h.speedLow + pilot.levers.throttle * (h.speedHigh - h.speedLow);
}

} // namespace

// The lever steps stop at the ends of their travel: a lever that stepped past
// 0 would put the held speed below the bottom of its range.
void applyKeyCommand(std::int32_t code, AutopilotState& pilot) {
    PilotLevers& levers = pilot.levers;
    switch (code) {
    case kKeyAutopilot:
        pilot.engaged = !pilot.engaged;
        if (!pilot.engaged) {
            levers.throttle = pilot.sensed.onGround ? 0.0f : pilot.lastThrottle;
        }
        break;
    case kKeyNozzleDown:
        if (levers.nozzle < 1.0f) {
            levers.nozzle = std::clamp(levers.nozzle + 0.1f, 0.0f, 1.0f);
        }
        break;
    case kKeyNozzleUp:
        if (levers.nozzle > 0.0f) {
            levers.nozzle = std::clamp(levers.nozzle - 0.1f, 0.0f, 1.0f);
        }
        break;
    case kKeyThrottleDown:
        if (levers.throttle > 0.0f) {
            levers.throttle = std::clamp(levers.throttle - 0.05f, 0.0f, 1.0f);
        }
        followLever(pilot);
        break;
    case kKeyThrottleUp:
        if (levers.throttle < 1.0f) {
            levers.throttle = std::clamp(levers.throttle + 0.05f, 0.0f, 1.0f);
        }
        followLever(pilot);
        break;
    case kKeyBrakeHold:
        levers.brakeHold = !levers.brakeHold;
        break;
    case kKeyGear:
        levers.gear = levers.gear == 0.0f ? 1.0f : 0.0f;
        break;
    case kKeyFlaps:
        levers.flap = levers.flap == 0.0f ? 0.5f : (levers.flap == 0.5f ? 1.0f : 0.0f);
        break;
    case kKeyRudderRight:
        levers.rudderOffset = levers.rudderOffset > 0.0f ? 0.0f : 30.0f;
        break;
    case kKeyRudderLeft:
        levers.rudderOffset = levers.rudderOffset < 0.0f ? 0.0f : -30.0f;
        break;
    case kKeyReverse:
        levers.transmission = levers.transmission == kDrive ? kReverse : kDrive;
        break;
    default:
        break;
    }
}

} // namespace kv::sim
