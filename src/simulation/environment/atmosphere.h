#pragma once
/// Standard atmosphere up to 80000 ft.

namespace kv::sim {

struct AtmosphereSample {
    float temperature = 0.0f;        ///< deg R
    float density = 0.0f;            ///< slug/ft^3
    float speedOfSound = 0.0f;       ///< ft/s
    float kinematicViscosity = 0.0f; ///< ft^2/s
};

/// Highest altitude the model covers (ft); higher altitudes sample this one.
inline constexpr float kAtmosphereCeiling = 80000.0f;
/// Base of the isothermal layer (ft).
inline constexpr float kTropopause = 36089.0f;

/// The atmosphere at `altitude` (ft), clamped into [0, 80000].
AtmosphereSample SampleAtmosphere(float altitude);

} // namespace kv::sim
