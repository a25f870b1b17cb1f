#include "app/input/input_controls.h"

#include <deque>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(InputCommands, LetterKeysGiveTheirCommandCodes) {
    const std::pair<int, int> table[] = {
        {'Q', 1}, {'C', 3}, {'D', 4},  {'X', 5},        {'S', 6},   {'B', 7},
        {'W', 8}, {'G', 9}, {'F', 10}, {'L', 11},       {'K', 12},  {'R', 13},
        {'P', 0}, {'T', 0}, {'A', 0},  {kKeyEscape, 0}, {kKeyF2, 0}};
    for (const auto& [key, code] : table)
        EXPECT_EQ(commandCodeForKey(key), code) << key;
}

StickReading reading() {
    StickReading r;
    r.buttonA = 1;
    r.buttonB = 0;
    r.x = 0.25f;
    r.y = -0.75f;
    return r;
}

TEST(InputDistribution, TheControllerGoesToTheVehicleOrTheCamera) {
    ControllerSettings s;
    s.vehicleReverseLeftRight = true;
    s.cameraReverseUpDown = true;
    int pending = kKeyNone;
    sim::ControlRecord vehicle, camera;
    distributeControls(reading(), s, false, pending, vehicle, camera);
    EXPECT_EQ(vehicle.buttonA, 1);
    EXPECT_EQ(vehicle.stickX, -0.25f);
    EXPECT_EQ(vehicle.stickY, -0.75f);
    EXPECT_EQ(camera.buttonA, 0);
    EXPECT_EQ(camera.stickX, 0.0f);

    distributeControls(reading(), s, true, pending, vehicle, camera);
    EXPECT_EQ(camera.buttonA, 1);
    EXPECT_EQ(camera.stickX, 0.25f);
    EXPECT_EQ(camera.stickY, 0.75f);
    EXPECT_EQ(vehicle.buttonA, 0);
    EXPECT_EQ(vehicle.stickX, 0.0f);
    EXPECT_EQ(vehicle.stickY, 0.0f);
}

TEST(InputDistribution, LettersReachTheVehicleEvenUnderCameraControl) {
    ControllerSettings s;
    sim::ControlRecord vehicle, camera;
    int pending = 'B';
    distributeControls(reading(), s, true, pending, vehicle, camera);
    EXPECT_EQ(vehicle.command, 7);
    EXPECT_EQ(camera.command, 0);
    EXPECT_EQ(pending, kKeyNone);
    // The next frame carries no command; other keys stay for the scene.
    pending = 'T';
    distributeControls(reading(), s, false, pending, vehicle, camera);
    EXPECT_EQ(vehicle.command, 0);
    EXPECT_EQ(pending, 'T');
}

/// Device samples played back one per frame.
struct ScriptedDevices : DeviceSource {
    std::deque<DeviceState> frames;
    void sample(DeviceState& d) override {
        if (!frames.empty()) {
            d = frames.front();
            frames.pop_front();
        }
    }
};

TEST(InputPort, DeviceControlsFillBothRecordsFromTheSource) {
    ScriptedDevices source;
    DeviceState press;
    press.windowWidth = 400.0f;
    press.windowHeight = 300.0f;
    press.cursorX = 300.0f;
    press.cursorY = 150.0f;
    press.event = {InputEventKind::KeyDown, 'R'};
    press.ctrlDown = true;
    source.frames.push_back(press);
    DeviceState f12 = press;
    f12.event = {InputEventKind::KeyDown, kKeyF12};
    f12.ctrlDown = false;
    source.frames.push_back(f12);

    ControllerSettings settings;
    settings.deadzone = 0.0f;
    DeviceControls controls(source, settings);
    controls.begin();
    sim::CameraRecord camera;
    sim::ControlRecord vehicle, cameraControls;
    controls.readControls(camera, vehicle, cameraControls);
    EXPECT_EQ(vehicle.command, 13);
    EXPECT_EQ(vehicle.buttonA, 1);
    EXPECT_FLOAT_EQ(vehicle.stickX, 0.5f);
    EXPECT_EQ(cameraControls.stickX, 0.0f);

    camera.cameraControl = 1;
    controls.readControls(camera, vehicle, cameraControls);
    EXPECT_EQ(vehicle.command, 0);
    EXPECT_EQ(vehicle.stickX, 0.0f);
    EXPECT_FLOAT_EQ(cameraControls.stickX, 0.5f);
    EXPECT_EQ(controls.state().pendingKey, kKeyF12);
}

} // namespace
} // namespace kv::app
