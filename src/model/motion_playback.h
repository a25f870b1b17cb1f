#pragma once
/// Replay of stored motion by time: interpolation between the two frames
/// around a time, with the angles taken the short way round, the motion's
/// length, and the initial conditions taken from a motion file.

#include "common/ports/messages.h"
#include "model/motion_file.h"
#include "model/motion_store.h"

#include <filesystem>
#include <optional>

namespace kv::model {

/// Fills fields 1 .. count-1 of `out` with the motion of `slot` at time `t`
/// (s); count 66 gives a whole frame. Playback continues from the slot's
/// cursor, so increasing times cost a few comparisons. At or after the last
/// frame's time the last frame is returned. Field 5 (the key command) is not
/// interpolated: it is the command of a frame within one frame period
/// (`framePeriod`, s) before `t`, else 0. A slot with fewer than two frames
/// shows "Internal error, no motion data to interpolate." and yields its
/// first frame's fields.
void interpolateMotion(MotionStore& store, int slot, int count, float t, float framePeriod,
                       MotionFrame& out, MessagePort& messages);

/// Time of the slot's last frame (s); 0 when it holds no motion.
float motionLength(const MotionStore& store, int slot);

/// Removes the motion of `slot`; later slots move down one.
inline void removeSlotMotion(MotionStore& store, int slot) {
    store.removeSlotMotion(slot);
}

/// Initial conditions at time `t` (s) of the motion in `file`: read into the
/// camera slot `camera` with messages on, then sampled at t and t +- one frame
/// period for position (ft), attitude (deg), body velocity (ft/s) and body
/// rates (deg/s). The camera slot is reset to an empty camera afterwards, also
/// when the read failed. Nothing when the file could not be read.
std::optional<InitialConditions>
initialConditionsFromMotion(const std::filesystem::path& file, float t, float framePeriod,
                            const MotionTarget& camera, MotionStore& store, MessagePort& messages);

} // namespace kv::model
