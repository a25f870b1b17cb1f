#pragma once
/// The UFO: a feedback body that flies toward a target speed set by the
/// throttle, holds its flight path against its own weight, and turns at rates
/// set by the aileron and elevator channels.

#include "common/unit_constants.h"
#include "simulation/body/body_state.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Smallest forward speed (ft/s) the path hold divides by. Below it the hold
/// acts on the vertical speed itself, so that a hovering UFO is not flung
/// upward by the 90-deg angle of attack of still air.
inline constexpr float kUfoPathHoldMinSpeed = 10.0f;

/// Target speed (ft/s) of the UFO: its speed setting (knots) times throttle,
/// negative in reverse.
float ufoTargetSpeed(const SimObject& obj);

/// Rewrites the propulsion set of a UFO. With the hold word (the pilot status
/// word of the control block, which carries the brake hold) set it is a
/// plain push of m times the target speed along body x. Otherwise the set
/// holds the speed loop m(target - u) along x; along z the body-axis share of
/// the weight, -m g cos(pitch) cos(roll), cancelled out, and the path hold
/// -1000 m alpha, with alpha taken as atan2(w, max(|u|, 10 ft/s)) so that it
/// stays within +-90 deg whichever way the UFO flies; and the rate loops in
/// roll, pitch and yaw. The weight itself is added by the rigid-body sum, so
/// its forward and sideways shares still slow a climb and pull a banked UFO
/// round a turn.
void ufoDrive(const BodyState& state, SimObject& obj);

} // namespace kv::sim
