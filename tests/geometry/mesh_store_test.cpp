#include "geometry/mesh_store.h"
#include "mesh_test_ports.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#if defined(__SANITIZE_ADDRESS__)
#define KV_MESH_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_MESH_TEST_ASAN 1
#endif
#endif

namespace kv::geom {
namespace {

using meshtest::RecordedMessages;

std::array<double, 12> face(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d) {
    return {a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2], d[0], d[1], d[2]};
}

class MeshStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(store.allocate(4));
        store.clearGeometry(0);
    }
    RecordedMessages messages;
    MeshStore store{messages};
};

TEST_F(MeshStoreTest, QuadAddsTwoTrianglesOnFourSharedVertices) {
    const Vec3 a{0, 0, 0}, b{1, 0, 0}, c{1, 1, 0}, d{0, 1, 0};
    EXPECT_EQ(store.addFace(face(a, b, c, d)), 1);
    const SlotMesh& m = store.mesh(0);
    ASSERT_EQ(m.triangleCount, 2);
    EXPECT_EQ(m.vertexCount, 4);
    EXPECT_EQ(m.triangles[0], (std::array<std::int32_t, 3>{0, 1, 2}));
    EXPECT_EQ(m.triangles[1], (std::array<std::int32_t, 3>{0, 2, 3}));
    EXPECT_EQ(m.vertices[3], d);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MeshStoreTest, FaceCallbackFeedsTheCurrentSlot) {
    store.clearGeometry(2);
    const DxfFaceCallback onFace = store.faceCallback();
    EXPECT_EQ(onFace(face({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}), 0.5f), 1);
    EXPECT_EQ(store.triangleCount(2), 2);
    EXPECT_EQ(store.triangleCount(0), 0);
}

TEST_F(MeshStoreTest, FaceSplitCountsFollowTheDistinctCorners) {
    struct Case {
        const char* name;
        std::array<Vec3, 4> corners;
        int triangles;
    };
    const Case cases[] = {
        {"triangle repeating its third corner", {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 1, 0}}}, 1},
        {"first two corners equal", {{{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}}}, 1},
        {"corners equal within 0.001 relative",
         {{{5, 5, 5}, {5.004f, 5, 5}, {6, 5, 5}, {5, 6, 5}}},
         1},
        {"two pairs equal", {{{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 0}}}, 0},
        {"a point", {{{2, 2, 2}, {2, 2, 2}, {2, 2, 2}, {2, 2, 2}}}, 0},
    };
    for (const Case& c : cases) {
        store.clearGeometry(1);
        EXPECT_EQ(store.addFace(face(c.corners[0], c.corners[1], c.corners[2], c.corners[3])), 1)
            << c.name;
        EXPECT_EQ(store.triangleCount(1), c.triangles) << c.name;
    }
    EXPECT_EQ(store.currentSlot(), 1);
    EXPECT_EQ(store.triangleCount(0), 0);
}

TEST_F(MeshStoreTest, SameFaceTwiceAddsOnce) {
    const Vec3 a{0, 0, 0}, b{1, 0, 0}, c{1, 1, 0}, d{0, 1, 0};
    store.addFace(face(a, b, c, d));
    EXPECT_EQ(store.addFace(face(a, b, c, d)), 1);
    EXPECT_EQ(store.triangleCount(0), 2);
    EXPECT_EQ(store.vertexCount(0), 4);
    // The same vertices in another order, and corners within the tolerance,
    // name the same triangle.
    EXPECT_TRUE(store.addTriangle(0, c, a, b));
    EXPECT_TRUE(store.addTriangle(0, {1.0004f, 1, 0}, {0, 1, 0}, {0.0002f, 0, 0}));
    EXPECT_EQ(store.triangleCount(0), 2);
    // A new triangle on existing vertices is not a duplicate.
    EXPECT_TRUE(store.addTriangle(0, a, b, d));
    EXPECT_EQ(store.triangleCount(0), 3);
    EXPECT_EQ(store.vertexCount(0), 4);
}

TEST_F(MeshStoreTest, TriangleLimitRefusesThe2001stAndKeepsTheRest) {
    // Small triangles on a 50 × 40 grid, far apart for the relative tolerance.
    for (int i = 0; i < kMaxMeshTriangles; ++i) {
        const float x = static_cast<float>(i % 50);
        const float y = static_cast<float>(i / 50);
        ASSERT_EQ(store.addFace(face({x, y, 0}, {x + 0.5f, y, 0}, {x, y + 0.5f, 0}, {x, y, 0})), 1);
    }
    EXPECT_EQ(store.triangleCount(0), 2000);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(store.addFace(face({-1, 0, 0}, {-1, 1, 0}, {-1, 0, 1}, {-1, 0, 1})), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Object geometry is limited to 2000 triangles.");
    EXPECT_EQ(store.triangleCount(0), 2000);
    EXPECT_EQ(store.mesh(0).vertices[store.mesh(0).triangles[1999][0]], (Vec3{49, 39, 0}));
    // Even a duplicate is refused once the slot is full.
    EXPECT_FALSE(store.addTriangle(0, {0, 0, 0}, {0, 1, 0}, {0, 0, 1}));
}

TEST_F(MeshStoreTest, NonFiniteFacesAreSkippedAndCounted) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::array<double, 12> bad = face({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 1, 0});
    bad[4] = nan;
    EXPECT_EQ(store.addFace(bad), 1);
    bad[4] = 1e300; // beyond single precision
    EXPECT_EQ(store.addFace(bad), 1);
    EXPECT_EQ(store.triangleCount(0), 0);
    EXPECT_EQ(store.skippedFaces(), 2);
    store.clearGeometry(0);
    EXPECT_EQ(store.skippedFaces(), 0);
}

TEST_F(MeshStoreTest, ThinningKeepsTheFirstOfVerticesCloserThanFivePercentOfTheRadius) {
    // r is 10 (vertex b); a2 lies 0.04 r from a, c lies 0.06 r from a.
    const Vec3 a{0, 5, 0}, a2{0, 5.4f, 0}, b{10, 0, 0}, c{0, 5, 0.6f};
    store.addTriangle(0, a, a2, b);
    store.addTriangle(0, a, b, c);
    ASSERT_EQ(store.vertexCount(0), 4);
    store.thinContactVertices(0);
    const SlotMesh& m = store.mesh(0);
    EXPECT_EQ(m.vertexActive[0], 1);
    EXPECT_EQ(m.vertexActive[1], 0);
    EXPECT_EQ(m.vertexActive[2], 1);
    EXPECT_EQ(m.vertexActive[3], 1);

    Vec3 p{};
    ASSERT_TRUE(store.nextContactVertex(true, 0, p));
    EXPECT_EQ(p, a);
    ASSERT_TRUE(store.nextContactVertex(false, 0, p));
    EXPECT_EQ(p, b);
    ASSERT_TRUE(store.nextContactVertex(false, 0, p));
    EXPECT_EQ(p, c);
    EXPECT_FALSE(store.nextContactVertex(false, 0, p));
    ASSERT_TRUE(store.nextContactVertex(true, 0, p));
    EXPECT_EQ(p, a);
}

TEST_F(MeshStoreTest, ThinningARetiredVertexDoesNotRetireOthers) {
    // b is near a (retired); c is near b but not near a, so it stays.
    const Vec3 a{0, 0, 0}, b{0.4f, 0, 0}, c{0.8f, 0, 0}, far{10, 0, 0};
    store.addTriangle(0, a, b, far);
    store.addTriangle(0, b, c, far);
    store.thinContactVertices(0);
    const SlotMesh& m = store.mesh(0);
    EXPECT_EQ(m.vertexActive[0], 1);
    EXPECT_EQ(m.vertexActive[1], 0);
    EXPECT_EQ(m.vertexActive[2], 1);
    EXPECT_EQ(m.vertexActive[3], 1);
}

TEST_F(MeshStoreTest, IteratorGivesCornersWithFaceNormalsBeforeSmoothing) {
    store.addTriangle(0, {0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    store.addTriangle(0, {0, 0, 0}, {0, 0, 1}, {1, 0, 0});
    MeshTriangle t;
    ASSERT_TRUE(store.nextTriangle(true, 0, t));
    EXPECT_EQ(t.corners[1], (Vec3{1, 0, 0}));
    for (const Vec3& n : t.normals)
        EXPECT_EQ(n, (Vec3{0, 0, 1}));
    ASSERT_TRUE(store.nextTriangle(false, 0, t));
    for (const Vec3& n : t.normals)
        EXPECT_EQ(n, (Vec3{0, 1, 0}));
    EXPECT_FALSE(store.nextTriangle(false, 0, t));
    EXPECT_FALSE(store.nextTriangle(true, 1, t));
}

TEST_F(MeshStoreTest, RemovingASlotMovesTheLaterSlotsDown) {
    for (int s = 0; s < 4; ++s) {
        store.clearGeometry(s);
        const float x = static_cast<float>(s + 1);
        for (int k = 0; k <= s; ++k) {
            store.addTriangle(s, {x, 0, 0}, {x, 1, 0}, {x, 0, static_cast<float>(k + 1)});
        }
    }
    store.removeGeometry(1);
    EXPECT_EQ(store.triangleCount(0), 1);
    EXPECT_EQ(store.triangleCount(1), 3);
    EXPECT_EQ(store.triangleCount(2), 4);
    EXPECT_EQ(store.triangleCount(3), 0);
    EXPECT_EQ(store.mesh(1).vertices[0], (Vec3{3, 0, 0}));
    EXPECT_EQ(store.mesh(2).vertices[0], (Vec3{4, 0, 0}));
    EXPECT_EQ(store.currentSlot(), 2);
}

TEST(MeshStoreAllocation, FailureLeavesNoStore) {
    NullMessages messages;
    MeshStore store(messages);
    EXPECT_FALSE(store.allocate(0));
    EXPECT_FALSE(store.hasStore());
#if !defined(KV_MESH_TEST_ASAN)
    // Far beyond any machine's memory: the allocation itself fails. (The
    // address sanitizer stops the program on such a request instead.)
    EXPECT_FALSE(store.allocate(1 << 30));
    EXPECT_FALSE(store.hasStore());
    EXPECT_EQ(store.slotCount(), 0);
#endif
    ASSERT_TRUE(store.allocate(3));
    EXPECT_EQ(store.slotCount(), 3);
    EXPECT_EQ(store.triangleCount(2), 0);
}

} // namespace
} // namespace kv::geom
