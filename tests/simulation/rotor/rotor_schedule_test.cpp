#include "simulation/rotor/rotor_coefficients.h"
#include "simulation/rotor/rotor_derivatives.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

constexpr float kTopSpeed = 135.02479553222656f;

float value(const RotorCoefficients& k, const RotorCoefficientRow& row) {
    return k.*row.field;
}

TEST(RotorSchedule, HoldsItsEndValuesAtAndBeyondTheScheduleSpeeds) {
    TableCursor cursor;
    // Exactly at hover the cursor stands at the upper breakpoint with the
    // whole step back to go, which lands on the first value within a rounding.
    for (float u : {0.0f, -25.0f}) {
        const RotorCoefficients k = scheduleRotorCoefficients(cursor, u);
        for (const RotorCoefficientRow& row : kRotorCoefficientRows) {
            if (u < 0.0f) {
                EXPECT_EQ(value(k, row), row.atHover) << "u " << u;
            } else {
                EXPECT_FLOAT_EQ(value(k, row), row.atHover) << "u " << u;
            }
        }
    }
    for (float u : {kTopSpeed, 200.0f, 1000.0f}) {
        const RotorCoefficients k = scheduleRotorCoefficients(cursor, u);
        for (const RotorCoefficientRow& row : kRotorCoefficientRows) {
            EXPECT_EQ(value(k, row), row.at80Knots) << "u " << u;
        }
    }
}

TEST(RotorSchedule, IsLinearBetweenHoverAnd80Knots) {
    TableCursor cursor;
    // Up and back down again, so the cursor has to move both ways.
    for (float fraction : {0.25f, 0.5f, 0.9f, 0.5f, 0.1f}) {
        const float u = fraction * kTopSpeed;
        const RotorCoefficients k = scheduleRotorCoefficients(cursor, u);
        for (const RotorCoefficientRow& row : kRotorCoefficientRows) {
            const float expected = row.atHover + (row.at80Knots - row.atHover) * fraction;
            const float scale = std::max(std::fabs(row.atHover), std::fabs(row.at80Knots));
            EXPECT_NEAR(value(k, row), expected, 2e-6f * scale) << "u " << u;
        }
    }
}

TEST(RotorSchedule, TellingCoefficientsAt40Knots) {
    TableCursor cursor;
    const RotorCoefficients k = scheduleRotorCoefficients(cursor, kRotorBlendSpeed);
    EXPECT_FLOAT_EQ(k.X_x1, -32.17f);
    EXPECT_FLOAT_EQ(k.Z_s3, -417.3f);
    EXPECT_FLOAT_EQ(k.Y_pf, 0.91001f);
    EXPECT_FLOAT_EQ(k.d13_p, -22.585f);
    EXPECT_FLOAT_EQ(k.k_a, -320.2f);
}

/// The rotor force along body x and y at the trim (state, controls, rates and
/// the other velocities 0) at forward speed u, per unit mass, at t = 0 where
/// the vibration is 0.
Vec3 trimAcceleration(float u) {
    RotorInputs in;
    in.mass = 1.0f;
    in.velocity = {u, 0.0f, 0.0f};
    ControlBlock controls;
    controls.channels[kCollective] = 0.2f;
    RotorActuators actuators{};
    RotorState x{};
    RotorState xdot{};
    ForceSet forces;
    TableCursor cursor;
    RotorDerivatives(in, cursor, controls, actuators, x, xdot, forces);
    return {forces.force[0], forces.force[1], forces.force[2] + in.gravity};
}

// X, Y and Z carry -0.0443*LS - 0.01*HS, 0.05161*HS and 0.23035*HS at trim,
// with the low-speed term LS = (1 - b)*u and the high-speed term
// HS = (u - 67.5124)*b, b = clamp(u/67.5124, 0, 1): both terms vanish at hover
// and at 40 knots, and HS is negative in between.
TEST(RotorSchedule, SpeedBlendHandsOverAt40Knots) {
    struct Case {
        float u;
        float ls;
        float hs;
    };
    const Case cases[] = {
        {0.0f, 0.0f, 0.0f},       {33.7562f, 16.8781f, -16.8781f}, {kRotorBlendSpeed, 0.0f, 0.0f},
        {100.0f, 0.0f, 32.4876f}, {kTopSpeed, 0.0f, 67.51240f},    {300.0f, 0.0f, 232.4876f},
    };
    for (const Case& c : cases) {
        const Vec3 a = trimAcceleration(c.u);
        EXPECT_NEAR(a[0], -0.0443f * c.ls - 0.01f * c.hs, 1e-5f) << "u " << c.u;
        EXPECT_NEAR(a[1], 0.05161f * c.hs, 1e-5f) << "u " << c.u;
        EXPECT_NEAR(a[2], 0.23035f * c.hs, 1e-4f) << "u " << c.u;
    }
    // Above 80 knots the high-speed term keeps growing linearly.
    const Vec3 a200 = trimAcceleration(200.0f), a300 = trimAcceleration(300.0f);
    EXPECT_NEAR(a300[0] - a200[0], -1.0f, 1e-4f);
    EXPECT_NEAR(a300[1] - a200[1], 5.161f, 1e-4f);
}

} // namespace
} // namespace kv::sim
