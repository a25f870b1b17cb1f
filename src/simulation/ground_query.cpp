#include "simulation/ground_query.h"

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

} // namespace kv::sim
