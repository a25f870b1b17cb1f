#include "app/dialogs/wind_form.h"

#include "app/settings/units_convert.h"

#include <algorithm>

namespace kv::app {

WindForm windForm(const sim::Environment& e, float lengthUnitFactor) {
    WindForm form;
    form.steadyOn = e.windOn != 0;
    form.speed = toDisplaySpeed(e.windSpeed, lengthUnitFactor);
    form.direction = e.windDirection;
    form.turbulenceOn = e.turbulenceOn != 0;
    form.strength = e.turbulenceStrength * 100.0f;
    form.duration = e.turbulenceDuration * 100.0f;
    return form;
}

void applyWindForm(const WindForm& form, float lengthUnitFactor, sim::Environment& e) {
    e.windOn = form.steadyOn ? 1 : 0;
    e.windSpeed =
        std::max(fromDisplaySpeed(static_cast<float>(form.speed), lengthUnitFactor), 0.0f);
    e.windDirection = static_cast<float>(form.direction);
    e.turbulenceOn = form.turbulenceOn ? 1 : 0;
    e.turbulenceStrength = std::max(static_cast<float>(form.strength) * 0.01f, 0.0f);
    e.turbulenceDuration =
        std::max(static_cast<float>(form.duration) * 0.01f, kMinTurbulenceDuration);
}

} // namespace kv::app
