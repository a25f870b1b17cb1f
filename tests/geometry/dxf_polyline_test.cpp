#include "geometry/dxf_polyline.h"
#include "support/file_test_support.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kv::geom {
namespace {

class DxfPolylineTest : public ::testing::Test {
  protected:
    std::filesystem::path write(const std::string& text) {
        const auto file = dir_ / "path.dxf";
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    filetest::ScratchDir dir_;
};

/// Some 3DFACE before the polyline, as a drawing of a scene holds both.
constexpr const char* kFace =
    "  0\n3DFACE\n  8\n0\n 10\n1\n 20\n1\n 30\n1\n 11\n2\n 21\n2\n 31\n2\n"
    " 12\n3\n 22\n3\n 32\n3\n 13\n3\n 23\n3\n 33\n3\n";

TEST_F(DxfPolylineTest, ReadsAnLwPolylineWithItsElevationAndClosedFlag) {
    const auto file = write(std::string("  0\nSECTION\n  2\nENTITIES\n") + kFace +
                            "  0\nLWPOLYLINE\n  8\nroad\n 90\n3\n 70\n1\n 38\n-2.5\n"
                            " 10\n0.0\n 20\n0.0\n 10\n100.0\n 20\n0.0\n 10\n100.0\n 20\n50.0\n"
                            "  0\nLWPOLYLINE\n 10\n9\n 20\n9\n 10\n8\n 20\n8\n"
                            "  0\nENDSEC\n  0\nEOF\n");
    std::vector<std::array<double, 3>> points;
    std::string error;
    ASSERT_TRUE(readDxfPolyline(file, model::GeometryTransform{}, points, error)) << error;
    // The default transform: right-hand file in metres, stored as written.
    ASSERT_EQ(points.size(), 4u); // closed: the first vertex again at the end
    EXPECT_DOUBLE_EQ(points[1][0], 100.0);
    EXPECT_DOUBLE_EQ(points[2][1], 50.0);
    EXPECT_DOUBLE_EQ(points[2][2], -2.5);
    EXPECT_EQ(points[3], points[0]);
}

TEST_F(DxfPolylineTest, ReadsAPolylineOfVerticesThroughTheImportTransform) {
    const auto file = write("0\r\nPOLYLINE\r\n66\r\n1\r\n70\r\n8\r\n"
                            "0\r\nVERTEX\r\n10\r\n1\r\n20\r\n2\r\n30\r\n3\r\n"
                            "0\r\nVERTEX\r\n10\r\n4\r\n20\r\n5\r\n30\r\n6\r\n"
                            "0\r\nSEQEND\r\n0\r\nEOF\r\n");
    model::GeometryTransform leftHand;
    leftHand.rightHanded = 0;
    leftHand.fileUnit = 0.5f;
    std::vector<std::array<double, 3>> points;
    std::string error;
    ASSERT_TRUE(readDxfPolyline(file, leftHand, points, error)) << error;
    ASSERT_EQ(points.size(), 2u);
    // A left-hand point (x, y, z) is (forward z, right x, down -y), here in half metres.
    EXPECT_DOUBLE_EQ(points[0][0], 1.5);
    EXPECT_DOUBLE_EQ(points[0][1], 0.5);
    EXPECT_DOUBLE_EQ(points[0][2], -1.0);
    EXPECT_DOUBLE_EQ(points[1][0], 3.0);
}

TEST_F(DxfPolylineTest, RefusesFilesWithoutAPolylineOrWithADamagedLine) {
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {std::string(kFace) + "  0\nEOF\n", "There is no LWPOLYLINE or POLYLINE in the DXF file."},
        {"  0\nLWPOLYLINE\n 90\n0\n  0\nEOF\n",
         "There is no LWPOLYLINE or POLYLINE in the DXF file."},
        {"  0\nLWPOLYLINE\nten\n0\n", "line 3: expected a group code, not 'ten'"},
        {"  0\nLWPOLYLINE\n 10\n" + std::string(300, '1') + "\n", "line 4: longer than 255"},
    };
    for (const Case& c : cases) {
        std::vector<std::array<double, 3>> points;
        std::string error;
        EXPECT_FALSE(readDxfPolyline(write(c.text), model::GeometryTransform{}, points, error));
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
    std::vector<std::array<double, 3>> points;
    std::string error;
    EXPECT_FALSE(readDxfPolyline(dir_ / "missing.dxf", model::GeometryTransform{}, points, error));
    EXPECT_EQ(error, "The DXF file could not be opened.");
}

} // namespace
} // namespace kv::geom
