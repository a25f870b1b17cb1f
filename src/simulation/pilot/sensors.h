#pragma once
/// The pilot layer's view of a simulated object: what an instrument system
/// would read.

#include "common/unit_constants.h"
#include "simulation/sim_object.h"

namespace kv::sim {

/// Sensed quantities, in instrument units. Refreshed first in every sub-step.
struct SensorRecord {
    float onGround = 0.0f;             ///< 1 while some strut is compressed
    Vec3 loadFactor{0.0f, 0.0f, 1.0f}; ///< longitudinal, lateral, normal (g)
    Vec3 rates{};                      ///< body rates p, q, r (deg/s)
    float roll = 0.0f;                 ///< deg
    float pitch = 0.0f;                ///< deg
    float yaw = 0.0f;                  ///< deg
    float alpha = 0.0f;                ///< deg
    float beta = 0.0f;                 ///< deg
    float pressureAltitude = 0.0f;     ///< ft
    float trueAirspeed = 0.0f;         ///< knots
    float indicatedAirspeed = 0.0f;    ///< knots
    float verticalSpeed = 0.0f;        ///< ft/min, positive up
    float totalTemperature = 0.0f;     ///< deg R
    float gearPosition = 0.0f;         ///< landing-gear channel position, 0..1
};

/// Refreshes `sensors` from `obj`. The sensors are noiseless, so every value is
/// the true one.
void UpdateSensors(const SimObject& obj, SensorRecord& sensors);

} // namespace kv::sim
