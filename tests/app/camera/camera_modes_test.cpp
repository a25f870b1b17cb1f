#include "app/camera/camera_math.h"
#include "camera_test_support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

using test::buttons;
using test::CameraRig;

constexpr float kTol = 1e-4f;

void expectVec(const Vec3& got, const Vec3& want, float tol = kTol) {
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(got[i], want[i], tol) << "component " << i;
}

TEST(CameraMath, SpeedIntegratorTakesFiveAdamsBashforthSubSteps) {
    SpeedIntegrator s;
    advanceSpeed(s, 1.0f, 3.0f, 0.1f, true);
    EXPECT_NEAR(s.speed, 0.0943608f, 1e-6f);
    EXPECT_NEAR(s.lastAccel, 0.7611786f, 1e-6f);
    // Drag brings the speed to u / D.
    for (int i = 0; i < 400; ++i)
        advanceSpeed(s, 1.0f, 3.0f, 0.1f, true);
    EXPECT_NEAR(s.speed, 1.0f / 3.0f, 1e-4f);
    advanceSpeed(s, 1.0f, 3.0f, 0.1f, false);
    EXPECT_EQ(s.speed, 0.0f);
    EXPECT_EQ(s.lastAccel, 0.0f);
}

TEST(CameraMath, AimAndAttitudeRoundTrip) {
    expectVec(aimAngles({0, 0, 0}, {0, 0, 0}), {0, 0, 0});
    expectVec(aimAngles({0, 0, 0}, {1, 1, -std::sqrt(2.0f)}), {0, 45, 45});
    expectVec(aimAngles({5, 5, 5}, {5, 5, 9}), {0, -90, 0});
    const Vec3 angles{20.0f, -35.0f, 130.0f};
    expectVec(anglesOfAttitude(cameraAttitude(angles)), angles);
    // Row 0 of the attitude is the view direction.
    const Mat3 m = cameraAttitude(angles);
    expectVec(Vec3{m[0], m[1], m[2]}, viewDirection(-35.0f, 130.0f));
}

TEST(CameraModes, CockpitTakesTheObjectPose) {
    CameraRig rig;
    rig.record.mode = kModeCockpit;
    rig.object = {{10, 20, -3}, {5, 10, 45}};
    rig.step(buttons(1, 0, 0.5f, 0.5f));
    expectVec(rig.record.position, {10, 20, -3});
    expectVec(rig.record.angles, {5, 10, 45});
}

TEST(CameraModes, RoamFliesAlongTheViewAndTurnsWithTheRolledStick) {
    CameraRig rig;
    rig.record.mode = kModeRoam;
    rig.record.angles = {0, 0, 90};
    rig.step(buttons(1, 0));
    // Speed after one frame of u = V dt = 1 is the worked 0.0943608, due east.
    expectVec(rig.record.position, {0, 0.0943608f, 0}, 1e-5f);

    CameraRig turnRig;
    turnRig.record.angles = {0, 0, 0};
    turnRig.step(buttons(0, 0, 1.0f, 0.0f));
    expectVec(turnRig.record.angles, {0, 0, 3});
    turnRig.record.angles = {90, 0, 0};
    turnRig.step(buttons(0, 0, 1.0f, 0.0f));
    expectVec(turnRig.record.angles, {90, -3, 0});

    CameraRig idle;
    idle.run = false;
    idle.step(buttons(1, 0));
    expectVec(idle.record.position, {0, 0, 0});
    EXPECT_EQ(idle.state.viewSpeed.speed, 0.0f);
}

TEST(CameraModes, RoamPanMovesInTheCameraFrame) {
    CameraRig rig;
    rig.record.mode = kModeRoamPan;
    rig.record.angles = {0, 0, 90};
    rig.step(buttons(1, 0, 0.0f, -1.0f)); // stick up: forward by V dt
    expectVec(rig.record.position, {0, 1, 0});
    rig.step(buttons(0, 1, 0.0f, 1.0f)); // B, stick down: down in the camera frame
    expectVec(rig.record.position, {0, 1, 1});
    rig.step(buttons(0, 1, 1.0f, 0.0f)); // B, stick right: right (world -x when facing east)
    expectVec(rig.record.position, {-1, 1, 1});
    rig.step(buttons(0, 0, 1.0f, 0.0f)); // neither: turns only
    expectVec(rig.record.position, {-1, 1, 1});
    EXPECT_NEAR(rig.record.angles[2], 93.0f, kTol);
}

TEST(CameraModes, AttachedCameraTurnsRigidlyWithTheObject) {
    CameraRig rig;
    rig.record.mode = kModeAttached;
    rig.record.position = {-10, 0, -2};
    rig.record.angles = {0, 0, 0};
    rig.object = {{0, 0, 0}, {0, 0, 0}};
    rig.step();
    expectVec(rig.record.position, {-10, 0, -2});
    expectVec(rig.state.offset, {-10, 0, -2});
    // The object turns to face east and moves: the camera stays behind it.
    rig.object = {{5, 5, 0}, {0, 0, 90}};
    rig.step();
    expectVec(rig.record.position, {5, -5, -2});
    expectVec(rig.record.angles, {0, 0, 90});
}

TEST(CameraModes, ExternalOrbitStartsBehindAndKeepsItsDistance) {
    CameraRig rig;
    rig.record.mode = kModeExternal;
    rig.state.orbitDistance = 10.0f;
    rig.state.orbitElevation = 0.0f;
    rig.object = {{100, 50, 0}, {0, 0, 30}};
    rig.step();
    EXPECT_NEAR(rig.state.orbitAzimuth, -150.0f, kTol);
    const float az = -150.0f * kRadPerDeg;
    expectVec(rig.record.position, {100 + 10 * std::cos(az), 50 + 10 * std::sin(az), 0});
    expectVec(rig.record.angles, {0, 0, 30}); // aimed at the object
    for (int i = 0; i < 300; ++i)
        rig.step(buttons(1, 0)); // A pulls in
    EXPECT_EQ(rig.state.orbitDistance, 1.0f);
    const Vec3 d{rig.record.position[0] - 100, rig.record.position[1] - 50, rig.record.position[2]};
    EXPECT_NEAR(VecLength(d), 1.0f, kTol);
}

TEST(CameraModes, LaggedExternalStartsAtTheWantedPointAndAims) {
    CameraRig rig;
    rig.record.mode = kModeExternalLagged;
    rig.record.angles = {0, 0, 10};
    rig.state.orbitDistance = 10.0f;
    rig.state.orbitElevation = 0.0f;
    rig.object = {{0, 0, 0}, {0, 0, 0}};
    rig.step();
    EXPECT_NEAR(rig.state.relativeAzimuth, -170.0f, kTol);
    const float az = -170.0f * kRadPerDeg;
    expectVec(rig.record.position, {10 * std::cos(az), 10 * std::sin(az), 0});
    // Moving the object: the camera follows with the lag and keeps aiming.
    rig.object.position = {3, 0, 0};
    rig.step();
    expectVec(rig.record.angles, aimAngles(rig.record.position, {3, 0, 0}));
    for (int i = 0; i < 200; ++i)
        rig.step(buttons(1, 0));
    EXPECT_EQ(rig.state.orbitDistance, 1.0f);
}

TEST(CameraModes, TvDollyNeverReachesTheTarget) {
    CameraRig rig;
    rig.record.mode = kModeTvDolly;
    rig.record.position = {0, 0, -10};
    rig.object = {{100, 0, -10}, {0, 0, 0}};
    rig.step();
    expectVec(rig.record.position, {0, 0, -10});
    expectVec(rig.record.angles, {0, 0, 0});
    for (int i = 0; i < 500; ++i)
        rig.step(buttons(1, 0));
    EXPECT_EQ(rig.state.dolly, 0.9f);
    expectVec(rig.record.position, {90, 0, -10}, 1e-3f);
    for (int i = 0; i < 500; ++i)
        rig.step(buttons(0, 1));
    EXPECT_EQ(rig.state.dolly, 0.0f);
    // The stick offsets the aim from the line to the target.
    rig.step(buttons(0, 0, 1.0f, 0.0f));
    EXPECT_NEAR(rig.record.angles[2], 3.0f, kTol);
}

TEST(CameraModes, TvTrackAimsAtALaggedTarget) {
    CameraRig rig;
    rig.record.mode = kModeTvTrack;
    rig.record.position = {0, 0, 0};
    rig.object = {{10, 0, 0}, {0, 0, 0}};
    rig.step();
    expectVec(rig.state.smoothedTarget, {10, 0, 0});
    rig.object.position = {10, 10, 0};
    rig.step();
    const float c = std::exp(-0.1f / (0.99f * 0.5f + 0.01f));
    expectVec(rig.state.smoothedTarget, {10, (1 - c) * 10, 0});
    EXPECT_NEAR(rig.record.angles[2], std::atan2((1 - c) * 10, 10.0f) * kDegPerRad, kTol);
    expectVec(rig.record.position, {0, 0, 0});
}

TEST(CameraModes, AnglesAreWrappedAtTheEndOfAStep) {
    CameraRig rig;
    rig.record.angles = {0, 0, 179};
    rig.step(buttons(0, 0, 1.0f, 0.0f));
    EXPECT_NEAR(rig.record.angles[2], -178.0f, kTol);
}

} // namespace
} // namespace kv::app
