#include "app/customize/aero_form.h"
#include "common/unit_constants.h"
#include "customize_test_support.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

using test::templateRecord;

TEST(AeroForm, ShowsGeometryInWorkingUnitsAndTheCoefficients) {
    const model::AeroData aircraft = templateRecord(model::kVehicleAircraft).aero;
    const AeroForm feet = aeroFormFor(aircraft, kFeetPerFoot);
    EXPECT_EQ(feet.labels, (std::array<std::string, 4>{"Span (ft)", "Area (sq. ft)", "Aspect Ratio",
                                                       "Initial AOA (deg)"}));
    EXPECT_EQ(feet.values[0], "42.8000");
    EXPECT_EQ(feet.values[1], "608.0000");
    EXPECT_EQ(feet.values[2], "2.6850");
    EXPECT_EQ(feet.coefficients[0], "4.1700");
    EXPECT_EQ(feet.coefficients[23], "0.1900");
    const AeroForm metres = aeroFormFor(aircraft, kFeetPerMetre);
    EXPECT_EQ(metres.labels[0], "Span (m)");
    EXPECT_EQ(metres.labels[1], "Area (sq. m)");
    EXPECT_EQ(metres.values[0], "13.0456");
    EXPECT_EQ(metres.values[1], "56.4864");
    EXPECT_EQ(kCoefficientLabels[4], "Drag (CL\u00b2)");
    int fields = 0;
    for (const CoefficientGroup& g : kCoefficientGroups) {
        EXPECT_EQ(g.first, fields) << g.title;
        fields += g.count;
    }
    EXPECT_EQ(fields, model::kAeroCoefficientCount);
}

TEST(AeroForm, OkConvertsEditedFieldsBack) {
    model::AeroData block = templateRecord(model::kVehicleAircraft).aero;
    const AeroForm shown = aeroFormFor(block, kFeetPerMetre);
    AeroForm edited = shown;
    edited.aeroModel = model::kAeroF4;
    edited.values = {"10", "50", "3.5", "2"};
    edited.coefficients[4] = "-0.125";
    ASSERT_FALSE(applyAeroForm(shown, edited, kFeetPerMetre, block));
    EXPECT_EQ(block.aeroModel, model::kAeroF4);
    EXPECT_FLOAT_EQ(block.span, 10.0f * kFeetPerMetre);
    EXPECT_FLOAT_EQ(block.area, 50.0f * kFeetPerMetre * kFeetPerMetre);
    EXPECT_FLOAT_EQ(block.aspectRatio, 3.5f);
    EXPECT_FLOAT_EQ(block.initialAoa, 2.0f * kRadPerDeg);
    EXPECT_EQ(block.coefficients[4], -0.125f);
    EXPECT_FALSE(linearFieldsEnabled(model::kAeroF4));
    EXPECT_TRUE(linearFieldsEnabled(model::kAeroLinear));
}

TEST(AeroForm, OnlyAFieldWithoutANumberRefuses) {
    const model::AeroData original = templateRecord(model::kVehicleCar).aero;
    model::AeroData block = original;
    const AeroForm shown = aeroFormFor(block, 1.0f);
    AeroForm edited = shown;
    edited.values[2] = "-7"; // no validation of values
    edited.coefficients[10] = "1,5";
    const auto refusal = applyAeroForm(shown, edited, 1.0f, block);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field, kAeroCoefficientField + 10);
    EXPECT_EQ(block.aspectRatio, original.aspectRatio);
    edited.coefficients[10] = "1.5";
    ASSERT_FALSE(applyAeroForm(shown, edited, 1.0f, block));
    EXPECT_EQ(block.aspectRatio, -7.0f);
}

} // namespace
} // namespace kv::app
