#include "simulation/body/body_setup.h"
#include "simulation/propulsion/propulsion.h"
#include "simulation/propulsion/ufo_drive.h"
#include "simulation/sim_fixtures.h"
#include "simulation/step_object.h"
#include "support/fake_ports.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

SimObject ufo(float knots, float throttle) {
    SimObject obj;
    obj.engine.engineType = model::kEngineUfo;
    obj.engine.power = knots;
    obj.engine.powerFactor = 3.0f; // the UFO's speed ignores the factor
    obj.controls.channels[kThrottle] = throttle;
    obj.mass = 50.0f;
    obj.inertia = {100.0f, 0.0f, 0.0f, 0.0f, 200.0f, 0.0f, 0.0f, 0.0f, 300.0f};
    return obj;
}

TEST(Ufo, TargetSpeedIsKnotsTimesThrottle) {
    SimObject obj = ufo(100.0f, 0.5f);
    EXPECT_FLOAT_EQ(ufoTargetSpeed(obj), 50.0f * 1.6878098f);
    obj.controls.transmission = kReverse;
    EXPECT_FLOAT_EQ(ufoTargetSpeed(obj), -50.0f * 1.6878098f);
}

TEST(Ufo, HoldWordGivesAPlainPush) {
    SimObject obj = ufo(100.0f, 1.0f);
    obj.controls.pilotStatus = 1;
    obj.airVelocity = {30.0f, 0.0f, 5.0f};
    ComputePropulsion(1, BodyState{}, obj);
    EXPECT_FLOAT_EQ(obj.forces.propulsion.force[0], 50.0f * 100.0f * 1.6878098f);
    EXPECT_EQ(obj.forces.propulsion.force[2], 0.0f);
    EXPECT_EQ(obj.forces.propulsion.moment, (Vec3{0.0f, 0.0f, 0.0f}));
}

TEST(Ufo, FeedbackTermsInCruise) {
    SimObject obj = ufo(100.0f, 1.0f);
    obj.airVelocity = {150.0f, 0.0f, 3.0f};
    obj.pitch = 0.1f;
    obj.roll = 0.2f;
    obj.beta = 0.05f;
    obj.betaDot = 2.0f; // clamped to 40 deg/s
    obj.controls.channels[kAileron] = 0.5f;
    obj.controls.channels[kElevator] = -0.2f;
    BodyState s;
    s.rates = {0.1f, 0.2f, 0.3f};
    ComputePropulsion(1, s, obj);
    const ForceSet& f = obj.forces.propulsion;
    EXPECT_FLOAT_EQ(f.force[0], 50.0f * (168.78098f - 150.0f));
    EXPECT_EQ(f.force[1], 0.0f);
    const float alpha = std::atan2(3.0f, 150.0f);
    EXPECT_NEAR(f.force[2],
                -50.0f * 32.17f * std::cos(0.1f) * std::cos(0.2f) - 1000.0f * 50.0f * alpha, 0.05f);
    EXPECT_FLOAT_EQ(f.moment[0], 100.0f * 5.0f * (1.5f - 0.1f));
    EXPECT_FLOAT_EQ(f.moment[1], 200.0f * 5.0f * (-0.6f + std::sin(0.2f) * 0.3f - 0.2f));
    EXPECT_FLOAT_EQ(f.moment[2], 300.0f * (10.0f * 0.6981317f + 20.0f * 0.05f));
}

// Flying backwards the path angle folds into +-90 deg and the yaw loop turns round.
TEST(Ufo, BackwardFlightFoldsTheAngleAndNegatesYaw) {
    SimObject obj = ufo(100.0f, 0.0f);
    obj.airVelocity = {-100.0f, 0.0f, 2.0f};
    obj.beta = 0.05f;
    ComputePropulsion(1, BodyState{}, obj);
    const float folded = std::atan2(2.0f, 100.0f);
    EXPECT_NEAR(obj.forces.propulsion.force[2], -50.0f * 32.17f - 1000.0f * 50.0f * folded, 0.05f);
    EXPECT_FLOAT_EQ(obj.forces.propulsion.moment[2], -300.0f * 20.0f * 0.05f);
}

// In still air the angle of attack reads 90 deg; the path hold must not fling
// a hovering UFO upward, it damps the vertical speed instead.
TEST(Ufo, HoverIsHeldWithoutAKick) {
    SimObject obj = ufo(100.0f, 0.0f);
    obj.alpha = 1.5707964f;
    obj.airVelocity = {0.0f, 0.0f, 0.0f};
    ComputePropulsion(1, BodyState{}, obj);
    EXPECT_FLOAT_EQ(obj.forces.propulsion.force[2], -50.0f * 32.17f);
    obj.airVelocity = {0.0f, 0.0f, 1.0f}; // sinking at 1 ft/s
    ComputePropulsion(1, BodyState{}, obj);
    EXPECT_NEAR(obj.forces.propulsion.force[2],
                -50.0f * 32.17f - 50000.0f * std::atan2(1.0f, 10.0f), 0.05f);
}

TEST(Ufo, BalancesTheRunsGravity) {
    SimObject obj = ufo(100.0f, 0.0f);
    obj.propulsionSettings.gravity = 64.34f;
    ComputePropulsion(1, BodyState{}, obj);
    EXPECT_FLOAT_EQ(obj.forces.propulsion.force[2], -50.0f * 64.34f);
}

} // namespace
} // namespace kv::sim

namespace kv::sim {
namespace {

struct UfoFlight {
    SimObject obj;
    Environment env;
    test::RecordingMessages messages;
    bool stop = false;

    void fly(float seconds) {
        const StepContext ctx{1.0f / 120.0f, env, messages, stop};
        for (int i = 0; i < static_cast<int>(seconds * 120.0f) && !stop; ++i) {
            StepObject(obj, ctx);
        }
    }
};

UfoFlight ufoAt(float altitude, float rollDeg) {
    model::ObjectRecord r = test::freeBody(altitude, rollDeg);
    r.engineType = model::kEngineUfo;
    r.enginePower = 100.0f;
    model::deriveRunLimits(r);
    UfoFlight f;
    setUpBody(f.obj, r);
    f.obj.controls.channels[kThrottle] = 0.5f;
    return f;
}

// The whole body: weight from the rigid-body sum, the UFO's terms from the
// propulsion set. It speeds up to its target and keeps its height.
TEST(UfoFlight, ReachesTargetSpeedAndHoldsAltitude) {
    UfoFlight f = ufoAt(500.0f, 0.0f);
    f.fly(10.0f);
    EXPECT_FALSE(f.stop);
    EXPECT_NEAR(f.obj.airspeed, 50.0f * 1.6878098f, 0.5f);
    EXPECT_NEAR(f.obj.state.altitude, 500.0f, 5.0f);
    std::printf("UFO after 10 s: speed %.2f ft/s (target %.2f), altitude %.2f ft\n",
                static_cast<double>(f.obj.airspeed), 50.0 * 1.6878098,
                static_cast<double>(f.obj.state.altitude));
}

// Banked, the sideways share of the weight pulls it round and the yaw loop
// keeps the nose into the wind: a level, coordinated turn.
TEST(UfoFlight, BankedUfoTurns) {
    UfoFlight f = ufoAt(500.0f, 0.0f);
    f.fly(10.0f);
    f.obj.controls.channels[kAileron] = 0.1f; // roll in
    f.fly(1.0f);
    f.obj.controls.channels[kAileron] = 0.0f;
    const float bank = f.obj.roll;
    const float heading = f.obj.yaw;
    f.fly(5.0f);
    EXPECT_GT(bank, 0.2f);
    EXPECT_GT(f.obj.yaw - heading, 0.2f); // turning right
    EXPECT_LT(std::fabs(f.obj.beta), 0.05f);
    EXPECT_NEAR(f.obj.state.altitude, 500.0f, 30.0f);
    std::printf("UFO banked %.1f deg: heading change %.1f deg in 5 s, altitude %.1f ft\n",
                static_cast<double>(bank * 57.29578f),
                static_cast<double>((f.obj.yaw - heading) * 57.29578f),
                static_cast<double>(f.obj.state.altitude));
}

// At rest in still air (angle of attack reads 90 deg) it hovers in place.
TEST(UfoFlight, HoversAtRest) {
    UfoFlight f = ufoAt(200.0f, 0.0f);
    f.obj.controls.channels[kThrottle] = 0.0f;
    f.fly(5.0f);
    EXPECT_FALSE(f.stop);
    EXPECT_NEAR(f.obj.state.altitude, 200.0f, 0.5f);
    EXPECT_LT(VecLength(f.obj.state.velocity), 0.5f);
}

} // namespace
} // namespace kv::sim
