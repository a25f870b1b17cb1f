// Scenario: the Car and Motorcycle templates driven on level ground through the
// run loop with a scripted stick, as a player would drive them.

#include "simulation/pilot/pilot_stages.h"
#include "simulation/scenario_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

namespace kv::sim {
namespace {

using test::ScenarioRun;

constexpr float k60Mph = 60.0f * kFpsPerMph;
constexpr float k10Mph = 10.0f * kFpsPerMph;

TEST(CarScenario, FullThrottleFromRestShiftsUpThroughTheGearsPastSixty) {
    ScenarioRun run(test::vehicleTemplate(model::kVehicleCar));
    run.placeOnGround(0.02f);
    std::vector<int> gears;
    std::vector<float> shiftTimes;
    std::vector<float> shiftSpeeds;
    float timeTo60 = -1.0f;
    const auto controller = [](int, const SimObject&, ControlRecord& c) { c.stickY = -1.0f; };
    const auto watcher = [&](int frame, const SimObject& obj) {
        const float t = static_cast<float>(frame + 1) * ScenarioRun::kFramePeriod;
        const float v = test::groundSpeed(obj);
        if (gears.empty() || obj.controls.gear != gears.back()) {
            gears.push_back(obj.controls.gear);
            shiftTimes.push_back(t);
            shiftSpeeds.push_back(v);
        }
        if (timeTo60 < 0.0f && v >= k60Mph)
            timeTo60 = t;
        return true;
    };
    run.run(30.0f, controller, watcher);
    const SimObject& obj = run.object();

    std::printf("car, stick full forward from rest: 0-60 mph in %.2f s; gear at time (speed):",
                static_cast<double>(timeTo60));
    for (std::size_t i = 0; i < gears.size(); ++i)
        std::printf(" %d at %.2f s (%.1f mph)", gears[i], static_cast<double>(shiftTimes[i]),
                    static_cast<double>(shiftSpeeds[i] / kFpsPerMph));
    std::printf("; %.1f mph after 30 s, off the line by %.2f ft\n",
                static_cast<double>(test::groundSpeed(obj) / kFpsPerMph),
                static_cast<double>(std::fabs(obj.position[1])));
    ::testing::Test::RecordProperty("time_to_60_mph_s", std::to_string(timeTo60));

    EXPECT_FALSE(run.unstable());
    ASSERT_GT(timeTo60, 0.0f) << "never reached 60 mph";
    EXPECT_LT(timeTo60, 12.0f);
    // One gear at a time, upward only, at least to 4th in half a minute.
    ASSERT_GE(gears.size(), 4u);
    EXPECT_EQ(gears.front(), 1);
    for (std::size_t i = 1; i < gears.size(); ++i) {
        EXPECT_EQ(gears[i], gears[i - 1] + 1) << "shift " << i << " at " << shiftTimes[i] << " s";
    }
    EXPECT_LT(std::fabs(obj.position[1]), 1.0f) << "it drives straight";
}

TEST(CarScenario, StickFullBackFromSixtyStopsIt) {
    ScenarioRun run(test::vehicleTemplate(model::kVehicleCar));
    run.placeOnGround(0.02f);
    float brakeStart = -1.0f;
    float stoppedAt = -1.0f;
    float brakeSpeed = 0.0f;
    Vec3 brakePosition{};
    const auto controller = [&](int, const SimObject&, ControlRecord& c) {
        c.stickY = brakeStart < 0.0f ? -1.0f : 1.0f;
    };
    const auto watcher = [&](int frame, const SimObject& obj) {
        const float t = static_cast<float>(frame + 1) * ScenarioRun::kFramePeriod;
        const float v = test::groundSpeed(obj);
        if (brakeStart < 0.0f && v >= k60Mph) {
            brakeStart = t;
            brakeSpeed = v;
            brakePosition = obj.position;
        } else if (brakeStart >= 0.0f && v < 0.05f) {
            stoppedAt = t;
            return false;
        }
        return true;
    };
    run.run(40.0f, controller, watcher);
    const SimObject& obj = run.object();
    const float distance = test::groundDistance(obj.position, brakePosition);
    std::printf("car, stick full back at %.1f mph: stopped in %.2f s over %.1f ft, %.2f ft off "
                "the line, yaw %.2f deg\n",
                static_cast<double>(brakeSpeed / kFpsPerMph),
                static_cast<double>(stoppedAt - brakeStart), static_cast<double>(distance),
                static_cast<double>(std::fabs(obj.position[1] - brakePosition[1])),
                static_cast<double>(obj.yaw * kDegPerRad));
    ::testing::Test::RecordProperty("stopping_distance_ft", std::to_string(distance));
    EXPECT_FALSE(run.unstable());
    ASSERT_GT(brakeStart, 0.0f) << "never reached 60 mph";
    ASSERT_GT(stoppedAt, 0.0f) << "still moving";
    EXPECT_LT(stoppedAt - brakeStart, 8.0f);
    // Stopping from 88 ft/s in less than 80 ft would take 1.5 g of tire
    // friction.
    EXPECT_GT(distance, 80.0f);
    EXPECT_LT(distance, 400.0f);
    EXPECT_EQ(obj.controls.channels[kThrottle], 0.0f);
    EXPECT_LT(std::fabs(obj.position[1] - brakePosition[1]), 1.0f) << "it stops straight";
}

/// Unwrapped change of heading from `from` to `to` (rad).
float headingStep(float from, float to) {
    return WrapPi(to - from);
}

TEST(CarScenario, FullSteeringAtTenMphDrivesACircleThatCloses) {
    ScenarioRun run(test::vehicleTemplate(model::kVehicleCar));
    run.placeOnGround(0.02f);
    // Up to 10 mph on part throttle, cruise engaged there, then full steering.
    enum class Phase { Accelerate, Settle, Steer, Lap, Done } phase = Phase::Accelerate;
    int phaseFrame = 0;
    bool pressQ = false;
    float turned = 0.0f;
    float lastYaw = 0.0f;
    Vec3 mark{};
    float markTime = 0.0f;
    float lapTime = 0.0f;
    float diameter = 0.0f;
    float gap = 0.0f;
    float minSpeed = 1e9f, maxSpeed = 0.0f;
    const auto controller = [&](int, const SimObject&, ControlRecord& c) {
        if (pressQ) {
            c.command = kKeyAutopilot;
            pressQ = false;
        }
        switch (phase) {
        case Phase::Accelerate:
            c.stickY = -0.3f;
            break;
        case Phase::Settle:
            break;
        default:
            c.stickX = 1.0f;
            break;
        }
    };
    const auto watcher = [&](int frame, const SimObject& obj) {
        const float t = static_cast<float>(frame + 1) * ScenarioRun::kFramePeriod;
        const float v = test::groundSpeed(obj);
        switch (phase) {
        case Phase::Accelerate:
            if (v >= k10Mph) {
                phase = Phase::Settle;
                phaseFrame = frame;
                pressQ = true;
            }
            break;
        case Phase::Settle:
            if (frame - phaseFrame >= 60) {
                phase = Phase::Steer;
                lastYaw = obj.yaw;
            }
            break;
        case Phase::Steer:
            // A quarter turn to reach the steady circle, then one lap from there.
            turned += headingStep(lastYaw, obj.yaw);
            lastYaw = obj.yaw;
            if (std::fabs(turned) >= 0.5f * 3.14159265f) {
                phase = Phase::Lap;
                mark = obj.position;
                markTime = t;
                turned = 0.0f;
            }
            break;
        case Phase::Lap:
            turned += headingStep(lastYaw, obj.yaw);
            lastYaw = obj.yaw;
            diameter = std::max(diameter, test::groundDistance(obj.position, mark));
            minSpeed = std::min(minSpeed, v);
            maxSpeed = std::max(maxSpeed, v);
            if (std::fabs(turned) >= 2.0f * 3.14159265f) {
                lapTime = t - markTime;
                gap = test::groundDistance(obj.position, mark);
                phase = Phase::Done;
                return false;
            }
            break;
        case Phase::Done:
            return false;
        }
        return true;
    };
    run.run(90.0f, controller, watcher);

    std::printf("car circle at 10 mph, full steering: diameter %.1f ft, lap %.2f s, speed "
                "%.2f..%.2f mph, closes within %.2f ft, turning %s\n",
                static_cast<double>(diameter), static_cast<double>(lapTime),
                static_cast<double>(minSpeed / kFpsPerMph),
                static_cast<double>(maxSpeed / kFpsPerMph), static_cast<double>(gap),
                turned > 0.0f ? "right" : "left");
    ::testing::Test::RecordProperty("circle_diameter_ft", std::to_string(diameter));
    EXPECT_FALSE(run.unstable());
    ASSERT_EQ(phase, Phase::Done) << "no full lap";
    EXPECT_GT(turned, 0.0f) << "stick right turns right";
    // A car's full lock gives a circle of a few car lengths.
    EXPECT_GT(diameter, 20.0f);
    EXPECT_LT(diameter, 120.0f);
    EXPECT_LT(gap, 0.05f * diameter) << "the circle does not close";
    EXPECT_GT(minSpeed, 0.7f * k10Mph) << "cruise lost the speed in the turn";
    EXPECT_LT(maxSpeed, 1.3f * k10Mph);
}

struct Ride {
    int frames = 0;
    bool unstable = false;
    float maxRoll = 0.0f;       ///< deg
    float finalRoll = 0.0f;     ///< deg
    float headingChange = 0.0f; ///< largest, deg
    float speed = 0.0f;         ///< ft/s at the end
    float distance = 0.0f;      ///< ft from the start at the end
    int gear = 0;
};

/// The Motorcycle template from rest, leaning `leanDeg`, throttle lever 0.3
/// (stick pushed 0.3 forward), for `seconds`; `manual` presses Q at the start,
/// which turns off the autopilot the motorcycle starts with.
Ride ride(float leanDeg, bool manual, float seconds) {
    ScenarioRun run(test::vehicleTemplate(model::kVehicleMotorcycle));
    run.placeOnGround(0.05f);
    Ride result;
    run.record().initial.attitude[0] = leanDeg;
    float startYaw = 0.0f;
    const auto controller = [&](int frame, const SimObject&, ControlRecord& c) {
        c.stickY = -0.3f;
        if (manual && frame == 0)
            c.command = kKeyAutopilot;
    };
    const auto watcher = [&](int frame, const SimObject& obj) {
        if (frame == 0)
            startYaw = obj.yaw;
        result.maxRoll = std::max(result.maxRoll, std::fabs(obj.roll) * kDegPerRad);
        result.headingChange =
            std::max(result.headingChange, std::fabs(WrapPi(obj.yaw - startYaw)) * kDegPerRad);
        return std::isfinite(obj.roll);
    };
    result.frames = run.run(seconds, controller, watcher);
    const SimObject& obj = run.object();
    result.unstable = run.unstable();
    result.finalRoll = std::fabs(obj.roll) * kDegPerRad;
    result.speed = test::groundSpeed(obj);
    result.distance = test::groundDistance(obj.position, Vec3{});
    result.gear = obj.controls.gear;
    return result;
}

void print(const char* what, const Ride& r) {
    std::printf("motorcycle, %s: %.1f s, largest |roll| %.2f deg, %.2f deg at the end, heading "
                "change up to %.1f deg, %.1f mph in gear %d, %.0f ft from the start\n",
                what, static_cast<double>(static_cast<float>(r.frames) * ScenarioRun::kFramePeriod),
                static_cast<double>(r.maxRoll), static_cast<double>(r.finalRoll),
                static_cast<double>(r.headingChange), static_cast<double>(r.speed / kFpsPerMph),
                r.gear, static_cast<double>(r.distance));
}

TEST(MotorcycleScenario, AutopilotKeepsItUprightOnAThirdThrottleForThirtySeconds) {
    const Ride upright = ride(0.0f, false, 30.0f);
    print("autopilot, throttle lever 0.3, from upright", upright);
    ::testing::Test::RecordProperty("max_roll_deg", std::to_string(upright.maxRoll));
    EXPECT_FALSE(upright.unstable);
    EXPECT_EQ(upright.frames, 900);
    EXPECT_LT(upright.maxRoll, 30.0f);
    EXPECT_GT(upright.speed, 30.0f) << "it drives off";

    // Started leaning, the autopilot stands it up and rides on.
    const Ride leaning = ride(5.0f, false, 30.0f);
    print("autopilot, throttle lever 0.3, from a 5-deg lean", leaning);
    EXPECT_FALSE(leaning.unstable);
    EXPECT_EQ(leaning.frames, 900);
    EXPECT_LT(leaning.maxRoll, 30.0f);
    EXPECT_LT(leaning.finalRoll, 2.0f);
    EXPECT_GT(leaning.speed, 30.0f);
}

// Without the autopilot nobody balances it: the same lean lays it down.
TEST(MotorcycleScenario, WithoutTheAutopilotTheLeanLaysItDown) {
    const Ride r = ride(5.0f, true, 10.0f);
    print("manual, throttle lever 0.3, from a 5-deg lean", r);
    EXPECT_FALSE(r.unstable);
    EXPECT_GT(r.maxRoll, 30.0f);
}

} // namespace
} // namespace kv::sim
