// The parts of the scene export that do their own geometry: terrain normals
// smooth across gentle folds and sharp across creases, and a camera node that
// looks where the recorded camera looked.

#include "export/gltf_scene.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace kv::exptest {
namespace {

using exp::GltfVec3;

/// Two triangles sharing the edge from (0,0,0) to (0,0,1): one flat on the
/// ground, the other folded up by `foldDeg` about that edge.
std::vector<GltfVec3> fold(double foldDeg) {
    const double a = foldDeg * std::numbers::pi / 180.0;
    const GltfVec3 up{static_cast<float>(-std::cos(a)), static_cast<float>(std::sin(a)), 0.0f};
    return {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 0, 0}, up, {0, 0, 1}};
}

double angleDeg(const GltfVec3& a, const GltfVec3& b) {
    const double dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    return std::acos(std::clamp(dot, -1.0, 1.0)) * 180.0 / std::numbers::pi;
}

TEST(GltfSceneNormals, SmoothBelowTheCreaseAngleFlatAbove) {
    struct Case {
        double foldDeg;
        bool smooth;
    };
    for (const Case c :
         {Case{10.0, true}, Case{29.0, true}, Case{31.0, false}, Case{80.0, false}}) {
        std::vector<GltfVec3> positions = fold(c.foldDeg);
        const std::vector<GltfVec3> normals = exp::creasedNormals(positions, 30.0);
        ASSERT_EQ(normals.size(), 6u);
        // Corner 0 and 3 are the same point on the shared edge; corner 2 is
        // only on the flat face.
        if (c.smooth) {
            EXPECT_NEAR(angleDeg(normals[0], normals[3]), 0.0, 1e-3) << c.foldDeg;
            EXPECT_NEAR(angleDeg(normals[0], normals[2]), c.foldDeg / 2.0, 1e-3) << c.foldDeg;
        } else {
            EXPECT_NEAR(angleDeg(normals[0], normals[3]), c.foldDeg, 1e-3) << c.foldDeg;
            EXPECT_NEAR(angleDeg(normals[0], normals[2]), 0.0, 1e-3) << c.foldDeg;
        }
        for (const GltfVec3& n : normals)
            EXPECT_NEAR(std::hypot(n[0], n[1], n[2]), 1.0, 1e-6);
    }
}

TEST(GltfSceneNormals, FacesWithoutAreaAreDroppedAndFlatMeansFlat) {
    std::vector<GltfVec3> positions = fold(10.0);
    positions.insert(positions.begin(), {{5, 5, 5}, {5, 5, 5}, {6, 6, 6}});
    std::vector<GltfVec3> flat = positions;
    EXPECT_EQ(exp::creasedNormals(positions, 30.0).size(), 6u);
    EXPECT_EQ(positions.size(), 6u);
    const std::vector<GltfVec3> normals = exp::creasedNormals(flat, -1.0);
    EXPECT_NEAR(angleDeg(normals[0], normals[3]), 10.0, 1e-3);
}

TEST(GltfSceneCamera, LooksAlongTheRecordedViewWithUpUp) {
    // A camera yawed 90 degrees (looking east) and pitched down 30.
    model::MotionFrame f{};
    f[model::kFrameNorth] = 10.0f;
    f[model::kFrameEast] = 20.0f;
    f[model::kFrameDown] = -5.0f;
    f[model::kFramePitch] = -30.0f;
    f[model::kFrameYaw] = 90.0f;
    const exp::GltfPose pose = exp::cameraNodePose(f);
    EXPECT_NEAR(pose.translation[0], -20.0, 1e-5);
    EXPECT_NEAR(pose.translation[1], 5.0, 1e-5);
    EXPECT_NEAR(pose.translation[2], 10.0, 1e-5);
    const auto rotate = [&pose](std::array<double, 3> v) {
        const auto& q = pose.rotation;
        const std::array<double, 3> t{2.0 * (q[1] * v[2] - q[2] * v[1]),
                                      2.0 * (q[2] * v[0] - q[0] * v[2]),
                                      2.0 * (q[0] * v[1] - q[1] * v[0])};
        return std::array<double, 3>{v[0] + q[3] * t[0] + (q[1] * t[2] - q[2] * t[1]),
                                     v[1] + q[3] * t[1] + (q[2] * t[0] - q[0] * t[2]),
                                     v[2] + q[3] * t[2] + (q[0] * t[1] - q[1] * t[0])};
    };
    // glTF cameras look along -Z: east (-X) and down 30 degrees (-Y).
    const auto view = rotate({0, 0, -1});
    const double s = std::sin(30.0 * std::numbers::pi / 180.0);
    const double c = std::cos(30.0 * std::numbers::pi / 180.0);
    EXPECT_NEAR(view[0], -c, 1e-9);
    EXPECT_NEAR(view[1], -s, 1e-9);
    EXPECT_NEAR(view[2], 0.0, 1e-9);
    const auto up = rotate({0, 1, 0});
    EXPECT_GT(up[1], 0.8);
    EXPECT_GE(pose.rotation[3], 0.0);
}

} // namespace
} // namespace kv::exptest
