#include "geometry/import_transform.h"
#include "geometry/mesh_store.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::geom {
namespace {

TEST(MeshImportMapping, DefaultTransformKeepsPointsExactly) {
    const ImportMapping m = makeImportMapping(model::GeometryTransform{});
    const Point3d p{1.25, -3.5e-7, 1234567.125};
    EXPECT_EQ(applyImport(m, p), p);
    EXPECT_EQ(undoImport(m, p), p);
}

TEST(MeshImportMapping, LeftHandFilePointBecomesForwardRightDown) {
    model::GeometryTransform t;
    t.rightHanded = 0;
    const ImportMapping m = makeImportMapping(t);
    EXPECT_EQ(applyImport(m, {1, 2, 3}), (Point3d{3, 1, -2}));
    EXPECT_EQ(undoImport(m, {3, 1, -2}), (Point3d{1, 2, 3}));
}

TEST(MeshImportMapping, UnitsScaleRotationAndTranslationCompose) {
    model::GeometryTransform t;
    t.fileUnit = 0.3048037f;
    t.scale = {2.0f, 1.0f, 1.0f};
    t.rotate = {0.0f, 0.0f, 90.0f}; // yaw
    t.translate = {10.0f, 0.0f, -1.0f};
    const ImportMapping m = makeImportMapping(t);
    // s ⊙ p = (2 × 0.3048037, 0, 0); Rᵀ of a 90° yaw turns forward into right.
    const Point3d out = applyImport(m, {1, 0, 0});
    const double x = 2.0 * static_cast<double>(0.3048037f);
    EXPECT_NEAR(out[0], 10.0, 1e-12);
    EXPECT_NEAR(out[1], x, 1e-12);
    EXPECT_NEAR(out[2], -1.0, 1e-12);
}

TEST(MeshImportMapping, UndoInvertsApplyForAnyTransform) {
    model::GeometryTransform t;
    t.rightHanded = 0;
    t.fileUnit = 0.0254f;
    t.rotate = {12.5f, -33.0f, 171.0f};
    t.translate = {-4.0f, 2.5f, 0.75f};
    t.scale = {1.5f, -0.5f, 3.0f};
    const ImportMapping m = makeImportMapping(t);
    EXPECT_TRUE(isInvertible(m));
    const Point3d p{3.0, -7.0, 11.0};
    const Point3d back = undoImport(m, applyImport(m, p));
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(back[i], p[i], 1e-12);
    t.scale[1] = 0.0f;
    EXPECT_FALSE(isInvertible(makeImportMapping(t)));
}

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
    const ImportMapping oldM = makeImportMapping(oldT);
    const ImportMapping newM = makeImportMapping(newT);
    const Point3d filePoints[3] = {{1, 2, 3}, {-4, 0.5, 2}, {0, 0, -6}};
    std::array<Vec3, 3> stored{};
    for (int i = 0; i < 3; ++i) {
        const Point3d q = applyImport(oldM, filePoints[i]);
        stored[i] = {static_cast<float>(q[0]), static_cast<float>(q[1]), static_cast<float>(q[2])};
    }
    store.addTriangle(0, stored[0], stored[1], stored[2]);
    ASSERT_TRUE(store.retransformGeometry(0, oldT, newT));
    for (int i = 0; i < 3; ++i) {
        const Point3d expected = applyImport(newM, filePoints[i]);
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
