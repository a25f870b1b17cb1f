#include "geometry/dxf_transform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kv::geom {

namespace {

using Mat = std::array<double, 9>;

Mat transposed(const Mat& a) {
    return {a[0], a[3], a[6], a[1], a[4], a[7], a[2], a[5], a[8]};
}

/// Sine and cosine of an angle (deg), exact at whole quarter turns so that a
/// file turned by them keeps its coordinates exactly.
void sinCosDeg(double deg, double& s, double& c) {
    const double quarters = deg / 90.0;
    const double whole = std::round(quarters);
    if (quarters == whole && std::fabs(whole) < 1.0e9) {
        const long long q = static_cast<long long>(whole) % 4;
        static constexpr double kSin[4] = {0.0, 1.0, 0.0, -1.0};
        static constexpr double kCos[4] = {1.0, 0.0, -1.0, 0.0};
        const auto i = static_cast<std::size_t>((q + 4) % 4);
        s = kSin[i];
        c = kCos[i];
        return;
    }
    s = std::sin(deg * kRadPerDegD);
    c = std::cos(deg * kRadPerDegD);
}

Mat multiplied(const Mat& a, const Mat& b) {
    Mat c{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            c[i * 3 + j] = a[i * 3] * b[j] + a[i * 3 + 1] * b[3 + j] + a[i * 3 + 2] * b[6 + j];
        }
    }
    return c;
}

} // namespace

std::array<double, 9> dxfRotation(double rollDeg, double pitchDeg, double yawDeg) {
    double sf = 0.0, cf = 1.0, st = 0.0, ct = 1.0, sp = 0.0, cp = 1.0;
    sinCosDeg(rollDeg, sf, cf);
    sinCosDeg(pitchDeg, st, ct);
    sinCosDeg(yawDeg, sp, cp);
    return {ct * cp,
            ct * sp,
            -st,
            sf * st * cp - cf * sp,
            sf * st * sp + cf * cp,
            sf * ct,
            cf * st * cp + sf * sp,
            cf * st * sp - sf * cp,
            cf * ct};
}

DxfImportMapping makeDxfImportMapping(const model::GeometryTransform& transform) {
    DxfImportMapping mapping;
    const Mat rt =
        transposed(dxfRotation(transform.rotate[0], transform.rotate[1], transform.rotate[2]));
    mapping.m = transform.rightHanded == 1 ? rt : multiplied(rt, dxfAxesToSystem(DxfAxes::LeftHand));
    for (int i = 0; i < 3; ++i) {
        mapping.s[i] = static_cast<double>(transform.scale[i]) * transform.fileUnit;
        mapping.t[i] = transform.translate[i];
    }
    return mapping;
}

std::array<double, 3> dxfRotationAngles(const std::array<double, 9>& r) {
    const double sinPitch = std::clamp(-r[2], -1.0, 1.0);
    const double pitch = std::asin(sinPitch);
    double roll = 0.0;
    double yaw = 0.0;
    if (std::fabs(sinPitch) < 1.0 - 1.0e-12) {
        roll = std::atan2(r[5], r[8]);
        yaw = std::atan2(r[1], r[0]);
    } else {
        yaw = std::atan2(-r[3], r[4]);
    }
    return {roll * kDegPerRadD, pitch * kDegPerRadD, yaw * kDegPerRadD};
}

DxfAxes transformAxes(const model::GeometryTransform& transform) {
    if (transform.rightHanded != 1)
        return DxfAxes::LeftHand;
    const Mat r = dxfRotation(transform.rotate[0], transform.rotate[1], transform.rotate[2]);
    // r[8] is the down component of the file's z axis after the turn.
    return r[8] < 0.0 ? DxfAxes::ZUp : DxfAxes::RightHand;
}

std::array<float, 3> transformUserRotation(const model::GeometryTransform& transform) {
    if (transformAxes(transform) != DxfAxes::ZUp)
        return transform.rotate;
    // Stored R = Z U with Z the z-up turn (symmetric and its own inverse), so U = Z R.
    const Mat r = dxfRotation(transform.rotate[0], transform.rotate[1], transform.rotate[2]);
    const std::array<double, 3> a = dxfRotationAngles(multiplied(dxfAxesToSystem(DxfAxes::ZUp), r));
    return {static_cast<float>(a[0]), static_cast<float>(a[1]), static_cast<float>(a[2])};
}

void setTransformAxes(model::GeometryTransform& transform, DxfAxes axes,
                      const std::array<float, 3>& rotate) {
    transform.rightHanded = axes == DxfAxes::LeftHand ? 0 : 1;
    if (axes != DxfAxes::ZUp) {
        transform.rotate = rotate;
        return;
    }
    const Mat u = dxfRotation(rotate[0], rotate[1], rotate[2]);
    const std::array<double, 3> a = dxfRotationAngles(multiplied(dxfAxesToSystem(DxfAxes::ZUp), u));
    transform.rotate = {static_cast<float>(a[0]), static_cast<float>(a[1]),
                        static_cast<float>(a[2])};
}

model::GeometryTransform defaultTransformFor(DxfAxes axes) {
    model::GeometryTransform t;
    setTransformAxes(t, axes, {0.0f, 0.0f, 0.0f});
    return t;
}

std::array<double, 3> applyDxfImport(const DxfImportMapping& mapping,
                                     const std::array<double, 3>& filePoint) {
    const double x = mapping.s[0] * filePoint[0];
    const double y = mapping.s[1] * filePoint[1];
    const double z = mapping.s[2] * filePoint[2];
    const Mat& m = mapping.m;
    return {m[0] * x + m[1] * y + m[2] * z + mapping.t[0],
            m[3] * x + m[4] * y + m[5] * z + mapping.t[1],
            m[6] * x + m[7] * y + m[8] * z + mapping.t[2]};
}

std::array<double, 3> undoDxfImport(const DxfImportMapping& mapping,
                                    const std::array<double, 3>& systemPoint) {
    const double x = systemPoint[0] - mapping.t[0];
    const double y = systemPoint[1] - mapping.t[1];
    const double z = systemPoint[2] - mapping.t[2];
    const Mat& m = mapping.m;
    return {(m[0] * x + m[3] * y + m[6] * z) / mapping.s[0],
            (m[1] * x + m[4] * y + m[7] * z) / mapping.s[1],
            (m[2] * x + m[5] * y + m[8] * z) / mapping.s[2]};
}

} // namespace kv::geom
