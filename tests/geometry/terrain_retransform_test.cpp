#include "geometry/terrain.h"
#include "geometry/working_files_transform.h"
#include "support/fake_ports.h"
#include "support/terrain_test_faces.h"
#include "support/terrain_test_ports.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace kv::geom {
namespace {

namespace fs = std::filesystem;
constexpr double kFt = kFeetPerMetreD;

std::vector<char> fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TerrainRetransformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = PrivateWorkingFolder::create();
        ASSERT_NE(folder_, nullptr);
        store_ = std::make_unique<TerrainStore>(*folder_, 5);
        ASSERT_TRUE(store_->beginImport({}, "flat.dxf", progress_, messages_));
        store_->intakeFace(test::squareFace(0, 0, 4, 4, -1), 0.5f, progress_, messages_);
        store_->intakeFace(test::squareFace(4, 0, 8, 4, -1), 1.0f, progress_, messages_);
        ASSERT_TRUE(store_->finishImport(true, progress_, messages_));
    }

    std::unique_ptr<PrivateWorkingFolder> folder_;
    std::unique_ptr<TerrainStore> store_;
    test::ScriptedProgress progress_;
    test::RecordingMessages messages_;
};

TEST_F(TerrainRetransformTest, NewTransformMovesTheGroundAndTheGridFollows) {
    model::GeometryTransform lowered;
    lowered.translate = {0, 0, 2}; // 2 m further down
    test::ScriptedProgress progress;
    ASSERT_TRUE(store_->retransformTerrain(lowered, progress, messages_));
    EXPECT_EQ(store_->info().transform.translate, lowered.translate);
    EXPECT_EQ(store_->info().triangleCount, 4);
    EXPECT_EQ(progress.titles, (std::vector<std::string>{"Transforming Terrain Polygons:",
                                                         "Sorting Terrain Polygons:"}));
    EXPECT_NEAR(store_->terrainHeight(true, 3.0, 3.0), 1 * kFt, 1e-9);
    EXPECT_FALSE(fs::exists(folder_->folder() / "terrainTemp"));

    // A left-hand file holds (x, y, z) as (z, x, −y) in system axes.
    model::GeometryTransform leftHand;
    leftHand.rightHanded = 0;
    ASSERT_TRUE(store_->retransformTerrain(leftHand, progress, messages_));
    TerrainStreamReader reader(store_->workingFile());
    Triangle<double> t;
    ASSERT_EQ(reader.next(t), StreamRead::Triangle);
    // Imported (0, 0, −1) through the identity, so the file point was (0, 0, −1).
    EXPECT_NEAR(t[0][0], -1.0, 1e-12);
    EXPECT_NEAR(t[0][1], 0.0, 1e-12);
    EXPECT_NEAR(t[0][2], 0.0, 1e-12);
}

TEST_F(TerrainRetransformTest, AbortedPassKeepsTheOldFileAndTransform) {
    const auto before = fileBytes(store_->workingFile());
    test::ScriptedProgress aborting(2, "Transforming Terrain Polygons:");
    model::GeometryTransform moved;
    moved.translate = {5, 5, 5};
    EXPECT_FALSE(store_->retransformTerrain(moved, aborting, messages_));
    EXPECT_EQ(fileBytes(store_->workingFile()), before);
    EXPECT_FALSE(fs::exists(folder_->folder() / "terrainTemp"));
    EXPECT_EQ(store_->info().transform.translate, (std::array<float, 3>{0, 0, 0}));
    EXPECT_TRUE(store_->present());
    EXPECT_NEAR(store_->terrainHeight(true, 3.0, 3.0), -1 * kFt, 1e-9);
    // Two triangles of four were done: 6 points of 12.
    EXPECT_DOUBLE_EQ(aborting.lastFraction, 0.5);
    EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(TerrainRetransformTest, AbortedSortAfterTheNewTransformDiscardsTheTerrain) {
    test::ScriptedProgress aborting(1, "Sorting Terrain Polygons:");
    model::GeometryTransform moved;
    moved.translate = {5, 5, 5};
    EXPECT_FALSE(store_->retransformTerrain(moved, aborting, messages_));
    EXPECT_FALSE(store_->present());
    EXPECT_EQ(store_->terrainHeight(true, 3.0, 3.0), 0.0);
}

TEST(TerrainRemap, StoredPointsMoveFromOneTransformToAnother) {
    model::GeometryTransform a;
    a.rightHanded = 0;
    a.fileUnit = 0.0254f;
    a.rotate = {10, -20, 135};
    a.translate = {1, -2, 3};
    a.scale = {1.5f, 2, 0.5f};
    model::GeometryTransform b;
    b.rotate = {0, 5, -30};
    b.translate = {-4, 0, 2};
    const auto ma = makeDxfImportMapping(a);
    const auto mb = makeDxfImportMapping(b);
    const std::array<double, 3> file = {12.0, -7.5, 40.25};
    const auto viaA = applyDxfImport(ma, file);
    const auto viaB = remapStoredPoint(ma, mb, viaA);
    const auto direct = applyDxfImport(mb, file);
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(viaB[k], direct[k], 1e-9);

    // A zero scale lost its axis at import; it comes back as 0, not a NaN.
    model::GeometryTransform flat;
    flat.scale = {1, 1, 0};
    const auto q = remapStoredPoint(makeDxfImportMapping(flat), mb, {1, 2, 0});
    const auto expected = applyDxfImport(mb, {1, 2, 0});
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(q[k], expected[k], 1e-12);
}

TEST_F(TerrainRetransformTest, TerrainSurvivesAProjectStreamRoundTrip) {
    const fs::path project = folder_->folder() / "project";
    {
        FileHandle out(std::fopen(project.c_str(), "wb"));
        ASSERT_TRUE(store_->writeStream(out.get(), messages_));
    }
    EXPECT_EQ(fs::file_size(project), 4u * 72u + 8u);
    auto otherFolder = PrivateWorkingFolder::create();
    TerrainStore copy(*otherFolder, 5);
    FileHandle in(std::fopen(project.c_str(), "rb"));
    ASSERT_TRUE(copy.readStream(in.get(), store_->info(), messages_));
    EXPECT_EQ(fileBytes(copy.workingFile()), fileBytes(store_->workingFile()));
    ASSERT_TRUE(copy.allocateTerrainGrid());
    ASSERT_EQ(copy.sortTerrain(progress_, messages_), SortResult::Sorted);
    EXPECT_EQ(copy.grid().heights, store_->grid().heights);
}

TEST_F(TerrainRetransformTest, SequentialReaderFollowsTheRewrittenFile) {
    Triangle<double> t;
    std::int32_t count = 0;
    ASSERT_EQ(store_->readTerrainTriangle(t, count), StreamRead::Triangle);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(t[0], (Corner<double>{0, 0, -1}));
    // A re-transform in mid-read closes the reader; reading starts again on the new file.
    model::GeometryTransform moved;
    moved.translate = {1, 0, 0};
    ASSERT_TRUE(store_->retransformTerrain(moved, progress_, messages_));
    ASSERT_EQ(store_->readTerrainTriangle(t, count), StreamRead::Triangle);
    EXPECT_EQ(t[0], (Corner<double>{1, 0, -1}));
    for (int k = 0; k < 3; ++k)
        ASSERT_EQ(store_->readTerrainTriangle(t, count), StreamRead::Triangle);
    EXPECT_EQ(store_->readTerrainTriangle(t, count), StreamRead::End);
}

} // namespace
} // namespace kv::geom
