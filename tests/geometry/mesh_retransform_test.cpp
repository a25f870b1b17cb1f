#include "geometry/dxf_transform.h"
#include "geometry/mesh_store.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::geom {
namespace {

TEST(MeshRetransform, MovesVerticesFromTheOldMappingToTheNew) {
    NullMessages messages;
    MeshStore store(messages);
    ASSERT_TRUE(store.allocate(1));
    model::GeometryTransform oldT;
    oldT.rightHanded = 0;
    oldT.rotate = {0.0f, 10.0f, 0.0f};
    model::GeometryTransform newT;
    newT.fileUnit = 0.01f;
    newT.translate = {1.0f, 2.0f, 3.0f};
    const DxfImportMapping oldM = makeDxfImportMapping(oldT);
    const DxfImportMapping newM = makeDxfImportMapping(newT);
    const std::array<double, 3> filePoints[3] = {{1, 2, 3}, {-4, 0.5, 2}, {0, 0, -6}};
    std::array<Vec3, 3> stored{};
    for (int i = 0; i < 3; ++i) {
        const std::array<double, 3> q = applyDxfImport(oldM, filePoints[i]);
        stored[i] = {static_cast<float>(q[0]), static_cast<float>(q[1]), static_cast<float>(q[2])};
    }
    store.addTriangle(0, stored[0], stored[1], stored[2]);
    ASSERT_TRUE(store.retransformGeometry(0, oldT, newT));
    for (int i = 0; i < 3; ++i) {
        const std::array<double, 3> expected = applyDxfImport(newM, filePoints[i]);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(store.mesh(0).vertices[i][k], expected[k], 1e-5) << i << "," << k;
        }
    }
}

TEST(MeshRetransform, RefusesATransformWithAZeroScale) {
    NullMessages messages;
    MeshStore store(messages);
    ASSERT_TRUE(store.allocate(1));
    store.addTriangle(0, {1, 2, 3}, {4, 5, 6}, {7, 8, 10});
    model::GeometryTransform zero;
    zero.scale[2] = 0.0f;
    const model::GeometryTransform unit;
    EXPECT_FALSE(store.retransformGeometry(0, zero, unit));
    EXPECT_FALSE(store.retransformGeometry(0, unit, zero));
    EXPECT_EQ(store.mesh(0).vertices[2], (Vec3{7, 8, 10}));
}

} // namespace
} // namespace kv::geom
