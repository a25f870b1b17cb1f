#include "simulation/propulsion/car_engine.h"
#include "simulation/propulsion/motorcycle_engine.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

/// A car of `power` hp in drive, in `gear`, with throttle `t`.
SimObject car(int gear, float throttle, float power = 200.0f) {
    SimObject obj;
    obj.engine.engineType = model::kEngineCar;
    obj.engine.power = power;
    obj.engine.powerFactor = 1.0f;
    obj.controls.transmission = kDrive;
    obj.controls.gear = gear;
    obj.controls.channels[kThrottle] = throttle;
    return obj;
}

/// Sets the wheel speed that turns the engine of `data` at `rpm` in the current gear.
void holdEngineAt(const WheeledEngineData& data, SimObject& obj, float rpm) {
    obj.engine.wheelRpm =
        rpm / (data.ratios[static_cast<std::size_t>(obj.controls.gear)] * data.finalDrive);
}

TEST(CarEngine, TorqueAndPowerFollowTheCurveInFirstGear) {
    struct Point {
        float rpm;
        float curveTorque;
    };
    // Breakpoints, a midpoint and the clamp: above 9000 rpm the engine is held
    // at 9000, where the curve gives 0.
    const Point points[] = {{1000.0f, 327.0f}, {1500.0f, 327.0f}, {3250.0f, 396.0f},
                            {4000.0f, 425.0f}, {5750.0f, 350.0f}, {7500.0f, 161.5f},
                            {9000.0f, 0.0f},   {12000.0f, 0.0f}};
    for (const Point& p : points) {
        SimObject obj = car(1, 0.8f); // 0.8 > 0.6 holds first gear below 3000 rpm
        holdEngineAt(kCarEngine, obj, p.rpm);
        CarEngine(obj);
        // Above 6000 rpm the gearbox has already shifted to second.
        const float ratio = p.rpm > 6000.0f ? 1.78f : 2.64f;
        EXPECT_EQ(obj.controls.gear, p.rpm > 6000.0f ? 2 : 1) << p.rpm << " rpm";
        const float expected =
            p.curveTorque * 200.0f * 1.0f * 0.8f / 323.0f * ratio * (1.0f - 0.18f) * 3.3f;
        EXPECT_NEAR(obj.engine.driveTorque, expected, std::abs(expected) * 1e-5f + 1e-3f)
            << p.rpm << " rpm";
    }
}

TEST(CarEngine, DriveTorqueIsExactAndScalesWithThrottlePowerAndFactor) {
    SimObject obj = car(4, 0.5f, 150.0f);
    obj.engine.powerFactor = 1.25f;
    holdEngineAt(kCarEngine, obj, 1200.0f); // on the flat start of the curve
    CarEngine(obj);
    ASSERT_EQ(obj.controls.gear, 4); // part throttle at 1200 rpm keeps 4th
    EXPECT_EQ(obj.engine.driveTorque,
              327.0f * 150.0f * 1.25f * 0.5f / 323.0f * 1.00f * (1.0f - 0.18f) * 3.3f);

    SimObject closed = car(4, 0.0f);
    holdEngineAt(kCarEngine, closed, 2500.0f);
    CarEngine(closed);
    EXPECT_EQ(closed.engine.driveTorque, 0.0f); // no throttle, no drive: only the brakes slow it
}

TEST(CarEngine, ClosedThrottleAt800RpmShiftsDownOneGearPerEvaluationToFirst) {
    SimObject obj = car(3, 0.0f);
    const int expected[] = {2, 1, 1, 1};
    for (int g : expected) {
        holdEngineAt(kCarEngine, obj, 800.0f);
        CarEngine(obj);
        EXPECT_EQ(obj.controls.gear, g);
    }
}

TEST(CarEngine, At6500RpmAnyThrottleShiftsUpOneGearPerEvaluationUntilSixth) {
    for (float t : {0.0f, 0.3f, 0.6f, 1.0f}) {
        SimObject obj = car(1, t);
        for (int g = 2; g <= 7; ++g) {
            holdEngineAt(kCarEngine, obj, 6500.0f);
            CarEngine(obj);
            EXPECT_EQ(obj.controls.gear, std::min(g, 6)) << "throttle " << t;
        }
    }
}

TEST(CarEngine, ShiftPointsOfTheAutomaticGearbox) {
    struct Case {
        int gear;
        float throttle;
        float rpm;
        int after;
    };
    const Case cases[] = {
        {3, 0.8f, 2900.0f, 2},                        // kick-down below 3000 rpm
        {3, 0.8f, 3100.0f, 3},                        // full throttle holds the gear until 6000 rpm
        {3, 0.8f, 6100.0f, 4}, {1, 0.8f, 2000.0f, 1}, // never below first
        {3, 0.5f, 3100.0f, 4},                        // part throttle shifts up above 3000 rpm
        {3, 0.5f, 2900.0f, 3}, {3, 0.6f, 3500.0f, 3}, // 0.6 is neither part nor heavy throttle
        {3, 0.0f, 1100.0f, 3},                        // coasting holds above 1000 rpm ...
        {3, 0.0f, 3100.0f, 4},                        // ... and shifts up above 3000
        {3, 0.1f, 800.0f, 3},                         // a touch of throttle never shifts down
        {6, 0.2f, 7000.0f, 6},
    };
    for (const Case& c : cases) {
        SimObject obj = car(c.gear, c.throttle);
        holdEngineAt(kCarEngine, obj, c.rpm);
        CarEngine(obj);
        EXPECT_EQ(obj.controls.gear, c.after)
            << "gear " << c.gear << ", throttle " << c.throttle << ", " << c.rpm << " rpm";
    }
}

TEST(CarEngine, ReverseForcesFirstGearAndNegatesTheTorque) {
    SimObject forward = car(1, 1.0f);
    forward.engine.wheelRpm = -300.0f; // rolling backwards: the magnitude drives the engine
    SimObject reverse = forward;
    reverse.controls.transmission = kReverse;
    reverse.controls.gear = 4;
    CarEngine(forward);
    // The first evaluation still reads the engine speed through the old gear.
    reverse.engine.wheelRpm = -300.0f * 2.64f / 1.00f;
    CarEngine(reverse);
    EXPECT_EQ(reverse.controls.gear, 1);
    EXPECT_GT(forward.engine.driveTorque, 0.0f);
    EXPECT_EQ(reverse.engine.driveTorque, -forward.engine.driveTorque);

    reverse.engine.wheelRpm = 100000.0f; // far beyond 9000 rpm: stays in first
    CarEngine(reverse);
    EXPECT_EQ(reverse.controls.gear, 1);
    EXPECT_EQ(reverse.engine.driveTorque, -0.0f);
}

TEST(CarEngine, RpmClampSmoothingIdleAndTachometer) {
    SimObject obj = car(2, 1.0f);
    obj.engine.wheelRpm = 1e6f;
    CarEngine(obj);
    EXPECT_EQ(obj.engine.smoothedRpm, 0.02f * 9000.0f);
    EXPECT_EQ(obj.engine.driveTorque, 0.0f); // 9000 rpm: no torque left
    EXPECT_EQ(obj.engine.rpm, 600.0f);       // shown speed never below idle
    EXPECT_EQ(obj.engine.tachometer, 600.0f / 9000.0f);

    float smoothed = obj.engine.smoothedRpm;
    for (int i = 0; i < 400; ++i) {
        CarEngine(obj);
        smoothed = 0.98f * smoothed + 0.02f * 9000.0f;
        ASSERT_EQ(obj.engine.smoothedRpm, smoothed);
    }
    EXPECT_NEAR(obj.engine.rpm, 9000.0f, 5.0f);
    EXPECT_NEAR(obj.engine.tachometer, 1.0f, 1e-3f);
    EXPECT_EQ(obj.engine.tachometer, obj.engine.rpm / 9000.0f);
}

TEST(CarEngine, NeutralTurnsWithTheWheelsAndTheForceSetIsCleared) {
    SimObject obj = car(2, 0.5f);
    obj.controls.transmission = kNeutral;
    obj.engine.wheelRpm = 3100.0f;
    obj.forces.propulsion.force = {1.0f, 2.0f, 3.0f};
    obj.forces.propulsion.moment = {4.0f, 5.0f, 6.0f};
    CarEngine(obj);
    EXPECT_EQ(obj.engine.smoothedRpm, 0.02f * 3100.0f);
    EXPECT_EQ(obj.controls.gear, 3); // part throttle above 3000 rpm
    EXPECT_EQ(obj.forces.propulsion.force, (Vec3{}));
    EXPECT_EQ(obj.forces.propulsion.moment, (Vec3{}));
}

TEST(CarEngine, AClearedControlBlockStartsInFirstGear) {
    SimObject obj = car(0, 1.0f);
    CarEngine(obj);
    EXPECT_EQ(obj.controls.gear, 1);
    EXPECT_GT(obj.engine.driveTorque, 0.0f); // from rest with full throttle the car pulls away
}

TEST(CarEngine, FromRestFullThrottleShiftsUpThroughTheGearsInOrder) {
    // The wheels are made to follow a steady acceleration; the gearbox must
    // pass each gear in turn and the drive torque must fall with each upshift.
    SimObject obj = car(1, 1.0f);
    int gear = 1;
    float lastTorque = 0.0f;
    for (int step = 0; step < 100000 && gear < 6; ++step) {
        obj.engine.wheelRpm = static_cast<float>(step) * 0.05f;
        CarEngine(obj);
        if (obj.controls.gear != gear) {
            EXPECT_EQ(obj.controls.gear, gear + 1);
            EXPECT_LT(obj.engine.driveTorque, lastTorque);
            gear = obj.controls.gear;
        }
        lastTorque = obj.engine.driveTorque;
        EXPECT_GT(obj.engine.driveTorque, 0.0f);
    }
    EXPECT_EQ(gear, 6);
}

SimObject motorcycle(int gear, float throttle) {
    SimObject obj;
    obj.engine.engineType = model::kEngineMotorcycle;
    obj.engine.power = 100.0f;
    obj.engine.powerFactor = 1.0f;
    obj.controls.transmission = kDrive;
    obj.controls.gear = gear;
    obj.controls.channels[kThrottle] = throttle;
    return obj;
}

TEST(MotorcycleEngine, AutomaticGearboxShiftsUpAndDown) {
    struct Case {
        int gear;
        float throttle;
        float rpm;
        int after;
    };
    const Case cases[] = {
        {3, 0.8f, 6900.0f, 2}, {3, 0.8f, 7100.0f, 3}, {3, 0.8f, 11100.0f, 4},
        {3, 0.0f, 3900.0f, 2}, {3, 0.0f, 4100.0f, 3}, {3, 0.5f, 7100.0f, 4},
        {3, 0.5f, 6900.0f, 3}, {1, 0.0f, 1000.0f, 1}, {6, 1.0f, 14000.0f, 6},
        {5, 0.3f, 3000.0f, 5},
    };
    for (const Case& c : cases) {
        SimObject obj = motorcycle(c.gear, c.throttle);
        holdEngineAt(kMotorcycleEngine, obj, c.rpm);
        MotorcycleEngine(obj);
        EXPECT_EQ(obj.controls.gear, c.after)
            << "gear " << c.gear << ", throttle " << c.throttle << ", " << c.rpm << " rpm";
    }
}

TEST(MotorcycleEngine, TorqueIdleNeutralAndTachometer) {
    SimObject obj = motorcycle(2, 0.8f);
    holdEngineAt(kMotorcycleEngine, obj, 6500.0f);
    MotorcycleEngine(obj);
    ASSERT_EQ(obj.controls.gear, 1); // kick-down below 7000 rpm
    const float curve = 46.0f;       // halfway between 42 at 6000 and 50 at 7000
    EXPECT_NEAR(obj.engine.driveTorque,
                curve * 100.0f * 0.8f / 130.0f * 2.5f * (1.0f - 0.18f) * 10.0f, 1e-3f);
    EXPECT_EQ(obj.engine.rpm, 1000.0f); // idle
    EXPECT_EQ(obj.engine.tachometer, 1000.0f / 15000.0f);

    SimObject idle = motorcycle(3, 0.0f);
    idle.controls.transmission = kNeutral;
    idle.engine.wheelRpm = 5000.0f; // ignored in neutral
    MotorcycleEngine(idle);
    EXPECT_EQ(idle.engine.smoothedRpm, 0.02f * 1000.0f);
    EXPECT_EQ(idle.controls.gear, 2); // closed throttle below 4000 rpm

    SimObject fast = motorcycle(6, 1.0f);
    fast.engine.wheelRpm = 1e6f;
    MotorcycleEngine(fast);
    EXPECT_EQ(fast.engine.smoothedRpm, 0.02f * 15000.0f);
    EXPECT_EQ(fast.engine.driveTorque, 0.0f);

    SimObject back = motorcycle(4, 1.0f);
    back.controls.transmission = kReverse;
    holdEngineAt(kMotorcycleEngine, back, 5000.0f);
    MotorcycleEngine(back);
    EXPECT_EQ(back.controls.gear, 1);
    EXPECT_LT(back.engine.driveTorque, 0.0f);
}

} // namespace
} // namespace kv::sim
