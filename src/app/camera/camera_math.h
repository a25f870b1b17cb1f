#pragma once
/// Attitude matrices, aiming and the speed integrator of the camera motion.

#include "app/camera/camera_state.h"
#include "common/unit_constants.h"
#include "common/vecmath.h"

namespace kv::app {

/// World-to-body rotation, row-major, of (roll, pitch, yaw) in degrees.
Mat3 cameraAttitude(const Vec3& anglesDeg);
/// (roll, pitch, yaw) in degrees of a row-major world-to-body rotation.
Vec3 anglesOfAttitude(const Mat3& m);
/// Roll 0 and the pitch and yaw (deg) that look from `eye` to `target`; all
/// zero when the two points coincide.
Vec3 aimAngles(const Vec3& eye, const Vec3& target);
/// Unit vector along the view direction of pitch and yaw (deg).
Vec3 viewDirection(float pitchDeg, float yawDeg);

/// One frame of the speed integrator with input `u` (units per frame), drag
/// `drag` (1/s) and frame interval `dt` (s): five Adams-Bashforth sub-steps.
/// With no run active the speed and the remembered acceleration are zero.
void advanceSpeed(SpeedIntegrator& integ, float u, float drag, float dt, bool runActive);

/// The next normal deviate of mean 0 and standard deviation 1.
float nextNormal(NormalSource& source);

/// Writes the pose at the write index whenever the time moved on; the first
/// frame fills every entry with the pose.
void recordPose(PoseDelayLine& line, const Pose& pose, float time, bool firstFrame);
/// The pose `delay` entries behind the write index.
const Pose& delayedPose(const PoseDelayLine& line);

} // namespace kv::app
