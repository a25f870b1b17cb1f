// Key commands: each acts once, on the step that reads it.

#include "pilot_fixture.h"

#include <gtest/gtest.h>

namespace kv::sim {
namespace {

using test::PilotRig;

TEST(PilotKeys, QAtTwoHundredKnotsCapturesTheSpeedRangeAndSAdjustsIt) {
    PilotRig rig = test::aircraft();
    rig.flying(200.0f);
    rig.sensors.pressureAltitude = 5000.0f;
    rig.sensors.yaw = 45.0f;
    rig.step();
    EXPECT_EQ(rig.command.autopilotEngaged, 0);

    rig.step(kKeyAutopilot);
    EXPECT_EQ(rig.raw.command, 0); // consumed
    EXPECT_TRUE(rig.pilot.engaged);
    EXPECT_EQ(rig.pilot.lateralMode, kModeHold);
    EXPECT_EQ(rig.pilot.longitudinalMode, kModeHold);
    EXPECT_EQ(rig.pilot.speedMode, kModeSpeedHold);
    EXPECT_EQ(rig.pilot.engagementWord, kEngagedWord);
    EXPECT_EQ(rig.command.autopilotEngaged, 1);
    EXPECT_NEAR(rig.pilot.holds.speed, 200.0f, 1e-3f);
    EXPECT_NEAR(rig.pilot.holds.speedLow, 100.0f, 1e-3f);
    EXPECT_NEAR(rig.pilot.holds.speedHigh, 400.0f, 1e-3f);
    EXPECT_NEAR(rig.pilot.holds.altitude, 5000.0f, 1e-3f);
    EXPECT_NEAR(rig.pilot.holds.heading, 45.0f, 1e-3f);
    EXPECT_NEAR(rig.pilot.levers.throttle, 1.0f / 3.0f, 1e-6f);

    rig.step(kKeyThrottleUp);
    EXPECT_NEAR(rig.pilot.levers.throttle, 1.0f / 3.0f + 0.05f, 1e-6f);
    EXPECT_NEAR(rig.pilot.holds.speed, 215.0f, 1e-3f);
    // Captured once per engagement: the range stays.
    rig.flying(250.0f);
    rig.step();
    EXPECT_NEAR(rig.pilot.holds.speedLow, 100.0f, 1e-3f);

    rig.step(kKeyThrottleDown);
    EXPECT_NEAR(rig.pilot.holds.speed, 200.0f, 1e-3f);
}

TEST(PilotKeys, QOffSetsTheThrottleLeverByWhereTheVehicleIs) {
    PilotRig ground = test::aircraft();
    ground.onGround();
    ground.sensors.indicatedAirspeed = 40.0f;
    ground.sensors.trueAirspeed = 40.0f;
    ground.step();
    ground.step(kKeyAutopilot);
    ASSERT_TRUE(ground.pilot.engaged);
    ground.step();
    ground.step(kKeyAutopilot);
    EXPECT_FALSE(ground.pilot.engaged);
    EXPECT_EQ(ground.pilot.levers.throttle, 0.0f);
    EXPECT_EQ(ground.pilot.lateralMode, kModeManual);
    EXPECT_EQ(ground.pilot.engagementWord, kDisengagedWord);
    EXPECT_FALSE(ground.pilot.engagementDone);

    PilotRig air = test::aircraft();
    air.flying(200.0f);
    air.step();
    air.step(kKeyAutopilot);
    air.flying(150.0f); // slow: the speed hold opens the throttle fully
    air.step();
    const float last = air.pilot.lastThrottle;
    EXPECT_EQ(last, 1.0f);
    air.step(kKeyAutopilot);
    EXPECT_EQ(air.pilot.levers.throttle, last);
    EXPECT_EQ(air.command.autopilotEngaged, 0);
}

TEST(PilotKeys, FlapsStepThroughThreeSettingsAndGearToggles) {
    PilotRig rig = test::aircraft();
    rig.flying(150.0f);
    const float flaps[] = {0.5f, 1.0f, 0.0f};
    for (float want : flaps) {
        rig.step(kKeyFlaps);
        EXPECT_EQ(rig.pilot.levers.flap, want);
        EXPECT_EQ(rig.command.channels[kFlap], want);
    }
    rig.step(kKeyGear);
    EXPECT_EQ(rig.command.channels[kGear], 1.0f);
    rig.step();
    EXPECT_EQ(rig.command.channels[kGear], 1.0f); // the key acted once
    rig.step(kKeyGear);
    EXPECT_EQ(rig.command.channels[kGear], 0.0f);
}

TEST(PilotKeys, RudderOffsetBrakeHoldAndReverse) {
    PilotRig rig = test::aircraft();
    rig.step(kKeyRudderRight);
    EXPECT_EQ(rig.pilot.levers.rudderOffset, 30.0f);
    rig.step(kKeyRudderRight);
    EXPECT_EQ(rig.pilot.levers.rudderOffset, 0.0f);
    rig.step(kKeyRudderLeft);
    EXPECT_EQ(rig.pilot.levers.rudderOffset, -30.0f);
    rig.step(kKeyRudderRight);
    EXPECT_EQ(rig.pilot.levers.rudderOffset, 30.0f);
    rig.step(kKeyRudderLeft);
    EXPECT_EQ(rig.pilot.levers.rudderOffset, -30.0f);
    rig.step(kKeyRudderLeft);
    EXPECT_EQ(rig.pilot.levers.rudderOffset, 0.0f);

    PilotRig c = test::car();
    c.step(kKeyBrakeHold);
    EXPECT_EQ(c.command.pilotStatus, 1);
    EXPECT_EQ(c.command.channels[kBrake], 1.0f);
    c.step(kKeyReverse);
    EXPECT_EQ(c.command.transmission, kReverse);
    c.step(kKeyReverse);
    EXPECT_EQ(c.command.transmission, kDrive);
    c.step(kKeyBrakeHold);
    EXPECT_EQ(c.command.pilotStatus, 0);
    EXPECT_EQ(c.command.channels[kBrake], 0.0f);
}

TEST(PilotKeys, LeversStopAtTheEndsOfTheirTravel) {
    PilotRig rig = PilotRig(model::kVehicleAircraft, model::kEngineVtolJet);
    for (int i = 0; i < 15; ++i)
        rig.step(kKeyNozzleDown);
    EXPECT_EQ(rig.pilot.levers.nozzle, 1.0f);
    EXPECT_EQ(rig.command.channels[kNozzle], 1.0f);
    for (int i = 0; i < 15; ++i)
        rig.step(kKeyNozzleUp);
    EXPECT_EQ(rig.pilot.levers.nozzle, 0.0f);

    // From a third, seven steps down would pass 0; the held speed must stay in range.
    PilotRig air = test::aircraft();
    air.flying(200.0f);
    air.step();
    air.step(kKeyAutopilot);
    for (int i = 0; i < 8; ++i)
        air.step(kKeyThrottleDown);
    EXPECT_EQ(air.pilot.levers.throttle, 0.0f);
    EXPECT_NEAR(air.pilot.holds.speed, 100.0f, 1e-3f);
    for (int i = 0; i < 25; ++i)
        air.step(kKeyThrottleUp);
    EXPECT_EQ(air.pilot.levers.throttle, 1.0f);
    EXPECT_NEAR(air.pilot.holds.speed, 400.0f, 1e-3f);
}

TEST(PilotKeys, UnknownCodesDoNothing) {
    PilotRig rig = test::aircraft();
    rig.step();
    const AutopilotState before = rig.pilot;
    for (int code : {2, 8, 14, -1, 1000}) {
        rig.step(code);
        EXPECT_EQ(rig.raw.command, 0);
        EXPECT_EQ(rig.pilot.engaged, before.engaged);
        EXPECT_EQ(rig.pilot.levers.throttle, before.levers.throttle);
        EXPECT_EQ(rig.pilot.levers.flap, before.levers.flap);
        EXPECT_EQ(rig.pilot.levers.gear, before.levers.gear);
    }
}

} // namespace
} // namespace kv::sim
