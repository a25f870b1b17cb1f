#pragma once
/// The "Mass Properties" dialog without its widgets: mass and the three
/// moments of inertia in lb and lb-ft2 or kg and kg-m2, the three couplings
/// in percent, and what OK writes back to the mass block.

#include "app/customize/form_field.h"
#include "model/object_record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::app {

/// OK's refusal of a mass or moment of inertia that is not above zero.
inline constexpr std::string_view kMassNotPositiveMessage =
    "The mass and inertias must all be greater than zero.";
inline constexpr std::string_view kMassNote =
    "Note: Products of inertia are percentages of the roll inertia.";
/// Coupling labels in field order: roll/pitch, roll/yaw, pitch/yaw.
inline constexpr std::array<std::string_view, 3> kCouplingLabels{
    "Roll/Pitch Coupling (%)", "Roll/Yaw Coupling (%)", "Pitch/Yaw Coupling (%)"};
/// Coupling sliders run from -100 to 100 percent.
inline constexpr int kCouplingPercentLimit = 100;

/// Field numbers: mass, roll, pitch and yaw inertia, then the three couplings.
enum MassField : int {
    kMassField = 0,
    kRollInertiaField,
    kPitchInertiaField,
    kYawInertiaField,
    kRollPitchCouplingField,
    kRollYawCouplingField,
    kPitchYawCouplingField,
};

struct MassForm {
    /// "Mass (lb)", "Roll Inertia (lb-ft2)", ... or the kg and kg-m2 labels.
    std::array<std::string, 4> labels;
    /// Mass, roll, pitch and yaw inertia in the working units, "%0.4f".
    std::array<std::string, 4> values;
    /// Roll/pitch, roll/yaw, pitch/yaw coupling in percent, "%0.0f".
    std::array<std::string, 3> couplings;
};

/// What the dialog shows for `block` with the force units of the preferences.
MassForm massFormFor(const model::MassProperties& block, std::int32_t englishForceUnits);

/// OK: converts the edited fields (those still as `shown` keep their stored
/// values) and, when mass and inertias are all above zero, writes `block` as
/// mass; the inertia matrix with the roll inertia in every off-diagonal
/// element; mass scales 1.0; the couplings. Otherwise refuses and leaves
/// `block` as it was.
std::optional<FormRefusal> applyMassForm(const MassForm& shown, const MassForm& edited,
                                         std::int32_t englishForceUnits,
                                         model::MassProperties& block);

} // namespace kv::app
