#pragma once
/// Which device drives the vehicle and the camera, and how the choice is kept
/// in the preference record's centring field (offset 40) so that files of every
/// version read the same: 0 and 1 keep their meaning (mouse over the camera
/// window, joystick over the full screen), 2 is the keyboard and 3 a gamepad.
/// A value outside 0..3 reads as the joystick, as any non-zero value always did.

#include <cstdint>

namespace kv::app {

enum class ControllerDevice : std::int32_t {
    Mouse = 0,    ///< the cursor over the camera view
    Joystick = 1, ///< joystick 0, raw axes, the cursor mirrored across the screen
    Keyboard = 2, ///< arrow keys ramped like a driver's hand
    Gamepad = 3,  ///< a pad through SDL's game-controller mapping
};

/// The device a stored centring field names.
ControllerDevice controllerDeviceFromField(std::int32_t field);
/// The centring field that stores `device`.
std::int32_t controllerDeviceField(ControllerDevice device);

/// What a fresh install (no preference file yet) chooses: a gamepad when one
/// is connected, else a joystick when one answers, else the keyboard.
ControllerDevice freshInstallDevice(bool gamepadConnected, bool joystickConnected);

} // namespace kv::app
