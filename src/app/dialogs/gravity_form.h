#pragma once
/// The "Gravity" dialog's value: gravity in g's, with its slider in tenths of
/// a g. Negative gravity is allowed.

#include "app/dialogs/dialog_entry.h"
#include "common/unit_constants.h"

namespace kv::app {

/// Slider -2 g .. 4 g in tenths; moving it writes position x 0.1 with "%0.4f".
inline constexpr SliderRange kGravitySlider{-20, 40, 10.0, 4};
/// "Reset": one g.
inline constexpr double kGravityResetGs = 1.0;

/// Gravity (ft/s^2) in g's as the field shows it (x 0.031084863, that is / 32.17).
inline double gravityInGs(float gravity) {
    return gravity * kSlugPerPound;
}
/// OK: the entered g's in ft/s^2 (x 32.17).
inline float gravityOfGs(double gs) {
    return static_cast<float>(gs) * kStandardGravity;
}

} // namespace kv::app
