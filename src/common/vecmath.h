#pragma once
/// Small vector and matrix helpers used throughout the engine.
///
/// Vectors are three single-precision floats and matrices nine floats in row
/// order. The component-wise helpers (VecAdd, VecSub, VecScale, VecMulElem,
/// VecNormalize) may write into one of their inputs; the others need an output
/// distinct from their inputs. The arithmetic is deliberately single precision:
/// recorded runs are compared bit for bit, so the rounding is part of the result.

#include "common/unit_constants.h"

#include <array>
#include <cassert>

namespace kv {

using Vec3 = std::array<float, 3>;
using Mat3 = std::array<float, 9>;

void MatMul3(const Mat3& a, const Mat3& b, Mat3& c);
void Transpose3(const Mat3& a, Mat3& b);
void MatCopy3(const Mat3& a, Mat3& b);
void MatIdentity(Mat3& m);

/// In-place Gauss-Jordan inversion with full pivoting of an n x n row-major
/// matrix (n <= 50). Returns the determinant: the product of the pivots, negated
/// once per row interchange. A singular matrix is not detected (its determinant
/// is 0 and the result is meaningless).
float InvertMatrix(float* a, int n);

/// +1 for x >= 0, else -1.
float SignOf(float x);

void VecCopy(const Vec3& x, Vec3& y);
void VecZero(Vec3& x);
void VecMulElem(const Vec3& a, const Vec3& b, Vec3& c);
float VecLength(const Vec3& x);

// The helpers below run for every contact point of every physics step, so
// they are inline; each still evaluates its terms in the written order.

inline void MatVec3(const Mat3& m, const Vec3& x, Vec3& y) {
    assert(&x != &y);
    for (int i = 0; i < 3; ++i) {
        y[i] = m[i * 3] * x[0] + m[i * 3 + 1] * x[1] + m[i * 3 + 2] * x[2];
    }
}

inline void VecScale(const Vec3& x, float s, Vec3& y) {
    for (int i = 0; i < 3; ++i) {
        y[i] = s * x[i];
    }
}

inline void VecAdd(const Vec3& a, const Vec3& b, Vec3& c) {
    for (int i = 0; i < 3; ++i) {
        c[i] = a[i] + b[i];
    }
}

inline void VecSub(const Vec3& a, const Vec3& b, Vec3& c) {
    for (int i = 0; i < 3; ++i) {
        c[i] = a[i] - b[i];
    }
}

inline float VecDot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

inline void VecCross(const Vec3& a, const Vec3& b, Vec3& c) {
    assert(&c != &a && &c != &b);
    c[0] = a[1] * b[2] - a[2] * b[1];
    c[1] = a[2] * b[0] - a[0] * b[2];
    c[2] = a[0] * b[1] - a[1] * b[0];
}

/// x/|x|, or the zero vector when |x| is not positive.
void VecNormalize(const Vec3& x, Vec3& y);

/// m^T x, without forming the transpose.
inline void MatTVec3(const Mat3& m, const Vec3& x, Vec3& y) {
    assert(&x != &y);
    for (int i = 0; i < 3; ++i) {
        y[i] = m[i] * x[0] + m[3 + i] * x[1] + m[6 + i] * x[2];
    }
}

// Value-returning forms of the helpers above, for code that reads better as
// nested expressions (camera paths, view set-up). Same terms, same order, so
// the same bits as the output-parameter forms.

inline Vec3 VecAdd(const Vec3& a, const Vec3& b) {
    Vec3 c;
    VecAdd(a, b, c);
    return c;
}

inline Vec3 VecSub(const Vec3& a, const Vec3& b) {
    Vec3 c;
    VecSub(a, b, c);
    return c;
}

inline Vec3 VecScale(const Vec3& x, float s) {
    Vec3 y;
    VecScale(x, s, y);
    return y;
}

inline Vec3 MatVec3(const Mat3& m, const Vec3& x) {
    Vec3 y;
    MatVec3(m, x, y);
    return y;
}

inline Vec3 MatTVec3(const Mat3& m, const Vec3& x) {
    Vec3 y;
    MatTVec3(m, x, y);
    return y;
}

inline Mat3 MatMul3(const Mat3& a, const Mat3& b) {
    Mat3 c;
    MatMul3(a, b, c);
    return c;
}

inline Mat3 Transpose3(const Mat3& a) {
    Mat3 t;
    Transpose3(a, t);
    return t;
}

/// a > b ? a : b (a tie returns b).
float MaxOf(float a, float b);
double MaxOf(double a, double b);
/// a >= b ? b : a (a tie returns b).
float MinOf(float a, float b);
double MinOf(double a, double b);

/// Three-way compare with a relative tolerance of 0.001: 0 when equal within
/// tolerance, +1 when a > b, -1 otherwise.
int CompareTol(float a, float b);
/// The same rule in double precision with tolerance 1e-8.
int CompareTolD(double a, double b);
bool VecNearlyEqual(const Vec3& a, const Vec3& b);
bool VecEqual(const Vec3& a, const Vec3& b);

/// Wraps an angle (rad) into [-pi, pi].
float WrapPi(float x);
/// Wraps an angle (deg) into [-180, 180].
float Wrap180(float x);
/// Wraps an angle (deg) into [0, 360).
float Wrap360(float x);

/// (roll, pitch, yaw) in degrees to the earth-to-body matrix.
void EulerToMatrix(float rollDeg, float pitchDeg, float yawDeg, Mat3& earthToBody);
/// (roll, pitch, yaw) in radians to the attitude quaternion (q0 scalar).
void EulerToQuat(float roll, float pitch, float yaw, std::array<float, 4>& q);
/// Normalises q in place, then writes the body-to-earth matrix and its
/// transpose, the earth-to-body matrix.
void QuatToMatrix(std::array<float, 4>& q, Mat3& bodyToEarth, Mat3& earthToBody);
/// Euler angles (rad) from an earth-to-body matrix.
void MatrixToEuler(const Mat3& earthToBody, float& roll, float& pitch, float& yaw);

/// Local north/east/down offsets (ft) from an origin (deg) to latitude and
/// longitude (deg, longitude positive west).
void NedToGeodetic(double lat0, double lon0, float north, float east, float down, double& lat,
                   double& lon);

} // namespace kv
