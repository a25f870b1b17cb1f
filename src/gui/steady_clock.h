#pragma once
/// The desktop's clock port: a monotonic clock with a busy wait for frame pacing.

#include "common/ports/clock.h"

#include <chrono>

namespace kv::gui {

class SteadyClock final : public ClockPort {
  public:
    SteadyClock() : start_(std::chrono::steady_clock::now()) {}
    double elapsed() override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    void restart() override { start_ = std::chrono::steady_clock::now(); }
    bool waitUntil(double period) override {
        const bool late = elapsed() > period;
        while (elapsed() < period) {
        }
        return late;
    }

  private:
    std::chrono::steady_clock::time_point start_;
};

} // namespace kv::gui
