#include "simulation/contact/ground_query.h"

#include <cmath>
#include <limits>

namespace kv::sim {

float TerrainGround::height(GroundCursor& cursor, bool reset, float north, float east) const {
    return static_cast<float>(geom::terrainHeight(
        grid_, cursor.terrain, reset, static_cast<double>(north), static_cast<double>(east)));
}

GroundPoint TerrainGround::heightAndNormal(GroundCursor& cursor, bool reset, float north,
                                           float east) const {
    const geom::GroundSample s = geom::terrainHeightAndNormal(
        grid_, cursor.terrain, reset, static_cast<double>(north), static_cast<double>(east));
    return GroundPoint{static_cast<float>(s.z),
                       {static_cast<float>(s.normal[0]), static_cast<float>(s.normal[1]),
                        static_cast<float>(s.normal[2])}};
}

float TerrainGround::highestIn(float north0, float east0, float north1, float east1) const {
    // Rounded down to float so that no float height inside is above it.
    const double h = geom::terrainHighestIn(grid_, north0, east0, north1, east1);
    const auto f = static_cast<float>(h);
    return static_cast<double>(f) <= h ? f
                                       : std::nextafter(f, -std::numeric_limits<float>::infinity());
}

} // namespace kv::sim
