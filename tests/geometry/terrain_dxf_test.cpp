#include "geometry/scenery.h"
#include "geometry/terrain.h"
#include "support/fake_ports.h"
#include "support/terrain_test_ports.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace kv::geom {
namespace {

namespace fs = std::filesystem;
constexpr double kFt = kFeetPerMetreD;

/// One 3DFACE entity with four corners (file units, file axes).
std::string face(const std::array<double, 12>& c) {
    std::ostringstream out;
    out << "  0\n3DFACE\n  8\nGround\n";
    const char* keys[12] = {"10", "20", "30", "11", "21", "31", "12", "22", "32", "13", "23", "33"};
    for (int k = 0; k < 12; ++k)
        out << " " << keys[k] << "\n" << c[static_cast<std::size_t>(k)] << "\n";
    return out.str();
}

std::string dxf(const std::vector<std::array<double, 12>>& faces) {
    std::string text = "  0\nSECTION\n  2\nENTITIES\n";
    for (const auto& f : faces)
        text += face(f);
    return text + "  0\nENDSEC\n  0\nEOF\n";
}

class TerrainDxfTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = PrivateWorkingFolder::create();
        ASSERT_NE(folder_, nullptr);
        files_ = PrivateWorkingFolder::create();
        ASSERT_NE(files_, nullptr);
    }
    fs::path write(const char* name, const std::string& text) {
        const fs::path p = files_->folder() / name;
        std::ofstream(p) << text;
        return p;
    }

    std::unique_ptr<PrivateWorkingFolder> folder_;
    std::unique_ptr<PrivateWorkingFolder> files_;
    test::ScriptedProgress progress_;
    test::RecordingMessages messages_;
};

TEST_F(TerrainDxfTest, ImportReadsTheFacesOfADxfFileIntoTheGrid) {
    const fs::path file = write("Hill.dxf", dxf({{0, 0, -2, 6, 0, -2, 6, 3, -2, 0, 3, -2}}));
    TerrainStore store(*folder_, 3);
    ASSERT_TRUE(store.importTerrain(file, {}, progress_, messages_));
    EXPECT_TRUE(messages_.messages.empty());
    EXPECT_TRUE(store.present());
    EXPECT_EQ(store.info().triangleCount, 2);
    EXPECT_EQ(store.info().baseName, "Hill.dxf");
    for (double h : store.grid().heights)
        EXPECT_DOUBLE_EQ(h, -2 * kFt);
    EXPECT_DOUBLE_EQ(store.grid().xMax, 6 * kFt);
    EXPECT_EQ(progress_.titles,
              (std::vector<std::string>{"Reading Terrain Polygons:", "Sorting Terrain Polygons:"}));
    EXPECT_DOUBLE_EQ(progress_.lastFraction, 1.0);
}

TEST_F(TerrainDxfTest, AFileWithoutFacesOrAnAbortedReadLeavesNoTerrain) {
    TerrainStore store(*folder_, 3);
    ASSERT_TRUE(store.importTerrain(write("a.dxf", dxf({{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}})), {},
                                    progress_, messages_));
    EXPECT_FALSE(store.importTerrain(write("empty.dxf", dxf({})), {}, progress_, messages_));
    EXPECT_EQ(messages_.messages,
              (std::vector<std::string>{"There are no polygons contained in the DXF file."}));
    EXPECT_FALSE(store.present());
    EXPECT_FALSE(fs::exists(store.workingFile()));

    test::ScriptedProgress aborting(1, "Reading Terrain Polygons:");
    EXPECT_FALSE(store.importTerrain(write("two.dxf", dxf({{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0},
                                                           {1, 0, 0, 2, 0, 0, 2, 1, 0, 1, 1, 0}})),
                                     {}, aborting, messages_));
    EXPECT_FALSE(store.present());
}

TEST_F(TerrainDxfTest, SceneryIsAddedFromADxfFileThroughItsTransform) {
    SceneryStore store(*folder_);
    model::GeometryTransform moved;
    moved.translate = {10, 0, 0};
    ASSERT_TRUE(store.addScenery(write("Barn.dxf", dxf({{0, 0, 0, 1, 0, 0, 1, 1, 0, 1, 1, 0}})),
                                 moved, 7, 1, progress_, messages_));
    ASSERT_EQ(store.count(), 1);
    EXPECT_EQ(store.set(0).triangleCount, 1);
    EXPECT_EQ(store.set(0).color, 7);
    Triangle<float> t;
    std::int32_t count = 0;
    ASSERT_EQ(store.readSceneryTriangle(0, t, count), StreamRead::Triangle);
    EXPECT_EQ(t[1], (Corner<float>{11, 0, 0}));
}

TEST_F(TerrainDxfTest, ExportedTerrainAndSceneryImportAsTheSameTriangles) {
    TerrainStore terrain(*folder_, 3);
    const std::array<double, 12> quad = {0.5, 0, -2, 6, 0, -2.25, 6, 3, -2, 0, 3, -1.75};
    ASSERT_TRUE(terrain.importTerrain(write("t.dxf", dxf({quad})), {}, progress_, messages_));
    const fs::path out = files_->folder() / "Terrain.dxf";
    ASSERT_TRUE(terrain.exportTerrain(out, DxfOutputUnits{}, progress_, messages_));

    auto otherFolder = PrivateWorkingFolder::create();
    TerrainStore again(*otherFolder, 3);
    ASSERT_TRUE(again.importTerrain(out, {}, progress_, messages_));
    EXPECT_EQ(again.info().triangleCount, 2);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(again.grid().height(i, j), terrain.grid().height(i, j), 1e-5);
    }

    SceneryStore scenery(*folder_);
    ASSERT_TRUE(scenery.addScenery(write("s.dxf", dxf({quad})), {}, 19, 0, progress_, messages_));
    const fs::path sOut = files_->folder() / "Scenery.dxf";
    ASSERT_TRUE(scenery.exportScenery(0, sOut, DxfOutputUnits{}, messages_));
    SceneryStore sAgain(*otherFolder);
    ASSERT_TRUE(sAgain.addScenery(sOut, {}, 19, 0, progress_, messages_));
    Triangle<float> a, b;
    std::int32_t n = 0;
    while (scenery.readSceneryTriangle(0, a, n) == StreamRead::Triangle) {
        ASSERT_EQ(sAgain.readSceneryTriangle(0, b, n), StreamRead::Triangle);
        for (std::size_t c = 0; c < 3; ++c)
            for (std::size_t k = 0; k < 3; ++k)
                EXPECT_NEAR(a[c][k], b[c][k], 1e-5f);
    }
}

TEST_F(TerrainDxfTest, AbortedExportLeavesNoFileAndKeepsAnOldOne) {
    TerrainStore terrain(*folder_, 3);
    ASSERT_TRUE(terrain.importTerrain(write("t.dxf", dxf({{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}})),
                                      {}, progress_, messages_));
    test::ScriptedProgress aborting(1, "Writing Terrain Polygons:");
    const fs::path out = files_->folder() / "Terrain.dxf";
    EXPECT_FALSE(terrain.exportTerrain(out, DxfOutputUnits{}, aborting, messages_));
    EXPECT_FALSE(fs::exists(out));
    std::ofstream(out) << "previous";
    EXPECT_FALSE(terrain.exportTerrain(out, DxfOutputUnits{}, aborting, messages_));
    std::ifstream in(out);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "previous");
}

} // namespace
} // namespace kv::geom
