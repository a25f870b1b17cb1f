#pragma once
/// The "Engine" dialog without its widgets: the nine engine buttons, the
/// "Power" field in hp, lbf or N, or knots, the power remembered per engine
/// type while the dialog is open, and what OK writes back.

#include "app/customize/form_field.h"
#include "model/object_record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kv::app {

/// One engine button.
struct EngineChoice {
    std::int32_t type;  ///< `engineType` code
    const char* name;   ///< "Jet"
    const char* unit;   ///< unit of the power ("HP", "kts", "N/A"); thrust takes the force unit
    float defaultPower; ///< power the dialog offers before one is typed (record units)
    bool thrust;        ///< power is a thrust in lbf, shown in N with metric force units
};

/// The buttons in dialog order.
inline constexpr std::array<EngineChoice, 9> kEngineChoices{{
    {model::kEnginePropeller, "Propeller", "HP", 200.0f, false},
    {model::kEngineJet, "Jet", nullptr, 30000.0f, true},
    {model::kEngineDuctedFan, "Ducted Fan", "HP", 200.0f, false},
    {model::kEngineVtolJet, "VTOL Jet", nullptr, 30000.0f, true},
    {model::kEngineCar, "Car", "HP", 150.0f, false},
    {model::kEngineMotorcycle, "Motorcycle", "HP", 90.0f, false},
    {model::kEngineHelicopter, "Helicopter", "N/A", 3210.0f, false},
    {model::kEngineUfo, "UFO", "kts", 200.0f, false},
    {model::kEngineSpacecraft, "Spacecraft", nullptr, 30000.0f, true},
}};

/// The button of `type`, or nullptr for a code without one.
const EngineChoice* findEngineChoice(std::int32_t type);
/// The label of a button, "Car (HP)"; a thrust engine's names the force unit
/// of the preferences, "Jet (lbf)" or "Jet (N)".
std::string engineLabel(const EngineChoice& choice, std::int32_t englishForceUnits);

class EngineModel {
  public:
    /// The dialog for `r`: every type starts at its default power except the
    /// stored type, which starts at the stored power.
    EngineModel(const model::ObjectRecord& r, std::int32_t englishForceUnits);

    /// The checked button's type (the stored code, which may have no button).
    std::int32_t type() const { return type_; }
    /// What the "Power" field opens with, "%0.1f".
    const std::string& openedPower() const { return openedPower_; }

    /// Choosing another button: keeps `field` as the current type's power and
    /// returns the power of `type` to show.
    std::string choose(std::int32_t type, const std::string& field);

    /// OK: `engineType` from the buttons, `engineScale` 1.0, `enginePower`
    /// from `field` (converted from N for thrust in metric units), at least 0.
    /// The stored type with its field as it opened keeps the stored power.
    std::optional<FormRefusal> accept(const std::string& field, model::ObjectRecord& r) const;

  private:
    /// The text shown for a type's remembered power.
    std::string shownPower(std::size_t choice) const;

    std::int32_t english_;
    std::int32_t storedType_;
    float storedPower_;
    std::string openedPower_;
    std::int32_t type_;
    /// What the field held for each button (its default power until then).
    std::array<std::string, kEngineChoices.size()> entries_;
};

} // namespace kv::app
