#include "model/object_record.h"
#include "simulation/pilot/pilot_stages.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

constexpr float kMaxFlightPath = 0.5235988f; ///< 30 deg
constexpr float kMaxBank = 1.0471976f;       ///< 60 deg
constexpr float kMaxYawRate = 0.5235988f;    ///< 30 deg/s
/// Ground speed (ft/s) up to which the tire steers an aircraft: 20 knots.
constexpr float kTaxiSpeed = 33.7562f;

struct SurfaceCommands {
    float aileron = 0.0f;
    float elevator = 0.0f;
    float rudder = 0.0f;
    float lateralCyclic = 0.0f;
    float longitudinalCyclic = 0.0f;
    float pedal = 0.0f;
    float throttle = 0.0f;
};

void lateralLaw(AutopilotState& pilot, bool vtol, SurfaceCommands& out) {
    const PilotSensed& s = pilot.sensed;
    PilotCommands& c = pilot.commands;
    const bool airborne = !s.onGround;
    const float stick = pilot.levers.lateralStick;
    switch (pilot.lateralMode) {
    case kModeHold: {
        c.rollRate = std::clamp(2.0f * (c.bank - s.roll), -80.0f, 80.0f);
        const float e = c.rollRate - s.p;
        float& i = pilot.integrators.aileron;
        out.aileron = 0.4f * e + i;
        i = std::clamp(i + pilot.dt * 0.04f * e, -1.0f, 1.0f);
        break;
    }
    case kModeHover:
        if (airborne && vtol) {
            out.pedal = std::clamp(20.0f * (c.yawRate - s.r), -1.0f, 1.0f);
            c.rollRate = std::clamp(0.5f * (c.bank - s.roll), -80.0f, 80.0f);
            out.aileron = std::clamp(10.0f * (c.rollRate - s.p), -1.0f, 1.0f);
            out.lateralCyclic = out.aileron;
        }
        break;
    default:
        out.aileron = stick;
        out.lateralCyclic = airborne ? stick : 0.0f;
        if (airborne && vtol) {
            out.pedal = std::clamp(20.0f * (c.yawRate - s.r), -1.0f, 1.0f);
        }
        break;
    }
}

void longitudinalLaw(AutopilotState& pilot, bool vtol, SurfaceCommands& out) {
    const PilotSensed& s = pilot.sensed;
    PilotCommands& c = pilot.commands;
    const bool airborne = !s.onGround;
    const float stick = pilot.levers.longitudinalStick;
    switch (pilot.longitudinalMode) {
    case kModeHold: {
        // The tan(bank) r term supplies the pitch rate a level turn needs.
        c.pitchRate = 0.4f * (c.flightPath - s.flightPath) + std::tan(s.roll) * s.r;
        const float e = c.pitchRate - s.q;
        float& i = pilot.integrators.elevator;
        const float u = 0.5f * e + i;
        out.elevator = u;
        if (std::fabs(u) <= 1.0f) {
            i += pilot.dt * 2.0f * e;
        }
        i = std::clamp(i, -1.0f, 1.0f);
        break;
    }
    case kModeHover:
        if (airborne && vtol) {
            c.pitchRate = std::clamp(c.flightPath - s.pitch, -12.0f, 12.0f);
            out.elevator = std::clamp(10.0f * (c.pitchRate - s.q), -1.0f, 1.0f);
            out.longitudinalCyclic = out.elevator;
        }
        break;
    default:
        out.elevator = stick + pilot.levers.elevatorTrim;
        out.longitudinalCyclic = airborne ? stick : 0.0f;
        break;
    }
}

/// A proportional-integral hold whose output and integrator stay within [0, 1];
/// the integrator only runs while the output is not saturated.
float holdWithinUnit(float error, float gain, float integralGain, float dt, float& integrator) {
    const float u = gain * error + integrator;
    if (u >= 0.0f && u <= 1.0f) {
        integrator += dt * integralGain * error;
    }
    integrator = std::clamp(integrator, 0.0f, 1.0f);
    return std::clamp(u, 0.0f, 1.0f);
}

float speedLaw(AutopilotState& pilot, bool vtol) {
    const PilotSensed& s = pilot.sensed;
    switch (pilot.speedMode) {
    case kModeSpeedHold:
        return holdWithinUnit(pilot.holds.speed * kFpsPerKnot - s.indicatedAirspeed, 0.1f, 0.01f,
                              pilot.dt, pilot.integrators.throttle);
    case kModeHold:
        if (vtol) {
            return holdWithinUnit(pilot.selected.climbRate * 0.016666668f - s.verticalSpeed, 0.1f,
                                  0.01f, pilot.dt, pilot.integrators.climbRate);
        }
        return pilot.levers.throttle;
    default:
        return pilot.levers.throttle;
    }
}

void writeAircraftOutputs(const AutopilotState& pilot, CommandRecord& command) {
    const PilotLevers& levers = pilot.levers;
    command.autopilotEngaged = engagedWord(pilot);
    command.pilotStatus = levers.brakeHold ? 1 : 0;
    command.transmission = levers.transmission;
    command.channels[kBrake] = std::clamp(levers.brake, 0.0f, 1.0f);
    command.channels[kFlap] = std::clamp(levers.flap, 0.0f, 1.0f);
    command.channels[kGear] = std::clamp(levers.gear, 0.0f, 1.0f);
    command.channels[kNozzle] = std::clamp(levers.nozzle, 0.0f, 1.0f);
    command.channels[kCollective] = 0.0f;
}

} // namespace

void aircraftLaws(AutopilotState& pilot, float gravity, CommandRecord& command) {
    const PilotSensed& s = pilot.sensed;
    PilotCommands& c = pilot.commands;
    const bool vtol = pilot.engineType == model::kEngineVtolJet;
    const bool attitudeLongitudinal =
        pilot.longitudinalMode == kModeHold || pilot.longitudinalMode == kModeHover;
    const bool attitudeLateral = pilot.lateralMode == kModeHold || pilot.lateralMode == kModeHover;

    c.flightPath = std::clamp(attitudeLongitudinal ? pilot.selected.flightPath * kRadPerDeg : 0.0f,
                              -kMaxFlightPath, kMaxFlightPath);
    c.bank =
        std::clamp(attitudeLateral ? pilot.selected.bank * kRadPerDeg : 0.0f, -kMaxBank, kMaxBank);
    if (pilot.lateralMode == kModeHover) {
        c.yawRate = std::clamp(pilot.levers.rudderOffset * kRadPerDeg, -kMaxYawRate, kMaxYawRate);
    }

    SurfaceCommands out;
    lateralLaw(pilot, vtol, out);
    longitudinalLaw(pilot, vtol, out);
    out.throttle = speedLaw(pilot, vtol);

    if (!s.onGround) {
        const float tas = s.trueAirspeed;
        const float turnRate = tas > 10.0f ? std::sin(s.roll) * gravity / tas : 0.0f;
        out.rudder = std::clamp(2.0f * (turnRate - s.r), -1.0f, 1.0f);
    }

    const float throttle = std::clamp(out.throttle, 0.0f, 1.0f);
    pilot.lastThrottle = throttle;

    auto& ch = command.channels;
    ch[kAileron] = std::clamp(out.aileron, -1.0f, 1.0f);
    ch[kElevator] = std::clamp(out.elevator, -1.0f, 1.0f);
    ch[kRudder] = std::clamp(out.rudder, -1.0f, 1.0f);
    ch[kLateralCyclic] = std::clamp(out.lateralCyclic, -1.0f, 1.0f);
    ch[kLongitudinalCyclic] = std::clamp(out.longitudinalCyclic, -1.0f, 1.0f);
    ch[kPedal] = std::clamp(out.pedal, -1.0f, 1.0f);
    ch[kThrottle] = throttle;
    writeAircraftOutputs(pilot, command);

    const bool taxiing =
        pilot.lateralMode == kModeManual && s.onGround && s.indicatedAirspeed <= kTaxiSpeed;
    command.tireSteer = taxiing ? std::clamp(pilot.levers.steering, -1.0f, 1.0f) : 0.0f;
}

void spacecraftLaws(AutopilotState& pilot, CommandRecord& command) {
    const PilotSensed& s = pilot.sensed;
    const PilotLevers& levers = pilot.levers;
    // Rate commands: full stick is 120 deg/s of roll rate and 60 deg/s of pitch rate.
    constexpr float kRateScale = 0.034906585f;
    const float aileron =
        pilot.lateralMode == kModeHold
            ? std::clamp(10.0f * (pilot.selected.bank * kRateScale - s.p), -1.0f, 1.0f)
            : levers.lateralStick;
    const float elevator =
        pilot.longitudinalMode == kModeHold
            ? std::clamp(10.0f * (pilot.selected.flightPath * kRateScale - s.q), -1.0f, 1.0f)
            : levers.longitudinalStick;
    const float pedal =
        pilot.engagementWord == kEngagedWord
            ? std::clamp(10.0f * (levers.rudderOffset * kRateScale - s.r), -1.0f, 1.0f)
            : levers.rudderOffset * 0.03333333333333333f;
    pilot.lastThrottle = 0.0f;

    auto& ch = command.channels;
    ch[kAileron] = std::clamp(aileron, -1.0f, 1.0f);
    ch[kElevator] = std::clamp(elevator, -1.0f, 1.0f);
    ch[kRudder] = 0.0f;
    ch[kLateralCyclic] = 0.0f;
    ch[kLongitudinalCyclic] = 0.0f;
    ch[kPedal] = std::clamp(pedal, -1.0f, 1.0f);
    ch[kThrottle] = std::clamp(levers.throttle, 0.0f, 1.0f);
    writeAircraftOutputs(pilot, command);
    command.tireSteer = std::clamp(levers.steering, -1.0f, 1.0f);
}

} // namespace kv::sim
