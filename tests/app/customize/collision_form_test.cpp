#include "app/customize/collision_form.h"
#include "customize_test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace kv::app {
namespace {

using test::templateRecord;

model::ObjectRecord objectWithRole(std::int32_t role) {
    model::ObjectRecord r = templateRecord(model::kVehicleMotorcycle);
    r.role = role;
    return r;
}

TEST(CollisionForm, ShowsPercentages) {
    const CollisionForm form = collisionFormFor(templateRecord(model::kVehicleCar), nullptr);
    EXPECT_EQ(form.simulated.spring, "40");
    EXPECT_EQ(form.simulated.bounce, "80");
    EXPECT_EQ(form.simulated.friction, "50");
    EXPECT_FALSE(form.interactiveEnabled);
    EXPECT_EQ(form.interactive.spring, "0");
}

// Which object the Interactive Object group edits, and whether it may.
TEST(CollisionForm, TheInteractiveGroupNeedsAnInteractiveDynamicObject) {
    struct Case {
        std::vector<std::int32_t> roles; ///< roles of slots 1.. (slot 0 is the vehicle)
        int partner;
        bool enabled;
    };
    const Case cases[] = {
        {{}, -1, false},
        {{model::kRoleDynamic}, -1, false},
        {{model::kRoleStatic}, 1, false}, // a static object is never edited here
        {{model::kRoleDynamic, model::kRoleInteractive}, 2, true},
        {{model::kRoleDynamic, model::kRoleStatic, model::kRoleDynamic}, 2, false},
    };
    for (const Case& c : cases) {
        std::vector<model::ObjectRecord> objects{templateRecord(model::kVehicleCar)};
        for (std::int32_t role : c.roles)
            objects.push_back(objectWithRole(role));
        const int partner = firstInteractiveObject(objects);
        EXPECT_EQ(partner, c.partner) << c.roles.size();
        const CollisionForm form = collisionFormFor(
            objects[0], partner > 0 ? &objects[static_cast<std::size_t>(partner)] : nullptr);
        EXPECT_EQ(form.interactiveEnabled, c.enabled) << c.roles.size();
        if (!c.enabled) {
            EXPECT_EQ(form.interactive.spring, "0");
            EXPECT_EQ(form.interactive.bounce, "0");
            EXPECT_EQ(form.interactive.friction, "0");
        }
    }
}

TEST(CollisionForm, OkWritesBothObjectsClampedToOne) {
    model::ObjectRecord car = templateRecord(model::kVehicleCar);
    model::ObjectRecord other = objectWithRole(model::kRoleInteractive);
    const CollisionForm shown = collisionFormFor(car, &other);
    EXPECT_EQ(shown.interactive.spring, "5");
    CollisionForm edited = shown;
    edited.simulated = {"120", "30", "-5"};
    edited.interactive = {"75", "100", "25"};
    ASSERT_FALSE(applyCollisionForm(shown, edited, car, &other));
    EXPECT_EQ(car.collisionSpring, 1.0f);
    EXPECT_FLOAT_EQ(car.collisionDamping, 0.7f);
    EXPECT_EQ(car.collisionFriction, 0.0f);
    EXPECT_FLOAT_EQ(other.collisionSpring, 0.75f);
    EXPECT_EQ(other.collisionDamping, 0.0f);
    EXPECT_FLOAT_EQ(other.collisionFriction, 0.25f);

    // A disabled group writes nothing to the static object.
    model::ObjectRecord rock = objectWithRole(model::kRoleStatic);
    const model::ObjectRecord before = rock;
    const CollisionForm staticShown = collisionFormFor(car, &rock);
    CollisionForm staticEdited = staticShown;
    staticEdited.interactive = {"99", "99", "99"};
    ASSERT_FALSE(applyCollisionForm(staticShown, staticEdited, car, &rock));
    EXPECT_EQ(std::memcmp(&rock, &before, sizeof rock), 0);
}

TEST(CollisionForm, AFieldWithoutANumberRefuses) {
    model::ObjectRecord car = templateRecord(model::kVehicleCar);
    const CollisionForm shown = collisionFormFor(car, nullptr);
    CollisionForm edited = shown;
    edited.simulated.friction = "%";
    const auto refusal = applyCollisionForm(shown, edited, car, nullptr);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field, kCollisionSimulatedField + 2);
}

} // namespace
} // namespace kv::app
