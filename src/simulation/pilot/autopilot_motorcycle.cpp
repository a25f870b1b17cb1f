#include "simulation/pilot/pilot_stages.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kv::sim {

namespace {

/// True airspeeds (ft/s) of the balance gains' schedule: 50 and 70 mph.
constexpr std::array<float, 2> kGainSpeeds{73.33335876464844f, 102.66670989990234f};
/// Roll-rate command per radian of lean error (1/s).
constexpr std::array<float, 2> kLeanGain{2.0f, 0.4f};
/// Roll-rate command limit (rad/s): 100 and 40 deg/s.
constexpr std::array<float, 2> kRollRateLimit{1.7453292608261108f, 0.6981316804885864f};
/// Tire steer per rad/s of roll-rate error: steering into the fall.
constexpr std::array<float, 2> kSteerGain{-0.2f, -0.1f};

/// Speed (ft/s) below which the rider steers directly; the balance law takes
/// over linearly across the next 10 mph.
constexpr float kBalanceOnset = 14.666673f;
/// Largest lean the stick commands (rad): 40 deg.
constexpr float kMaxLean = 0.6981317007977311f;
/// Lean or pitch beyond which the machine is given up (rad): 60 deg.
constexpr float kGiveUp = 1.0471976f;

} // namespace

void motorcycleLaws(AutopilotState& pilot, float gravity, CommandRecord& command) {
    const PilotSensed& s = pilot.sensed;
    const PilotLevers& levers = pilot.levers;
    float lateralCyclic = 0.0f;
    float longitudinalCyclic = 0.0f;
    float steer = levers.steering;

    if (pilot.lateralMode == kModeHold) {
        const float tas = s.trueAirspeed;
        PlaceTableCursor(pilot.gainCursor, kGainSpeeds, tas);
        const float k1 = InterpolateAtCursor(pilot.gainCursor, kLeanGain);
        const float k2 = InterpolateAtCursor(pilot.gainCursor, kRollRateLimit);
        const float k3 = InterpolateAtCursor(pilot.gainCursor, kSteerGain);

        const float w = std::clamp((tas - kBalanceOnset) / kBalanceOnset, 0.0f, 1.0f);
        const float g = std::max(gravity, 3.217f);
        const float steadyLean = std::asin(std::clamp(s.r * tas / g, -1.0f, 1.0f));
        const float leanCommand = w * kMaxLean * levers.steering + (1.0f - w) * steadyLean;
        const float rollRateCommand = std::clamp(k1 * (leanCommand - s.roll), -k2, k2);
        pilot.commands.bank = leanCommand;
        pilot.commands.rollRate = rollRateCommand;

        if (std::fabs(s.roll) < kGiveUp) {
            lateralCyclic = 6.0f * (rollRateCommand - s.p);
        }
        if (std::fabs(s.roll) < kGiveUp && std::fabs(s.pitch) < kGiveUp) {
            const float pitchCommand = (!s.onGround || levers.throttle > 0.5f) ? 0.5235988f : 0.0f;
            const float pitchRateCommand =
                std::clamp(pitchCommand - s.pitch, -0.6981317f, 0.6981317f);
            pilot.commands.flightPath = pitchCommand;
            pilot.commands.pitchRate = pitchRateCommand;
            longitudinalCyclic = std::clamp(
                -5.0f * (pitchRateCommand - s.q) + pilot.integrators.elevator, -1.0f, 1.0f);
        }
        steer = w * k3 * (rollRateCommand - s.p) + (1.0f - w) * levers.steering;
    }

    const float throttle = std::clamp(levers.throttle, 0.0f, 1.0f);
    pilot.lastThrottle = throttle;

    command.autopilotEngaged = 0;
    command.pilotStatus = levers.brakeHold ? 1 : 0;
    command.transmission = levers.transmission;
    command.channels.fill(0.0f);
    command.channels[kThrottle] = throttle;
    command.channels[kBrake] = std::clamp(levers.brake, 0.0f, 1.0f);
    command.channels[kLateralCyclic] = std::clamp(lateralCyclic, -1.0f, 1.0f);
    command.channels[kLongitudinalCyclic] = std::clamp(longitudinalCyclic, -1.0f, 1.0f);
    command.tireSteer = std::clamp(steer, -1.0f, 1.0f);
}

} // namespace kv::sim
