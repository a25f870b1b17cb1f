#pragma once
/// The integrated state of a rigid body and its time derivative.

#include "common/vecmath.h"

#include <array>

namespace kv::sim {

/// Number of integrated elements; also the order of the instability test.
inline constexpr int kStateElementCount = 13;

/// Unit attitude quaternion, q0 the scalar part.
using Quat = std::array<float, 4>;

/// Integrated state. Latitude and longitude are doubles so that positions far
/// from the origin keep sub-millimetre resolution; everything else is single.
struct BodyState {
    double latitude = 0.0;             ///< deg, positive north
    double longitude = 0.0;            ///< deg, positive west
    float altitude = 0.0f;             ///< ft, positive up
    Vec3 velocity{};                   ///< body velocity u, v, w (ft/s)
    Vec3 rates{};                      ///< body rates p, q, r (rad/s)
    Quat quat{1.0f, 0.0f, 0.0f, 0.0f}; ///< attitude, body to earth

    /// Element `i` (0..12) widened to double, in integration order.
    double element(int i) const;
    /// Stores element `i` (0..12), narrowing every element but the first two.
    void setElement(int i, double value);
};

/// Time derivative of a `BodyState`, element for element.
struct StateDerivative {
    double latitudeRate = 0.0;  ///< deg/s
    double longitudeRate = 0.0; ///< deg/s
    float altitudeRate = 0.0f;  ///< ft/s
    Vec3 acceleration{};        ///< body-axis du/dt, dv/dt, dw/dt (ft/s^2)
    Vec3 angularAcceleration{}; ///< dp/dt, dq/dt, dr/dt (rad/s^2)
    Quat quatRate{};            ///< dq/dt (1/s)

    /// Element `i` (0..12) widened to double, in integration order.
    double element(int i) const;
};

} // namespace kv::sim
