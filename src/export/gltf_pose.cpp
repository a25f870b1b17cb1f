#include "export/gltf_pose.h"

#include <cmath>
#include <numbers>

namespace kv::exp {
namespace {

/// Row i of glTF's frame is sign[i] times our axis source[i].
constexpr std::array<int, 3> kSource{1, 2, 0};
constexpr std::array<double, 3> kSign{-1.0, -1.0, 1.0};

} // namespace

std::array<double, 3> toGltfAxes(double forward, double right, double down) {
    return {-right, -down, forward};
}

GltfQuaternion quaternionOfMatrix(const std::array<double, 9>& m) {
    // Shepperd's method: divide by the largest of the four candidates, so no
    // rotation angle loses precision.
    const double trace = m[0] + m[4] + m[8];
    GltfQuaternion q{};
    if (trace >= m[0] && trace >= m[4] && trace >= m[8]) {
        const double s = 2.0 * std::sqrt(1.0 + trace);
        q = {(m[7] - m[5]) / s, (m[2] - m[6]) / s, (m[3] - m[1]) / s, 0.25 * s};
    } else if (m[0] >= m[4] && m[0] >= m[8]) {
        const double s = 2.0 * std::sqrt(1.0 + m[0] - m[4] - m[8]);
        q = {0.25 * s, (m[1] + m[3]) / s, (m[2] + m[6]) / s, (m[7] - m[5]) / s};
    } else if (m[4] >= m[8]) {
        const double s = 2.0 * std::sqrt(1.0 + m[4] - m[0] - m[8]);
        q = {(m[1] + m[3]) / s, 0.25 * s, (m[5] + m[7]) / s, (m[2] - m[6]) / s};
    } else {
        const double s = 2.0 * std::sqrt(1.0 + m[8] - m[0] - m[4]);
        q = {(m[2] + m[6]) / s, (m[5] + m[7]) / s, 0.25 * s, (m[3] - m[1]) / s};
    }
    const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    const double sign = q[3] < 0.0 ? -1.0 : 1.0;
    for (double& c : q)
        c *= sign / norm;
    return q;
}

GltfPose toGltfPose(double forward, double right, double down, double rollDeg, double pitchDeg,
                    double yawDeg) {
    constexpr double kRadPerDeg = std::numbers::pi / 180.0;
    const double cf = std::cos(rollDeg * kRadPerDeg), sf = std::sin(rollDeg * kRadPerDeg);
    const double ct = std::cos(pitchDeg * kRadPerDeg), st = std::sin(pitchDeg * kRadPerDeg);
    const double cp = std::cos(yawDeg * kRadPerDeg), sp = std::sin(yawDeg * kRadPerDeg);
    // Parent-to-child matrix of the yaw, pitch, roll sequence (rows are the
    // child's axes in the parent frame); its transpose carries child to parent.
    const std::array<double, 9> parentToChild{ct * cp,
                                              ct * sp,
                                              -st,
                                              sf * st * cp - cf * sp,
                                              sf * st * sp + cf * cp,
                                              sf * ct,
                                              cf * st * cp + sf * sp,
                                              cf * st * sp - sf * cp,
                                              cf * ct};
    // In glTF's frame: R' = C R C^T with R = parentToChild^T, and C a signed
    // permutation, so R'[i][j] = sign[i] sign[j] R[source[i]][source[j]].
    std::array<double, 9> r{};
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            const auto si = static_cast<std::size_t>(kSource[i]);
            const auto sj = static_cast<std::size_t>(kSource[j]);
            r[3 * i + j] = kSign[i] * kSign[j] * parentToChild[3 * sj + si];
        }
    }
    GltfPose pose;
    pose.translation = toGltfAxes(forward, right, down);
    pose.rotation = quaternionOfMatrix(r);
    return pose;
}

GltfQuaternion alignedWith(const GltfQuaternion& q, const GltfQuaternion& previous) {
    const double dot =
        q[0] * previous[0] + q[1] * previous[1] + q[2] * previous[2] + q[3] * previous[3];
    if (dot >= 0.0)
        return q;
    return {-q[0], -q[1], -q[2], -q[3]};
}

} // namespace kv::exp
