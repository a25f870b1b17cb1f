#pragma once
/// The "Wind" dialog's values: steady wind and turbulence as the user reads
/// and types them, and OK's write-back into the environment.

#include "app/dialogs/dialog_entry.h"
#include "simulation/environment/environment.h"

namespace kv::app {

struct WindForm {
    bool steadyOn = false;     ///< "Steady Wind": "On"
    double speed = 0.0;        ///< km/h with a metric length unit, else mph
    double direction = 0.0;    ///< direction the wind comes from (deg)
    bool turbulenceOn = false; ///< "Turbulence": "On"
    double strength = 100.0;   ///< "Strength (%)": strength factor x 100
    double duration = 100.0;   ///< "Duration (%)": duration factor x 100
};

inline constexpr SliderRange kWindSpeedSlider{0, 30};
inline constexpr SliderRange kWindDirectionSlider{0, 359};
inline constexpr SliderRange kTurbulenceStrengthSlider{0, 400};
inline constexpr SliderRange kTurbulenceDurationSlider{0, 400};

/// Smallest stored turbulence duration factor (a zero scale length has no meaning).
inline constexpr float kMinTurbulenceDuration = 0.01f;

/// What the dialog shows for `environment` (its speed in the unit of `lengthUnitFactor`).
WindForm windForm(const sim::Environment& environment, float lengthUnitFactor);
/// "Reset": both switches off, speed and direction 0, strength and duration 100 %.
inline WindForm windFormReset() {
    return {};
}
/// OK: speed to ft/s (at least 0), direction as entered, strength x 0.01 (at
/// least 0), duration x 0.01 (at least 0.01); the rest of `environment` kept.
void applyWindForm(const WindForm& form, float lengthUnitFactor, sim::Environment& environment);

} // namespace kv::app
