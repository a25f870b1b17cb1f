#include "ground_fixtures.h"
#include "simulation/contact/contact_geometry.h"
#include "simulation/contact/ground_contact.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

constexpr float kDt = 1.0f / 120.0f;
constexpr float kG = 32.17f;

/// Places `r` with its centre of gravity `down` ft down, level.
std::unique_ptr<SimObject> placed(model::ObjectRecord r, float down,
                                  const GroundQuery* ground = nullptr,
                                  const std::vector<Vec3>& points = {}) {
    r.initial.position = {0.0f, 0.0f, down};
    return test::setUpObject(r, ground, points);
}

TEST(SetUpContacts, DerivesSuspensionAndBodyContactFromTheRecord) {
    const model::ObjectRecord r = test::boxCar();
    const auto obj = placed(r, -10.0f);
    const GroundContactState& g = obj->groundContact;
    ASSERT_EQ(g.effectorCount, 4);
    EXPECT_EQ(obj->contact.tireCount, 4);
    EXPECT_EQ(g.drivenCount, 2);
    EXPECT_EQ(g.bladeCount, 0);
    EXPECT_FALSE(g.detailed);
    const float k = 60.0f * kG / (0.6f * 1.0f);
    for (int i = 0; i < 4; ++i) {
        const ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
        EXPECT_EQ(c.effector, i);
        EXPECT_TRUE(c.isTire);
        EXPECT_TRUE(c.braked);
        EXPECT_EQ(c.driven, i < 2);
        EXPECT_FLOAT_EQ(c.travel, 1.0f);
        EXPECT_FLOAT_EQ(c.stiffness, k);
        EXPECT_FLOAT_EQ(c.damping, 2.0f * 0.3f * std::sqrt(k * 60.0f));
        EXPECT_FLOAT_EQ(c.wheelInertia, 1.5f);
    }
    const float kb = 60.0f * kG / (2.0f * 0.6f);
    EXPECT_FLOAT_EQ(g.bodyStiffness, kb);
    EXPECT_FLOAT_EQ(g.bodyDamping, 2.0f * 0.2f * std::sqrt(kb * 60.0f));
    EXPECT_FLOAT_EQ(g.friction, 0.5f);
}

TEST(SetUpContacts, TemplatesGiveTravelFromStrutsAndPivots) {
    const auto car = placed(test::templateRecord(model::kVehicleCar), -10.0f);
    EXPECT_EQ(car->groundContact.effectorCount, 4);
    EXPECT_FLOAT_EQ(car->groundContact.effectors[0].travel, 1.0f);
    EXPECT_TRUE(car->groundContact.detailed);

    const auto plane = placed(test::templateRecord(model::kVehicleAircraft), -20.0f);
    ASSERT_EQ(plane->groundContact.effectorCount, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(plane->groundContact.effectors[static_cast<std::size_t>(i)].travel, 2.0f);
    }

    const auto bike = placed(test::templateRecord(model::kVehicleMotorcycle), -10.0f);
    const GroundContactState& b = bike->groundContact;
    ASSERT_EQ(b.effectorCount, 2);
    EXPECT_FLOAT_EQ(b.effectors[0].travel, 0.425f);
    EXPECT_FALSE(b.effectors[0].pivoted);
    // The rear wheel swings 1.6919 ft from its pivot through 14.3925 degrees.
    EXPECT_NEAR(b.effectors[1].travel, 1.6919f * 14.3925f * kRadPerDeg, 1e-5f);
    EXPECT_TRUE(b.effectors[1].pivoted);

    const auto heli = placed(test::templateRecord(model::kVehicleHelicopter), -10.0f);
    EXPECT_EQ(heli->groundContact.effectorCount, 0);
    EXPECT_EQ(heli->groundContact.bladeCount, 8);
}

TEST(ContactGeometry, LeftWheelsFoldTheirYawAndSteerWithTheControl) {
    auto car = placed(test::templateRecord(model::kVehicleCar), -10.0f);
    GroundContactState& g = car->groundContact;
    ControlBlock controls;
    updateContactGeometry(g, controls);
    const float expectedSide[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        const ContactEffector& c = g.effectors[static_cast<std::size_t>(i)];
        EXPECT_NEAR(c.steer, 0.0f, 1e-6f);
        EXPECT_EQ(c.side, expectedSide[i]);
        EXPECT_FLOAT_EQ(c.attach[2], 1.14f) << "geometry uses the uncompressed strut";
        EXPECT_EQ(c.axis, (Vec3{0.0f, 0.0f, -1.0f}));
    }
    EXPECT_FLOAT_EQ(g.effectors[0].attach[1], -2.2907f);

    controls.tireSteer = 0.5f;
    updateContactGeometry(g, controls);
    const float steer = 15.0f * kRadPerDeg;
    EXPECT_NEAR(g.effectors[0].steer, steer, 1e-5f);
    EXPECT_NEAR(g.effectors[1].steer, steer, 1e-5f);
    EXPECT_NEAR(g.effectors[2].steer, 0.0f, 1e-6f);
}

TEST(ContactGeometry, AStrutAxisFollowsItsParentUnlessAPivotFollowsTheTire) {
    auto bike = placed(test::templateRecord(model::kVehicleMotorcycle), -10.0f);
    GroundContactState& g = bike->groundContact;
    updateContactGeometry(g, ControlBlock{});
    const float rake = 21.9606f * kRadPerDeg;
    EXPECT_NEAR(g.effectors[0].axis[0], -std::sin(rake), 1e-6f);
    EXPECT_NEAR(g.effectors[0].axis[1], 0.0f, 1e-6f);
    EXPECT_NEAR(g.effectors[0].axis[2], -std::cos(rake), 1e-6f);
    EXPECT_EQ(g.effectors[1].axis, (Vec3{0.0f, 0.0f, -1.0f}));
    EXPECT_EQ(g.effectors[1].side, 1.0f);
}

TEST(GroundContact, ATireExactlyAtTheSurfaceCarriesNothingAndSpinsDown) {
    auto obj = placed(test::boxCar(), -2.0f); // tire bottoms at 1 + 1 ft
    obj->groundContact.effectors[0].tire.spin = 10.0f;
    ComputeGroundForces(1, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_EQ(obj->forces.ground.force, (Vec3{}));
    EXPECT_EQ(obj->forces.ground.moment, (Vec3{}));
    EXPECT_FALSE(obj->groundContact.inContact);
    EXPECT_FLOAT_EQ(obj->groundContact.effectors[0].tire.spin, 9.9f);
    ComputeGroundForces(2, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_FLOAT_EQ(obj->groundContact.effectors[0].tire.spin, 9.9f * 0.99f);
    EXPECT_EQ(obj->contact.compression[0], 0.0f);
}

TEST(GroundContact, CompressionStopsAtTheTravel) {
    auto obj = placed(test::boxCar(), -2.0f + 1.5f);
    ComputeGroundForces(1, *obj, obj->state.velocity, obj->state.rates);
    const GroundContactState& g = obj->groundContact;
    EXPECT_TRUE(g.inContact);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(g.effectors[static_cast<std::size_t>(i)].compression, 1.0f);
        EXPECT_FLOAT_EQ(obj->contact.compression[static_cast<std::size_t>(i)], 1.0f);
    }
    // Held there, the strut gives the spring force at full travel.
    ComputeGroundForces(2, *obj, obj->state.velocity, obj->state.rates);
    const float k = g.effectors[0].stiffness;
    EXPECT_FLOAT_EQ(g.effectors[0].normalForce, k * 1.0f);
    EXPECT_NEAR(obj->forces.ground.force[2], -4.0f * k, 1e-2f);
    EXPECT_NEAR(obj->forces.ground.force[0], 0.0f, 1e-3f);
    EXPECT_NEAR(obj->forces.ground.moment[0], 0.0f, 1e-2f);
    EXPECT_NEAR(obj->forces.ground.moment[1], 0.0f, 1e-2f);
}

TEST(GroundContact, AStrutExtendingFasterThanItsSpringPushesNothing) {
    auto obj = placed(test::boxCar(), -2.0f + 0.1f);
    for (auto& c : obj->groundContact.effectors) {
        c.previousCompression = 0.9f;
    }
    ComputeGroundForces(2, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_TRUE(obj->groundContact.inContact);
    EXPECT_EQ(obj->groundContact.effectors[0].normalForce, 0.0f);
    EXPECT_EQ(obj->forces.ground.force, (Vec3{}));
}

TEST(GroundContact, ATireWithoutAStrutOnlySpinsDown) {
    model::ObjectRecord r = test::boxCar();
    for (auto& e : r.effectors) {
        e.drivers[2] = 0;
    }
    auto obj = placed(r, -2.0f + 0.5f);
    obj->groundContact.effectors[1].tire.spin = 4.0f;
    ComputeGroundForces(1, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_FLOAT_EQ(obj->groundContact.effectors[1].travel, 0.0f);
    EXPECT_EQ(obj->forces.ground.force, (Vec3{}));
    EXPECT_FLOAT_EQ(obj->groundContact.effectors[1].tire.spin, 3.96f);
    EXPECT_EQ(obj->contact.compression[1], 0.0f);
}

TEST(GroundContact, AStrutLyingAlongTheSurfaceDoesNotCompress) {
    model::ObjectRecord r = test::boxCar();
    // Hang each tire from a parent rolled 90 degrees: the strut axis lies
    // across the car, parallel to the ground.
    r.effectorCount = 8;
    for (int i = 0; i < 4; ++i) {
        model::EffectorRecord& hub = r.effectors[static_cast<std::size_t>(4 + i)];
        hub = model::EffectorRecord{};
        hub.kind = model::kEffectorBasic;
        hub.parent = -1;
        hub.offsets = r.effectors[static_cast<std::size_t>(i)].offsets;
        hub.offsets[2] = 0.0f;
        hub.offsets[3] = 90.0f;
        model::EffectorRecord& tire = r.effectors[static_cast<std::size_t>(i)];
        tire.parent = 4 + i;
        tire.offsets = {0.0f, 0.0f, 0.0f, -90.0f, 0.0f, 0.0f};
    }
    auto obj = placed(r, -0.5f);
    ComputeGroundForces(1, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_NEAR(obj->groundContact.effectors[0].axis[2], 0.0f, 1e-6f);
    EXPECT_EQ(obj->groundContact.effectors[0].compression, 0.0f);
    EXPECT_EQ(obj->forces.ground.force, (Vec3{}));
}

TEST(GroundContact, RollAnglesAdvanceInTheCorrectorOnlyAndBothSidesRollForward) {
    auto obj = placed(test::templateRecord(model::kVehicleCar), -(1.14f + 0.9518f) + 0.1f);
    obj->state.velocity = {8.0f, 0.0f, 0.0f};
    obj->groundContact.detailed = false;
    ComputeGroundForces(1, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_EQ(obj->contact.rollAngle[0], 0.0f);
    const float spin = obj->groundContact.effectors[0].tire.spin;
    EXPECT_FLOAT_EQ(spin, 8.0f / 0.9518f);
    ComputeGroundForces(2, *obj, obj->state.velocity, obj->state.rates);
    // Right wheels turn nose-down about body y; left wheels, yawed round by
    // 180 degrees, turn the other way in their own axes.
    EXPECT_FLOAT_EQ(obj->contact.rollAngle[1], -spin * kDt);
    EXPECT_FLOAT_EQ(obj->contact.rollAngle[0], spin * kDt);
    EXPECT_FLOAT_EQ(obj->engine.wheelRpm, spin * 9.549296f);
}

TEST(GroundContact, ABrakedTireOnASlopeIsHeldUphill) {
    test::SlopedGround slope(0.1f);
    model::ObjectRecord r = test::boxCar();
    r.initial.attitude = {0.0f, static_cast<float>(std::atan(0.1) * 180.0 / kPiD), 0.0f};
    auto obj = placed(r, -1.9f, &slope);
    obj->controls.channels[kBrake] = 1.0f;
    obj->state.velocity = {-0.2f, 0.0f, 0.0f}; // creeping back down
    ComputeGroundForces(1, *obj, obj->state.velocity, obj->state.rates);
    ComputeGroundForces(2, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_GT(obj->forces.ground.force[0], 0.0f);
    EXPECT_LT(obj->groundContact.effectors[0].tire.holdIntegrator, 0.0f);
}

TEST(BodyPointContact, APointBelowTheSurfaceIsPushedOutAlongTheNormal) {
    model::ObjectRecord r = test::freeBody();
    r.collisionSpring = 0.5f;
    r.collisionDamping = 0.3f;
    r.collisionFriction = 0.4f;
    const std::vector<Vec3> points = {{0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, -1.0f}};
    const float low = 3.2808f;
    auto obj = placed(r, -low + 0.1f, nullptr, points);
    const GroundContactState& g = obj->groundContact;
    const float kb = 100.0f * kG / (2.0f * 0.5f);
    ASSERT_FLOAT_EQ(g.bodyStiffness, kb);

    ComputeGroundForces(1, *obj, obj->state.velocity, obj->state.rates);
    const float d = g.penetration[0];
    EXPECT_NEAR(d, 0.1f, 1e-5f);
    EXPECT_EQ(g.penetration[1], 0.0f);
    EXPECT_FLOAT_EQ(obj->forces.ground.force[2], -(kb * d + g.bodyDamping * d / kDt));
    EXPECT_NEAR(obj->forces.ground.moment[1], 0.0f, 1e-3f);

    // Held still: the spring alone.
    ComputeGroundForces(2, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_FLOAT_EQ(obj->forces.ground.force[2], -kb * d);

    // Sliding east: friction opposes, growing with speed up to 1 ft/s.
    obj->state.velocity = {0.0f, 0.5f, 0.0f};
    ComputeGroundForces(2, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_FLOAT_EQ(obj->forces.ground.force[1], -0.5f * kb * d * 0.4f);
    obj->state.velocity = {0.0f, 5.0f, 0.0f};
    ComputeGroundForces(2, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_FLOAT_EQ(obj->forces.ground.force[1], -1.0f * kb * d * 0.4f);
    // The friction at the point below the centre of gravity rolls the body.
    EXPECT_GT(obj->forces.ground.moment[0], 0.0f);
}

TEST(BodyPointContact, PenetrationIsLimitedAndNeverPulls) {
    model::ObjectRecord r = test::freeBody();
    r.collisionSpring = 0.5f;
    r.collisionDamping = 1.0f;
    const std::vector<Vec3> points = {{0.0f, 0.0f, 1.0f}};
    auto obj = placed(r, -3.2808f + 3.0f, nullptr, points);
    ComputeGroundForces(1, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_FLOAT_EQ(obj->groundContact.penetration[0], 1.0f);
    // Coming out fast: the damping would pull, the contact gives nothing.
    obj->groundContact.penetration[0] = 1.0f;
    obj->position[2] = -3.2808f + 0.01f;
    ComputeGroundForces(2, *obj, obj->state.velocity, obj->state.rates);
    EXPECT_EQ(obj->forces.ground.force[2], 0.0f);
}

TEST(BodyPointContact, OnASlopeThePushIsAlongTheSlopeNormal) {
    test::SlopedGround slope(0.1f);
    model::ObjectRecord r = test::freeBody();
    r.collisionFriction = 0.0f;
    const std::vector<Vec3> points = {{0.0f, 0.0f, 1.0f}};
    auto obj = placed(r, -3.2808f + 0.2f, &slope, points);
    ComputeGroundForces(2, *obj, obj->state.velocity, obj->state.rates);
    const Vec3& f = obj->forces.ground.force;
    EXPECT_LT(f[0], 0.0f);
    EXPECT_NEAR(f[0] / f[2], 0.1f, 1e-5f);
}

} // namespace
} // namespace kv::sim
