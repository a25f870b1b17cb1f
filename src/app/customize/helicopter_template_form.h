#pragma once
/// The "Helicopter Effector Template" dialog's effectors: the two rotor hubs,
/// the blades under each and the optional landing gear, and what OK does to
/// them (blade counts, blade size, hub positions, gear).

#include "app/customize/effector_template_form.h"
#include "model/object_record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::app {

inline constexpr std::string_view kMainBladesFullMessage =
    "Could not add the requested number of main rotor blades because all effectors are in use.";
inline constexpr std::string_view kTailBladesFullMessage =
    "Could not add the requested number of tail rotor blades because all effectors are in use.";

/// Fewest and most blades on a rotor.
inline constexpr int kMinBlades = 2;
inline constexpr int kMaxBlades = 6;

/// Where the helicopter's parts are among its effectors.
struct HelicopterParts {
    std::vector<int> mainBlades; ///< Blade effectors under hub 0, index order
    std::vector<int> tailBlades; ///< Blade effectors under hub 1
    /// Tire or Skid effectors without a parent: nose, left main, right main.
    std::vector<int> gear;
};
HelicopterParts helicopterParts(const model::ObjectRecord& r);

/// A typed blade count rounded to the nearest whole number within 2..6.
int bladeCount(float typed);

TemplateForm helicopterTemplateForm(const model::ObjectRecord& r);

/// Writes the fields `v` (model::kHeli... order) and the gear choice into
/// `r`. Blades are added (copies of the hub's first blade, named
/// "MainRotorBlade%d" / "TailRotorBlade%d") or removed from the end to reach
/// each count and spread evenly in yaw. Choosing Tires or Skids on an object
/// without gear prepares a nose wheel and two main wheels; choosing none
/// removes the gear. Returns the refusal when no effector slot is free.
std::optional<std::string> writeHelicopterTemplate(const std::vector<float>& v, int gear,
                                                   model::ObjectRecord& r);

} // namespace kv::app
