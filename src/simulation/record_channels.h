#pragma once
/// The three live record channels of a run: the simulated object, the
/// interactive object and the camera.

#include "model/motion_frame.h"

#include <array>
#include <vector>

namespace kv::sim {

inline constexpr int kChannelCount = 3;
inline constexpr int kCameraChannel = 2;
/// Fewest frames a channel must hold for a run to record.
inline constexpr int kMinRecordCapacity = 2;

struct RecordChannel {
    std::vector<model::MotionFrame> frames; ///< room for the capacity, zero-filled
    int count = 0;                          ///< frames recorded in the current run
};

struct RecordChannels {
    std::array<RecordChannel, kChannelCount> channels;
    int capacity = 0;       ///< frames per channel
    bool allocated = false; ///< true when all three channels hold `capacity` frames

    /// Makes every channel hold `capacity` frames. Channels already of that
    /// capacity keep their frames, so a run that records only some channels
    /// leaves the others' last recording intact. Returns false, with nothing
    /// allocated, when the capacity is below the minimum or memory runs out.
    bool allocate(int frames);
    /// Frees every channel.
    void release();
};

/// Appends `frame` to channel `channel`. With no record memory nothing is
/// stored and the result is true; a full channel stores nothing and gives false.
bool recordFrame(RecordChannels& channels, int channel, const model::MotionFrame& frame);

} // namespace kv::sim
