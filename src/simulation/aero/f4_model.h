#pragma once
/// The F-4 Phantom aerodynamic model: coefficient tables in angle of attack,
/// Mach number and flap, scaled by the aircraft's own reference geometry.

#include "simulation/aero/aero_cursors.h"
#include "simulation/aero/aero_flight.h"
#include "simulation/aero/aero_settings.h"
#include "simulation/body/force_set.h"

namespace kv::sim {

inline constexpr float kF4Area = 538.34f; ///< wing area (ft^2)
inline constexpr float kF4Span = 38.41f;  ///< wing span (ft)
inline constexpr float kF4Chord = 16.04f; ///< mean aerodynamic chord (ft)

/// Force and moment of the F-4 model in stability axes. Control deflections
/// are the channels times the settings' limits (deg).
ForceSet f4Aerodynamics(const AeroFlight& flight, const AeroSettings& settings, F4Cursors& cursors);

} // namespace kv::sim
