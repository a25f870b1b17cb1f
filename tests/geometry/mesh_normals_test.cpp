#include "geometry/mesh_store.h"
#include "mesh_test_ports.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::geom {
namespace {

using meshtest::RecordedMessages;
using meshtest::ScriptedProgress;

void expectNear(const Vec3& a, const Vec3& b, const char* what) {
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(a[i], b[i], 1e-6f) << what << " component " << i;
}

TEST(MeshFaceNormal, FollowsTheFirstUsableCornerDifferences) {
    struct Case {
        const char* name;
        Vec3 p0, p1, p2;
        Vec3 normal;
    };
    const Case cases[] = {
        {"counter-clockwise in the xy plane", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"clockwise in the xy plane", {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
        {"p0 equals p1: the pair at p1 is unusable too, the pair at p2 is used",
         {1, 1, 1},
         {1, 1, 1},
         {2, 1, 1},
         {0, 0, 1}},
        {"all corners equal", {3, 3, 3}, {3, 3, 3}, {3, 3, 3}, {0, 0, 1}},
        {"corners within the tolerance", {0, 0, 0}, {0.0005f, 0, 0}, {0, 0.0005f, 0}, {0, 0, 1}},
        {"collinear distinct corners", {0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {0, 0, 1}},
        {"tilted", {0, 0, 0}, {1, 0, 0}, {0, 1, 1}, {0, -0.70710677f, 0.70710677f}},
    };
    for (const Case& c : cases)
        expectNear(faceNormal(c.p0, c.p1, c.p2), c.normal, c.name);
}

/// Two triangles on the edge (0,0,0)-(1,0,0): one in the z = 0 plane, the other
/// folded about the x axis so that their face normals are `degrees` apart.
class MeshCrease : public ::testing::TestWithParam<float> {};

TEST_P(MeshCrease, SmoothsSharedCornersOnlyBelowFiftyDegrees) {
    const float degrees = GetParam();
    const float alpha = degrees * 0.017453292f;
    RecordedMessages messages;
    MeshStore store(messages);
    ASSERT_TRUE(store.allocate(2));
    store.clearGeometry(1);
    const Vec3 o{0, 0, 0}, x{1, 0, 0}, flat{0, 1, 0};
    const Vec3 folded{0, -std::cos(alpha), std::sin(alpha)};
    store.addTriangle(1, o, x, flat);
    store.addTriangle(1, x, o, folded);
    ASSERT_EQ(store.vertexCount(1), 4);

    ScriptedProgress progress;
    ASSERT_TRUE(store.computeNormals(1, progress));
    EXPECT_EQ(progress.titles, std::vector<std::string>{"Smoothing Normals:"});
    EXPECT_EQ(progress.fractions, (std::vector<double>{0.5, 1.0}));
    EXPECT_EQ(progress.finishes, 1);
    EXPECT_TRUE(store.smoothedNormalsValid(1));
    EXPECT_FALSE(store.smoothedNormalsValid(0));

    const Vec3 n1{0, 0, 1};
    const Vec3 n2{0, std::sin(alpha), std::cos(alpha)};
    expectNear(store.storedFaceNormal(0), n1, "face normal 0");
    expectNear(store.storedFaceNormal(1), n2, "face normal 1");
    Vec3 mean{0, std::sin(alpha), 1 + std::cos(alpha)};
    VecNormalize(mean, mean);
    const bool smooth = degrees < 50.0f;

    MeshTriangle t;
    ASSERT_TRUE(store.nextTriangle(true, 1, t));
    expectNear(t.normals[0], smooth ? mean : n1, "triangle 0 at o");
    expectNear(t.normals[1], smooth ? mean : n1, "triangle 0 at x");
    expectNear(t.normals[2], n1, "triangle 0 at its own corner");
    ASSERT_TRUE(store.nextTriangle(false, 1, t));
    expectNear(t.normals[0], smooth ? mean : n2, "triangle 1 at x");
    expectNear(t.normals[1], smooth ? mean : n2, "triangle 1 at o");
    expectNear(t.normals[2], n2, "triangle 1 at its own corner");
    EXPECT_FALSE(store.nextTriangle(false, 1, t));
}

INSTANTIATE_TEST_SUITE_P(Angles, MeshCrease, ::testing::Values(40.0f, 60.0f));

TEST(MeshSmoothing, StaysWithTheSlotItWasComputedForAndEndsOnChange) {
    RecordedMessages messages;
    MeshStore store(messages);
    ASSERT_TRUE(store.allocate(2));
    store.addTriangle(0, {0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    store.addTriangle(1, {0, 0, 0}, {0, 0, 1}, {1, 0, 0});
    ScriptedProgress progress;
    ASSERT_TRUE(store.computeNormals(0, progress));
    // Slot 1's triangle gets its own face normal, not slot 0's stored ones.
    MeshTriangle t;
    ASSERT_TRUE(store.nextTriangle(true, 1, t));
    expectNear(t.normals[0], {0, 1, 0}, "slot 1");
    // Adding to slot 0 ends the validity of its smoothed normals.
    EXPECT_TRUE(store.smoothedNormalsValid(0));
    store.addTriangle(0, {5, 0, 0}, {6, 0, 0}, {5, 1, 0});
    EXPECT_FALSE(store.smoothedNormalsValid(0));
}

TEST(MeshSmoothing, AbortLeavesTheSmoothedNormalsInvalid) {
    RecordedMessages messages;
    MeshStore store(messages);
    ASSERT_TRUE(store.allocate(1));
    for (int i = 0; i < 4; ++i) {
        const float z = static_cast<float>(i);
        store.addTriangle(0, {0, 0, z}, {1, 0, z}, {0, 1, z});
    }
    ScriptedProgress progress(2);
    EXPECT_FALSE(store.computeNormals(0, progress));
    EXPECT_EQ(progress.fractions.size(), 2u);
    EXPECT_EQ(progress.finishes, 1);
    EXPECT_FALSE(store.smoothedNormalsValid(0));
    MeshTriangle t;
    ASSERT_TRUE(store.nextTriangle(true, 0, t));
    expectNear(t.normals[2], {0, 0, 1}, "face normal after abort");
}

} // namespace
} // namespace kv::geom
