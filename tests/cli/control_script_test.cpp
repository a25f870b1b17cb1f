// The control script reader and the controller that plays a script or a
// recorded take, without running the tool.

#include "app/input/controls_csv.h"
#include "app/input/headless_controls.h"
#include "app/input/input_keys.h"
#include "support/file_test_support.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

ControlScript parsed(const std::string& text) {
    ControlScript script;
    std::string error;
    EXPECT_TRUE(parseControlsCsv(text, script, error)) << error;
    return script;
}

TEST(ControlScript, ReadsRowsKeysAndTolerantSpacing) {
    const ControlScript s = parsed("\xEF\xBB\xBFTime, X, Y, A, B, Key\r\n"
                                   "0, -1, 1, 1, 0,\r\n"
                                   "\r\n"
                                   "0.5,0.25,-0.5,0,1,alt+f3\r\n"
                                   "0.5,0,0,0,0,Esc\r\n"
                                   "2,0,0,0,0\r\n");
    ASSERT_EQ(s.rows.size(), 4u);
    EXPECT_EQ(s.rows[0].x, -1.0f);
    EXPECT_EQ(s.rows[0].y, 1.0f);
    EXPECT_EQ(s.rows[0].buttonA, 1);
    EXPECT_EQ(s.rows[0].key, kKeyNone);
    EXPECT_EQ(s.rows[1].key, kKeyF3);
    EXPECT_TRUE(s.rows[1].alt);
    EXPECT_EQ(s.rows[1].buttonB, 1);
    EXPECT_EQ(s.rows[2].key, kKeyEscape);
    EXPECT_FALSE(s.rows[2].alt);
    EXPECT_EQ(s.rows[3].time, 2.0);
}

TEST(ControlScript, EveryKeyNameOfTheScriptIsKnown) {
    const struct {
        const char* name;
        int key;
        bool alt;
    } cases[] = {{"Q", 'Q', false},          {"R", 'R', false},        {"P", 'P', false},
                 {"ESC", kKeyEscape, false}, {"F1", kKeyF1, false},    {"F6", kKeyF6, false},
                 {"ALT+F2", kKeyF2, true},   {"ALT+F6", kKeyF6, true}, {"F11", kKeyF11, false},
                 {"F12", kKeyF12, false}};
    for (const auto& c : cases) {
        int key = 0;
        bool alt = false;
        ASSERT_TRUE(keyFromName(c.name, key, alt)) << c.name;
        EXPECT_EQ(key, c.key) << c.name;
        EXPECT_EQ(alt, c.alt) << c.name;
    }
    for (const char* bad : {"T", "A", "ALT+F1", "F7", "CTRL+Q", "", "QQ"}) {
        int key = 0;
        bool alt = false;
        EXPECT_FALSE(keyFromName(bad, key, alt)) << bad;
    }
}

TEST(ControlScript, AFileThatCannotBeReadIsNamed) {
    ControlScript script;
    std::string error;
    filetest::ScratchDir dir;
    EXPECT_FALSE(loadControlsCsv((dir / "none.csv").string(), script, error));
    EXPECT_NE(error.find("none.csv"), std::string::npos);
}

class ScriptControlsTest : public ::testing::Test {
  protected:
    /// Reads `frames` frames of `script` at `fps` with camera control off.
    std::vector<sim::ControlRecord> play(const std::string& text, int fps, int frames,
                                         ControllerSettings settings = {}) {
        script_ = parsed(text);
        ScriptControls controls(script_, settings, input_, nullptr, 1.0f / static_cast<float>(fps),
                                log_);
        std::vector<sim::ControlRecord> out;
        for (int i = 0; i < frames; ++i) {
            sim::ControlRecord vehicle, camera;
            controls.readControls(camera_, vehicle, camera);
            keys_.push_back(input_.pendingKey);
            alts_.push_back(input_.alt);
            input_.pendingKey = kKeyNone; // the scene takes what is left each frame
            out.push_back(vehicle);
        }
        return out;
    }
    ControlScript script_;
    InputState input_;
    sim::CameraRecord camera_;
    filetest::MessageLog log_;
    std::vector<int> keys_;
    std::vector<bool> alts_;
};

TEST_F(ScriptControlsTest, RowsTakeEffectOnTheFrameAtTheirTimeEvenWhenPeriodsDoNotAddUp) {
    // At 25 frames a second the single-precision period is a little short of
    // 0.04 s, so 25 periods fall just before 1 s; the row still lands there.
    const auto r = play("time,x,y,a,b,key\n0,0.5,0,0,0,\n1,-0.5,0,0,0,B\n", 25, 26);
    EXPECT_EQ(r[0].stickX, 0.5f);
    EXPECT_EQ(r[23].stickX, 0.5f);
    EXPECT_EQ(r[24].stickX, -0.5f); // frame 25, at 1 s
    EXPECT_EQ(r[24].command, 7);
    EXPECT_EQ(r[25].command, 0);
    EXPECT_EQ(r[25].stickX, -0.5f);
}

TEST_F(ScriptControlsTest, KeysOfOneFrameArePressedOnSuccessiveFrames) {
    const auto r =
        play("time,x,y,a,b,key\n0.1,0,0,0,0,F4\n0.1,0,0,0,0,ALT+F5\n0.1,0,0,0,0,S\n", 10, 4);
    EXPECT_EQ(keys_[0], kKeyF4);
    EXPECT_FALSE(alts_[0]);
    EXPECT_EQ(keys_[1], kKeyF5);
    EXPECT_TRUE(alts_[1]);
    EXPECT_EQ(r[2].command, 6); // a letter key becomes the vehicle's command code
    EXPECT_EQ(keys_[2], kKeyNone);
    EXPECT_EQ(keys_[3], kKeyNone);
}

TEST_F(ScriptControlsTest, ReverseFlagsAndCameraControlApplyAsForADevice) {
    ControllerSettings reversed;
    reversed.vehicleReverseLeftRight = true;
    reversed.deadzone = 0.5f; // a device's dead zone does not touch a script's values
    const auto r = play("time,x,y,a,b,key\n0,0.3,0.2,1,0,\n", 10, 1, reversed);
    EXPECT_EQ(r[0].stickX, -0.3f);
    EXPECT_EQ(r[0].stickY, 0.2f);
    EXPECT_EQ(r[0].buttonA, 1);

    camera_.cameraControl = 1;
    const auto c = play("time,x,y,a,b,key\n0,0.3,0.2,1,0,Q\n", 10, 1);
    EXPECT_EQ(c[0].stickX, 0.0f);
    EXPECT_EQ(c[0].buttonA, 0);
    EXPECT_EQ(c[0].command, 1); // letter keys still reach the vehicle
}

TEST(ReplayControls, FeedsEachRecordedFrameThenHoldsTheStickWithoutKeys) {
    std::vector<model::MotionFrame> frames(2, model::MotionFrame{});
    frames[0][model::kFrameStickX] = 0.25f;
    frames[0][model::kFrameKeyCommand] = 9.0f;
    frames[1][model::kFrameStickY] = -0.75f;
    frames[1][model::kFrameButtonB] = 1.0f;
    frames[1][model::kFrameKeyCommand] = 13.0f;
    filetest::MessageLog log;
    ReplayControls controls(frames, nullptr, 0.1f, log);
    sim::CameraRecord camera;
    sim::ControlRecord v, c;
    controls.readControls(camera, v, c);
    EXPECT_EQ(v.stickX, 0.25f);
    EXPECT_EQ(v.command, 9);
    controls.readControls(camera, v, c);
    EXPECT_EQ(v.stickY, -0.75f);
    EXPECT_EQ(v.buttonB, 1);
    EXPECT_EQ(v.command, 13);
    controls.readControls(camera, v, c);
    EXPECT_EQ(v.stickY, -0.75f);
    EXPECT_EQ(v.command, 0);
}

TEST(HeadlessRun, FramesForADurationEndOnTheFrameThatReachesIt) {
    EXPECT_EQ(framesForDuration(2.0, 1.0f / 12.0f), 24);
    EXPECT_EQ(framesForDuration(1.0, 1.0f / 25.0f), 25);
    EXPECT_EQ(framesForDuration(1.01, 0.1f), 11);
    EXPECT_EQ(framesForDuration(0.001, 0.1f), 1);
}

} // namespace
} // namespace kv::app
