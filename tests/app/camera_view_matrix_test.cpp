#include "app/camera_view_matrix.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

void expectVec(const Vec3& got, const Vec3& want) {
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(got[i], want[i], 1e-4f) << "component " << i;
}

TEST(CameraViewMatrix, BaseMapsNorthIntoTheScreenEastRightDownDown) {
    const Mat4 m = cameraModelview({0, 0, 0}, {0, 0, 0});
    expectVec(mat4TransformPoint(m, {1, 0, 0}), {0, 0, -1});
    expectVec(mat4TransformPoint(m, {0, 1, 0}), {1, 0, 0});
    expectVec(mat4TransformPoint(m, {0, 0, 1}), {0, -1, 0});
}

TEST(CameraViewMatrix, PoseMatchesALookAtAlongTheView) {
    struct Case {
        Vec3 eye, angles, target;
    };
    const Case cases[] = {
        {{10, 20, -5}, {0, 0, 90}, {10, 30, -5}},       // facing east
        {{0, 0, -10}, {0, 30, 0}, {8.660254f, 0, -15}}, // nose up 30 deg
        {{3, 4, 5}, {0, 0, 180}, {-7, 4, 5}},
    };
    for (const Case& c : cases) {
        const Mat4 pose = cameraModelview(c.eye, c.angles);
        const Mat4 look = lookAtModelview(c.eye, c.target, {0, 0, -1});
        for (std::size_t i = 0; i < 16; ++i)
            EXPECT_NEAR(pose[i], look[i], 1e-4f) << i;
        // The target lies straight ahead on the eye's -z axis.
        const Vec3 e = mat4TransformPoint(pose, c.target);
        EXPECT_NEAR(e[0], 0.0f, 1e-3f);
        EXPECT_NEAR(e[1], 0.0f, 1e-3f);
        EXPECT_LT(e[2], 0.0f);
    }
}

TEST(CameraViewMatrix, RollTurnsTheHorizon) {
    // Rolled right by 90 deg: east appears above the eye and up to its left.
    const Mat4 m = cameraModelview({0, 0, 0}, {90, 0, 0});
    expectVec(mat4TransformPoint(m, {0, 1, 0}), {0, 1, 0});
    expectVec(mat4TransformPoint(m, {0, 0, -1}), {-1, 0, 0});
}

} // namespace
} // namespace kv::app
