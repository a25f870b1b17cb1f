// Poses in glTF's frame: our forward, right, down axes land on +Z, -X, -Y,
// attitudes turn the axes the way the body turns, and quaternions are unit,
// w >= 0, and kept on one side between keys.

#include "export/gltf_pose.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace kv::exptest {
namespace {

using Vec = std::array<double, 3>;

/// `v` turned by the unit quaternion `q` (x, y, z, w).
Vec rotate(const exp::GltfQuaternion& q, const Vec& v) {
    const Vec u{q[0], q[1], q[2]};
    const double w = q[3];
    const Vec t{2.0 * (u[1] * v[2] - u[2] * v[1]), 2.0 * (u[2] * v[0] - u[0] * v[2]),
                2.0 * (u[0] * v[1] - u[1] * v[0])};
    return {v[0] + w * t[0] + (u[1] * t[2] - u[2] * t[1]),
            v[1] + w * t[1] + (u[2] * t[0] - u[0] * t[2]),
            v[2] + w * t[2] + (u[0] * t[1] - u[1] * t[0])};
}

void expectNear(const Vec& a, const Vec& b, const char* what) {
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(a[i], b[i], 1e-9) << what << " component " << i;
}

TEST(GltfPose, AxesAndTranslation) {
    expectNear(exp::toGltfAxes(1.0, 0.0, 0.0), {0.0, 0.0, 1.0}, "forward is +Z");
    expectNear(exp::toGltfAxes(0.0, 1.0, 0.0), {-1.0, 0.0, 0.0}, "right is -X");
    expectNear(exp::toGltfAxes(0.0, 0.0, 1.0), {0.0, -1.0, 0.0}, "down is -Y");
    const exp::GltfPose p = exp::toGltfPose(3.0, 4.0, -5.0, 0.0, 0.0, 0.0);
    expectNear(p.translation, {-4.0, 5.0, 3.0}, "translation");
    EXPECT_EQ(p.rotation, (exp::GltfQuaternion{0.0, 0.0, 0.0, 1.0}));
}

struct AttitudeCase {
    const char* what;
    double roll, pitch, yaw;  // deg
    Vec forward, right, down; // the turned body axes, in our frame
};

// Where each body axis points after the turn, worked out by hand in the
// north, east, down frame and mapped to glTF by the same axis rule.
class GltfAttitude : public ::testing::TestWithParam<AttitudeCase> {};

TEST_P(GltfAttitude, TurnsTheBodyAxesLikeTheBody) {
    const AttitudeCase& c = GetParam();
    const exp::GltfPose p = exp::toGltfPose(0.0, 0.0, 0.0, c.roll, c.pitch, c.yaw);
    const auto& q = p.rotation;
    EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1.0, 1e-12);
    EXPECT_GE(q[3], 0.0);
    const auto g = [](const Vec& v) { return exp::toGltfAxes(v[0], v[1], v[2]); };
    expectNear(rotate(q, g({1, 0, 0})), g(c.forward), "forward");
    expectNear(rotate(q, g({0, 1, 0})), g(c.right), "right");
    expectNear(rotate(q, g({0, 0, 1})), g(c.down), "down");
}

const double kC30 = std::cos(std::numbers::pi / 6.0);
INSTANTIATE_TEST_SUITE_P(
    Cases, GltfAttitude,
    ::testing::Values(
        AttitudeCase{"yaw 90: nose east", 0, 0, 90, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}},
        AttitudeCase{"pitch 30: nose up", 0, 30, 0, {kC30, 0, -0.5}, {0, 1, 0}, {0.5, 0, kC30}},
        AttitudeCase{"roll 90: right wing down", 90, 0, 0, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
        AttitudeCase{
            "yaw 90 then pitch 30", 0, 30, 90, {0, kC30, -0.5}, {-1, 0, 0}, {0, 0.5, kC30}},
        AttitudeCase{"yaw 180: nose south", 0, 0, 180, {-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}),
    [](const auto& param) { return "case" + std::to_string(param.index); });

TEST(GltfPose, KeysStayOnOneSideOfTheQuaternionSphere) {
    const exp::GltfQuaternion previous{0.0, 0.0, 0.0, 1.0};
    const exp::GltfQuaternion far{0.1, 0.0, 0.0, -0.99498743710662};
    const exp::GltfQuaternion near = exp::alignedWith(far, previous);
    EXPECT_EQ(near, (exp::GltfQuaternion{-0.1, -0.0, -0.0, 0.99498743710662}));
    EXPECT_EQ(exp::alignedWith(near, previous), near);
}

} // namespace
} // namespace kv::exptest
