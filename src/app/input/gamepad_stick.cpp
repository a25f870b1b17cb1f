#include "app/input/gamepad_stick.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

namespace {

float bounded(float v, float lo, float hi) {
    return std::isfinite(v) ? std::clamp(v, lo, hi) : 0.0f;
}

} // namespace

void gamepadAxes(const GamepadState& pad, bool groundVehicle, float& x, float& y) {
    x = 0.0f;
    y = 0.0f;
    if (!pad.connected)
        return;
    x = bounded(pad.leftX, -1.0f, 1.0f);
    if (groundVehicle)
        // Throttle pushes the stick forward (negative y), the brake pulls it back.
        y = bounded(pad.leftTrigger, 0.0f, 1.0f) - bounded(pad.rightTrigger, 0.0f, 1.0f);
    else
        y = bounded(pad.leftY, -1.0f, 1.0f);
}

int gamepadKeyPress(const GamepadState& pad, GamepadKeyButtons& previous) {
    if (!pad.connected) {
        previous = GamepadKeyButtons{};
        return kKeyNone;
    }
    const GamepadKeyButtons was = previous;
    previous = {pad.start, pad.back, pad.leftShoulder, pad.rightShoulder};
    if (pad.back && !was.back)
        return kGamepadBackKey;
    if (pad.start && !was.start)
        return kGamepadStartKey;
    if (pad.leftShoulder && !was.leftShoulder)
        return kGamepadLeftShoulderKey;
    if (pad.rightShoulder && !was.rightShoulder)
        return kGamepadRightShoulderKey;
    return kKeyNone;
}

} // namespace kv::app
