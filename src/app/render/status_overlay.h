#pragma once
/// The elapsed-time overlay drawn over the camera view during a run: "mm:ss"
/// in white near the bottom-left corner, and "Slow" in red beside it while the
/// run falls behind real time (the view moves it clear of the time when its
/// font is wider than the gap).

#include <cstdint>
#include <string>
#include <vector>

namespace kv::app {

/// One piece of overlay text in window pixels (origin top-left).
struct OverlayText {
    std::string text;
    int x = 0;
    int y = 0;
    std::uint8_t red = 255;
    std::uint8_t green = 255;
    std::uint8_t blue = 255;
};

/// Distance (px) of the text line above the bottom of the window.
inline constexpr int kOverlayBottomOffset = 55;

/// "%02d:%02d" of the elapsed time (s) rounded to whole seconds; negative or
/// non-finite times read as zero.
std::string elapsedTimeText(double elapsedSeconds);

/// The overlay texts of one frame for a window `windowHeight` pixels high.
std::vector<OverlayText> statusOverlay(double elapsedSeconds, bool slow, int windowHeight);

} // namespace kv::app
