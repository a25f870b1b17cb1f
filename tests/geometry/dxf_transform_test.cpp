#include "geometry/dxf_transform.h"

#include <gtest/gtest.h>

namespace kv::geom {
namespace {

TEST(DxfTransform, LeftHandMatrixAndRotation) {
    model::GeometryTransform left;
    left.rightHanded = 0;
    const DxfImportMapping h = makeDxfImportMapping(left);
    EXPECT_EQ(h.m, (std::array<double, 9>{0, 0, 1, 1, 0, 0, 0, -1, 0}));

    // Pitch 90 deg: R's first row is (cos t cos p, cos t sin p, -sin t) =
    // (0, 0, -1), and its third row starts with cos r sin t cos p = 1.
    const std::array<double, 9> r = dxfRotation(0.0, 90.0, 0.0);
    EXPECT_NEAR(r[2], -1.0, 1e-15);
    EXPECT_NEAR(r[6], 1.0, 1e-15);
}

TEST(DxfTransform, UndoTakesStoredPointsBack) {
    model::GeometryTransform t;
    t.rightHanded = 0;
    t.fileUnit = 0.0254f;
    t.rotate = {10.0f, -20.0f, 135.0f};
    t.translate = {1.0f, -2.0f, 3.5f};
    t.scale = {2.0f, 0.5f, 3.0f};
    const DxfImportMapping mapping = makeDxfImportMapping(t);
    const std::array<double, 3> file{12.5, -7.25, 100.0};
    const std::array<double, 3> back = undoDxfImport(mapping, applyDxfImport(mapping, file));
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(back[i], file[i], 1e-9);
    }
}

} // namespace
} // namespace kv::geom
