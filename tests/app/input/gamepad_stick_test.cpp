// The Gamepad controller choice: pad states read through the controls port
// into the vehicle's control record, for ground vehicles and for aircraft.
#include "app/input/gamepad_stick.h"
#include "app/input/input_controls.h"
#include "app/input/input_script.h"

#include <gtest/gtest.h>
#include <vector>

namespace kv::app {
namespace {

struct PadCase {
    const char* name;
    GamepadState pad;
    bool ground;
    sim::ControlRecord expected; ///< command, A, B, stick x, stick y
};

GamepadState pad(float lx, float ly, float lt, float rt, bool a = false, bool b = false) {
    GamepadState p;
    p.connected = true;
    p.leftX = lx;
    p.leftY = ly;
    p.leftTrigger = lt;
    p.rightTrigger = rt;
    p.a = a;
    p.b = b;
    return p;
}

ControllerSettings gamepadFor(bool ground) {
    ControllerSettings s;
    s.device = ControllerDevice::Gamepad;
    s.deadzone = 0.0f;
    s.groundVehicle = ground;
    return s;
}

sim::ControlRecord readOnce(const GamepadState& p, const ControllerSettings& s) {
    DeviceState d;
    d.gamepad = p;
    // The joystick part says something else: the pad's mapping must win.
    d.joystickValid = true;
    d.joystickX = 1.0f;
    d.joystickButton1 = true;
    ScriptedDeviceSource source({d});
    DeviceControls controls(source, s);
    controls.begin();
    sim::CameraRecord camera;
    sim::ControlRecord vehicle, cameraControls;
    controls.readControls(camera, vehicle, cameraControls);
    return vehicle;
}

TEST(GamepadStick, PadStatesGiveTheControlRecordForBothVehicleKinds) {
    const PadCase cases[] = {
        // Cars and motorcycles: left stick x steers, right trigger throttle
        // (stick forward), left trigger brake (stick back); left stick y unused.
        {"resting", pad(0, 0, 0, 0), true, {0, 0, 0, 0.0f, 0.0f}},
        {"full throttle", pad(0, 0.7f, 0, 1), true, {0, 0, 0, 0.0f, -1.0f}},
        {"half brake, steering left", pad(-0.5f, 0, 0.5f, 0), true, {0, 0, 0, -0.5f, 0.5f}},
        {"both triggers", pad(0.25f, 0, 0.75f, 0.5f), true, {0, 0, 0, 0.25f, 0.25f}},
        {"A and B", pad(0, 0, 0, 0, true, true), true, {0, 1, 1, 0.0f, 0.0f}},
        // Aircraft and helicopters: the left stick pitches and rolls; the
        // triggers do not move the stick.
        {"stick pushed forward", pad(0, -0.6f, 0, 1), false, {0, 0, 0, 0.0f, -0.6f}},
        {"pulled back, rolled right", pad(0.3f, 1, 1, 0), false, {0, 0, 0, 0.3f, 1.0f}},
        {"B only", pad(0, 0, 0, 0, false, true), false, {0, 0, 1, 0.0f, 0.0f}},
        // Out of range or garbage from a driver is held within the axes.
        {"beyond full", pad(3.0f, -2.0f, 0, 0), false, {0, 0, 0, 1.0f, -1.0f}},
    };
    for (const PadCase& c : cases) {
        const sim::ControlRecord r = readOnce(c.pad, gamepadFor(c.ground));
        EXPECT_EQ(r.buttonA, c.expected.buttonA) << c.name;
        EXPECT_EQ(r.buttonB, c.expected.buttonB) << c.name;
        EXPECT_NEAR(r.stickX, c.expected.stickX, 1e-6f) << c.name;
        EXPECT_NEAR(r.stickY, c.expected.stickY, 1e-6f) << c.name;
        EXPECT_EQ(r.command, 0) << c.name;
    }
}

TEST(GamepadStick, DeadZoneSensitivityAndReverseApply) {
    ControllerSettings s = gamepadFor(true);
    s.deadzone = 0.1f;
    s.sensitivity = 2.0f;
    s.vehicleReverseLeftRight = true;
    const sim::ControlRecord r = readOnce(pad(0.05f, 0, 0, 0.55f), s);
    EXPECT_EQ(r.stickX, 0.0f);           // inside the dead zone
    EXPECT_NEAR(r.stickY, -1.0f, 1e-6f); // (0.55 - 0.1) / 0.9 = 0.5, doubled
    const sim::ControlRecord right = readOnce(pad(0.55f, 0, 0, 0), s);
    EXPECT_NEAR(right.stickX, -1.0f, 1e-6f);
}

TEST(GamepadStick, ADisconnectedPadReadsAsCentred) {
    GamepadState gone = pad(1, 1, 1, 1, true, true);
    gone.connected = false;
    for (bool ground : {true, false}) {
        const sim::ControlRecord r = readOnce(gone, gamepadFor(ground));
        EXPECT_EQ(r.stickX, 0.0f);
        EXPECT_EQ(r.stickY, 0.0f);
        EXPECT_EQ(r.buttonA, 0);
        EXPECT_EQ(r.buttonB, 0);
    }
}

TEST(GamepadStick, StartBackAndShouldersPressTheirKeysOncePerPress) {
    // Frame by frame: the button states and the key the scene receives.
    struct Step {
        bool start, back, lb, rb, connected;
        int key;
    };
    const Step steps[] = {
        {false, false, false, false, true, kKeyNone},
        {true, false, false, false, true, 'P'},
        {true, false, false, false, true, kKeyNone}, // held: no repeat
        {false, false, true, false, true, kKeyF4},
        {false, false, true, true, true, kKeyF5},
        {false, true, false, false, true, kKeyEscape},
        {false, true, false, false, false, kKeyNone},  // unplugged
        {false, true, false, false, true, kKeyEscape}, // plugged in again, held
    };
    std::vector<DeviceState> script;
    for (const Step& st : steps) {
        DeviceState d;
        d.gamepad.connected = st.connected;
        d.gamepad.start = st.start;
        d.gamepad.back = st.back;
        d.gamepad.leftShoulder = st.lb;
        d.gamepad.rightShoulder = st.rb;
        script.push_back(d);
    }
    ScriptedDeviceSource source(script);
    DeviceControls controls(source, gamepadFor(true));
    controls.begin();
    for (std::size_t k = 0; k < std::size(steps); ++k) {
        sim::CameraRecord camera;
        sim::ControlRecord vehicle, cameraControls;
        controls.readControls(camera, vehicle, cameraControls);
        EXPECT_EQ(controls.state().pendingKey, steps[k].key) << "frame " << k;
        EXPECT_EQ(vehicle.command, 0);
        controls.state().pendingKey = kKeyNone; // the scene takes it
    }
}

} // namespace
} // namespace kv::app
