// Wind, Gravity and External Force: what each dialog shows for the stored
// environment and what OK stores back.
#include "app/dialogs/external_force_form.h"
#include "app/dialogs/gravity_form.h"
#include "app/dialogs/wind_form.h"
#include "app/settings/units_labels.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

constexpr float kMetres = kFeetPerMetre;
constexpr float kFeet = kFeetPerFoot;

TEST(WindForm, SpeedIsShownInTheWorkingSpeedUnitAndStoredInFeetPerSecond) {
    struct Case {
        float factor;
        double entered;  // in km/h or mph
        float storedFps; // what OK stores
        const char* label;
    } cases[] = {
        {kMetres, 36.0, 32.808f, "Speed (KPH)"},
        {kFeetPerMillimetre, 36.0, 32.808f, "Speed (KPH)"},
        {kFeet, 30.0, 44.000019f, "Speed (MPH)"},
        {kFeetPerYard, 10.0, 14.666673f, "Speed (MPH)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(windSpeedLabel(c.factor), c.label);
        sim::Environment env;
        WindForm form = windForm(env, c.factor);
        form.steadyOn = true;
        form.speed = c.entered;
        applyWindForm(form, c.factor, env);
        EXPECT_NEAR(env.windSpeed, c.storedFps, 1e-4f);
        EXPECT_EQ(env.windOn, 1);
        // Shown again as typed.
        EXPECT_EQ(formatEntry("%0.0f", windForm(env, c.factor).speed),
                  formatEntry("%0.0f", c.entered));
    }
}

TEST(WindForm, OkClampsAndResetRestoresCalmAir) {
    sim::Environment env;
    env.gravity = 20.0f;
    WindForm form;
    form.speed = -5.0;
    form.direction = 270.0;
    form.turbulenceOn = true;
    form.strength = -10.0;
    form.duration = 0.0;
    applyWindForm(form, kFeet, env);
    EXPECT_EQ(env.windSpeed, 0.0f);
    EXPECT_EQ(env.windDirection, 270.0f);
    EXPECT_EQ(env.turbulenceOn, 1);
    EXPECT_EQ(env.turbulenceStrength, 0.0f);
    EXPECT_FLOAT_EQ(env.turbulenceDuration, 0.01f); // a duration of 0 % is stored as 0.01
    EXPECT_EQ(env.gravity, 20.0f);                  // not the wind dialog's

    const WindForm reset = windFormReset();
    EXPECT_FALSE(reset.steadyOn);
    EXPECT_FALSE(reset.turbulenceOn);
    EXPECT_EQ(reset.speed, 0.0);
    EXPECT_EQ(reset.direction, 0.0);
    EXPECT_EQ(reset.strength, 100.0);
    EXPECT_EQ(reset.duration, 100.0);
}

TEST(GravityForm, GsRoundTripAndSliderPositions) {
    struct Case {
        double gs;
        float stored; // ft/s^2
        const char* field;
    } cases[] = {
        {1.0, 32.17f, "1.0000"},  {0.0, 0.0f, "0.0000"},     {-2.0, -64.34f, "-2.0000"},
        {4.0, 128.68f, "4.0000"}, {0.25, 8.0425f, "0.2500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const float stored = gravityOfGs(c.gs);
        EXPECT_FLOAT_EQ(stored, c.stored);
        EXPECT_EQ(formatEntry("%0.4f", gravityInGs(stored)), c.field);
    }
    EXPECT_EQ(formatEntry("%0.4f", gravityInGs(kStandardGravity)), "1.0000");
    EXPECT_EQ(kGravityResetGs * kGravitySlider.scale, 10.0);
    EXPECT_EQ(kGravitySlider.minimum, -20);
}

TEST(ExternalForceForm, ValuesSurviveEveryUnitSystem) {
    sim::ExternalForceSettings stored;
    stored.axes = sim::kExternalBodyAxes;
    stored.point = {1.5f, -2.0f, 0.75f};
    stored.force = {100.0f, -50.0f, 25.0f};
    stored.moment = {10.0f, 20.0f, -30.0f};
    for (const LengthUnitInfo& unit : kLengthUnits) {
        for (std::int32_t english : {0, 1}) {
            for (std::int32_t right : {0, 1}) {
                const WorkingUnits units{unit.feetPerUnit, english, right};
                SCOPED_TRACE(testing::Message()
                             << unit.shortName << " english " << english << " right " << right);
                const ExternalForceForm form = externalForceForm(stored, units);
                const sim::ExternalForceSettings back = externalForceOfForm(form, units);
                for (std::size_t i = 0; i < 3; ++i) {
                    EXPECT_NEAR(back.point[i], stored.point[i], 1e-5f);
                    EXPECT_NEAR(back.force[i], stored.force[i], 1e-4f);
                    EXPECT_NEAR(back.moment[i], stored.moment[i], 1e-4f);
                }
                EXPECT_EQ(back.axes, sim::kExternalBodyAxes);
            }
        }
    }
}

TEST(ExternalForceForm, ShowsWorkingUnitsWithTheVerticalSignRule) {
    sim::ExternalForceSettings stored;
    stored.point = {0.0f, 0.0f, 3.2808f}; // 1 m below the centre of gravity
    stored.force = {0.0f, 0.0f, 1.0f};    // 1 lbf down
    stored.moment = {1.0f, 0.0f, 2.0f};   // roll 1, yaw 2 ft*lbf
    const WorkingUnits metric{kMetres, 0, 0};
    const ExternalForceForm form = externalForceForm(stored, metric);
    EXPECT_NEAR(form.position[2], -1.0, 1e-6); // shown as Up
    EXPECT_NEAR(form.force[2], -4.4482217, 1e-5);
    EXPECT_NEAR(form.moment[0], 2.0 * 4.4482217 / 3.2808, 1e-5); // yaw first, in N m
    EXPECT_NEAR(form.moment[2], 4.4482217 / 3.2808, 1e-5);       // moments keep their sign
    const ExternalForceLabels labels = externalForceLabels(metric);
    EXPECT_EQ(labels.position[2], "Up (m)");
    EXPECT_EQ(labels.force[0], "Forward (N)");
    EXPECT_EQ(labels.moment[0], "Yaw (N m)");
    EXPECT_EQ(labels.moment[2], "Roll (N m)");
    const ExternalForceLabels english = externalForceLabels({kFeet, 1, 1});
    EXPECT_EQ(english.force[2], "Down (lbf)");
    EXPECT_EQ(english.moment[1], "Pitch (lbf ft)");

    ExternalForceForm edited = form;
    edited.axes = sim::kExternalBodyAxes;
    const ExternalForceForm reset = externalForceReset(edited);
    EXPECT_EQ(reset.axes, sim::kExternalBodyAxes);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(reset.position[i], 0.0);
        EXPECT_EQ(reset.force[i], 0.0);
        EXPECT_EQ(reset.moment[i], 0.0);
    }
}

} // namespace
} // namespace kv::app
