#pragma once
/// A gamepad (Xbox or PlayStation layout, as SDL's game-controller mapping
/// names its parts) read as the two-axis controller: for cars and motorcycles
/// the left stick steers and the triggers are throttle (right) and brake
/// (left), combined into the stick's forward axis; for aircraft and
/// helicopters the left stick pitches and rolls. Face buttons A and B are
/// buttons A and B; Start, Back and the shoulder buttons press keys.

#include "app/input/input_keys.h"

namespace kv::app {

/// One frame's sample of the pad, in the mapping's terms.
struct GamepadState {
    bool connected = false;    ///< a pad answered this frame
    float leftX = 0.0f;        ///< left stick, -1..1, positive right
    float leftY = 0.0f;        ///< left stick, -1..1, positive toward the user (pulled back)
    float leftTrigger = 0.0f;  ///< 0..1
    float rightTrigger = 0.0f; ///< 0..1
    bool a = false;
    bool b = false;
    bool start = false;
    bool back = false;
    bool leftShoulder = false;
    bool rightShoulder = false;
};

/// The pad's buttons that press keys, as they were at the previous read.
struct GamepadKeyButtons {
    bool start = false;
    bool back = false;
    bool leftShoulder = false;
    bool rightShoulder = false;
};

/// Keys the pad's buttons press: Start pauses, Back ends the run, the shoulder
/// buttons choose the two camera modes most used.
inline constexpr int kGamepadStartKey = 'P';
inline constexpr int kGamepadBackKey = kKeyEscape;
inline constexpr int kGamepadLeftShoulderKey = kKeyF4;
inline constexpr int kGamepadRightShoulderKey = kKeyF5;

/// The stick axes before dead zone and sensitivity (-1..1 each); a pad that
/// is not connected reads as centred.
void gamepadAxes(const GamepadState& pad, bool groundVehicle, float& x, float& y);

/// The key a button pressed since the previous read gives (kKeyNone when
/// none), remembering this read's buttons in `previous`. Back wins over
/// Start, Start over the shoulders. A pad that is not connected presses
/// nothing and releases every button.
int gamepadKeyPress(const GamepadState& pad, GamepadKeyButtons& previous);

} // namespace kv::app
