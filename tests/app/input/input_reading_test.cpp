#include "app/input/input_controls.h"
#include "app/input/input_device.h"
#include "app/input/input_script.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(InputReading, DeadzoneStretchesTheRestToFullTravel) {
    EXPECT_NEAR(applyDeadzone(0.55f, 0.1f), 0.5f, 1e-6f);
    EXPECT_NEAR(applyDeadzone(-0.55f, 0.1f), -0.5f, 1e-6f);
    EXPECT_EQ(applyDeadzone(0.09f, 0.1f), 0.0f);
    EXPECT_NEAR(applyDeadzone(1.0f, 0.1f), 1.0f, 1e-6f);
    EXPECT_EQ(applyDeadzone(0.3f, 0.0f), 0.3f);
    // A dead zone of the whole travel leaves nothing outside it (no division by zero).
    EXPECT_EQ(applyDeadzone(1.0f, 1.0f), 0.0f);
    EXPECT_EQ(applyDeadzone(-1.0f, 1.0f), 0.0f);
}

TEST(InputReading, SensitivityScalesAndClamps) {
    EXPECT_EQ(applySensitivity(0.6f, 2.0f), 1.0f);
    EXPECT_EQ(applySensitivity(-0.6f, 2.0f), -1.0f);
    EXPECT_NEAR(applySensitivity(0.4f, 2.0f), 0.8f, 1e-6f);
    EXPECT_NEAR(applySensitivity(0.4f, 0.5f), 0.2f, 1e-6f);
}

struct Reading : ::testing::Test {
    ControllerSettings settings;
    InputState state;
    DeviceState devices;

    Reading() {
        settings.deadzone = 0.1f;
        devices.windowWidth = 410.0f;
        devices.windowHeight = 330.0f;
        devices.frameWidthAllowance = 10.0f;
        devices.frameHeightAllowance = 30.0f;
        centre();
    }
    void centre() {
        devices.cursorX = 200.0f;
        devices.cursorY = 150.0f;
    }
    StickReading read() { return ReadDevices(devices, settings, state); }
};

TEST_F(Reading, MousePositionMapsToTheStickThroughTheClientExtent) {
    devices.cursorX = 400.0f; // right edge
    devices.cursorY = 0.0f;   // top edge
    StickReading r = read();
    EXPECT_FLOAT_EQ(r.x, 1.0f);
    EXPECT_FLOAT_EQ(r.y, -1.0f);
    EXPECT_EQ(state.cursor, DirectionCursor::Both);
    devices.cursorX = 310.0f; // 0.55 of the half width right of centre
    devices.cursorY = 150.0f;
    r = read();
    EXPECT_NEAR(r.x, 0.5f, 1e-5f);
    EXPECT_EQ(r.y, 0.0f);
    EXPECT_EQ(state.cursor, DirectionCursor::Horizontal);
    devices.cursorX = 200.0f;
    devices.cursorY = 300.0f;
    read();
    EXPECT_EQ(state.cursor, DirectionCursor::Vertical);
    centre();
    read();
    EXPECT_EQ(state.cursor, DirectionCursor::None);
    // A window with no client extent reads as centred, never as infinity.
    devices.windowWidth = 10.0f;
    EXPECT_EQ(read().x, 0.0f);
}

TEST_F(Reading, ArrowKeysGiveTheDeadzoneValueOnlyWhenCentred) {
    struct Case {
        int key;
        float x, y;
    };
    const Case cases[] = {{kKeyLeft, -0.1f, 0}, {kKeyPad4, -0.1f, 0}, {kKeyRight, 0.1f, 0},
                          {kKeyPad6, 0.1f, 0},  {kKeyUp, 0, -0.1f},   {kKeyPad8, 0, -0.1f},
                          {kKeyDown, 0, 0.1f},  {kKeyPad2, 0, 0.1f}};
    for (const Case& c : cases) {
        devices.keysDown.reset();
        devices.keysDown.set(static_cast<std::size_t>(c.key));
        const StickReading r = read();
        EXPECT_FLOAT_EQ(r.x, c.x) << c.key;
        EXPECT_FLOAT_EQ(r.y, c.y) << c.key;
    }
    // Left wins over Up when both are held.
    devices.keysDown.set(static_cast<std::size_t>(kKeyLeft));
    EXPECT_FLOAT_EQ(read().x, -0.1f);
    // Off-centre on either axis: the arrows are ignored.
    devices.cursorY = 300.0f;
    StickReading r = read();
    EXPECT_EQ(r.x, 0.0f);
    EXPECT_GT(r.y, 0.0f);
    // Dead zone 0: arrows give 0.
    centre();
    settings.deadzone = 0.0f;
    r = read();
    EXPECT_EQ(r.x, 0.0f);
    EXPECT_EQ(r.y, 0.0f);
}

TEST_F(Reading, CtrlAltAndMouseButtonsMakeAAndB) {
    devices.ctrlDown = true;
    StickReading r = read();
    EXPECT_EQ(r.buttonA, 1);
    EXPECT_EQ(r.buttonB, 0);
    devices.altDown = true;
    r = read();
    EXPECT_EQ(r.buttonA, 0);
    EXPECT_EQ(r.buttonB, 1);
    EXPECT_TRUE(state.alt);
    devices.ctrlDown = false;
    devices.altDown = false;
    devices.event = {InputEventKind::LeftDown, kKeyNone};
    r = read();
    EXPECT_EQ(r.buttonA, 1);
    devices.event = {};
    EXPECT_EQ(read().buttonA, 1); // held until its button-up
    devices.event = {InputEventKind::RightDown, kKeyNone};
    EXPECT_EQ(read().buttonB, 1);
    devices.event = {InputEventKind::LeftUp, kKeyNone};
    r = read();
    EXPECT_EQ(r.buttonA, 0);
    EXPECT_EQ(r.buttonB, 1);
    BeginInput(state);
    devices.event = {};
    EXPECT_EQ(read().buttonB, 0);
}

TEST_F(Reading, KeyEventsSetAndClearThePendingKey) {
    devices.event = {InputEventKind::KeyDown, 'Q'};
    read();
    EXPECT_EQ(state.pendingKey, 'Q');
    devices.event = {};
    read();
    EXPECT_EQ(state.pendingKey, 'Q');
    devices.event = {InputEventKind::KeyUp, 'Q'};
    read();
    EXPECT_EQ(state.pendingKey, kKeyNone);
}

TEST_F(Reading, JoystickRangeButtonsAndAFailedReadHoldingTheLastPosition) {
    settings.device = ControllerDevice::Joystick;
    settings.deadzone = 0.0f;
    devices.joystickValid = true;
    devices.joystickXMin = 0.0f;
    devices.joystickXMax = 65535.0f;
    devices.joystickYMin = 0.0f;
    devices.joystickYMax = 65535.0f;
    devices.joystickX = 65535.0f;
    devices.joystickY = 16383.75f;
    devices.joystickButton2 = true;
    StickReading r = read();
    EXPECT_FLOAT_EQ(r.x, 1.0f);
    EXPECT_FLOAT_EQ(r.y, -0.5f);
    EXPECT_FLOAT_EQ(r.screenX, 1.0f);
    EXPECT_EQ(r.buttonA, 0);
    EXPECT_EQ(r.buttonB, 1);
    devices.joystickValid = false;
    devices.joystickX = 1e9f;
    r = read();
    EXPECT_FLOAT_EQ(r.x, 1.0f);
    EXPECT_FLOAT_EQ(r.y, -0.5f);
    EXPECT_EQ(r.buttonB, 0);
    // A degenerate axis range reads as centred.
    devices.joystickValid = true;
    devices.joystickXMax = 0.0f;
    EXPECT_EQ(read().x, 0.0f);
}

TEST(InputReading, JoystickPreferenceWithoutAJoystickLeavesTheStickCentred) {
    // No joystick answers in any frame: the vehicle gets a centred stick,
    // not full deflection, in a first run and after a run that had one.
    ControllerSettings settings;
    settings.device = ControllerDevice::Joystick;
    settings.deadzone = 0.0f;
    DeviceState absent;
    absent.joystickValid = false;
    DeviceState full = absent;
    full.joystickValid = true;
    full.joystickXMax = 100.0f;
    full.joystickYMax = 100.0f;
    full.joystickX = 100.0f;
    full.joystickY = 0.0f;
    ScriptedDeviceSource firstRun({absent, absent, absent});
    DeviceControls controls(firstRun, settings);
    controls.begin();
    const sim::CameraRecord camera;
    for (int frame = 0; frame < 3; ++frame) {
        sim::ControlRecord vehicle, cameraControls;
        controls.readControls(camera, vehicle, cameraControls);
        EXPECT_EQ(vehicle.stickX, 0.0f) << frame;
        EXPECT_EQ(vehicle.stickY, 0.0f) << frame;
    }
    ScriptedDeviceSource secondRun({full, absent});
    DeviceControls again(secondRun, settings);
    again.begin();
    sim::ControlRecord vehicle, cameraControls;
    again.readControls(camera, vehicle, cameraControls);
    EXPECT_EQ(vehicle.stickX, 1.0f);
    again.begin();
    again.readControls(camera, vehicle, cameraControls);
    EXPECT_EQ(vehicle.stickX, 0.0f);
    EXPECT_EQ(vehicle.stickY, 0.0f);
}

TEST(InputReading, PreferencesGiveTheControllerSettings) {
    Preferences p;
    p.deadzone = 1.5f;
    p.sensitivity = 3.0f;
    p.controllerCentring = 1;
    p.cameraReverseUpDown = 1;
    p.framePeriod = 1.0f / 30.0f;
    const ControllerSettings s = controllerSettingsFrom(p, false);
    EXPECT_EQ(s.deadzone, 1.0f);
    EXPECT_EQ(s.sensitivity, 2.0f);
    EXPECT_TRUE(s.joystick());
    EXPECT_TRUE(s.cameraReverseUpDown);
    EXPECT_FALSE(s.vehicleReverseUpDown);
    EXPECT_EQ(s.framePeriod, 1.0f / 30.0f);
    EXPECT_FALSE(s.groundVehicle);
}

TEST(InputReading, TheCentringFieldNamesTheDeviceInFilesOfEveryVersion) {
    // 0 and 1 keep their meaning; 2 and 3 are the keyboard and the gamepad;
    // anything else is non-zero and so the joystick, as it always was.
    const struct {
        std::int32_t field;
        ControllerDevice device;
    } cases[] = {{0, ControllerDevice::Mouse},    {1, ControllerDevice::Joystick},
                 {2, ControllerDevice::Keyboard}, {3, ControllerDevice::Gamepad},
                 {4, ControllerDevice::Joystick}, {-1, ControllerDevice::Joystick}};
    for (const auto& c : cases) {
        Preferences p;
        p.controllerCentring = c.field;
        EXPECT_EQ(controllerSettingsFrom(p).device, c.device) << c.field;
        EXPECT_EQ(controllerDeviceFromField(c.field), c.device) << c.field;
    }
    for (ControllerDevice d : {ControllerDevice::Mouse, ControllerDevice::Joystick,
                               ControllerDevice::Keyboard, ControllerDevice::Gamepad})
        EXPECT_EQ(controllerDeviceFromField(controllerDeviceField(d)), d);
    // A fresh install takes what is plugged in, else the keyboard.
    EXPECT_EQ(freshInstallDevice(false, false), ControllerDevice::Keyboard);
    EXPECT_EQ(freshInstallDevice(false, true), ControllerDevice::Joystick);
    EXPECT_EQ(freshInstallDevice(true, true), ControllerDevice::Gamepad);
    EXPECT_EQ(freshInstallDevice(true, false), ControllerDevice::Gamepad);
}

} // namespace
} // namespace kv::app
