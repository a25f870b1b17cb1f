#pragma once
/// A clock whose time moves only when asked: frames run as fast as the machine
/// allows and every run is reproducible.

#include "common/ports/clock.h"

namespace kv {

class SimulatedClock final : public ClockPort {
  public:
    double elapsed() override { return now_ - start_; }
    void restart() override { start_ = now_; }
    /// Jumps to the deadline at once; late when the time already spent since the
    /// restart is above `period`.
    bool waitUntil(double period) override;

    /// Lets `seconds` of simulated time pass, as if work had taken that long.
    void advance(double seconds) { now_ += seconds; }
    /// Simulated time since construction (s).
    double now() const { return now_; }

  private:
    double now_ = 0.0;
    double start_ = 0.0;
};

} // namespace kv
