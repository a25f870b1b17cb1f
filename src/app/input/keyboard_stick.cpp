#include "app/input/keyboard_stick.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

namespace {

/// Sums of single-precision steps miss the centre and full travel by a few
/// units in the last place; closer than this (fraction of travel) they are there.
constexpr float kSnap = 1e-5f;

} // namespace

int keyAxisTarget(bool negativeKey, bool positiveKey) {
    return (positiveKey ? 1 : 0) - (negativeKey ? 1 : 0);
}

float rampKeyAxis(float hand, int target, float framePeriod) {
    if (!(framePeriod > 0.0f) || !std::isfinite(framePeriod))
        return hand;
    hand = std::clamp(hand, -1.0f, 1.0f);
    const float goal = static_cast<float>(std::clamp(target, -1, 1));
    const float travelStep = framePeriod / kKeyTravelSeconds;
    const float returnStep = framePeriod / kKeyReturnSeconds;
    // On the far side of the centre (or released): back toward the centre first.
    if (hand != 0.0f && (goal == 0.0f || (hand > 0.0f) != (goal > 0.0f))) {
        const float mag = std::fabs(hand) - returnStep;
        if (mag > kSnap)
            return hand > 0.0f ? mag : -mag;
        if (goal == 0.0f)
            return 0.0f;
        // The rest of the frame goes into travel the other way.
        const float left = std::max(-mag, 0.0f) / returnStep * framePeriod;
        const float travelled = left / kKeyTravelSeconds;
        return travelled > kSnap ? goal * std::min(travelled, 1.0f) : 0.0f;
    }
    if (goal == 0.0f)
        return 0.0f;
    const float travelled = std::fabs(hand) + travelStep;
    return travelled >= 1.0f - kSnap ? goal : goal * travelled;
}

} // namespace kv::app
