#include "geometry/terrain_grid.h"

#include <new>
#include <stdexcept>

namespace kv::geom {

bool allocateTerrainGrid(TerrainGrid& grid, int n) {
    releaseTerrainGrid(grid);
    if (n <= 0)
        return false;
    const auto count = static_cast<std::size_t>(n);
    try {
        grid.gridX.assign(count, 0.0);
        grid.gridY.assign(count, 0.0);
        grid.heights.assign(count * count, kEmptyHeight);
    } catch (const std::bad_alloc&) {
        releaseTerrainGrid(grid);
        return false;
    } catch (const std::length_error&) {
        releaseTerrainGrid(grid);
        return false;
    }
    grid.n = n;
    return true;
}

void releaseTerrainGrid(TerrainGrid& grid) {
    // Swapping with empty vectors returns the memory; clear() would keep it.
    std::vector<double>().swap(grid.gridX);
    std::vector<double>().swap(grid.gridY);
    std::vector<double>().swap(grid.heights);
    grid.n = 0;
    grid.xMin = grid.yMin = kEmptyHeight;
    grid.xMax = grid.yMax = -kEmptyHeight;
    grid.dx = grid.dy = 0.0;
}

std::size_t terrainGridBytes(int n) {
    const auto count = static_cast<std::size_t>(n > 0 ? n : 0);
    return count * (count + 2) * sizeof(double);
}

} // namespace kv::geom
