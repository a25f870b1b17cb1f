#pragma once
/// Poses in glTF's frame. glTF is right-handed with +Y up and +Z forward, so +X
/// points to the left; lengths are metres. Our frames (world: north, east,
/// down; body and effector: forward, right, down) are right-handed too, so the
/// change of frame is a proper rotation:
///   glTF x = -right (east), y = -down, z = forward (north).

#include <array>

namespace kv::exp {

/// Quaternion x, y, z, w (glTF's order).
using GltfQuaternion = std::array<double, 4>;

struct GltfPose {
    std::array<double, 3> translation{}; ///< metres, glTF axes
    GltfQuaternion rotation{0.0, 0.0, 0.0, 1.0};
};

/// A point or offset in our axes (any length unit) in glTF's axes (same unit).
std::array<double, 3> toGltfAxes(double forward, double right, double down);

/// The pose of a child frame whose origin lies at (forward, right, down)
/// metres in its parent frame and whose axes are turned from the parent's by
/// yaw, then pitch, then roll (degrees, the attitude convention of the body).
GltfPose toGltfPose(double forward, double right, double down, double rollDeg, double pitchDeg,
                    double yawDeg);

/// The rotation quaternion of a proper rotation matrix (row-major, columns are
/// the child's axes in the parent frame), with w >= 0.
GltfQuaternion quaternionOfMatrix(const std::array<double, 9>& m);

/// `q` or -q, whichever is nearer `previous`, so that interpolating between
/// consecutive keys turns the short way.
GltfQuaternion alignedWith(const GltfQuaternion& q, const GltfQuaternion& previous);

} // namespace kv::exp
