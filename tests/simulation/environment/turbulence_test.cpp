#include "simulation/environment/gaussian_random.h"
#include "simulation/environment/turbulence.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace kv::sim {
namespace {

constexpr double kFtPerM = 1.0 / 0.3048037;
constexpr double kDt = 1.0 / 60.0;

TurbulenceState freshState(double dt = kDt) {
    TurbulenceState s;
    s.dt = dt;
    return s;
}

std::vector<Vec3> sample(TurbulenceState s, float altitude, float speed, int n) {
    std::vector<Vec3> out;
    for (int i = 0; i < n; ++i) {
        Vec3 v{};
        UpdateTurbulence(s, altitude, speed, v);
        out.push_back(v);
    }
    return out;
}

TEST(GaussianRandom, SameSeedSameNumbersAndUnitSpread) {
    SeedGaussianRandom(7);
    std::vector<double> a;
    for (int i = 0; i < 5; ++i)
        a.push_back(GaussianRandom(1.0, 0.0));
    SeedGaussianRandom(7);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(GaussianRandom(1.0, 0.0), a[static_cast<std::size_t>(i)]);

    SeedGaussianRandom(11);
    const int n = 200000;
    double sum = 0.0;
    double sumSq = 0.0;
    for (int i = 0; i < n; ++i) {
        const double x = GaussianRandom(2.0, 5.0);
        sum += x;
        sumSq += x * x;
    }
    const double mean = sum / n;
    EXPECT_NEAR(mean, 5.0, 0.02);
    EXPECT_NEAR(sumSq / n - mean * mean, 4.0, 0.08);
}

TEST(GaussianRandom, ZeroAmplitudeReturnsTheMeanButUsesUpTheSample) {
    SeedGaussianRandom(3);
    const double first = GaussianRandom(1.0, 0.0);
    const double second = GaussianRandom(1.0, 0.0); // the spare of the first pair
    const double third = GaussianRandom(1.0, 0.0);
    EXPECT_NE(first, second);
    EXPECT_NE(second, third);

    SeedGaussianRandom(3);
    EXPECT_EQ(GaussianRandom(0.0, 1.5), 1.5);
    EXPECT_EQ(GaussianRandom(1.0, 0.0), second);
    EXPECT_EQ(GaussianRandom(1.0, 0.0), third);
}

TEST(Turbulence, AltitudeBands) {
    struct Case {
        double h;
        int band;
    };
    const Case cases[] = {{1.0, 0},     {304.7, 0},    {304.8, 1},    {761.9, 1},
                          {762.0, 2},   {1524.0, 3},   {3048.0, 4},   {6096.0, 5},
                          {9144.0, 6},  {9999.0, 6},   {10000.0, 7},  {26999.0, 7},
                          {27000.0, 8}, {119999.0, 8}, {120000.0, 9}, {1e7, 9}};
    for (const Case& c : cases)
        EXPECT_EQ(TurbulenceBandOf(c.h), c.band) << c.h << " m";
}

TEST(Turbulence, AltitudeAndSpeedAreRaisedToOneMetreAndOneMetrePerSecond) {
    SeedGaussianRandom(5);
    const std::vector<Vec3> ground = sample(freshState(), 0.0f, 0.0f, 50);
    SeedGaussianRandom(5);
    const std::vector<Vec3> below = sample(freshState(), -200.0f, -3.0f, 50);
    EXPECT_EQ(below, ground);
    SeedGaussianRandom(5);
    const auto oneMetre = static_cast<float>(kFtPerM);
    const std::vector<Vec3> floor = sample(freshState(), oneMetre, oneMetre, 50);
    for (std::size_t i = 0; i < ground.size(); ++i)
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_NEAR(floor[i][c], ground[i][c], 1e-4f * (1.0f + std::fabs(ground[i][c])));
    for (const Vec3& v : ground)
        for (float x : v)
            ASSERT_TRUE(std::isfinite(x));
}

TEST(Turbulence, DeterministicForASeedAndDifferentForAnother) {
    SeedGaussianRandom(kRunRandomSeed);
    const std::vector<Vec3> a = sample(freshState(), 2000.0f, 200.0f, 500);
    SeedGaussianRandom(kRunRandomSeed);
    EXPECT_EQ(sample(freshState(), 2000.0f, 200.0f, 500), a);
    SeedGaussianRandom(kRunRandomSeed + 1);
    EXPECT_NE(sample(freshState(), 2000.0f, 200.0f, 500), a);
}

TEST(Turbulence, StrengthScalesTheGustsAndAZeroDurationStaysFinite) {
    TurbulenceState strong = freshState();
    strong.strength = 2.0f;
    SeedGaussianRandom(9);
    const std::vector<Vec3> base = sample(freshState(), 1000.0f, 100.0f, 100);
    SeedGaussianRandom(9);
    const std::vector<Vec3> doubled = sample(strong, 1000.0f, 100.0f, 100);
    for (std::size_t i = 0; i < base.size(); ++i)
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_NEAR(doubled[i][c], 2.0f * base[i][c], 1e-4f * (1.0f + std::fabs(base[i][c])));

    TurbulenceState still = freshState();
    still.strength = 0.0f;
    for (const Vec3& v : sample(still, 1000.0f, 100.0f, 20))
        EXPECT_EQ(v, (Vec3{}));

    TurbulenceState shortest = freshState();
    shortest.duration = 0.0f;
    for (const Vec3& v : sample(shortest, 1000.0f, 100.0f, 20))
        for (float x : v)
            EXPECT_TRUE(std::isfinite(x));
}

/// Variance (m^2/s^2) of one component over a long run whose speed makes the
/// component's correlation time half a second.
double componentVariance(int band, std::size_t component, double h) {
    const TurbulenceBand& row = kTurbulenceTable[static_cast<std::size_t>(band)];
    const TurbulenceComponentLaw& law = row.components[component];
    const double ratio = h / row.referenceHeight;
    const double length = law.scaleLength * std::pow(ratio, law.lengthExponent);
    const double speed = 2.0 * length; // m/s
    TurbulenceState s = freshState();
    SeedGaussianRandom(static_cast<unsigned>(100 + band * 3 + static_cast<int>(component)));
    const auto altitude = static_cast<float>(h * kFtPerM);
    const auto speedFt = static_cast<float>(speed * kFtPerM);
    const int settle = 2000;
    const int n = 120000;
    double sumSq = 0.0;
    for (int i = 0; i < settle + n; ++i) {
        Vec3 v{};
        UpdateTurbulence(s, altitude, speedFt, v);
        if (i >= settle) {
            const double m = static_cast<double>(v[component]) / 3.2808;
            sumSq += m * m;
        }
    }
    return sumSq / n;
}

TEST(Turbulence, EachBandHasItsStatedIntensity) {
    const double heights[kTurbulenceBands] = {100.0,  500.0,  1000.0,  2000.0,  4000.0,
                                              7000.0, 9500.0, 15000.0, 50000.0, 150000.0};
    for (int band = 0; band < kTurbulenceBands; ++band) {
        const double h = heights[band];
        ASSERT_EQ(TurbulenceBandOf(h), band);
        const TurbulenceBand& row = kTurbulenceTable[static_cast<std::size_t>(band)];
        for (std::size_t c = 0; c < 3; ++c) {
            const TurbulenceComponentLaw& law = row.components[c];
            const double sigma =
                law.intensity * std::pow(h / row.referenceHeight, law.intensityExponent);
            const double variance = componentVariance(band, c, h);
            EXPECT_NEAR(variance / (sigma * sigma), 1.0, 0.1)
                << "band " << band << ", component " << c << ", sigma " << sigma;
        }
    }
}

TEST(Turbulence, TableRowsAsTabulated) {
    const TurbulenceBand& low = kTurbulenceTable[0];
    EXPECT_EQ(low.referenceHeight, 18.3);
    EXPECT_EQ(low.components[1].scaleLength, 18.4);
    EXPECT_EQ(low.components[2].intensityExponent, 0.36);
    const TurbulenceBand& high = kTurbulenceTable[8];
    EXPECT_EQ(high.components[2].scaleLength, 1230.0);
    EXPECT_EQ(high.components[0].intensityExponent, 1.4);
    EXPECT_EQ(kTurbulenceTable[9].components[2].intensity, 17.0);
    EXPECT_EQ(kTurbulenceTable[7].components[2].lengthExponent, 0.842);
}

} // namespace
} // namespace kv::sim
