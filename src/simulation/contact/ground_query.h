#pragma once
/// What the contact model asks of the ground: the surface height and normal at
/// a north/east position. The terrain answers it during a run; tests answer it
/// with flat or sloped fakes.

#include "common/vecmath.h"
#include "geometry/terrain_query.h"

#include <limits>

namespace kv::sim {

/// Remembers where a caller's previous query landed, so that a query near it
/// is cheap. Each tire, skid and the body points keep their own.
struct GroundCursor {
    geom::TerrainCursor terrain;
};

/// Surface at a point: its down coordinate and its unit normal, earth axes,
/// pointing up (a level surface has (0, 0, -1)).
struct GroundPoint {
    float height = 0.0f; ///< surface down coordinate (ft)
    Vec3 normal{0.0f, 0.0f, -1.0f};
};

class GroundQuery {
  public:
    virtual ~GroundQuery() = default;
    /// Surface down coordinate (ft) at `north`, `east` (ft). `reset` starts the
    /// cursor's search afresh, for a point unrelated to its previous one.
    virtual float height(GroundCursor& cursor, bool reset, float north, float east) const = 0;
    /// Height and unit up-pointing normal at `north`, `east` (ft).
    virtual GroundPoint heightAndNormal(GroundCursor& cursor, bool reset, float north,
                                        float east) const = 0;
    /// A bound on the surface over the box [north0, north1] × [east0, east1]
    /// (ft): no `height` inside it is smaller (higher up). Lets a caller skip
    /// the lookups of points that are surely clear of the ground; minus
    /// infinity when the ground offers no bound.
    virtual float highestIn(float north0, float east0, float north1, float east1) const {
        (void)north0, (void)east0, (void)north1, (void)east1;
        return -std::numeric_limits<float>::infinity();
    }
};

/// Level ground at a fixed down coordinate: what a project without terrain
/// stands on (at 0).
class FlatGround final : public GroundQuery {
  public:
    explicit FlatGround(float down = 0.0f) : down_(down) {}
    float height(GroundCursor&, bool, float, float) const override { return down_; }
    GroundPoint heightAndNormal(GroundCursor&, bool, float, float) const override {
        return GroundPoint{down_, {0.0f, 0.0f, -1.0f}};
    }
    float highestIn(float, float, float, float) const override { return down_; }

  private:
    float down_;
};

/// The terrain grid as the ground; a null grid answers as flat ground at 0.
class TerrainGround final : public GroundQuery {
  public:
    explicit TerrainGround(const geom::TerrainGrid* grid) : grid_(grid) {}
    float height(GroundCursor& cursor, bool reset, float north, float east) const override;
    GroundPoint heightAndNormal(GroundCursor& cursor, bool reset, float north,
                                float east) const override;
    float highestIn(float north0, float east0, float north1, float east1) const override;

  private:
    const geom::TerrainGrid* grid_;
};

} // namespace kv::sim
