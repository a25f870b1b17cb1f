#include "aero_fixtures.h"
#include "common/unit_constants.h"
#include "model/object_model.h"
#include "model/template.h"
#include "simulation/aero/aero_settings.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

using test::AeroCondition;

/// The Aircraft template's linear data, as the run sets it up.
SimObject aircraftLinear() {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = model::kVehicleAircraft;
    model::applyTemplate(r);
    model::deriveRunLimits(r);
    SimObject obj;
    obj.aeroModel.settings = aeroSettingsFrom(r);
    return obj;
}

TEST(AeroSettings, ChordIsSpanOverAspectRatioAndZeroWithoutOne) {
    model::ObjectRecord r;
    model::resetObject(r);
    r.aero.span = 42.8f;
    r.aero.aspectRatio = 2.685f;
    EXPECT_FLOAT_EQ(aeroSettingsFrom(r).chord, 42.8f / 2.685f);
    r.aero.aspectRatio = 0.0f;
    EXPECT_EQ(aeroSettingsFrom(r).chord, 0.0f);
    r.aero.aspectRatio = -3.0f;
    EXPECT_EQ(aeroSettingsFrom(r).chord, 0.0f);
}

// Worked case on the Aircraft template: S = 608, b = 42.8, c = 42.8/2.685.
TEST(LinearAero, CombinesTheStabilityDerivativesAsStated) {
    SimObject obj = aircraftLinear();
    AeroSettings& s = obj.aeroModel.settings;
    s.initialAoa = 0.02f;
    const float alpha = 5.0f * kRadPerDeg, beta = 2.0f * kRadPerDeg;
    const float p = 0.1f, q = 0.05f, r = -0.08f;
    obj.controls.channels[kAileron] = 0.5f;
    obj.controls.channels[kElevator] = -0.2f;
    obj.controls.channels[kRudder] = 0.25f;
    AeroCondition c;
    c.alphaDeg = 5.0f;
    c.betaDeg = 2.0f;
    c.airspeed = 400.0f;
    c.density = 0.002f;
    c.rates = {p, q, r};
    const ForceSet f = test::evaluateAero(obj, c);

    const float b = 42.8f, cbar = 42.8f / 2.685f, qbarS = 0.5f * 0.002f * 400.0f * 400.0f * 608.0f;
    const float kb = b / 800.0f, kc = cbar / 800.0f;
    const float da = 0.5f * 30.0f * kRadPerDeg, de = -0.2f * 30.0f * kRadPerDeg,
                dr = 0.25f * 30.0f * kRadPerDeg;
    const float cl = (alpha + 0.02f) * 4.17f + de * -0.36f;
    const float cd = 0.05f + 0.025f * cl * cl;
    EXPECT_NEAR(f.force[0], -cd * qbarS, 1e-3f * qbarS * cd);
    EXPECT_NEAR(f.force[2], -cl * qbarS, 1e-4f * qbarS);
    const float cy = beta * -0.87f + kb * (p * 0.06f + r * 0.38f) + da * -0.006f + dr * 0.19f;
    EXPECT_NEAR(f.force[1], cy * qbarS, 1e-4f * qbarS);
    const float croll = beta * -0.057f + kb * (p * -0.19f + r * 0.03f) + da * 0.027f + dr * 0.004f;
    EXPECT_NEAR(f.moment[0], croll * qbarS * b, 1e-4f * qbarS * b);
    const float cm = (alpha - 0.02f) * -0.37f + kc * q * -0.38f + de * 0.45f;
    EXPECT_NEAR(f.moment[1], cm * qbarS * cbar, 1e-4f * qbarS * cbar);
    const float cn = beta * 0.14f + kb * (p * -0.02f + r * -0.28f) + da * 0.0097f + dr * 0.094f;
    EXPECT_NEAR(f.moment[2], cn * qbarS * b, 1e-4f * qbarS * b);
}

TEST(LinearAero, DragGrowsWithElevatorEitherWay) {
    SimObject obj = aircraftLinear();
    obj.aeroModel.settings.coefficients[kDragElevator] = 0.1f;
    obj.aeroModel.settings.coefficients[kLiftElevator] = 0.0f;
    AeroCondition c;
    const float clean = test::evaluateAero(obj, c).force[0];
    obj.controls.channels[kElevator] = 0.5f;
    const float up = test::evaluateAero(obj, c).force[0];
    obj.controls.channels[kElevator] = -0.5f;
    const float down = test::evaluateAero(obj, c).force[0];
    EXPECT_LT(up, clean);
    EXPECT_FLOAT_EQ(up, down);
}

// At 10 ft/s or less the rate terms vanish; the static terms stay.
TEST(LinearAero, RateTermsVanishAtTenFeetPerSecond) {
    SimObject obj = aircraftLinear();
    AeroCondition c;
    c.alphaDeg = 4.0f;
    c.betaDeg = 3.0f;
    c.rates = {1.0f, 1.0f, 1.0f};
    for (float v : {10.0f, 5.0f, -10.0f}) {
        c.airspeed = v;
        const ForceSet moving = test::evaluateAero(obj, c);
        AeroCondition still = c;
        still.rates = {};
        const ForceSet fixed = test::evaluateAero(obj, still);
        EXPECT_EQ(moving.force, fixed.force) << v;
        EXPECT_EQ(moving.moment, fixed.moment) << v;
        EXPECT_NE(fixed.force[2], 0.0f);
    }
    c.airspeed = 10.5f;
    AeroCondition still = c;
    still.rates = {};
    EXPECT_NE(test::evaluateAero(obj, c).moment[0], test::evaluateAero(obj, still).moment[0]);
}

// A car's linear data is only drag and weathercock yaw over its frontal area.
TEST(LinearAero, CarTemplateGetsDragOnItsFrontalArea) {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = model::kVehicleCar;
    model::applyTemplate(r);
    model::deriveRunLimits(r);
    SimObject obj;
    obj.aeroModel.settings = aeroSettingsFrom(r);
    AeroCondition c;
    c.airspeed = 88.0f; // 60 mph
    const ForceSet f = test::evaluateAero(obj, c);
    const float qbar = 0.5f * 0.0023769f * 88.0f * 88.0f;
    EXPECT_NEAR(f.force[0], -0.29f * qbar * 22.73f, 1e-3f);
    EXPECT_EQ(f.force[2], 0.0f);
    EXPECT_EQ(f.moment[1], 0.0f); // no chord: aspect ratio 1 gives b/AR = 1 ft, but no pitch data
    c.betaDeg = 5.0f;
    EXPECT_GT(test::evaluateAero(obj, c).moment[2], 0.0f);
}

TEST(Aerodynamics, UnknownModelCodeGivesAZeroSet) {
    for (int code : {-1, 4, 99}) {
        SimObject obj = test::aeroObject(code);
        obj.forces.aero.force = {1.0f, 2.0f, 3.0f};
        AeroCondition c;
        c.alphaDeg = 10.0f;
        const ForceSet f = test::evaluateAero(obj, c);
        EXPECT_EQ(f.force, (Vec3{0.0f, 0.0f, 0.0f})) << code;
        EXPECT_EQ(f.moment, (Vec3{0.0f, 0.0f, 0.0f})) << code;
    }
}

} // namespace
} // namespace kv::sim
