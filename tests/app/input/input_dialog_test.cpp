#include "app/input/input_dialog.h"
#include "common/message_wrap.h"
#include "support/fake_ports.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(InputDialog, StoresTheSettingsAndRefusesAMissingJoystick) {
    Preferences prefs;
    test::RecordingMessages messages;
    ControllerDialogEntries e = controllerEntriesFrom(prefs);
    EXPECT_FLOAT_EQ(e.deadzonePercent, 3.0f);
    e.cameraReverseUpDown = true;
    e.sensitivityPercent = 250.0f;
    e.deadzonePercent = 10.0f;
    e.device = ControllerDevice::Joystick;
    EXPECT_FALSE(applyControllerDialog(e, false, prefs, messages));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], wrapMessageText(kJoystickMissingMessage));
    EXPECT_EQ(prefs.controllerCentring, 0);
    EXPECT_EQ(prefs.cameraReverseUpDown, 1); // stored before the refusal
    EXPECT_FLOAT_EQ(prefs.sensitivity, 2.0f);
    EXPECT_FLOAT_EQ(prefs.deadzone, 0.1f);

    EXPECT_TRUE(applyControllerDialog(e, true, prefs, messages));
    EXPECT_EQ(prefs.controllerCentring, 1);
    e.device = ControllerDevice::Mouse;
    EXPECT_TRUE(applyControllerDialog(e, false, prefs, messages));
    EXPECT_EQ(prefs.controllerCentring, 0);
    // The keyboard and the gamepad need nothing to answer now (a pad may be
    // plugged in before the next run).
    e.device = ControllerDevice::Keyboard;
    EXPECT_TRUE(applyControllerDialog(e, false, prefs, messages));
    EXPECT_EQ(prefs.controllerCentring, 2);
    EXPECT_EQ(controllerEntriesFrom(prefs).device, ControllerDevice::Keyboard);
    e.device = ControllerDevice::Gamepad;
    EXPECT_TRUE(applyControllerDialog(e, false, prefs, messages));
    EXPECT_EQ(prefs.controllerCentring, 3);
    EXPECT_EQ(controllerEntriesFrom(prefs).device, ControllerDevice::Gamepad);
    EXPECT_EQ(messages.messages.size(), 1u);
}

} // namespace
} // namespace kv::app
