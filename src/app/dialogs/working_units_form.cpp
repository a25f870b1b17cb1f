#include "app/dialogs/working_units_form.h"

#include "app/settings/coordinate_system.h"

#include "common/vecmath.h"

namespace kv::app {

WorkingUnitsForm workingUnitsForm(const Preferences& p) {
    WorkingUnitsForm form;
    form.length = -1;
    for (std::size_t i = 0; i < kLengthChoices.size(); ++i) {
        if (CompareTol(p.lengthUnitFactor, kLengthChoices[i].feetPerUnit) == 0) {
            form.length = static_cast<int>(i);
            break;
        }
    }
    form.english = p.englishForceUnits != 0;
    form.axes = coordinateSystemOf(p.rightHandedAxes);
    return form;
}

void applyWorkingUnitsForm(const WorkingUnitsForm& form, Preferences& p) {
    if (form.length >= 0 && form.length < static_cast<int>(kLengthChoices.size()))
        p.lengthUnitFactor = kLengthChoices[static_cast<std::size_t>(form.length)].feetPerUnit;
    p.englishForceUnits = form.english ? 1 : 0;
    p.rightHandedAxes = storedCoordinateSystem(form.axes);
}

} // namespace kv::app
