#include "app/customize/aero_form.h"

#include "app/settings/units_convert.h"
#include "app/settings/units_labels.h"

namespace kv::app {

bool linearFieldsEnabled(std::int32_t aeroModel) {
    return aeroModel == model::kAeroLinear;
}

AeroForm aeroFormFor(const model::AeroData& block, float lengthUnitFactor) {
    AeroForm form;
    form.aeroModel = block.aeroModel;
    form.labels = {lengthLabel("Span", lengthUnitFactor), areaLabel("Area", lengthUnitFactor),
                   "Aspect Ratio", "Initial AOA (deg)"};
    form.values = {formatLength(toDisplayLength(block.span, lengthUnitFactor)),
                   formatLength(toDisplayArea(block.area, lengthUnitFactor)),
                   formatLength(block.aspectRatio), formatLength(toDisplayAngle(block.initialAoa))};
    for (std::size_t k = 0; k < form.coefficients.size(); ++k)
        form.coefficients[k] = formatLength(block.coefficients[k]);
    return form;
}

std::optional<FormRefusal> applyAeroForm(const AeroForm& shown, const AeroForm& edited,
                                         float lengthUnitFactor, model::AeroData& block) {
    FieldReader reader;
    model::AeroData out = block;
    out.aeroModel = edited.aeroModel;
    out.span = reader.read(kAeroSpanField, shown.values[0], edited.values[0], block.span,
                           [lengthUnitFactor](double v) {
                               return fromDisplayLength(static_cast<float>(v), lengthUnitFactor);
                           });
    out.area = reader.read(kAeroAreaField, shown.values[1], edited.values[1], block.area,
                           [lengthUnitFactor](double v) {
                               return fromDisplayArea(static_cast<float>(v), lengthUnitFactor);
                           });
    const auto asEntered = [](double v) { return static_cast<float>(v); };
    out.aspectRatio = reader.read(kAeroAspectRatioField, shown.values[2], edited.values[2],
                                  block.aspectRatio, asEntered);
    out.initialAoa =
        reader.read(kAeroInitialAoaField, shown.values[3], edited.values[3], block.initialAoa,
                    [](double v) { return fromDisplayAngle(static_cast<float>(v)); });
    for (std::size_t k = 0; k < out.coefficients.size(); ++k) {
        out.coefficients[k] =
            reader.read(kAeroCoefficientField + static_cast<int>(k), shown.coefficients[k],
                        edited.coefficients[k], block.coefficients[k], asEntered);
    }
    if (reader.refusal())
        return reader.refusal();
    block = out;
    return std::nullopt;
}

} // namespace kv::app
