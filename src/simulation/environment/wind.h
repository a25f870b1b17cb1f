#pragma once
/// Wind and turbulence acting on one object.

#include "simulation/environment/environment.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// The steady wind of `environment` in earth axes (ft/s): air moving away
/// from the compass direction it blows from; zero when the wind is off.
Vec3 SteadyWind(const Environment& environment);

/// Rewrites `obj.wind` (earth axes, ft/s) for the coming step of length `dt`
/// (s): the steady wind plus, when turbulence is on, one step of the object's
/// turbulence filters at its altitude and body speed. The filters take their
/// step length from their first update after set-up.
void UpdateWind(SimObject& obj, const Environment& environment, float dt);

} // namespace kv::sim
