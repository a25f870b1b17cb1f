// The terrain seen through the contact model's ground interface, and a run's
// reset handing the ground and geometry to its objects.
#include "geometry/terrain_grid.h"
#include "ground_fixtures.h"
#include "simulation/contact/ground_contact.h"
#include "simulation/reset_simulation.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

TEST(TerrainGround, WithoutAGridTheGroundIsLevelAtZero) {
    const TerrainGround ground(nullptr);
    GroundCursor cursor;
    EXPECT_EQ(ground.height(cursor, true, 120.0f, -40.0f), 0.0f);
    const GroundPoint p = ground.heightAndNormal(cursor, false, 120.0f, -40.0f);
    EXPECT_EQ(p.height, 0.0f);
    EXPECT_EQ(p.normal, (Vec3{0.0f, 0.0f, -1.0f}));
}

TEST(TerrainGround, AnswersFromTheGridWithAnUpwardNormal) {
    // A 2 x 2 grid over 0..10 ft in both axes, rising 1 ft per 10 ft north.
    geom::TerrainGrid grid;
    ASSERT_TRUE(geom::allocateTerrainGrid(grid, 2));
    grid.gridX = {0.0, 10.0};
    grid.gridY = {0.0, 10.0};
    grid.heights = {0.0, 0.0, -1.0, -1.0};
    grid.xMin = 0.0;
    grid.xMax = 10.0;
    grid.yMin = 0.0;
    grid.yMax = 10.0;
    grid.dx = 10.0;
    grid.dy = 10.0;
    const TerrainGround ground(&grid);
    GroundCursor cursor;
    EXPECT_NEAR(ground.height(cursor, true, 5.0f, 5.0f), -0.5f, 1e-6f);
    const GroundPoint p = ground.heightAndNormal(cursor, false, 5.0f, 5.0f);
    EXPECT_NEAR(p.height, -0.5f, 1e-6f);
    const float len = std::sqrt(1.0f + 0.01f);
    EXPECT_NEAR(p.normal[0], -0.1f / len, 1e-5f);
    EXPECT_NEAR(p.normal[1], 0.0f, 1e-6f);
    EXPECT_NEAR(p.normal[2], -1.0f / len, 1e-5f);
}

TEST(ResetSimulation, HandsEachObjectTheGroundItsStepAndItsContactVertices) {
    test::RecordingMessages messages;
    geom::MeshStore meshes(messages);
    ASSERT_TRUE(meshes.allocate(1));
    meshes.clearGeometry(0);
    model::loadTemplateMesh(model::kVehicleCar,
                            [&](const std::array<double, 12>& c) { return meshes.addFace(c); });
    meshes.thinContactVertices(0);

    std::array<model::ObjectRecord, 1> objects{test::templateRecord(model::kVehicleCar)};
    const FlatGround ground(-3.0f);
    RunSettings settings;
    settings.dt = 1.0f / 240.0f;
    settings.ground = &ground;
    settings.meshes = &meshes;
    auto run = std::make_unique<RunState>();
    ResetSimulation(*run, settings, objects);
    const GroundContactState& g = run->slots[0].sim.groundContact;
    EXPECT_EQ(g.ground, &ground);
    EXPECT_EQ(g.dt, 1.0f / 240.0f);
    EXPECT_EQ(g.effectorCount, 4);
    EXPECT_EQ(g.points.size(), contactVerticesOf(&meshes, 0).size());
    EXPECT_FALSE(g.points.empty());
    EXPECT_EQ(g.penetration.size(), g.points.size());

    // Without a mesh store the object has no geometry points.
    settings.meshes = nullptr;
    ResetSimulation(*run, settings, objects);
    EXPECT_TRUE(run->slots[0].sim.groundContact.points.empty());
}

TEST(GroundContact, ASpinningWheelAddsAGyroscopicMoment) {
    // Rolling forward at 5 ft/s while yawing: the spin's angular momentum
    // along the axle is turned, which takes a roll moment -r * I * spin.
    model::ObjectRecord r = test::boxCar();
    r.initial.position = {0.0f, 0.0f, -1.9f};
    const float yawRate = 0.5f;
    Vec3 moments[2];
    const float inertia[2] = {1.5f, 4.5f};
    float spin = 0.0f;
    for (int k = 0; k < 2; ++k) {
        auto obj = test::setUpObject(r, nullptr);
        for (auto& c : obj->groundContact.effectors) {
            c.wheelInertia = inertia[k];
        }
        const Vec3 v{5.0f, 0.0f, 0.0f};
        const Vec3 w{0.0f, 0.0f, yawRate};
        ComputeGroundForces(2, *obj, v, w);
        moments[k] = obj->forces.ground.moment;
        spin = obj->groundContact.effectors[1].tire.spin;
    }
    EXPECT_GT(spin, 0.0f);
    // Each wheel spins at (5 - r * y) / 1 rad/s; the four add up to 20.
    EXPECT_NEAR(moments[1][0] - moments[0][0], -yawRate * (4.5f - 1.5f) * 20.0f, 1e-3f);
    EXPECT_NEAR(moments[1][1], moments[0][1], 1e-2f);
    EXPECT_NEAR(moments[1][2], moments[0][2], 1e-2f);
}

} // namespace
} // namespace kv::sim
