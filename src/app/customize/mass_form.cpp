#include "app/customize/mass_form.h"

#include "app/settings/units_convert.h"
#include "app/settings/units_labels.h"

namespace kv::app {

MassForm massFormFor(const model::MassProperties& block, std::int32_t englishForceUnits) {
    MassForm form;
    const std::array<std::string_view, 4> labels = massLabels(englishForceUnits);
    for (std::size_t i = 0; i < labels.size(); ++i)
        form.labels[i] = std::string(labels[i]);
    form.values[0] = formatLength(toDisplayMass(block.mass, englishForceUnits));
    form.values[1] = formatLength(toDisplayInertia(block.inertia[0], englishForceUnits));
    form.values[2] = formatLength(toDisplayInertia(block.inertia[4], englishForceUnits));
    form.values[3] = formatLength(toDisplayInertia(block.inertia[8], englishForceUnits));
    const float couplings[3] = {block.rollPitchCoupling, block.rollYawCoupling,
                                block.pitchYawCoupling};
    for (std::size_t i = 0; i < 3; ++i)
        form.couplings[i] = formatNumber(kFormatWhole, static_cast<double>(couplings[i] * 100.0f));
    return form;
}

std::optional<FormRefusal> applyMassForm(const MassForm& shown, const MassForm& edited,
                                         std::int32_t englishForceUnits,
                                         model::MassProperties& block) {
    FieldReader reader;
    const auto mass = [englishForceUnits](double v) {
        return fromDisplayMass(static_cast<float>(v), englishForceUnits);
    };
    const auto inertia = [englishForceUnits](double v) {
        return fromDisplayInertia(static_cast<float>(v), englishForceUnits);
    };
    const auto percent = [](double v) { return static_cast<float>(v) * 0.01f; };
    const float m = reader.read(kMassField, shown.values[0], edited.values[0], block.mass, mass);
    const float ixx = reader.read(kRollInertiaField, shown.values[1], edited.values[1],
                                  block.inertia[0], inertia);
    const float iyy = reader.read(kPitchInertiaField, shown.values[2], edited.values[2],
                                  block.inertia[4], inertia);
    const float izz =
        reader.read(kYawInertiaField, shown.values[3], edited.values[3], block.inertia[8], inertia);
    const float xy = reader.read(kRollPitchCouplingField, shown.couplings[0], edited.couplings[0],
                                 block.rollPitchCoupling, percent);
    const float xz = reader.read(kRollYawCouplingField, shown.couplings[1], edited.couplings[1],
                                 block.rollYawCoupling, percent);
    const float yz = reader.read(kPitchYawCouplingField, shown.couplings[2], edited.couplings[2],
                                 block.pitchYawCoupling, percent);
    if (reader.refusal())
        return reader.refusal();
    const float positives[4] = {m, ixx, iyy, izz};
    for (int i = 0; i < 4; ++i) {
        if (!(positives[i] > 0.0f))
            return FormRefusal{std::string(kMassNotPositiveMessage), kMassField + i};
    }

    block.mass = m;
    // Every off-diagonal element holds the roll inertia; the couplings scale
    // them into the products of inertia when a run starts.
    block.inertia = {ixx, ixx, ixx, ixx, iyy, ixx, ixx, ixx, izz};
    block.massScale = {1.0f, 1.0f, 1.0f, 1.0f};
    block.rollPitchCoupling = xy;
    block.rollYawCoupling = xz;
    block.pitchYawCoupling = yz;
    return std::nullopt;
}

} // namespace kv::app
