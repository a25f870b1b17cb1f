#include "simulation/environment/atmosphere.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::sim {
namespace {

bool sameSample(const AtmosphereSample& a, const AtmosphereSample& b) {
    return a.temperature == b.temperature && a.density == b.density &&
           a.speedOfSound == b.speedOfSound && a.kinematicViscosity == b.kinematicViscosity;
}

TEST(Atmosphere, SeaLevelValues) {
    const AtmosphereSample s = SampleAtmosphere(0.0f);
    EXPECT_EQ(s.temperature, 518.688f);
    EXPECT_EQ(s.density, 0.0023769f);
    EXPECT_NEAR(s.speedOfSound, std::sqrt(2411.4692 * 518.688), 1e-3);
    EXPECT_NEAR(s.kinematicViscosity, 1.5723e-4f, 1e-10f);
}

TEST(Atmosphere, AltitudeIsClampedIntoTheModelledRange) {
    EXPECT_TRUE(sameSample(SampleAtmosphere(-100.0f), SampleAtmosphere(0.0f)));
    EXPECT_TRUE(sameSample(SampleAtmosphere(90000.0f), SampleAtmosphere(80000.0f)));
    EXPECT_TRUE(sameSample(SampleAtmosphere(1e30f), SampleAtmosphere(80000.0f)));
}

TEST(Atmosphere, LayersMeetAtTheTropopause) {
    const AtmosphereSample below = SampleAtmosphere(36088.0f);
    const AtmosphereSample at = SampleAtmosphere(36089.0f);
    EXPECT_EQ(at.temperature, 389.988f);
    EXPECT_EQ(at.density, 0.00070617699f);
    EXPECT_NEAR(below.temperature, at.temperature, 0.02f); // one foot of lapse
    EXPECT_NEAR(below.density, at.density, 1e-6f);
    // Density keeps falling above it.
    EXPECT_LT(SampleAtmosphere(50000.0f).density, at.density);
    EXPECT_NEAR(SampleAtmosphere(10000.0f).temperature, 518.688f * (1.0f - 0.06875f), 1e-3f);
}

} // namespace
} // namespace kv::sim
