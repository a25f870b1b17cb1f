// Object-to-object contact: the response to a stored contact and the pair
// test that stores it.
#include "simulation/collision/collision_response.h"
#include "simulation/collision/mesh_collision_pair.h"
#include "simulation/contact/ground_fixtures.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

constexpr float kG = 32.17f;

std::unique_ptr<SimObject> body(float spring, float damping, float friction, float down) {
    model::ObjectRecord r = test::freeBody();
    r.collisionSpring = spring;
    r.collisionDamping = damping;
    r.collisionFriction = friction;
    r.initial.position = {0.0f, 0.0f, down};
    return test::setUpObject(r, nullptr);
}

TEST(CollisionResponse, NoPartnerNoForce) {
    auto a = body(0.5f, 0.5f, 0.5f, -10.0f);
    a->forces.collision.force = {1.0f, 2.0f, 3.0f};
    a->objectContact.vertices = {{0.0f, 0.0f, 1.0f}};
    ComputeCollisionForces(*a, a->state.velocity, a->state.rates);
    EXPECT_EQ(a->forces.collision.force, (Vec3{}));
    EXPECT_EQ(a->forces.collision.moment, (Vec3{}));
}

TEST(CollisionResponse, VerticesBehindThePartnersSurfaceArePushedOut) {
    // A rests on B; B's touching surface faces up through down = 0.
    auto a = body(0.5f, 0.4f, 0.2f, -1.0f);
    auto b = body(0.8f, 0.6f, 0.6f, 3.0f);
    b->objectContact.point = {0.0f, 0.0f, 0.0f};
    b->objectContact.normal = {0.0f, 0.0f, -1.0f};
    a->objectContact.partner = b.get();
    // Two corners: one 0.2 ft into B, one still above it, one repeated.
    a->objectContact.vertices = {{1.0f, 0.0f, 1.2f}, {-1.0f, 0.0f, 0.5f}};
    const float k = std::fmin(a->groundContact.bodyStiffness, b->groundContact.bodyStiffness);
    const float c = std::fmin(a->groundContact.bodyDamping, b->groundContact.bodyDamping);
    ASSERT_FLOAT_EQ(k, 100.0f * kG / (2.0f * 0.5f));

    ComputeCollisionForces(*a, a->state.velocity, a->state.rates);
    const float n = 0.2f * k;
    EXPECT_NEAR(a->forces.collision.force[2], -n, n * 1e-5f);
    EXPECT_NEAR(a->forces.collision.force[0], 0.0f, 1e-3f);
    // Pushed up at 1 ft forward: nose up.
    EXPECT_NEAR(a->forces.collision.moment[1], n * 1.0f, n * 1e-5f);

    // Separating at 1 ft/s: damping takes away from the push.
    const Vec3 up{0.0f, 0.0f, -1.0f};
    ComputeCollisionForces(*a, up, a->state.rates);
    EXPECT_NEAR(a->forces.collision.force[2], -(n - c), n * 1e-5f);
    // Approaching: the spring alone.
    const Vec3 down{0.0f, 0.0f, 1.0f};
    ComputeCollisionForces(*a, down, a->state.rates);
    EXPECT_NEAR(a->forces.collision.force[2], -n, n * 1e-5f);

    // Sliding forward at 0.5 ft/s over B: friction with the larger coefficient.
    const Vec3 forward{0.5f, 0.0f, 0.0f};
    ComputeCollisionForces(*a, forward, a->state.rates);
    EXPECT_NEAR(a->forces.collision.force[0], -0.5f * n * 0.6f, n * 1e-5f);
    // B moving along with A: no relative motion, no friction.
    b->state.velocity = forward;
    ComputeCollisionForces(*a, forward, a->state.rates);
    EXPECT_NEAR(a->forces.collision.force[0], 0.0f, 1e-2f);
}

TEST(StoreObjectContact, TakesEachCornerOnceAndANormalAwayFromTheBody) {
    auto a = body(0.5f, 0.5f, 0.5f, -10.0f);
    auto b = body(0.5f, 0.5f, 0.5f, -5.0f);
    // Two triangles of a floor 1 m below a's centre, sharing an edge, wound
    // both ways.
    const std::array<float, 9> t1{0, 0, 1, 1, 0, 1, 0, 1, 1};
    const std::array<float, 9> t2{1, 0, 1, 1, 1, 1, 0, 1, 1};
    const std::array<std::array<float, 9>, 2> tris{t1, t2};
    storeObjectContact(*a, *b, tris);
    EXPECT_EQ(a->objectContact.partner, b.get());
    EXPECT_EQ(a->objectContact.vertices.size(), 4u);
    EXPECT_NEAR(a->objectContact.normal[2], 1.0f, 1e-6f) << "pointing down, away from a";
    EXPECT_NEAR(a->objectContact.point[2], -10.0f + 3.2808f, 1e-4f);
}

/// Adds an axis-aligned box of half-size `h` m centred on the origin.
void addBox(geom::MeshStore& store, int slot, float h) {
    store.clearGeometry(slot);
    const double c[8][3] = {{-h, -h, -h}, {h, -h, -h}, {h, h, -h}, {-h, h, -h},
                            {-h, -h, h},  {h, -h, h},  {h, h, h},  {-h, h, h}};
    const int faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4},
                             {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    for (const auto& f : faces) {
        std::array<double, 12> corners{};
        for (int k = 0; k < 4; ++k) {
            for (int j = 0; j < 3; ++j) {
                corners[static_cast<std::size_t>(3 * k + j)] = c[f[k]][j];
            }
        }
        store.addFace(corners);
    }
}

TEST(MeshCollisionPair, OverlappingBoxesBecomePartnersAndPushApart) {
    test::RecordingMessages messages;
    geom::MeshStore store(messages);
    ASSERT_TRUE(store.allocate(2));
    addBox(store, 0, 1.0f);
    addBox(store, 1, 1.0f);
    MeshCollisionPair pair(store);
    const std::array<model::ObjectRecord, 2> records{test::freeBody(), test::freeBody()};
    const std::array<int, 2> indices{0, 1};
    pair.buildModels(records, indices);

    // b sits 1.9 m below a: their faces overlap by 0.1 m.
    auto a = body(0.5f, 0.5f, 0.5f, -20.0f);
    auto b = body(0.5f, 0.5f, 0.5f, -20.0f + 1.9f * 3.2808f);
    pair.testPair(*a, *b);
    ASSERT_GT(pair.contactCount(), 0);
    EXPECT_EQ(a->objectContact.partner, b.get());
    EXPECT_EQ(b->objectContact.partner, a.get());
    EXPECT_GT(a->objectContact.normal[2], 0.5f) << "a's surface faces down towards b";
    EXPECT_LT(b->objectContact.normal[2], -0.5f) << "b's surface faces up towards a";

    ComputeCollisionForces(*a, a->state.velocity, a->state.rates);
    ComputeCollisionForces(*b, b->state.velocity, b->state.rates);
    EXPECT_LT(a->forces.collision.force[2], 0.0f) << "a pushed up";
    EXPECT_GT(b->forces.collision.force[2], 0.0f) << "b pushed down";

    // Apart: the contact is forgotten.
    b->position[2] = -20.0f + 3.0f * 3.2808f;
    pair.testPair(*a, *b);
    EXPECT_EQ(pair.contactCount(), 0);
    EXPECT_EQ(a->objectContact.partner, nullptr);
    EXPECT_EQ(b->objectContact.partner, nullptr);
}

TEST(MeshCollisionPair, WithoutTwoModelsNothingTouches) {
    test::RecordingMessages messages;
    geom::MeshStore store(messages);
    ASSERT_TRUE(store.allocate(1));
    addBox(store, 0, 1.0f);
    MeshCollisionPair pair(store);
    const std::array<model::ObjectRecord, 1> records{test::freeBody()};
    const std::array<int, 1> indices{0};
    pair.buildModels(records, indices);
    auto a = body(0.5f, 0.5f, 0.5f, -20.0f);
    auto b = body(0.5f, 0.5f, 0.5f, -20.0f);
    a->objectContact.partner = b.get();
    pair.testPair(*a, *b);
    EXPECT_EQ(a->objectContact.partner, nullptr);
}

} // namespace
} // namespace kv::sim
