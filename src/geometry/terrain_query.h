#pragma once
/// Ground queries: bilinear lookup of the terrain grid at a point (ft).

#include "geometry/terrain_grid.h"

#include <array>

namespace kv::geom {

/// Remembers where the previous query landed, so that a query near it costs a
/// few comparisons. Each caller that walks its own path (a tire, a skid) keeps
/// its own cursor.
struct TerrainCursor {
    int countX = 0;  ///< lines in x of the grid the cursor was last used on
    int countY = 0;  ///< lines in y
    int ix = 0;      ///< first x line at or beyond the query, 0..countX − 1
    int iy = 0;      ///< first y line at or beyond the query
    double tx = 0.0; ///< interpolation fraction towards line ix − 1
    double ty = 0.0; ///< interpolation fraction towards line iy − 1
};

struct GroundSample {
    double z = 0.0;                         ///< ground height (ft, down)
    std::array<double, 3> normal{0, 0, -1}; ///< unit normal, pointing up (−z)
};

/// Ground height z (ft) at (x, y) ft. `grid` is null when no terrain is present
/// (the answer is then 0). `reset` starts the search from line 0, for a point
/// unrelated to the previous one. Beyond the outer grid lines the edge heights
/// extend without limit.
double terrainHeight(const TerrainGrid* grid, TerrainCursor& cursor, bool reset, double x,
                     double y);

/// Height at (x, y) and the ground normal from the heights 0.05 ft ahead,
/// to the left, behind and to the right. No terrain: z 0, normal (0, 0, −1).
GroundSample terrainHeightAndNormal(const TerrainGrid* grid, TerrainCursor& cursor, bool reset,
                                    double x, double y);

/// A bound on the ground over the box [x0, x1] × [y0, y1] (ft): no height that
/// `terrainHeight` gives inside it is smaller (higher up) than this. It is the
/// smallest grid height of the lines the box's lookups interpolate between.
double terrainHighestIn(const TerrainGrid* grid, double x0, double y0, double x1, double y1);

} // namespace kv::geom
