#include "common/simulated_clock.h"
#include "common/steady_clock.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(SimulatedClock, JumpsToTheDeadlineUnlessAlreadyLate) {
    SimulatedClock clock;
    clock.restart();
    EXPECT_FALSE(clock.waitUntil(0.5));
    EXPECT_DOUBLE_EQ(clock.elapsed(), 0.5);
    clock.restart();
    clock.advance(0.5);
    EXPECT_FALSE(clock.waitUntil(0.5)); // reaching the period exactly is on time
    clock.restart();
    clock.advance(0.75);
    EXPECT_TRUE(clock.waitUntil(0.5));
    EXPECT_DOUBLE_EQ(clock.elapsed(), 0.75); // a late frame does not wait
    EXPECT_DOUBLE_EQ(clock.now(), 1.75);
}

TEST(SteadyClock, WaitsForThePeriodAndReportsLateness) {
    SteadyClock clock;
    clock.restart();
    EXPECT_FALSE(clock.waitUntil(0.005));
    EXPECT_GE(clock.elapsed(), 0.005);
    EXPECT_TRUE(clock.waitUntil(0.001)); // already past: late, returns at once
    clock.restart();
    EXPECT_LT(clock.elapsed(), 0.5);
}

} // namespace
} // namespace kv
