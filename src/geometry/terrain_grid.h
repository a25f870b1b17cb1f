#pragma once
/// The terrain grid: a regular N × N grid of ground heights built from the
/// terrain triangles, in feet. Every ground query is a bilinear lookup in it.

#include <cstddef>
#include <vector>

namespace kv::geom {

/// Height of a grid point that no triangle reached (ft).
inline constexpr double kEmptyHeight = 1.0e30;

struct TerrainGrid {
    /// Lines per axis; 0 when no grid is allocated.
    int n = 0;
    /// x of each grid line (ft), ascending.
    std::vector<double> gridX;
    /// y of each grid line (ft), ascending.
    std::vector<double> gridY;
    /// z of the ground at (gridX[i], gridY[j]) at index i × n + j (ft, down).
    std::vector<double> heights;
    /// Bounds of all terrain corners (ft).
    double xMin = kEmptyHeight;
    double xMax = -kEmptyHeight;
    double yMin = kEmptyHeight;
    double yMax = -kEmptyHeight;
    /// Line spacing (ft); 0 for a grid of one line or a terrain without extent.
    double dx = 0.0;
    double dy = 0.0;

    bool allocated() const { return n > 0; }
    double height(int i, int j) const {
        return heights[static_cast<std::size_t>(i) * static_cast<std::size_t>(n) +
                       static_cast<std::size_t>(j)];
    }
};

/// Allocates the three arrays for `n` lines per axis, every height empty and
/// the bounds inverted, releasing any previous arrays first so that two grids
/// never coexist. Returns false, leaving no grid, when `n` is not positive or
/// the memory cannot be had.
bool allocateTerrainGrid(TerrainGrid& grid, int n);

/// Frees the arrays; afterwards `allocated()` is false.
void releaseTerrainGrid(TerrainGrid& grid);

/// Bytes the three arrays of an `n`-line grid take.
std::size_t terrainGridBytes(int n);

} // namespace kv::geom
