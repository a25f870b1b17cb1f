#include "app/document/project_geometry.h"

namespace kv::app {

model::TriangleSource triangleSourceOf(const geom::MeshStore& meshes, int slot) {
    model::TriangleSource source;
    if (!meshes.hasStore() || slot < 0 || slot >= meshes.slotCount())
        return source;
    source.count = static_cast<std::size_t>(meshes.triangleCount(slot));
    source.triangle = [&meshes, slot](std::size_t i) {
        const geom::SlotMesh& m = meshes.mesh(slot);
        std::array<float, 9> out{};
        for (std::size_t c = 0; c < 3; ++c) {
            const auto v = static_cast<std::size_t>(m.triangles[i][c]);
            const Vec3& p = m.vertices[v];
            out[c * 3 + 0] = p[0];
            out[c * 3 + 1] = p[1];
            out[c * 3 + 2] = p[2];
        }
        return out;
    };
    return source;
}

model::GeometryIntake geometryIntakeOf(geom::MeshStore& meshes, int slot) {
    model::GeometryIntake intake;
    if (!meshes.hasStore() || slot < 0 || slot >= meshes.slotCount())
        return intake;
    intake.clear = [&meshes, slot] { meshes.clearGeometry(slot); };
    intake.addFace = [&meshes](const std::array<double, 12>& corners) {
        return meshes.addFace(corners);
    };
    return intake;
}

} // namespace kv::app
