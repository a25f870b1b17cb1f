#pragma once
/// Port: the frame timer. Only elapsed seconds are needed; the desktop reads a
/// steady clock, headless runs and tests use a simulated clock.

namespace kv {

class ClockPort {
  public:
    virtual ~ClockPort() = default;
    /// Seconds since the last restart.
    virtual double elapsed() = 0;
    /// Restarts the timer.
    virtual void restart() = 0;
    /// Waits until `elapsed()` reaches `period` (s). Returns true when the frame
    /// was late: the first reading was already above the period. A simulated
    /// clock jumps to the deadline at once.
    virtual bool waitUntil(double period) = 0;
};

} // namespace kv
