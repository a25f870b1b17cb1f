#pragma once
/// The Boeing 747 aerodynamic model: coefficient tables in angle of attack,
/// Mach number, sideslip and flap, scaled by the aircraft's reference geometry.

#include "simulation/aero_cursors.h"
#include "simulation/aero_flight.h"
#include "simulation/aero_settings.h"
#include "simulation/force_set.h"

namespace kv::sim {

inline constexpr float kB747Area = 5500.0f; ///< wing area (ft^2)
inline constexpr float kB747Span = 195.7f;  ///< wing span (ft)
inline constexpr float kB747Chord = 27.3f;  ///< mean aerodynamic chord (ft)
/// The tables are indexed by the angle of attack plus this (deg).
inline constexpr float kB747AlphaShift = 1.5f;
/// Largest rate of change of the angle of attack the model uses (rad/s).
inline constexpr float kB747MaxAlphaDot = 0.5235988f;

/// Force and moment of the 747 model in stability axes, with the landing-gear,
/// flap and brake (spoiler) channels.
ForceSet b747Aerodynamics(const AeroFlight& flight, const AeroSettings& settings,
                          B747Cursors& cursors);

} // namespace kv::sim
