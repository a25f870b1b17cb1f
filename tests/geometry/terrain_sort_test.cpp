#include "geometry/terrain.h"
#include "support/fake_ports.h"
#include "support/terrain_test_faces.h"
#include "support/terrain_test_ports.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kv::geom {
namespace {

using test::Face;

constexpr double kFt = kFeetPerMetreD;

class TerrainSortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = PrivateWorkingFolder::create();
        ASSERT_NE(folder_, nullptr);
    }

    /// Imports `faces` as the terrain at resolution `n`; returns the import result.
    bool import(TerrainStore& store, const std::vector<Face>& faces) {
        if (!store.beginImport({}, "test.dxf", progress_, messages_))
            return false;
        for (const Face& f : faces) {
            if (store.intakeFace(f, 0.5f, progress_, messages_) == 0) {
                return store.finishImport(false, progress_, messages_);
            }
        }
        return store.finishImport(true, progress_, messages_);
    }

    std::unique_ptr<PrivateWorkingFolder> folder_;
    test::ScriptedProgress progress_;
    test::RecordingMessages messages_;
};

TEST_F(TerrainSortTest, HorizontalSquareAtTwoLinesGivesItsHeightAtAllFourPoints) {
    TerrainStore store(*folder_, 2);
    ASSERT_TRUE(import(store, {test::squareFace(0, 0, 10, 20, -1.5)}));
    EXPECT_EQ(store.info().triangleCount, 2);
    const TerrainGrid& g = store.grid();
    ASSERT_EQ(g.n, 2);
    EXPECT_DOUBLE_EQ(g.xMin, 0.0);
    EXPECT_DOUBLE_EQ(g.xMax, 10 * kFt);
    EXPECT_DOUBLE_EQ(g.yMax, 20 * kFt);
    EXPECT_DOUBLE_EQ(g.dx, 10 * kFt);
    EXPECT_DOUBLE_EQ(g.gridX[1], 10 * kFt);
    EXPECT_DOUBLE_EQ(g.gridY[1], 20 * kFt);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j)
            EXPECT_DOUBLE_EQ(g.height(i, j), -1.5 * kFt) << i << "," << j;
    }
    EXPECT_TRUE(messages_.messages.empty());
    EXPECT_EQ(progress_.titles,
              (std::vector<std::string>{"Reading Terrain Polygons:", "Sorting Terrain Polygons:"}));
    EXPECT_EQ(progress_.open, 0);
    EXPECT_DOUBLE_EQ(progress_.lastFraction, 1.0);
}

TEST_F(TerrainSortTest, OverlappingTrianglesKeepTheHigherSurfaceWhateverTheOrder) {
    // A 10 m square at z = −1 and a triangle over its corner at z = −3 (higher:
    // z points down). Eleven lines put a grid point on every metre.
    const Face low = test::squareFace(0, 0, 10, 10, -1);
    const Face high = test::triangleFace({0, 0, -3}, {5, 0, -3}, {0, 5, -3});
    for (const auto& faces : {std::vector<Face>{low, high}, std::vector<Face>{high, low}}) {
        TerrainStore store(*folder_, 11);
        ASSERT_TRUE(import(store, faces));
        const TerrainGrid& g = store.grid();
        for (int i = 0; i < 11; ++i) {
            for (int j = 0; j < 11; ++j) {
                const double expected = i + j <= 5 ? -3 * kFt : -1 * kFt;
                EXPECT_NEAR(g.height(i, j), expected, 1e-12) << i << "," << j;
            }
        }
    }
}

TEST_F(TerrainSortTest, VerticalTriangleAddsNoHeights) {
    const Face ground = test::squareFace(0, 0, 4, 4, -2);
    const Face wall = test::triangleFace({2, 0, 0}, {2, 4, 0}, {2, 2, -9});
    TerrainStore store(*folder_, 5);
    ASSERT_TRUE(import(store, {ground, wall}));
    EXPECT_EQ(store.info().triangleCount, 3);
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j)
            EXPECT_DOUBLE_EQ(store.grid().height(i, j), -2 * kFt);
    }

    // A terrain of nothing but a wall leaves every point empty, then filled with 0.
    TerrainStore wallOnly(*folder_, 3);
    ASSERT_TRUE(import(wallOnly, {wall}));
    for (double h : wallOnly.grid().heights)
        EXPECT_EQ(h, 0.0);
    EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(TerrainSortTest, GridLinesAreEvenlySpacedFromTheBounds) {
    TerrainStore store(*folder_, 7);
    ASSERT_TRUE(import(store, {test::squareFace(-3.7, 11.1, 19.3, 12.5, -1)}));
    const TerrainGrid& g = store.grid();
    for (int i = 0; i < 7; ++i) {
        EXPECT_DOUBLE_EQ(g.gridX[static_cast<std::size_t>(i)], g.xMin + g.dx * i);
        EXPECT_DOUBLE_EQ(g.gridY[static_cast<std::size_t>(i)], g.yMin + g.dy * i);
    }
    // Every point, the outer lines included, lies on the square.
    for (double h : g.heights)
        EXPECT_DOUBLE_EQ(h, -kFt);
}

TEST_F(TerrainSortTest, SlopedPlaneIsSampledExactlyAtEveryGridPoint) {
    TerrainStore store(*folder_, 9);
    ASSERT_TRUE(import(store, {test::planeFace(0, 0, 8, 16, -2, 0.25, -0.125)}));
    const TerrainGrid& g = store.grid();
    for (int i = 0; i < 9; ++i) {
        for (int j = 0; j < 9; ++j) {
            const double x = g.gridX[static_cast<std::size_t>(i)];
            const double y = g.gridY[static_cast<std::size_t>(j)];
            EXPECT_NEAR(g.height(i, j), -2 * kFt + 0.25 * x - 0.125 * y, 1e-9);
        }
    }
}

TEST_F(TerrainSortTest, OneLineGridAndFlatExtentsSortWithoutMessages) {
    TerrainStore one(*folder_, 1);
    ASSERT_TRUE(import(one, {test::squareFace(0, 0, 4, 4, -2)}));
    EXPECT_DOUBLE_EQ(one.grid().height(0, 0), -2 * kFt);
    EXPECT_EQ(one.grid().dx, 0.0);
    EXPECT_TRUE(messages_.messages.empty());
}

TEST(TerrainHoles, UncoveredPointsBecomeZeroOrTheMeanOfTheirNeighbours) {
    constexpr double E = kEmptyHeight;
    struct Case {
        const char* what;
        std::array<double, 9> in; // 3 × 3, index i × 3 + j
        std::array<double, 9> out;
    };
    const Case cases[] = {
        {"inner point takes the mean of its x neighbours",
         {1, 2, 3, 4, E, 6, 7, 8, 9},
         {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"edge point without an x neighbour takes the mean of its y neighbours",
         {1, E, 3, 4, 5, 6, 7, 8, 9},
         {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"a corner has neither pair and becomes 0",
         {E, 2, 3, 4, 5, 6, 7, 8, 9},
         {0, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"an empty x neighbour leaves 0; the edge point below uses its y pair",
         {1, 2, 3, 4, E, 6, 7, E, 9},
         {1, 2, 3, 4, 0, 6, 7, 8, 9}},
        {"a point filled earlier serves as a neighbour",
         {E, 2, 3, E, 5, 6, 7, 8, 9},
         {0, 2, 3, 3.5, 5, 6, 7, 8, 9}},
        {"an empty grid becomes flat at 0",
         {E, E, E, E, E, E, E, E, E},
         {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TerrainGrid g;
        ASSERT_TRUE(allocateTerrainGrid(g, 3));
        std::copy(c.in.begin(), c.in.end(), g.heights.begin());
        fillTerrainHoles(g);
        for (std::size_t k = 0; k < 9; ++k)
            EXPECT_EQ(g.heights[k], c.out[k]) << c.what << " @" << k;
    }
}

TEST_F(TerrainSortTest, AbortingTheSortFailsTheImportAndDiscardsTheTerrain) {
    test::ScriptedProgress aborting(1, "Sorting Terrain Polygons:");
    TerrainStore store(*folder_, 4);
    model::GeometryTransform moved;
    moved.translate = {1, 2, 3};
    ASSERT_TRUE(store.beginImport(moved, "hill.dxf", aborting, messages_));
    ASSERT_EQ(store.intakeFace(test::squareFace(0, 0, 3, 3, -1), 0.5f, aborting, messages_), 1);
    EXPECT_FALSE(store.finishImport(true, aborting, messages_));

    EXPECT_FALSE(store.present());
    EXPECT_EQ(store.ground(), nullptr);
    EXPECT_EQ(store.info().transform.translate, (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(store.info().triangleCount, 0);
    EXPECT_TRUE(store.info().baseName.empty());
    EXPECT_FALSE(std::filesystem::exists(store.workingFile()));
    EXPECT_EQ(store.terrainHeight(true, 1.0, 1.0), 0.0);
    EXPECT_TRUE(messages_.messages.empty());
    EXPECT_EQ(aborting.open, 0);
}

TEST_F(TerrainSortTest, AbortingTheReadStopsTheIntakeAndDiscardsTheTerrain) {
    test::ScriptedProgress aborting(2, "Reading Terrain Polygons:");
    TerrainStore store(*folder_, 4);
    ASSERT_TRUE(store.beginImport({}, "hill.dxf", aborting, messages_));
    EXPECT_EQ(store.intakeFace(test::squareFace(0, 0, 3, 3, -1), 0.1f, aborting, messages_), 1);
    EXPECT_EQ(store.intakeFace(test::squareFace(3, 0, 6, 3, -1), 0.2f, aborting, messages_), 0);
    EXPECT_FALSE(store.finishImport(false, aborting, messages_));
    EXPECT_FALSE(store.present());
    EXPECT_FALSE(std::filesystem::exists(store.workingFile()));
}

TEST_F(TerrainSortTest, ImportReplacesThePreviousTerrain) {
    TerrainStore store(*folder_, 3);
    ASSERT_TRUE(import(store, {test::squareFace(0, 0, 4, 4, -2)}));
    ASSERT_TRUE(import(store, {test::squareFace(0, 0, 1, 1, -7)}));
    EXPECT_EQ(store.info().triangleCount, 2);
    EXPECT_DOUBLE_EQ(store.grid().xMax, 1 * kFt);
    for (double h : store.grid().heights)
        EXPECT_DOUBLE_EQ(h, -7 * kFt);
}

TEST_F(TerrainSortTest, DegenerateFacesAddNothing) {
    TerrainStore store(*folder_, 3);
    const Face point = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    const Face line = {0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0};
    ASSERT_TRUE(import(store, {point, line, test::squareFace(0, 0, 2, 2, -1)}));
    EXPECT_EQ(store.info().triangleCount, 2);
}

TEST_F(TerrainSortTest, UnplaceableTrianglesAreSkippedWithOneMessage) {
    // Corners this far apart overflow the grid spacing: nothing can be placed.
    TerrainStore store(*folder_, 3);
    ASSERT_TRUE(import(store, {test::triangleFace({-1e308, 0, 0}, {1e308, 0, 0}, {0, 1e308, -1}),
                               test::triangleFace({-1e308, 5, 0}, {1e308, 5, 0}, {0, 1e308, -1})}));
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0],
              "A terrain polygon could not be sorted. This may be caused by a "
              "very large or very small terrain size.");
    EXPECT_TRUE(store.present());
}

TEST_F(TerrainSortTest, WithoutGridMemoryTheTerrainStaysButGivesNoHeights) {
    TerrainStore store(*folder_, 0);
    ASSERT_TRUE(import(store, {test::squareFace(0, 0, 4, 4, -2)}));
    EXPECT_TRUE(store.present());
    EXPECT_EQ(store.ground(), nullptr);
    EXPECT_EQ(store.terrainHeight(true, 1, 1), 0.0);
}

TEST_F(TerrainSortTest, ChangingTheResolutionResortsThePresentTerrain) {
    TerrainStore store(*folder_, 2);
    ASSERT_TRUE(import(store, {test::squareFace(0, 0, 4, 4, -2)}));
    ASSERT_TRUE(store.changeResolution(5, progress_, messages_));
    EXPECT_EQ(store.grid().n, 5);
    for (double h : store.grid().heights)
        EXPECT_DOUBLE_EQ(h, -2 * kFt);

    test::ScriptedProgress aborting(1, "Sorting Terrain Polygons:");
    EXPECT_FALSE(store.changeResolution(3, aborting, messages_));
    EXPECT_FALSE(store.present());
}

} // namespace
} // namespace kv::geom
