#include "app/render/status_overlay.h"

#include <cmath>
#include <cstdio>

namespace kv::app {

std::string elapsedTimeText(double elapsedSeconds) {
    // Caps the count so that a run of absurd length still formats; 99999 min is ~69 days.
    constexpr double kMaxSeconds = 99999.0 * 60.0;
    double rounded = std::floor(elapsedSeconds + 0.5);
    if (!std::isfinite(rounded) || rounded < 0.0)
        rounded = 0.0;
    if (rounded > kMaxSeconds)
        rounded = kMaxSeconds;
    const long s = static_cast<long>(rounded);
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld", s / 60, s % 60);
    return text;
}

std::vector<OverlayText> statusOverlay(double elapsedSeconds, bool slow, int windowHeight) {
    const int y = windowHeight - kOverlayBottomOffset;
    std::vector<OverlayText> texts;
    texts.push_back({elapsedTimeText(elapsedSeconds), 10, y, 255, 255, 255});
    if (slow)
        texts.push_back({"Slow", 45, y, 255, 0, 0});
    return texts;
}

} // namespace kv::app
