#include "simulation/collision/obb_overlap.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim::collision {
namespace {

const Mat3 kIdentity{1, 0, 0, 0, 1, 0, 0, 0, 1};

Mat3 rotationZ(float degrees) {
    const float a = degrees * 0.017453292f;
    return {std::cos(a), -std::sin(a), 0, std::sin(a), std::cos(a), 0, 0, 0, 1};
}

TEST(CollisionBoxOverlap, ReportsTheFirstSeparatingAxis) {
    struct Case {
        const char* name;
        Mat3 r;
        Vec3 t;
        Vec3 a;
        Vec3 b;
        int axis;
    };
    const Mat3 turned = rotationZ(45.0f);
    const Case cases[] = {
        {"overlapping cubes", kIdentity, {1.5f, 0, 0}, {1, 1, 1}, {1, 1, 1}, 0},
        {"apart along A's x", kIdentity, {2.5f, 0, 0}, {1, 1, 1}, {1, 1, 1}, 1},
        {"apart along A's z", kIdentity, {0, 0, -2.01f}, {1, 1, 1}, {1, 1, 1}, 3},
        {"touching faces overlap", kIdentity, {2.0f, 0, 0}, {1, 1, 1}, {1, 1, 1}, 0},
        // B turned 45° about z, off A's corner: A's axes see overlap, B's x does not.
        {"apart along B's x", turned, {1.8f, 1.8f, 0}, {1, 1, 1}, {1, 1, 1}, 4},
        {"inside", turned, {0.1f, 0.2f, 0.3f}, {3, 3, 3}, {1, 1, 1}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(obbDisjoint(c.r, c.t, c.a, c.b), c.axis) << c.name;
}

TEST(CollisionBoxOverlap, EdgeAxisSeparatesSkewRods) {
    // Rod A along x; rod B along (0, 1, 1)/√2 and turned 45° about its own
    // length, so that no face axis lies along the rods' common perpendicular
    // p = x_A × x_B = (0, −1, 1)/√2. B's centre is moved along p.
    const float h = 0.70710677f;
    const Mat3 r{0, h, h, h, -0.5f, 0.5f, h, 0.5f, -0.5f};
    const Vec3 a{3, 0.05f, 0.05f};
    const Vec3 b{3, 0.05f, 0.05f};
    // Both radii along p are 0.05 × √2 ≈ 0.0707.
    EXPECT_EQ(obbDisjoint(r, {0, -0.3f * h, 0.3f * h}, a, b), 7);
    EXPECT_EQ(obbDisjoint(r, {0, -0.1f * h, 0.1f * h}, a, b), 0);
}

TEST(CollisionTriangleOverlap, SeparatingAxesAndTouching) {
    struct Case {
        const char* name;
        Vec3 p1, p2, p3, q1, q2, q3;
        bool hit;
    };
    const Case cases[] = {
        {"crossing",
         {0, 0, 0},
         {2, 0, 0},
         {0, 2, 0},
         {0.5f, 0.5f, -1},
         {0.5f, 0.5f, 1},
         {1.5f, 0.2f, 0},
         true},
        {"parallel planes",
         {0, 0, 0},
         {2, 0, 0},
         {0, 2, 0},
         {0, 0, 0.1f},
         {2, 0, 0.1f},
         {0, 2, 0.1f},
         false},
        {"coplanar overlapping",
         {0, 0, 0},
         {2, 0, 0},
         {0, 2, 0},
         {0.5f, 0.5f, 0},
         {3, 0.5f, 0},
         {0.5f, 3, 0},
         true},
        {"coplanar apart beyond an edge",
         {0, 0, 0},
         {2, 0, 0},
         {0, 2, 0},
         {1.5f, 1.5f, 0},
         {3, 1.5f, 0},
         {1.5f, 3, 0},
         false},
        {"touching at a corner",
         {0, 0, 0},
         {2, 0, 0},
         {0, 2, 0},
         {2, 0, 0},
         {3, 0, 1},
         {3, 1, 0},
         true},
        {"edge through the other's plane beside it",
         {0, 0, 0},
         {1, 0, 0},
         {0, 1, 0},
         {1, 1, -1},
         {1, 1, 1},
         {2, 2, 0},
         false},
        {"skew edges just missing",
         {0, 0, 0},
         {2, 0, 0},
         {1, 0, 2},
         {1, -1, 2.01f},
         {1, 1, 2.01f},
         {1, 0, 3},
         false},
        {"skew edges crossing",
         {0, 0, 0},
         {2, 0, 0},
         {1, 0, 2},
         {1, -1, 1.9f},
         {1, 1, 1.9f},
         {1, 0, 3},
         true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(triContact(c.p1, c.p2, c.p3, c.q1, c.q2, c.q3), c.hit) << c.name;
        EXPECT_EQ(triContact(c.q1, c.q2, c.q3, c.p1, c.p2, c.p3), c.hit) << c.name << " swapped";
    }
}

} // namespace
} // namespace kv::sim::collision
