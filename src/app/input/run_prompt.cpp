#include "app/input/run_prompt.h"

#include "app/commands/commands.h"

namespace kv::app {

std::string_view runPrompt(ControllerDevice device, bool groundVehicle) {
    switch (device) {
    case ControllerDevice::Keyboard:
        return groundVehicle ? "Up throttle, Down brake, Left/Right steer; ESC ends the run; "
                               "P pauses"
                             : "Up/Down pitch, Left/Right roll; ESC ends the run; P pauses";
    case ControllerDevice::Gamepad:
        return groundVehicle ? "Right trigger throttle, left trigger brake, left stick steers; "
                               "Back ends the run; Start pauses"
                             : "Left stick pitches and rolls; Back ends the run; Start pauses";
    case ControllerDevice::Joystick:
        return "Joystick steers; ESC ends the run; P pauses";
    case ControllerDevice::Mouse:
        break;
    }
    return kRunPrompt;
}

} // namespace kv::app
