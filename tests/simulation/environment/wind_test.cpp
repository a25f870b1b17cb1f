#include "simulation/body/body_setup.h"
#include "simulation/body/derived_quantities.h"
#include "simulation/environment/gaussian_random.h"
#include "simulation/environment/wind.h"
#include "simulation/sim_fixtures.h"
#include "simulation/step_object.h"
#include "support/fake_ports.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

constexpr float kDt = 1.0f / 120.0f;

SimObject setUp(const model::ObjectRecord& r) {
    SimObject obj;
    setUpBody(obj, r);
    return obj;
}

Environment windFrom(float directionDeg, float speed) {
    Environment e;
    e.windOn = 1;
    e.windSpeed = speed;
    e.windDirection = directionDeg;
    return e;
}

TEST(Environment, DefaultsAreThoseOfANewProject) {
    const Environment e;
    EXPECT_EQ(e.gravity, 32.17f);
    EXPECT_EQ(e.windOn, 0);
    EXPECT_EQ(e.turbulenceOn, 0);
    EXPECT_EQ(e.windSpeed, 0.0f);
    EXPECT_EQ(e.windDirection, 0.0f);
    EXPECT_EQ(e.turbulenceStrength, 1.0f);
    EXPECT_EQ(e.turbulenceDuration, 1.0f);
    EXPECT_EQ(e.externalForce.axes, kExternalEarthAxes);
    EXPECT_EQ(e.externalForce.point, (Vec3{}));
    EXPECT_EQ(e.externalForce.force, (Vec3{}));
    EXPECT_EQ(e.externalForce.moment, (Vec3{}));
}

TEST(UpdateWind, SteadyWindBlowsAwayFromItsDirection) {
    struct Case {
        float direction;
        Vec3 wind;
    };
    const Case cases[] = {
        {0.0f, {-10.0f, 0.0f, 0.0f}},  // from the north: air moving south
        {90.0f, {0.0f, -10.0f, 0.0f}}, // from the east: air moving west
        {180.0f, {10.0f, 0.0f, 0.0f}},
        {270.0f, {0.0f, 10.0f, 0.0f}},
        {45.0f, {-7.0710678f, -7.0710678f, 0.0f}},
    };
    for (const Case& c : cases) {
        SimObject obj = setUp(test::freeBody());
        UpdateWind(obj, windFrom(c.direction, 10.0f), kDt);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(obj.wind[i], c.wind[i], 1e-5f) << c.direction << " deg, axis " << i;
    }
}

TEST(UpdateWind, SteadyWindInBodyAxesFollowsTheHeading) {
    // A body at rest in a 20 ft/s north wind moves through the air at
    // (20 cos psi, -20 sin psi, 0) in body axes: a headwind when heading north,
    // from the left when heading east.
    for (float heading : {0.0f, 45.0f, 90.0f, 180.0f, 270.0f, -30.0f}) {
        SimObject obj = setUp(test::freeBody(100.0f, 0.0f, 0.0f, heading));
        UpdateWind(obj, windFrom(0.0f, 20.0f), kDt);
        UpdateDerivedQuantities(obj.state, StateDerivative{}, obj);
        const float psi = heading * 0.017453292f;
        EXPECT_NEAR(obj.airVelocity[0], 20.0f * std::cos(psi), 1e-4f) << heading;
        EXPECT_NEAR(obj.airVelocity[1], -20.0f * std::sin(psi), 1e-4f) << heading;
        EXPECT_NEAR(obj.airVelocity[2], 0.0f, 1e-4f) << heading;
        EXPECT_NEAR(obj.airspeed, 20.0f, 1e-4f) << heading;
    }
}

TEST(UpdateWind, CalmAirLeavesAirspeedEqualToBodySpeed) {
    model::ObjectRecord r = test::freeBody();
    r.initial.velocity = {50.0f, 3.0f, -4.0f};
    SimObject obj = setUp(r);
    obj.wind = {5.0f, 5.0f, 5.0f}; // left over from an earlier step
    Environment calm;
    calm.windSpeed = 30.0f; // switched off: ignored
    calm.turbulenceStrength = 3.0f;
    UpdateWind(obj, calm, kDt);
    EXPECT_EQ(obj.wind, (Vec3{}));
    UpdateDerivedQuantities(obj.state, StateDerivative{}, obj);
    EXPECT_EQ(obj.airVelocity, r.initial.velocity);
    EXPECT_EQ(obj.airspeed, VecLength(r.initial.velocity));
}

TEST(UpdateWind, TurbulenceAddsToTheSteadyWindAndRepeatsAfterReseeding) {
    Environment e = windFrom(90.0f, 10.0f);
    e.turbulenceOn = 1;
    auto gusts = [&] {
        SeedGaussianRandom(kRunRandomSeed);
        SimObject obj = setUp(test::freeBody(500.0f));
        obj.state.velocity = {150.0f, 0.0f, 0.0f};
        std::vector<Vec3> out;
        for (int i = 0; i < 200; ++i) {
            UpdateWind(obj, e, kDt);
            out.push_back(obj.wind);
        }
        EXPECT_EQ(obj.turbulence.dt, static_cast<double>(kDt));
        return out;
    };
    const std::vector<Vec3> first = gusts();
    EXPECT_EQ(gusts(), first);

    float largest = 0.0f;
    for (const Vec3& w : first) {
        largest = std::max(largest, std::fabs(w[0]) + std::fabs(w[1] + 10.0f) + std::fabs(w[2]));
    }
    EXPECT_GT(largest, 0.01f); // the gusts are there, about the steady wind
}

TEST(UpdateWind, RunsFromTheSameConditionsSeeTheSameGusts) {
    // Through the whole step: reset, then a second of steps, twice.
    Environment e;
    e.turbulenceOn = 1;
    test::RecordingMessages messages;
    bool stop = false;
    const StepContext ctx{kDt, e, messages, stop};
    auto fly = [&] {
        SeedGaussianRandom(kRunRandomSeed);
        model::ObjectRecord r = test::freeBody(3000.0f);
        r.initial.velocity = {300.0f, 0.0f, 0.0f};
        SimObject obj = setUp(r);
        for (int i = 0; i < 120; ++i)
            StepObject(obj, ctx);
        return std::make_pair(obj.wind, obj.airVelocity);
    };
    const auto first = fly();
    EXPECT_EQ(fly(), first);
    EXPECT_FALSE(stop);
    EXPECT_NE(first.first, (Vec3{}));
}

} // namespace
} // namespace kv::sim
