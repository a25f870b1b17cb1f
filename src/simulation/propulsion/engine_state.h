#pragma once
/// Engine readouts of a simulated object that leave the engine model.

#include "common/table_lookup.h"

#include <array>

namespace kv::sim {

struct EngineState {
    int engineType = 0;       ///< engine type code of the object record
    float power = 0.0f;       ///< engine power (hp), thrust (lbf) or speed (knots) by type
    float powerFactor = 1.0f; ///< factor applied by the engine model
    float rpm = 0.0f;         ///< engine speed shown (rev/min)
    float tachometer = 0.0f;  ///< tachometer fraction 0..1
    float wheelRpm = 0.0f;    ///< mean driven-wheel speed (rev/min), written by the contact model
    float smoothedRpm = 0.0f; ///< engine speed through the first-order display filter (rev/min)
    float driveTorque =
        0.0f; ///< total drive torque at the driven wheels (ft*lbf), negative in reverse
    /// One torque- or thrust-table cursor per engine type code (index 0 unused).
    std::array<TableCursor, 10> cursors{};
};

} // namespace kv::sim
