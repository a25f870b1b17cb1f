#pragma once
/// The progress display of long operations. A job that will be over within
/// about a second never shows a window: nothing appears during the first
/// 0.1 s, nor while the job progresses fast enough (fraction per second of at
/// least 1.2, so it finishes within about 0.83 s). Once shown, each call moves
/// the bar and takes one pending input event, and ESC may abort the job.

#include "common/ports/clock.h"
#include "common/ports/progress.h"

#include <string>
#include <string_view>

namespace kv::app {

/// What the display is asked to do on one call.
enum class ProgressMode : int { Start = 0, Finish = 1, Update = 2 };

/// Time (s) during which no window is ever shown.
inline constexpr double kProgressQuietSeconds = 0.1;
/// Progress rate (fraction per second) at or above which no window is shown.
inline constexpr double kProgressFastRate = 1.2;
/// Second line of the window when ESC aborts the job.
inline constexpr std::string_view kProgressEscapeLine = "Press ESC to Abort";
/// Title of the progress window.
inline constexpr std::string_view kProgressTitle = "Status";

/// True when a job at `fraction` (0..1) after `elapsedSeconds` has to show its window.
bool progressWindowDue(double elapsedSeconds, double fraction);

/// Whether ESC aborts the job announced by `label`. Building and smoothing jobs
/// cannot be aborted; every other job can.
bool progressLabelAllowsEscape(std::string_view label);

/// The visible part of the display, implemented by the desktop.
class ProgressWindow {
  public:
    virtual ~ProgressWindow() = default;
    /// Creates and shows the window at once with the label and second line
    /// (empty, or kProgressEscapeLine).
    virtual void open(std::string_view label, std::string_view secondLine) = 0;
    /// Moves the bar, 0..100.
    virtual void setPercent(int percent) = 0;
    /// Takes pending input; true when it held a key press of ESC.
    virtual bool takeEscapePress() = 0;
    virtual void close() = 0;
};

/// The display's state machine: decides when the window appears, moves it,
/// and reports ESC.
class ProgressDisplay {
  public:
    /// Both must outlive the display. `clock` is restarted by every start.
    ProgressDisplay(ClockPort& clock, ProgressWindow& window) : clock_(clock), window_(window) {}
    ~ProgressDisplay();
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    /// One call of a job: mode, whether ESC aborts, the label and the fraction
    /// done (0..1, clamped). Returns false when the user pressed ESC and
    /// `escAborts` is set; the job then stops and cleans up.
    bool show(ProgressMode mode, bool escAborts, std::string_view label, double fraction);

    bool shown() const { return shown_; }
    double lastFraction() const { return lastFraction_; }

  private:
    ClockPort& clock_;
    ProgressWindow& window_;
    bool shown_ = false;
    double lastFraction_ = 0.0;
};

/// The progress port of the core on top of a ProgressDisplay: start gives the
/// label, update the fraction, finish closes. ESC follows the label's rule
/// unless set with setEscapeAllowed after start.
class ProgressPortDisplay final : public ProgressPort {
  public:
    explicit ProgressPortDisplay(ProgressDisplay& display) : display_(display) {}
    void start(std::string_view title) override;
    bool update(double fraction) override;
    void finish() override;
    /// Overrides the label's ESC rule for the current job.
    void setEscapeAllowed(bool allowed) { escAllowed_ = allowed; }

  private:
    ProgressDisplay& display_;
    std::string label_;
    bool escAllowed_ = true;
};

} // namespace kv::app
