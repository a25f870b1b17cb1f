#include "export/axis_mapping.h"

#include "common/unit_constants.h"

namespace kv::exp {
namespace {} // namespace

JointChannels mapAxes(float ahead, float side, float down, float roll, float pitch, float yaw,
                      const ExportOptions& options) {
    const float u = options.feetPerUnit;
    JointChannels c;
    c.xPosition = options.rightHanded ? -side / u : side / u;
    c.yPosition = -down / u;
    c.zPosition = ahead / u;
    c.yRotation = options.rightHanded ? -yaw : yaw;
    c.xRotation = -pitch;
    c.zRotation = options.rightHanded ? roll : -roll;
    return c;
}

JointChannels mapCentreOfGravity(const model::MotionFrame& frame, const ExportOptions& options) {
    using namespace model;
    return mapAxes(frame[kFrameNorth] * kFeetPerMetre, frame[kFrameEast] * kFeetPerMetre,
                   frame[kFrameDown] * kFeetPerMetre, frame[kFrameRoll], frame[kFramePitch],
                   frame[kFrameYaw], options);
}

JointChannels mapEffector(const std::array<float, 6>& values, const ExportOptions& options) {
    return mapAxes(values[0], values[1], values[2], values[3], values[4], values[5], options);
}

} // namespace kv::exp
