#include "app/input/input_device.h"

#include "app/input/keyboard_stick.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

ControllerSettings controllerSettingsFrom(const Preferences& p, bool groundVehicle) {
    ControllerSettings s;
    s.vehicleReverseUpDown = p.vehicleReverseUpDown != 0;
    s.vehicleReverseLeftRight = p.vehicleReverseLeftRight != 0;
    s.cameraReverseUpDown = p.cameraReverseUpDown != 0;
    s.cameraReverseLeftRight = p.cameraReverseLeftRight != 0;
    s.sensitivity = std::clamp(p.sensitivity, 0.0f, 2.0f);
    s.deadzone = std::clamp(p.deadzone, 0.0f, 1.0f);
    s.device = controllerDeviceFromField(p.controllerCentring);
    s.framePeriod = p.framePeriod;
    s.groundVehicle = groundVehicle;
    return s;
}

void BeginInput(InputState& state) {
    state.leftButton = false;
    state.rightButton = false;
    // A joystick reading of an earlier run must not steer this one.
    state.lastJoystickX = 0.5f;
    state.lastJoystickY = 0.5f;
    state.keyboardX = 0.0f;
    state.keyboardY = 0.0f;
    state.gamepadButtons = GamepadKeyButtons{};
    state.cursor = DirectionCursor::Both;
}

float applyDeadzone(float v, float z) {
    const float mag = std::fabs(v);
    if (mag < z || 1.0f - z <= 0.0f)
        return 0.0f;
    const float out = (mag - z) / (1.0f - z);
    return v < 0.0f ? -out : out;
}

float applySensitivity(float v, float s) {
    return std::clamp(s * v, -1.0f, 1.0f);
}

DirectionCursor cursorFor(float x, float y) {
    if (x == 0.0f && y == 0.0f)
        return DirectionCursor::None;
    if (x == 0.0f)
        return DirectionCursor::Vertical;
    if (y == 0.0f)
        return DirectionCursor::Horizontal;
    return DirectionCursor::Both;
}

namespace {

void takeEvent(const InputEvent& e, InputState& st) {
    switch (e.kind) {
    case InputEventKind::KeyDown:
        st.pendingKey = e.key;
        break;
    case InputEventKind::KeyUp:
        st.pendingKey = kKeyNone;
        break;
    case InputEventKind::LeftDown:
        st.leftButton = true;
        break;
    case InputEventKind::LeftUp:
        st.leftButton = false;
        break;
    case InputEventKind::RightDown:
        st.rightButton = true;
        break;
    case InputEventKind::RightUp:
        st.rightButton = false;
        break;
    case InputEventKind::None:
        break;
    }
}

/// Raw axis to 0..1 of its range; a degenerate range reads as centred.
float unitAxis(float raw, float lo, float hi) {
    if (!(hi > lo))
        return 0.5f;
    return std::clamp((raw - lo) / (hi - lo), 0.0f, 1.0f);
}

/// Cursor coordinate to -1..1 of the client extent; a window with no client
/// extent reads as centred.
float mouseAxis(float pos, float outer, float allowance) {
    const float extent = outer - allowance;
    if (!(extent > 0.0f))
        return 0.0f;
    return 2.0f * pos / extent - 1.0f;
}

bool down(const DeviceState& d, int key) {
    return key >= 0 && key < kKeyCodeLimit && d.keysDown.test(static_cast<std::size_t>(key));
}

/// Mouse or joystick: the position with dead zone and sensitivity, then the
/// arrow keys' nudge by the dead zone when the stick rests.
void readPointer(const DeviceState& d, const ControllerSettings& s, InputState& st,
                 StickReading& r) {
    float x = 0.0f, y = 0.0f;
    if (s.joystick()) {
        if (d.joystickValid) {
            st.lastJoystickX = unitAxis(d.joystickX, d.joystickXMin, d.joystickXMax);
            st.lastJoystickY = unitAxis(d.joystickY, d.joystickYMin, d.joystickYMax);
        }
        r.screenX = st.lastJoystickX;
        r.screenY = st.lastJoystickY;
        x = 2.0f * st.lastJoystickX - 1.0f;
        y = 2.0f * st.lastJoystickY - 1.0f;
        if (d.joystickValid && d.joystickButton1)
            r.buttonA = 1;
        if (d.joystickValid && d.joystickButton2)
            r.buttonB = 1;
    } else {
        x = mouseAxis(d.cursorX, d.windowWidth, d.frameWidthAllowance);
        y = mouseAxis(d.cursorY, d.windowHeight, d.frameHeightAllowance);
    }
    const float z = std::clamp(s.deadzone, 0.0f, 1.0f);
    x = applySensitivity(applyDeadzone(x, z), s.sensitivity);
    y = applySensitivity(applyDeadzone(y, z), s.sensitivity);
    st.cursor = cursorFor(x, y);

    if (x == 0.0f && y == 0.0f) {
        if (down(d, kKeyLeft) || down(d, kKeyPad4))
            x = -z;
        else if (down(d, kKeyRight) || down(d, kKeyPad6))
            x = z;
        else if (down(d, kKeyUp) || down(d, kKeyPad8))
            y = -z;
        else if (down(d, kKeyDown) || down(d, kKeyPad2))
            y = z;
    }
    r.x = x;
    r.y = y;
}

/// Keyboard: each axis's hand moved one frame toward its keys, then sensitivity.
void readKeyboard(const DeviceState& d, const ControllerSettings& s, InputState& st,
                  StickReading& r) {
    const int targetX = keyAxisTarget(down(d, kKeyLeft) || down(d, kKeyPad4),
                                      down(d, kKeyRight) || down(d, kKeyPad6));
    const int targetY =
        keyAxisTarget(down(d, kKeyUp) || down(d, kKeyPad8), down(d, kKeyDown) || down(d, kKeyPad2));
    st.keyboardX = rampKeyAxis(st.keyboardX, targetX, s.framePeriod);
    st.keyboardY = rampKeyAxis(st.keyboardY, targetY, s.framePeriod);
    r.x = applySensitivity(st.keyboardX, s.sensitivity);
    r.y = applySensitivity(st.keyboardY, s.sensitivity);
    st.cursor = cursorFor(r.x, r.y);
}

/// Gamepad: the mapped axes with dead zone and sensitivity, its face buttons,
/// and a key button pressed since the last read as the pending key.
void readGamepad(const DeviceState& d, const ControllerSettings& s, InputState& st,
                 StickReading& r) {
    float x = 0.0f, y = 0.0f;
    gamepadAxes(d.gamepad, s.groundVehicle, x, y);
    const float z = std::clamp(s.deadzone, 0.0f, 1.0f);
    r.x = applySensitivity(applyDeadzone(x, z), s.sensitivity);
    r.y = applySensitivity(applyDeadzone(y, z), s.sensitivity);
    st.cursor = cursorFor(r.x, r.y);
    if (d.gamepad.connected && d.gamepad.a)
        r.buttonA = 1;
    if (d.gamepad.connected && d.gamepad.b)
        r.buttonB = 1;
    const int key = gamepadKeyPress(d.gamepad, st.gamepadButtons);
    if (key != kKeyNone) {
        st.pendingKey = key;
        st.alt = false;
    }
}

} // namespace

StickReading ReadDevices(const DeviceState& d, const ControllerSettings& s, InputState& st) {
    StickReading r;
    takeEvent(d.event, st);
    st.alt = d.altDown;
    r.buttonA = (st.leftButton || (d.ctrlDown && !d.altDown)) ? 1 : 0;
    r.buttonB = (st.rightButton || (d.ctrlDown && d.altDown)) ? 1 : 0;
    switch (s.device) {
    case ControllerDevice::Keyboard:
        readKeyboard(d, s, st, r);
        break;
    case ControllerDevice::Gamepad:
        readGamepad(d, s, st, r);
        break;
    case ControllerDevice::Mouse:
    case ControllerDevice::Joystick:
        readPointer(d, s, st, r);
        break;
    }
    return r;
}

} // namespace kv::app
