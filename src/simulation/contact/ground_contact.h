#pragma once
/// Ground and scenery contact of effectors and geometry points: fill the
/// object's ground force set.

#include "common/vecmath.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Rewrites `obj.forces.ground` (body axes) from the tire and skid effectors
/// (suspension and tire or skid law) and from the geometry points below the
/// surface, for derivative stage `stage` with body `velocity` (ft/s) and
/// `rates` (rad/s). Stage 1 first refreshes the effector geometry; only stage
/// 1 advances the detailed law's wheel spin, only stage 2 the wheel roll
/// angles. Publishes compression ratios, roll angles and skid indicators in
/// `obj.contact` and the mean driven-wheel speed in `obj.engine.wheelRpm`.
void ComputeGroundForces(int stage, SimObject& obj, const Vec3& velocity, const Vec3& rates);

} // namespace kv::sim
