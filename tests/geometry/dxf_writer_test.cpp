#include "dxf_test_support.h"
#include "geometry/dxf_header.h"
#include "geometry/dxf_transform.h"
#include "geometry/dxf_writer.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace kv::geom::test {
namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// Writes a whole file of `faces` and returns its text.
std::string writeFile(const std::filesystem::path& path, const DxfOutputUnits& units,
                      const std::vector<std::array<double, 12>>& faces) {
    FilePtr file(std::fopen(path.c_str(), "w+"), &std::fclose);
    EXPECT_TRUE(writeDxfHeader(file.get(), units));
    for (const auto& face : faces) {
        EXPECT_TRUE(writeDxfFace(file.get(), face, units));
    }
    EXPECT_TRUE(writeDxfTrailer(file.get()));
    file.reset();
    return slurp(path);
}

TEST(DxfWriter, WritesTheDialectExactly) {
    TempFolder folder;
    const std::string text = writeFile(folder.path() / "a.dxf", {3.2808, DxfAxes::RightHand},
                                       {{1, 2, 3, 4.5, -5, 6e-7, 1234567, 0.1, 0, 0, 0, 0}});
    const std::string expected = "999\nDXF file created by Kestrovane\n"
                                 "999\nRight Hand Coordinate System in Meters\n"
                                 "   0\nSECTION\n   2\nENTITIES\n"
                                 "  0\n3DFACE\n   8\nKestrovane\n"
                                 " 10\n1\n 20\n2\n 30\n3\n"
                                 " 11\n4.5\n 21\n-5\n 31\n6e-07\n"
                                 " 12\n1.23457e+06\n 22\n0.1\n 32\n0\n"
                                 " 13\n0\n 23\n0\n 33\n0\n"
                                 "   0\nENDSEC\n  0\nEOF\n";
    EXPECT_EQ(text, expected);
}

TEST(DxfWriter, HeaderNamesTheUnitAndHand) {
    struct Case {
        double feetPerUnit;
        DxfAxes axes;
        const char* line;
    };
    const Case cases[] = {
        {0.0032808, DxfAxes::RightHand, "Right Hand Coordinate System in Millimeters"},
        {0.032808, DxfAxes::LeftHand, "Left Hand Coordinate System in Centimeters"},
        {3.2808, DxfAxes::LeftHand, "Left Hand Coordinate System in Meters"},
        {0.08333232, DxfAxes::RightHand, "Right Hand Coordinate System in Inches"},
        {1.0, DxfAxes::RightHand, "Right Hand Coordinate System in Feet"},
        {2.9999635, DxfAxes::LeftHand, "Left Hand Coordinate System in Yards"},
        {1.0 / 12.0, DxfAxes::RightHand, "Right Hand Coordinate System in Inches"},
        {7.0, DxfAxes::RightHand, "Right Hand Coordinate System in Units"},
        {3.2808, DxfAxes::ZUp, "Z Up Coordinate System in Meters"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const std::string text =
            writeFile(folder.path() / "h.dxf", {c.feetPerUnit, c.axes}, {});
        EXPECT_EQ(text, std::string("999\nDXF file created by Kestrovane\n999\n") + c.line +
                            "\n   0\nSECTION\n   2\nENTITIES\n   0\nENDSEC\n  0\nEOF\n");
    }
}

TEST(DxfWriter, LeftHandPointGoesBackToTheFilePoint) {
    TempFolder folder;
    model::GeometryTransform left;
    left.rightHanded = 0;
    const ReadRun in = readAll(folder.write("in.dxf", faceText({"1", "2", "3", "1", "2", "3", "1",
                                                                "2", "3", "1", "2", "3"})),
                               left);
    ASSERT_EQ(in.faces.size(), 1u);
    EXPECT_EQ(in.faces[0].corners[0], 3.0);
    EXPECT_EQ(in.faces[0].corners[1], 1.0);
    EXPECT_EQ(in.faces[0].corners[2], -2.0);

    // Metres: the point itself; feet: the point in feet (1 / 0.3048037 per m).
    const std::string metres =
        writeFile(folder.path() / "m.dxf", {3.2808, DxfAxes::LeftHand}, {in.faces[0].corners});
    EXPECT_NE(metres.find(" 10\n1\n 20\n2\n 30\n3\n"), std::string::npos) << metres;
    const std::string feet =
        writeFile(folder.path() / "f.dxf", {1.0, DxfAxes::LeftHand}, {in.faces[0].corners});
    EXPECT_NE(feet.find(" 13\n3.2808\n 23\n6.5616\n 33\n9.8424\n"), std::string::npos) << feet;

    // A zero down value is written as 0, not -0.
    const std::string zero =
        writeFile(folder.path() / "z.dxf", {3.2808, DxfAxes::LeftHand}, {{1, 1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 0}});
    EXPECT_EQ(zero.find("-0"), std::string::npos) << zero;
}

TEST(DxfWriter, WrittenFacesReadBack) {
    TempFolder folder;
    const std::vector<std::array<double, 12>> faces{{0.25, -1.5, 2, 3, 4, 5, 6, 7, 8, 6, 7, 8},
                                                    {-10, 20, -30, 0.5, 0.75, 1, 2, 3, 4, 5, 6, 7}};
    for (const DxfAxes axes : kDxfAxesChoices) {
        const std::filesystem::path path = folder.path() / "rt.dxf";
        writeFile(path, {3.2808, axes}, faces);
        // Our header names the system: the transform it proposes reads the file back.
        const model::GeometryTransform transform = withFileAxes(model::GeometryTransform{}, path);
        EXPECT_EQ(transformAxes(transform), axes);
        const ReadRun run = readAll(path, transform);
        ASSERT_EQ(run.faces.size(), faces.size());
        for (std::size_t f = 0; f < faces.size(); ++f) {
            for (std::size_t i = 0; i < 12; ++i) {
                EXPECT_NEAR(run.faces[f].corners[i], faces[f][i], 1e-6);
            }
        }
    }
}

TEST(DxfWriter, ReportsWriteErrors) {
    FilePtr full(std::fopen("/dev/full", "w"), &std::fclose);
    if (!full) {
        GTEST_SKIP() << "/dev/full not available";
    }
    std::setvbuf(full.get(), nullptr, _IONBF, 0);
    EXPECT_FALSE(writeDxfHeader(full.get(), {}));
    EXPECT_FALSE(writeDxfFace(full.get(), {}, {}));
    EXPECT_FALSE(writeDxfTrailer(full.get()));
}

} // namespace
} // namespace kv::geom::test
