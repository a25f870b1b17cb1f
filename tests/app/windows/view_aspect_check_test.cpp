#include "app/windows/view_aspect_check.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(ViewAspectCheck, TheHeightFollowsTheWidthBeyondATenthOfAPercent) {
    struct Case {
        int width, height;
        float aspect;
        std::optional<int> snapped;
    };
    const Case cases[] = {
        {400, 300, 1.3333f, std::nullopt}, // the layout's own size
        {500, 300, 1.3333f, 375},          // widened by the user
        {400, 400, 1.3333f, 300},          // made taller
        {400, 200, 2.0f, std::nullopt},    {402, 200, 2.0f, 201},
        {399, 300, 1.3333f, 299}, // a height cut to fit that left 0.25 % off
        {0, 300, 1.3333f, std::nullopt},   {400, 0, 1.3333f, std::nullopt},
        {400, 300, 0.0f, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height << " at " << c.aspect);
        EXPECT_EQ(aspectSnapHeight(c.width, c.height, c.aspect), c.snapped);
    }
}

} // namespace
} // namespace kv::app
