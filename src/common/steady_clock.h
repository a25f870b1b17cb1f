#pragma once
/// The wall clock of live runs: a monotonic clock that paces frames.

#include "common/ports/clock.h"

#include <chrono>

namespace kv {

class SteadyClock final : public ClockPort {
  public:
    SteadyClock() : start_(Clock::now()) {}
    double elapsed() override;
    void restart() override { start_ = Clock::now(); }
    /// Sleeps until shortly before the deadline, then polls the clock until it
    /// is reached, so that the frame starts on time without burning a core for
    /// the whole period. Late when the first reading was already above `period`.
    bool waitUntil(double period) override;

    /// Time before the deadline at which sleeping gives way to polling (s):
    /// above the scheduler's usual wake-up delay.
    static constexpr double kSpinMargin = 0.002;

  private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point start_;
};

} // namespace kv
