#pragma once
/// Run-wide environment settings that the force models read.

namespace kv::sim {

/// Standard gravity (ft/s^2); load factors are always divided by this value.
inline constexpr float kStandardGravity = 32.17f;

struct Environment {
    float gravity = kStandardGravity; ///< gravitational acceleration (ft/s^2)
};

} // namespace kv::sim
