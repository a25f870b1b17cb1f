#include "app/camera/camera_math.h"
#include "camera_test_support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

using test::buttons;
using test::CameraRig;

TEST(CameraDelayLine, FirstFrameFillsAndNewTimesAdvance) {
    PoseDelayLine line;
    line.delay = 3;
    recordPose(line, Pose{{1, 0, 0}, {}}, 0.0f, true);
    EXPECT_EQ(line.writeIndex, 0);
    EXPECT_EQ(delayedPose(line).position[0], 1.0f);
    for (int i = 2; i <= 6; ++i)
        recordPose(line, Pose{{static_cast<float>(i), 0, 0}, {}}, static_cast<float>(i), false);
    EXPECT_EQ(line.writeIndex, 5);
    // Three entries behind the write index: the pose written at time 4.
    EXPECT_EQ(delayedPose(line).position[0], 4.0f);
    // The same time again (a paused run) writes nothing.
    recordPose(line, Pose{{99, 0, 0}, {}}, 6.0f, false);
    EXPECT_EQ(line.writeIndex, 5);
    // The index wraps modulo 80.
    for (int i = 0; i < 80; ++i)
        recordPose(line, Pose{{static_cast<float>(100 + i), 0, 0}, {}}, static_cast<float>(100 + i),
                   false);
    EXPECT_EQ(line.writeIndex, 5);
    EXPECT_EQ(delayedPose(line).position[0], 177.0f);
}

TEST(CameraDelayLine, ChaseButtonsKeepTheDelayWithinOneTo79) {
    CameraRig rig;
    rig.record.mode = kModeChase;
    for (int i = 0; i < 100; ++i)
        rig.step(buttons(0, 1));
    EXPECT_EQ(rig.state.delayLine.delay, kMaxDelay);
    for (int i = 0; i < 100; ++i)
        rig.step(buttons(1, 0));
    EXPECT_EQ(rig.state.delayLine.delay, kMinDelay);
    // Both held: B wins, and neither moves the camera (buttons count as released).
    const Vec3 before = rig.record.position;
    rig.step(buttons(1, 1));
    EXPECT_EQ(rig.state.delayLine.delay, 2);
    EXPECT_EQ(rig.state.viewSpeed.speed, 0.0f);
    EXPECT_EQ(rig.record.position, before);
}

TEST(CameraDelayLine, ChaseFollowsThePoseFromDelayFramesAgo) {
    CameraRig rig;
    rig.record.mode = kModeChase;
    rig.state.delayLine.delay = 4;
    rig.record.position = {-10, 0, 0};
    rig.object = {{0, 0, 0}, {}};
    rig.step();
    for (int i = 1; i <= 10; ++i) {
        rig.object.position = {static_cast<float>(i), 0, 0};
        rig.step();
    }
    // Written poses 1..10; four behind the write index is the pose at x = 7.
    EXPECT_NEAR(rig.record.position[0], 7.0f - 10.0f, 1e-4f);
}

sim::ControlRecord none() {
    return {};
}

TEST(CameraBounce, LagsAStepAndResetsOnAModeChange) {
    CameraRig rig;
    rig.settings.bounceOn = true;
    rig.settings.spring = 5000.0f;
    rig.settings.damping = 424.26407f;
    rig.record.mode = kModeCockpit;
    rig.object = {{0, 0, 0}, {}};
    rig.step();
    rig.object.position = {10, 0, 0};
    rig.step();
    EXPECT_GT(rig.record.position[0], 0.0f);
    EXPECT_LT(rig.record.position[0], 10.0f);
    EXPECT_EQ(rig.state.workingPosition[0], 10.0f);
    // A mode change puts the camera on its working position that frame.
    rig.record.mode = kModeAttached;
    rig.step(none());
    EXPECT_EQ(rig.record.position, rig.state.workingPosition);
    EXPECT_EQ(rig.state.bounce.velocity, (Vec3{0, 0, 0}));
}

TEST(CameraBounce, LockedAxesFollowTheTargetExactly) {
    struct Case {
        bool lon, lat, vert;
        Vec3 step;    // object displacement (the camera faces north)
        bool settled; // the bounced position equals the target at once
    };
    const Case cases[] = {
        {true, false, false, {10, 0, 0}, true}, {false, true, false, {0, 10, 0}, true},
        {false, false, true, {0, 0, 10}, true}, {true, false, false, {0, 10, 0}, false},
        {true, true, true, {7, -3, 2}, true},
    };
    for (const Case& c : cases) {
        CameraRig rig;
        rig.settings.bounceOn = true;
        rig.settings.lockLongitudinal = c.lon;
        rig.settings.lockLateral = c.lat;
        rig.settings.lockVertical = c.vert;
        rig.record.mode = kModeCockpit;
        rig.step();
        rig.object.position = c.step;
        rig.step();
        const bool same =
            VecLength(Vec3{rig.record.position[0] - c.step[0], rig.record.position[1] - c.step[1],
                           rig.record.position[2] - c.step[2]}) < 1e-4f;
        EXPECT_EQ(same, c.settled) << c.lon << c.lat << c.vert;
    }
}

TEST(CameraEffects, JitterAndBounceRestWithoutARun) {
    for (bool run : {false, true}) {
        CameraRig rig;
        rig.run = run;
        rig.settings.jitterOn = true;
        rig.settings.jitterPosition = 0.5f;
        rig.settings.jitterAngle = 0.5f;
        rig.settings.bounceOn = true;
        rig.record.mode = kModeCockpit;
        rig.object = {{1, 2, 3}, {4, 5, 6}};
        rig.step();
        rig.object.position = {11, 2, 3};
        rig.step();
        if (!run) {
            EXPECT_EQ(rig.record.position, (Vec3{11, 2, 3}));
            EXPECT_EQ(rig.record.angles, (Vec3{4, 5, 6}));
        } else {
            EXPECT_NE(rig.record.angles, (Vec3{4, 5, 6}));
        }
    }
}

TEST(CameraEffects, JitterRepeatsExactlyAndHasTheRequestedSpread) {
    NormalSource a, b;
    double sum = 0.0, sumSq = 0.0;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const float x = nextNormal(a);
        EXPECT_EQ(x, nextNormal(b));
        sum += x;
        sumSq += static_cast<double>(x) * x;
    }
    EXPECT_NEAR(sum / n, 0.0, 0.03);
    EXPECT_NEAR(std::sqrt(sumSq / n), 1.0, 0.03);
}

TEST(CameraEffects, AttachedEntryAddsTheLastVelocity) {
    CameraRig rig;
    rig.record.mode = kModeRoamPan;
    rig.step();
    rig.step(buttons(1, 0, 0.0f, -1.0f)); // moves forward by 1
    EXPECT_EQ(rig.state.lastVelocity, (Vec3{1, 0, 0}));
    rig.record.mode = kModeAttached;
    rig.step();
    // Captured offset = position - object + last velocity.
    EXPECT_EQ(rig.state.offset, (Vec3{2, 0, 0}));
}

} // namespace
} // namespace kv::app
