#pragma once
/// Set-up of an object's ground contact from its object record.

#include "common/vecmath.h"
#include "model/object_record.h"
#include "simulation/contact/ground_query.h"
#include "simulation/sim_object.h"

#include <span>
#include <vector>

namespace kv::geom {
class MeshStore;
}

namespace kv::sim {

/// Derives the contact effectors (the Tire and Skid effectors in effector
/// order, at most 10) with their travel, spring, damping and wheel inertia, the
/// driven-wheel and blade counts and the body contact stiffness, damping and
/// friction; clears every compression, tire state and point penetration.
/// `contactVertices` are the contact vertices of the object's geometry (m,
/// body axes). `ground` may be null (level ground at 0). Call after the body
/// set-up, which gives the mass.
void SetUpContacts(const model::ObjectRecord& record, SimObject& obj, float dt,
                   const GroundQuery* ground, std::span<const Vec3> contactVertices);

/// The contact vertices (m, body axes) of the object at `objectIndex` in
/// `meshes`; none when there is no store or no such slot.
std::vector<Vec3> contactVerticesOf(const geom::MeshStore* meshes, int objectIndex);

} // namespace kv::sim
