#pragma once
/// The "Aerodynamics" dialog without its widgets: the model buttons, span,
/// area, aspect ratio and initial angle of attack in working units, the 24
/// linear coefficients in their groups, and what OK writes back.

#include "app/customize/form_field.h"
#include "model/object_record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::app {

/// A model button and the `aeroModel` code it stands for.
struct AeroModelChoice {
    const char* label;
    std::int32_t code;
};
inline constexpr std::array<AeroModelChoice, 4> kAeroModels{{{"Linear Aero", model::kAeroLinear},
                                                             {"F-4 Phantom", model::kAeroF4},
                                                             {"F-16 Falcon", model::kAeroF16},
                                                             {"Boeing 747", model::kAero747}}};

/// A titled group of coefficient fields: `count` coefficients from `first`
/// in the stored order.
struct CoefficientGroup {
    std::string_view title;
    int first;
    int count;
};
inline constexpr std::array<CoefficientGroup, 6> kCoefficientGroups{{{"Lift", 0, 3},
                                                                     {"Drag", 3, 3},
                                                                     {"Pitching Moment", 6, 3},
                                                                     {"Rolling Moment", 9, 5},
                                                                     {"Yawing Moment", 14, 5},
                                                                     {"Side Force", 19, 5}}};
/// Coefficient labels in the stored order; "Drag (CL²)" is the drag per lift
/// coefficient squared.
inline constexpr std::array<std::string_view, model::kAeroCoefficientCount> kCoefficientLabels{
    "Lift/AOA",       "Lift/Pitch Rate", "Lift/Elevator",    "Basic Drag",     "Drag (CL\u00b2)",
    "Drag/Elevator",  "Pitch/AOA",       "Pitch/Pitch Rate", "Pitch/Elevator", "Roll/Skid",
    "Roll/Roll Rate", "Roll/Yaw Rate",   "Roll/Aileron",     "Roll/Rudder",    "Yaw/Skid",
    "Yaw/Roll Rate",  "Yaw/Yaw Rate",    "Yaw/Aileron",      "Yaw/Rudder",     "Side/Skid",
    "Side/Roll Rate", "Side/Yaw Rate",   "Side/Aileron",     "Side/Rudder"};

/// Field numbers: span, area, aspect ratio, initial AOA, then coefficient k at
/// kAeroCoefficientField + k.
enum AeroField : int {
    kAeroSpanField = 0,
    kAeroAreaField,
    kAeroAspectRatioField,
    kAeroInitialAoaField,
    kAeroCoefficientField,
};

struct AeroForm {
    std::int32_t aeroModel = model::kAeroLinear;
    /// "Span (%s)", "Area (sq. %s)", "Aspect Ratio", "Initial AOA (deg)".
    std::array<std::string, 4> labels;
    /// Span, area, aspect ratio, initial AOA in working units, "%0.4f".
    std::array<std::string, 4> values;
    /// The 24 coefficients, "%0.4f".
    std::array<std::string, model::kAeroCoefficientCount> coefficients;
};

/// The span, area, aspect-ratio, AOA and coefficient fields are used only by
/// the linear model.
bool linearFieldsEnabled(std::int32_t aeroModel);

/// What the dialog shows for `block` in the length unit `lengthUnitFactor` (ft per unit).
AeroForm aeroFormFor(const model::AeroData& block, float lengthUnitFactor);

/// OK: the model; span x factor; area x factor²; aspect ratio; AOA in radians;
/// the coefficients as entered (fields still as `shown` keep their stored
/// values). Only a field that holds no number refuses.
std::optional<FormRefusal> applyAeroForm(const AeroForm& shown, const AeroForm& edited,
                                         float lengthUnitFactor, model::AeroData& block);

} // namespace kv::app
