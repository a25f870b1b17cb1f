#include "geometry/terrain_query.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

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

double terrainHighestIn(const TerrainGrid* grid, double x0, double y0, double x1, double y1) {
    if (grid == nullptr || !grid->allocated())
        return 0.0;
    const int n = grid->n;
    // A lookup at v interpolates between lines index − 1 and index (clamped).
    auto span = [n](const std::vector<double>& lines, double lo, double hi, int& first, int& last) {
        const auto end = lines.begin() + n;
        const auto a = static_cast<int>(std::upper_bound(lines.begin(), end, lo) - lines.begin());
        const auto b = static_cast<int>(std::upper_bound(lines.begin(), end, hi) - lines.begin());
        first = std::max(a - 1, 0);
        last = std::min(b, n - 1);
    };
    int i0 = 0, i1 = 0, j0 = 0, j1 = 0;
    span(grid->gridX, x0, x1, i0, i1);
    span(grid->gridY, y0, y1, j0, j1);
    double highest = std::numeric_limits<double>::infinity();
    for (int i = i0; i <= i1; ++i) {
        for (int j = j0; j <= j1; ++j)
            highest = std::min(highest, grid->height(i, j));
    }
    return highest;
}

} // namespace kv::geom
