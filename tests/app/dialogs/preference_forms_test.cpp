// Working Units, Grid, Controller and Camera: what each dialog shows for the
// preferences and what OK stores back.
#include "app/camera/camera_settings.h"
#include "app/dialogs/camera_form.h"
#include "app/dialogs/controller_form.h"
#include "app/dialogs/grid_form.h"
#include "app/dialogs/working_units_form.h"
#include "common/message_wrap.h"
#include "support/fake_ports.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(WorkingUnitsForm, SelectsTheMatchingUnitAndStoresTheChoices) {
    Preferences prefs;
    EXPECT_EQ(workingUnitsForm(prefs).length, 0); // metres
    for (std::size_t i = 0; i < kLengthChoices.size(); ++i) {
        // A factor within 0.1 % of the table's is still recognised.
        prefs.lengthUnitFactor = kLengthChoices[i].feetPerUnit * 1.0005f;
        EXPECT_EQ(workingUnitsForm(prefs).length, static_cast<int>(i)) << kLengthChoices[i].text;
    }
    prefs.lengthUnitFactor = 7.0f; // a damaged file
    WorkingUnitsForm form = workingUnitsForm(prefs);
    EXPECT_EQ(form.length, -1);
    form.english = true;
    form.axes = geom::DxfAxes::RightHand;
    applyWorkingUnitsForm(form, prefs);
    EXPECT_EQ(prefs.lengthUnitFactor, 7.0f);
    EXPECT_EQ(prefs.englishForceUnits, 1);
    EXPECT_EQ(prefs.rightHandedAxes, 1);
    form.axes = geom::DxfAxes::ZUp;
    applyWorkingUnitsForm(form, prefs);
    EXPECT_EQ(prefs.rightHandedAxes, 2);
    EXPECT_EQ(workingUnitsForm(prefs).axes, geom::DxfAxes::ZUp);
    form.length = 5;
    applyWorkingUnitsForm(form, prefs);
    EXPECT_EQ(prefs.lengthUnitFactor, 0.08333232f);
}

TEST(GridForm, TerrainResolutionSteps) {
    struct Case {
        double percent;
        std::int32_t step;
    } cases[] = {{100, 1}, {0, 51}, {81, 10}, {80, 11}, {99, 1}, {1, 50}, {150, 1}, {-20, 51}};
    for (const Case& c : cases) {
        EXPECT_EQ(terrainResolutionStep(c.percent), c.step) << c.percent;
    }
    EXPECT_EQ(terrainResolutionPercent(11), 80.0);
    EXPECT_EQ(terrainResolutionPercent(51), 0.0);
}

TEST(GridForm, SpacingAndSizeInWorkingUnitsWithTheirLimits) {
    Preferences prefs;
    prefs.lengthUnitFactor = kFeetPerFoot;
    GridForm form = gridForm(prefs);
    EXPECT_EQ(formatEntry("%0.4f", form.spacing), "164.0400");
    prefs.lengthUnitFactor = kFeetPerMetre;
    form = gridForm(prefs);
    EXPECT_EQ(formatEntry("%0.4f", form.spacing), "50.0000");
    EXPECT_EQ(form.resolution, 80.0);

    // Unchanged values change nothing.
    EXPECT_FALSE(applyGridForm(form, prefs).gridChanged);
    form.spacing = 0.0;
    form.size = -5.0;
    form.resolution = 81.0;
    form.gridOn = false;
    const GridChange change = applyGridForm(form, prefs);
    EXPECT_TRUE(change.gridChanged);
    EXPECT_TRUE(change.resolutionChanged);
    EXPECT_FLOAT_EQ(prefs.gridSpacing, 0.1f);
    EXPECT_EQ(prefs.gridSize, 0.0f);
    EXPECT_EQ(prefs.terrainResolutionStep, 10);
    EXPECT_EQ(prefs.gridOn, 0);
}

TEST(ControllerForm, AMissingJoystickChangesNothing) {
    Preferences prefs;
    test::RecordingMessages messages;
    ControllerDialogEntries form = controllerEntriesFrom(prefs);
    form.vehicleReverseUpDown = true;
    form.sensitivityPercent = 50.0f;
    form.device = ControllerDevice::Joystick;
    int asked = 0;
    const JoystickProbe none = [&] {
        ++asked;
        return false;
    };
    EXPECT_FALSE(acceptControllerForm(form, none, prefs, messages));
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], wrapMessageText(kJoystickMissingMessage));
    EXPECT_EQ(prefs.vehicleReverseUpDown, 0);
    EXPECT_EQ(prefs.sensitivity, 1.0f);
    EXPECT_EQ(prefs.controllerCentring, 0);

    // The mouse needs no joystick: it is not even asked.
    form.device = ControllerDevice::Mouse;
    EXPECT_TRUE(acceptControllerForm(form, none, prefs, messages));
    EXPECT_EQ(asked, 1);
    // Nor do the keyboard and the gamepad.
    form.device = ControllerDevice::Keyboard;
    EXPECT_TRUE(acceptControllerForm(form, none, prefs, messages));
    EXPECT_EQ(prefs.controllerCentring, 2);
    form.device = ControllerDevice::Gamepad;
    EXPECT_TRUE(acceptControllerForm(form, none, prefs, messages));
    EXPECT_EQ(prefs.controllerCentring, 3);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(prefs.vehicleReverseUpDown, 1);
    EXPECT_FLOAT_EQ(prefs.sensitivity, 0.5f);

    form.device = ControllerDevice::Joystick;
    EXPECT_TRUE(acceptControllerForm(
        form, [] { return true; }, prefs, messages));
    EXPECT_EQ(prefs.controllerCentring, 1);
}

TEST(CameraForm, ShowsTheFactoryValues) {
    const CameraForm f = cameraForm(Preferences{});
    EXPECT_EQ(formatEntry("%0.0f", f.updateRate), "12");
    EXPECT_EQ(formatEntry("%0.0f", f.lagPercent), "20");
    EXPECT_EQ(formatEntry("%0.0f", f.dragPercent), "15");
    EXPECT_EQ(formatEntry("%0.0f", f.jitterPosition), "50");
    EXPECT_EQ(formatEntry("%0.0f", f.springPercent), "25");
    EXPECT_EQ(formatEntry("%0.0f", f.bouncePercent), "70");
    EXPECT_EQ(formatEntry("%0.4f", f.fieldOfView), "36.8700");
    EXPECT_EQ(f.preset, 0);
}

TEST(CameraForm, OkAppliesItsClampsAndPresetRule) {
    struct Case {
        const char* what;
        void (*edit)(CameraForm&);
        void (*check)(const Preferences&);
    } cases[] = {
        {"update rate 0 is 1 frame per second", [](CameraForm& f) { f.updateRate = 0; },
         [](const Preferences& p) { EXPECT_EQ(p.framePeriod, 1.0f); }},
        {"field of view 200 is 180 and Custom", [](CameraForm& f) { f.fieldOfView = 200; },
         [](const Preferences& p) {
             EXPECT_EQ(p.fieldOfView, 180.0f);
             EXPECT_EQ(p.cameraPreset, kCustomPreset);
         }},
        {"16mm is kept", [](CameraForm& f) { chooseCameraPreset(f, 2); },
         [](const Preferences& p) {
             EXPECT_EQ(p.cameraPreset, 2);
             EXPECT_EQ(p.fieldOfView, 27.4644f);
             EXPECT_EQ(p.aspectRatio, 1.3846f);
         }},
        {"window aspect makes Custom and keeps the stored aspect",
         [](CameraForm& f) {
             f.useWindowAspect = true;
             f.aspectRatio = 3.0;
         },
         [](const Preferences& p) {
             EXPECT_EQ(p.cameraPreset, kCustomPreset);
             EXPECT_EQ(p.aspectRatio, 1.3333f);
         }},
        {"aspect within 1..5", [](CameraForm& f) { f.aspectRatio = 9.0; },
         [](const Preferences& p) { EXPECT_EQ(p.aspectRatio, 5.0f); }},
        {"lag and drag limits",
         [](CameraForm& f) {
             f.lagPercent = 150;
             f.dragPercent = 500;
         },
         [](const Preferences& p) {
             EXPECT_EQ(p.cameraLag, 1.0f);
             EXPECT_EQ(p.cameraDrag, 20.0f);
         }},
        {"bounce spring and damping",
         [](CameraForm& f) {
             f.springPercent = 150;
             f.bouncePercent = 50;
         },
         [](const Preferences& p) {
             EXPECT_EQ(p.bounceSpring, 20000.0f);
             EXPECT_FLOAT_EQ(p.bounceDampingRatio, 0.5f);
             EXPECT_FLOAT_EQ(p.bounceDampingCoefficient, std::sqrt(400.0f * 20000.0f * 0.25f));
         }},
        {"jitter amounts", [](CameraForm& f) { f.jitterAngle = 100; },
         [](const Preferences& p) { EXPECT_FLOAT_EQ(p.jitterAngle, 0.02f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Preferences prefs;
        CameraForm form = cameraForm(prefs);
        c.edit(form);
        applyCameraForm(form, prefs);
        c.check(prefs);
    }
}

TEST(CameraForm, FactoryValuesSurviveOkUnchanged) {
    Preferences prefs;
    const Preferences before = prefs;
    const CameraChange change = applyCameraForm(cameraForm(prefs), prefs);
    EXPECT_FALSE(change.relayout);
    EXPECT_FALSE(change.lensOrOverlays);
    EXPECT_FLOAT_EQ(prefs.framePeriod, before.framePeriod);
    EXPECT_FLOAT_EQ(prefs.bounceDampingCoefficient, before.bounceDampingCoefficient);
    EXPECT_FLOAT_EQ(prefs.jitterPosition, before.jitterPosition);
    EXPECT_EQ(prefs.cameraPreset, 0);
}

TEST(CameraForm, ReportsTheFollowUps) {
    Preferences prefs;
    CameraForm form = cameraForm(prefs);
    form.hatchLine = true;
    CameraChange change = applyCameraForm(form, prefs);
    EXPECT_TRUE(change.lensOrOverlays);
    EXPECT_FALSE(change.relayout);
    form.aspectRatio = 2.0;
    change = applyCameraForm(form, prefs);
    EXPECT_TRUE(change.relayout);
    form.useWindowAspect = true;
    EXPECT_FALSE(applyCameraForm(form, prefs).relayout);
    form.useWindowAspect = false;
    EXPECT_TRUE(applyCameraForm(form, prefs).relayout); // switched off
}

} // namespace
} // namespace kv::app
