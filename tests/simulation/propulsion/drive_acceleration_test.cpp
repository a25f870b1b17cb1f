// A car reduced to a point mass on driven wheels of fixed radius: the wheels
// turn with the ground speed and push with the drive torque over the radius.
// It exercises the control actuation and the engine together, the way the
// physics step uses them, without the tire model.

#include "common/unit_constants.h"
#include "simulation/pilot/actuate_controls.h"
#include "simulation/propulsion/car_engine.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

namespace kv::sim {
namespace {

constexpr float kDt = 1.0f / 120.0f;
constexpr float kMass = 100.0f;      // slug, a 3200 lb car
constexpr float kWheelRadius = 1.0f; // ft
constexpr float kSixtyMph = 88.0f;   // ft/s

struct PointCar {
    SimObject obj;
    CommandRecord command;
    float speed = 0.0f; ///< ft/s

    PointCar() {
        obj.engine.engineType = model::kEngineCar;
        obj.engine.power = 200.0f;
        obj.engine.powerFactor = 1.0f;
        command.transmission = kDrive;
    }

    /// One sub-step; the brake is taken as a fixed 0.8 g at full brake.
    void step() {
        ActuateControls(command, obj.controls, kDt);
        obj.engine.wheelRpm = speed / kWheelRadius * kRpmPerRadPerSec;
        CarEngine(obj);
        const float drive = obj.engine.driveTorque / kWheelRadius;
        const float brake = obj.controls.channels[kBrake] * 0.8f * 32.17f * kMass;
        float accel = drive / kMass;
        if (speed > 0.0f)
            accel -= brake / kMass;
        speed = std::max(0.0f, speed + accel * kDt);
    }
};

TEST(CarDrive, FullThrottleFromRestShiftsUpInOrderAndPassesSixtyMph) {
    PointCar car;
    car.command.channels[kThrottle] = 1.0f;
    std::vector<int> gears{1};
    float timeTo60 = -1.0f;
    for (int i = 1; i <= 120 * 60; ++i) {
        car.step();
        if (car.obj.controls.gear != gears.back())
            gears.push_back(car.obj.controls.gear);
        if (timeTo60 < 0.0f && car.speed >= kSixtyMph)
            timeTo60 = static_cast<float>(i) * kDt;
    }
    std::printf("point-mass car, 200 hp, 3200 lb: 0-60 mph in %.2f s, top %.1f mph in gear %d\n",
                static_cast<double>(timeTo60), static_cast<double>(car.speed / 1.4666667f),
                car.obj.controls.gear);
    ASSERT_GT(timeTo60, 0.0f);
    EXPECT_GT(timeTo60, 3.0f);
    EXPECT_LT(timeTo60, 15.0f);
    for (std::size_t k = 1; k < gears.size(); ++k)
        EXPECT_EQ(gears[k], gears[k - 1] + 1) << "shift " << k;
    EXPECT_GE(gears.back(), 4);
}

TEST(CarDrive, ReleasingTheThrottleAndBrakingStopsTheDriveAndTheCar) {
    PointCar car;
    car.command.channels[kThrottle] = 1.0f;
    while (car.speed < kSixtyMph)
        car.step();
    car.command.channels[kThrottle] = 0.0f;
    car.command.channels[kBrake] = 1.0f;
    car.step();
    EXPECT_EQ(car.obj.controls.channels[kBrake], 1.0f); // at once
    EXPECT_GT(car.obj.engine.driveTorque, 0.0f);        // the throttle winds down at 1/s
    float last = car.speed;
    int steps = 0;
    while (car.speed > 0.0f && steps < 120 * 30) {
        car.step();
        EXPECT_LE(car.speed, last);
        last = car.speed;
        ++steps;
    }
    EXPECT_EQ(car.speed, 0.0f);
    EXPECT_EQ(car.obj.controls.channels[kThrottle], 0.0f);
    EXPECT_EQ(car.obj.engine.driveTorque, 0.0f);
    EXPECT_EQ(car.obj.controls.gear, 1); // closed throttle at low speed shifted back down
    std::printf("stopped from 60 mph in %.2f s\n", static_cast<double>(steps) * kDt);
}

} // namespace
} // namespace kv::sim
