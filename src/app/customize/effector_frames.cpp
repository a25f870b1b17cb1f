#include "app/customize/effector_frames.h"

#include "common/unit_constants.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

EffectorFrame effectorFrame(const model::ObjectRecord& r, int index) {
    const int n = std::clamp(r.effectorCount, 0, model::kMaxEffectors);
    int chain[model::kMaxEffectors];
    int depth = 0;
    for (int e = index; e >= 0 && e < n && depth < model::kMaxEffectors;
         e = r.effectors[static_cast<std::size_t>(e)].parent)
        chain[depth++] = e;
    EffectorFrame frame;
    for (int k = depth - 1; k >= 0; --k) {
        const auto& o = r.effectors[static_cast<std::size_t>(chain[k])].offsets;
        Mat3 local;
        EulerToMatrix(o[3], o[4], o[5], local);
        const Vec3 step = MatTVec3(frame.orientation, Vec3{o[0], o[1], o[2]});
        frame.position = VecAdd(frame.position, step);
        frame.orientation = MatMul3(local, frame.orientation);
    }
    return frame;
}

float shownAngle(float degrees) {
    const float a = Wrap180(degrees);
    return a <= -180.0f ? 180.0f : a;
}

std::array<float, 6> frameOffsets(const EffectorFrame& frame) {
    float roll = 0.0f, pitch = 0.0f, yaw = 0.0f;
    MatrixToEuler(frame.orientation, roll, pitch, yaw);
    return {frame.position[0],
            frame.position[1],
            frame.position[2],
            shownAngle(roll * kDegPerRad),
            shownAngle(pitch * kDegPerRad),
            shownAngle(yaw * kDegPerRad)};
}

EffectorFrame frameFromOffsets(const std::array<float, 6>& o) {
    EffectorFrame frame;
    frame.position = {o[0], o[1], o[2]};
    EulerToMatrix(o[3], o[4], o[5], frame.orientation);
    return frame;
}

std::array<float, 6> relativeOffsets(const EffectorFrame& parent, const EffectorFrame& child) {
    EffectorFrame local;
    local.position = MatVec3(parent.orientation, VecSub(child.position, parent.position));
    local.orientation = MatMul3(child.orientation, Transpose3(parent.orientation));
    return frameOffsets(local);
}

} // namespace kv::app
