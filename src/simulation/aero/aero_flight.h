#pragma once
/// The flight condition every aerodynamic model reads, gathered once per
/// derivative evaluation.

#include "common/unit_constants.h"
#include "common/vecmath.h"
#include "simulation/control_block.h"

namespace kv::sim {

/// At or below this airspeed (ft/s) the rate-damping terms are dropped: their
/// factors length/(2V) would grow without bound.
inline constexpr float kRateTermMinAirspeed = 10.0f;

struct AeroFlight {
    float density = 0.0f;  ///< air density (slug/ft^3)
    float airspeed = 0.0f; ///< true airspeed V (ft/s)
    float mach = 0.0f;     ///< Mach number
    float alpha = 0.0f;    ///< angle of attack (rad)
    float beta = 0.0f;     ///< sideslip (rad)
    float alphaDot = 0.0f; ///< rad/s
    Vec3 rates{};          ///< body rates p, q, r (rad/s)
    const ControlBlock* controls = nullptr;

    /// Dynamic pressure (lbf/ft^2).
    float dynamicPressure() const { return 0.5f * density * airspeed * airspeed; }
    /// The factor length/(2V) of the rate terms, 0 at low airspeed.
    float rateFactor(float length) const;
    /// Control channel `c` of the control block.
    float control(ControlChannel c) const { return controls->channels[c]; }
};

/// Moves a force set computed in body axes into stability axes (a rotation
/// about body y by -alpha), the inverse of what the rigid-body sum applies.
void bodyToStability(float alpha, Vec3& force, Vec3& moment);

} // namespace kv::sim
