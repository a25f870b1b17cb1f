#include "simulation/body/body_setup.h"
#include "simulation/body/derived_quantities.h"
#include "simulation/compute_derivatives.h"
#include "simulation/environment/external_force.h"
#include "simulation/sim_fixtures.h"

#include <gtest/gtest.h>

namespace kv::sim {
namespace {

void expectNear(const Vec3& a, const Vec3& b, const char* what) {
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(a[i], b[i], 1e-3f) << what << " axis " << i;
}

SimObject setUp(float yaw = 0.0f, float roll = 0.0f) {
    SimObject obj;
    setUpBody(obj, test::freeBody(100.0f, roll, 0.0f, yaw));
    obj.controls.externalForce = 1;
    return obj;
}

TEST(ExternalForceSet, BodyAxesForceActsAtItsPointAndAddsTheMoment) {
    Environment e;
    e.externalForce.axes = kExternalBodyAxes;
    e.externalForce.point = {0.0f, 0.0f, -2.0f}; // 2 ft above the centre of gravity
    e.externalForce.force = {100.0f, 50.0f, 20.0f};
    e.externalForce.moment = {1.0f, 2.0f, 3.0f};
    SimObject obj = setUp(90.0f, 20.0f); // attitude does not matter in body axes
    obj.controls.externalForceMultipliers = {1.0f, 0.5f, 0.0f};

    const ForceSet set = ExternalForceSet(obj.state, obj, e);
    EXPECT_EQ(set.force, (Vec3{100.0f, 25.0f, 0.0f}));
    // (0, 0, -2) x (100, 25, 0) = (50, -200, 0), plus the moment.
    EXPECT_EQ(set.moment, (Vec3{51.0f, -198.0f, 3.0f}));
}

TEST(ExternalForceSet, EarthAxesSettingsAreTurnedIntoBodyAxes) {
    Environment e;
    e.externalForce.point = {0.0f, 3.0f, 0.0f};   // 3 ft east of the centre of gravity
    e.externalForce.force = {100.0f, 0.0f, 0.0f}; // pushing north
    e.externalForce.moment = {0.0f, 0.0f, 10.0f};
    SimObject obj = setUp(90.0f); // heading east: north is on the left
    obj.controls.externalForceMultipliers = {1.0f, 1.0f, 1.0f};

    const ForceSet set = ExternalForceSet(obj.state, obj, e);
    expectNear(set.force, {0.0f, -100.0f, 0.0f}, "force");
    // Point (3, 0, 0) body x force (0, -100, 0) body = (0, 0, -300): a push on
    // the nose toward the left yaws left; the yaw moment stays a yaw moment.
    expectNear(set.moment, {0.0f, 0.0f, -290.0f}, "moment");
}

TEST(ExternalForceSet, ZeroMultipliersLeaveOnlyTheMoment) {
    for (std::int32_t axes : {kExternalBodyAxes, kExternalEarthAxes}) {
        Environment e;
        e.externalForce.axes = axes;
        e.externalForce.point = {5.0f, -1.0f, 2.0f};
        e.externalForce.force = {1000.0f, -400.0f, 300.0f};
        e.externalForce.moment = {7.0f, -8.0f, 9.0f};
        SimObject obj = setUp();
        const ForceSet set = ExternalForceSet(obj.state, obj, e);
        EXPECT_EQ(set.force, (Vec3{})) << axes;
        expectNear(set.moment, {7.0f, -8.0f, 9.0f}, "moment");
    }
}

TEST(ExternalForceSet, SwitchedOnlyByTheObjectsCommand) {
    Environment e;
    e.externalForce.axes = kExternalBodyAxes;
    e.externalForce.force = {200.0f, 0.0f, 0.0f};
    SimObject on = setUp();
    on.controls.externalForceMultipliers = {1.0f, 0.0f, 0.0f};
    SimObject off = on;
    off.controls.externalForce = 0;

    BodyState s1 = on.state;
    BodyState s2 = off.state;
    const StateDerivative d1 = ComputeDerivatives(kPredictorStage, s1, on, e);
    const StateDerivative d2 = ComputeDerivatives(kPredictorStage, s2, off, e);
    EXPECT_FLOAT_EQ(d1.acceleration[0], 200.0f / on.mass);
    EXPECT_EQ(d2.acceleration[0], 0.0f);

    // Like weight, the external force is left out of the load factors.
    UpdateDerivedQuantities(s1, d1, on);
    EXPECT_EQ(on.loadFactor[0], 0.0f);
}

TEST(Gravity, ZeroGravityIsWeightlessAndDoubleGravityDoublesOnlyTheWeight) {
    struct Case {
        float gravity;
        float fall;
    };
    const Case cases[] = {{0.0f, 0.0f}, {32.17f, 32.17f}, {64.34f, 64.34f}, {-64.34f, -64.34f}};
    for (const Case& c : cases) {
        Environment e;
        e.gravity = c.gravity;
        SimObject obj;
        setUpBody(obj, test::freeBody());
        BodyState s = obj.state;
        const StateDerivative d = ComputeDerivatives(kPredictorStage, s, obj, e);
        EXPECT_FLOAT_EQ(d.acceleration[2], c.fall) << c.gravity;
        EXPECT_EQ(d.acceleration[0], 0.0f);

        // Held by the ground against the weight, the body feels the weight over
        // the standard 32.17: 2 at double gravity, 0 when weightless.
        obj.forces.ground.force = {0.0f, 0.0f, -obj.mass * c.gravity};
        UpdateDerivedQuantities(s, d, obj);
        EXPECT_FLOAT_EQ(obj.loadFactor[2], c.gravity / 32.17f) << c.gravity;
    }
}

} // namespace
} // namespace kv::sim
