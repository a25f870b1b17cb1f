#include "aero_fixtures.h"
#include "simulation/aero/b747_model.h"
#include "simulation/aero/f16_model.h"
#include "simulation/aero/f4_model.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kv::sim {
namespace {

using test::AeroCondition;

/// One model with its reference geometry, flap setting and the angles (deg)
/// between which it flies below the stall, and where it has stalled.
struct ModelCase {
    std::string name;
    int model;
    float flap;
    float area, span, chord;
    float alphaLow, alphaStall, alphaPastStall;
    float alphaMinDrag;
};

std::vector<ModelCase> cases() {
    return {
        {"F-16 flap down", model::kAeroF16, 1.0f, kF16Area, kF16Span, kF16Chord, -10, 35, 60, 0},
        {"F-16 flap up", model::kAeroF16, 0.0f, kF16Area, kF16Span, kF16Chord, -10, 35, 45, 0},
        {"F-4", model::kAeroF4, 0.0f, kF4Area, kF4Span, kF4Chord, -10, 30, 90, 0},
        {"F-4 flap down", model::kAeroF4, 1.0f, kF4Area, kF4Span, kF4Chord, -10, 30, 90, 0},
        // The 747 tables stop at 23.5 deg: with the landing flap the lift peaks
        // at 18.5 deg, flaps up it levels out at the table's end.
        {"747 flap up", model::kAero747, 0.0f, kB747Area, kB747Span, kB747Chord, -6.5f, 23.5f,
         23.5f, 3.5f},
        {"747 landing flap", model::kAero747, 1.0f, kB747Area, kB747Span, kB747Chord, -6.5f, 18.5f,
         23.5f, -1.5f},
    };
}

test::AeroCoefficients at(SimObject& obj, const ModelCase& m, float alphaDeg) {
    AeroCondition c;
    c.alphaDeg = alphaDeg;
    return test::coefficientsAt(obj, c, m.area, m.span, m.chord);
}

TEST(TabulatedAero, LiftRisesBelowTheStallAndFallsPastIt) {
    for (const ModelCase& m : cases()) {
        SimObject obj = test::aeroObject(m.model);
        obj.controls.channels[kFlap] = m.flap;
        for (float a = m.alphaLow; a + 2.5f <= m.alphaStall; a += 2.5f) {
            EXPECT_GT(at(obj, m, a + 2.5f).lift, at(obj, m, a).lift) << m.name << " at " << a;
        }
        if (m.alphaPastStall > m.alphaStall) {
            EXPECT_LT(at(obj, m, m.alphaPastStall).lift, at(obj, m, m.alphaStall).lift) << m.name;
        }
        // A sensible lift-curve slope near zero lift, per rad.
        const float slope = (at(obj, m, 5.0f).lift - at(obj, m, 0.0f).lift) / (5.0f * 0.017453292f);
        EXPECT_GT(slope, 2.5f) << m.name;
        EXPECT_LT(slope, 6.5f) << m.name;
    }
}

TEST(TabulatedAero, DragRisesWithAngleOfAttackAboveMinimumDrag) {
    for (const ModelCase& m : cases()) {
        SimObject obj = test::aeroObject(m.model);
        obj.controls.channels[kFlap] = m.flap;
        for (float a = m.alphaMinDrag; a + 2.5f <= m.alphaStall; a += 2.5f) {
            EXPECT_GT(at(obj, m, a + 2.5f).drag, at(obj, m, a).drag) << m.name << " at " << a;
        }
        EXPECT_GT(at(obj, m, m.alphaMinDrag).drag, 0.0f) << m.name;
    }
}

// Static stability: nose-down pitching moment grows with angle of attack over
// the flying range, at each model's own centre of gravity.
TEST(TabulatedAero, PitchingMomentFallsWithAngleOfAttack) {
    for (const ModelCase& m : cases()) {
        SimObject obj = test::aeroObject(m.model);
        obj.controls.channels[kFlap] = m.flap;
        const float top = m.alphaStall < 20.0f ? m.alphaStall : 20.0f;
        for (float a = m.alphaLow; a + 2.5f <= top; a += 2.5f) {
            EXPECT_LE(at(obj, m, a + 2.5f).pitch, at(obj, m, a).pitch) << m.name << " at " << a;
        }
        EXPECT_LT(at(obj, m, 10.0f).pitch, at(obj, m, 0.0f).pitch) << m.name;
    }
}

// Positive channels pitch up, roll right and yaw right in every model, and the
// rate terms damp the motion that causes them.
TEST(TabulatedAero, ControlsAndDampingHaveTheirSenses) {
    for (const ModelCase& m : cases()) {
        SimObject obj = test::aeroObject(m.model);
        obj.controls.channels[kFlap] = m.flap;
        AeroCondition c;
        c.alphaDeg = 4.0f;
        const auto trim = test::coefficientsAt(obj, c, m.area, m.span, m.chord);
        obj.controls.channels[kElevator] = 0.5f;
        EXPECT_GT(test::coefficientsAt(obj, c, m.area, m.span, m.chord).pitch, trim.pitch)
            << m.name;
        obj.controls.channels[kElevator] = 0.0f;
        obj.controls.channels[kAileron] = 0.5f;
        EXPECT_GT(test::coefficientsAt(obj, c, m.area, m.span, m.chord).roll, trim.roll) << m.name;
        obj.controls.channels[kAileron] = 0.0f;
        obj.controls.channels[kRudder] = 0.5f;
        EXPECT_GT(test::coefficientsAt(obj, c, m.area, m.span, m.chord).yaw, trim.yaw) << m.name;
        obj.controls.channels[kRudder] = 0.0f;

        for (std::size_t axis = 0; axis < 3; ++axis) {
            AeroCondition turning = c;
            turning.rates[axis] = 0.5f;
            const auto k = test::coefficientsAt(obj, turning, m.area, m.span, m.chord);
            const float moment[3] = {k.roll - trim.roll, k.pitch - trim.pitch, k.yaw - trim.yaw};
            EXPECT_LT(moment[axis], 0.0f) << m.name << " axis " << axis;
        }
    }
}

} // namespace
} // namespace kv::sim
