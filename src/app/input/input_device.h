#pragma once
/// Controller input, device-independent: the device state the desktop fills
/// from Qt and SDL2 (or the command-line tool from a control script), and the
/// reading of it into stick values and buttons.

#include "app/input/controller_device.h"
#include "app/input/gamepad_stick.h"
#include "app/input/input_keys.h"
#include "app/settings/preferences.h"

#include <bitset>

namespace kv::app {

struct ControllerSettings {
    bool vehicleReverseUpDown = false;
    bool vehicleReverseLeftRight = false;
    bool cameraReverseUpDown = false;
    bool cameraReverseLeftRight = false;
    float sensitivity = 1.0f;                          ///< gain s, 0..2
    float deadzone = 0.03f;                            ///< z, fraction of full travel, 0..1
    ControllerDevice device = ControllerDevice::Mouse; ///< what drives the stick
    /// The run's frame period (s): the keyboard's hand moves by it at every read.
    float framePeriod = 1.0f / 12.0f;
    /// Car or motorcycle (the gamepad's triggers are throttle and brake) rather
    /// than aircraft or helicopter (its left stick pitches).
    bool groundVehicle = true;

    /// Joystick 0 drives the stick (the system cursor mirrors it).
    bool joystick() const { return device == ControllerDevice::Joystick; }
};

/// The controller preferences; `groundVehicle` names the simulated object's kind.
ControllerSettings controllerSettingsFrom(const Preferences& prefs, bool groundVehicle = true);

/// The one window event taken per frame.
enum class InputEventKind { None, KeyDown, KeyUp, LeftDown, LeftUp, RightDown, RightUp };

struct InputEvent {
    InputEventKind kind = InputEventKind::None;
    int key = kKeyNone; ///< key code of a key event
};

/// The devices as sampled for one frame.
struct DeviceState {
    InputEvent event;                    ///< at most one pending window event
    bool altDown = false;                ///< Alt is down now
    bool ctrlDown = false;               ///< Ctrl is down now
    std::bitset<kKeyCodeLimit> keysDown; ///< keys down now (arrows, numeric pad)

    // Joystick 0, used when the joystick flag is on.
    bool joystickValid = false; ///< the read succeeded
    float joystickX = 0.0f;     ///< raw axis value
    float joystickY = 0.0f;
    float joystickXMin = 0.0f, joystickXMax = 1.0f;
    float joystickYMin = 0.0f, joystickYMax = 1.0f;
    bool joystickButton1 = false;
    bool joystickButton2 = false;

    /// The gamepad, used with the Gamepad choice.
    GamepadState gamepad;

    // Mouse, used when the joystick flag is off (pixels).
    float cursorX = 0.0f; ///< cursor in client coordinates of the camera frame window
    float cursorY = 0.0f;
    float windowWidth = 0.0f; ///< outer size of the camera frame window, taken at BeginInput
    float windowHeight = 0.0f;
    float frameWidthAllowance = 0.0f;  ///< non-client border width of a child frame
    float frameHeightAllowance = 0.0f; ///< non-client border height of a child frame
};

/// The direction cursor shown over the camera window.
enum class DirectionCursor { None, Vertical, Horizontal, Both };

/// Input state kept between reads.
struct InputState {
    bool leftButton = false;
    bool rightButton = false;
    int pendingKey = kKeyNone; ///< key waiting for the vehicle or the scene
    bool alt = false;          ///< Alt state of the last read
    /// Last good joystick reading, 0..1 of each axis range; centred until the
    /// joystick first answers, so a missing joystick leaves the stick at rest.
    float lastJoystickX = 0.5f;
    float lastJoystickY = 0.5f;
    DirectionCursor cursor = DirectionCursor::None;
    /// Where the keyboard's hand holds each axis (-1..1), before sensitivity.
    float keyboardX = 0.0f;
    float keyboardY = 0.0f;
    /// The gamepad's key buttons at the previous read (a press acts once).
    GamepadKeyButtons gamepadButtons;
};

/// One frame's controller reading.
struct StickReading {
    int buttonA = 0;
    int buttonB = 0;
    float x = 0.0f; ///< -1..1, positive right
    float y = 0.0f; ///< -1..1, positive toward the user
    /// Where the joystick mirrors the system cursor, 0..1 of the screen; only
    /// meaningful with the joystick.
    float screenX = 0.0f;
    float screenY = 0.0f;
};

/// Starts a read session: both mouse buttons up, the keyboard's hand centred,
/// arrow cursor "both".
void BeginInput(InputState& state);

/// Dead zone z: inside it the value is 0, outside it the rest is stretched to
/// full travel. A dead zone of 1 or more leaves nothing outside it.
float applyDeadzone(float v, float deadzone);
/// Gain, then clamped to [-1, 1].
float applySensitivity(float v, float sensitivity);
DirectionCursor cursorFor(float x, float y);

/// The first half of a controller read: takes the frame's event, the buttons,
/// the axes of the chosen device (mouse and joystick with dead zone and
/// sensitivity, then the arrow keys' dead-zone nudge; the keyboard's ramped
/// hand with sensitivity; the gamepad with dead zone and sensitivity, its
/// button presses becoming the pending key) and the cursor.
StickReading ReadDevices(const DeviceState& devices, const ControllerSettings& settings,
                         InputState& state);

} // namespace kv::app
