// The Effectors dialog without widgets: structural edits, their refusals, and
// the absolute and relative views of positions.

#include "app/customize/effector_editor.h"
#include "app/customize/effector_frames.h"
#include "customize_test_support.h"
#include "model/driver_codes.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

using model::ObjectRecord;

WorkingUnits feetDown() {
    return WorkingUnits{1.0f, 1, 1};
}
WorkingUnits metresUp() {
    return WorkingUnits{kFeetPerMetre, 0, 0};
}

constexpr int kRelative = 1, kAbsolute = 0;

/// The motorcycle: FrontForkPivot > HandleBars > FrontFork > FrontTire, RearPivot > RearTire.
ObjectRecord bike() {
    return test::templateRecord(model::kVehicleMotorcycle);
}

Vec3 absolutePosition(const ObjectRecord& r, int i) {
    return effectorFrame(r, i).position;
}

void expectNear(const Vec3& a, const Vec3& b, const char* what) {
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(a[static_cast<std::size_t>(k)], b[static_cast<std::size_t>(k)], 1e-4f) << what;
}

TEST(EffectorEditor, OpensWithReducedCodesAndShowsTheRememberedEffector) {
    EffectorEditor ed(test::templateRecord(model::kVehicleCar), metresUp(), 1, kRelative);
    EXPECT_EQ(ed.selected(), 1);
    EXPECT_EQ(ed.working().effectors[1].drivers[model::kDofDown], 21);
    EXPECT_EQ(ed.working().effectors[1].drivers[model::kDofPitch], 31);
    const EffectorFields& f = ed.shown();
    EXPECT_EQ(f.name, "FrontRightTire");
    EXPECT_TRUE(f.enabled);
    EXPECT_EQ(f.drivers[model::kDofDown], 15);      // "Strut Compression"
    EXPECT_EQ(f.drivers[model::kDofPitch], 15);     // "Tire Roll"
    EXPECT_EQ(f.drivers[model::kDofYaw], 14);       // "Tire Steer"
    EXPECT_EQ(f.position[1], "0.6982");             // 2.2907 ft in metres
    EXPECT_EQ(f.position[2], "-0.3475");            // Up: 1.14 ft down
    EXPECT_EQ(f.scales[model::kDofDown], "0.3048"); // -1 ft down scale is +0.3048 m up
    EXPECT_EQ(ed.labels().position[2], "Up (m)");
    EXPECT_EQ(ed.labels().radius, "Radius (m)");

    EffectorEditor beyond(test::templateRecord(model::kVehicleCar), metresUp(), 9, kRelative);
    EXPECT_EQ(beyond.selected(), 3); // clamped to the last effector
}

TEST(EffectorEditor, EnteringUpStoresDownNegated) {
    EffectorEditor ed(test::templateRecord(model::kVehicleCar), WorkingUnits{1.0f, 1, 0}, 0,
                      kRelative);
    EffectorFields f = ed.shown();
    f.position[2] = "1";
    ASSERT_FALSE(ed.apply(f));
    EXPECT_EQ(ed.working().effectors[0].offsets[2], -1.0f);
}

TEST(EffectorEditor, MovingThroughTheTreeWithoutEditsChangesNothing) {
    const ObjectRecord start = bike();
    for (int mode : {kAbsolute, kRelative}) {
        EffectorEditor ed(start, metresUp(), 0, mode);
        for (int i = 0; i < 6; ++i)
            ed.select(ed.shown(), i);
        ASSERT_FALSE(ed.accept(ed.shown()));
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(ed.working().effectors[static_cast<std::size_t>(i)].offsets,
                      start.effectors[static_cast<std::size_t>(i)].offsets);
            EXPECT_EQ(ed.working().effectors[static_cast<std::size_t>(i)].drivers,
                      start.effectors[static_cast<std::size_t>(i)].drivers);
        }
    }
}

TEST(EffectorEditor, AbsoluteEntryKeepsDescendantsInPlace) {
    EffectorEditor ed(bike(), feetDown(), 1, kAbsolute); // HandleBars under the fork pivot
    const Vec3 tireBefore = absolutePosition(ed.working(), 3);
    const EffectorFields shown = ed.shown();
    // Absolute position of the handlebars = the fork pivot's (3.265, 0, -0.05).
    EXPECT_EQ(shown.position[0], "3.2650");
    EXPECT_EQ(shown.angles[1], "21.9606");
    EffectorFields f = shown;
    f.position[0] = "4.0000";
    f.angles[2] = "10";
    ed.apply(f);
    const Vec3 bars = absolutePosition(ed.working(), 1);
    EXPECT_NEAR(bars[0], 4.0f, 1e-5f);
    expectNear(absolutePosition(ed.working(), 3), tireBefore, "front tire stays");
    ed.select(ed.shown(), 1);
    EXPECT_EQ(ed.shown().position[0], "4.0000");
    EXPECT_EQ(ed.shown().angles[2], "10.0000");
}

TEST(EffectorEditor, ClearPlacesAtTheCentreOfGravityOrAtTheParent) {
    {
        EffectorEditor ed(bike(), feetDown(), 2, kAbsolute); // FrontFork
        const Vec3 tire = absolutePosition(ed.working(), 3);
        ed.clearSelected(ed.shown());
        const auto& e = ed.working().effectors[2];
        EXPECT_EQ(model::recordName(e.name), "NewEffector");
        EXPECT_EQ(e.drivers, (std::array<int, 6>{}));
        expectNear(absolutePosition(ed.working(), 2), Vec3{}, "cleared fork at the CG");
        expectNear(absolutePosition(ed.working(), 3), tire, "tire below keeps its place");
        EXPECT_EQ(e.parent, 1); // still in its place in the tree
    }
    {
        EffectorEditor ed(bike(), feetDown(), 2, kRelative);
        ed.clearSelected(ed.shown());
        EXPECT_EQ(ed.working().effectors[2].offsets, (std::array<float, 6>{}));
        expectNear(absolutePosition(ed.working(), 2), absolutePosition(ed.working(), 1),
                   "at its parent's origin");
    }
}

TEST(EffectorEditor, NewAndCopyStopAtThirtyEffectors) {
    EffectorEditor ed(test::templateRecord(model::kVehicleCar), feetDown(), 0, kRelative);
    for (int i = 4; i < 30; ++i)
        ASSERT_FALSE(ed.newEffector(ed.shown())) << i;
    EXPECT_EQ(ed.working().effectorCount, 30);
    const auto& last = ed.working().effectors[29];
    EXPECT_EQ(model::recordName(last.name), "NewEffector");
    EXPECT_EQ(last.parent, -1);
    EXPECT_EQ(ed.newEffector(ed.shown()).value_or(""),
              "There can be no more than the maximum of 30 effectors.");
    EXPECT_EQ(ed.copySelected(ed.shown()).value_or(""),
              "There can be no more than the maximum of 30 effectors.");
    EXPECT_EQ(ed.working().effectorCount, 30);
}

TEST(EffectorEditor, CopyKeepsTheParentUpToSixChildren) {
    EffectorEditor ed(test::templateRecord(model::kVehicleHelicopter), feetDown(), 2, kRelative);
    ASSERT_FALSE(ed.copySelected(ed.shown())); // fifth main blade
    ed.select(ed.shown(), 2);
    ASSERT_FALSE(ed.copySelected(ed.shown())); // sixth
    const auto& copy = ed.working().effectors[11];
    EXPECT_EQ(model::recordName(copy.name), "MainRotorBlade1");
    EXPECT_EQ(copy.parent, 0);
    EXPECT_EQ(copy.childCount, 0);
    EXPECT_EQ(ed.working().effectors[0].childCount, 6);
    ed.select(ed.shown(), 2);
    EXPECT_EQ(ed.copySelected(ed.shown()).value_or(""),
              "The \"MainRotorHub\" effector can have no more than 6 children.");
    EXPECT_EQ(ed.working().effectorCount, 12);
}

TEST(EffectorEditor, LinkRefusesLoopsAndSeventhChildrenLeavingTheTree) {
    EffectorEditor ed(bike(), feetDown(), 0, kRelative);
    const ObjectRecord before = ed.working();
    ed.startLink(ed.shown());
    EXPECT_TRUE(ed.linking());
    EXPECT_EQ(ed.status(), "Select the parent effector. Press ESC to cancel.");
    // The fork pivot under its own grandchild, the fork.
    EXPECT_EQ(ed.finishLink(2).value_or(""),
              "The \"FrontForkPivot\" effector cannot be a child of the \"FrontFork\" effector "
              "because it introduces a circular reference.");
    EXPECT_FALSE(ed.linking());
    EXPECT_EQ(ed.status(), "");
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ed.working().effectors[static_cast<std::size_t>(i)].parent,
                  before.effectors[static_cast<std::size_t>(i)].parent);
        EXPECT_EQ(ed.working().effectors[static_cast<std::size_t>(i)].children,
                  before.effectors[static_cast<std::size_t>(i)].children);
    }
    // ESC leaves link mode without a change.
    ed.startLink(ed.shown());
    ed.cancelLink();
    EXPECT_FALSE(ed.linking());

    EffectorEditor heli(test::templateRecord(model::kVehicleHelicopter), feetDown(), 6, kRelative);
    EXPECT_FALSE(heli.setParent(6, 0)); // fifth child of the main hub
    EXPECT_FALSE(heli.setParent(7, 0)); // sixth
    EXPECT_EQ(heli.setParent(8, 0).value_or(""),
              "The \"MainRotorHub\" effector can have no more than 6 children.");
    EXPECT_EQ(heli.working().effectors[8].parent, 1);
    EXPECT_EQ(heli.working().effectors[1].childCount, 2);
}

TEST(EffectorEditor, LinkAndUnlinkMoveAnEffectorInTheTree) {
    EffectorEditor ed(bike(), feetDown(), 5, kRelative); // RearTire under RearPivot
    ed.startLink(ed.shown());
    ASSERT_FALSE(ed.finishLink(2));
    EXPECT_EQ(ed.working().effectors[5].parent, 2);
    EXPECT_EQ(ed.working().effectors[4].childCount, 0);
    EXPECT_EQ(ed.working().effectors[2].childCount, 2);
    ed.select(ed.shown(), 5);
    ASSERT_FALSE(ed.unlinkSelected(ed.shown()));
    EXPECT_EQ(ed.working().effectors[5].parent, -1);
    const std::vector<EffectorTreeRow> rows = ed.treeRows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.back().effector, 5);
    EXPECT_EQ(rows.back().depth, 0);
}

TEST(EffectorEditor, DeleteHandsChildrenToTheParentAndRenumbers) {
    EffectorEditor ed(bike(), feetDown(), 1, kRelative); // HandleBars
    ASSERT_FALSE(ed.deleteSelected(ed.shown()));
    const ObjectRecord& r = ed.working();
    ASSERT_EQ(r.effectorCount, 5);
    EXPECT_EQ(model::recordName(r.effectors[1].name), "FrontFork");
    EXPECT_EQ(r.effectors[1].parent, 0); // took the deleted effector's parent
    EXPECT_EQ(r.effectors[2].parent, 1); // FrontTire renumbered
    EXPECT_EQ(r.effectors[4].parent, 3); // RearTire under RearPivot, renumbered
    EXPECT_EQ(r.effectors[0].childCount, 1);
    EXPECT_EQ(r.effectors[0].children[0], 1);
    EXPECT_EQ(ed.selected(), 0); // the parent is selected
    EXPECT_TRUE(model::checkEffectorTree(r));
}

TEST(EffectorEditor, DriverChoiceSetsAndClearsTheScale) {
    EffectorEditor ed(test::templateRecord(model::kVehicleCar), metresUp(), 0, kRelative);
    EffectorFields f = ed.shown();
    f.drivers[model::kDofForward] = 13; // "Transmission"
    ed.driverChanged(f, model::kDofForward);
    EXPECT_EQ(ed.working().effectors[0].drivers[0], 20);
    EXPECT_FLOAT_EQ(ed.working().effectors[0].scales[0], kFeetPerMetre);
    EXPECT_EQ(ed.shown().scales[0], "1.0000");
    f = ed.shown();
    f.drivers[model::kDofRight] = 5; // "Gear": one metre, and the Up sign for the vertical
    ed.driverChanged(f, model::kDofRight);
    f = ed.shown();
    f.drivers[model::kDofYaw] = 0; // "None"
    ed.driverChanged(f, model::kDofYaw);
    EXPECT_EQ(ed.working().effectors[0].scales[model::kDofYaw], 0.0f);
    f = ed.shown();
    f.drivers[model::kDofYaw] = 1; // "Aileron": one degree
    ed.driverChanged(f, model::kDofYaw);
    EXPECT_EQ(ed.working().effectors[0].scales[model::kDofYaw], 1.0f);
}

TEST(EffectorEditor, SoundAndNoSelectionDisableTheFields) {
    EffectorEditor ed(test::templateRecord(model::kVehicleCar), feetDown(), 0, kRelative);
    ed.setKind(ed.shown(), model::kEffectorSound);
    EXPECT_FALSE(ed.shown().enabled);
    EXPECT_EQ(ed.shown().drivers[model::kDofRoll], 0);
    EffectorEditor none(ObjectRecord{}, feetDown(), 0, kRelative);
    EXPECT_EQ(none.selected(), -1);
    EXPECT_FALSE(none.shown().enabled);
}

TEST(EffectorEditor, FailedOkKeepsTheCopyWithCodesReduced) {
    EffectorEditor ed(test::templateRecord(model::kVehicleCar), feetDown(), 0, kRelative);
    ed.setKind(ed.shown(), model::kEffectorBasic); // FrontLeftTire keeps Tire Roll
    EXPECT_EQ(ed.accept(ed.shown()).value_or(""),
              "The \"FrontLeftTire\" effector is a strut and is not attached to a tire or skid "
              "effector.");
    EXPECT_EQ(ed.working().effectors[1].drivers[model::kDofDown], 21);
    ed.setKind(ed.shown(), model::kEffectorTire);
    ASSERT_FALSE(ed.accept(ed.shown()));
    EXPECT_EQ(ed.working().effectors[3].drivers[model::kDofDown], 24);
}

TEST(EffectorEditor, NonNumberRefusesOk) {
    EffectorEditor ed(test::templateRecord(model::kVehicleCar), feetDown(), 0, kRelative);
    EffectorFields f = ed.shown();
    f.radius = "wide";
    EXPECT_EQ(ed.accept(f).value_or(""), "Please enter a number.");
    EXPECT_EQ(ed.working().effectors[0].radius, 0.9518f);
}

TEST(EffectorEditor, LessOnlyWhileTheEffectorsFit) {
    EffectorEditor ed(test::templateRecord(model::kVehicleCar), feetDown(), 1, kRelative);
    EXPECT_FALSE(ed.less(ed.shown()));
    ASSERT_FALSE(ed.newEffector(ed.shown())); // an extra effector still fits
    EXPECT_FALSE(ed.less(ed.shown()));
    ed.select(ed.shown(), 1);
    EffectorFields f = ed.shown();
    f.position[0] = "3.0"; // the right front tire moved alone
    EXPECT_EQ(ed.less(f).value_or(""), "The effectors no longer fit into the current template.");
}

} // namespace
} // namespace kv::app

namespace kv::app {
namespace {

TEST(EffectorEditor, DeleteRefusesWhenTheParentWouldGetASeventhChild) {
    // A hub with five blades and a sixth child that itself has two children:
    // deleting that child would hand the parent seven children.
    ObjectRecord r = test::templateRecord(model::kVehicleHelicopter);
    EffectorEditor ed(r, feetDown(), 2, kRelative);
    ASSERT_FALSE(ed.copySelected(ed.shown())); // fifth main blade (index 10)
    ASSERT_FALSE(ed.newEffector(ed.shown()));  // 11
    ASSERT_FALSE(ed.setParent(11, 0));         // sixth child of the hub
    ASSERT_FALSE(ed.newEffector(ed.shown()));  // 12
    ASSERT_FALSE(ed.newEffector(ed.shown()));  // 13
    ASSERT_FALSE(ed.setParent(12, 11));
    ASSERT_FALSE(ed.setParent(13, 11));
    const ObjectRecord before = ed.working();
    ed.select(ed.shown(), 11);
    EXPECT_EQ(ed.deleteSelected(ed.shown()).value_or(""),
              "The \"MainRotorHub\" effector can have no more than 6 children.");
    EXPECT_EQ(ed.working().effectorCount, before.effectorCount);
    EXPECT_EQ(ed.working().effectors[12].parent, 11);
    // A root's children simply become roots.
    ed.select(ed.shown(), 1); // TailRotorHub
    ASSERT_FALSE(ed.deleteSelected(ed.shown()));
    EXPECT_EQ(ed.selected(), -1);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(ed.working().effectors[static_cast<std::size_t>(i + 4)].parent, -1);
    EXPECT_TRUE(model::checkEffectorTree(ed.working()));
}

} // namespace
} // namespace kv::app
