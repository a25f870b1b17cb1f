#include "common/unit_constants.h"
#include "simulation/propulsion/propulsion.h"
#include "simulation/propulsion/thrust_engines.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

SimObject engineObject(int type, float power, float throttle) {
    SimObject obj;
    obj.engine.engineType = type;
    obj.engine.power = power;
    obj.engine.powerFactor = 1.0f;
    obj.controls.channels[kThrottle] = throttle;
    return obj;
}

BodyState at(float altitude) {
    BodyState s;
    s.altitude = altitude;
    return s;
}

TEST(PropellerEngine, ThrustIsPowerOverAirspeedWithAltitudeEfficiency) {
    SimObject obj = engineObject(model::kEnginePropeller, 200.0f, 0.5f);
    obj.engine.powerFactor = 1.5f;
    obj.airspeed = 200.0f;
    ComputePropulsion(1, at(10000.0f), obj);
    const float eta = 0.7f + 0.07075f - 0.0072f; // h = 10 thousand ft
    EXPECT_NEAR(propellerEfficiency(10000.0f), eta, 1e-6f);
    EXPECT_NEAR(obj.forces.propulsion.force[0], eta * 200.0f * 1.5f * 0.5f * 550.0f / 200.0f,
                1e-2f);
    EXPECT_EQ(obj.forces.propulsion.force[1], 0.0f);
    EXPECT_EQ(obj.forces.propulsion.force[2], 0.0f);
    EXPECT_FLOAT_EQ(obj.engine.tachometer, (1700.0f * 0.5f + 800.0f) / 2500.0f);
}

// At rest (and up to 1 ft/s) the propeller gives its static thrust.
TEST(PropellerEngine, StaticThrustAtOrBelowOneFootPerSecond) {
    for (float v : {0.0f, 0.5f, 1.0f}) {
        SimObject obj = engineObject(model::kEnginePropeller, 100.0f, 1.0f);
        obj.airspeed = v;
        ComputePropulsion(1, at(0.0f), obj);
        EXPECT_FLOAT_EQ(obj.forces.propulsion.force[0], 0.7f * 100.0f * 550.0f) << v;
    }
    SimObject moving = engineObject(model::kEnginePropeller, 100.0f, 1.0f);
    moving.airspeed = 2.0f;
    ComputePropulsion(1, at(0.0f), moving);
    EXPECT_FLOAT_EQ(moving.forces.propulsion.force[0], 0.7f * 100.0f * 550.0f / 2.0f);
}

TEST(PropellerEngine, GyroscopicMomentOfTheSpinningPropeller) {
    SimObject obj = engineObject(model::kEnginePropeller, 100.0f, 1.0f);
    BodyState s = at(0.0f);
    s.rates = {0.3f, 0.2f, -0.1f};
    ComputePropulsion(1, s, obj);
    const float h = 0.306f * 2500.0f * 0.10471975511965967f;
    // (p, q, r) x (h, 0, 0) = (0, r h, -q h)
    EXPECT_FLOAT_EQ(obj.forces.propulsion.moment[0], 0.0f);
    EXPECT_NEAR(obj.forces.propulsion.moment[1], -0.1f * h, 1e-4f);
    EXPECT_NEAR(obj.forces.propulsion.moment[2], -0.2f * h, 1e-4f);
}

// The propeller channel advances only in the corrector stage, at a rate set by
// the blade count and the frame period.
TEST(PropellerEngine, RotationChannelTurnsInStageTwo) {
    SimObject obj = engineObject(model::kEnginePropeller, 100.0f, 0.5f);
    obj.propulsionSettings.bladeCount = 3;
    obj.propulsionSettings.framePeriod = 1.0f / 30.0f;
    obj.propulsionSettings.dt = 1.0f / 120.0f;
    const float rate = 18.84955592153874f / (3.0f * (1.0f / 30.0f) * 5.0f);
    EXPECT_FLOAT_EQ(propellerChannelRate(obj.propulsionSettings), rate);
    ComputePropulsion(1, at(0.0f), obj);
    EXPECT_EQ(obj.controls.propellerAngle, 0.0f);
    ComputePropulsion(2, at(0.0f), obj);
    EXPECT_FLOAT_EQ(obj.controls.propellerAngle, rate / 120.0f);

    obj.propulsionSettings.bladeCount = 0; // no blades: turns as with one
    EXPECT_FLOAT_EQ(propellerChannelRate(obj.propulsionSettings), 3.0f * rate);
}

TEST(JetEngine, TwoEnginesInclinedAndOffset) {
    SimObject obj = engineObject(model::kEngineJet, 30000.0f, 0.5f);
    ComputePropulsion(1, at(11000.0f), obj);
    const float thrust = 2.0f * 0.5f * 30000.0f * (1.0f - 11000.0f / 55000.0f);
    const float down = std::sin(87.28f * kRadPerDeg) * std::sin(5.25f * kRadPerDeg);
    const ForceSet& f = obj.forces.propulsion;
    EXPECT_NEAR(f.force[0], std::cos(5.25f * kRadPerDeg) * thrust, 0.05f);
    EXPECT_EQ(f.force[1], 0.0f);
    EXPECT_NEAR(f.force[2], down * thrust, 0.01f);
    EXPECT_NEAR(f.moment[1], (-0.3f * std::cos(5.25f * kRadPerDeg) + 0.3f * down) * thrust, 0.01f);
    EXPECT_EQ(f.moment[0], 0.0f);
    EXPECT_EQ(f.moment[2], 0.0f);
    EXPECT_FLOAT_EQ(obj.engine.tachometer, 0.5f);
}

TEST(JetEngine, ThrottleClampedAndNoThrustFrom55000Feet) {
    SimObject obj = engineObject(model::kEngineJet, 1000.0f, 1.5f);
    ComputePropulsion(1, at(0.0f), obj);
    EXPECT_NEAR(obj.forces.propulsion.force[0], 2000.0f * std::cos(5.25f * kRadPerDeg), 1e-3f);
    EXPECT_EQ(obj.engine.tachometer, 1.0f);
    for (float altitude : {55000.0f, 70000.0f}) {
        ComputePropulsion(1, at(altitude), obj);
        EXPECT_EQ(obj.forces.propulsion.force[0], 0.0f) << altitude;
    }
}

TEST(VtolJet, NozzleSwivelsThrustAndCeilingIs60000Feet) {
    SimObject obj = engineObject(model::kEngineVtolJet, 20000.0f, 0.8f);
    obj.propulsionSettings.nozzleLimit = 90.0f;
    obj.controls.channels[kNozzle] = 1.0f;
    obj.controls.channels[kLateralCyclic] = 0.2f;
    obj.controls.channels[kLongitudinalCyclic] = -0.4f;
    obj.controls.channels[kPedal] = 0.1f;
    ComputePropulsion(1, at(0.0f), obj);
    const ForceSet& f = obj.forces.propulsion;
    EXPECT_NEAR(f.force[0], 0.0f, 1e-2f);
    EXPECT_FLOAT_EQ(f.force[2], -16000.0f); // straight up
    EXPECT_FLOAT_EQ(f.moment[0], 0.5f * 20000.0f * 0.2f);
    EXPECT_FLOAT_EQ(f.moment[1], 0.5f * 20000.0f * -0.4f);
    EXPECT_FLOAT_EQ(f.moment[2], 0.5f * 20000.0f * 0.1f);
    EXPECT_FLOAT_EQ(obj.engine.tachometer, 0.8f);

    obj.controls.channels[kNozzle] = 0.0f;
    ComputePropulsion(1, at(30000.0f), obj);
    EXPECT_FLOAT_EQ(f.force[0], 8000.0f);
    for (float altitude : {60000.0f, 65000.0f}) {
        ComputePropulsion(1, at(altitude), obj);
        EXPECT_EQ(f.force[0], 0.0f) << altitude;
        EXPECT_NE(f.moment[0], 0.0f); // reaction controls keep working
    }
}

TEST(DuctedFan, VectoredByTheAileronFiveFeetBehind) {
    SimObject obj = engineObject(model::kEngineDuctedFan, 300.0f, 1.0f);
    obj.propulsionSettings.aileronLimit = 30.0f;
    obj.controls.channels[kAileron] = 1.0f / 3.0f; // 10 deg
    ComputePropulsion(2, at(0.0f), obj);
    const ForceSet& f = obj.forces.propulsion;
    EXPECT_NEAR(f.force[0], 300.0f * std::cos(10.0f * kRadPerDeg), 1e-3f);
    EXPECT_NEAR(f.force[1], -300.0f * std::sin(10.0f * kRadPerDeg), 1e-3f);
    EXPECT_EQ(f.force[2], 0.0f);
    // (-5, 0, 0) x F
    EXPECT_EQ(f.moment[0], 0.0f);
    EXPECT_EQ(f.moment[1], 0.0f);
    EXPECT_NEAR(f.moment[2], -5.0f * f.force[1], 1e-3f);
    EXPECT_FLOAT_EQ(obj.engine.tachometer, 1.0f);
    EXPECT_GT(obj.controls.propellerAngle, 0.0f);
}

TEST(Spacecraft, ThrustAndControlMomentsScaleWithPower) {
    SimObject obj = engineObject(model::kEngineSpacecraft, 500.0f, 0.6f);
    obj.engine.powerFactor = 2.0f;
    obj.controls.channels[kAileron] = 0.1f;
    obj.controls.channels[kElevator] = -0.2f;
    obj.controls.channels[kPedal] = 0.3f;
    ComputePropulsion(1, at(0.0f), obj);
    const ForceSet& f = obj.forces.propulsion;
    EXPECT_FLOAT_EQ(f.force[0], 600.0f);
    EXPECT_FLOAT_EQ(f.moment[0], 100.0f);
    EXPECT_FLOAT_EQ(f.moment[1], -200.0f);
    EXPECT_FLOAT_EQ(f.moment[2], 300.0f);
    EXPECT_FLOAT_EQ(obj.engine.tachometer, 0.6f);
}

// Reverse negates every thrust; moments that are not thrust stay.
TEST(Propulsion, ReverseNegatesThrust) {
    for (int type : {model::kEnginePropeller, model::kEngineJet, model::kEngineDuctedFan,
                     model::kEngineVtolJet, model::kEngineSpacecraft}) {
        SimObject forward = engineObject(type, 1000.0f, 0.7f);
        forward.airspeed = 100.0f;
        ComputePropulsion(1, at(1000.0f), forward);
        SimObject reverse = forward;
        reverse.controls.transmission = kReverse;
        ComputePropulsion(1, at(1000.0f), reverse);
        EXPECT_NE(forward.forces.propulsion.force[0], 0.0f) << type;
        EXPECT_EQ(reverse.forces.propulsion.force[0], -forward.forces.propulsion.force[0]) << type;
        EXPECT_EQ(reverse.engine.tachometer, forward.engine.tachometer) << type;
    }
}

TEST(Propulsion, UnknownEngineTypesGiveAZeroSet) {
    for (int type : {0, 10, -3}) {
        SimObject obj = engineObject(type, 1000.0f, 1.0f);
        obj.forces.propulsion.force = {1.0f, 1.0f, 1.0f};
        obj.forces.propulsion.moment = {1.0f, 1.0f, 1.0f};
        ComputePropulsion(1, at(0.0f), obj);
        EXPECT_EQ(obj.forces.propulsion.force, (Vec3{0.0f, 0.0f, 0.0f})) << type;
        EXPECT_EQ(obj.forces.propulsion.moment, (Vec3{0.0f, 0.0f, 0.0f})) << type;
    }
}

// The wheeled engines push through the wheels only.
TEST(Propulsion, CarAndMotorcycleEnginesGiveDriveTorqueNotForce) {
    for (int type : {model::kEngineCar, model::kEngineMotorcycle}) {
        SimObject obj = engineObject(type, 175.0f, 1.0f);
        obj.controls.transmission = kDrive;
        obj.controls.gear = 1;
        obj.engine.wheelRpm = 300.0f;
        obj.forces.propulsion.force = {5.0f, 0.0f, 0.0f};
        ComputePropulsion(1, at(0.0f), obj);
        EXPECT_EQ(obj.forces.propulsion.force[0], 0.0f) << type;
        EXPECT_GT(obj.engine.driveTorque, 0.0f) << type;
    }
}

} // namespace
} // namespace kv::sim
