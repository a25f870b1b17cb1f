#include "geometry/import_transform.h"

#include <cmath>

namespace kv::geom {
namespace {

/// The left-hand import matrix: a file point (x, y, z) becomes (z, x, −y).
constexpr Matrix3d kLeftHandImport = {0, 0, 1, 1, 0, 0, 0, -1, 0};

Matrix3d multiply(const Matrix3d& a, const Matrix3d& b) {
    Matrix3d c{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k) {
                sum += a[i * 3 + k] * b[k * 3 + j];
            }
            c[i * 3 + j] = sum;
        }
    }
    return c;
}

Matrix3d transpose(const Matrix3d& a) {
    return {a[0], a[3], a[6], a[1], a[4], a[7], a[2], a[5], a[8]};
}

} // namespace

Matrix3d importRotation(float rollDeg, float pitchDeg, float yawDeg) {
    const double phi = rollDeg * kImportDegToRad;
    const double theta = pitchDeg * kImportDegToRad;
    const double psi = yawDeg * kImportDegToRad;
    const double cf = std::cos(phi);
    const double sf = std::sin(phi);
    const double ct = std::cos(theta);
    const double st = std::sin(theta);
    const double cp = std::cos(psi);
    const double sp = std::sin(psi);
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

ImportMapping makeImportMapping(const model::GeometryTransform& transform) {
    ImportMapping mapping;
    const Matrix3d rt =
        transpose(importRotation(transform.rotate[0], transform.rotate[1], transform.rotate[2]));
    mapping.m = transform.rightHanded == 1 ? rt : multiply(rt, kLeftHandImport);
    for (int i = 0; i < 3; ++i) {
        mapping.s[i] = static_cast<double>(transform.scale[i]) * transform.fileUnit;
        mapping.t[i] = transform.translate[i];
    }
    return mapping;
}

bool isInvertible(const ImportMapping& mapping) {
    for (const double s : mapping.s) {
        if (!std::isfinite(s) || s == 0.0)
            return false;
    }
    return true;
}

Point3d applyImport(const ImportMapping& mapping, const Point3d& p) {
    const Point3d scaled = {mapping.s[0] * p[0], mapping.s[1] * p[1], mapping.s[2] * p[2]};
    Point3d out{};
    for (int i = 0; i < 3; ++i) {
        out[i] = mapping.m[i * 3] * scaled[0] + mapping.m[i * 3 + 1] * scaled[1] +
                 mapping.m[i * 3 + 2] * scaled[2] + mapping.t[i];
    }
    return out;
}

Point3d undoImport(const ImportMapping& mapping, const Point3d& p) {
    const Point3d moved = {p[0] - mapping.t[0], p[1] - mapping.t[1], p[2] - mapping.t[2]};
    Point3d out{};
    for (int i = 0; i < 3; ++i) {
        // Column i of M is row i of Mᵀ.
        const double back =
            mapping.m[i] * moved[0] + mapping.m[3 + i] * moved[1] + mapping.m[6 + i] * moved[2];
        out[i] = back / mapping.s[i];
    }
    return out;
}

} // namespace kv::geom
