#include "model/motion_store.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

namespace kv::model {

bool MotionStore::allocate(int slots, int maxFrames) {
    release();
    if (slots < 0 || maxFrames < 0) {
        return false;
    }
    const auto total = static_cast<std::size_t>(slots) * static_cast<std::size_t>(maxFrames);
    try {
        std::vector<MotionFrame> frames(total);
        std::vector<SlotState> state(static_cast<std::size_t>(slots));
        frames_.swap(frames);
        state_.swap(state);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    slots_ = slots;
    maxFrames_ = maxFrames;
    return true;
}

void MotionStore::release() {
    std::vector<MotionFrame>().swap(frames_);
    std::vector<SlotState>().swap(state_);
    slots_ = 0;
    maxFrames_ = 0;
}

std::span<MotionFrame> MotionStore::frames(int slot) {
    const auto m = static_cast<std::size_t>(maxFrames_);
    return {frames_.data() + static_cast<std::size_t>(slot) * m, m};
}

std::span<const MotionFrame> MotionStore::frames(int slot) const {
    const auto m = static_cast<std::size_t>(maxFrames_);
    return {frames_.data() + static_cast<std::size_t>(slot) * m, m};
}

void MotionStore::clearSlot(int slot) {
    if (!validSlot(slot)) {
        return;
    }
    std::ranges::fill(frames(slot), MotionFrame{});
    state_[static_cast<std::size_t>(slot)] = SlotState{};
}

void MotionStore::removeSlotMotion(int slot) {
    if (!validSlot(slot)) {
        return;
    }
    for (int s = slot; s + 1 < slots_; ++s) {
        std::ranges::copy(frames(s + 1), frames(s).begin());
        state_[static_cast<std::size_t>(s)] = state_[static_cast<std::size_t>(s) + 1];
    }
    clearSlot(slots_ - 1);
}

} // namespace kv::model
