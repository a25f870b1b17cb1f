#include "simulation/body/body_setup.h"
#include "simulation/body/derived_quantities.h"
#include "simulation/body/rigid_body_derivatives.h"
#include "simulation/compute_derivatives.h"
#include "simulation/environment/atmosphere.h"
#include "simulation/sim_fixtures.h"
#include "simulation/step_object.h"
#include "support/fake_ports.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace kv::sim {
namespace {

constexpr float kG = 32.17f;
constexpr float kDt = 1.0f / 120.0f;

struct Stepper {
    Environment environment;
    test::RecordingMessages messages;
    bool stop = false;
    StepContext context() { return StepContext{kDt, environment, messages, stop}; }
};

SimObject setUp(const model::ObjectRecord& r) {
    SimObject obj;
    setUpBody(obj, r);
    return obj;
}

TEST(BodySetup, TakesPositionAttitudeVelocityAndRatesFromTheInitialConditions) {
    model::ObjectRecord r = test::freeBody(250.0f, 10.0f, 20.0f, 30.0f);
    r.initial.position[0] = 1000.0f;
    r.initial.position[1] = -500.0f;
    r.initial.velocity = {100.0f, 10.0f, 5.0f};
    r.initial.rates = {57.29578f, 0.0f, -28.64789f};
    const SimObject obj = setUp(r);

    EXPECT_EQ(obj.state.altitude, 250.0f);
    EXPECT_GT(obj.state.latitude, 0.0);
    EXPECT_GT(obj.state.longitude, 0.0); // west of the origin
    EXPECT_EQ(obj.position, r.initial.position);
    EXPECT_EQ(obj.originLatitude, 0.0);
    EXPECT_NEAR(obj.roll, 10.0f * 0.017453292f, 1e-6f);
    EXPECT_NEAR(obj.yaw, 30.0f * 0.017453292f, 1e-6f);
    Mat3 expected;
    EulerToMatrix(10.0f, 20.0f, 30.0f, expected);
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_NEAR(obj.earthToBody[i], expected[i], 2e-6f);

    EXPECT_EQ(obj.state.velocity, r.initial.velocity);
    EXPECT_EQ(obj.airVelocity, r.initial.velocity);
    EXPECT_FLOAT_EQ(obj.airspeed, std::sqrt(100.0f * 100.0f + 100.0f + 25.0f));
    EXPECT_FLOAT_EQ(obj.alpha, std::atan2(5.0f, 100.0f));
    EXPECT_FLOAT_EQ(obj.beta, std::atan2(10.0f, 100.0f)); // v over u at set-up
    EXPECT_NEAR(obj.mach, obj.airspeed / SampleAtmosphere(250.0f).speedOfSound, 1e-7f);
    EXPECT_NEAR(obj.state.rates[0], 1.0f, 1e-6f);
    EXPECT_NEAR(obj.state.rates[2], -0.5f, 1e-6f);
    EXPECT_EQ(obj.loadFactor, (Vec3{0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(obj.frameTime, 0.0f);
    EXPECT_EQ(obj.simTime, 0.0f);

    model::ObjectRecord still = test::freeBody();
    EXPECT_EQ(setUp(still).alpha, 0.0f); // no forward speed: alpha and beta 0
}

TEST(BodySetup, AppliesTheSevenScaleFactors) {
    model::ObjectRecord r = test::freeBody();
    r.mass.inertia = {10, 1, 2, 1, 20, 3, 2, 3, 30};
    r.mass.massScale = {2.0f, 3.0f, 4.0f, 5.0f};
    r.mass.rollPitchCoupling = 0.5f;
    r.mass.rollYawCoupling = 0.25f;
    r.mass.pitchYawCoupling = 0.0f;
    const SimObject obj = setUp(r);
    EXPECT_EQ(obj.mass, 200.0f);
    EXPECT_EQ(obj.inertia, (Mat3{30, 0.5f, 0.5f, 0.5f, 80, 0, 0.5f, 0, 150}));
}

TEST(RigidBody, FreeFallAcceleratesAtGAlongEarthDownWhateverTheAttitude) {
    const float attitudes[][3] = {
        {0, 0, 0}, {30, 45, 60}, {180, 0, 0}, {0, 89, 0}, {-120, -30, 170},
    };
    for (const auto& a : attitudes) {
        SimObject obj = setUp(test::freeBody(1000.0f, a[0], a[1], a[2]));
        Stepper s;
        const int steps = 120;
        for (int i = 0; i < steps; ++i)
            StepObject(obj, s.context());
        const float t = steps * kDt;
        EXPECT_FALSE(s.stop);
        EXPECT_NEAR(obj.earthVelocity[0], 0.0f, 1e-4f);
        EXPECT_NEAR(obj.earthVelocity[1], 0.0f, 1e-4f);
        EXPECT_NEAR(obj.earthVelocity[2], kG * t, 1e-3f) << a[0] << "," << a[1] << "," << a[2];
        EXPECT_NEAR(obj.state.altitude, 1000.0f - 0.5f * kG * t * t, 1e-3f);
        EXPECT_NEAR(WrapPi(obj.roll - a[0] * 0.017453292f), 0.0f, 1e-5f); // +-180 deg agree
        EXPECT_NEAR(obj.climbRate, -kG * t, 1e-3f);
    }
}

TEST(RigidBody, WeightBalancedByContactKeepsTheBodyAtRest) {
    SimObject obj = setUp(test::freeBody(0.0f, 10.0f, 5.0f, 30.0f));
    Vec3 weight;
    MatVec3(obj.earthToBody, {0.0f, 0.0f, obj.mass * kG}, weight);
    VecScale(weight, -1.0f, obj.forces.ground.force);
    const StateDerivative d =
        RigidBodyDerivatives(obj.mass, obj.inertia, 0.0f, obj.state.quat, obj.state.rates,
                             obj.state.velocity, obj.forces, ForceSet{}, 0.0f, 0.0, kG);
    for (int i = 0; i < kStateElementCount; ++i)
        EXPECT_NEAR(d.element(i), 0.0, 1e-5) << i;
}

TEST(RigidBody, AerodynamicSetIsRotatedByAlpha) {
    SimObject obj = setUp(test::freeBody());
    obj.forces.aero.force = {1.0f, 0.0f, 0.0f};
    obj.forces.aero.moment = {2.0f, 0.0f, 0.0f};
    const float alpha = 1.5707964f;
    const StateDerivative d =
        RigidBodyDerivatives(obj.mass, obj.inertia, alpha, obj.state.quat, obj.state.rates,
                             obj.state.velocity, obj.forces, ForceSet{}, 0.0f, 0.0, 0.0f);
    EXPECT_NEAR(d.acceleration[0], 0.0f, 1e-8f);
    EXPECT_NEAR(d.acceleration[2], 1.0f / obj.mass, 1e-8f);
    EXPECT_NEAR(d.angularAcceleration[2], 2.0f / 3500.0f, 1e-9f);
}

TEST(RigidBody, GyroscopicCouplingAndNavigationSigns) {
    const Mat3 inertia{1, 0, 0, 0, 2, 0, 0, 0, 3};
    ForceSets none;
    Quat level{1.0f, 0.0f, 0.0f, 0.0f};
    StateDerivative d = RigidBodyDerivatives(1.0f, inertia, 0.0f, level, {1.0f, 0.0f, 1.0f},
                                             {0.0f, 0.0f, 0.0f}, none, ForceSet{}, 0.0f, 0.0, 0.0f);
    EXPECT_NEAR(d.angularAcceleration[1], 1.0f, 1e-6f); // -(w x Iw)/Iyy

    // Heading east: latitude fixed, longitude decreasing (positive west).
    d = RigidBodyDerivatives(1.0f, inertia, 0.0f, level, {0, 0, 0}, {0.0f, 100.0f, 0.0f}, none,
                             ForceSet{}, 0.0f, 0.0, 0.0f);
    EXPECT_EQ(d.latitudeRate, 0.0);
    EXPECT_NEAR(d.longitudeRate, -57.29578 * 100.0 / kEarthRadiusFt, 1e-15);
    d = RigidBodyDerivatives(1.0f, inertia, 0.0f, level, {0, 0, 0}, {100.0f, 0.0f, 0.0f}, none,
                             ForceSet{}, 1000.0f, 0.0, 0.0f);
    EXPECT_NEAR(d.latitudeRate, 57.29578 * 100.0 / (kEarthRadiusFt + 1000.0), 1e-15);
    // At the pole the longitude rate is 0 rather than a division by zero.
    d = RigidBodyDerivatives(1.0f, inertia, 0.0f, level, {0, 0, 0}, {0.0f, 100.0f, 0.0f}, none,
                             ForceSet{}, 0.0f, 90.0, 0.0f);
    EXPECT_EQ(d.longitudeRate, 0.0);
}

TEST(StepObject, PureYawRateTurnsTheYawByRateTimesStep) {
    model::ObjectRecord r = test::freeBody(100.0f);
    r.initial.rates = {0.0f, 0.0f, 28.64789f}; // 0.5 rad/s
    SimObject obj = setUp(r);
    Stepper s;
    s.environment.gravity = 0.0f;
    const BodyState start = obj.state;
    const float rate = obj.state.rates[2];
    for (int i = 1; i <= 60; ++i) {
        StepObject(obj, s.context());
        EXPECT_NEAR(obj.yaw, static_cast<float>(i) * rate * kDt, 2e-6f * static_cast<float>(i));
    }
    EXPECT_EQ(obj.state.latitude, start.latitude);
    EXPECT_EQ(obj.state.longitude, start.longitude);
    EXPECT_EQ(obj.state.altitude, start.altitude);
    EXPECT_EQ(obj.roll, 0.0f);
    EXPECT_EQ(obj.pitch, 0.0f);
    EXPECT_EQ(obj.state.rates[2], rate);
}

TEST(StepObject, InstabilityThresholdOnTheSignedDerivative) {
    struct Case {
        float downVelocity; // ft/s; the altitude derivative is its negation
        bool unstable;
    };
    const Case cases[] = {
        {-10000.0f, false},  // exactly 10000 passes
        {-10000.001f, true}, // just above stops
        {1.0e6f, false},     // a large negative derivative is not tested
        {std::numeric_limits<float>::quiet_NaN(), true},
        {std::numeric_limits<float>::infinity(), true},
        {-std::numeric_limits<float>::infinity(), true},
    };
    for (const auto& c : cases) {
        model::ObjectRecord r = test::freeBody(1.0e5f);
        r.initial.velocity = {0.0f, 0.0f, c.downVelocity};
        SimObject obj = setUp(r);
        Stepper s;
        s.environment.gravity = 0.0f;
        const BodyState before = obj.state;
        StepObject(obj, s.context());
        EXPECT_EQ(s.stop, c.unstable) << c.downVelocity;
        if (c.unstable) {
            ASSERT_EQ(s.messages.messages.size(), 1u);
            EXPECT_EQ(s.messages.messages[0], "The simulation became unstable.");
            // Stopped in the predictor: the stored state is the one before the step.
            EXPECT_EQ(obj.state.altitude, before.altitude);
            EXPECT_EQ(obj.state.latitude, before.latitude);
        } else {
            EXPECT_TRUE(s.messages.messages.empty());
            EXPECT_EQ(obj.state.altitude, before.altitude - c.downVelocity * kDt);
        }
    }
}

TEST(StepObject, InstabilityInTheCorrectorKeepsTheElementsAdvancedBeforeIt) {
    // Gravity pointing up makes the climb rate grow between the stages: the
    // predictor's altitude derivative passes, the corrector's does not.
    model::ObjectRecord r = test::freeBody(1000.0f);
    r.initial.velocity = {100.0f, 0.0f, -9999.0f};
    SimObject obj = setUp(r);
    Stepper s;
    s.environment.gravity = -1000.0f;
    const BodyState before = obj.state;
    StepObject(obj, s.context());
    EXPECT_TRUE(s.stop);
    EXPECT_EQ(s.messages.messages.size(), 1u);
    EXPECT_GT(obj.state.latitude, before.latitude); // advanced before the failing element
    EXPECT_EQ(obj.state.altitude, before.altitude); // the failing element and all after it
    EXPECT_EQ(obj.state.velocity, before.velocity);
}

TEST(StepObject, SingularInertiaStopsTheRunInsteadOfSpreadingNaN) {
    model::ObjectRecord r = test::freeBody();
    r.mass.inertia = {};
    SimObject obj = setUp(r);
    Stepper s;
    StepObject(obj, s.context());
    EXPECT_TRUE(s.stop);
    ASSERT_EQ(s.messages.messages.size(), 1u);
    for (int i = 0; i < kStateElementCount; ++i)
        EXPECT_TRUE(std::isfinite(obj.state.element(i)));
}

TEST(StepObject, UnstableDerivativeValues) {
    EXPECT_FALSE(isUnstableDerivative(10000.0));
    EXPECT_TRUE(isUnstableDerivative(10000.001));
    EXPECT_FALSE(isUnstableDerivative(-1.0e6));
    EXPECT_FALSE(isUnstableDerivative(0.0));
    EXPECT_TRUE(isUnstableDerivative(std::nan("")));
    EXPECT_TRUE(isUnstableDerivative(-std::numeric_limits<double>::infinity()));
}

TEST(DerivedQuantities, ZeroAirspeedGivesAlphaNinetyDegrees) {
    SimObject obj = setUp(test::freeBody());
    StateDerivative d;
    d.acceleration = {1.0f, 2.0f, 3.0f};
    UpdateDerivedQuantities(obj.state, d, obj);
    EXPECT_EQ(obj.alpha, 1.5707964f);
    EXPECT_EQ(obj.beta, 0.0f);
    EXPECT_EQ(obj.airspeed, 0.0f);
    EXPECT_EQ(obj.alphaDot, 0.0f); // denominators below the tolerance
    EXPECT_EQ(obj.betaDot, 0.0f);
    EXPECT_EQ(obj.climbRatio, 0.0f);
    EXPECT_EQ(obj.loadFactor, (Vec3{0.0f, 0.0f, 0.0f})); // weight is not counted
}

TEST(DerivedQuantities, AirDataAngleRatesAndLoadFactors) {
    model::ObjectRecord r = test::freeBody(500.0f);
    r.initial.velocity = {100.0f, 20.0f, 10.0f};
    SimObject obj = setUp(r);
    obj.forces.ground.force = {0.0f, 0.0f, -obj.mass * 32.17f * 2.0f};
    obj.forces.propulsion.force = {obj.mass * 32.17f * 0.5f, 0.0f, 0.0f};
    StateDerivative d;
    d.acceleration = {1.0f, 0.5f, -2.0f};
    UpdateDerivedQuantities(obj.state, d, obj);
    EXPECT_FLOAT_EQ(obj.alpha, std::atan2(10.0f, 100.0f));
    EXPECT_FLOAT_EQ(obj.beta, std::atan2(20.0f, std::sqrt(10100.0f)));
    EXPECT_FLOAT_EQ(obj.alphaDot, (-2.0f * 100.0f - 1.0f * 10.0f) / 10100.0f);
    EXPECT_FLOAT_EQ(obj.betaDot, (10100.0f * 0.5f - (100.0f * 1.0f + 10.0f * -2.0f) * 20.0f) /
                                     (std::sqrt(10100.0f) * 10500.0f));
    EXPECT_NEAR(obj.loadFactor[0], 0.5f, 1e-6f);
    EXPECT_NEAR(obj.loadFactor[2], 2.0f, 1e-6f);
    EXPECT_NEAR(obj.climbRate, -10.0f, 1e-5f);
    EXPECT_NEAR(obj.climbRatio, -10.0f / obj.airspeed, 1e-7f);
}

TEST(DerivedQuantities, LocalPositionInvertsTheSetUpNearTheOrigin) {
    model::ObjectRecord r = test::freeBody(100.0f);
    r.initial.position = {1000.0f, -500.0f, -100.0f};
    SimObject obj = setUp(r);
    UpdateDerivedQuantities(obj.state, StateDerivative{}, obj);
    EXPECT_NEAR(obj.position[0], 1000.0f, 1e-3f);
    EXPECT_NEAR(obj.position[1], -500.0f, 1e-3f);
    EXPECT_EQ(obj.position[2], -100.0f);
}

} // namespace
} // namespace kv::sim
