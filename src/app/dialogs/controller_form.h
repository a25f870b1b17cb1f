#pragma once
/// The "Controller" dialog: reverse switches, sensitivity and dead zone, and
/// the centring choice. OK refuses the joystick centring when no joystick
/// answers, and then changes nothing.

#include "app/dialogs/dialog_entry.h"
#include "app/input/input_dialog.h"
#include "common/ports/messages.h"

#include <functional>
#include <string>

namespace kv::app {

/// Port: whether the first joystick answers a position query now.
using JoystickProbe = std::function<bool()>;

/// Port: SDL's name of the first gamepad connected now, empty when none is.
using GamepadProbe = std::function<std::string()>;

/// The line under the device choice that says which gamepad a run would take.
std::string gamepadStatusText(const std::string& gamepadName);

inline constexpr SliderRange kSensitivitySlider{0, 200};
inline constexpr SliderRange kDeadzoneSlider{0, 100};
inline constexpr const char* kControllerNote =
    "Note: Decreasing the sensitivity reduces the maximum travel.";

/// OK: stores the four switches, sensitivity and dead zone (percent x 0.01)
/// and the centring into `prefs`. The joystick is asked only when its
/// centring is chosen; when it does not answer, the message is shown, false
/// returned and `prefs` left as it was (the dialog stays open).
bool acceptControllerForm(const ControllerDialogEntries& form, const JoystickProbe& joystick,
                          Preferences& prefs, MessagePort& messages);

} // namespace kv::app
