#include "simulation/rotor/rotor_derivatives.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

ControlBlock rotorControls(float lateral, float longitudinal, float collective, float pedal) {
    ControlBlock c;
    c.channels[kLateralCyclic] = lateral;
    c.channels[kLongitudinalCyclic] = longitudinal;
    c.channels[kCollective] = collective;
    c.channels[kPedal] = pedal;
    return c;
}

TEST(RotorActuators, MixTheCyclicCollectiveAndPedal) {
    struct Case {
        float lateral, longitudinal, collective, pedal;
        RotorActuators expected;
    };
    // C = (1.25c - 0.25)*5, A = 10a, B = 10b, D = 5d.
    const Case cases[] = {
        {0.0f, 0.0f, 0.2f, 0.0f, {0.0f, 0.0f, 0.0f, 0.0f}},
        {0.0f, 0.0f, 1.0f, 0.0f, {-0.02885f, 0.03615f, 0.13975f, 0.13975f}},
        {0.0f, 0.0f, 0.0f, 0.0f, {0.0072125f, -0.0090375f, -0.0349375f, -0.0349375f}},
        {1.0f, 0.0f, 0.2f, 0.0f, {0.2753f, 0.0471f, 0.0f, 0.0f}},
        {0.0f, -1.0f, 0.2f, 0.0f, {-0.0832f, 0.4869f, 0.0f, 0.0f}},
        {0.0f, 0.0f, 0.2f, 1.0f, {-0.0239f, 0.1399f, 0.0f, -0.48335f}},
    };
    for (const Case& c : cases) {
        const RotorActuators s =
            rotorActuatorSignals(rotorControls(c.lateral, c.longitudinal, c.collective, c.pedal));
        for (std::size_t i = 0; i < s.size(); ++i) {
            EXPECT_NEAR(s[i], c.expected[i], 1e-6f)
                << "s" << i + 1 << " at a=" << c.lateral << " b=" << c.longitudinal
                << " c=" << c.collective << " d=" << c.pedal;
        }
    }
    // The hover trim is exact, not merely small.
    const RotorActuators trim = rotorActuatorSignals(rotorControls(0.0f, 0.0f, 0.2f, 0.0f));
    for (float s : trim) {
        EXPECT_EQ(s, 0.0f);
    }
}

struct Evaluation {
    RotorState x{};
    RotorState xdot{};
    ForceSet forces;
    RotorActuators actuators{};
    ControlBlock controls = rotorControls(0.0f, 0.0f, 0.2f, 0.0f);
    RotorInputs in;
    TableCursor cursor;

    Evaluation() {
        in.mass = 477.15262f;
        in.inertia = {6966.0f, 51696.0f, 48060.0f};
    }
    void run() { RotorDerivatives(in, cursor, controls, actuators, x, xdot, forces); }
};

TEST(RotorDerivatives, TrimHoldsTheWeightWithNoMotion) {
    Evaluation e;
    e.x[6] = 123.0f; // stale: rewritten before it is used
    e.run();
    EXPECT_EQ(e.x[6], 0.0f);
    for (std::size_t i = 0; i < e.xdot.size(); ++i) {
        EXPECT_EQ(e.xdot[i], 0.0f) << "x" << i;
    }
    EXPECT_EQ(e.forces.force[0], 0.0f);
    EXPECT_EQ(e.forces.force[1], 0.0f);
    EXPECT_FLOAT_EQ(e.forces.force[2], -477.15262f * kStandardGravity);
    EXPECT_EQ(e.forces.moment[0], 0.0f);
    EXPECT_EQ(e.forces.moment[1], 0.0f);
    EXPECT_EQ(e.forces.moment[2], 0.0f);
    EXPECT_EQ(e.controls.mainRotorPitch, 0.0f);
    EXPECT_EQ(e.controls.tailRotorPitch, 0.0f);
}

TEST(RotorDerivatives, FullCollectiveSetsThePitchChannelsAndLoadsTheEngine) {
    Evaluation e;
    e.controls.channels[kCollective] = 1.0f;
    e.controls.channels[kPedal] = 0.5f;
    e.run();
    EXPECT_FLOAT_EQ(e.controls.mainRotorPitch, 0.13975f);
    EXPECT_FLOAT_EQ(e.controls.tailRotorPitch, 0.13975f - 0.09667f * 2.5f);
    EXPECT_EQ(e.actuators[2], e.controls.mainRotorPitch);
    EXPECT_EQ(e.actuators[3], e.controls.tailRotorPitch);
    // x10' = 3106*0.0016*C with C = 5.
    EXPECT_FLOAT_EQ(e.xdot[10], 24.848f);
    // More collective: more lift (Z_s3 < 0 is upward) and a rotor slowing down.
    EXPECT_LT(e.forces.force[2], -477.15262f * kStandardGravity);
    EXPECT_FLOAT_EQ(e.xdot[9], -32.2f * 0.13975f + e.forces.moment[2] / 48060.0f);
}

// Coning of 0.01 rad at hover, everything else at trim, worked by hand:
// Z = 53.4131*0.01, x6 = 101.001*0.01, N = -0.443*0.01, and x9' = N feeds the
// inflow through 1.4*x9'.
TEST(RotorDerivatives, WorkedConingAtHover) {
    Evaluation e;
    e.x[0] = 0.01f;
    e.run();
    const float Z = 0.534131f;
    EXPECT_FLOAT_EQ(e.x[6], 1.01001f);
    EXPECT_FLOAT_EQ(e.xdot[3], -7.582f - 0.03025f * Z - 1.01001f);
    EXPECT_FLOAT_EQ(e.xdot[9], -0.00443f);
    EXPECT_FLOAT_EQ(e.xdot[7], 1.4f * -0.00443f);
    EXPECT_EQ(e.xdot[4], 0.0f);
    EXPECT_EQ(e.xdot[5], 0.0f);
    EXPECT_FLOAT_EQ(e.forces.force[2], 477.15262f * (Z - kStandardGravity));
    EXPECT_FLOAT_EQ(e.forces.moment[2], 48060.0f * -0.00443f);
}

// Roll rate 0.1 rad/s at hover: the roll filter, the flapping and the side
// force respond; p~ = 1.241*p.
TEST(RotorDerivatives, WorkedRollRateAtHover) {
    Evaluation e;
    e.in.rates = {0.1f, 0.0f, 0.0f};
    e.x[12] = 0.02f;
    e.run();
    const float pf = 0.1241f + 0.02f;
    EXPECT_FLOAT_EQ(e.xdot[12], -0.156f);
    EXPECT_FLOAT_EQ(e.xdot[13], -356.0f * 0.02f - 7.511f);
    EXPECT_FLOAT_EQ(e.xdot[4], -5.616f);
    EXPECT_FLOAT_EQ(e.xdot[5], -1.74309f);
    EXPECT_FLOAT_EQ(e.forces.force[1], 477.15262f * (1.82002f * pf));
}

TEST(RotorDerivatives, VibratesAt4Hertz) {
    Evaluation e;
    e.in.mass = 1.0f;
    e.in.time = 1.0f / 16.0f; // a quarter period: the peak
    e.run();
    EXPECT_NEAR(e.forces.force[0], 0.3f, 1e-6f);
    EXPECT_NEAR(e.forces.force[1], 0.3f, 1e-6f);
    EXPECT_NEAR(e.forces.force[2], 0.3f - kStandardGravity, 1e-5f);
    EXPECT_NEAR(e.xdot[3], -0.03025f * 0.3f, 1e-7f);
}

} // namespace
} // namespace kv::sim
