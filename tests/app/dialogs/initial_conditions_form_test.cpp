#include "app/dialogs/dialog_entry.h"
#include "app/dialogs/initial_conditions_form.h"
#include "app/settings/units_labels.h"
#include "support/document_ports.h"
#include "support/fake_ports.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

constexpr WorkingUnits kMetresLeft{kFeetPerMetre, 0, 0};
constexpr WorkingUnits kFeetRight{kFeetPerFoot, 1, 1};

TEST(InitialConditionsForm, VerticalValuesFollowTheHandOfTheAxes) {
    struct Case {
        WorkingUnits units;
        double entered;   // in the vertical position and velocity fields
        float storedDown; // ft (or ft/s)
        const char* label;
    } cases[] = {
        {kMetresLeft, 5.0, -16.404f, "Up (m)"},
        {{kFeetPerMetre, 0, 1}, 5.0, 16.404f, "Down (m)"},
        {kFeetRight, 10.0, 10.0f, "Down (ft)"},
        {{kFeetPerCentimetre, 0, 0}, 100.0, -3.2808f, "Up (cm)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        InitialConditionsForm form;
        form.position[2] = c.entered;
        form.velocity[2] = c.entered;
        const model::InitialConditions ic = initialConditionsOfForm(form, c.units);
        EXPECT_NEAR(ic.position[2], c.storedDown, 1e-4f);
        EXPECT_NEAR(ic.velocity[2], c.storedDown, 1e-4f);
        const InitialConditionsLabels labels = initialConditionsLabels(c.units);
        EXPECT_EQ(labels.position[2], c.label);
        EXPECT_EQ(labels.velocity[2], std::string(c.label).insert(std::strlen(c.label) - 1, "/s"));
        // Shown again as typed.
        const InitialConditionsForm shown = initialConditionsForm(ic, c.units);
        EXPECT_EQ(formatEntry("%0.4f", shown.position[2]), formatEntry("%0.4f", c.entered));
    }
}

TEST(InitialConditionsForm, AnglesAreListedYawFirstAndKeepTheirSign) {
    model::InitialConditions ic;
    ic.position = {10.0f, -20.0f, -3.0f};
    ic.velocity = {50.0f, 1.0f, 2.0f};
    ic.attitude = {5.0f, -10.0f, 270.0f}; // roll, pitch, yaw
    ic.rates = {1.0f, 2.0f, -3.0f};
    const InitialConditionsForm form = initialConditionsForm(ic, kMetresLeft);
    EXPECT_EQ(form.attitude[0], 270.0);
    EXPECT_EQ(form.attitude[2], 5.0);
    EXPECT_EQ(form.rates[0], -3.0);
    EXPECT_NEAR(form.position[0], 10.0 / 3.2808, 1e-6);
    EXPECT_NEAR(form.position[2], 3.0 / 3.2808, 1e-6);
    const model::InitialConditions back = initialConditionsOfForm(form, kMetresLeft);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(back.position[i], ic.position[i], 1e-5f);
        EXPECT_NEAR(back.velocity[i], ic.velocity[i], 1e-5f);
        EXPECT_EQ(back.attitude[i], ic.attitude[i]);
        EXPECT_EQ(back.rates[i], ic.rates[i]);
    }
    EXPECT_FLOAT_EQ(motionFileTime(2, 7.5), 127.5f);
}

/// What the dialog does between "Load..." and OK: the loaded values pass
/// through the fields' text.
InitialConditionsForm throughFields(const InitialConditionsForm& form) {
    InitialConditionsForm out;
    auto copy = [](const std::array<double, 3>& from, std::array<double, 3>& to) {
        for (std::size_t i = 0; i < 3; ++i)
            to[i] = *parseEntry(formatEntry("%0.4f", from[i]));
    };
    copy(form.position, out.position);
    copy(form.velocity, out.velocity);
    copy(form.attitude, out.attitude);
    copy(form.rates, out.rates);
    return out;
}

TEST(InitialConditionsForm, LoadedFromARecordedRunTheNextRunStartsFromTheRecordedState) {
    test::DocumentRig rig;
    Document& doc = *rig.doc;
    // A turning, accelerating car, so that position, heading and rates all move.
    model::InitialConditions start;
    start.position = {12.0f, -7.0f, doc.object(0).initial.position[2]};
    start.attitude = {0.0f, 0.0f, 30.0f};
    start.velocity = {40.0f, 0.0f, 0.0f};
    doc.object(0).initial = start;
    doc.resetSimulation();
    SimulatedClock clock;
    test::ScriptedControls controls;
    controls.script.push_back({0, 0, 0, 0.6f, -1.0f}); // steer right, full throttle
    test::ScriptedScene scene;
    scene.escapeFrom = 40;
    doc.runSimulation(sim::RunPorts{clock, controls, scene, rig.messages});
    const sim::RecordChannel& recorded = doc.run().channels.channels[0];
    ASSERT_GT(recorded.count, 30);
    filetest::ScratchDir dir;
    rig.files.answers.push_back((dir / "take").string());
    ASSERT_EQ(doc.saveMotionAs(), 1);

    const int frame = 24; // 2 s at 12 frames per second
    const model::MotionFrame& at = recorded.frames[static_cast<std::size_t>(frame)];
    const float t = at[model::kFrameTime];
    // The car has gone somewhere and turned since the start.
    EXPECT_GT(std::abs(at[model::kFrameNorth] * kFeetPerMetre - start.position[0]), 10.0f);
    EXPECT_GT(std::abs(at[model::kFrameRoll + 2] - start.attitude[2]), 1.0f);
    for (const WorkingUnits& units : {kMetresLeft, kFeetRight, WorkingUnits{kFeetPerYard, 1, 0}}) {
        SCOPED_TRACE(unitShortName(units.lengthUnitFactor));
        const auto loaded = doc.initialConditionsFrom(motionFileTime(0, t), dir / "take.kvm");
        ASSERT_TRUE(loaded.has_value());
        const InitialConditionsForm shown = throughFields(initialConditionsForm(*loaded, units));
        doc.object(0).initial = initialConditionsOfForm(shown, units);
        doc.resetSimulation();

        const sim::SimObject& s = doc.run().slots[0].sim;
        for (std::size_t i = 0; i < 3; ++i) {
            const float recordedFt = at[model::kFrameNorth + i] * kFeetPerMetre;
            EXPECT_NEAR(s.position[i], recordedFt, 0.001f) << "axis " << i;
        }
        EXPECT_NEAR(s.roll * kDegPerRad, at[model::kFrameRoll], 0.001f);
        EXPECT_NEAR(s.pitch * kDegPerRad, at[model::kFrameRoll + 1], 0.001f);
        EXPECT_NEAR(std::remainder(s.yaw * kDegPerRad - at[model::kFrameRoll + 2], 360.0f), 0.0f,
                    0.001f);
    }
}

} // namespace
} // namespace kv::app
