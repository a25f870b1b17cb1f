#include "app/customize/engine_form.h"

#include "app/settings/units_convert.h"
#include "app/settings/units_labels.h"

#include <algorithm>
#include <cmath>

namespace kv::app {

namespace {

std::string tenths(double value) {
    return formatNumber(kFormatTenths, value);
}

/// Power in record units as the field shows it.
float displayPower(float power, std::int32_t type, std::int32_t english) {
    const EngineChoice* c = findEngineChoice(type);
    return c != nullptr && c->thrust ? toDisplayForce(power, english) : power;
}

} // namespace

const EngineChoice* findEngineChoice(std::int32_t type) {
    for (const EngineChoice& c : kEngineChoices) {
        if (c.type == type)
            return &c;
    }
    return nullptr;
}

std::string engineLabel(const EngineChoice& choice, std::int32_t englishForceUnits) {
    std::string label = choice.name;
    label.append(" (");
    if (choice.thrust)
        label.append(forceUnitName(englishForceUnits));
    else
        label.append(choice.unit);
    label.append(")");
    return label;
}

EngineModel::EngineModel(const model::ObjectRecord& r, std::int32_t englishForceUnits)
    : english_(englishForceUnits), storedType_(r.engineType), storedPower_(r.enginePower),
      type_(r.engineType) {
    for (std::size_t i = 0; i < kEngineChoices.size(); ++i) {
        const EngineChoice& c = kEngineChoices[i];
        entries_[i] = tenths(displayPower(c.defaultPower, c.type, english_));
    }
    openedPower_ = tenths(displayPower(storedPower_, storedType_, english_));
    for (std::size_t i = 0; i < kEngineChoices.size(); ++i) {
        if (kEngineChoices[i].type == storedType_)
            entries_[i] = openedPower_;
    }
}

std::string EngineModel::shownPower(std::size_t choice) const {
    const std::string& entry = entries_[choice];
    // A number is shown as the dialog formats power; anything else as typed.
    if (const std::optional<double> v = parseEntry(entry))
        return tenths(*v);
    return entry;
}

std::string EngineModel::choose(std::int32_t type, const std::string& field) {
    const EngineChoice* next = findEngineChoice(type);
    if (next == nullptr)
        return field;
    if (const EngineChoice* current = findEngineChoice(type_))
        entries_[static_cast<std::size_t>(current - kEngineChoices.data())] = field;
    type_ = type;
    return shownPower(static_cast<std::size_t>(next - kEngineChoices.data()));
}

std::optional<FormRefusal> EngineModel::accept(const std::string& field,
                                               model::ObjectRecord& r) const {
    float power = storedPower_;
    // Only the stored type's power opened as stored; any other type's field is a new entry.
    if (type_ != storedType_ || field != openedPower_) {
        const std::optional<double> typed = parseEntry(field);
        const EngineChoice* c = findEngineChoice(type_);
        const float shown = typed ? static_cast<float>(*typed) : 0.0f;
        power = c != nullptr && c->thrust ? fromDisplayForce(shown, english_) : shown;
        if (!typed || !std::isfinite(power))
            return FormRefusal{std::string(kEnterNumberMessage), 0};
    }
    r.engineType = type_;
    r.engineScale = 1.0f;
    r.enginePower = std::max(power, 0.0f);
    return std::nullopt;
}

} // namespace kv::app
