#pragma once
/// OK of the Controller dialog: storing the entries into the preferences and
/// refusing the joystick when none answers.

#include "app/input/controller_device.h"
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
    /// The device chosen: "Center on Camera Window (Mouse)", "Center on Full
    /// Screen (Joystick)", "Keyboard (Arrow Keys)" or "Gamepad".
    ControllerDevice device = ControllerDevice::Mouse;
};

/// The entries as the dialog shows them, from the preferences.
ControllerDialogEntries controllerEntriesFrom(const Preferences& prefs);

/// Stores the reverse flags, sensitivity and dead zone, then the device
/// choice (the keyboard and a gamepad are taken as chosen: a pad plugged in
/// later is found by the next run). Returns false (the dialog stays open, the other settings
/// already stored) when the joystick is chosen and `joystickAnswers` is false; the message is then
/// shown.
bool applyControllerDialog(const ControllerDialogEntries& entries, bool joystickAnswers,
                           Preferences& prefs, MessagePort& messages);

} // namespace kv::app
