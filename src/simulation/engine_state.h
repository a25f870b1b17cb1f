#pragma once
/// Engine readouts of a simulated object that leave the engine model.

namespace kv::sim {

struct EngineState {
    int engineType = 0;       ///< engine type code of the object record
    float power = 0.0f;       ///< engine power (hp), thrust (lbf) or speed (knots) by type
    float powerFactor = 1.0f; ///< factor applied by the engine model
    float rpm = 0.0f;         ///< engine speed shown (rev/min)
    float tachometer = 0.0f;  ///< tachometer fraction 0..1
    float wheelRpm = 0.0f;    ///< mean driven-wheel speed (rev/min), written by the contact model
    float driveTorque = 0.0f; ///< total drive torque at the driven wheels (ft*lbf)
};

} // namespace kv::sim
