#include "app/render_overlay.h"

#include <gtest/gtest.h>
#include <limits>

namespace kv::app {
namespace {

TEST(RenderOverlay, ElapsedTimeRoundsToWholeSeconds) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "00:00"},     {0.49, "00:00"}, {0.5, "00:01"},
        {59.6, "01:00"},    {61.2, "01:01"}, {3599.4, "59:59"},
        {6000.0, "100:00"}, {-3.0, "00:00"}, {std::numeric_limits<double>::quiet_NaN(), "00:00"},
    };
    for (const auto& [t, text] : cases)
        EXPECT_EQ(elapsedTimeText(t), text) << t;
}

TEST(RenderOverlay, SlowSitsBesideTheTimeOnTheSameLine) {
    const OverlayText t = statusOverlay(12.0, true, 300);
    EXPECT_EQ(t.time, "00:12");
    EXPECT_TRUE(t.slow);
    EXPECT_EQ(t.timeX, 10);
    EXPECT_EQ(t.slowX, 45);
    EXPECT_EQ(t.y, 245);
    EXPECT_STREQ(kSlowLabel, "Slow");
    EXPECT_FALSE(statusOverlay(12.0, false, 300).slow);
}

} // namespace
} // namespace kv::app
