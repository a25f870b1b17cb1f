#include "app/input/controller_device.h"

namespace kv::app {

ControllerDevice controllerDeviceFromField(std::int32_t field) {
    switch (field) {
    case 0:
        return ControllerDevice::Mouse;
    case 2:
        return ControllerDevice::Keyboard;
    case 3:
        return ControllerDevice::Gamepad;
    default:
        return ControllerDevice::Joystick;
    }
}

std::int32_t controllerDeviceField(ControllerDevice device) {
    return static_cast<std::int32_t>(device);
}

ControllerDevice freshInstallDevice(bool gamepadConnected, bool joystickConnected) {
    if (gamepadConnected)
        return ControllerDevice::Gamepad;
    if (joystickConnected)
        return ControllerDevice::Joystick;
    return ControllerDevice::Keyboard;
}

} // namespace kv::app
