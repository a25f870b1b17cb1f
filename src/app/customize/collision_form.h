#pragma once
/// The "Collisions" dialog without its widgets: spring strength, bounce and
/// friction in percent for the simulated object and for the interactive
/// object it can collide with, and what OK writes back.

#include "app/customize/form_field.h"
#include "model/object_record.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kv::app {

/// Group titles.
inline constexpr std::string_view kSimulatedObjectGroup = "Simulated Object";
inline constexpr std::string_view kInteractiveObjectGroup = "Interactive Object";
/// Labels in field order: spring, bounce, friction; sliders 0..100.
inline constexpr std::array<std::string_view, 3> kCollisionLabels{"Spring Strength (%)",
                                                                  "Bounce (%)", "Friction (%)"};
inline constexpr int kCollisionPercentMax = 100;

/// One object's three fields, in percent ("%0.0f").
struct CollisionFields {
    std::string spring;   ///< collisionSpring x 100
    std::string bounce;   ///< (1 - collisionDamping) x 100
    std::string friction; ///< collisionFriction x 100
};

/// Field numbers: the simulated object's spring, bounce, friction, then the interactive object's.
enum CollisionField : int { kCollisionSimulatedField = 0, kCollisionInteractiveField = 3 };

struct CollisionForm {
    CollisionFields simulated;
    /// All "0" while the group is disabled.
    CollisionFields interactive;
    /// The group is enabled only for an interactive dynamic object (role 0).
    bool interactiveEnabled = false;
};

/// Index in `objects` (the object slots in use, slot 0 the simulated object)
/// of the first interactive object after the simulated one (role 0, or a
/// static object, role 2), or -1.
int firstInteractiveObject(std::span<const model::ObjectRecord> objects);

/// What the dialog shows for the simulated object and, when `partner` is an
/// interactive dynamic object, for it (null: none).
CollisionForm collisionFormFor(const model::ObjectRecord& simulated,
                               const model::ObjectRecord* partner);

/// OK: spring and friction x 0.01, damping 1 - bounce x 0.01, each 0..1, for
/// the simulated object and, when the group is enabled, for `partner`.
/// Fields still as `shown` keep their stored values.
std::optional<FormRefusal> applyCollisionForm(const CollisionForm& shown,
                                              const CollisionForm& edited,
                                              model::ObjectRecord& simulated,
                                              model::ObjectRecord* partner);

} // namespace kv::app
