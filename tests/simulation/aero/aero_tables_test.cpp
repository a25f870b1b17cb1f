#include "aero_fixtures.h"
#include "simulation/aero/b747_model.h"
#include "simulation/aero/b747_tables.h"
#include "simulation/aero/f16_model.h"
#include "simulation/aero/f16_tables.h"
#include "simulation/aero/f4_model.h"
#include "simulation/aero/f4_tables.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

using test::AeroCondition;
using test::coefficientsAt;

constexpr std::array<float, 11> kTellingAlpha{-10, -5, 0, 5, 10, 15, 20, 30, 45, 60, 90};

test::AeroCoefficients f4At(SimObject& obj, AeroCondition c) {
    return coefficientsAt(obj, c, kF4Area, kF4Span, kF4Chord);
}

TEST(F4Aero, TellingRowsAtTheirBreakpoints) {
    const std::array<float, 11> lift{-0.439f, -0.171f, 0.02f,  0.376f, 0.666f, 0.864f,
                                     0.928f,  1.023f,  0.969f, 0.805f, 0.022f};
    const std::array<float, 11> drag{0.083f, 0.035f, 0.025f, 0.043f, 0.12f, 0.232f,
                                     0.355f, 0.608f, 0.991f, 1.34f,  1.49f};
    const std::array<float, 11> pitch{0.06f,  0.01f,  -0.005f, -0.02f, -0.03f, -0.03f,
                                      -0.04f, -0.12f, -0.24f,  -0.31f, -0.56f};
    SimObject obj = test::aeroObject(model::kAeroF4);
    for (std::size_t i = 0; i < kTellingAlpha.size(); ++i) {
        AeroCondition c;
        c.alphaDeg = kTellingAlpha[i];
        const auto k = f4At(obj, c);
        EXPECT_NEAR(k.lift, lift[i], 2e-5f) << c.alphaDeg;
        EXPECT_NEAR(k.drag, drag[i], 2e-5f) << c.alphaDeg;
        EXPECT_NEAR(k.pitch, pitch[i], 2e-5f) << c.alphaDeg;
    }
}

TEST(F4Aero, InterpolatesBetweenBreakpointsAndHoldsTheEnds) {
    SimObject obj = test::aeroObject(model::kAeroF4);
    AeroCondition c;
    c.alphaDeg = 2.5f;
    EXPECT_NEAR(f4At(obj, c).lift, 0.5f * (0.02f + 0.376f), 1e-4f);
    c.alphaDeg = 37.5f; // between 30 and 45, which the table fills linearly
    EXPECT_NEAR(f4At(obj, c).lift, 1.023f + (0.969f - 1.023f) * 7.5f / 15.0f, 1e-4f);
    c.alphaDeg = -30.0f;
    EXPECT_NEAR(f4At(obj, c).lift, -0.439f, 1e-5f);
    c.alphaDeg = 120.0f;
    EXPECT_NEAR(f4At(obj, c).drag, 1.49f, 1e-5f);
}

TEST(F4Aero, FlapAndMachTermsAdd) {
    SimObject obj = test::aeroObject(model::kAeroF4);
    AeroCondition c;
    c.alphaDeg = 5.0f;
    obj.controls.channels[kFlap] = 0.5f;
    EXPECT_NEAR(f4At(obj, c).lift, 0.376f + kF4Data.l4[1], 1e-4f);
    obj.controls.channels[kFlap] = 0.0f;
    c.mach = 1.2f;
    EXPECT_NEAR(f4At(obj, c).drag, 0.043f + kF4Data.d2[3], 1e-4f);
}

TEST(B747Aero, TellingRowsAtTheShiftedAngleOfAttack) {
    const std::array<float, 7> alphaShifted{-5, 0, 5, 10, 15, 20, 25};
    const std::array<std::array<float, 7>, 2> lift{
        {{-0.48f, -0.04f, 0.4f, 0.86f, 1.14f, 1.26f, 1.36f},
         {0.2f, 0.88f, 1.4f, 1.92f, 2.34f, 2.46f, 2.2f}}};
    const std::array<std::array<float, 7>, 2> drag{
        {{0.09f, 0.036f, 0.03f, 0.06f, 0.13f, 0.29f, 0.46f},
         {0.136f, 0.116f, 0.16f, 0.25f, 0.36f, 0.53f, 0.69f}}};
    SimObject obj = test::aeroObject(model::kAero747);
    for (int flap = 0; flap < 2; ++flap) {
        obj.controls.channels[kFlap] = static_cast<float>(flap);
        for (std::size_t i = 0; i < alphaShifted.size(); ++i) {
            AeroCondition c;
            c.alphaDeg = alphaShifted[i] - kB747AlphaShift;
            const auto k = coefficientsAt(obj, c, kB747Area, kB747Span, kB747Chord);
            const auto fi = static_cast<std::size_t>(flap);
            EXPECT_NEAR(k.lift, lift[fi][i], 2e-4f) << flap << " " << alphaShifted[i];
            EXPECT_NEAR(k.drag, drag[fi][i], 2e-4f) << flap << " " << alphaShifted[i];
        }
    }
}

TEST(B747Aero, LiftCorrectionInMachScalesTheShiftedAngle) {
    const std::array<float, 6> mach{0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f};
    const std::array<float, 6> l1{0.0f, -0.005f, -0.0055f, -0.012f, -0.023f, -0.04f};
    SimObject obj = test::aeroObject(model::kAero747);
    for (std::size_t i = 0; i < mach.size(); ++i) {
        AeroCondition c;
        c.alphaDeg = 10.0f - kB747AlphaShift;
        c.mach = mach[i];
        const auto k = coefficientsAt(obj, c, kB747Area, kB747Span, kB747Chord);
        EXPECT_NEAR(k.lift, 0.86f + 10.0f * l1[i], 3e-4f) << mach[i];
    }
}

TEST(B747Aero, BilinearInFlapAndAngleOfAttack) {
    SimObject obj = test::aeroObject(model::kAero747);
    obj.controls.channels[kFlap] = 0.5f;
    AeroCondition c;
    c.alphaDeg = 7.5f - kB747AlphaShift;
    const auto k = coefficientsAt(obj, c, kB747Area, kB747Span, kB747Chord);
    const float expected = 0.25f * (0.4f + 0.86f + 1.4f + 1.92f);
    EXPECT_NEAR(k.lift, expected, 3e-4f);
}

TEST(B747Aero, GearAndSideslipAddDrag) {
    SimObject obj = test::aeroObject(model::kAero747);
    AeroCondition c;
    c.alphaDeg = 5.0f - kB747AlphaShift;
    const float clean = coefficientsAt(obj, c, kB747Area, kB747Span, kB747Chord).drag;
    obj.controls.channels[kGear] = 1.0f;
    EXPECT_NEAR(coefficientsAt(obj, c, kB747Area, kB747Span, kB747Chord).drag, clean + 0.028f,
                1e-4f);
    obj.controls.channels[kGear] = 0.0f;
    for (float beta : {-10.0f, 10.0f}) {
        c.betaDeg = beta;
        EXPECT_GT(coefficientsAt(obj, c, kB747Area, kB747Span, kB747Chord).drag, clean) << beta;
    }
}

TEST(F16Aero, BasicTablesAtFlapDownAndFlapTablesRetracted) {
    // Body-axis normal and axial force at beta 0 read straight from the tables.
    const std::size_t beta0 = 9;
    ASSERT_EQ(kF16Beta[beta0], 0.0f);
    SimObject obj = test::aeroObject(model::kAeroF16);
    for (std::size_t i : {std::size_t{2}, std::size_t{6}, std::size_t{10}, std::size_t{19}}) {
        AeroCondition c;
        c.alphaDeg = kF16Alpha[i];
        obj.controls.channels[kFlap] = 1.0f;
        const ForceSet f = test::evaluateAero(obj, c);
        // Back into body axes: the rigid-body sum's rotation.
        const float a = c.alphaDeg * 0.017453292f;
        const float qbarS = 0.5f * c.density * c.airspeed * c.airspeed * kF16Area;
        const float bx = std::cos(a) * f.force[0] - std::sin(a) * f.force[2];
        const float bz = std::sin(a) * f.force[0] + std::cos(a) * f.force[2];
        const std::size_t k = beta0 * kF16AlphaCount + i;
        EXPECT_NEAR(bx / qbarS, kF16Data.cx[k], 1e-4f) << c.alphaDeg;
        EXPECT_NEAR(bz / qbarS, kF16Data.cz[k], 1e-4f) << c.alphaDeg;
        EXPECT_NEAR(f.moment[1] / (qbarS * kF16Chord), kF16Data.cm[k] + 0.1f * kF16Data.cz[k],
                    1e-4f);
        if (i < kF16FlapAlphaCount) {
            obj.controls.channels[kFlap] = 0.0f;
            const ForceSet up = test::evaluateAero(obj, c);
            const float uz = std::sin(a) * up.force[0] + std::cos(a) * up.force[2];
            EXPECT_NEAR(uz / qbarS, kF16Data.czFlap[beta0 * kF16FlapAlphaCount + i], 1e-4f);
        }
    }
}

TEST(F16Aero, SideslipTablesAreOddAndInterpolatedBetweenRows) {
    SimObject obj = test::aeroObject(model::kAeroF16);
    obj.controls.channels[kFlap] = 1.0f;
    AeroCondition c;
    c.alphaDeg = 10.0f;
    c.betaDeg = 5.0f;
    const auto right = coefficientsAt(obj, c, kF16Area, kF16Span, kF16Chord);
    c.betaDeg = -5.0f;
    const auto left = coefficientsAt(obj, c, kF16Area, kF16Span, kF16Chord);
    EXPECT_NEAR(right.roll, -left.roll, 1e-6f);
    EXPECT_NEAR(right.yaw, -left.yaw, 1e-6f);
    EXPECT_LT(right.roll, 0.0f); // dihedral effect
    EXPECT_GT(right.yaw, 0.0f);  // weathercock stability
    EXPECT_LT(right.side, 0.0f);
}

} // namespace
} // namespace kv::sim
