#pragma once
/// Faces for feeding terrain and scenery imports in tests (metres, system axes).

#include <array>
#include <vector>

namespace kv::test {

using Face = std::array<double, 12>;
using Point = std::array<double, 3>;

/// A triangle as a DXF face: the fourth corner repeats the third.
inline Face triangleFace(const Point& a, const Point& b, const Point& c) {
    return {a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2], c[0], c[1], c[2]};
}

/// A horizontal rectangle [x0, x1] × [y0, y1] at height z as one four-corner face.
inline Face squareFace(double x0, double y0, double x1, double y1, double z) {
    return {x0, y0, z, x1, y0, z, x1, y1, z, x0, y1, z};
}

/// A rectangle of the plane z = z0 + gx·x + gy·y as one four-corner face.
inline Face planeFace(double x0, double y0, double x1, double y1, double z0, double gx, double gy) {
    const auto z = [&](double x, double y) { return z0 + gx * x + gy * y; };
    return {x0, y0, z(x0, y0), x1, y0, z(x1, y0), x1, y1, z(x1, y1), x0, y1, z(x0, y1)};
}

} // namespace kv::test
