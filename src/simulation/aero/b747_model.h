#pragma once
/// The Boeing 747 aerodynamic model: coefficient tables in angle of attack,
/// Mach number, sideslip and flap, scaled by the aircraft's reference geometry.

#include "common/unit_constants.h"
#include "common/vecmath.h"
#include "simulation/aero/aero_cursors.h"
#include "simulation/aero/aero_flight.h"
#include "simulation/aero/aero_settings.h"
#include "simulation/body/force_set.h"

namespace kv::sim {

inline constexpr float kB747Area = 5500.0f; ///< wing area (ft^2)
inline constexpr float kB747Span = 195.7f;  ///< wing span (ft)
inline constexpr float kB747Chord = 27.3f;  ///< mean aerodynamic chord (ft)
/// The tables are indexed by the angle of attack plus this (deg).
inline constexpr float kB747AlphaShift = 1.5f;
/// Largest rate of change of the angle of attack the model uses (rad/s).
inline constexpr float kB747MaxAlphaDot = 0.5235988f;

/// Mass properties of the 747 the tables describe, in cruise (Heffley and
/// Jewell, NASA CR-2144): 636600 lb.
inline constexpr float kB747Mass = 636600.0f / kStandardGravity; ///< slug
inline constexpr float kB747RollInertia = 18.2e6f;               ///< slug*ft^2
inline constexpr float kB747PitchInertia = 33.1e6f;              ///< slug*ft^2
inline constexpr float kB747YawInertia = 49.7e6f;                ///< slug*ft^2

/// Sets the scales of `settings` that fly the 747 data on an object of `mass`
/// (slug) and `inertia` (slug*ft^2) with the 747's own accelerations. The bare
/// data act on a 5500 ft^2 wing; on a body the size of a fighter they would give
/// roll and pitch damping of hundreds per second, far beyond what the fixed-step
/// integration can follow. Mass properties that are not positive leave the scale
/// of that axis at 1.
void scaleB747ToObject(AeroSettings& settings, float mass, const Mat3& inertia);

/// Force and moment of the 747 model in stability axes, with the landing-gear,
/// flap and brake (spoiler) channels.
ForceSet b747Aerodynamics(const AeroFlight& flight, const AeroSettings& settings,
                          B747Cursors& cursors);

} // namespace kv::sim
