#include "common/unit_constants.h"
#include "common/vecmath.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace kv {
namespace {

struct WrapCase {
    float (*fn)(float);
    float in;
    float out;
};

TEST(Wrap, AnglesLandInTheirRanges) {
    const WrapCase cases[] = {
        {WrapPi, 3.0f * kPi, kPi},
        {WrapPi, -3.0f * kPi, -kPi},
        {WrapPi, 0.5f, 0.5f},
        {WrapPi, 4.0f, 4.0f - 2.0f * kPi},
        {WrapPi, -4.0f, 2.0f * kPi - 4.0f},
        {Wrap180, 190.0f, -170.0f},
        {Wrap180, -190.0f, 170.0f},
        {Wrap180, 180.0f, 180.0f},
        {Wrap180, 540.0f, 180.0f},
        {Wrap180, 725.0f, 5.0f},
        {Wrap360, -10.0f, 350.0f},
        {Wrap360, 360.0f, 0.0f},
        {Wrap360, 730.0f, 10.0f},
        {Wrap360, -370.0f, 350.0f},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(c.fn(c.in), c.out, 2e-6f * std::max(1.0f, std::fabs(c.out))) << c.in;
    }
}

TEST(CompareTol, RelativeAboveAndAbsoluteBelowTheTolerance) {
    struct Case {
        float a, b;
        int expected;
    };
    const Case cases[] = {
        {0.0005f, 0.0f, 0},
        {1.0005f, 1.0f, 0},
        {2.0f, 1.0f, 1},
        {1.0f, 2.0f, -1},
        {0.0f, 0.0005f, 0},
        {0.0f, 0.5f, -1},
        {0.5f, 0.0f, 1},
        {0.0f, -0.5f, 1},
        {-1.0f, -1.0005f, 0},
        {1000.0f, 1000.9f, 0},
        {1000.0f, 1001.1f, -1},
        // |a| >= tol with tiny b: the test value is a itself, never "equal".
        {0.002f, 0.0001f, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareTol(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    }
    EXPECT_EQ(CompareTolD(1.0, 1.0 + 5e-9), 0);
    EXPECT_EQ(CompareTolD(1.0, 1.0 + 5e-8), -1);
    EXPECT_TRUE(VecNearlyEqual({1.0f, 0.0f, 2.0f}, {1.0005f, 0.0004f, 2.0f}));
    EXPECT_FALSE(VecNearlyEqual({1.0f, 0.0f, 2.0f}, {1.0f, 0.0f, 2.1f}));
    EXPECT_FALSE(VecEqual({1.0f, 0.0f, 2.0f}, {1.0f, 0.0f, std::nextafter(2.0f, 3.0f)}));
}

TEST(MinMax, TiesReturnTheSecondArgument) {
    // +0 and -0 compare equal, so the sign shows which argument came back.
    EXPECT_TRUE(std::signbit(MaxOf(0.0f, -0.0f)));
    EXPECT_FALSE(std::signbit(MaxOf(-0.0f, 0.0f)));
    EXPECT_TRUE(std::signbit(MinOf(0.0f, -0.0f)));
    EXPECT_FALSE(std::signbit(MinOf(-0.0f, 0.0f)));
    EXPECT_TRUE(std::signbit(MaxOf(0.0, -0.0)));
    EXPECT_TRUE(std::signbit(MinOf(0.0, -0.0)));
    EXPECT_EQ(MaxOf(1.0f, 2.0f), 2.0f);
    EXPECT_EQ(MinOf(1.0f, 2.0f), 1.0f);
    EXPECT_EQ(SignOf(0.0f), 1.0f);
    EXPECT_EQ(SignOf(-0.0f), 1.0f);
    EXPECT_EQ(SignOf(-1e-30f), -1.0f);
}

TEST(Vectors, NormalizeMayAliasAndZeroStaysZero) {
    Vec3 v{3.0f, 0.0f, 4.0f};
    VecNormalize(v, v);
    EXPECT_EQ(v[0], 3.0f / 5.0f);
    EXPECT_EQ(v[2], 4.0f / 5.0f);
    Vec3 z{0.0f, 0.0f, 0.0f};
    Vec3 out{9.0f, 9.0f, 9.0f};
    VecNormalize(z, out);
    EXPECT_TRUE(VecEqual(out, {0.0f, 0.0f, 0.0f}));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    VecNormalize({nan, 1.0f, 0.0f}, out);
    EXPECT_TRUE(VecEqual(out, {0.0f, 0.0f, 0.0f}));

    Vec3 a{1.0f, 2.0f, 3.0f};
    VecAdd(a, a, a);
    EXPECT_TRUE(VecEqual(a, {2.0f, 4.0f, 6.0f}));
    VecSub(a, {1.0f, 1.0f, 1.0f}, a);
    VecScale(a, 2.0f, a);
    VecMulElem(a, {1.0f, 0.5f, 0.0f}, a);
    EXPECT_TRUE(VecEqual(a, {2.0f, 3.0f, 0.0f}));
    Vec3 c;
    VecCross({1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, c);
    EXPECT_TRUE(VecEqual(c, {0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(VecDot({1.0f, 2.0f, 3.0f}, {4.0f, 5.0f, 6.0f}), 32.0f);
    EXPECT_EQ(VecLength({2.0f, 3.0f, 6.0f}), 7.0f);
}

TEST(Matrices, ProductTransposeAndVector) {
    const Mat3 a{1, 2, 3, 4, 5, 6, 7, 8, 10};
    Mat3 i;
    MatIdentity(i);
    Mat3 c;
    MatMul3(a, i, c);
    EXPECT_EQ(c, a);
    Mat3 t;
    Transpose3(a, t);
    EXPECT_EQ(t, (Mat3{1, 4, 7, 2, 5, 8, 3, 6, 10}));
    MatCopy3(t, c);
    EXPECT_EQ(c, t);
    Vec3 y;
    MatVec3(a, {1.0f, 0.0f, -1.0f}, y);
    EXPECT_TRUE(VecEqual(y, {-2.0f, -2.0f, -3.0f}));
}

TEST(InvertMatrix, InvertsAndReturnsTheDeterminant) {
    struct Case {
        Mat3 m;
        float det;
    };
    const Case cases[] = {
        {{2, 0, 0, 0, 4, 0, 0, 0, 8}, 64.0f},
        // The largest element off the diagonal forces row interchanges.
        {{0, 1, 0, 0, 0, 3, 2, 0, 0}, 6.0f},
        {{0, 1, 0, 1, 0, 0, 0, 0, 1}, -1.0f},
        {{4, 1, 0.5f, 1, 3, 0.25f, 0.5f, 0.25f, 2},
         4 * (3 * 2 - 0.0625f) - 1 * (2 - 0.125f) + 0.5f * (0.25f - 1.5f)},
    };
    for (const auto& c : cases) {
        Mat3 inv = c.m;
        const float det = InvertMatrix(inv.data(), 3);
        EXPECT_NEAR(det, c.det, 1e-4f * std::fabs(c.det));
        Mat3 product;
        MatMul3(c.m, inv, product);
        for (int k = 0; k < 9; ++k) {
            EXPECT_NEAR(product[static_cast<std::size_t>(k)], k % 4 == 0 ? 1.0f : 0.0f, 1e-5f);
        }
    }
}

TEST(InvertMatrix, HandlesLargerSystems) {
    constexpr int n = 5;
    float a[n * n];
    float orig[n * n];
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            orig[r * n + c] = a[r * n + c] =
                (r == c ? 10.0f : 0.0f) + static_cast<float>((r * 7 + c * 3) % 5);
        }
    }
    InvertMatrix(a, n);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            float s = 0.0f;
            for (int k = 0; k < n; ++k)
                s += orig[r * n + k] * a[k * n + c];
            EXPECT_NEAR(s, r == c ? 1.0f : 0.0f, 1e-5f);
        }
    }
}

TEST(Attitude, QuaternionAndEulerMatricesAgree) {
    const float deg = kPi / 180.0f;
    const float attitudes[][3] = {
        {0, 0, 0}, {30, 45, 60}, {-120, -30, 170}, {10, 80, -90}, {179, 5, -179},
    };
    for (const auto& a : attitudes) {
        Mat3 e;
        EulerToMatrix(a[0], a[1], a[2], e);
        std::array<float, 4> q;
        EulerToQuat(a[0] * deg, a[1] * deg, a[2] * deg, q);
        Mat3 b, e2;
        QuatToMatrix(q, b, e2);
        for (std::size_t k = 0; k < 9; ++k) {
            EXPECT_NEAR(e[k], e2[k], 2e-6f) << a[0] << "," << a[1] << "," << a[2];
        }
        float roll, pitch, yaw;
        MatrixToEuler(e, roll, pitch, yaw);
        EXPECT_NEAR(roll, a[0] * deg, 2e-5f);
        EXPECT_NEAR(pitch, a[1] * deg, 2e-5f);
        EXPECT_NEAR(yaw, a[2] * deg, 2e-5f);
    }
}

TEST(Attitude, QuatToMatrixNormalisesInPlace) {
    std::array<float, 4> q{2.0f, 0.0f, 0.0f, 0.0f};
    Mat3 b, e;
    QuatToMatrix(q, b, e);
    EXPECT_EQ(q[0], 1.0f);
    EXPECT_EQ(b, (Mat3{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    // A yaw of 90 deg takes body x to earth east.
    EulerToQuat(0.0f, 0.0f, kPi / 2.0f, q);
    QuatToMatrix(q, b, e);
    Vec3 east;
    MatVec3(b, {1.0f, 0.0f, 0.0f}, east);
    EXPECT_NEAR(east[0], 0.0f, 1e-6f);
    EXPECT_NEAR(east[1], 1.0f, 1e-6f);
}

TEST(NedToGeodetic, OffsetsGiveLatitudeAndWestwardLongitude) {
    double lat = 1, lon = 1;
    NedToGeodetic(0.0, 0.0, 0.0f, 0.0f, 0.0f, lat, lon);
    EXPECT_EQ(lat, 0.0);
    EXPECT_EQ(lon, 0.0);
    NedToGeodetic(0.0, 0.0, 1000.0f, 500.0f, -100.0f, lat, lon);
    EXPECT_NEAR(lat, 57.29577951308238 * std::atan2(1000.0, kEarthRadiusFt + 100.0), 1e-15);
    EXPECT_GT(lat, 0.0);
    EXPECT_LT(lon, 0.0); // east is negative longitude
    // At the pole the longitude is undefined and given as 0.
    NedToGeodetic(90.0, 5.0, 0.0f, 100.0f, 0.0f, lat, lon);
    EXPECT_EQ(lat, 90.0);
    EXPECT_EQ(lon, 0.0);
}

} // namespace
} // namespace kv
