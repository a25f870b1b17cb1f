// How many 30 frames per second samples a motion's length gives.

#include "export/export_motion.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>

namespace kv::exp {
namespace {

TEST(ExportFrameCount, LengthTimesThirtyTruncated) {
    const std::pair<float, int> cases[] = {
        {2.0f, 60},    {1.0f, 30}, {0.0f, 0}, {0.03f, 0},          {0.034f, 1},
        {1.9999f, 59}, {-1.0f, 0}, {NAN, 0},  {INFINITY, INT_MAX}, {1.0e30f, INT_MAX},
    };
    for (const auto& [length, frames] : cases) {
        EXPECT_EQ(exportFrameCount(length), frames) << length;
    }
    EXPECT_FLOAT_EQ(exportSampleTime(30), 1.0f);
}

} // namespace
} // namespace kv::exp
