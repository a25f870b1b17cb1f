#pragma once
/// The elapsed-time overlay drawn over the camera view after each frame.

#include <string>

namespace kv::app {

struct OverlayText {
    std::string time;  ///< "mm:ss", white, at x = 10
    bool slow = false; ///< "Slow" in red at x = 45 on the same line
    int timeX = 10;
    int slowX = 45;
    int y = 0; ///< window height - 55
};

inline constexpr const char* kSlowLabel = "Slow";

/// Elapsed seconds rounded to the nearest whole second, as "%02d:%02d" of
/// minutes and seconds. Negative or non-finite times read as 0.
std::string elapsedTimeText(double elapsedSeconds);

OverlayText statusOverlay(double elapsedSeconds, bool slow, int windowHeight);

} // namespace kv::app
