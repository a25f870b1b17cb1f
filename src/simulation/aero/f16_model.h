#pragma once
/// The F-16 Falcon aerodynamic model: body-axis coefficient tables in sideslip
/// and angle of attack, with leading-edge flap, damping, control and speed-brake
/// terms, turned into stability axes.

#include "simulation/aero/aero_cursors.h"
#include "simulation/aero/aero_flight.h"
#include "simulation/aero/aero_settings.h"
#include "simulation/body/force_set.h"

namespace kv::sim {

inline constexpr float kF16Area = 300.0f;  ///< wing area (ft^2)
inline constexpr float kF16Span = 30.0f;   ///< wing span (ft)
inline constexpr float kF16Chord = 11.32f; ///< mean aerodynamic chord (ft)
/// Distance from the tables' moment reference to the centre of gravity, in
/// chords (0.35 - 0.25).
inline constexpr float kF16CgShift = 0.1f;
/// Deflection (deg) at which the aileron and rudder increments are tabulated.
inline constexpr float kF16ControlTableDeflection = 30.0f;

/// Force and moment of the F-16 model in stability axes. The flap channel
/// blends from the retracted-flap tables (0) to the basic ones (1).
ForceSet f16Aerodynamics(const AeroFlight& flight, const AeroSettings& settings,
                         F16Cursors& cursors);

} // namespace kv::sim
