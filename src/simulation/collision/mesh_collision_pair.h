#pragma once
/// The run's collision pair tested triangle against triangle with the box
/// trees of the two objects' meshes.

#include "geometry/mesh_store.h"
#include "simulation/collision/collision_pair.h"
#include "simulation/collision/obb_collide.h"
#include "simulation/collision/obb_tree.h"

#include <array>

namespace kv::sim {

class MeshCollisionPair final : public CollisionPair {
  public:
    /// `meshes` holds each object's geometry at its object index.
    explicit MeshCollisionPair(const geom::MeshStore& meshes) : meshes_(meshes) {}

    void buildModels(std::span<const model::ObjectRecord> objects,
                     std::span<const int> objectIndices) override;

    /// Stores in each object the partner, its own touching triangles' corners
    /// (each once), and the point and outward normal of its touching surface;
    /// without contact both partners are cleared.
    void testPair(SimObject& first, SimObject& second) override;

    /// Touching triangle pairs found by the last test.
    int contactCount() const { return collider_.contactCount(); }

  private:
    const geom::MeshStore& meshes_;
    std::array<collision::Model, 2> models_;
    int modelCount_ = 0;
    collision::Collider collider_;
};

/// Fills `obj.objectContact` from its touching triangles `corners` (9 floats
/// each, body axes, m), taking each corner once, with `partner` as partner.
/// The normal is the area-weighted mean of the triangles' normals, each
/// turned away from the centre of gravity (when they cancel, it points from
/// this object towards the partner); the point is the area-weighted centroid
/// of the triangles facing within 60 degrees of that normal.
void storeObjectContact(SimObject& obj, SimObject& partner,
                        std::span<const std::array<float, 9>> corners);

} // namespace kv::sim
