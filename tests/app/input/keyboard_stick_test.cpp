// The Keyboard controller choice: arrow-key sequences read frame by frame
// through the controls port, as a run reads them, at the two common rates.
#include "app/input/input_controls.h"
#include "app/input/input_script.h"
#include "app/input/keyboard_stick.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace kv::app {
namespace {

/// One frame of a sequence: the keys held ("U" Up, "D" Down, "L" Left,
/// "R" Right, "CA" Ctrl+Alt, "C" Ctrl) and the stick expected on that frame.
struct Frame {
    std::string keys;
    float x;
    float y;
};

struct Sequence {
    const char* name;
    float fps;
    std::vector<Frame> frames;
};

DeviceState held(const std::string& keys) {
    DeviceState d;
    // The mouse is off-centre: the keyboard choice must not read it.
    d.windowWidth = 400.0f;
    d.windowHeight = 300.0f;
    d.cursorX = 390.0f;
    d.cursorY = 10.0f;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        switch (keys[i]) {
        case 'U':
            d.keysDown.set(kKeyUp);
            break;
        case 'D':
            d.keysDown.set(kKeyDown);
            break;
        case 'L':
            d.keysDown.set(kKeyLeft);
            break;
        case 'R':
            d.keysDown.set(kKeyRight);
            break;
        case 'C':
            d.ctrlDown = true;
            break;
        case 'A':
            d.altDown = true;
            break;
        default:
            break;
        }
    }
    return d;
}

ControllerSettings keyboardAt(float fps) {
    ControllerSettings s;
    s.device = ControllerDevice::Keyboard;
    s.framePeriod = 1.0f / fps;
    return s;
}

/// Plays `seq` through DeviceControls and compares every frame's vehicle stick.
void play(const Sequence& seq, ControllerSettings settings) {
    std::vector<DeviceState> script;
    for (const Frame& f : seq.frames)
        script.push_back(held(f.keys));
    ScriptedDeviceSource source(script);
    DeviceControls controls(source, settings);
    controls.begin();
    for (std::size_t k = 0; k < seq.frames.size(); ++k) {
        sim::CameraRecord camera;
        sim::ControlRecord vehicle, cameraControls;
        controls.readControls(camera, vehicle, cameraControls);
        EXPECT_NEAR(vehicle.stickX, seq.frames[k].x, 1e-5f) << seq.name << " frame " << k;
        EXPECT_NEAR(vehicle.stickY, seq.frames[k].y, 1e-5f) << seq.name << " frame " << k;
        EXPECT_GE(vehicle.stickX, -1.0f);
        EXPECT_LE(vehicle.stickX, 1.0f);
    }
}

// At 12 fps one frame moves the hand 0.2083 of full travel out (0.4 s for
// all of it) and 0.3333 back (0.25 s from full travel to the centre).
const Sequence kAt12[] = {
    {"Up held, then released",
     12.0f,
     {{"U", 0, -0.208333f},
      {"U", 0, -0.416667f},
      {"U", 0, -0.625f},
      {"U", 0, -0.833333f},
      {"U", 0, -1.0f},
      {"U", 0, -1.0f},
      {"", 0, -0.666667f},
      {"", 0, -0.333333f},
      {"", 0, 0.0f},
      {"", 0, 0.0f}}},
    {"Left, then Right across the centre",
     12.0f,
     {{"L", -0.208333f, 0},
      {"L", -0.416667f, 0},
      {"L", -0.625f, 0},
      // Back at the return rate, then the rest of the frame outward.
      {"R", -0.291667f, 0},
      {"R", 0.026042f, 0},
      {"R", 0.234375f, 0},
      {"R", 0.442708f, 0},
      {"", 0.109375f, 0},
      {"", 0.0f, 0}}},
    {"opposite keys cancel",
     12.0f,
     {{"L", -0.208333f, 0},
      {"L", -0.416667f, 0},
      {"LR", -0.083333f, 0},
      {"LR", 0.0f, 0},
      {"UD", 0.0f, 0.0f}}},
    {"Down brakes while Right steers",
     12.0f,
     {{"DR", 0.208333f, 0.208333f}, {"DR", 0.416667f, 0.416667f}, {"D", 0.083333f, 0.625f}}},
};

// At 30 fps: 0.0833 out and 0.1333 back per frame.
const Sequence kAt30[] = {
    {"Up held, then released",
     30.0f,
     {{"U", 0, -0.083333f}, {"U", 0, -0.166667f}, {"U", 0, -0.25f},     {"U", 0, -0.333333f},
      {"U", 0, -0.416667f}, {"U", 0, -0.5f},      {"U", 0, -0.583333f}, {"U", 0, -0.666667f},
      {"U", 0, -0.75f},     {"U", 0, -0.833333f}, {"U", 0, -0.916667f}, {"U", 0, -1.0f},
      {"U", 0, -1.0f},      {"", 0, -0.866667f},  {"", 0, -0.733333f},  {"", 0, -0.6f},
      {"", 0, -0.466667f},  {"", 0, -0.333333f},  {"", 0, -0.2f},       {"", 0, -0.066667f},
      {"", 0, 0.0f}}},
    {"a tap of Left",
     30.0f,
     {{"L", -0.083333f, 0}, {"L", -0.166667f, 0}, {"", -0.033333f, 0}, {"", 0.0f, 0}}},
    {"opposite keys cancel",
     30.0f,
     {{"R", 0.083333f, 0}, {"RL", 0.0f, 0}, {"RL", 0.0f, 0}, {"L", -0.083333f, 0}}},
};

TEST(KeyboardStick, KeySequencesRampTheStickAt12Fps) {
    for (const Sequence& seq : kAt12)
        play(seq, keyboardAt(seq.fps));
}

TEST(KeyboardStick, KeySequencesRampTheStickAt30Fps) {
    for (const Sequence& seq : kAt30)
        play(seq, keyboardAt(seq.fps));
}

TEST(KeyboardStick, SensitivityAndReverseActAsForTheOtherDevices) {
    ControllerSettings s = keyboardAt(12.0f);
    s.sensitivity = 2.0f;
    play({"double sensitivity",
          12.0f,
          {{"U", 0, -0.416667f}, {"U", 0, -0.833333f}, {"U", 0, -1.0f}}},
         s);
    s.sensitivity = 0.5f;
    s.vehicleReverseUpDown = true;
    s.vehicleReverseLeftRight = true;
    play({"half, reversed", 12.0f, {{"UL", 0.104167f, 0.104167f}, {"UL", 0.208333f, 0.208333f}}},
         s);
}

TEST(KeyboardStick, CtrlPressesTheButtonsAndLettersStillGiveCommands) {
    std::vector<DeviceState> script = {held("C"), held("CA"), held("U")};
    script[2].event = {InputEventKind::KeyDown, 'Q'};
    ScriptedDeviceSource source(script);
    DeviceControls controls(source, keyboardAt(12.0f));
    controls.begin();
    sim::CameraRecord camera;
    sim::ControlRecord vehicle, cameraControls;
    controls.readControls(camera, vehicle, cameraControls);
    EXPECT_EQ(vehicle.buttonA, 1);
    EXPECT_EQ(vehicle.buttonB, 0);
    controls.readControls(camera, vehicle, cameraControls);
    EXPECT_EQ(vehicle.buttonA, 0);
    EXPECT_EQ(vehicle.buttonB, 1);
    controls.readControls(camera, vehicle, cameraControls);
    EXPECT_EQ(vehicle.command, 1);
    EXPECT_NEAR(vehicle.stickY, -0.208333f, 1e-5f);
}

TEST(KeyboardStick, WithCameraControlTheKeysMoveTheCamera) {
    ScriptedDeviceSource source({held("R"), held("R")});
    DeviceControls controls(source, keyboardAt(30.0f));
    controls.begin();
    sim::CameraRecord camera;
    camera.cameraControl = 1;
    sim::ControlRecord vehicle, cameraControls;
    controls.readControls(camera, vehicle, cameraControls);
    controls.readControls(camera, vehicle, cameraControls);
    EXPECT_NEAR(cameraControls.stickX, 0.166667f, 1e-5f);
    EXPECT_EQ(vehicle.stickX, 0.0f);
}

TEST(KeyboardStick, ANewRunStartsWithTheHandCentred) {
    ScriptedDeviceSource source({held("U"), held("U"), held("")});
    DeviceControls controls(source, keyboardAt(12.0f));
    controls.begin();
    sim::CameraRecord camera;
    sim::ControlRecord vehicle, cameraControls;
    controls.readControls(camera, vehicle, cameraControls);
    controls.readControls(camera, vehicle, cameraControls);
    controls.begin();
    controls.readControls(camera, vehicle, cameraControls);
    EXPECT_EQ(vehicle.stickY, 0.0f);
}

TEST(KeyboardStick, ABadFramePeriodLeavesTheHandWhereItIs) {
    EXPECT_EQ(rampKeyAxis(0.5f, 1, 0.0f), 0.5f);
    EXPECT_EQ(rampKeyAxis(0.5f, -1, -1.0f), 0.5f);
    EXPECT_EQ(rampKeyAxis(-0.25f, 0, std::numeric_limits<float>::quiet_NaN()), -0.25f);
    // A frame longer than the whole travel goes all the way in one read.
    EXPECT_EQ(rampKeyAxis(-1.0f, 1, 2.0f), 1.0f);
    EXPECT_EQ(rampKeyAxis(1.0f, 0, 1.0f), 0.0f);
}

} // namespace
} // namespace kv::app
