#pragma once
/// Effector frames in the object's body axes. Stored offsets are relative to
/// the parent effector (to the centre of gravity for a root); the editor shows
/// and takes them in the object frame as well, converting through the chain
/// of ancestors: position (ft) first, then rotation by roll, pitch and yaw
/// (deg), applied from the root down.

#include "common/vecmath.h"
#include "model/object_record.h"

#include <array>

namespace kv::app {

/// Where an effector sits in the object frame at rest (drivers at zero).
struct EffectorFrame {
    Vec3 position{}; ///< forward, right, down from the centre of gravity (ft)
    Mat3 orientation{1, 0, 0, 0, 1, 0, 0, 0, 1}; ///< body axes to effector axes
};

/// The rest frame of effector `index` of `r` (the body frame for -1). A
/// broken parent chain is followed at most 30 steps.
EffectorFrame effectorFrame(const model::ObjectRecord& r, int index);

/// Offsets (forward, right, down in ft; roll, pitch, yaw in deg) of a frame,
/// angles wrapped to -180..180 with -180 given as 180.
std::array<float, 6> frameOffsets(const EffectorFrame& frame);

/// The frame given by offsets in the object frame.
EffectorFrame frameFromOffsets(const std::array<float, 6>& offsets);

/// Offsets of `child` relative to `parent`: what an effector under `parent`
/// must store to sit at `child`.
std::array<float, 6> relativeOffsets(const EffectorFrame& parent, const EffectorFrame& child);

/// Shown angle: wrapped to -180..180, -180 shown as 180.
float shownAngle(float degrees);

} // namespace kv::app
