#include "geometry/terrain_sort.h"

#include "common/unit_constants.h"
#include "common/vecmath.h"
#include "geometry/working_files.h"

#include <algorithm>
#include <cmath>

namespace kv::geom {
namespace {

constexpr std::string_view kUnsortable =
    "A terrain polygon could not be sorted. This may be caused by a very large or very "
    "small terrain size.";
constexpr std::string_view kUnreadable = "The terrain working file could not be read.";

/// |n.z| below this marks a vertical triangle; |Δx| below it a vertical edge.
constexpr double kFlat = 1e-8;

bool isEmpty(double h) {
    return CompareTolD(h, kEmptyHeight) == 0;
}

/// Index of the first grid line at or beyond `lo` (within tolerance), by
/// arithmetic on the uniform spacing; `count` when none is.
int firstLine(double lo, double origin, double step, int count) {
    if (!(step > 0.0))
        return 0;
    const double k = std::ceil((lo - origin) / step);
    if (!(k > 0.0))
        return 0;
    if (k >= static_cast<double>(count))
        return count;
    int index = static_cast<int>(k);
    // A line a rounding error short of `lo` still lies on the triangle.
    if (CompareTolD(static_cast<double>(index - 1) * step + origin, lo) == 0)
        --index;
    return index;
}

/// Index of the last grid line at or before `hi` (within tolerance); −1 when
/// none is.
int lastLine(double hi, double origin, double step, int count) {
    if (!(step > 0.0))
        return CompareTolD(origin, hi) <= 0 ? count - 1 : -1;
    const double k = std::floor((hi - origin) / step);
    if (!(k >= -1.0))
        return -1;
    if (k >= static_cast<double>(count - 1))
        return count - 1;
    int index = static_cast<int>(k);
    // A line a rounding error beyond `hi` still lies on the triangle.
    if (CompareTolD(static_cast<double>(index + 1) * step + origin, hi) == 0)
        ++index;
    return index;
}

/// `a` lies below `b` beyond the tolerance. The tolerant compare only runs
/// when `a` is below at all, which on the hot path it rarely is.
bool below(double a, double b) {
    return a < b && CompareTolD(a, b) < 0;
}
/// `a` lies above `b` beyond the tolerance.
bool above(double a, double b) {
    return a > b && CompareTolD(a, b) > 0;
}

/// The laid-out line and the one found by arithmetic are computed alike, so
/// they are nearly always identical; the tolerance settles the rest.
bool sameLine(double line, double v) {
    return line == v || CompareTolD(line, v) == 0;
}

Triangle<double> toFeet(const Triangle<double>& tri) {
    Triangle<double> f;
    for (std::size_t c = 0; c < 3; ++c) {
        for (std::size_t k = 0; k < 3; ++k)
            f[c][k] = tri[c][k] * kFeetPerMetreD;
    }
    return f;
}

bool finiteTriangle(const Triangle<double>& tri) {
    for (const auto& c : tri) {
        if (!std::isfinite(c[0]) || !std::isfinite(c[1]) || !std::isfinite(c[2]))
            return false;
    }
    return true;
}

void extendBounds(TerrainGrid& grid, const Triangle<double>& feet) {
    for (const auto& c : feet) {
        if (!std::isfinite(c[0]) || !std::isfinite(c[1]) || !std::isfinite(c[2]))
            continue;
        grid.xMin = std::min(grid.xMin, c[0]);
        grid.xMax = std::max(grid.xMax, c[0]);
        grid.yMin = std::min(grid.yMin, c[1]);
        grid.yMax = std::max(grid.yMax, c[1]);
    }
}

void layOutLines(std::vector<double>& lines, double origin, double step) {
    if (lines.empty())
        return;
    lines[0] = origin;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const double raw = lines[i - 1] + step;
        lines[i] = step > 0.0 ? origin + step * std::floor((raw - origin) / step + 0.5) : origin;
    }
}

} // namespace

void layOutTerrainGrid(TerrainGrid& grid) {
    // One line per axis, or a terrain without extent, has no spacing to speak
    // of; dividing by zero would fill the grid with infinities.
    const double span = static_cast<double>(grid.n - 1);
    grid.dx = grid.n > 1 && grid.xMax > grid.xMin ? (grid.xMax - grid.xMin) / span : 0.0;
    grid.dy = grid.n > 1 && grid.yMax > grid.yMin ? (grid.yMax - grid.yMin) / span : 0.0;
    layOutLines(grid.gridX, grid.xMin, grid.dx);
    layOutLines(grid.gridY, grid.yMin, grid.dy);
}

bool rasteriseTerrainTriangle(TerrainGrid& grid, const Triangle<double>& tri) {
    if (!finiteTriangle(tri))
        return false;
    const auto& p0 = tri[0];
    const auto& p1 = tri[1];
    const auto& p2 = tri[2];
    const double ax = p1[0] - p0[0], ay = p1[1] - p0[1], az = p1[2] - p0[2];
    const double bx = p2[0] - p0[0], by = p2[1] - p0[1], bz = p2[2] - p0[2];
    const double nx = ay * bz - az * by;
    const double ny = az * bx - ax * bz;
    const double nz = ax * by - ay * bx;
    if (std::fabs(nz) < kFlat)
        return true;
    if (!std::isfinite(grid.dx) || !std::isfinite(grid.dy))
        return false;

    const double txMin = std::min({p0[0], p1[0], p2[0]});
    const double txMax = std::max({p0[0], p1[0], p2[0]});
    const int n = grid.n;
    const std::size_t stride = static_cast<std::size_t>(n);
    double* heights = grid.heights.data();

    const int kLast = lastLine(txMax, grid.xMin, grid.dx, n);
    for (int k = firstLine(txMin, grid.xMin, grid.dx, n); k <= kLast; ++k) {
        const double x = static_cast<double>(k) * grid.dx + grid.xMin;
        if (below(x, txMin) || above(x, txMax))
            continue;
        if (!sameLine(grid.gridX[static_cast<std::size_t>(k)], x))
            return false;

        double yLo = kEmptyHeight, yHi = -kEmptyHeight;
        for (int e = 0; e < 3; ++e) {
            const auto& a = tri[static_cast<std::size_t>(e)];
            const auto& b = tri[static_cast<std::size_t>((e + 1) % 3)];
            const double ex = b[0] - a[0];
            if (std::fabs(ex) < kFlat)
                continue;
            const double lo = std::min(a[0], b[0]);
            const double hi = std::max(a[0], b[0]);
            if (below(x, lo) || above(x, hi))
                continue;
            const double u = std::clamp((x - a[0]) / ex, 0.0, 1.0);
            const double y = a[1] + u * (b[1] - a[1]);
            yLo = std::min(yLo, y);
            yHi = std::max(yHi, y);
        }
        if (yLo > yHi)
            continue;

        double* column = heights + static_cast<std::size_t>(k) * stride;
        const int mLast = lastLine(yHi, grid.yMin, grid.dy, n);
        for (int m = firstLine(yLo, grid.yMin, grid.dy, n); m <= mLast; ++m) {
            const double y = static_cast<double>(m) * grid.dy + grid.yMin;
            if (!sameLine(grid.gridY[static_cast<std::size_t>(m)], y))
                return false;
            const double z = p0[2] - (ny * (y - p0[1]) + nx * (x - p0[0])) / nz;
            double& held = column[m];
            if (z < held)
                held = z;
        }
    }
    return true;
}

void fillTerrainHoles(TerrainGrid& grid) {
    const int n = grid.n;
    const auto at = [&](int i, int j) -> double& {
        return grid.heights[static_cast<std::size_t>(i) * static_cast<std::size_t>(n) +
                            static_cast<std::size_t>(j)];
    };
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            double& h = at(i, j);
            if (!isEmpty(h))
                continue;
            h = 0.0;
            if (i > 0 && i < n - 1) {
                const double a = at(i - 1, j), b = at(i + 1, j);
                if (!isEmpty(a) && !isEmpty(b))
                    h = (a + b) / 2.0;
            } else if (j > 0 && j < n - 1) {
                const double a = at(i, j - 1), b = at(i, j + 1);
                if (!isEmpty(a) && !isEmpty(b))
                    h = (a + b) / 2.0;
            }
        }
    }
}

SortResult sortTerrain(TerrainGrid& grid, const std::filesystem::path& file,
                       std::int64_t triangleCount, ProgressPort& progress, MessagePort& messages) {
    if (!grid.allocated())
        return SortResult::Failed;
    progress.start("Sorting Terrain Polygons:");
    const auto fail = [&](SortResult r) {
        progress.finish();
        if (r == SortResult::Failed)
            messages.showMessage(kUnreadable);
        return r;
    };

    std::fill(grid.heights.begin(), grid.heights.end(), kEmptyHeight);
    grid.xMin = grid.yMin = kEmptyHeight;
    grid.xMax = grid.yMax = -kEmptyHeight;

    Triangle<double> tri;
    {
        TerrainStreamReader reader(file);
        for (;;) {
            const StreamRead r = reader.next(tri);
            if (r == StreamRead::End)
                break;
            if (r == StreamRead::Error)
                return fail(SortResult::Failed);
            extendBounds(grid, toFeet(tri));
        }
    }

    layOutTerrainGrid(grid);
    TerrainStreamReader reader(file);
    const double total = triangleCount > 0 ? static_cast<double>(triangleCount) : 1.0;
    std::int64_t done = 0;
    bool told = false;
    for (;;) {
        const StreamRead r = reader.next(tri);
        if (r == StreamRead::End)
            break;
        if (r == StreamRead::Error)
            return fail(SortResult::Failed);
        if (!rasteriseTerrainTriangle(grid, toFeet(tri)) && !told) {
            messages.showMessage(kUnsortable);
            told = true;
        }
        ++done;
        if (!progress.update(std::min(1.0, static_cast<double>(done) / total))) {
            return fail(SortResult::Aborted);
        }
    }
    fillTerrainHoles(grid);
    progress.finish();
    return SortResult::Sorted;
}

} // namespace kv::geom
