#include "app/camera/camera_keys.h"
#include "app/camera/camera_preview.h"
#include "app/camera/camera_settings.h"
#include "app/camera/camera_state.h"
#include "app/input/input_keys.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace kv::app {
namespace {

TEST(CameraKeys, FunctionKeysSelectTheModePairs) {
    struct Case {
        int key;
        int plain;
        int withAlt;
    };
    const Case cases[] = {
        {kKeyF1, kModeCockpit, kModeCockpit},
        {kKeyF2, kModeRoam, kModeRoamPan},
        {kKeyF3, kModeAttached, kModeAttachedPan},
        {kKeyF4, kModeChase, kModeChasePan},
        {kKeyF5, kModeTvTrack, kModeTvDolly},
        {kKeyF6, kModeExternal, kModeExternalLagged},
        {kKeyF11, -1, -1},
        {'A', -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cameraModeForKey(c.key, false), c.plain) << c.key;
        EXPECT_EQ(cameraModeForKey(c.key, true), c.withAlt) << c.key;
    }
}

TEST(CameraKeys, F11WrapsPastObjectZeroWhenObserving) {
    EXPECT_EQ(nextFollowedObject(0, 3, false), 1);
    EXPECT_EQ(nextFollowedObject(2, 3, false), 0);
    EXPECT_EQ(nextFollowedObject(2, 3, true), 1);
    EXPECT_EQ(nextFollowedObject(0, 1, true), 0);
    EXPECT_EQ(nextFollowedObject(5, 3, false), 0);
    EXPECT_EQ(followedOnFirstFrame(4, 3, false), 0);
    EXPECT_EQ(followedOnFirstFrame(4, 3, true), 1);
    EXPECT_EQ(followedOnFirstFrame(0, 3, true), 1);
    EXPECT_EQ(followedOnFirstFrame(2, 3, true), 2);
    EXPECT_EQ(followedOnFirstFrame(0, 1, true), 0);
}

struct SceneKeys : ::testing::Test {
    sim::CameraRecord camera;
    int followed = 0;
    float sun = 100.0f;
    int pending = kKeyNone;

    SceneKeyResult press(int key, bool alt = false, int count = 3, bool observing = false) {
        pending = key;
        return consumeSceneKey(pending, alt, {camera, followed, sun, count, observing});
    }
};

TEST_F(SceneKeys, SunTurnsFiveDegreesPerPressAndWraps) {
    for (int i = 0; i < 37; ++i)
        press('T');
    EXPECT_FLOAT_EQ(sun, -75.0f);
    EXPECT_EQ(pending, kKeyNone);
}

TEST_F(SceneKeys, RunKeysModesAndTheFollowedObject) {
    EXPECT_EQ(press(kKeyEscape).runKey, sim::RunKey::Escape);
    EXPECT_EQ(press('P').runKey, sim::RunKey::Pause);
    EXPECT_EQ(press('Z').runKey, sim::RunKey::None);
    press(kKeyF6, true);
    EXPECT_EQ(camera.mode, kModeExternalLagged);
    press(kKeyF12);
    EXPECT_EQ(camera.cameraControl, 1);
    press(kKeyF12);
    EXPECT_EQ(camera.cameraControl, 0);
    EXPECT_TRUE(press(kKeyF11).followedChanged);
    EXPECT_EQ(followed, 1);
    followed = 2;
    EXPECT_TRUE(press(kKeyF11, false, 3, true).followedChanged);
    EXPECT_EQ(followed, 1);
    followed = 0;
    EXPECT_FALSE(press(kKeyF11, false, 1).followedChanged);
}

TEST(CameraKeys, ViewKeyDownStoresKeysAndStartsThePreviewOnF12) {
    int pending = 'Q';
    EXPECT_EQ(onViewKeyDown(kKeyF2, pending), ViewKeyAction::Redraw);
    EXPECT_EQ(pending, kKeyF2);
    EXPECT_EQ(onViewKeyDown(kKeyF12, pending), ViewKeyAction::StartPreview);
    EXPECT_EQ(pending, kKeyNone);
}

/// Scripted preview host: plays keys frame by frame through the scene's
/// key consumption.
struct ScriptedPreview : CameraPreviewHost {
    sim::CameraRecord& camera;
    std::vector<int> keys;
    std::vector<float> times;
    int begins = 0, ends = 0;
    bool runActiveSeen = false;
    PreviewFlags* flags = nullptr;
    int followed = 0;
    float sun = 100.0f;

    explicit ScriptedPreview(sim::CameraRecord& c) : camera(c) {}
    void beginInput() override { ++begins; }
    void endInput() override { ++ends; }
    float elapsedSeconds() override { return static_cast<float>(times.size()) * 0.1f; }
    sim::RunKey previewFrame(int frameCounter, float time) override {
        EXPECT_EQ(frameCounter, static_cast<int>(times.size()));
        times.push_back(time);
        runActiveSeen = flags->runActive;
        int key = frameCounter < static_cast<int>(keys.size())
                      ? keys[static_cast<std::size_t>(frameCounter)]
                      : kKeyNone;
        return consumeSceneKey(key, false, {camera, followed, sun, 1, false}).runKey;
    }
};

TEST(CameraPreview, EscapeOrF12EndsTheLoop) {
    for (int endKey : {kKeyEscape, kKeyF12}) {
        sim::CameraRecord camera;
        ScriptedPreview host(camera);
        PreviewFlags flags;
        flags.stopRequest = true;
        host.flags = &flags;
        host.keys = {kKeyNone, kKeyF4, endKey};
        int pending = 'X';
        runCameraPreview(camera, pending, flags, host);
        EXPECT_EQ(pending, kKeyNone);
        EXPECT_EQ(host.times.size(), 3u);
        EXPECT_EQ(host.begins, 1);
        EXPECT_EQ(host.ends, 1);
        EXPECT_TRUE(host.runActiveSeen);
        EXPECT_FALSE(flags.runActive);
        EXPECT_TRUE(flags.stopRequest);
        EXPECT_EQ(camera.mode, kModeChase);
        EXPECT_EQ(camera.cameraControl, endKey == kKeyF12 ? 0 : 1);
    }
}

TEST(CameraPresets, PresetsFillTheLensAndEditsBecomeCustom) {
    float fov = 0.0f, aspect = 0.0f;
    ASSERT_TRUE(applyCameraPreset(4, fov, aspect));
    EXPECT_EQ(kCameraPresets[4].name, "35mm");
    EXPECT_FLOAT_EQ(fov, 16.6398f);
    EXPECT_FLOAT_EQ(aspect, 1.5f);
    EXPECT_FALSE(applyCameraPreset(11, fov, aspect));
    EXPECT_FALSE(applyCameraPreset(-1, fov, aspect));
    EXPECT_FLOAT_EQ(fov, 16.6398f);
    EXPECT_EQ(presetAfterEdit(4, 16.6398f, 1.5f, false), 4);
    EXPECT_EQ(presetAfterEdit(4, 16.6398f, 1.5f, true), kCustomPreset);
    EXPECT_EQ(presetAfterEdit(4, 20.0f, 1.5f, false), kCustomPreset);
    EXPECT_EQ(kCameraPresets[kCustomPreset].name, "Custom");
}

TEST(CameraPresets, DialogEntriesAreClamped) {
    CameraDialogEntries e;
    e.updateRate = 0.0f;
    e.lagPercent = 150.0f;
    e.dragPercent = 500.0f;
    e.springPercent = 200.0f;
    e.bouncePercent = 75.0f;
    e.jitterPositionPercent = 50.0f;
    e.fieldOfView = 500.0f;
    e.viewAspect = 0.5f;
    const CameraSettings s = cameraSettingsFromEntries(e);
    EXPECT_FLOAT_EQ(s.dt, 1.0f);
    EXPECT_FLOAT_EQ(s.lag, 1.0f);
    EXPECT_FLOAT_EQ(s.drag, 20.0f);
    EXPECT_FLOAT_EQ(s.spring, 20000.0f);
    EXPECT_FLOAT_EQ(s.damping, 2.0f * 0.25f * std::sqrt(100.0f * 20000.0f));
    EXPECT_FLOAT_EQ(s.jitterPosition, 0.01f);
    EXPECT_FLOAT_EQ(s.fieldOfView, 180.0f);
    EXPECT_FLOAT_EQ(s.viewAspect, 1.0f);
}

} // namespace
} // namespace kv::app
