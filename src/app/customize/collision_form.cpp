#include "app/customize/collision_form.h"

#include "app/settings/units_labels.h"

#include <algorithm>

namespace kv::app {

namespace {

std::string whole(float value) {
    return formatNumber(kFormatWhole, static_cast<double>(value));
}

CollisionFields fieldsOf(const model::ObjectRecord& r) {
    return {whole(r.collisionSpring * 100.0f), whole((1.0f - r.collisionDamping) * 100.0f),
            whole(r.collisionFriction * 100.0f)};
}

/// The three values of one object, each clamped to 0..1; a field without a number goes to `reader`.
void readFields(FieldReader& reader, int first, const CollisionFields& shown,
                const CollisionFields& edited, const model::ObjectRecord& r, float out[3]) {
    const auto fraction = [](double v) { return static_cast<float>(v) * 0.01f; };
    out[0] = reader.read(first, shown.spring, edited.spring, r.collisionSpring, fraction);
    out[1] = reader.read(first + 1, shown.bounce, edited.bounce, r.collisionDamping,
                         [](double v) { return 1.0f - static_cast<float>(v) * 0.01f; });
    out[2] = reader.read(first + 2, shown.friction, edited.friction, r.collisionFriction, fraction);
    for (int i = 0; i < 3; ++i)
        out[i] = std::clamp(out[i], 0.0f, 1.0f);
}

} // namespace

int firstInteractiveObject(std::span<const model::ObjectRecord> objects) {
    for (std::size_t i = 1; i < objects.size(); ++i) {
        if (objects[i].role == model::kRoleInteractive || objects[i].role == model::kRoleStatic)
            return static_cast<int>(i);
    }
    return -1;
}

CollisionForm collisionFormFor(const model::ObjectRecord& simulated,
                               const model::ObjectRecord* partner) {
    CollisionForm form;
    form.simulated = fieldsOf(simulated);
    form.interactiveEnabled = partner != nullptr && partner->role == model::kRoleInteractive;
    form.interactive =
        form.interactiveEnabled ? fieldsOf(*partner) : CollisionFields{"0", "0", "0"};
    return form;
}

std::optional<FormRefusal> applyCollisionForm(const CollisionForm& shown,
                                              const CollisionForm& edited,
                                              model::ObjectRecord& simulated,
                                              model::ObjectRecord* partner) {
    FieldReader reader;
    float own[3];
    readFields(reader, kCollisionSimulatedField, shown.simulated, edited.simulated, simulated, own);
    const bool withPartner = shown.interactiveEnabled && partner != nullptr;
    float other[3] = {};
    if (withPartner) {
        readFields(reader, kCollisionInteractiveField, shown.interactive, edited.interactive,
                   *partner, other);
    }
    if (reader.refusal())
        return reader.refusal();
    simulated.collisionSpring = own[0];
    simulated.collisionDamping = own[1];
    simulated.collisionFriction = own[2];
    if (withPartner) {
        partner->collisionSpring = other[0];
        partner->collisionDamping = other[1];
        partner->collisionFriction = other[2];
    }
    return std::nullopt;
}

} // namespace kv::app
