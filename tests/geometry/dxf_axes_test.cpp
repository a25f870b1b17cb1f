#include "dxf_test_support.h"
#include "geometry/dxf_axes.h"
#include "geometry/dxf_header.h"
#include "geometry/dxf_transform.h"

#include <gtest/gtest.h>

namespace kv::geom::test {
namespace {

using Point = std::array<double, 3>;

TEST(DxfAxes, FilePointsMapToSystemAxesAndBack) {
    struct Case {
        DxfAxes axes;
        Point system; ///< forward, right, down of the file point (1, 2, 3)
    };
    const Case cases[] = {
        {DxfAxes::RightHand, {1.0, 2.0, 3.0}},
        {DxfAxes::LeftHand, {3.0, 1.0, -2.0}},
        // Blender's view of our glTF: x = -east, y = -north, z = up.
        {DxfAxes::ZUp, {-2.0, -1.0, -3.0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileToSystem(c.axes, {1.0, 2.0, 3.0}), c.system) << dxfAxesName(c.axes);
        EXPECT_EQ(systemToFile(c.axes, c.system), (Point{1.0, 2.0, 3.0})) << dxfAxesName(c.axes);
        // Each is a proper rotation: the default transform of its system maps as it does.
        const DxfImportMapping m = makeDxfImportMapping(defaultTransformFor(c.axes));
        EXPECT_EQ(applyDxfImport(m, {1.0, 2.0, 3.0}), c.system) << dxfAxesName(c.axes);
        EXPECT_EQ(undoDxfImport(m, c.system), (Point{1.0, 2.0, 3.0})) << dxfAxesName(c.axes);
    }
}

TEST(DxfAxes, ZUpLivesInTheRecordAsARightHandTurn) {
    const model::GeometryTransform t = defaultTransformFor(DxfAxes::ZUp);
    EXPECT_EQ(t.rightHanded, 1);
    EXPECT_EQ(t.rotate, (std::array<float, 3>{180.0f, 0.0f, -90.0f}));
    EXPECT_EQ(transformAxes(t), DxfAxes::ZUp);
    EXPECT_EQ(transformUserRotation(t), (std::array<float, 3>{0.0f, 0.0f, 0.0f}));
    // A 10 m hill top 30 m along x in a z-up file: 30 m west, 10 m up.
    EXPECT_EQ(applyDxfImport(makeDxfImportMapping(t), {30.0, 0.0, 10.0}),
              (Point{0.0, -30.0, -10.0}));

    // Records written before z up keep their system and rotation.
    model::GeometryTransform right;
    right.rotate = {10.0f, -20.0f, 30.0f};
    EXPECT_EQ(transformAxes(right), DxfAxes::RightHand);
    EXPECT_EQ(transformUserRotation(right), right.rotate);
    model::GeometryTransform left = right;
    left.rightHanded = 0;
    EXPECT_EQ(transformAxes(left), DxfAxes::LeftHand);
    EXPECT_EQ(transformUserRotation(left), right.rotate);
}

TEST(DxfAxes, UsersOwnRotationRoundTripsThroughZUp) {
    const std::array<float, 3> rotations[] = {
        {0.0f, 0.0f, 30.0f}, {5.0f, -10.0f, 45.0f}, {0.0f, 0.0f, -170.0f}, {-30.0f, 60.0f, 100.0f}};
    for (const auto& r : rotations) {
        model::GeometryTransform t;
        setTransformAxes(t, DxfAxes::ZUp, r);
        EXPECT_EQ(transformAxes(t), DxfAxes::ZUp);
        const std::array<float, 3> back = transformUserRotation(t);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(back[i], r[i], 1e-3) << i;
        // The user's rotation turns the mapped point: the z-up mapping, then R^T.
        const DxfImportMapping zUp = makeDxfImportMapping(defaultTransformFor(DxfAxes::ZUp));
        model::GeometryTransform own;
        own.rotate = r;
        const DxfImportMapping user = makeDxfImportMapping(own);
        const Point p{3.0, -4.0, 5.0};
        const Point expected = applyDxfImport(user, applyDxfImport(zUp, p));
        const Point got = applyDxfImport(makeDxfImportMapping(t), p);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(got[i], expected[i], 1e-5) << i;
    }
}

TEST(DxfAxes, OurHeaderCommentNamesTheSystem) {
    struct Case {
        const char* text;
        std::optional<DxfAxes> axes;
    };
    const Case cases[] = {
        {"999\nDXF file created by Kestrovane\n999\nZ Up Coordinate System in Meters\n"
         "   0\nSECTION\n",
         DxfAxes::ZUp},
        {"999\r\nDXF file created by Kestrovane\r\n999\r\nLeft Hand Coordinate System in Feet\r\n",
         DxfAxes::LeftHand},
        // The LightWave saver's header.
        {"999\nDXF file created by Kestrovane\n999\nRight Hand Coordinate System in meters\n",
         DxfAxes::RightHand},
        {"  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n", std::nullopt},
        // A comment of someone else's, and a value line that only looks like one.
        {"999\nZ Up Coordinate Systems are nice\n  0\nSECTION\n", std::nullopt},
        {" 10\n999\n 20\nZ Up Coordinate System in Meters\n", std::nullopt},
        {"", std::nullopt},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const auto file = folder.write("h.dxf", c.text);
        EXPECT_EQ(dxfFileAxes(file), c.axes) << c.text;
    }
    EXPECT_EQ(dxfFileAxes(folder.path() / "missing.dxf"), std::nullopt);
    EXPECT_EQ(dxfAxesFromWord("zup"), DxfAxes::ZUp);
    EXPECT_EQ(dxfAxesFromWord("up"), std::nullopt);
}

} // namespace
} // namespace kv::geom::test
