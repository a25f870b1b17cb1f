#include "geometry/mesh_store.h"

namespace kv::geom {

/// Contact vertices closer together than this fraction of the mesh radius are
/// merged into the first of them.
static constexpr float kContactSpacing = 0.05f;

void MeshStore::thinContactVertices(int slot) {
    SlotMesh& m = slotMesh(slot);
    const auto count = static_cast<std::size_t>(m.vertexCount);
    float radius = 0.0f;
    for (std::size_t i = 0; i < count; ++i) {
        m.vertexActive[i] = 1;
        radius = MaxOf(VecLength(m.vertices[i]), radius);
    }
    const float limit = kContactSpacing * radius;
    // Distance is symmetric, so an active vertex k before j would already have
    // retired j; only later vertices need testing.
    for (std::size_t j = 0; j < count; ++j) {
        if (m.vertexActive[j] == 0)
            continue;
        for (std::size_t k = j + 1; k < count; ++k) {
            if (m.vertexActive[k] == 0)
                continue;
            Vec3 d{};
            VecSub(m.vertices[j], m.vertices[k], d);
            if (VecLength(d) < limit)
                m.vertexActive[k] = 0;
        }
    }
    contactCursor_ = 0;
}

bool MeshStore::nextContactVertex(bool reset, int slot, Vec3& out) {
    const SlotMesh& m = mesh(slot);
    if (reset)
        contactCursor_ = 0;
    while (contactCursor_ >= 0 && contactCursor_ < m.vertexCount) {
        const auto i = static_cast<std::size_t>(contactCursor_++);
        if (m.vertexActive[i] != 0) {
            out = m.vertices[i];
            return true;
        }
    }
    return false;
}

} // namespace kv::geom
