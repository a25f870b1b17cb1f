#include "geometry/dxf_transform.h"

#include <cmath>

namespace kv::geom {

namespace {

using Mat = std::array<double, 9>;

/// Left-hand file axes to system axes: (x, y, z) -> (z, x, -y).
constexpr Mat kLeftHandImport{0.0, 0.0, 1.0, 1.0, 0.0, 0.0, 0.0, -1.0, 0.0};

Mat transposed(const Mat& a) {
    return {a[0], a[3], a[6], a[1], a[4], a[7], a[2], a[5], a[8]};
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
    const double phi = rollDeg * kRadPerDegD;
    const double theta = pitchDeg * kRadPerDegD;
    const double psi = yawDeg * kRadPerDegD;
    const double cf = std::cos(phi), sf = std::sin(phi);
    const double ct = std::cos(theta), st = std::sin(theta);
    const double cp = std::cos(psi), sp = std::sin(psi);
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
    mapping.m = transform.rightHanded == 1 ? rt : multiplied(rt, kLeftHandImport);
    for (int i = 0; i < 3; ++i) {
        mapping.s[i] = static_cast<double>(transform.scale[i]) * transform.fileUnit;
        mapping.t[i] = transform.translate[i];
    }
    return mapping;
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
