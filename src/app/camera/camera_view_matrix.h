#pragma once
/// Modelview matrices of the camera view, 16 floats in the column-major order
/// OpenGL loads them.

#include "common/vecmath.h"

#include <array>

namespace kv::app {

using Mat4 = std::array<float, 16>;

/// Maps world x (north) to eye -z, world y (east) to eye +x and world z (down)
/// to eye -y.
inline constexpr Mat4 kBaseModelview{0, 0, -1, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 1};

Mat4 mat4Identity();
/// a * b, as glMultMatrix applies b after a.
Mat4 mat4Multiply(const Mat4& a, const Mat4& b);
/// Rotation by `angleDeg` about a unit axis, as glRotatef builds it.
Mat4 mat4Rotation(float angleDeg, float x, float y, float z);
Mat4 mat4Translation(float x, float y, float z);
/// The matrix applied to a point (x, y, z, 1).
Vec3 mat4TransformPoint(const Mat4& m, const Vec3& p);

/// The base matrix turned by minus the camera roll about x, pitch about y and
/// yaw about z: what the sky and stars are drawn with (before the 45-degree turn).
Mat4 cameraRotationModelview(const Vec3& anglesDeg);
/// The full camera modelview: rotation, then translation by minus the position.
Mat4 cameraModelview(const Vec3& position, const Vec3& anglesDeg);
/// A look-at modelview from eye, target and up, all in world coordinates.
Mat4 lookAtModelview(const Vec3& eye, const Vec3& target, const Vec3& up);

/// An object's placement inside the camera modelview: translate to its
/// position, then yaw about z, pitch about y, roll about x (deg).
Mat4 objectTransform(const Vec3& position, const Vec3& anglesDeg);

/// The projection as gluPerspective builds it (vertical angle in degrees).
Mat4 perspective(float fovyDeg, float aspect, float zNear, float zFar);

inline constexpr float kNearPlane = 0.5f;
inline constexpr float kFarPlane = 30000.0f;

/// The camera view's projection for a window of `width` x `height` pixels:
/// vertical angle = field of view / view aspect. False for a window without
/// height, which keeps the previous projection.
bool cameraProjection(int width, int height, float fieldOfViewDeg, float viewAspect, Mat4& out);

/// What the view aspect check before a frame asks for.
struct AspectCheck {
    bool aspectChanged = false; ///< the view aspect took the window's; rebuild the guides
    float viewAspect = 1.0f;
    bool resizeFrame = false; ///< resize the frame so its client height = width / aspect
    int clientHeight = 0;
};

/// With the window aspect in use the view takes the window's width / height;
/// otherwise a window off the view aspect by more than 0.1 % is resized.
AspectCheck checkViewAspect(int clientWidth, int clientHeight, float viewAspect,
                            bool useWindowAspect);

} // namespace kv::app
