#include "app/dialogs/controller_form.h"

namespace kv::app {

bool acceptControllerForm(const ControllerDialogEntries& form, const JoystickProbe& joystick,
                          Preferences& prefs, MessagePort& messages) {
    const bool answers = form.joystick && joystick && joystick();
    Preferences edited = prefs;
    if (!applyControllerDialog(form, answers, edited, messages))
        return false;
    prefs = edited;
    return true;
}

} // namespace kv::app
