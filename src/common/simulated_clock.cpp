#include "common/simulated_clock.h"

namespace kv {

bool SimulatedClock::waitUntil(double period) {
    const double t = elapsed();
    if (t > period) {
        return true;
    }
    now_ = start_ + period;
    return false;
}

} // namespace kv
