#include "app/commands/commands.h"
#include "app/input/run_prompt.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(RunPrompt, NamesTheKeysOfTheChosenDevice) {
    const struct {
        ControllerDevice device;
        bool ground;
        std::string_view prompt;
    } cases[] = {
        {ControllerDevice::Mouse, true, kRunPrompt},
        {ControllerDevice::Mouse, false, kRunPrompt},
        {ControllerDevice::Joystick, true, "Joystick steers; ESC ends the run; P pauses"},
        {ControllerDevice::Keyboard, true,
         "Up throttle, Down brake, Left/Right steer; ESC ends the run; P pauses"},
        {ControllerDevice::Keyboard, false,
         "Up/Down pitch, Left/Right roll; ESC ends the run; P pauses"},
        {ControllerDevice::Gamepad, true,
         "Right trigger throttle, left trigger brake, left stick steers; Back ends the run; "
         "Start pauses"},
        {ControllerDevice::Gamepad, false,
         "Left stick pitches and rolls; Back ends the run; Start pauses"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runPrompt(c.device, c.ground), c.prompt)
            << static_cast<int>(c.device) << " " << c.ground;
}

} // namespace
} // namespace kv::app
