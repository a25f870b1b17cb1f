#pragma once
/// The pose of the program's virtual camera as the run loop records it. The
/// scene moves it once a frame.

#include "common/vecmath.h"

namespace kv::sim {

struct CameraRecord {
    int mode = 0;          ///< camera mode 0..10
    int cameraControl = 0; ///< 1 when the controller drives the camera instead of the vehicle
    float time = 0.0f;     ///< run time of the frame being drawn (s)
    Vec3 position{};       ///< position in the scene's world frame (m)
    Vec3 angles{};         ///< roll, pitch, yaw (deg)
};

} // namespace kv::sim
