#include "app/dialogs/external_force_form.h"

#include "app/settings/units_convert.h"
#include "app/settings/units_labels.h"

namespace kv::app {

namespace {

/// Moments are stored roll, pitch, yaw; the dialog lists yaw first.
constexpr std::array<std::size_t, 3> kDialogMomentOrder{2, 1, 0};

/// Moment (ft*lbf) in the force unit times the working length unit.
float toDisplayMoment(float footPounds, const WorkingUnits& units) {
    return toDisplayLength(toDisplayForce(footPounds, units.englishForceUnits),
                           units.lengthUnitFactor);
}

float fromDisplayMoment(float value, const WorkingUnits& units) {
    return fromDisplayForce(fromDisplayLength(value, units.lengthUnitFactor),
                            units.englishForceUnits);
}

} // namespace

ExternalForceLabels externalForceLabels(const WorkingUnits& units) {
    const std::array<std::string, 3> rollPitchYaw = momentLabels(units);
    return {positionLabels(units),
            forceLabels(units),
            {rollPitchYaw[2], rollPitchYaw[1], rollPitchYaw[0]}};
}

ExternalForceForm externalForceForm(const sim::ExternalForceSettings& s,
                                    const WorkingUnits& units) {
    ExternalForceForm form;
    const float f = units.lengthUnitFactor;
    for (std::size_t i = 0; i < 2; ++i) {
        form.position[i] = toDisplayLength(s.point[i], f);
        form.force[i] = toDisplayForce(s.force[i], units.englishForceUnits);
    }
    form.position[2] = toDisplayVerticalLength(s.point[2], units);
    form.force[2] = toDisplayVertical(toDisplayForce(s.force[2], units.englishForceUnits),
                                      units.rightHandedAxes);
    for (std::size_t i = 0; i < 3; ++i)
        form.moment[i] = toDisplayMoment(s.moment[kDialogMomentOrder[i]], units);
    form.axes = s.axes;
    return form;
}

ExternalForceForm externalForceReset(const ExternalForceForm& form) {
    ExternalForceForm reset;
    reset.axes = form.axes;
    return reset;
}

sim::ExternalForceSettings externalForceOfForm(const ExternalForceForm& form,
                                               const WorkingUnits& units) {
    sim::ExternalForceSettings s;
    const float f = units.lengthUnitFactor;
    for (std::size_t i = 0; i < 2; ++i) {
        s.point[i] = fromDisplayLength(static_cast<float>(form.position[i]), f);
        s.force[i] = fromDisplayForce(static_cast<float>(form.force[i]), units.englishForceUnits);
    }
    s.point[2] = fromDisplayVerticalLength(static_cast<float>(form.position[2]), units);
    s.force[2] = fromDisplayForce(
        fromDisplayVertical(static_cast<float>(form.force[2]), units.rightHandedAxes),
        units.englishForceUnits);
    for (std::size_t i = 0; i < 3; ++i)
        s.moment[kDialogMomentOrder[i]] =
            fromDisplayMoment(static_cast<float>(form.moment[i]), units);
    s.axes = form.axes != 0 ? sim::kExternalEarthAxes : sim::kExternalBodyAxes;
    return s;
}

} // namespace kv::app
