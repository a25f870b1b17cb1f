#pragma once
/// Hands one slot of a mesh store to the object and motion file writers.

#include "geometry/mesh_store.h"
#include "model/motion_stream.h"

namespace kv::cli {

/// The triangles of `slot` in stored order; `store` must outlive the source.
inline model::TriangleSource meshSource(const geom::MeshStore& store, int slot) {
    const geom::SlotMesh& mesh = store.mesh(slot);
    return model::TriangleSource{
        static_cast<std::size_t>(store.triangleCount(slot)), [&mesh](std::size_t i) {
            std::array<float, 9> out{};
            for (std::size_t k = 0; k < 3; ++k) {
                const Vec3& v = mesh.vertices[static_cast<std::size_t>(mesh.triangles[i][k])];
                out[3 * k] = v[0];
                out[3 * k + 1] = v[1];
                out[3 * k + 2] = v[2];
            }
            return out;
        }};
}

} // namespace kv::cli
