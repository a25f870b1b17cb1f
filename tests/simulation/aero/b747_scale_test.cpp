// The 747 data flown on objects of other sizes: forces and moments carried over
// by the mass and inertia ratios, so that any object flies with the 747's own
// accelerations and the model stays within what the fixed step can integrate.

#include "aero_fixtures.h"
#include "model/object_model.h"
#include "model/template.h"
#include "simulation/aero/b747_model.h"
#include "simulation/body/body_setup.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

using test::AeroCondition;

/// Cruise at 250 knots and 5000 ft, Mach 0.38.
AeroCondition cruise() {
    AeroCondition c;
    c.alphaDeg = 4.0f;
    c.betaDeg = 2.0f;
    c.airspeed = 421.95f;
    c.density = 0.0020482f;
    c.mach = 0.3845f;
    return c;
}

model::ObjectRecord on747(int vehicleType) {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = vehicleType;
    model::applyTemplate(r);
    r.aero.aeroModel = model::kAero747;
    model::deriveRunLimits(r);
    return r;
}

model::ObjectRecord jumbo() {
    model::ObjectRecord r = on747(model::kVehicleAircraft);
    r.mass.mass = kB747Mass;
    r.mass.inertia = {kB747RollInertia, 0.0f, 0.0f, 0.0f, kB747PitchInertia, 0.0f, 0.0f, 0.0f,
                      kB747YawInertia};
    r.mass.rollYawCoupling = 0.0f;
    return r;
}

/// Linear and angular accelerations of the aerodynamic set of `obj` at `c`
/// with body rates `rates` (principal axes only).
std::array<float, 6> accelerations(SimObject& obj, AeroCondition c, const Vec3& rates = {}) {
    c.rates = rates;
    const ForceSet f = test::evaluateAero(obj, c);
    return {f.force[0] / obj.mass,        f.force[1] / obj.mass,
            f.force[2] / obj.mass,        f.moment[0] / obj.inertia[0],
            f.moment[1] / obj.inertia[4], f.moment[2] / obj.inertia[8]};
}

TEST(B747Scale, OnTheAircraftsOwnMassPropertiesTheDataActUnscaled) {
    SimObject obj;
    setUpBody(obj, jumbo());
    EXPECT_EQ(obj.aeroModel.settings.forceScale, 1.0f);
    EXPECT_EQ(obj.aeroModel.settings.momentScale, (std::array<float, 3>{1.0f, 1.0f, 1.0f}));
    SimObject bare = test::aeroObject(model::kAero747);
    bare.aeroModel.settings = obj.aeroModel.settings;
    bare.aeroModel.settings.forceScale = 1.0f;
    const ForceSet a = test::evaluateAero(obj, cruise());
    const ForceSet b = test::evaluateAero(bare, cruise());
    EXPECT_EQ(a.force, b.force);
    EXPECT_EQ(a.moment, b.moment);
}

TEST(B747Scale, EveryTemplateOnTheDataAcceleratesAsThe747Does) {
    SimObject reference;
    setUpBody(reference, jumbo());
    const Vec3 rates{0.1f, 0.05f, -0.08f};
    const auto expected = accelerations(reference, cruise(), rates);
    for (int type : {model::kVehicleCar, model::kVehicleMotorcycle, model::kVehicleAircraft,
                     model::kVehicleHelicopter}) {
        SimObject obj;
        setUpBody(obj, on747(type));
        const auto got = accelerations(obj, cruise(), rates);
        for (std::size_t i = 0; i < 6; ++i) {
            EXPECT_NEAR(got[i], expected[i], 1e-4f * std::fabs(expected[i]) + 1e-6f)
                << "type " << type << " axis " << i;
        }
    }
}

// Roll damping of the Aircraft template on the 747 data in cruise: per second,
// as the eigenvalue the integrator meets. Heun's method at 120 Hz follows a
// decay no faster than 240/s; the bare 747 moments on the template's roll
// inertia of 25500 slug ft^2 gave about -700/s.
TEST(B747Scale, TheAircraftTemplateOnTheDataHasThe747sRollDamping) {
    SimObject obj;
    setUpBody(obj, on747(model::kVehicleAircraft));
    const float p = 0.1f;
    const float still = accelerations(obj, cruise())[3];
    const float rolling = accelerations(obj, cruise(), {p, 0.0f, 0.0f})[3];
    const float damping = (rolling - still) / p;
    std::printf("Aircraft template on the 747 data at 250 knots: roll damping %.3f /s "
                "(force scale %.4f, moment scales %.5f %.5f %.5f)\n",
                static_cast<double>(damping),
                static_cast<double>(obj.aeroModel.settings.forceScale),
                static_cast<double>(obj.aeroModel.settings.momentScale[0]),
                static_cast<double>(obj.aeroModel.settings.momentScale[1]),
                static_cast<double>(obj.aeroModel.settings.momentScale[2]));
    EXPECT_LT(damping, -0.3f);
    EXPECT_GT(damping, -5.0f);
}

TEST(B747Scale, UnusableMassPropertiesLeaveTheDataUnscaled) {
    model::ObjectRecord r = jumbo();
    r.mass.mass = 0.0f;
    r.mass.inertia[4] = -1.0f;
    SimObject obj;
    setUpBody(obj, r);
    EXPECT_EQ(obj.aeroModel.settings.forceScale, 1.0f);
    EXPECT_EQ(obj.aeroModel.settings.momentScale[1], 1.0f);
    EXPECT_EQ(obj.aeroModel.settings.momentScale[0], 1.0f);

    // Other models are never scaled.
    r = jumbo();
    r.aero.aeroModel = model::kAeroF4;
    r.mass.mass = 10.0f;
    setUpBody(obj, r);
    EXPECT_EQ(obj.aeroModel.settings.forceScale, 1.0f);
    EXPECT_EQ(obj.aeroModel.settings.momentScale, (std::array<float, 3>{1.0f, 1.0f, 1.0f}));
}

// The lift-curve slope (lift per degree of angle of attack, flaps up) falls
// steadily with Mach number and stays well positive: the wing carries the
// aircraft through the whole range.
TEST(B747Aero, LiftCurveSlopeFallsSteadilyWithMach) {
    SimObject obj = test::aeroObject(model::kAero747);
    float previous = 1.0f;
    for (int m = 0; m <= 10; ++m) {
        AeroCondition c;
        c.mach = 0.1f * static_cast<float>(m);
        c.alphaDeg = 5.0f - kB747AlphaShift;
        const float low = test::coefficientsAt(obj, c, kB747Area, kB747Span, kB747Chord).lift;
        c.alphaDeg = 10.0f - kB747AlphaShift;
        const float high = test::coefficientsAt(obj, c, kB747Area, kB747Span, kB747Chord).lift;
        const float slope = (high - low) / 5.0f;
        EXPECT_LE(slope, previous + 1e-6f) << "Mach " << c.mach;
        EXPECT_GT(slope, 0.05f) << "Mach " << c.mach;
        previous = slope;
    }
}

} // namespace
} // namespace kv::sim
