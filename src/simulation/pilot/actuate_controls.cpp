#include "simulation/pilot/actuate_controls.h"

#include "common/vecmath.h"

#include <cmath>

namespace kv::sim {

namespace {

/// A remaining distance this much larger than one step still counts as within
/// it: a channel built up from single-precision steps falls short of the whole
/// travel by a few roundings (0 to 1 at 0.4/s and 60 Hz leaves 7.7e-7 after
/// 149 steps), and without the margin it would need an extra, tiny step.
constexpr float kLandingMargin = 1.001f;

} // namespace

float MoveToward(float current, float command, float rate, float dt) {
    const float remaining = command - current;
    const float step = SignOf(remaining) * rate * dt;
    if (std::fabs(remaining) <= std::fabs(step) * kLandingMargin) {
        return command;
    }
    return current + step;
}

void ActuateControls(const CommandRecord& command, ControlBlock& controls, float dt) {
    controls.autopilotEngaged = command.autopilotEngaged;
    controls.pilotStatus = command.pilotStatus;
    controls.transmission = command.transmission;
    controls.externalForce = command.externalForce;
    controls.externalForceMultipliers = command.externalForceMultipliers;

    auto& c = controls.channels;
    const auto& want = command.channels;
    for (int ch = kBrake; ch <= kPedal; ++ch) {
        const auto i = static_cast<std::size_t>(ch);
        c[i] = want[i];
    }

    struct RateLimited {
        ControlChannel channel;
        float rate;
    };
    static constexpr RateLimited kRateLimited[] = {
        {kAileron, kSurfaceRate}, {kElevator, kSurfaceRate}, {kRudder, kSurfaceRate},
        {kFlap, kFlapGearRate},   {kGear, kFlapGearRate},    {kThrottle, kThrottleRate},
        {kNozzle, kNozzleRate},
    };
    for (const RateLimited& r : kRateLimited) {
        const auto i = static_cast<std::size_t>(r.channel);
        c[i] = MoveToward(c[i], want[i], r.rate, dt);
    }
    controls.tireSteer = MoveToward(controls.tireSteer, command.tireSteer, kTireSteerRate, dt);
}

} // namespace kv::sim
