#include "simulation/collision/obb_overlap.h"

#include <cmath>

namespace kv::sim::collision {
namespace {

/// Added to every |R| term so that nearly parallel axes, whose cross products
/// are close to zero, cannot separate boxes through rounding.
constexpr float kParallelSlack = 1e-6f;

/// True when the projections of the two triangles on `axis` do not overlap.
/// The first triangle's first corner is the origin.
inline bool separatedOn(const Vec3& axis, const Vec3& p2, const Vec3& p3, const Vec3& q1,
                        const Vec3& q2, const Vec3& q3) {
    const float a2 = VecDot(p2, axis);
    const float a3 = VecDot(p3, axis);
    float minP = 0.0f;
    float maxP = 0.0f;
    if (a2 < minP)
        minP = a2;
    if (a2 > maxP)
        maxP = a2;
    if (a3 < minP)
        minP = a3;
    if (a3 > maxP)
        maxP = a3;
    const float b1 = VecDot(q1, axis);
    const float b2 = VecDot(q2, axis);
    const float b3 = VecDot(q3, axis);
    float minQ = b1;
    float maxQ = b1;
    if (b2 < minQ)
        minQ = b2;
    if (b2 > maxQ)
        maxQ = b2;
    if (b3 < minQ)
        minQ = b3;
    if (b3 > maxQ)
        maxQ = b3;
    return minP > maxQ || minQ > maxP;
}

} // namespace

int obbDisjoint(const Mat3& r, const Vec3& t, const Vec3& a, const Vec3& b) {
    float ar[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            ar[i][j] = std::fabs(r[i * 3 + j]) + kParallelSlack;
    }
    auto R = [&r](int i, int j) { return r[i * 3 + j]; };

    // A's axes.
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(t[i]) > a[i] + b[0] * ar[i][0] + b[1] * ar[i][1] + b[2] * ar[i][2]) {
            return 1 + i;
        }
    }
    // B's axes.
    for (int j = 0; j < 3; ++j) {
        const float s = t[0] * R(0, j) + t[1] * R(1, j) + t[2] * R(2, j);
        if (std::fabs(s) > b[j] + a[0] * ar[0][j] + a[1] * ar[1][j] + a[2] * ar[2][j]) {
            return 4 + j;
        }
    }
    // A_i × B_j. With i1, i2 the other two axes of A and j1, j2 those of B (in
    // cyclic order), the projection of t is t_i2 R_i1j − t_i1 R_i2j, A's radius
    // a_i1 |R_i2j| + a_i2 |R_i1j| and B's radius b_j1 |R_ij2| + b_j2 |R_ij1|.
    for (int i = 0; i < 3; ++i) {
        const int i1 = (i + 1) % 3;
        const int i2 = (i + 2) % 3;
        for (int j = 0; j < 3; ++j) {
            const int j1 = (j + 1) % 3;
            const int j2 = (j + 2) % 3;
            const float s = t[i2] * R(i1, j) - t[i1] * R(i2, j);
            if (std::fabs(s) >
                a[i1] * ar[i2][j] + a[i2] * ar[i1][j] + b[j1] * ar[i][j2] + b[j2] * ar[i][j1]) {
                return 7 + i * 3 + j;
            }
        }
    }
    return 0;
}

bool triContact(const Vec3& p1, const Vec3& p2, const Vec3& p3, const Vec3& q1, const Vec3& q2,
                const Vec3& q3) {
    // Everything relative to p1, so that the first triangle starts at the origin.
    Vec3 a2{};
    Vec3 a3{};
    Vec3 b1{};
    Vec3 b2{};
    Vec3 b3{};
    for (int i = 0; i < 3; ++i) {
        a2[i] = p2[i] - p1[i];
        a3[i] = p3[i] - p1[i];
        b1[i] = q1[i] - p1[i];
        b2[i] = q2[i] - p1[i];
        b3[i] = q3[i] - p1[i];
    }
    Vec3 e[3];
    Vec3 f[3];
    for (int i = 0; i < 3; ++i) {
        e[0][i] = a2[i];
        e[1][i] = a3[i] - a2[i];
        e[2][i] = -a3[i];
        f[0][i] = b2[i] - b1[i];
        f[1][i] = b3[i] - b2[i];
        f[2][i] = b1[i] - b3[i];
    }
    Vec3 n{};
    Vec3 m{};
    VecCross(e[0], e[1], n);
    VecCross(f[0], f[1], m);
    if (separatedOn(n, a2, a3, b1, b2, b3))
        return false;
    if (separatedOn(m, a2, a3, b1, b2, b3))
        return false;
    Vec3 axis{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            VecCross(e[i], f[j], axis);
            if (separatedOn(axis, a2, a3, b1, b2, b3))
                return false;
        }
    }
    for (int i = 0; i < 3; ++i) {
        VecCross(e[i], n, axis);
        if (separatedOn(axis, a2, a3, b1, b2, b3))
            return false;
    }
    for (int i = 0; i < 3; ++i) {
        VecCross(f[i], m, axis);
        if (separatedOn(axis, a2, a3, b1, b2, b3))
            return false;
    }
    return true;
}

} // namespace kv::sim::collision
