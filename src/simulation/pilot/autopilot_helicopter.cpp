#include "simulation/pilot/pilot_stages.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

/// Forward air speed (ft/s) where the yaw law starts to blend into a
/// coordinated turn (20 knots); the blend is complete 10 knots later.
constexpr float kTurnBlendStart = 33.7562f;
constexpr float kTurnBlendWidth = 16.878098f;
/// Attitude-rate command limit (rad/s): 200 deg/s.
constexpr float kMaxRate = 3.4906585f;

/// A proportional-integral law whose integrator runs only while the output is
/// within [-1, 1].
float rateLaw(float error, float gain, float integralGain, float dt, float& integrator) {
    const float u = gain * error + integrator;
    if (std::fabs(u) <= 1.0f) {
        integrator += dt * integralGain * error;
    }
    return std::clamp(u, -1.0f, 1.0f);
}

} // namespace

void helicopterLaws(AutopilotState& pilot, float gravity, CommandRecord& command) {
    const PilotSensed& s = pilot.sensed;
    const PilotLevers& levers = pilot.levers;
    PilotCommands& c = pilot.commands;
    PilotIntegrators& integ = pilot.integrators;
    const float dt = pilot.dt;
    const bool airborne = !s.onGround;

    c.flightPath =
        pilot.longitudinalMode == kModeHover ? pilot.selected.flightPath * kRadPerDeg : 0.0f;
    c.bank = pilot.lateralMode == kModeHover ? pilot.selected.bank * kRadPerDeg : s.roll;

    // The tail rotor damps yaw in every mode.
    c.filteredYawRate += (levers.rudderOffset * kRadPerDeg - c.filteredYawRate) * dt;
    const float uf = s.forwardAirspeed;
    if (uf > kTurnBlendStart) {
        const float w = std::clamp((uf - kTurnBlendStart) / kTurnBlendWidth, 0.0f, 1.0f);
        c.yawRate =
            (1.0f - w) * c.filteredYawRate + w * std::sin(c.bank) * std::max(gravity, 3.217f) / uf;
    } else {
        c.yawRate = c.filteredYawRate;
    }
    const float yawError = c.yawRate - s.r;
    const float pedal = rateLaw(yawError, 10.0f, 10.0f, dt, integ.yaw);
    integ.yaw = std::clamp(integ.yaw, -1.0f, 1.0f);

    float lateralCyclic = levers.lateralStick;
    if (pilot.lateralMode == kModeHover) {
        lateralCyclic = 0.0f;
        if (airborne) {
            c.rollRate = std::clamp(4.0f * (c.bank - s.roll), -kMaxRate, kMaxRate);
            lateralCyclic = rateLaw(c.rollRate - s.p, 0.2f, 0.7f, dt, integ.aileron);
        }
    }

    float longitudinalCyclic = levers.longitudinalStick;
    if (pilot.longitudinalMode == kModeHover) {
        longitudinalCyclic = 0.0f;
        if (airborne) {
            c.pitchRate = std::clamp(c.flightPath - s.pitch, -kMaxRate, kMaxRate);
            longitudinalCyclic = rateLaw(c.pitchRate - s.q, 2.0f, 0.5f, dt, integ.elevator);
        }
    }

    float collective = levers.throttle;
    if (pilot.speedMode == kModeHold) {
        const float e = pilot.selected.climbRate * 0.016666668f - s.verticalSpeed;
        const float u = 0.02f * e + integ.climbRate;
        if (u >= 0.0f && u <= 1.0f) {
            integ.climbRate += dt * 0.01f * e;
        }
        collective = u;
    }
    collective = std::clamp(collective, 0.0f, 1.0f);
    pilot.lastThrottle = collective;

    command.autopilotEngaged = engagedWord(pilot);
    command.pilotStatus = levers.brakeHold ? 1 : 0;
    command.transmission = levers.transmission;
    auto& ch = command.channels;
    ch.fill(0.0f);
    ch[kBrake] = std::clamp(levers.brake, 0.0f, 1.0f);
    ch[kGear] = std::clamp(levers.gear, 0.0f, 1.0f);
    ch[kNozzle] = std::clamp(levers.nozzle, 0.0f, 1.0f);
    ch[kLateralCyclic] = std::clamp(lateralCyclic, -1.0f, 1.0f);
    ch[kLongitudinalCyclic] = std::clamp(longitudinalCyclic, -1.0f, 1.0f);
    ch[kPedal] = pedal;
    // The rotor reads the collective channel; the throttle channel mirrors it
    // for the instruments and the recorded frames.
    ch[kCollective] = collective;
    ch[kThrottle] = collective;
    const bool taxiing = pilot.lateralMode == kModeManual && s.onGround;
    command.tireSteer = taxiing ? std::clamp(levers.steering, -1.0f, 1.0f) : 0.0f;
}

} // namespace kv::sim
