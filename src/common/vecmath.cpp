#include "common/vecmath.h"

#include <cassert>
#include <cmath>

namespace kv {

void MatMul3(const Mat3& a, const Mat3& b, Mat3& c) {
    assert(&c != &a && &c != &b);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            float s = 0.0f;
            for (int k = 0; k < 3; ++k) {
                s += a[i * 3 + k] * b[k * 3 + j];
            }
            c[i * 3 + j] = s;
        }
    }
}

void Transpose3(const Mat3& a, Mat3& b) {
    assert(&a != &b);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            b[j * 3 + i] = a[i * 3 + j];
        }
    }
}

void MatCopy3(const Mat3& a, Mat3& b) { b = a; }

void MatIdentity(Mat3& m) { m = {1, 0, 0, 0, 1, 0, 0, 0, 1}; }

float InvertMatrix(float* a, int n) {
    constexpr int kMaxN = 50;
    assert(n > 0 && n <= kMaxN);
    int indxc[kMaxN];
    int indxr[kMaxN];
    int ipiv[kMaxN] = {};
    float det = 1.0f;
    int irow = 0;
    int icol = 0;
    for (int i = 0; i < n; ++i) {
        // Full pivoting: the largest element among rows and columns not yet
        // used, scanned row by row; the first strict maximum wins.
        float big = 0.0f;
        for (int j = 0; j < n; ++j) {
            if (ipiv[j] == 1) {
                continue;
            }
            for (int k = 0; k < n; ++k) {
                if (ipiv[k] == 0 && std::fabs(a[j * n + k]) > big) {
                    big = std::fabs(a[j * n + k]);
                    irow = j;
                    icol = k;
                }
            }
        }
        ++ipiv[icol];
        if (irow != icol) {
            for (int l = 0; l < n; ++l) {
                std::swap(a[irow * n + l], a[icol * n + l]);
            }
            det = -det;
        }
        indxr[i] = irow;
        indxc[i] = icol;
        const float pivot = a[icol * n + icol];
        det *= pivot;
        const float pivinv = 1.0f / pivot;
        a[icol * n + icol] = 1.0f;
        for (int l = 0; l < n; ++l) {
            a[icol * n + l] *= pivinv;
        }
        for (int ll = 0; ll < n; ++ll) {
            if (ll == icol) {
                continue;
            }
            const float dum = a[ll * n + icol];
            a[ll * n + icol] = 0.0f;
            for (int l = 0; l < n; ++l) {
                a[ll * n + l] -= a[icol * n + l] * dum;
            }
        }
    }
    // Undo the column interchanges in reverse pivot order.
    for (int l = n - 1; l >= 0; --l) {
        if (indxr[l] != indxc[l]) {
            for (int k = 0; k < n; ++k) {
                std::swap(a[k * n + indxr[l]], a[k * n + indxc[l]]);
            }
        }
    }
    return det;
}

float SignOf(float x) { return x >= 0.0f ? 1.0f : -1.0f; }

void VecCopy(const Vec3& x, Vec3& y) { y = x; }
void VecZero(Vec3& x) { x = {0.0f, 0.0f, 0.0f}; }

void VecMulElem(const Vec3& a, const Vec3& b, Vec3& c) {
    for (int i = 0; i < 3; ++i) {
        c[i] = a[i] * b[i];
    }
}

float VecLength(const Vec3& x) { return std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]); }

void VecNormalize(const Vec3& x, Vec3& y) {
    const float len = VecLength(x);
    if (len > 0.0f) {
        for (int i = 0; i < 3; ++i) {
            y[i] = x[i] / len;
        }
    } else {
        VecZero(y);
    }
}

float MaxOf(float a, float b) { return a > b ? a : b; }
double MaxOf(double a, double b) { return a > b ? a : b; }
float MinOf(float a, float b) { return a >= b ? b : a; }
double MinOf(double a, double b) { return a >= b ? b : a; }

namespace {
template <typename T> int compareWith(T a, T b, T tol) {
    T test;
    if (std::fabs(a) >= tol && std::fabs(b) >= tol) {
        test = (a - b) / a;
    } else if (std::fabs(a) >= tol) {
        test = a;
    } else {
        test = b;
    }
    if (std::fabs(test) < tol) {
        return 0;
    }
    return a > b ? 1 : -1;
}
} // namespace

int CompareTol(float a, float b) { return compareWith<float>(a, b, 0.001f); }
int CompareTolD(double a, double b) { return compareWith<double>(a, b, 1e-8); }

bool VecNearlyEqual(const Vec3& a, const Vec3& b) {
    return CompareTol(a[0], b[0]) == 0 && CompareTol(a[1], b[1]) == 0 &&
           CompareTol(a[2], b[2]) == 0;
}

bool VecEqual(const Vec3& a, const Vec3& b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

float WrapPi(float x) {
    x = std::fmod(x, kTwoPi);
    if (x > kPi) {
        x -= kTwoPi;
    } else if (x < -kPi) {
        x += kTwoPi;
    }
    return x;
}

float Wrap180(float x) {
    x = std::fmod(x, 360.0f);
    if (x > 180.0f) {
        x -= 360.0f;
    } else if (x < -180.0f) {
        x += 360.0f;
    }
    return x;
}

float Wrap360(float x) {
    x = std::fmod(x, 360.0f);
    if (x < 0.0f) {
        x += 360.0f;
    }
    return x;
}

void EulerToMatrix(float rollDeg, float pitchDeg, float yawDeg, Mat3& m) {
    const float phi = rollDeg * kRadPerDeg;
    const float theta = pitchDeg * kRadPerDeg;
    const float psi = yawDeg * kRadPerDeg;
    const float cf = std::cos(phi), sf = std::sin(phi);
    const float ct = std::cos(theta), st = std::sin(theta);
    const float cp = std::cos(psi), sp = std::sin(psi);
    m[0] = ct * cp;
    m[1] = ct * sp;
    m[2] = -st;
    m[3] = sf * st * cp - cf * sp;
    m[4] = sf * st * sp + cf * cp;
    m[5] = sf * ct;
    m[6] = cf * st * cp + sf * sp;
    m[7] = cf * st * sp - sf * cp;
    m[8] = cf * ct;
}

void EulerToQuat(float roll, float pitch, float yaw, std::array<float, 4>& q) {
    const float cf = std::cos(roll * 0.5f), sf = std::sin(roll * 0.5f);
    const float ct = std::cos(pitch * 0.5f), st = std::sin(pitch * 0.5f);
    const float cp = std::cos(yaw * 0.5f), sp = std::sin(yaw * 0.5f);
    q[0] = cf * ct * cp + sf * st * sp;
    q[1] = sf * ct * cp - cf * st * sp;
    q[2] = cf * st * cp + sf * ct * sp;
    q[3] = cf * ct * sp - sf * st * cp;
}

void QuatToMatrix(std::array<float, 4>& q, Mat3& b, Mat3& e) {
    const float inv = 1.0f / std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (float& v : q) {
        v *= inv;
    }
    const float q0 = q[0], q1 = q[1], q2 = q[2], q3 = q[3];
    b[0] = q0 * q0 + q1 * q1 - q2 * q2 - q3 * q3;
    b[1] = 2.0f * (q1 * q2 - q0 * q3);
    b[2] = 2.0f * (q0 * q2 + q1 * q3);
    b[3] = 2.0f * (q0 * q3 + q1 * q2);
    b[4] = q0 * q0 - q1 * q1 + q2 * q2 - q3 * q3;
    b[5] = 2.0f * (q2 * q3 - q0 * q1);
    b[6] = 2.0f * (q1 * q3 - q0 * q2);
    b[7] = 2.0f * (q0 * q1 + q2 * q3);
    b[8] = q0 * q0 - q1 * q1 - q2 * q2 + q3 * q3;
    Transpose3(b, e);
}

void MatrixToEuler(const Mat3& e, float& roll, float& pitch, float& yaw) {
    yaw = std::atan2(e[1], e[0]);
    pitch = std::atan2(-e[2], std::sqrt(e[0] * e[0] + e[1] * e[1]));
    roll = std::atan2(e[5], e[8]);
}

void NedToGeodetic(double lat0, double lon0, float north, float east, float down, double& lat,
                   double& lon) {
    const double rMinusD = kEarthRadiusFt - static_cast<double>(down);
    lat = lat0 + kDegPerRadD * std::atan2(static_cast<double>(north), rMinusD);
    if (std::fabs(lat) != 90.0) {
        lon = lon0 + kDegPerRadD * std::atan(-std::cos(lat / kDegPerRadD) *
                                             static_cast<double>(east) / rMinusD);
    } else {
        lon = 0.0;
    }
}

} // namespace kv
