// Replay of stored motion: interpolation, key commands, length, slot removal and
// initial conditions from a motion file.

#include "common/vecmath.h"
#include "model/motion_playback.h"
#include "model/object_model.h"
#include "model/record_codec.h"
#include "support/file_test_support.h"
#include "support/motion_test_data.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::model {
namespace {

using filetest::MessageLog;

constexpr const char* kNoMotion = "Internal error, no motion data to interpolate.";

class PlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(store.allocate(4, 32)); }

    /// Puts `frames` into `slot` as a read would: frames then end marker.
    void fill(int slot, const std::vector<MotionFrame>& frames) {
        auto places = store.frames(slot);
        for (std::size_t i = 0; i < frames.size(); ++i)
            places[i] = frames[i];
        places[frames.size()] = endMarkerFrame();
        store.setLastFrame(slot, static_cast<int>(frames.size()) - 1);
        store.setCursor(slot, 0);
    }
    MotionFrame at(int slot, float t, float period = 0.1f) {
        MotionFrame out{};
        interpolateMotion(store, slot, kFrameFieldCount, t, period, out, log);
        return out;
    }

    MotionStore store;
    MessageLog log;
};

MotionFrame attitudeFrame(float t, float roll, float pitch, float yaw) {
    MotionFrame f = filetest::sampleFrame(t);
    f[kFrameRoll] = roll;
    f[kFramePitch] = pitch;
    f[kFrameYaw] = yaw;
    return f;
}

TEST_F(PlaybackTest, FieldsInterpolateLinearlyBetweenTheFramesAroundT) {
    fill(1,
         {filetest::sampleFrame(0.0f), filetest::sampleFrame(1.0f), filetest::sampleFrame(2.0f)});
    const MotionFrame out = at(1, 1.25f);
    const MotionFrame a = filetest::sampleFrame(1.0f);
    const MotionFrame b = filetest::sampleFrame(2.0f);
    for (int i : {1, 6, 7, 8, 11, 12, 33, 65}) {
        EXPECT_FLOAT_EQ(out[i], a[i] + (b[i] - a[i]) * 0.25f) << i;
    }
    EXPECT_EQ(store.cursor(1), 1);
    EXPECT_TRUE(log.shown.empty());

    // An earlier time starts again from the first frame.
    const MotionFrame early = at(1, 0.5f);
    EXPECT_EQ(store.cursor(1), 0);
    EXPECT_FLOAT_EQ(early[kFrameNorth], filetest::sampleFrame(0.5f)[kFrameNorth]);
}

TEST_F(PlaybackTest, TimesAtOrAfterTheLastFrameGiveTheLastFrame) {
    // Two frames and the end marker: the three-frame file, lastFrame 1.
    fill(1, {filetest::sampleFrame(0.0f), filetest::sampleFrame(0.5f)});
    ASSERT_EQ(store.lastFrame(1), 1);
    const MotionFrame last = filetest::sampleFrame(0.5f);
    for (float t : {0.5f, 0.75f, 60.0f}) {
        const MotionFrame out = at(1, t);
        for (int i = 1; i < kFrameFieldCount; ++i) {
            if (i == kFrameKeyCommand)
                continue;
            EXPECT_FLOAT_EQ(out[i], last[i]) << "t " << t << " field " << i;
        }
    }
    EXPECT_TRUE(log.shown.empty());
}

TEST_F(PlaybackTest, AnglesTakeTheShortWayRound) {
    struct Case {
        float a, b, h, expected;
    };
    const Case cases[] = {
        {350.0f, 10.0f, 0.5f, 0.0f},       {350.0f, 10.0f, 0.25f, -5.0f},
        {350.0f, 10.0f, 0.75f, 5.0f},      {10.0f, 350.0f, 0.5f, 0.0f},
        {-170.0f, 170.0f, 0.5f, 180.0f},   {170.0f, -170.0f, 0.25f, 175.0f},
        {170.0f, -170.0f, 0.75f, -175.0f}, {20.0f, 60.0f, 0.5f, 40.0f},
    };
    for (const Case& c : cases) {
        fill(2, {attitudeFrame(0.0f, c.a, c.a, c.a), attitudeFrame(1.0f, c.b, c.b, c.b),
                 attitudeFrame(2.0f, 0, 0, 0)});
        const MotionFrame out = at(2, c.h);
        for (int i : {kFrameRoll, kFramePitch, kFrameYaw}) {
            EXPECT_NEAR(std::abs(out[i]), std::abs(c.expected), 1e-3f)
                << c.a << " -> " << c.b << " at " << c.h;
            EXPECT_LE(std::abs(out[i]), 180.0f);
        }
        if (c.expected != 180.0f) {
            EXPECT_NEAR(out[kFrameYaw], c.expected, 1e-3f);
        }
    }
}

TEST_F(PlaybackTest, KeyCommandIsHeldForOneFramePeriodAndNotInterpolated) {
    std::vector<MotionFrame> frames;
    for (int i = 0; i < 8; ++i)
        frames.push_back(filetest::sampleFrame(0.1f * static_cast<float>(i)));
    frames[3][kFrameKeyCommand] = 7.0f; // pressed in the frame at 0.3 s
    fill(1, frames);
    struct Case {
        float t;
        float key;
    };
    for (const Case c : {Case{0.25f, 0.0f}, Case{0.3f, 7.0f}, Case{0.35f, 7.0f}, Case{0.39f, 7.0f},
                         Case{0.41f, 0.0f}, Case{0.65f, 0.0f}}) {
        EXPECT_EQ(at(1, c.t, 0.1f)[kFrameKeyCommand], c.key) << c.t;
    }
}

TEST_F(PlaybackTest, TooLittleMotionIsAnInternalError) {
    fill(1, {filetest::sampleFrame(0.0f)});
    const MotionFrame out = at(1, 0.3f);
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(log.shown[0], kNoMotion);
    EXPECT_EQ(out[kFrameNorth], filetest::sampleFrame(0.0f)[kFrameNorth]);

    store.clearSlot(2);
    at(2, 0.0f);
    EXPECT_EQ(log.shown.size(), 2u);
}

TEST_F(PlaybackTest, CountLimitsTheFieldsFilled) {
    fill(1, {filetest::sampleFrame(0.0f), filetest::sampleFrame(1.0f)});
    MotionFrame out{};
    out.fill(-1.0f);
    interpolateMotion(store, 1, 12, 0.5f, 0.1f, out, log);
    EXPECT_EQ(out[0], -1.0f);
    EXPECT_NE(out[11], -1.0f);
    EXPECT_EQ(out[12], -1.0f);
}

TEST_F(PlaybackTest, LengthIsTheTimeOfTheLastFrame) {
    fill(1,
         {filetest::sampleFrame(0.0f), filetest::sampleFrame(0.5f), filetest::sampleFrame(1.5f)});
    EXPECT_FLOAT_EQ(motionLength(store, 1), 1.5f);
    EXPECT_EQ(motionLength(store, 3), 0.0f);
}

TEST_F(PlaybackTest, RemovingASlotMovesTheLaterMotionsDown) {
    fill(1, {filetest::sampleFrame(0.0f), filetest::sampleFrame(1.0f)});
    fill(2,
         {filetest::sampleFrame(0.0f), filetest::sampleFrame(2.0f), filetest::sampleFrame(3.0f)});
    fill(3, {filetest::sampleFrame(0.0f), filetest::sampleFrame(4.0f)});
    store.setCursor(3, 1);
    removeSlotMotion(store, 1);
    EXPECT_EQ(store.lastFrame(1), 2);
    EXPECT_FLOAT_EQ(motionLength(store, 1), 3.0f);
    EXPECT_EQ(store.lastFrame(2), 1);
    EXPECT_EQ(store.cursor(2), 1);
    EXPECT_FLOAT_EQ(motionLength(store, 2), 4.0f);
    EXPECT_EQ(store.lastFrame(3), -1);
    EXPECT_EQ(store.frames(3)[1], MotionFrame{});
}

TEST(InitialConditionsFromMotion, SamplesPositionAttitudeVelocityAndRates) {
    filetest::ScratchDir dir;
    MessageLog log;
    MotionStore store;
    ASSERT_TRUE(store.allocate(3, 64));

    // Heading east (yaw 90) at 10 m/s, yaw turning at 5 deg/s, level.
    std::vector<MotionFrame> frames;
    for (int i = 0; i <= 40; ++i) {
        const float t = 0.1f * static_cast<float>(i);
        MotionFrame f{};
        f[kFrameTime] = t;
        f[kFrameNorth] = 3.0f;
        f[kFrameEast] = 10.0f * t;
        f[kFrameDown] = -2.0f;
        f[kFrameYaw] = 90.0f + 5.0f * t;
        frames.push_back(f);
    }
    const auto tris = filetest::sampleTriangles(1);
    const auto path = dir / "east.kvm";
    ASSERT_TRUE(
        saveLiveMotion(path, filetest::sampleObject(), filetest::sourceOf(tris), frames, log));

    ObjectRecord camera = filetest::sampleObject();
    filetest::MeshRecorder mesh;
    const auto ic =
        initialConditionsFromMotion(path, 2.0f, 0.1f, {2, &camera, mesh.intake()}, store, log);
    ASSERT_TRUE(ic.has_value());
    EXPECT_TRUE(log.shown.empty());
    EXPECT_NEAR(ic->position[0], 3.0f * 3.2808f, 1e-4f);
    EXPECT_NEAR(ic->position[1], 20.0f * 3.2808f, 1e-3f);
    EXPECT_NEAR(ic->position[2], -2.0f * 3.2808f, 1e-4f);
    EXPECT_NEAR(ic->attitude[2], 100.0f, 1e-3f);
    // Moving east while heading 100 deg: mostly forward, some to the left.
    const float fwd = 32.808f * std::cos(10.0f / 57.29578f);
    EXPECT_NEAR(ic->velocity[0], fwd, 0.01f);
    EXPECT_NEAR(ic->velocity[1], -32.808f * std::sin(10.0f / 57.29578f), 0.01f);
    EXPECT_NEAR(ic->velocity[2], 0.0f, 1e-3f);
    EXPECT_NEAR(ic->rates[0], 0.0f, 1e-3f);
    EXPECT_NEAR(ic->rates[1], 0.0f, 1e-3f);
    EXPECT_NEAR(ic->rates[2], 5.0f, 1e-2f);

    // The camera slot is an empty camera again.
    ObjectRecord emptyCamera = filetest::sampleObject();
    resetCamera(emptyCamera);
    EXPECT_EQ(encodeObject(camera), encodeObject(emptyCamera));
    EXPECT_EQ(store.lastFrame(2), -1);
    EXPECT_TRUE(mesh.faces.empty());
}

TEST(InitialConditionsFromMotion, HeadingAcrossTheSeamGivesTheTrueTurnRate) {
    filetest::ScratchDir dir;
    MessageLog log;
    MotionStore store;
    ASSERT_TRUE(store.allocate(3, 64));
    std::vector<MotionFrame> frames;
    for (int i = 0; i <= 20; ++i) {
        const float t = 0.1f * static_cast<float>(i);
        MotionFrame f{};
        f[kFrameTime] = t;
        f[kFrameYaw] = Wrap180(170.0f + 10.0f * t);
        frames.push_back(f);
    }
    const auto tris = filetest::sampleTriangles(1);
    ASSERT_TRUE(saveLiveMotion(dir / "seam.kvm", filetest::sampleObject(), filetest::sourceOf(tris),
                               frames, log));
    ObjectRecord camera;
    const auto ic =
        initialConditionsFromMotion(dir / "seam.kvm", 1.0f, 0.1f, {2, &camera, {}}, store, log);
    ASSERT_TRUE(ic.has_value());
    EXPECT_NEAR(ic->rates[2], 10.0f, 0.05f);
}

TEST(InitialConditionsFromMotion, AnUnreadableFileGivesNothingAndResetsTheCamera) {
    MessageLog log;
    MotionStore store;
    ASSERT_TRUE(store.allocate(3, 8));
    ObjectRecord camera = filetest::sampleObject();
    EXPECT_FALSE(initialConditionsFromMotion("/nonexistent/x.kvm", 0.0f, 0.1f, {2, &camera, {}},
                                             store, log));
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(camera.vehicleType, kVehicleNone);
}

TEST(InitialConditionsFromMotion, AStaticObjectFileHasNoMotionToSample) {
    filetest::ScratchDir dir;
    MessageLog log;
    MotionStore store;
    ASSERT_TRUE(store.allocate(3, 8));
    ObjectRecord still = filetest::sampleObject();
    still.role = kRoleStatic;
    const auto tris = filetest::sampleTriangles(1);
    ASSERT_TRUE(saveLiveMotion(dir / "still.kvm", still, filetest::sourceOf(tris), {}, log));
    ObjectRecord camera;
    EXPECT_FALSE(
        initialConditionsFromMotion(dir / "still.kvm", 0.0f, 0.1f, {2, &camera, {}}, store, log));
    ASSERT_EQ(log.shown.size(), 1u);
    EXPECT_EQ(log.shown[0],
              "The motion file could not be loaded because it contains no motion data.");
    EXPECT_EQ(camera.vehicleType, kVehicleNone);
}

} // namespace
} // namespace kv::model
