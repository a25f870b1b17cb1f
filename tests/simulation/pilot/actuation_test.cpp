#include "simulation/pilot/actuate_controls.h"

#include <gtest/gtest.h>

namespace kv::sim {
namespace {

constexpr float kDt60 = 1.0f / 60.0f;

TEST(ActuateControls, ASlowChannelReachesItsCommandExactlyAfter150StepsAt60Hz) {
    CommandRecord command;
    command.channels[kFlap] = 1.0f;
    ControlBlock controls;
    int steps = 0;
    while (controls.channels[kFlap] != 1.0f && steps < 1000) {
        const float before = controls.channels[kFlap];
        ActuateControls(command, controls, kDt60);
        ++steps;
        if (controls.channels[kFlap] != 1.0f) {
            EXPECT_EQ(controls.channels[kFlap], before + 0.4f * kDt60);
        }
    }
    EXPECT_EQ(steps, 150);
    EXPECT_EQ(controls.channels[kFlap], 1.0f);
    ActuateControls(command, controls, kDt60);
    EXPECT_EQ(controls.channels[kFlap], 1.0f); // holds, no overshoot
}

struct RateCase {
    const char* name;
    int channel; ///< -1: the tire steer channel
    float rate;
};

float& channelOf(ControlBlock& c, int channel) {
    return channel < 0 ? c.tireSteer : c.channels[static_cast<std::size_t>(channel)];
}

TEST(ActuateControls, EachRateLimitedChannelTravelsAtItsRateBothWays) {
    const RateCase cases[] = {
        {"aileron", kAileron, 5.0f}, {"elevator", kElevator, 5.0f}, {"rudder", kRudder, 5.0f},
        {"flap", kFlap, 0.4f},       {"gear", kGear, 0.4f},         {"throttle", kThrottle, 1.0f},
        {"nozzle", kNozzle, 0.5f},   {"tire steer", -1, 2.0f},
    };
    const float dt = 0.01f;
    for (const RateCase& c : cases) {
        CommandRecord command;
        ControlBlock controls;
        channelOf(command, c.channel) = -1.0f;
        ActuateControls(command, controls, dt);
        EXPECT_FLOAT_EQ(channelOf(controls, c.channel), -c.rate * dt) << c.name;

        // Within one step of the command the channel lands on it exactly.
        channelOf(controls, c.channel) = 0.5f;
        channelOf(command, c.channel) = 0.5f + 0.5f * c.rate * dt;
        ActuateControls(command, controls, dt);
        EXPECT_EQ(channelOf(controls, c.channel), channelOf(command, c.channel)) << c.name;

        channelOf(command, c.channel) = 1.0f;
        channelOf(controls, c.channel) = 0.0f;
        ActuateControls(command, controls, dt);
        EXPECT_FLOAT_EQ(channelOf(controls, c.channel), c.rate * dt) << c.name;
    }
}

TEST(ActuateControls, StatusWordsSwitchesAndDirectChannelsAreCopiedAtOnce) {
    CommandRecord command;
    command.autopilotEngaged = 1;
    command.pilotStatus = 7;
    command.transmission = kReverse;
    command.externalForce = 1;
    command.externalForceMultipliers = {-0.5f, 0.25f, 1.0f};
    command.channels[kBrake] = 1.0f;
    command.channels[kLateralCyclic] = -1.0f;
    command.channels[kLongitudinalCyclic] = 0.75f;
    command.channels[kCollective] = 0.6f;
    command.channels[kPedal] = -0.3f;
    command.gear = 5;
    command.mainRotorPitch = 0.2f;

    ControlBlock controls;
    controls.gear = 3;
    controls.mainRotorAngle = 1.5f;
    ActuateControls(command, controls, kDt60);

    EXPECT_EQ(controls.autopilotEngaged, 1);
    EXPECT_EQ(controls.pilotStatus, 7);
    EXPECT_EQ(controls.transmission, kReverse);
    EXPECT_EQ(controls.externalForce, 1);
    EXPECT_EQ(controls.externalForceMultipliers, command.externalForceMultipliers);
    for (int ch = kBrake; ch <= kPedal; ++ch) {
        EXPECT_EQ(controls.channels[static_cast<std::size_t>(ch)],
                  command.channels[static_cast<std::size_t>(ch)]);
    }
    // The gearbox and the rotor model own these.
    EXPECT_EQ(controls.gear, 3);
    EXPECT_EQ(controls.mainRotorPitch, 0.0f);
    EXPECT_EQ(controls.mainRotorAngle, 1.5f);
}

TEST(MoveToward, StepsBySignAndLandsWithoutOvershoot) {
    EXPECT_EQ(MoveToward(0.0f, 0.0f, 5.0f, 0.1f), 0.0f);
    EXPECT_FLOAT_EQ(MoveToward(1.0f, -1.0f, 5.0f, 0.1f), 0.5f);
    EXPECT_EQ(MoveToward(0.3f, 0.0f, 5.0f, 0.1f), 0.0f);
    EXPECT_EQ(MoveToward(-0.5f, 0.0f, 5.0f, 0.1f), 0.0f); // exactly one step away
}

} // namespace
} // namespace kv::sim
