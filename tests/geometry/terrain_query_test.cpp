#include "geometry/terrain.h"
#include "support/fake_ports.h"
#include "support/terrain_test_faces.h"
#include "support/terrain_test_ports.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace kv::geom {
namespace {

constexpr double kFt = kFeetPerMetreD;

/// A sorted terrain on the plane z = −2 + 0.1 x − 0.2 y (metres) over
/// [0, 10] × [0, 10] m, eleven lines per axis.
class TerrainQueryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = PrivateWorkingFolder::create();
        ASSERT_NE(folder_, nullptr);
        store_ = std::make_unique<TerrainStore>(*folder_, 11);
        ASSERT_TRUE(store_->beginImport({}, "plane.dxf", progress_, messages_));
        ASSERT_EQ(store_->intakeFace(test::planeFace(0, 0, 10, 10, -2, 0.1, -0.2), 1.0f, progress_,
                                     messages_),
                  1);
        ASSERT_TRUE(store_->finishImport(true, progress_, messages_));
    }

    /// The plane in feet.
    static double plane(double xFt, double yFt) { return -2 * kFt + 0.1 * xFt - 0.2 * yFt; }

    std::unique_ptr<PrivateWorkingFolder> folder_;
    std::unique_ptr<TerrainStore> store_;
    test::ScriptedProgress progress_;
    test::RecordingMessages messages_;
};

TEST_F(TerrainQueryTest, InsideTheGridTheBilinearLookupReproducesThePlane) {
    for (double x : {0.0, 1.0, 7.3, 16.4, 32.0}) {
        for (double y : {0.0, 0.01, 12.5, 30.9}) {
            EXPECT_NEAR(store_->terrainHeight(true, x, y), plane(x, y), 1e-9) << x << "," << y;
        }
    }
}

TEST_F(TerrainQueryTest, BeyondTheOuterLinesTheEdgeHeightsExtend) {
    const double edge = 10 * kFt;
    struct Case {
        double x, y;   // query (ft)
        double ex, ey; // where the answer comes from (ft)
    };
    const Case cases[] = {
        {edge + 5, 12.0, edge, 12.0},     // past the last x line
        {edge + 500, 12.0, edge, 12.0},   // far past it: no extrapolation
        {-40.0, 12.0, 0.0, 12.0},         // before the first x line
        {12.0, edge + 3, 12.0, edge},     // past the last y line
        {12.0, -3.0, 12.0, 0.0},          // before the first y line
        {edge + 1, edge + 1, edge, edge}, // past both
        {-1.0, -1.0, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(store_->terrainHeight(true, c.x, c.y), plane(c.ex, c.ey), 1e-9)
            << c.x << "," << c.y;
    }
}

TEST_F(TerrainQueryTest, IncrementalQueriesAgreeWithFreshOnes) {
    // A tire-like path: small steps forward with a slow weave, then a jump.
    TerrainCursor walking;
    TerrainCursor fresh;
    const TerrainGrid* ground = store_->ground();
    ASSERT_NE(ground, nullptr);
    for (int k = 0; k < 400; ++k) {
        const double x = -3.0 + 0.1 * k;
        const double y = 16.0 + 6.0 * std::sin(0.05 * k);
        const double a = terrainHeight(ground, walking, false, x, y);
        const double b = terrainHeight(ground, fresh, true, x, y);
        EXPECT_EQ(a, b) << k;
    }
    EXPECT_EQ(terrainHeight(ground, walking, false, 1.0, 1.0),
              terrainHeight(ground, fresh, true, 1.0, 1.0));
}

TEST_F(TerrainQueryTest, HighestInABoxBoundsEveryLookupInsideAndIsTight) {
    const TerrainGrid* ground = store_->ground();
    ASSERT_NE(ground, nullptr);
    struct Box {
        double x0, y0, x1, y1; // ft
    };
    const Box boxes[] = {
        {5.0, 5.0, 12.0, 9.0},            // inside, a few cells
        {3.2808, 3.2808, 3.2808, 3.2808}, // a single point on a line
        {-20.0, 20.0, -10.0, 25.0},       // before the first x line
        {25.0, 25.0, 60.0, 60.0},         // reaching past the far corner
        {-100.0, -100.0, 100.0, 100.0},   // the whole grid
    };
    for (const Box& b : boxes) {
        const double bound = terrainHighestIn(ground, b.x0, b.y0, b.x1, b.y1);
        double lowestLookup = 1e30;
        TerrainCursor cursor;
        for (int i = 0; i <= 20; ++i) {
            for (int j = 0; j <= 20; ++j) {
                const double x = b.x0 + (b.x1 - b.x0) * i / 20.0;
                const double y = b.y0 + (b.y1 - b.y0) * j / 20.0;
                const double h = terrainHeight(ground, cursor, false, x, y);
                EXPECT_GE(h, bound) << x << "," << y;
                lowestLookup = std::min(lowestLookup, h);
            }
        }
        // On a plane the highest point of the box is a grid point at most one
        // line spacing (1 m) away from it.
        EXPECT_LE(lowestLookup - bound, 0.3 * kFt + 1e-9) << b.x0 << "," << b.y0;
    }
    TerrainCursor none;
    EXPECT_EQ(terrainHighestIn(nullptr, 0, 0, 1, 1), terrainHeight(nullptr, none, true, 0.5, 0.5));
}

TEST_F(TerrainQueryTest, NormalPointsUpAndLeansDownhill) {
    const GroundSample s = store_->terrainHeightAndNormal(true, 10.0, 20.0);
    EXPECT_NEAR(s.z, plane(10.0, 20.0), 1e-9);
    // z = −2 + 0.1 x − 0.2 y (z down): the ground falls forward and rises to
    // the right, so the upward (−z) unit normal is (0.1, −0.2, −1)/|.|.
    const double len = std::sqrt(0.01 + 0.04 + 1.0);
    EXPECT_NEAR(s.normal[0], 0.1 / len, 1e-9);
    EXPECT_NEAR(s.normal[1], -0.2 / len, 1e-9);
    EXPECT_NEAR(s.normal[2], -1.0 / len, 1e-9);
}

TEST(TerrainQueryNoTerrain, HeightIsZeroAndTheNormalPointsStraightUp) {
    auto folder = PrivateWorkingFolder::create();
    ASSERT_NE(folder, nullptr);
    TerrainStore store(*folder, 400);
    ASSERT_TRUE(store.allocateTerrainGrid());
    EXPECT_EQ(store.terrainHeight(true, 12.0, -7.0), 0.0);
    const GroundSample s = store.terrainHeightAndNormal(true, 12.0, -7.0);
    EXPECT_EQ(s.z, 0.0);
    EXPECT_EQ(s.normal, (std::array<double, 3>{0.0, 0.0, -1.0}));

    TerrainCursor cursor;
    EXPECT_EQ(terrainHeight(nullptr, cursor, false, 3.0, 4.0), 0.0);
    EXPECT_EQ(terrainHeightAndNormal(nullptr, cursor, false, 3.0, 4.0).normal,
              (std::array<double, 3>{0.0, 0.0, -1.0}));
}

TEST(TerrainQueryCursor, ACursorFromAnotherGridSizeStartsAgain) {
    TerrainGrid small, large;
    ASSERT_TRUE(allocateTerrainGrid(small, 2));
    ASSERT_TRUE(allocateTerrainGrid(large, 50));
    for (int i = 0; i < 50; ++i)
        large.gridX[static_cast<std::size_t>(i)] = large.gridY[static_cast<std::size_t>(i)] = i;
    std::fill(large.heights.begin(), large.heights.end(), -1.0);
    small.gridX = {0, 1};
    small.gridY = {0, 1};
    std::fill(small.heights.begin(), small.heights.end(), -2.0);
    TerrainCursor cursor;
    EXPECT_EQ(terrainHeight(&large, cursor, true, 40.5, 40.5), -1.0);
    EXPECT_EQ(cursor.ix, 41);
    EXPECT_EQ(terrainHeight(&small, cursor, false, 0.5, 0.5), -2.0);
    EXPECT_EQ(cursor.ix, 1);
}

} // namespace
} // namespace kv::geom
