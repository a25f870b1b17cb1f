#pragma once
/// Fixed data the propulsion models read during a run: limits and the blade
/// count from the object record, and the run's step, frame period and gravity
/// with the rotor channel rate that follows from them.

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
    float rotorChannelRate = 0.0f;    ///< rotation rate of the helicopter's rotor channels (rad/s)
};

/// Rotation rate of the rotor channels (rad/s) for `bladeCount` Blade effectors
/// and a displayed frame period (s): chosen so that the blades step the same
/// angle each frame. Without blades the channels stand still (0).
float rotorChannelRate(int bladeCount, float framePeriod);

/// The record-derived part of the settings; `record`'s run limits must already
/// be derived. The run's timing and gravity keep their defaults (the rotor
/// channel rate follows the default frame period).
PropulsionSettings propulsionSettingsFrom(const model::ObjectRecord& record);

/// Stores the run's physics step (s), frame period (s) and gravity (ft/s^2),
/// and the rotor channel rate for that frame period.
void setPropulsionRunValues(PropulsionSettings& settings, float dt, float framePeriod,
                            float gravity);

} // namespace kv::sim
