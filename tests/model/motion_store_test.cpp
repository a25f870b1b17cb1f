// The per-slot stored motion block.

#include "model/motion_store.h"

#include <climits>
#include <gtest/gtest.h>

namespace kv::model {
namespace {

TEST(MotionStore, AllocatesZeroFilledSlotsWithoutMotion) {
    MotionStore store;
    ASSERT_TRUE(store.allocate(7, 2002));
    EXPECT_EQ(store.slotCount(), 7);
    EXPECT_EQ(store.maxFrames(), 2002);
    for (int s = 0; s < 7; ++s) {
        EXPECT_EQ(store.lastFrame(s), -1);
        EXPECT_EQ(store.cursor(s), 0);
        EXPECT_EQ(store.frames(s).size(), 2002u);
    }
    EXPECT_EQ(store.frames(6)[2001], MotionFrame{});
    EXPECT_FALSE(store.validSlot(7));
    EXPECT_FALSE(store.validSlot(-1));
}

TEST(MotionStore, ImpossibleSizesFailAndLeaveNothing) {
    MotionStore store;
    ASSERT_TRUE(store.allocate(2, 4));
    EXPECT_FALSE(store.allocate(INT_MAX, INT_MAX));
    EXPECT_EQ(store.slotCount(), 0);
    EXPECT_EQ(store.maxFrames(), 0);
    EXPECT_FALSE(store.allocate(-1, 10));
    EXPECT_FALSE(store.validSlot(0));
}

TEST(MotionStore, ClearingASlotForgetsOnlyThatSlot) {
    MotionStore store;
    ASSERT_TRUE(store.allocate(3, 4));
    store.frames(1)[0][kFrameNorth] = 5.0f;
    store.frames(2)[0][kFrameNorth] = 6.0f;
    store.setLastFrame(1, 2);
    store.setCursor(1, 1);
    store.setLastFrame(2, 3);
    store.clearSlot(1);
    EXPECT_EQ(store.lastFrame(1), -1);
    EXPECT_EQ(store.cursor(1), 0);
    EXPECT_EQ(store.frames(1)[0][kFrameNorth], 0.0f);
    EXPECT_EQ(store.frames(2)[0][kFrameNorth], 6.0f);
    EXPECT_EQ(store.lastFrame(2), 3);
}

} // namespace
} // namespace kv::model
