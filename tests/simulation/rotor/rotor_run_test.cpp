#include "common/simulated_clock.h"
#include "rotor_fixtures.h"
#include "simulation/propulsion/propulsion_settings.h"
#include "simulation/run_simulation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace kv::sim {
namespace {

// A recorded run of the Helicopter template: the reset rebuilds the rotor,
// the propulsion step runs it, and every frame carries its channels.
TEST(RotorRun, FramesCarryTheRotorChannelsOfEachRun) {
    SimulatedClock clock;
    test::ScriptedControls controls;
    test::ScriptedScene scene;
    test::RecordingMessages messages;
    RunState run;
    RunSettings settings = makeRunSettings(Accuracy::Better, 30, 100);
    settings.initialControls.channels[kCollective] = 0.2f;
    CameraRecord camera;
    std::vector<model::ObjectRecord> objects{test::helicopterRecord(100.0f)};
    RunPorts ports{clock, controls, scene, messages, nullptr};

    const float rate = rotorChannelRate(8, settings.framePeriod);
    for (int runs = 0; runs < 2; ++runs) {
        SCOPED_TRACE(runs);
        scene.escapeFrom = 9;
        scene.draws = 0;
        RunSimulation(run, settings, objects, camera, ports);
        EXPECT_TRUE(messages.messages.empty());
        const RecordChannel& channel = run.channels.channels[0];
        ASSERT_EQ(channel.count, 10);
        for (int f = 0; f < channel.count; ++f) {
            const model::MotionFrame& frame = channel.frames[static_cast<std::size_t>(f)];
            // Four sub-steps a frame turn both rotors from 0 at every start.
            const float turned = static_cast<float>(4 * (f + 1)) * settings.dt * rate;
            EXPECT_NEAR(frame[model::kFrameMainRotor], turned * 57.29578f, 1e-3f) << f;
            EXPECT_NEAR(frame[model::kFrameTailRotor], turned * 57.29578f, 1e-3f) << f;
            EXPECT_LE(std::fabs(frame[model::kFrameConing]), 10.0f);
            EXPECT_GT(frame[model::kFrameTachometer], 0.0f);
            EXPECT_LT(frame[model::kFrameTachometer], 1.0f);
            EXPECT_NEAR(frame[model::kFrameDown], -100.0f * 0.3048037f, 0.05f);
        }
    }
}

} // namespace
} // namespace kv::sim
