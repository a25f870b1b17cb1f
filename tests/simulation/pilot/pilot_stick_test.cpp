// Stick, buttons, selected values and the engagement at the start of a run.

#include "pilot_fixture.h"

#include <gtest/gtest.h>

namespace kv::sim {
namespace {

using test::PilotRig;

TEST(PilotStick, CarStickForwardDrivesAndBackBrakes) {
    struct Case {
        float x, y;
        float throttle, brake, steer;
    };
    const Case cases[] = {
        {0.0f, -1.0f, 1.0f, 0.0f, 0.0f},
        {0.0f, 1.0f, 0.0f, 1.0f, 0.0f},
        {-0.5f, -0.25f, 0.25f, 0.0f, -0.5f},
        {1.0f, 0.4f, 0.0f, 0.4f, 1.0f},
    };
    for (int vehicle : {model::kVehicleCar, model::kVehicleMotorcycle}) {
        for (const Case& c : cases) {
            PilotRig rig(vehicle, vehicle == model::kVehicleCar ? model::kEngineCar
                                                                : model::kEngineMotorcycle);
            rig.onGround();
            rig.raw.stickX = c.x;
            rig.raw.stickY = c.y;
            rig.step();
            if (vehicle == model::kVehicleMotorcycle)
                rig.step(kKeyAutopilot); // manual: the stick steers directly
            EXPECT_EQ(rig.command.channels[kThrottle], c.throttle) << vehicle << " y " << c.y;
            EXPECT_EQ(rig.command.channels[kBrake], c.brake) << vehicle << " y " << c.y;
            EXPECT_EQ(rig.command.tireSteer, c.steer) << vehicle << " x " << c.x;
            EXPECT_EQ(rig.command.externalForce, 0);
        }
    }
}

TEST(PilotStick, ButtonsSwitchTheExternalForceAndFreezeTheLevers) {
    PilotRig rig = test::car();
    rig.raw.stickY = -0.6f;
    rig.step();
    ASSERT_FLOAT_EQ(rig.command.channels[kThrottle], 0.6f);

    rig.raw.buttonA = 1;
    rig.raw.stickX = 0.25f;
    rig.raw.stickY = 0.5f;
    rig.step();
    EXPECT_EQ(rig.command.externalForce, 1);
    EXPECT_EQ(rig.command.externalForceMultipliers[0], -0.5f);
    EXPECT_EQ(rig.command.externalForceMultipliers[1], 0.25f);
    EXPECT_EQ(rig.command.externalForceMultipliers[2], 0.0f);
    EXPECT_FLOAT_EQ(rig.command.channels[kThrottle], 0.6f); // the stick moves the force only
    EXPECT_EQ(rig.command.channels[kBrake], 0.0f);

    rig.raw.buttonB = 1; // A wins while both are held
    rig.step();
    EXPECT_EQ(rig.command.externalForceMultipliers[0], -0.5f);

    rig.raw.buttonA = 0;
    rig.step();
    EXPECT_EQ(rig.command.externalForce, 1);
    EXPECT_EQ(rig.command.externalForceMultipliers[0], 0.0f);
    EXPECT_EQ(rig.command.externalForceMultipliers[1], 0.25f);
    EXPECT_EQ(rig.command.externalForceMultipliers[2], -0.5f);

    rig.raw.buttonB = 0;
    rig.step();
    EXPECT_EQ(rig.command.externalForce, 0);
    EXPECT_EQ(rig.command.externalForceMultipliers[1], 0.0f);
    EXPECT_EQ(rig.command.channels[kBrake], 0.5f);
}

TEST(PilotStick, AircraftSticksInTheAirAndBrakeHoldTaxiingOnTheGround) {
    PilotRig rig = test::aircraft();
    rig.flying(150.0f);
    rig.step();
    rig.raw.stickX = 0.3f;
    rig.raw.stickY = -0.4f;
    rig.step();
    EXPECT_FLOAT_EQ(rig.command.channels[kAileron], 0.3f);
    EXPECT_FLOAT_EQ(rig.command.channels[kElevator], -0.4f);
    EXPECT_FLOAT_EQ(rig.command.channels[kLateralCyclic], 0.3f);
    EXPECT_FLOAT_EQ(rig.command.channels[kLongitudinalCyclic], -0.4f);
    EXPECT_EQ(rig.command.channels[kBrake], 0.0f);
    EXPECT_EQ(rig.command.tireSteer, 0.0f);
    EXPECT_NEAR(rig.pilot.selected.bank, 18.0f, 1e-5f);
    EXPECT_NEAR(rig.pilot.selected.flightPath, -12.0f, 1e-5f);

    // On the ground without the brake hold the sticks still fly the surfaces,
    // the cyclics stay 0 and the tire steers from the steering input (0).
    rig.sensors = SensorRecord{};
    rig.onGround();
    rig.step();
    rig.step();
    EXPECT_FLOAT_EQ(rig.command.channels[kAileron], 0.3f);
    EXPECT_EQ(rig.command.channels[kLateralCyclic], 0.0f);
    EXPECT_EQ(rig.command.tireSteer, 0.0f);

    // With the brake hold the stick steers and brakes, the surfaces centre.
    rig.raw.stickY = 0.7f;
    rig.step(kKeyBrakeHold);
    EXPECT_EQ(rig.command.channels[kAileron], 0.0f);
    EXPECT_EQ(rig.command.channels[kElevator], 0.0f);
    EXPECT_FLOAT_EQ(rig.command.channels[kBrake], 0.7f);
    EXPECT_FLOAT_EQ(rig.command.tireSteer, 0.3f);
    EXPECT_EQ(rig.command.pilotStatus, 1);

    // Above 20 knots the tire no longer steers.
    rig.sensors.indicatedAirspeed = 21.0f;
    rig.step();
    EXPECT_EQ(rig.command.tireSteer, 0.0f);
}

TEST(PilotStick, SelectedClimbRateFollowsTheThrottleLever) {
    PilotRig rig = test::aircraft();
    rig.step();
    EXPECT_FLOAT_EQ(rig.pilot.selected.climbRate, -2000.0f);
    for (int i = 0; i < 20; ++i)
        rig.step(kKeyThrottleUp);
    rig.step();
    EXPECT_NEAR(rig.pilot.selected.climbRate, 2000.0f, 0.1f);
}

TEST(PilotEngagement, StartsEngagedOnlyForHelicopterEnginesAndMotorcycles) {
    struct Case {
        int vehicle, engine;
        bool engaged;
        int lateral, speed;
    };
    const Case cases[] = {
        {model::kVehicleCar, model::kEngineCar, false, kModeManual, kModeManual},
        {model::kVehicleMotorcycle, model::kEngineMotorcycle, true, kModeHold, kModeSpeedHold},
        {model::kVehicleAircraft, model::kEngineJet, false, kModeManual, kModeManual},
        {model::kVehicleHelicopter, model::kEngineHelicopter, true, kModeHover, kModeHold},
        {model::kVehicleAircraft, model::kEngineHelicopter, true, kModeHover, kModeHold},
    };
    for (const Case& c : cases) {
        PilotRig rig(c.vehicle, c.engine);
        rig.step();
        EXPECT_EQ(rig.pilot.engaged, c.engaged) << c.vehicle << "/" << c.engine;
        EXPECT_EQ(rig.pilot.lateralMode, c.lateral) << c.vehicle << "/" << c.engine;
        EXPECT_EQ(rig.pilot.speedMode, c.speed) << c.vehicle << "/" << c.engine;
        EXPECT_EQ(rig.pilot.engagementWord, c.engaged ? kEngagedWord : kDisengagedWord);
    }
}

TEST(PilotEngagement, VtolJetHoversWithTheNozzleDownAndSpacecraftKeepsManualThrust) {
    PilotRig vtol(model::kVehicleAircraft, model::kEngineVtolJet);
    vtol.flying(100.0f);
    vtol.step(kKeyAutopilot);
    EXPECT_EQ(vtol.pilot.longitudinalMode, kModeHold);
    EXPECT_EQ(vtol.pilot.speedMode, kModeSpeedHold);
    vtol.step(kKeyNozzleDown);
    EXPECT_EQ(vtol.pilot.longitudinalMode, kModeHover);
    EXPECT_EQ(vtol.pilot.lateralMode, kModeHover);
    EXPECT_EQ(vtol.pilot.speedMode, kModeHold);
    EXPECT_FALSE(vtol.pilot.engagementDone);

    PilotRig space(model::kVehicleAircraft, model::kEngineSpacecraft);
    space.step(kKeyAutopilot);
    EXPECT_EQ(space.pilot.lateralMode, kModeHold);
    EXPECT_EQ(space.pilot.speedMode, kModeManual);
}

TEST(PilotEngagement, TheFirstStepOfARunRestartsThePilotFromTheInitialControls) {
    PilotRig rig = test::aircraft();
    rig.flying(200.0f);
    rig.step(kKeyFlaps);
    rig.step(kKeyAutopilot);
    ASSERT_TRUE(rig.pilot.engaged);

    // What the reset does to a slot: the started flag cleared, initial controls in.
    rig.pilot.started = false;
    rig.command = CommandRecord{};
    rig.command.channels[kGear] = 1.0f;
    rig.command.channels[kThrottle] = 0.8f;
    rig.step();
    EXPECT_FALSE(rig.pilot.engaged);
    EXPECT_EQ(rig.pilot.levers.flap, 0.0f);
    EXPECT_EQ(rig.command.channels[kGear], 1.0f);
    EXPECT_FLOAT_EQ(rig.command.channels[kThrottle], 0.8f);
    EXPECT_FLOAT_EQ(rig.pilot.elapsed, test::kPilotDt);
    EXPECT_EQ(rig.pilot.vehicleType, model::kVehicleAircraft);
    EXPECT_EQ(rig.command.transmission, kDrive);
}

} // namespace
} // namespace kv::sim
