#pragma once
/// Wind and turbulence acting on one object.

#include "simulation/environment.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Updates `obj.wind` (earth axes, ft/s) for the coming step of length `dt`
/// (s). No wind model is fitted yet, so the wind stays as it is (calm after
/// set-up).
void updateWind(SimObject& obj, const Environment& environment, float dt);

} // namespace kv::sim
