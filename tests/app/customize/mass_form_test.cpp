#include "app/customize/mass_form.h"
#include "common/unit_constants.h"
#include "customize_test_support.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

using test::templateRecord;

TEST(MassForm, LabelsAndValuesInTheWorkingForceUnits) {
    const model::MassProperties car = templateRecord(model::kVehicleCar).mass;
    const MassForm english = massFormFor(car, 1);
    EXPECT_EQ(english.labels,
              (std::array<std::string, 4>{"Mass (lb)", "Roll Inertia (lb-ft2)",
                                          "Pitch Inertia (lb-ft2)", "Yaw Inertia (lb-ft2)"}));
    // The car weighs 2020 lb, divided out in single precision.
    EXPECT_EQ(english.values[0], "2019.9999");
    const MassForm metric = massFormFor(car, 0);
    EXPECT_EQ(metric.labels,
              (std::array<std::string, 4>{"Mass (kg)", "Roll Inertia (kg-m2)",
                                          "Pitch Inertia (kg-m2)", "Yaw Inertia (kg-m2)"}));
    EXPECT_EQ(metric.values[0], "916.3716");
    EXPECT_EQ(english.couplings, (std::array<std::string, 3>{"0", "0", "0"}));
}

TEST(MassForm, CouplingsShowInPercent) {
    model::MassProperties block = templateRecord(model::kVehicleCar).mass;
    block.rollPitchCoupling = -0.25f;
    block.rollYawCoupling = 1.0f;
    block.pitchYawCoupling = 0.125f;
    const MassForm form = massFormFor(block, 1);
    EXPECT_EQ(form.couplings, (std::array<std::string, 3>{"-25", "100", "12"}));
}

TEST(MassForm, OkWritesTheBlockWithTheRollInertiaOffTheDiagonal) {
    model::MassProperties block = templateRecord(model::kVehicleAircraft).mass;
    block.massScale = {2.0f, 3.0f, 4.0f, 5.0f};
    const MassForm shown = massFormFor(block, 1);
    MassForm edited = shown;
    edited.values = {"3217", "100", "200", "300"};
    edited.couplings = {"-25", "50", "0"};
    ASSERT_FALSE(applyMassForm(shown, edited, 1, block));
    EXPECT_FLOAT_EQ(block.mass, 3217.0f * kSlugPerPound);
    const float ixx = 100.0f * kSlugPerPound;
    const float iyy = 200.0f * kSlugPerPound;
    const float izz = 300.0f * kSlugPerPound;
    EXPECT_EQ(block.inertia, (std::array<float, 9>{ixx, ixx, ixx, ixx, iyy, ixx, ixx, ixx, izz}));
    EXPECT_EQ(block.massScale, (std::array<float, 4>{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_FLOAT_EQ(block.rollPitchCoupling, -0.25f);
    EXPECT_FLOAT_EQ(block.rollYawCoupling, 0.5f);
    EXPECT_EQ(block.pitchYawCoupling, 0.0f);

    // Metric: kg and kg-m2.
    const MassForm metricShown = massFormFor(block, 0);
    MassForm metric = metricShown;
    metric.values[0] = "1000";
    metric.values[3] = "10";
    ASSERT_FALSE(applyMassForm(metricShown, metric, 0, block));
    EXPECT_FLOAT_EQ(block.mass, 1000.0f * kSlugPerKilogram);
    EXPECT_FLOAT_EQ(block.inertia[8], 10.0f * kSlugFt2PerKgM2);
    EXPECT_EQ(block.inertia[0], ixx);
}

TEST(MassForm, RefusesMassOrInertiaNotAboveZero) {
    struct Case {
        int field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {kMassField, "0", "The mass and inertias must all be greater than zero."},
        {kRollInertiaField, "-1", "The mass and inertias must all be greater than zero."},
        {kPitchInertiaField, "0.0000", "The mass and inertias must all be greater than zero."},
        {kYawInertiaField, "-0.00001", "The mass and inertias must all be greater than zero."},
        {kMassField, "heavy", "Please enter a number."},
        {kYawInertiaField, "1e60", "Please enter a number."}, // no single-precision value
    };
    for (const Case& c : cases) {
        const model::MassProperties original = templateRecord(model::kVehicleCar).mass;
        model::MassProperties block = original;
        const MassForm shown = massFormFor(block, 1);
        MassForm edited = shown;
        edited.values[static_cast<std::size_t>(c.field)] = c.text;
        const auto refusal = applyMassForm(shown, edited, 1, block);
        ASSERT_TRUE(refusal) << c.text;
        EXPECT_EQ(refusal->message, c.message) << c.text;
        EXPECT_EQ(refusal->field, c.field) << c.text;
        EXPECT_EQ(std::memcmp(&block, &original, sizeof block), 0) << c.text;
    }
}

} // namespace
} // namespace kv::app
