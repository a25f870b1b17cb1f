#include "simulation/record_channels.h"

#include <cassert>
#include <new>
#include <stdexcept>

namespace kv::sim {

bool RecordChannels::allocate(int frames) {
    if (allocated && capacity == frames) {
        return true;
    }
    release();
    if (frames < kMinRecordCapacity) {
        return false;
    }
    try {
        for (auto& c : channels) {
            c.frames.assign(static_cast<std::size_t>(frames), model::MotionFrame{});
            c.count = 0;
        }
    } catch (const std::bad_alloc&) {
        release();
        return false;
    } catch (const std::length_error&) {
        release();
        return false;
    }
    capacity = frames;
    allocated = true;
    return true;
}

void RecordChannels::release() {
    for (auto& c : channels) {
        std::vector<model::MotionFrame>().swap(c.frames);
        c.count = 0;
    }
    capacity = 0;
    allocated = false;
}

bool recordFrame(RecordChannels& channels, int channel, const model::MotionFrame& frame) {
    assert(channel >= 0 && channel < kChannelCount);
    if (!channels.allocated) {
        return true;
    }
    RecordChannel& c = channels.channels[static_cast<std::size_t>(channel)];
    if (c.count >= channels.capacity) {
        return false;
    }
    c.frames[static_cast<std::size_t>(c.count)] = frame;
    ++c.count;
    return true;
}

} // namespace kv::sim
