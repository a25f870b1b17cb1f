// Scenario: the Car template on the nominal dry road, driven round steady
// circles through the run loop with the stick held and the speed held by the
// throttle, as a driver feels out how much side acceleration the car holds.
// The path follower plans the car's corners and caps its steering by it.

#include "simulation/scenario_run.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

using test::ScenarioRun;

constexpr std::array<float, 3> kSpeeds{30.0f, 37.0f, 44.0f};         ///< ft/s; 44 is 30 mph
constexpr std::array<float, 5> kSteer{0.1f, 0.2f, 0.3f, 0.4f, 0.6f}; ///< stick x

struct Circle {
    double speed = 0.0; ///< ft/s, mean once settled
    double sideG = 0.0; ///< side acceleration (g), speed times yaw rate
};

/// The Car driven for 12 s at `speed` ft/s with the stick at `steer`, the
/// throttle holding the speed; the means over the last 4 s.
Circle steadyCircle(float speed, float steer) {
    ScenarioRun run(test::vehicleTemplate(model::kVehicleCar));
    run.placeOnGround(0.02f);
    run.record().initial.velocity = {speed, 0.0f, 0.0f};
    double integral = 0.0;
    double sumSpeed = 0.0;
    double sumSide = 0.0;
    int samples = 0;
    run.run(
        12.0f,
        [&](int frame, const SimObject& o, ControlRecord& c) {
            c.stickX = steer * std::min(1.0f, static_cast<float>(frame) / 10.0f);
            const double error = static_cast<double>(speed - o.state.velocity[0]);
            integral = std::clamp(integral + 0.05 * error * ScenarioRun::kFramePeriod, -0.3, 0.5);
            double u = 0.15 * error + integral;
            if (u < 0.0)
                u *= 0.5;
            c.stickY = static_cast<float>(std::clamp(-u, -1.0, 1.0));
        },
        [&](int frame, const SimObject& o) {
            if (frame >= 240) {
                const double v = std::hypot(o.earthVelocity[0], o.earthVelocity[1]);
                sumSpeed += v;
                sumSide += v * static_cast<double>(o.state.rates[2]);
                ++samples;
            }
            return true;
        });
    Circle c;
    if (samples > 0) {
        c.speed = sumSpeed / samples;
        c.sideG = sumSide / samples / static_cast<double>(kStandardGravity);
    }
    return c;
}

TEST(CarScenario, OnADryRoadItHoldsAboutSevenTenthsOfAG) {
    std::printf("car on steady circles, 100 %% dry road: side acceleration in g (speed ft/s)\n");
    std::printf("  speed   ");
    for (float s : kSteer)
        std::printf("   stick x %.1f", static_cast<double>(s));
    std::printf("\n");
    double peak = 0.0;
    for (float speed : kSpeeds) {
        std::printf("  %2.0f ft/s ", static_cast<double>(speed));
        double held = 0.0;
        for (float steer : kSteer) {
            const Circle c = steadyCircle(speed, steer);
            std::printf("  %5.2f (%4.1f)", c.sideG, c.speed);
            held = std::max(held, c.sideG);
        }
        std::printf("\n");
        // At every speed the car holds what the follower plans its corners
        // at (0.6 g), and nowhere much more than the 0.7 g it steers up to.
        EXPECT_GT(held, 0.62) << speed << " ft/s";
        peak = std::max(peak, held);
    }
    EXPECT_LT(peak, 0.8);
}

} // namespace
} // namespace kv::sim
