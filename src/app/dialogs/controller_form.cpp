#include "app/dialogs/controller_form.h"

namespace kv::app {

std::string gamepadStatusText(const std::string& gamepadName) {
    return gamepadName.empty() ? std::string("No gamepad found") : "Gamepad: " + gamepadName;
}

bool acceptControllerForm(const ControllerDialogEntries& form, const JoystickProbe& joystick,
                          Preferences& prefs, MessagePort& messages) {
    const bool answers = form.device == ControllerDevice::Joystick && joystick && joystick();
    Preferences edited = prefs;
    if (!applyControllerDialog(form, answers, edited, messages))
        return false;
    prefs = edited;
    return true;
}

} // namespace kv::app
