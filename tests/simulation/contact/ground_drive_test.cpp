// The template car under a steady drive torque: the detailed tire law at
// speed, wheel spin and braking to a stop.
#include "ground_fixtures.h"
#include "simulation/contact/contact_geometry.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

constexpr int kStepsPerSecond = 120;

std::unique_ptr<SimObject> carOnLevelGround() {
    model::ObjectRecord r = test::templateRecord(model::kVehicleCar);
    // No engine model: the test sets the drive torque itself.
    r.engineType = 0;
    r.initial.position = {0.0f, 0.0f, -(1.14f + 0.9518f) + 0.14f};
    return test::setUpObject(r, nullptr);
}

TEST(CarDrive, ASteadyDriveTorqueAcceleratesTheCarStraightAhead) {
    auto car = carOnLevelGround();
    test::Stepper stepper;
    for (int step = 1; step <= 8 * kStepsPerSecond; ++step) {
        car->engine.driveTorque = 600.0f;
        stepper.step(*car);
        ASSERT_FALSE(stepper.stop);
    }
    const float speed = car->state.velocity[0];
    std::printf("after 8 s: %.2f ft/s, %.2f ft north, east %.4f ft, yaw %.4f deg, wheel rpm "
                "%.1f, slip %.4f\n",
                static_cast<double>(speed), static_cast<double>(car->position[0]),
                static_cast<double>(car->position[1]), static_cast<double>(car->yaw * 57.29578f),
                static_cast<double>(car->engine.wheelRpm),
                static_cast<double>(car->groundContact.effectors[0].tire.slip));
    EXPECT_GT(speed, 20.0f);
    EXPECT_NEAR(car->position[1], 0.0f, 0.05f);
    EXPECT_NEAR(car->yaw, 0.0f, 0.001f);
    // Driven front wheels spin a little faster than the ground goes by.
    const ContactEffector& front = car->groundContact.effectors[0];
    EXPECT_LT(front.tire.slip, 0.0f);
    EXPECT_GT(front.tire.slip, -0.1f);
    EXPECT_NEAR(car->groundContact.effectors[2].tire.spin * 0.9518f, speed, 0.02f * speed);
    EXPECT_GT(car->contact.rollAngle[1], -1.0e6f);
    EXPECT_LT(car->contact.rollAngle[1], 0.0f) << "right wheels roll nose-down";
    EXPECT_GT(car->contact.rollAngle[0], 0.0f) << "left wheels mirror them";

    // Braking hard brings it to rest.
    for (int step = 1; step <= 8 * kStepsPerSecond; ++step) {
        car->engine.driveTorque = 0.0f;
        car->controls.channels[kBrake] = 1.0f;
        stepper.step(*car);
        ASSERT_FALSE(stepper.stop);
        for (int i = 0; i < 4; ++i) {
            ASSERT_GE(car->contact.skid[static_cast<std::size_t>(i)], 0.0f);
            ASSERT_LE(car->contact.skid[static_cast<std::size_t>(i)], 1.0f);
        }
    }
    EXPECT_LT(std::fabs(car->state.velocity[0]), 0.05f);
}

TEST(CarDrive, SteeringRightTurnsTheCarRight) {
    auto car = carOnLevelGround();
    test::Stepper stepper;
    for (int step = 1; step <= 4 * kStepsPerSecond; ++step) {
        car->engine.driveTorque = 400.0f;
        stepper.step(*car);
    }
    const float yaw0 = car->yaw;
    for (int step = 1; step <= 2 * kStepsPerSecond; ++step) {
        car->engine.driveTorque = 100.0f;
        car->controls.tireSteer = 0.2f;
        stepper.step(*car);
        ASSERT_FALSE(stepper.stop);
    }
    EXPECT_GT(car->yaw - yaw0, 0.2f);
    EXPECT_GT(car->state.rates[2], 0.0f);
    EXPECT_GT(car->position[1], 1.0f) << "heading off to the east";
    EXPECT_LT(std::fabs(car->roll), 0.2f) << "leans, does not roll over";
}

} // namespace
} // namespace kv::sim
