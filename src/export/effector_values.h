#pragma once
/// The six values of an effector in one recorded frame: each degree of
/// freedom is its offset plus its scale times the quantity its driver code
/// names, except the skid indicator and tachometer codes, whose quantity is
/// the value itself.

#include "model/motion_frame.h"
#include "model/object_record.h"

#include <array>

namespace kv::exp {

/// The frame's quantity for `code` (1..51). Code 15 (main rotor flap) is the
/// blade's flapping angle (deg) at its azimuth: the rotor angle plus
/// `yawOffset` (deg), the effector's rest yaw. Other codes give 0.
float drivingQuantity(int code, const model::MotionFrame& frame, float yawOffset);

/// Forward, right, down (ft) and roll, pitch, yaw (deg) of `effector` in `frame`.
std::array<float, 6> effectorValues(const model::EffectorRecord& effector,
                                    const model::MotionFrame& frame);

} // namespace kv::exp
