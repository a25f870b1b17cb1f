#include "app/dialogs/initial_conditions_form.h"

#include "app/settings/units_convert.h"
#include "app/settings/units_labels.h"

namespace kv::app {

namespace {

/// Stored order roll, pitch, yaw; the dialog lists yaw first.
constexpr std::array<std::size_t, 3> kDialogAngleOrder{2, 1, 0};

} // namespace

InitialConditionsLabels initialConditionsLabels(const WorkingUnits& units) {
    return {positionLabels(units), velocityLabels(units)};
}

InitialConditionsForm initialConditionsForm(const model::InitialConditions& ic,
                                            const WorkingUnits& units) {
    const float f = units.lengthUnitFactor;
    InitialConditionsForm form;
    for (std::size_t i = 0; i < 2; ++i) {
        form.position[i] = toDisplayLength(ic.position[i], f);
        form.velocity[i] = toDisplayLength(ic.velocity[i], f);
    }
    form.position[2] = toDisplayVerticalLength(ic.position[2], units);
    form.velocity[2] = toDisplayVerticalLength(ic.velocity[2], units);
    for (std::size_t i = 0; i < 3; ++i) {
        form.attitude[i] = ic.attitude[kDialogAngleOrder[i]];
        form.rates[i] = ic.rates[kDialogAngleOrder[i]];
    }
    return form;
}

model::InitialConditions initialConditionsOfForm(const InitialConditionsForm& form,
                                                 const WorkingUnits& units) {
    const float f = units.lengthUnitFactor;
    model::InitialConditions ic;
    for (std::size_t i = 0; i < 2; ++i) {
        ic.position[i] = fromDisplayLength(static_cast<float>(form.position[i]), f);
        ic.velocity[i] = fromDisplayLength(static_cast<float>(form.velocity[i]), f);
    }
    ic.position[2] = fromDisplayVerticalLength(static_cast<float>(form.position[2]), units);
    ic.velocity[2] = fromDisplayVerticalLength(static_cast<float>(form.velocity[2]), units);
    for (std::size_t i = 0; i < 3; ++i) {
        ic.attitude[kDialogAngleOrder[i]] = static_cast<float>(form.attitude[i]);
        ic.rates[kDialogAngleOrder[i]] = static_cast<float>(form.rates[i]);
    }
    return ic;
}

float motionFileTime(double minutes, double seconds) {
    return static_cast<float>(minutes * 60.0 + seconds);
}

} // namespace kv::app
