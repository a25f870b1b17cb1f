#include "app/camera/camera_view_matrix.h"

#include <cmath>
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

namespace kv::app {
namespace {

TEST(CameraViewMatrix, ObjectTransformTurnsBodyAxesIntoTheWorld) {
    const Mat4 m = objectTransform({1, 2, 3}, {0, 0, 90});
    expectVec(mat4TransformPoint(m, {1, 0, 0}), {1, 3, 3}); // nose points east
    const Mat4 pitched = objectTransform({0, 0, 0}, {0, 30, 0});
    expectVec(mat4TransformPoint(pitched, {1, 0, 0}), {0.8660254f, 0, -0.5f}); // nose up
}

TEST(CameraViewMatrix, ProjectionUsesFieldOfViewOverAspectVertically) {
    Mat4 p{};
    ASSERT_TRUE(cameraProjection(400, 300, 36.87f, 1.3333f, p));
    const float f = 1.0f / std::tan(36.87f / 1.3333f * 0.5f * 3.14159265f / 180.0f);
    EXPECT_NEAR(p[5], f, 1e-4f);
    EXPECT_NEAR(p[0], f * 300.0f / 400.0f, 1e-4f);
    EXPECT_FALSE(cameraProjection(400, 0, 36.87f, 1.3333f, p));
}

TEST(CameraViewMatrix, AspectCheckFollowsTheWindowOrResizesIt) {
    AspectCheck c = checkViewAspect(400, 200, 1.3333f, true);
    EXPECT_TRUE(c.aspectChanged);
    EXPECT_FLOAT_EQ(c.viewAspect, 2.0f);
    EXPECT_FALSE(c.resizeFrame);
    c = checkViewAspect(400, 300, 1.3333f, false);
    EXPECT_FALSE(c.resizeFrame); // within 0.1 %
    c = checkViewAspect(400, 200, 1.5f, false);
    EXPECT_TRUE(c.resizeFrame);
    EXPECT_EQ(c.clientHeight, 267);
    EXPECT_FALSE(checkViewAspect(400, 0, 1.5f, false).resizeFrame);
}

} // namespace
} // namespace kv::app
