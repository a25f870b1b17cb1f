#pragma once
/// How a body's position and attitude become the channels of the three joints
/// that carry it (position and yaw, then pitch, then roll), for the right- and
/// left-hand coordinate preferences. The targets use x across, y up and z
/// ahead; our axes are ahead, right (side) and down.

#include "export/export_options.h"
#include "model/motion_frame.h"

#include <array>

namespace kv::exp {

/// Channel values of one body's three joints.
struct JointChannels {
    float xPosition = 0.0f; ///< working units
    float yPosition = 0.0f; ///< working units
    float zPosition = 0.0f; ///< working units
    float yRotation = 0.0f; ///< deg, on the first joint
    float xRotation = 0.0f; ///< deg, on the XRot joint
    float zRotation = 0.0f; ///< deg, on the ZRot joint
};

/// Maps ahead, side, down (ft) and roll, pitch, yaw (deg).
JointChannels mapAxes(float ahead, float side, float down, float roll, float pitch, float yaw,
                      const ExportOptions& options);

/// The centre of gravity of `frame` (position converted from metres).
JointChannels mapCentreOfGravity(const model::MotionFrame& frame, const ExportOptions& options);

/// An effector from its forward, right, down (ft), roll, pitch, yaw (deg) values.
JointChannels mapEffector(const std::array<float, 6>& values, const ExportOptions& options);

} // namespace kv::exp
