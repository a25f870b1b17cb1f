#include "app/input/input_dialog.h"

#include "common/message_wrap.h"

#include <algorithm>

namespace kv::app {

ControllerDialogEntries controllerEntriesFrom(const Preferences& p) {
    ControllerDialogEntries e;
    e.vehicleReverseUpDown = p.vehicleReverseUpDown != 0;
    e.vehicleReverseLeftRight = p.vehicleReverseLeftRight != 0;
    e.cameraReverseUpDown = p.cameraReverseUpDown != 0;
    e.cameraReverseLeftRight = p.cameraReverseLeftRight != 0;
    e.sensitivityPercent = p.sensitivity * 100.0f;
    e.deadzonePercent = p.deadzone * 100.0f;
    e.device = controllerDeviceFromField(p.controllerCentring);
    return e;
}

bool applyControllerDialog(const ControllerDialogEntries& e, bool joystickAnswers, Preferences& p,
                           MessagePort& messages) {
    p.vehicleReverseUpDown = e.vehicleReverseUpDown ? 1 : 0;
    p.vehicleReverseLeftRight = e.vehicleReverseLeftRight ? 1 : 0;
    p.cameraReverseUpDown = e.cameraReverseUpDown ? 1 : 0;
    p.cameraReverseLeftRight = e.cameraReverseLeftRight ? 1 : 0;
    p.sensitivity = std::clamp(e.sensitivityPercent, 0.0f, 200.0f) / 100.0f;
    p.deadzone = std::clamp(e.deadzonePercent, 0.0f, 100.0f) / 100.0f;
    if (e.device != ControllerDevice::Joystick) {
        p.controllerCentring = controllerDeviceField(e.device);
        return true;
    }
    if (!joystickAnswers) {
        showWrappedMessage(messages, kJoystickMissingMessage);
        return false;
    }
    p.controllerCentring = controllerDeviceField(ControllerDevice::Joystick);
    return true;
}

} // namespace kv::app
