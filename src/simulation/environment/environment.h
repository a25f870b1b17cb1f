#pragma once
/// Run-wide environment settings that the force models read. One set for the
/// project, owned by the document and passed into every run; the wind, gravity
/// and external-force dialogs edit it. Every value is in internal units.

#include "common/unit_constants.h"
#include "common/vecmath.h"

#include <cstdint>

namespace kv::sim {

/// Axes in which the external force is given.
enum ExternalForceAxes : std::int32_t { kExternalBodyAxes = 0, kExternalEarthAxes = 1 };

/// The force and moment the user applies with the mouse during a run.
///
/// Stored units are the physics units: the point of application in ft from the
/// centre of gravity, the force in lbf and the moment in ft*lbf, in the axes of
/// the switch. The force model adds them to its sums unconverted; only the
/// External Force dialog converts, showing the point and the moment's length
/// in working units and the force in lbf or N.
struct ExternalForceSettings {
    std::int32_t axes = kExternalEarthAxes; ///< see ExternalForceAxes
    Vec3 point{};  ///< point of application forward, right, down of the centre of gravity (ft)
    Vec3 force{};  ///< force forward, right, down (lbf) at full multipliers
    Vec3 moment{}; ///< moment about roll, pitch, yaw axes (ft*lbf), applied while switched on
};

/// The defaults are those of a new project: standard gravity, calm air, no
/// external force.
struct Environment {
    float gravity = kStandardGravity; ///< gravitational acceleration (ft/s^2); may be 0 or negative
    std::int32_t turbulenceOn = 0;    ///< 1 adds the turbulence to the wind
    std::int32_t windOn = 0;          ///< 1 adds the steady wind
    float windSpeed = 0.0f;           ///< steady wind speed (ft/s)
    float windDirection = 0.0f;       ///< compass direction the wind blows from (deg)
    float turbulenceStrength = 1.0f;  ///< factor on every turbulence intensity
    float turbulenceDuration = 1.0f;  ///< factor on every turbulence scale length
    ExternalForceSettings externalForce;
};

} // namespace kv::sim
