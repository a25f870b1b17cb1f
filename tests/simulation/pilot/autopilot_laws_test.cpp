// The control laws' outputs against worked numbers, one step at a time.

#include "common/unit_constants.h"
#include "pilot_fixture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

using test::kPilotDt;
using test::PilotRig;

/// An aircraft at 200 knots with the autopilot engaged on the previous step.
PilotRig engagedAircraft() {
    PilotRig rig = test::aircraft();
    rig.flying(200.0f);
    rig.step();
    rig.step(kKeyAutopilot);
    return rig;
}

TEST(AutopilotAircraft, BankHoldCommandsRollRateThroughAProportionalIntegralLaw) {
    PilotRig rig = engagedAircraft();
    const float before = rig.pilot.integrators.aileron;
    rig.raw.stickX = 0.5f; // 30 deg of bank
    rig.sensors.roll = 10.0f;
    rig.sensors.rates = {5.0f, 0.0f, 0.0f};
    rig.step();
    const float pc = 2.0f * (30.0f - 10.0f) * kRadPerDeg; // 0.6981 rad/s
    const float e = pc - 5.0f * kRadPerDeg;
    EXPECT_NEAR(rig.pilot.commands.bank, 30.0f * kRadPerDeg, 1e-6f);
    EXPECT_NEAR(rig.command.channels[kAileron], 0.4f * e + before, 1e-5f);
    EXPECT_NEAR(rig.pilot.integrators.aileron, before + kPilotDt * 0.04f * e, 1e-6f);
    EXPECT_EQ(rig.command.channels[kLateralCyclic], 0.0f);
    EXPECT_EQ(rig.command.channels[kPedal], 0.0f);

    // The bank command is limited to 60 deg.
    rig.raw.stickX = 1.0f;
    rig.sensors.roll = 0.0f;
    rig.sensors.rates = {};
    rig.step();
    EXPECT_NEAR(rig.pilot.commands.bank, 1.0471976f, 1e-6f);
}

TEST(AutopilotAircraft, FlightPathHoldAndTurnCoordination) {
    PilotRig rig = engagedAircraft();
    // Climbing 2 deg with the stick centred: pitch down toward level flight.
    rig.sensors.pitch = 5.0f;
    rig.sensors.alpha = 3.0f;
    rig.step();
    const float qc = 0.4f * (0.0f - 2.0f * kRadPerDeg);
    EXPECT_NEAR(rig.pilot.commands.pitchRate, qc, 1e-6f);
    EXPECT_NEAR(rig.command.channels[kElevator], 0.5f * qc, 1e-5f);
    EXPECT_NEAR(rig.pilot.integrators.elevator, kPilotDt * 2.0f * qc, 1e-6f);

    // In a 30 deg bank with no yaw rate, the rudder asks for the turn's rate
    // and the elevator for the pitch rate that keeps the turn level.
    rig.sensors.pitch = 0.0f;
    rig.sensors.alpha = 0.0f;
    rig.sensors.roll = 30.0f;
    rig.sensors.trueAirspeed = 200.0f; // knots: 337.56 ft/s
    rig.sensors.rates = {0.0f, 0.0f, 4.0f};
    rig.step();
    const float tas = 200.0f * 1.6878098f;
    const float rc = std::sin(30.0f * kRadPerDeg) * kStandardGravity / tas;
    EXPECT_NEAR(rig.command.channels[kRudder], 2.0f * (rc - 4.0f * kRadPerDeg), 1e-5f);
    EXPECT_NEAR(rig.pilot.commands.pitchRate, std::tan(30.0f * kRadPerDeg) * 4.0f * kRadPerDeg,
                1e-5f);

    // On the ground the rudder rests.
    rig.onGround();
    rig.step();
    EXPECT_EQ(rig.command.channels[kRudder], 0.0f);
}

TEST(AutopilotAircraft, SpeedHoldOpensTheThrottleBelowTheHeldSpeedAndIntegratesNearIt) {
    PilotRig rig = engagedAircraft();
    rig.sensors.indicatedAirspeed = 190.0f; // 16.9 ft/s slow: saturated, no integration
    rig.step();
    EXPECT_EQ(rig.command.channels[kThrottle], 1.0f);
    const float held = rig.pilot.integrators.throttle; // ~0: on speed at engagement
    EXPECT_NEAR(held, 0.0f, 1e-6f);
    EXPECT_EQ(rig.pilot.lastThrottle, 1.0f);

    rig.sensors.indicatedAirspeed = 197.0f;
    rig.step();
    const float e = 3.0f * 1.6878098f;
    EXPECT_NEAR(rig.command.channels[kThrottle], 0.1f * e + held, 1e-4f);
    EXPECT_NEAR(rig.pilot.integrators.throttle, held + kPilotDt * 0.01f * e, 1e-6f);

    rig.sensors.indicatedAirspeed = 230.0f; // fast: throttle closed, integrator floored at 0
    rig.step();
    EXPECT_EQ(rig.command.channels[kThrottle], 0.0f);
    EXPECT_GE(rig.pilot.integrators.throttle, 0.0f);
}

TEST(AutopilotAircraft, VtolHoverHoldsClimbRateAndAttitude) {
    PilotRig rig(model::kVehicleAircraft, model::kEngineVtolJet);
    rig.flying(20.0f);
    rig.step(kKeyNozzleDown);
    rig.step(kKeyAutopilot);
    ASSERT_EQ(rig.pilot.lateralMode, kModeHover);
    // Engaging the climb-rate hold selects level flight (lever 0.5), so a
    // sink of 20 ft/s asks for full throttle: 0.1 * 20 is above 1.
    EXPECT_EQ(rig.pilot.levers.throttle, 0.5f);
    rig.sensors.verticalSpeed = -1200.0f; // -20 ft/s
    rig.sensors.roll = 4.0f;
    rig.sensors.pitch = 2.0f;
    rig.sensors.rates = {0.0f, 0.0f, 1.0f};
    rig.step();
    EXPECT_EQ(rig.pilot.selected.climbRate, 0.0f);
    EXPECT_EQ(rig.command.channels[kThrottle], 1.0f);
    const float pc = 0.5f * (0.0f - 4.0f * kRadPerDeg);
    EXPECT_NEAR(rig.command.channels[kAileron], 10.0f * pc, 1e-5f);
    EXPECT_EQ(rig.command.channels[kAileron], rig.command.channels[kLateralCyclic]);
    EXPECT_NEAR(rig.command.channels[kElevator], 10.0f * (-2.0f * kRadPerDeg), 1e-5f);
    EXPECT_NEAR(rig.command.channels[kPedal], 20.0f * (0.0f - 1.0f * kRadPerDeg), 1e-5f);

    // On the ground the hover laws rest.
    rig.onGround();
    rig.step();
    rig.step();
    EXPECT_EQ(rig.command.channels[kAileron], 0.0f);
    EXPECT_EQ(rig.command.channels[kElevator], 0.0f);
    EXPECT_EQ(rig.command.channels[kPedal], 0.0f);
}

TEST(AutopilotSpacecraft, FullStickCommandsRollAndPitchRates) {
    PilotRig rig(model::kVehicleAircraft, model::kEngineSpacecraft);
    rig.step(kKeyAutopilot);
    rig.raw.stickX = 1.0f;
    rig.raw.stickY = 1.0f;
    rig.sensors.rates = {114.59156f, 57.29578f, 0.0f}; // 2.0 and 1.0 rad/s
    rig.step(kKeyRudderRight);
    EXPECT_NEAR(rig.command.channels[kAileron], 10.0f * (2.0943951f - 2.0f), 1e-4f);
    EXPECT_NEAR(rig.command.channels[kElevator], 10.0f * (1.0471976f - 1.0f), 1e-4f);
    EXPECT_EQ(rig.command.channels[kPedal], 1.0f); // 30 deg/s wanted, none yet
    EXPECT_EQ(rig.pilot.lastThrottle, 0.0f);

    rig.step(kKeyAutopilot); // off: the stick and rudder offset act directly
    EXPECT_EQ(rig.command.channels[kAileron], 1.0f);
    EXPECT_NEAR(rig.command.channels[kPedal], 1.0f, 1e-6f);
    rig.raw.stickX = -0.25f;
    rig.step(kKeyRudderLeft);
    EXPECT_EQ(rig.command.channels[kAileron], -0.25f);
    EXPECT_NEAR(rig.command.channels[kPedal], -1.0f, 1e-6f);
}

TEST(AutopilotHelicopter, YawIsDampedEvenInManualModes) {
    PilotRig rig = test::helicopter();
    rig.flying(0.0f);
    rig.step();
    rig.step(kKeyAutopilot);
    ASSERT_EQ(rig.pilot.lateralMode, kModeManual);
    rig.sensors.rates = {0.0f, 0.0f, 2.8647890f}; // 0.05 rad/s
    rig.step();
    EXPECT_NEAR(rig.command.channels[kPedal], -0.5f, 1e-5f);
    rig.sensors.rates = {0.0f, 0.0f, -2.8647890f};
    rig.step();
    EXPECT_GT(rig.command.channels[kPedal], 0.0f);
    EXPECT_EQ(rig.command.autopilotEngaged, 0);
}

TEST(AutopilotHelicopter, HoverLawsLevelTheRotorAndHoldTheClimbRate) {
    PilotRig rig = test::helicopter();
    rig.flying(0.0f);
    rig.step();
    // It starts at lever 0.5, zero climb rate selected; now sinking 5 ft/s
    // and rolled 0.1 rad.
    ASSERT_EQ(rig.pilot.levers.throttle, 0.5f);
    rig.pilot.integrators = PilotIntegrators{};
    rig.sensors.verticalSpeed = -300.0f;
    rig.sensors.roll = 5.729578f;
    rig.sensors.pitch = -2.0f;
    rig.step();
    EXPECT_NEAR(rig.command.channels[kCollective], 0.1f, 1e-5f);
    EXPECT_EQ(rig.command.channels[kThrottle], rig.command.channels[kCollective]);
    EXPECT_NEAR(rig.pilot.integrators.climbRate, kPilotDt * 0.05f, 1e-7f);
    EXPECT_NEAR(rig.command.channels[kLateralCyclic], 0.2f * 4.0f * -0.1f, 1e-5f);
    EXPECT_NEAR(rig.command.channels[kLongitudinalCyclic], 2.0f * 2.0f * kRadPerDeg, 1e-5f);
    EXPECT_EQ(rig.command.channels[kAileron], 0.0f);
    EXPECT_EQ(rig.command.channels[kElevator], 0.0f);
    EXPECT_EQ(rig.command.autopilotEngaged, 1);

    // On the ground the cyclics rest.
    rig.onGround();
    rig.step();
    rig.step();
    EXPECT_EQ(rig.command.channels[kLateralCyclic], 0.0f);
    EXPECT_EQ(rig.command.channels[kLongitudinalCyclic], 0.0f);
}

TEST(AutopilotHelicopter, StartsLevelFromTheInitialCollective) {
    PilotRig rig = test::helicopter();
    rig.command.channels[kCollective] = 0.45f;
    rig.flying(0.0f);
    rig.step();
    EXPECT_EQ(rig.pilot.selected.climbRate, 0.0f);
    EXPECT_FLOAT_EQ(rig.command.channels[kCollective], 0.45f);
}

TEST(AutopilotHelicopter, FastFlightBlendsTheYawCommandIntoACoordinatedTurn) {
    PilotRig rig = test::helicopter();
    rig.flying(60.0f); // 101.3 ft/s forward: fully blended
    rig.raw.stickX = 0.5f;
    rig.step();
    rig.step();
    const float uf = 60.0f * 1.6878098f;
    EXPECT_NEAR(rig.pilot.commands.yawRate, std::sin(30.0f * kRadPerDeg) * kStandardGravity / uf,
                1e-5f);
}

TEST(AutopilotMotorcycle, SlowMachineSteersDirectlyAndLeansForItsTurn) {
    PilotRig rig = test::motorcycle();
    rig.onGround();
    rig.sensors.trueAirspeed = 10.0f * 0.5924838f; // 10 ft/s
    rig.sensors.rates = {0.0f, 0.0f, 11.459156f};  // 0.2 rad/s
    rig.raw.stickX = 0.4f;
    rig.step();
    rig.step();
    const float lean = std::asin(0.2f * 10.0f / kStandardGravity);
    EXPECT_NEAR(rig.pilot.commands.bank, lean, 1e-5f);
    EXPECT_NEAR(rig.command.channels[kLateralCyclic], 6.0f * 2.0f * lean, 1e-4f);
    EXPECT_NEAR(rig.command.tireSteer, 0.4f, 1e-6f);
    EXPECT_EQ(rig.command.autopilotEngaged, 0);
}

TEST(AutopilotMotorcycle, FastMachineLeansOnTheStickAndSteersIntoTheFall) {
    PilotRig rig = test::motorcycle();
    rig.onGround();
    rig.sensors.trueAirspeed = 50.0f * 0.5924838f; // 50 ft/s, below the first breakpoint
    rig.raw.stickX = 1.0f;
    rig.step();
    rig.step();
    const float pc = 2.0f * 0.6981317f; // within the 100 deg/s limit
    EXPECT_NEAR(rig.pilot.commands.bank, 0.6981317f, 1e-5f);
    EXPECT_NEAR(rig.pilot.commands.rollRate, pc, 1e-4f);
    EXPECT_EQ(rig.command.channels[kLateralCyclic], 1.0f);
    EXPECT_NEAR(rig.command.tireSteer, -0.2f * pc, 1e-4f);

    // Past 70 mph the gains are the high-speed ones: 0.4/s, 40 deg/s.
    rig.sensors.trueAirspeed = 120.0f * 0.5924838f;
    rig.step();
    EXPECT_NEAR(rig.pilot.commands.rollRate, 0.4f * 0.6981317f, 1e-4f);
    EXPECT_NEAR(rig.command.tireSteer, -0.1f * 0.4f * 0.6981317f, 1e-4f);

    // Lying on its side, the balance law gives up.
    rig.sensors.roll = 70.0f;
    rig.step();
    EXPECT_EQ(rig.command.channels[kLateralCyclic], 0.0f);
    EXPECT_EQ(rig.command.channels[kLongitudinalCyclic], 0.0f);
}

TEST(AutopilotMotorcycle, RiderPitchesBackUnderHardThrottle) {
    PilotRig rig = test::motorcycle();
    rig.onGround();
    rig.raw.stickY = -1.0f;
    rig.step();
    rig.step();
    EXPECT_NEAR(rig.pilot.commands.flightPath, 0.5235988f, 1e-7f);
    EXPECT_EQ(rig.command.channels[kLongitudinalCyclic], -1.0f);
    EXPECT_EQ(rig.command.channels[kThrottle], 1.0f);
    rig.raw.stickY = -0.4f;
    rig.step();
    EXPECT_EQ(rig.command.channels[kLongitudinalCyclic], 0.0f);
}

TEST(AutopilotCar, CruiseHoldsTheSpeedAndDropsOutOnTheBrake) {
    PilotRig rig = test::car();
    rig.onGround();
    rig.sensors.indicatedAirspeed = 40.0f;
    rig.sensors.trueAirspeed = 40.0f;
    rig.step();
    rig.step(kKeyAutopilot);
    EXPECT_EQ(rig.pilot.speedMode, kModeSpeedHold);
    EXPECT_EQ(rig.command.autopilotEngaged, 1);
    EXPECT_EQ(rig.command.channels[kThrottle], 0.0f); // on speed: d = 0.5

    rig.sensors.indicatedAirspeed = 40.0f - 3.0f * 0.5924838f; // 3 ft/s slow
    rig.step();
    EXPECT_NEAR(rig.command.channels[kThrottle], 2.0f * (0.5f + 0.3f) - 1.0f, 1e-4f);

    rig.raw.stickY = -0.9f; // the driver's foot overrides a smaller throttle
    rig.step();
    EXPECT_FLOAT_EQ(rig.command.channels[kThrottle], 0.9f);
    EXPECT_TRUE(rig.pilot.engaged);

    rig.raw.stickY = 0.3f; // brake
    rig.step();
    EXPECT_FALSE(rig.pilot.engaged);
    EXPECT_FLOAT_EQ(rig.command.channels[kBrake], 0.3f);
    rig.step();
    EXPECT_EQ(rig.pilot.speedMode, kModeManual);
    EXPECT_EQ(rig.command.autopilotEngaged, 0);
    EXPECT_EQ(rig.command.channels[kThrottle], 0.0f);
    for (int ch = 0; ch < kControlChannelCount; ++ch) {
        if (ch != kThrottle && ch != kBrake) {
            EXPECT_EQ(rig.command.channels[static_cast<std::size_t>(ch)], 0.0f) << ch;
        }
    }
}

} // namespace
} // namespace kv::sim
