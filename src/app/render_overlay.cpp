#include "app/render_overlay.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace kv::app {

std::string elapsedTimeText(double elapsed) {
    if (!(elapsed >= 0.0))
        elapsed = 0.0;
    // Beyond this the minutes would not fit the text; 99999 minutes is far past
    // any run the record memory holds.
    if (elapsed > 5999999.0)
        elapsed = 5999999.0;
    const auto s = static_cast<std::int64_t>(elapsed + 0.5);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d", static_cast<int>(s / 60), static_cast<int>(s % 60));
    return buf;
}

OverlayText statusOverlay(double elapsed, bool slow, int windowHeight) {
    OverlayText t;
    t.time = elapsedTimeText(elapsed);
    t.slow = slow;
    t.y = windowHeight - 55;
    return t;
}

} // namespace kv::app
