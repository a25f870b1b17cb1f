#pragma once
/// Fixed data the propulsion models read during a run: limits and the blade
/// count from the object record, and the run's step, frame period and gravity.

#include "model/object_record.h"
#include "simulation/environment/environment.h"

namespace kv::sim {

struct PropulsionSettings {
    float nozzleLimit = 90.0f;  ///< full nozzle deflection of the VTOL jet (deg)
    float aileronLimit = 30.0f; ///< full aileron deflection, which vectors the ducted fan (deg)
    int bladeCount = 0;         ///< Blade effectors of the object
    float dt = 1.0f / 120.0f;   ///< physics step (s); advances the propeller channel
    float framePeriod =
        1.0f / 30.0f; ///< displayed frame period (s); sets the propeller channel rate
    float gravity = kStandardGravity; ///< gravitational acceleration (ft/s^2) the UFO balances
};

/// The record-derived part of the settings; `record`'s run limits must already
/// be derived. The run's timing and gravity keep their defaults.
PropulsionSettings propulsionSettingsFrom(const model::ObjectRecord& record);

/// Stores the run's physics step (s), frame period (s) and gravity (ft/s^2).
void setPropulsionRunValues(PropulsionSettings& settings, float dt, float framePeriod,
                            float gravity);

} // namespace kv::sim
