#pragma once
/// OK of the Controller dialog: storing the entries into the preferences and
/// refusing the joystick when none answers.

#include "app/settings/preferences.h"
#include "common/ports/messages.h"

namespace kv::app {

inline constexpr const char* kJoystickMissingMessage =
    "The joystick could not be found. Please ensure that the driver is loaded and the "
    "joystick is plugged in.";

struct ControllerDialogEntries {
    bool vehicleReverseUpDown = false;
    bool vehicleReverseLeftRight = false;
    bool cameraReverseUpDown = false;
    bool cameraReverseLeftRight = false;
    float sensitivityPercent = 100.0f; ///< "Sensitivity (%)", 0-200
    float deadzonePercent = 3.0f;      ///< "Deadzone (%)", 0-100
    bool joystick = false;             ///< "Center on Full Screen (Joystick)" chosen
};

/// The entries as the dialog shows them, from the preferences.
ControllerDialogEntries controllerEntriesFrom(const Preferences& prefs);

/// Stores the reverse flags, sensitivity and dead zone, then the device
/// choice. Returns false (the dialog stays open, the other settings already
/// stored) when the joystick is chosen and `joystickAnswers` is false; the
/// message is then shown.
bool applyControllerDialog(const ControllerDialogEntries& entries, bool joystickAnswers,
                           Preferences& prefs, MessagePort& messages);

} // namespace kv::app
