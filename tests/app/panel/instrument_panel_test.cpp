#include "app/camera/camera_state.h"
#include "app/panel/instrument_panel.h"
#include "app/panel/key_guide.h"
#include "model/object_record.h"
#include "simulation/run_state.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

std::vector<PanelBlit> blitsOf(const PanelFrame& f, PanelImage image) {
    std::vector<PanelBlit> out;
    for (const PanelStep& s : f.steps) {
        if (const auto* b = std::get_if<PanelBlit>(&s); b != nullptr && b->image == image)
            out.push_back(*b);
    }
    return out;
}

std::vector<std::string> textsOf(const PanelFrame& f) {
    std::vector<std::string> out;
    for (const PanelStep& s : f.steps) {
        if (const auto* t = std::get_if<PanelText>(&s))
            out.push_back(t->text);
    }
    return out;
}

TEST(InstrumentPanel, ALampIsRedrawnOnlyWhenItsValueChanges) {
    InstrumentPanel panel;
    PanelInput in;
    // The idle redraw draws every lamp; frames of the run only the changed ones.
    EXPECT_EQ(blitsOf(panel.frame(in, true, 0.0), PanelImage::CarBrakeLamp).size(), 1u);
    EXPECT_TRUE(blitsOf(panel.frame(in, false, 0.1), PanelImage::CarBrakeLamp).empty());
    in.readings.brake = true;
    const auto on = blitsOf(panel.frame(in, false, 0.2), PanelImage::CarBrakeLamp);
    ASSERT_EQ(on.size(), 1u);
    EXPECT_EQ(on[0].variant, 1);
    EXPECT_EQ(on[0].x, 340);
    EXPECT_EQ(on[0].y, 32);
    EXPECT_TRUE(blitsOf(panel.frame(in, false, 0.3), PanelImage::CarBrakeLamp).empty());
    EXPECT_TRUE(blitsOf(panel.frame(in, false, 0.4), PanelImage::CruiseLamp).empty());
    // Forcing the remembered states redraws it at the next frame.
    panel.forceRedraw();
    EXPECT_EQ(blitsOf(panel.frame(in, false, 0.5), PanelImage::CarBrakeLamp).size(), 1u);
}

TEST(InstrumentPanel, RunFramesCopyTheGaugeStripOnly) {
    InstrumentPanel panel;
    PanelInput in;
    PanelFrame f = panel.frame(in, true, 0.0);
    EXPECT_EQ(f.copyRows, 300);
    EXPECT_EQ(blitsOf(f, PanelImage::CarBackground).size(), 1u);
    f = panel.frame(in, false, 0.0);
    EXPECT_EQ(f.copyRows, 168);
    EXPECT_TRUE(blitsOf(f, PanelImage::CarBackground).empty());
    EXPECT_TRUE(f.changedBelow.empty());
    // The dials are blitted every frame: that erases the old needles.
    EXPECT_EQ(blitsOf(f, PanelImage::Tachometer).size(), 1u);
    EXPECT_EQ(blitsOf(f, PanelImage::Speedometer).size(), 1u);
    // A key that changes lies below the strip: its rectangle reaches the window too.
    in.cameraMode = kModeChasePan;
    f = panel.frame(in, false, 0.0);
    ASSERT_EQ(f.changedBelow.size(), 2u);
    const auto keys = blitsOf(f, PanelImage::CarKey);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].variant, keyVariant(PanelKey::F2, KeyLight::Normal));
    EXPECT_EQ(keys[1].variant, keyVariant(PanelKey::F4, KeyLight::Blue));
    EXPECT_EQ(keys[1].x, 201);
    EXPECT_EQ(keys[1].y, 187);

    in.aircraftPanel = true;
    f = panel.frame(in, false, 0.0);
    EXPECT_TRUE(f.switchedPanel);
    EXPECT_EQ(f.copyRows, 300);
    f = panel.frame(in, false, 0.0);
    EXPECT_EQ(f.copyRows, 194);
}

TEST(InstrumentPanel, CarReadoutsFollowTheUnits) {
    InstrumentPanel panel;
    PanelInput in;
    in.readings.groundSpeed = 300.0f;
    in.readings.engineRpm = 12345.0f;
    auto texts = textsOf(panel.frame(in, false, 0.0));
    EXPECT_EQ(texts, (std::vector<std::string>{"12345", "204", "RPM", "MPH"}));
    in.imperial = false;
    texts = textsOf(panel.frame(in, true, 0.0));
    EXPECT_EQ(texts, (std::vector<std::string>{"12345", "329", "RPM", "KPH"}));
}

TEST(InstrumentPanel, DriveAndReverseLampsLightInTurnAndNeutralChangesNothing) {
    InstrumentPanel panel;
    PanelInput in;
    in.readings.transmission = 1;
    PanelFrame f = panel.frame(in, true, 0.0);
    ASSERT_EQ(blitsOf(f, PanelImage::DriveLamp).size(), 1u);
    EXPECT_EQ(blitsOf(f, PanelImage::DriveLamp)[0].variant, 1);
    EXPECT_EQ(blitsOf(f, PanelImage::ReverseLamp)[0].variant, 0);
    in.readings.transmission = 0;
    f = panel.frame(in, false, 0.0);
    EXPECT_TRUE(blitsOf(f, PanelImage::DriveLamp).empty());
    in.readings.transmission = -1;
    f = panel.frame(in, false, 0.0);
    EXPECT_EQ(blitsOf(f, PanelImage::DriveLamp)[0].variant, 0);
    EXPECT_EQ(blitsOf(f, PanelImage::ReverseLamp)[0].variant, 1);
    // R is lit while in reverse.
    const auto r = blitsOf(f, PanelImage::CarKey);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].variant, keyVariant(PanelKey::R, KeyLight::Green));
}

TEST(InstrumentPanel, AircraftFrameChoosesTheHeadingCardAndMovesLeversOnChange) {
    InstrumentPanel panel;
    PanelInput in;
    in.aircraftPanel = true;
    in.readings.heading = 344.0f * kRadPerDeg;
    in.readings.altitude = 123456.0f;
    in.readings.throttle = 0.5f;
    PanelFrame f = panel.frame(in, true, 0.0);
    ASSERT_EQ(blitsOf(f, PanelImage::HeadingCard).size(), 1u);
    EXPECT_EQ(blitsOf(f, PanelImage::HeadingCard)[0].variant, 34);
    EXPECT_EQ(textsOf(f), (std::vector<std::string>{"0.00", "99,999"}));
    const auto knobs = blitsOf(f, PanelImage::LeverKnob);
    ASSERT_EQ(knobs.size(), 2u);
    EXPECT_EQ(knobs[0].y, 142);
    // Unchanged levers are left alone during a run; a moved one is redrawn.
    in.readings.heading = 355.0f * kRadPerDeg;
    f = panel.frame(in, false, 0.0);
    EXPECT_TRUE(blitsOf(f, PanelImage::LeverKnob).empty());
    EXPECT_EQ(blitsOf(f, PanelImage::HeadingCard)[0].variant, 0);
    in.readings.throttle = 1.0f;
    f = panel.frame(in, false, 0.0);
    ASSERT_EQ(blitsOf(f, PanelImage::LeverKnob).size(), 1u);
    EXPECT_EQ(blitsOf(f, PanelImage::LeverKnob)[0].y, 129);
    EXPECT_EQ(blitsOf(f, PanelImage::LeverSlot).size(), 1u);
}

TEST(InstrumentPanel, PausedRunBlinksThePKey) {
    PauseBlink blink;
    EXPECT_FALSE(blink.update(false, 0.0));
    EXPECT_TRUE(blink.update(true, 0.0));
    EXPECT_TRUE(blink.update(true, 0.4));
    EXPECT_TRUE(blink.update(true, 0.5)); // exactly 0.5 s: not yet
    EXPECT_FALSE(blink.update(true, 0.51));
    EXPECT_FALSE(blink.update(true, 1.0));
    EXPECT_TRUE(blink.update(true, 1.02));
    EXPECT_FALSE(blink.update(false, 1.1));

    // Through the panel: the P key image changes only at the flips.
    InstrumentPanel panel;
    PanelInput in;
    in.paused = true;
    panel.frame(in, true, 0.0);
    auto pKeys = [](const PanelFrame& f) {
        std::vector<int> v;
        for (const PanelBlit& b : blitsOf(f, PanelImage::CarKey)) {
            if (keyOfVariant(b.variant) == PanelKey::P)
                v.push_back(static_cast<int>(lightOfVariant(b.variant)));
        }
        return v;
    };
    EXPECT_TRUE(pKeys(panel.frame(in, false, 0.3)).empty());
    EXPECT_EQ(pKeys(panel.frame(in, false, 0.6)), std::vector<int>{0});
    EXPECT_EQ(pKeys(panel.frame(in, false, 1.2)), std::vector<int>{1});
}

TEST(InstrumentPanel, KeyGuideColoursAndSwitches) {
    struct Case {
        int mode;
        PanelKey key;
        KeyLight light;
    };
    const Case cases[] = {
        {kModeRoam, PanelKey::F2, KeyLight::Green},
        {kModeRoamPan, PanelKey::F2, KeyLight::Blue},
        {kModeChase, PanelKey::F4, KeyLight::Green},
        {kModeChasePan, PanelKey::F4, KeyLight::Blue},
        {kModeCockpit, PanelKey::F1, KeyLight::Green},
        {kModeAttached, PanelKey::F3, KeyLight::Green},
        {kModeAttachedPan, PanelKey::F3, KeyLight::Blue},
        {kModeExternal, PanelKey::F6, KeyLight::Green},
        {kModeExternalLagged, PanelKey::F6, KeyLight::Blue},
        {kModeTvTrack, PanelKey::F5, KeyLight::Green},
        {kModeTvDolly, PanelKey::F5, KeyLight::Blue},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(modeKey(c.mode), c.key) << c.mode;
        EXPECT_EQ(modeLight(c.mode), c.light) << c.mode;
    }
    PanelInput in;
    in.cameraControl = true;
    in.readings.flaps = 0.5f;
    in.readings.gearDown = true;
    EXPECT_TRUE(switchKeyLit(PanelKey::F12, in));
    EXPECT_TRUE(switchKeyLit(PanelKey::F, in));
    EXPECT_TRUE(switchKeyLit(PanelKey::G, in));
    EXPECT_FALSE(switchKeyLit(PanelKey::Q, in));
    // The aircraft guide has G and F, the car guide has not.
    EXPECT_LT(keyPosition(PanelKey::G, false).x, 0);
    EXPECT_EQ(keyPosition(PanelKey::G, true).x, 287);
    EXPECT_EQ(keyLabel(PanelKey::Q, false), "Cruise");
    EXPECT_EQ(keyLabel(PanelKey::Q, true), "Autopilot");
}

TEST(InstrumentPanel, ReadsSlotZeroAndTheWorkingUnit) {
    sim::RunState run;
    run.slotCount = 1;
    sim::Slot& s = run.slots[0];
    s.sim.earthVelocity = {30.0f, 40.0f, -7.0f};
    s.sim.position = {0.0f, 0.0f, -1500.0f};
    s.sim.engine.rpm = 3200.0f;
    s.sim.controls.transmission = sim::kReverse;
    s.autopilot.engaged = true;
    s.autopilot.levers.gear = 1.0f;
    run.flags.pause = true;
    sim::CameraRecord camera;
    camera.mode = kModeExternal;
    camera.cameraControl = 1;
    PanelInput in = panelInputOf(run, model::kVehicleHelicopter, camera, kFeetPerFoot);
    EXPECT_FLOAT_EQ(in.readings.groundSpeed, 50.0f);
    EXPECT_FLOAT_EQ(in.readings.altitude, 1500.0f);
    EXPECT_FLOAT_EQ(in.readings.engineRpm, 3200.0f);
    EXPECT_EQ(in.readings.transmission, -1);
    EXPECT_TRUE(in.readings.cruise);
    EXPECT_TRUE(in.readings.gearDown);
    EXPECT_TRUE(in.aircraftPanel);
    EXPECT_TRUE(in.imperial);
    EXPECT_TRUE(in.paused);
    EXPECT_TRUE(in.cameraControl);
    EXPECT_EQ(in.cameraMode, kModeExternal);
    // Metres, centimetres and millimetres give KPH; the car gets the car panel.
    for (float factor : {kFeetPerMetre, kFeetPerCentimetre, kFeetPerMillimetre})
        EXPECT_FALSE(panelInputOf(run, model::kVehicleCar, camera, factor).imperial);
    EXPECT_TRUE(panelInputOf(run, model::kVehicleCar, camera, kFeetPerYard).imperial);
    EXPECT_FALSE(panelInputOf(run, model::kVehicleMotorcycle, camera, 1.0f).aircraftPanel);
}

} // namespace
} // namespace kv::app
