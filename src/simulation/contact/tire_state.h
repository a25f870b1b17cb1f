#pragma once
/// The per-wheel state the tire laws carry from one evaluation to the next.

namespace kv::sim {

/// Seven floats, in the order the tire laws keep them.
struct TireState {
    float lock = 0.0f;              ///< 1 while the wheel is locked (detailed law)
    float lateralOffset = 0.0f;     ///< lateral offset input; always 0
    float slipAngle = 0.0f;         ///< rad
    float lateralIntegrator = 0.0f; ///< ft (simple law) or rad (detailed law)
    float slip = 0.0f;              ///< longitudinal slip, 1 - spin * radius / speed
    float spin = 0.0f;              ///< wheel spin rate (rad/s), positive rolling forward
    float holdIntegrator = 0.0f;    ///< brake-hold integrator, -1..1
};

} // namespace kv::sim
