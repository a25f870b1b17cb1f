#include "common/steady_clock.h"

#include <thread>

namespace kv {

double SteadyClock::elapsed() {
    return std::chrono::duration<double>(Clock::now() - start_).count();
}

bool SteadyClock::waitUntil(double period) {
    double t = elapsed();
    if (t > period) {
        return true;
    }
    const double sleepFor = period - t - kSpinMargin;
    if (sleepFor > 0.0) {
        std::this_thread::sleep_for(std::chrono::duration<double>(sleepFor));
    }
    while (t < period) {
        t = elapsed();
    }
    return false;
}

} // namespace kv
