#include "common/simulated_clock.h"
#include "sim_fixtures.h"
#include "simulation/reset_simulation.h"
#include "simulation/run_simulation.h"
#include "support/fake_ports.h"

#include <gtest/gtest.h>
#include <vector>

namespace kv::sim {
namespace {

using model::kFrameDown;
using model::kFrameTime;
using model::ObjectRecord;

class CountingCollision final : public CollisionPair {
  public:
    void buildModels(std::span<const ObjectRecord>, std::span<const int> indices) override {
        built.assign(indices.begin(), indices.end());
        ++builds;
    }
    void testPair(SimObject& a, SimObject& b) override {
        EXPECT_EQ(a.slot, 0);
        EXPECT_EQ(b.slot, 1);
        ++tests;
    }
    std::vector<int> built;
    int builds = 0;
    int tests = 0;
};

ObjectRecord withRole(ObjectRecord r, model::Role role) {
    r.role = role;
    return r;
}

class RunLoop : public ::testing::Test {
  protected:
    /// Runs until ESC, pressed on frame `lastFrame` (0-based) unless the script
    /// ends the run earlier.
    void runUntil(int lastFrame) {
        scene.escapeFrom = lastFrame;
        scene.draws = 0;
        scene.lateFlags.clear();
        scene.pauseFlags.clear();
        RunPorts ports{clock, controls, scene, messages, collision};
        RunSimulation(run, settings, objects, camera, ports);
    }
    const RecordChannel& channel(int i) const {
        return run.channels.channels[static_cast<std::size_t>(i)];
    }

    SimulatedClock clock;
    test::ScriptedControls controls;
    test::ScriptedScene scene;
    test::RecordingMessages messages;
    CollisionPair* collision = nullptr;
    RunState run;
    RunSettings settings = makeRunSettings(Accuracy::Better, 30, 100);
    CameraRecord camera;
    std::vector<ObjectRecord> objects{test::freeBody()};
};

TEST(RunSettings, StepsAndSubStepsPerFrame) {
    EXPECT_EQ(physicsStep(Accuracy::Good), 0.016666668f);
    EXPECT_EQ(physicsStep(Accuracy::Better), 1.0f / 120.0f);
    EXPECT_EQ(physicsStep(Accuracy::Best), 1.0f / 240.0f);
    EXPECT_EQ(framePeriodFor(0), 1.0f);
    EXPECT_EQ(framePeriodFor(-5), 1.0f);
    struct Case {
        Accuracy accuracy;
        int rate;
        int subSteps;
    };
    const Case cases[] = {
        {Accuracy::Better, 30, 4}, {Accuracy::Good, 60, 1}, {Accuracy::Good, 50, 1},
        {Accuracy::Best, 30, 8},   {Accuracy::Good, 0, 60}, {Accuracy::Good, 40, 2},
    };
    for (const auto& c : cases) {
        const RunSettings s = makeRunSettings(c.accuracy, c.rate, 10);
        EXPECT_EQ(subStepsPerFrame(s.framePeriod, s.dt), c.subSteps) << c.rate;
    }
}

TEST(RunFlags, EscapeStopsAndClearsPausePOnlyWhileRunning) {
    RunFlags f;
    applyRunKey(f, RunKey::Pause);
    EXPECT_TRUE(f.pause);
    applyRunKey(f, RunKey::Pause);
    EXPECT_FALSE(f.pause);
    applyRunKey(f, RunKey::Pause);
    applyRunKey(f, RunKey::Escape);
    EXPECT_TRUE(f.stop);
    EXPECT_FALSE(f.pause);
    applyRunKey(f, RunKey::Pause); // P after ESC has no effect
    EXPECT_FALSE(f.pause);
    applyRunKey(f, RunKey::None);
    EXPECT_TRUE(f.stop);
}

TEST_F(RunLoop, ResetAssignsSlotsToInteractiveAndStaticObjectsOnly) {
    objects = {test::freeBody(), withRole(test::freeBody(), model::kRoleDynamic),
               withRole(test::freeBody(), model::kRoleStatic), test::freeBody()};
    objects[3].recordChannel = 5; // stale value of an earlier run
    settings.interactiveCount = 2;
    ResetSimulation(run, settings, objects);
    ASSERT_EQ(run.slotCount, 2);
    EXPECT_EQ(run.slots[0].objectIndex, 0);
    EXPECT_EQ(run.slots[1].objectIndex, 2);
    EXPECT_EQ(run.slots[1].sim.slot, 1);
    EXPECT_EQ(objects[0].recordChannel, 0);
    EXPECT_EQ(objects[1].recordChannel, -1);
    EXPECT_EQ(objects[2].recordChannel, 1);
    EXPECT_EQ(objects[3].recordChannel, -1);
    // The frame record already shows the initial pose.
    EXPECT_FLOAT_EQ(run.slots[0].frame[kFrameDown], -100.0f * 0.3048037f);

    settings.interactiveCount = 2;
    objects = {test::freeBody(), withRole(test::freeBody(), model::kRoleDynamic)};
    ResetSimulation(run, settings, objects);
    EXPECT_EQ(run.slotCount, 1); // no candidate for the second slot
}

TEST_F(RunLoop, ResetStartsEverySlotFromTheInitialControlsAndDerivedLimits) {
    settings.initialControls.channels[kThrottle] = 0.5f;
    settings.initialControls.transmission = kDrive;
    objects[0].effectorCount = 1;
    objects[0].effectors[0].kind = model::kEffectorSkid;
    ResetSimulation(run, settings, objects);
    EXPECT_EQ(run.slots[0].sim.controls.channels[kThrottle], 0.5f);
    EXPECT_EQ(run.slots[0].command.transmission, kDrive);
    EXPECT_EQ(run.slots[0].frame[model::kFrameControls + int{kThrottle}], 0.5f);
    EXPECT_EQ(objects[0].tires.tireCount, 1);
    EXPECT_EQ(run.slots[0].sim.contact.tireCount, 1);
    EXPECT_EQ(objects[0].nozzleLimit, 90.0f);
}

TEST_F(RunLoop, AProjectWithoutObjectsStillRecordsTheCamera) {
    objects.clear();
    runUntil(1);
    EXPECT_EQ(run.slotCount, 0);
    EXPECT_EQ(channel(kCameraChannel).count, 2);
    EXPECT_EQ(controls.reads, 2);
}

TEST_F(RunLoop, EscapeOnTheFirstFrameStillRecordsOneFramePerSlot) {
    objects.push_back(test::freeBody(50.0f));
    settings.interactiveCount = 2;
    runUntil(0);
    EXPECT_EQ(run.frameCounter, 1);
    EXPECT_EQ(channel(0).count, 1);
    EXPECT_EQ(channel(1).count, 1);
    EXPECT_EQ(channel(kCameraChannel).count, 1);
    EXPECT_TRUE(run.flags.objectMotionRecorded);
    EXPECT_TRUE(run.flags.cameraMotionRecorded);
    EXPECT_TRUE(run.flags.stop);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(channel(0).frames[0][kFrameTime], settings.framePeriod);
    EXPECT_FLOAT_EQ(run.slots[0].sim.simTime, 4.0f * settings.dt);
    EXPECT_FALSE(run.slots[0].stepped); // cleared at the end of the run
    EXPECT_TRUE(run.slots[1].stepped);
}

TEST_F(RunLoop, AStaticOnlyProjectRecordsTheCameraAndStepsNoPhysics) {
    objects[0].role = model::kRoleStatic;
    scene.cameraPosition = {1.0f, 2.0f, 3.0f};
    runUntil(2);
    EXPECT_EQ(run.slots[0].sim.state.altitude, 100.0f); // no fall
    ASSERT_EQ(channel(kCameraChannel).count, 3);
    EXPECT_EQ(channel(kCameraChannel).frames[2][model::kFrameNorth], 1.0f);
    EXPECT_EQ(channel(kCameraChannel).frames[2][model::kFrameDown], 3.0f);
    EXPECT_EQ(channel(kCameraChannel).frames[2][kFrameTime], 3.0f * settings.framePeriod);
    ASSERT_EQ(channel(0).count, 3);
    EXPECT_FLOAT_EQ(channel(0).frames[2][kFrameDown], -100.0f * 0.3048037f);
    EXPECT_EQ(scene.draws, 3);
    EXPECT_EQ(scene.instrumentUpdates, 3);
}

TEST_F(RunLoop, AFallingBodyRecordsItsFallFrameByFrame) {
    runUntil(29);
    ASSERT_EQ(channel(0).count, 30);
    for (int k = 1; k < 30; ++k) {
        const auto& prev = channel(0).frames[static_cast<std::size_t>(k - 1)];
        const auto& cur = channel(0).frames[static_cast<std::size_t>(k)];
        EXPECT_GT(cur[kFrameDown], prev[kFrameDown]);
        EXPECT_GT(cur[kFrameTime], prev[kFrameTime]);
    }
    const float t = channel(0).frames[29][kFrameTime];
    EXPECT_NEAR(t, 1.0f, 1e-5f);
    EXPECT_NEAR(channel(0).frames[29][kFrameDown], (-100.0f + 0.5f * 32.17f * t * t) * 0.3048037f,
                1e-3f);
}

TEST_F(RunLoop, NoRecordMemoryIsReportedAndNothingCountsAsRecorded) {
    for (int capacity : {0, 1}) {
        settings.recordCapacity = capacity;
        messages.messages.clear();
        runUntil(2);
        EXPECT_FALSE(run.recording);
        EXPECT_FALSE(run.flags.objectMotionRecorded);
        EXPECT_FALSE(run.flags.cameraMotionRecorded);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0], "The animation was not recorded because no\n"
                                        "record memory has been allocated.");
    }
}

TEST_F(RunLoop, AFullBufferKeepsTheFirstFramesAndSaysHowMuch) {
    settings.recordCapacity = 5;
    runUntil(7);
    EXPECT_EQ(run.frameCounter, 8); // the run goes on after the buffer filled
    EXPECT_EQ(channel(0).count, 5);
    EXPECT_EQ(channel(kCameraChannel).count, 5);
    EXPECT_TRUE(run.flags.objectMotionRecorded);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], "Only the first 0.2 seconds of the animation\n"
                                    "were recorded because it exceeded the 5\n"
                                    "frame limit.");
    EXPECT_EQ(truncatedRecordingMessage(3000, 1.0f / 30.0f),
              "Only the first 100.0 seconds of the animation were recorded because it exceeded "
              "the 3000 frame limit.");

    // With room for only two frames a truncated run counts as not recorded.
    settings.recordCapacity = 2;
    messages.messages.clear();
    runUntil(3);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].substr(0, 30), "The animation was not recorded");
    EXPECT_FALSE(run.flags.objectMotionRecorded);
    EXPECT_FALSE(run.flags.cameraMotionRecorded);
}

TEST_F(RunLoop, PausedFramesStandStillAndRecordNothing) {
    scene.keys = {{1, RunKey::Pause}, {3, RunKey::Pause}};
    runUntil(5);
    EXPECT_EQ(run.frameCounter, 6);
    EXPECT_EQ(scene.pauseFlags, (std::vector<bool>{false, false, true, true, false, false}));
    // Frames 2 and 3 were paused; the camera is not recorded after P is pressed.
    ASSERT_EQ(channel(0).count, 4);
    EXPECT_EQ(channel(kCameraChannel).count, 4);
    const float p = settings.framePeriod;
    EXPECT_EQ(channel(0).frames[1][kFrameTime], p + p);
    EXPECT_EQ(channel(0).frames[2][kFrameTime], p + p + p);
    EXPECT_FLOAT_EQ(run.slots[0].sim.simTime, 16.0f * settings.dt);
}

TEST_F(RunLoop, EscapeDuringPauseStopsAndClearsPause) {
    scene.keys = {{0, RunKey::Pause}};
    runUntil(2);
    EXPECT_TRUE(run.flags.stop);
    EXPECT_FALSE(run.flags.pause);
    EXPECT_EQ(run.frameCounter, 3);
    EXPECT_EQ(channel(0).count, 1);
    // P on frame 0 skips that frame's camera; ESC on frame 2 clears pause in time
    // for its camera frame.
    EXPECT_EQ(channel(kCameraChannel).count, 1);
    EXPECT_EQ(channel(kCameraChannel).frames[0][kFrameTime], settings.framePeriod);
}

TEST_F(RunLoop, InstabilityEndsTheRunAfterRecordingTheFrame) {
    objects[0].mass.inertia = {};
    runUntil(100);
    EXPECT_EQ(run.frameCounter, 1);
    EXPECT_EQ(channel(0).count, 1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], "The simulation became unstable.");
    EXPECT_FLOAT_EQ(run.slots[0].sim.simTime, settings.dt); // no further sub-steps
}

TEST_F(RunLoop, FramesWhoseWorkOverrunsThePeriodAreLate) {
    scene.clock = &clock;
    scene.workSeconds = 0.05;
    runUntil(3);
    EXPECT_EQ(scene.lateFlags, (std::vector<bool>{false, true, true, true}));
    scene.workSeconds = 0.01;
    const double before = clock.now();
    runUntil(3);
    EXPECT_EQ(scene.lateFlags, (std::vector<bool>{false, false, false, false}));
    EXPECT_NEAR(clock.now() - before, 4 * settings.framePeriod + 0.01, 1e-6);
}

TEST_F(RunLoop, ControlsReachTheRecordedFrames) {
    ControlRecord c;
    c.stickX = 0.5f;
    c.stickY = -0.25f;
    c.buttonA = 1;
    c.command = 7;
    controls.script = {ControlRecord{}, c};
    controls.playback.stickX = -1.0f;
    objects.push_back(test::freeBody(30.0f));
    settings.interactiveCount = 2;
    runUntil(1);
    const auto& f0 = channel(0).frames[0];
    const auto& f1 = channel(0).frames[1];
    EXPECT_EQ(f0[model::kFrameStickX], 0.0f);
    EXPECT_EQ(f1[model::kFrameStickX], 0.5f);
    EXPECT_EQ(f1[model::kFrameStickY], -0.25f);
    EXPECT_EQ(f1[model::kFrameButtonA], 1.0f);
    EXPECT_EQ(f1[model::kFrameButtonB], 0.0f);
    EXPECT_EQ(f1[model::kFrameKeyCommand], 7.0f);
    EXPECT_EQ(channel(1).frames[1][model::kFrameStickX], -1.0f);
    EXPECT_EQ(controls.reads, 2);
    EXPECT_EQ(controls.playbacks, 2);

    // A static slot replays nothing.
    objects[1].role = model::kRoleStatic;
    controls.playbacks = 0;
    runUntil(1);
    EXPECT_EQ(controls.playbacks, 0);
}

TEST_F(RunLoop, ObserveModeKeepsSlotZerosRecordingAndRecordsTheOthers) {
    objects.push_back(test::freeBody(30.0f));
    settings.interactiveCount = 2;
    runUntil(2);
    ASSERT_EQ(channel(0).count, 3);
    const model::MotionFrame recorded = channel(0).frames[2];

    settings.observe = true;
    runUntil(4);
    EXPECT_EQ(channel(0).count, 3);
    EXPECT_EQ(channel(0).frames[2], recorded);
    EXPECT_EQ(channel(1).count, 5); // started afresh, not appended
    EXPECT_EQ(channel(kCameraChannel).count, 5);
    EXPECT_EQ(run.slots[0].sim.state.altitude, 100.0f); // slot 0 not stepped
    EXPECT_LT(run.slots[1].sim.state.altitude, 30.0f);
    EXPECT_FALSE(run.flags.objectMotionRecorded);
    EXPECT_TRUE(run.flags.cameraMotionRecorded);
}

TEST_F(RunLoop, TheCollisionPairIsBuiltOnceAndTestedEveryRunningFrame) {
    CountingCollision pair;
    collision = &pair;
    objects = {test::freeBody(), withRole(test::freeBody(), model::kRoleDynamic), test::freeBody()};
    settings.interactiveCount = 2;
    scene.keys = {{1, RunKey::Pause}};
    runUntil(3);
    EXPECT_EQ(pair.builds, 1);
    EXPECT_EQ(pair.built, (std::vector<int>{0, 2}));
    EXPECT_EQ(pair.tests, 2); // frames 2 and 3 are paused
    EXPECT_TRUE(run.collisionOn);

    settings.observe = true;
    runUntil(1);
    EXPECT_FALSE(run.collisionOn);
    EXPECT_EQ(pair.builds, 1);
}

} // namespace
} // namespace kv::sim
