#pragma once
/// The motorcycle rider's weight and lean.

#include "simulation/sim_object.h"

namespace kv::sim {

/// Rider weight (lbf), acting straight down.
inline constexpr float kRiderWeight = 180.0f;
/// How far the rider leans forward, back or sideways at full cyclic (ft).
inline constexpr float kRiderLeanReach = 2.0f;
/// Height of the rider's mass above the body reference point (ft).
inline constexpr float kRiderHeight = 1.5f;

/// Adds the rider's weight, turned into body axes, to the propulsion force set,
/// with its moment about the reference point: the rider sits at
/// (2*longitudinal cyclic, 2*lateral cyclic, -1.5) ft in body axes, so the
/// cyclic channels shift the weight to balance and steer the machine.
void RiderShift(SimObject& obj);

} // namespace kv::sim
