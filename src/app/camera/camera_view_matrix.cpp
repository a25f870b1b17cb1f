#include "app/camera/camera_view_matrix.h"

#include "app/camera/camera_math.h"

#include <cmath>

namespace kv::app {

Mat4 mat4Identity() {
    return Mat4{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Mat4 mat4Multiply(const Mat4& a, const Mat4& b) {
    Mat4 c{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a[static_cast<std::size_t>(k * 4 + row)] *
                       b[static_cast<std::size_t>(col * 4 + k)];
            c[static_cast<std::size_t>(col * 4 + row)] = sum;
        }
    return c;
}

Mat4 mat4Rotation(float angleDeg, float x, float y, float z) {
    const float c = std::cos(angleDeg * kRadPerDeg), s = std::sin(angleDeg * kRadPerDeg);
    const float t = 1.0f - c;
    return Mat4{x * x * t + c,
                y * x * t + z * s,
                x * z * t - y * s,
                0,
                x * y * t - z * s,
                y * y * t + c,
                y * z * t + x * s,
                0,
                x * z * t + y * s,
                y * z * t - x * s,
                z * z * t + c,
                0,
                0,
                0,
                0,
                1};
}

Mat4 mat4Translation(float x, float y, float z) {
    return Mat4{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
}

Vec3 mat4TransformPoint(const Mat4& m, const Vec3& p) {
    Vec3 r{};
    for (std::size_t row = 0; row < 3; ++row)
        r[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
    return r;
}

Mat4 cameraRotationModelview(const Vec3& a) {
    Mat4 m = mat4Multiply(kBaseModelview, mat4Rotation(-a[0], 1, 0, 0));
    m = mat4Multiply(m, mat4Rotation(-a[1], 0, 1, 0));
    return mat4Multiply(m, mat4Rotation(-a[2], 0, 0, 1));
}

Mat4 cameraModelview(const Vec3& position, const Vec3& anglesDeg) {
    return mat4Multiply(cameraRotationModelview(anglesDeg),
                        mat4Translation(-position[0], -position[1], -position[2]));
}

Mat4 lookAtModelview(const Vec3& eye, const Vec3& target, const Vec3& up) {
    Vec3 f{target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]};
    VecNormalize(f, f);
    Vec3 s{};
    VecCross(f, up, s);
    VecNormalize(s, s);
    Vec3 u{};
    VecCross(s, f, u);
    return Mat4{s[0],
                u[0],
                -f[0],
                0,
                s[1],
                u[1],
                -f[1],
                0,
                s[2],
                u[2],
                -f[2],
                0,
                -VecDot(s, eye),
                -VecDot(u, eye),
                VecDot(f, eye),
                1};
}

Mat4 objectTransform(const Vec3& position, const Vec3& a) {
    Mat4 m = mat4Translation(position[0], position[1], position[2]);
    m = mat4Multiply(m, mat4Rotation(a[2], 0, 0, 1));
    m = mat4Multiply(m, mat4Rotation(a[1], 0, 1, 0));
    return mat4Multiply(m, mat4Rotation(a[0], 1, 0, 0));
}

Mat4 perspective(float fovyDeg, float aspect, float zNear, float zFar) {
    const float f = 1.0f / std::tan(fovyDeg * 0.5f * kRadPerDeg);
    Mat4 m{};
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1.0f;
    m[14] = 2.0f * zFar * zNear / (zNear - zFar);
    return m;
}

bool cameraProjection(int width, int height, float fov, float viewAspect, Mat4& out) {
    if (height <= 0 || width <= 0 || !(viewAspect > 0.0f))
        return false;
    out = perspective(fov / viewAspect, static_cast<float>(width) / static_cast<float>(height),
                      kNearPlane, kFarPlane);
    return true;
}

AspectCheck checkViewAspect(int w, int h, float viewAspect, bool useWindowAspect) {
    AspectCheck c;
    c.viewAspect = viewAspect;
    if (w <= 0 || h <= 0 || !(viewAspect > 0.0f))
        return c;
    const float windowAspect = static_cast<float>(w) / static_cast<float>(h);
    if (useWindowAspect) {
        c.aspectChanged = windowAspect != viewAspect;
        c.viewAspect = windowAspect;
        return c;
    }
    if (std::fabs(windowAspect - viewAspect) > 0.001f * viewAspect) {
        c.resizeFrame = true;
        c.clientHeight = static_cast<int>(std::lround(static_cast<float>(w) / viewAspect));
    }
    return c;
}

} // namespace kv::app
