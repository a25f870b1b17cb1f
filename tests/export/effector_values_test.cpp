// Effector values from their drivers: which frame field each driver code
// reads, the rotor flap at the blade's azimuth, and the codes used unscaled.

#include "export/effector_values.h"
#include "model/motion_frame.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::exp {
namespace {

/// Field i holds 100 + i, so a value names the field it came from.
model::MotionFrame numberedFrame() {
    model::MotionFrame f{};
    for (std::size_t i = 0; i < f.size(); ++i)
        f[i] = 100.0f + static_cast<float>(i);
    return f;
}

struct CodeCase {
    int code;
    int field; ///< -1: no field, the offset alone
};

TEST(EffectorValues, EachDriverCodeReadsItsFrameField) {
    const CodeCase cases[] = {
        {1, 12},  {7, 18},  {12, 23}, {13, 24}, {14, 25}, {16, 29}, {17, 30},   {18, 31},
        {19, 32}, {20, 33}, {21, 34}, {25, 38}, {30, 43}, {31, 44}, {40, 53},   {41, 34},
        {44, 37}, {50, 43}, {51, 54}, {0, -1},  {63, -1}, {-1, -1}, {1000, -1},
    };
    const model::MotionFrame f = numberedFrame();
    for (const auto& c : cases) {
        model::EffectorRecord e;
        e.drivers.fill(c.code);
        e.offsets = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
        e.scales = {2.0f, 2.0f, 2.0f, 2.0f, 2.0f, 2.0f};
        const auto v = effectorValues(e, f);
        for (std::size_t i = 0; i < 6; ++i) {
            const float expected =
                c.field < 0 ? e.offsets[i] : e.offsets[i] + 2.0f * (100.0f + c.field);
            EXPECT_FLOAT_EQ(v[i], expected) << "code " << c.code << " axis " << i;
        }
    }
}

TEST(EffectorValues, SkidIndicatorAndTachometerAreUsedUnscaled) {
    const model::MotionFrame f = numberedFrame();
    model::EffectorRecord e;
    e.offsets = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
    e.scales = {9.0f, 9.0f, 9.0f, 9.0f, 9.0f, 9.0f};
    e.drivers = {52, 55, 61, 62, 0, 0};
    const auto v = effectorValues(e, f);
    EXPECT_EQ(v[0], 155.0f);
    EXPECT_EQ(v[1], 158.0f);
    EXPECT_EQ(v[2], 164.0f);
    EXPECT_EQ(v[3], 165.0f);
    EXPECT_EQ(v[4], 5.0f);
}

TEST(EffectorValues, RotorFlapIsTakenAtTheBladeAzimuth) {
    model::MotionFrame f{};
    f[model::kFrameMainRotor] = 30.0f;
    f[model::kFrameConing] = 2.0f;
    f[model::kFrameFlapCos] = 3.0f;
    f[model::kFrameFlapSin] = -1.5f;
    // Four blades a quarter turn apart: azimuths 30, 120, 210, 300 degrees.
    for (float yaw : {0.0f, 90.0f, 180.0f, 270.0f}) {
        model::EffectorRecord blade;
        blade.drivers = {0, 0, 0, 0, 15, 0};
        blade.offsets = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, yaw};
        blade.scales = {0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f};
        const double psi = (30.0 + yaw) * M_PI / 180.0;
        const double flap = std::sin(psi) * -1.5 + std::cos(psi) * 3.0 + 2.0;
        EXPECT_NEAR(drivingQuantity(15, f, yaw), flap, 1e-5) << yaw;
        EXPECT_NEAR(effectorValues(blade, f)[4], 1.0 + 0.5 * flap, 1e-5) << yaw;
    }
}

} // namespace
} // namespace kv::exp
