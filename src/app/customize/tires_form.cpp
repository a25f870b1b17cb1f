#include "app/customize/tires_form.h"

#include "app/settings/units_labels.h"
#include "model/object_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kv::app {

namespace {

std::string whole(double value) {
    return formatNumber(kFormatWhole, value);
}

bool isTire(const model::EffectorRecord& e) {
    return e.kind == model::kEffectorTire || e.kind == model::kEffectorSkid;
}

float clampFraction(float value, float high) {
    return std::clamp(value, 0.0f, high);
}

} // namespace

bool gripControlsEnabled(std::int32_t skid) {
    return skid != 0;
}

TiresModel::TiresModel(const model::ObjectRecord& r) : stored_(r.tires) {
    const model::TireSuspension& t = r.tires;
    openedShared_.braking = whole(static_cast<double>(t.braking * 100.0f));
    openedShared_.surface = whole(static_cast<double>(t.surface) * 0.5);
    openedShared_.skid = t.skid;
    openedShared_.tireType = t.tireType;

    const int n = std::clamp(r.effectorCount, 0, model::kMaxEffectors);
    for (int i = 0; i < n && static_cast<int>(names_.size()) < model::kMaxTires; ++i) {
        const model::EffectorRecord& e = r.effectors[static_cast<std::size_t>(i)];
        if (!isTire(e))
            continue;
        const std::size_t k = names_.size();
        names_.push_back(model::recordName(e.name));
        TireSettingsForm tire;
        tire.drive = t.drive[k] != 0;
        tire.brake = t.brake[k] != 0;
        tire.spring = whole(static_cast<double>(t.spring[k] * 100.0f));
        tire.bounce = whole(static_cast<double>((1.0f - t.damping[k]) * 100.0f));
        opened_.push_back(tire);
    }
    tires_ = opened_;
}

const TireSettingsForm& TiresModel::select(int tire, const TireSettingsForm& showing) {
    tires_.at(static_cast<std::size_t>(selected_)) = showing;
    if (tire >= 0 && tire < tireCount())
        selected_ = tire;
    return tires_[static_cast<std::size_t>(selected_)];
}

void TiresModel::applyToAll(const TireSettingsForm& showing) {
    tires_.at(static_cast<std::size_t>(selected_)) = showing;
    for (TireSettingsForm& t : tires_) {
        t.spring = showing.spring;
        t.bounce = showing.bounce;
    }
}

std::optional<FormRefusal> TiresModel::accept(const TiresSharedForm& shared,
                                              const TireSettingsForm& showing,
                                              model::TireSuspension& block) const {
    std::vector<TireSettingsForm> tires = tires_;
    tires.at(static_cast<std::size_t>(selected_)) = showing;

    model::TireSuspension out = stored_;
    FieldReader reader;
    out.braking = clampFraction(reader.read(kTiresBraking, openedShared_.braking, shared.braking,
                                            stored_.braking,
                                            [](double v) { return static_cast<float>(v) * 0.01f; }),
                                2.0f);
    if (shared.surface != openedShared_.surface) {
        // Half-percent steps: the typed percentage doubled and truncated, at
        // least 1 (0.5 %), kept inside what the stored integer holds.
        const float half = reader.read(kTiresSurface, openedShared_.surface, shared.surface,
                                       static_cast<float>(stored_.surface),
                                       [](double v) { return std::trunc(v * 2.0); });
        if (!reader.refusal()) {
            out.surface = static_cast<std::int32_t>(
                std::clamp(static_cast<double>(half), 1.0,
                           static_cast<double>(std::numeric_limits<std::int32_t>::max())));
        }
    }
    out.skid = shared.skid;
    out.tireType = shared.tireType;

    for (std::size_t k = 0; k < tires.size(); ++k) {
        const TireSettingsForm& now = tires[k];
        const TireSettingsForm& then = opened_[k];
        // A box left as it was keeps the stored flag word.
        if (now.drive != then.drive)
            out.drive[k] = now.drive ? 1 : 0;
        if (now.brake != then.brake)
            out.brake[k] = now.brake ? 1 : 0;
        out.spring[k] =
            clampFraction(reader.read(kTiresSpring, then.spring, now.spring, stored_.spring[k],
                                      [](double v) { return static_cast<float>(v) * 0.01f; }),
                          1.0f);
        out.damping[k] = clampFraction(
            reader.read(kTiresBounce, then.bounce, now.bounce, stored_.damping[k],
                        [](double v) { return 1.0f - static_cast<float>(v) * 0.01f; }),
            1.0f);
    }
    if (reader.refusal())
        return reader.refusal();
    block = out;
    return std::nullopt;
}

} // namespace kv::app
