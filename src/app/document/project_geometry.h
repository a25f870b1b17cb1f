#pragma once
/// Adapters between the mesh store and the object, motion and project file
/// readers and writers.

#include "geometry/mesh_store.h"
#include "model/motion_stream.h"

namespace kv::app {

/// The triangles of `slot` as a file writer sees them (metres, body axes).
model::TriangleSource triangleSourceOf(const geom::MeshStore& meshes, int slot);
/// The intake that clears `slot` and adds faces read from a file to it.
model::GeometryIntake geometryIntakeOf(geom::MeshStore& meshes, int slot);

} // namespace kv::app
