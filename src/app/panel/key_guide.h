#pragma once
/// The key guide: which key shows the camera mode and in which colour, which
/// vehicle keys are lit, and the blinking P key of a paused run.

#include "app/panel/panel_layout.h"
#include "app/panel/panel_readings.h"

namespace kv::app {

/// The key (F1-F6) that selects camera mode `mode`, and its light: green for
/// the first mode of a pair, blue for the Alt mode.
PanelKey modeKey(int mode);
KeyLight modeLight(int mode);

/// Whether an on/off key is lit: F12 (camera control), Q (cruise or
/// autopilot), B (brake hold), R (reverse), G (gear down), F (flaps out).
bool switchKeyLit(PanelKey key, const PanelInput& input);

/// The paused run's P key: its lit state flips whenever more than 0.5 s of
/// the local clock has passed since the last flip; it is dark while not paused.
class PauseBlink {
  public:
    /// The lit state at clock time `now` (s).
    bool update(bool paused, double now);
    bool lit() const { return lit_; }

  private:
    bool lit_ = false;
    double lastFlip_ = -1.0e300; ///< clock time of the last flip (s)
};

inline constexpr double kBlinkPeriod = 0.5; ///< s between flips

} // namespace kv::app
