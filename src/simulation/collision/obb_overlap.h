#pragma once
/// Overlap tests of the box tree: box against box by separating axes, and
/// triangle against triangle.

#include "common/vecmath.h"

namespace kv::sim::collision {

/// Separating-axis test of two boxes. `a` and `b` are the half-dimensions of
/// boxes A and B, `r` B's orientation in A's frame (row order) and `t` B's
/// centre in A's frame. Returns 0 when the boxes overlap, else the number
/// (1..15) of the first separating axis: A's three axes, B's three axes, then
/// the nine cross products A_i × B_j in the order i, j.
int obbDisjoint(const Mat3& r, const Vec3& t, const Vec3& a, const Vec3& b);

/// True when triangles (p1, p2, p3) and (q1, q2, q3) intersect; touching counts.
bool triContact(const Vec3& p1, const Vec3& p2, const Vec3& p3, const Vec3& q1, const Vec3& q2,
                const Vec3& q3);

} // namespace kv::sim::collision
