#include "app/customize/effector_template_form.h"

#include "app/customize/helicopter_template_form.h"
#include "app/dialogs/dialog_entry.h"
#include "app/settings/units.h"
#include "app/settings/units_convert.h"
#include "app/settings/units_labels.h"

#include <cmath>

namespace kv::app {

namespace {
/// "%0.4f", never "-0.0000" for a value that prints as zero.
std::string shownNumber(double value) {
    return formatEntry(kFormatLength, value);
}
} // namespace

void addTemplateField(TemplateForm& form, std::string_view label, TemplateUnit unit, float stored) {
    form.labels.emplace_back(label);
    form.units.push_back(unit);
    form.stored.push_back(stored);
}

TemplateForm templateFormFor(const model::ObjectRecord& r, float lengthUnitFactor) {
    TemplateForm form;
    switch (r.vehicleType) {
    case model::kVehicleCar:
        form = carTemplateForm(r);
        break;
    case model::kVehicleMotorcycle:
        form = motorcycleTemplateForm(r);
        break;
    case model::kVehicleAircraft:
        form = aircraftTemplateForm(r);
        break;
    case model::kVehicleHelicopter:
        form = helicopterTemplateForm(r);
        break;
    default:
        return form;
    }
    form.vehicleType = r.vehicleType;
    form.unitName = std::string(unitLongName(lengthUnitFactor));
    form.values.clear();
    for (std::size_t i = 0; i < form.stored.size(); ++i) {
        // A stored -0 (a negated zero offset) reads as 0, not "-0.0000".
        const float v = form.stored[i] + 0.0f;
        switch (form.units[i]) {
        case TemplateUnit::Length:
            form.values.push_back(shownNumber(toDisplayLength(v, lengthUnitFactor)));
            break;
        case TemplateUnit::Degrees:
            form.values.push_back(shownNumber(v));
            break;
        case TemplateUnit::Count:
            form.values.push_back(formatEntry(kFormatWhole, v));
            break;
        }
    }
    return form;
}

std::optional<FormRefusal> applyTemplateForm(const TemplateForm& shown,
                                             const std::vector<std::string>& edited, int gear,
                                             float lengthUnitFactor, model::ObjectRecord& r) {
    FieldReader reader;
    std::vector<float> v(shown.stored.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
        const std::string& text = i < edited.size() ? edited[i] : shown.values[i];
        const TemplateUnit unit = shown.units[i];
        v[i] =
            reader.read(static_cast<int>(i), shown.values[i], text, shown.stored[i],
                        [unit, lengthUnitFactor](double x) {
                            return unit == TemplateUnit::Length
                                       ? fromDisplayLength(static_cast<float>(x), lengthUnitFactor)
                                       : static_cast<float>(x);
                        });
    }
    if (reader.refusal())
        return reader.refusal();
    model::ObjectRecord out = r;
    switch (shown.vehicleType) {
    case model::kVehicleCar:
        writeCarTemplate(v, out);
        break;
    case model::kVehicleMotorcycle:
        writeMotorcycleTemplate(v, out);
        break;
    case model::kVehicleAircraft:
        writeAircraftTemplate(v, out);
        break;
    case model::kVehicleHelicopter:
        if (auto message = writeHelicopterTemplate(v, gear, out))
            return FormRefusal{*message, -1};
        break;
    default:
        return std::nullopt;
    }
    r = out;
    return std::nullopt;
}

} // namespace kv::app
