#include "geometry/terrain_query.h"

#include <cmath>

namespace kv::geom {
namespace {

/// Moves `index` to the first line beyond `v` (lines[index − 1] ≤ v < lines[index]),
/// or to `count` when v lies at or beyond the last line, and returns the
/// fraction towards line index − 1; clamps the index into the grid.
double locate(const double* lines, int count, int& index, double v) {
    while (index < count && v >= lines[index])
        ++index;
    while (index > 0 && v < lines[index - 1])
        --index;
    if (index >= count) {
        index = count - 1;
        return 0.0;
    }
    if (index == 0)
        return 0.0;
    return (lines[index] - v) / (lines[index] - lines[index - 1]);
}

constexpr double kNormalStep = 0.05; // ft

} // namespace

double terrainHeight(const TerrainGrid* grid, TerrainCursor& cursor, bool reset, double x,
                     double y) {
    if (grid == nullptr || !grid->allocated())
        return 0.0;
    const int n = grid->n;
    if (reset || cursor.countX != n || cursor.countY != n) {
        cursor.countX = cursor.countY = n;
        cursor.ix = cursor.iy = 0;
    }
    cursor.tx = locate(grid->gridX.data(), n, cursor.ix, x);
    cursor.ty = locate(grid->gridY.data(), n, cursor.iy, y);
    const int i = cursor.ix;
    const int j = cursor.iy;
    const double tx = cursor.tx;
    double c = grid->height(i, j);
    if (i > 0)
        c -= tx * (c - grid->height(i - 1, j));
    if (j == 0)
        return c;
    double d = grid->height(i, j - 1);
    if (i > 0)
        d -= tx * (d - grid->height(i - 1, j - 1));
    return c - cursor.ty * (c - d);
}

GroundSample terrainHeightAndNormal(const TerrainGrid* grid, TerrainCursor& cursor, bool reset,
                                    double x, double y) {
    GroundSample out;
    if (grid == nullptr || !grid->allocated())
        return out;
    const double z0 = terrainHeight(grid, cursor, reset, x, y);
    const double offsets[4][2] = {
        {kNormalStep, 0.0}, {0.0, -kNormalStep}, {-kNormalStep, 0.0}, {0.0, kNormalStep}};
    std::array<std::array<double, 3>, 4> v{};
    for (std::size_t k = 0; k < 4; ++k) {
        const double px = x + offsets[k][0];
        const double py = y + offsets[k][1];
        v[k] = {px - x, py - y, terrainHeight(grid, cursor, false, px, py) - z0};
    }
    std::array<double, 3> sum{0, 0, 0};
    for (std::size_t k = 0; k < 4; ++k) {
        const auto& a = v[k];
        const auto& b = v[(k + 1) % 4];
        sum[0] += a[1] * b[2] - a[2] * b[1];
        sum[1] += a[2] * b[0] - a[0] * b[2];
        sum[2] += a[0] * b[1] - a[1] * b[0];
    }
    const double len = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
    out.z = z0;
    if (len > 0.0 && std::isfinite(len)) {
        out.normal = {sum[0] / len, sum[1] / len, sum[2] / len};
    }
    return out;
}

} // namespace kv::geom
