#pragma once
/// Sorting the terrain triangles of a working file into the terrain grid.

#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "common/unit_constants.h"
#include "geometry/face_split.h"
#include "geometry/terrain_grid.h"

#include <cstdint>
#include <filesystem>

namespace kv::geom {

enum class SortResult {
    Sorted,  ///< the grid holds the terrain
    Aborted, ///< the user aborted from the progress display
    Failed   ///< the working file could not be read (message shown)
};

/// Builds `grid` (already allocated) from the terrain working file `file`
/// holding `triangleCount` triangles: pass 1 finds the bounds, pass 2 lays out
/// the grid lines and rasterises every triangle (the highest surface wins at
/// each grid point), then uncovered points are filled. The progress display
/// ("Sorting Terrain Polygons:") is updated after each triangle of pass 2.
/// A triangle that cannot be placed is skipped with a message, shown once per
/// sort however many such triangles there are.
SortResult sortTerrain(TerrainGrid& grid, const std::filesystem::path& file,
                       std::int64_t triangleCount, ProgressPort& progress, MessagePort& messages);

/// Rasterises one triangle (corners in feet) into a grid whose lines are laid
/// out. Returns false when some of its grid points cannot be located.
bool rasteriseTerrainTriangle(TerrainGrid& grid, const Triangle<double>& tri);

/// Lays out the grid lines from the bounds already in `grid`.
void layOutTerrainGrid(TerrainGrid& grid);

/// Fills every point no triangle reached: 0, or the mean of its two x
/// neighbours (else its two y neighbours) when neither of them is empty.
void fillTerrainHoles(TerrainGrid& grid);

} // namespace kv::geom
