#pragma once
/// Stored motion of every object slot: the frames read from motion files (and
/// project files) that dynamic and interactive objects, and the camera, replay
/// by time. One zero-filled block of slots x maxFrames frames, allocated with
/// the memory settings and replaced only when they change.

#include "model/motion_frame.h"

#include <span>
#include <vector>

namespace kv::model {

class MotionStore {
  public:
    /// Replaces the store with `slots` slots of `maxFrames` zero frames each.
    /// Returns false, leaving the store empty, when the block cannot be had or
    /// either count is negative.
    bool allocate(int slots, int maxFrames);
    /// Frees every frame; the store then has no slots.
    void release();

    int slotCount() const { return slots_; }
    /// Frames each slot can hold (M).
    int maxFrames() const { return maxFrames_; }
    bool validSlot(int slot) const { return slot >= 0 && slot < slots_; }

    /// The M frame places of `slot`.
    std::span<MotionFrame> frames(int slot);
    std::span<const MotionFrame> frames(int slot) const;

    /// Index of the last frame of the slot's motion; -1 when it holds none.
    int lastFrame(int slot) const { return state_[static_cast<std::size_t>(slot)].lastFrame; }
    void setLastFrame(int slot, int last) {
        state_[static_cast<std::size_t>(slot)].lastFrame = last;
    }
    /// Frame index at which the previous interpolation of the slot ended.
    int cursor(int slot) const { return state_[static_cast<std::size_t>(slot)].cursor; }
    void setCursor(int slot, int cursor) { state_[static_cast<std::size_t>(slot)].cursor = cursor; }

    /// Zeroes the slot's frames and forgets its motion.
    void clearSlot(int slot);
    /// Removes the motion of `slot`: every later slot's frames, `lastFrame`
    /// and cursor move down one slot and the last slot becomes empty.
    void removeSlotMotion(int slot);

  private:
    struct SlotState {
        int lastFrame = -1;
        int cursor = 0;
    };
    int slots_ = 0;
    int maxFrames_ = 0;
    std::vector<MotionFrame> frames_;
    std::vector<SlotState> state_;
};

} // namespace kv::model
