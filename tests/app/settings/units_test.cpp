#include "app/settings/units.h"
#include "app/settings/units_convert.h"
#include "app/settings/units_labels.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <string_view>

namespace kv::app {
namespace {

TEST(Units, TableFactorsHaveTheStoredBitPatterns) {
    const std::uint32_t bits[] = {0x3B5702B1u, 0x3D0661AEu, 0x4051F8A1u,
                                  0x3DAAAA23u, 0x3F800000u, 0x403FFF67u};
    for (std::size_t i = 0; i < kLengthUnits.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(kLengthUnits[i].feetPerUnit), bits[i]) << i;
        // A factor read back bit for bit is recognised as its own row.
        EXPECT_EQ(recogniseLengthUnit(std::bit_cast<float>(bits[i])), &kLengthUnits[i]) << i;
    }
    EXPECT_EQ(std::bit_cast<std::uint32_t>(kSlugPerKilogram), 0x3D8C5526u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(kSlugFt2PerKgM2), 0x3F3CD0E0u);
}

TEST(Units, RecognitionIsTolerantAndInTableOrder) {
    struct Case {
        float factor;
        std::string_view shortName;
        std::string_view longName;
        bool metric;
    };
    const Case cases[] = {
        {1.0f, "ft", "feet", false},
        {0.0032808f, "mm", "millimeters", true},
        {0.032808f, "cm", "centimeters", true},
        {3.2808f, "m", "meters", true},
        {0.08333232f, "in", "inches", false},
        {2.9999635f, "yd", "yards", false},
        // Less than 0.1 per cent off a table value: still that unit.
        {3.2808f * 1.0009f, "m", "meters", true},
        {1.0f / 12.0f, "in", "inches", false},
        {3.0f, "yd", "yards", false},
        {0.9991f, "ft", "feet", false},
        // More than 0.1 per cent off every value: no unit.
        {3.2808f * 1.0011f, "units", "units", false},
        {2.0f, "units", "units", false},
        {0.0f, "units", "units", false},
        {std::nanf(""), "units", "units", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(unitShortName(c.factor), c.shortName) << c.factor;
        EXPECT_EQ(unitLongName(c.factor), c.longName) << c.factor;
        EXPECT_EQ(isMetricLength(c.factor), c.metric) << c.factor;
    }
}

TEST(Units, GridSpacingShowsInWorkingUnits) {
    EXPECT_EQ(formatLength(toDisplayGrid(50.0f, kFeetPerMetre)), "50.0000");
    EXPECT_EQ(formatLength(toDisplayGrid(50.0f, kFeetPerFoot)), "164.0400");
    EXPECT_EQ(formatLength(toDisplayMetres(50.0f, kFeetPerFoot)), "164.0400");
    EXPECT_EQ(formatLength(toDisplayMetres(50.0f, kFeetPerMetre)), "50.0000");
    // Single-precision rounding of the factor product shows in the last digits.
    EXPECT_EQ(formatLength(toDisplayMetres(50.0f, kFeetPerMillimetre)), "49999.9961");
    EXPECT_FLOAT_EQ(fromDisplayMetres(164.04f, kFeetPerFoot), 50.0f);
    EXPECT_FLOAT_EQ(fromDisplayGrid(164.04f, kFeetPerFoot), 50.0f);
    EXPECT_EQ(fromDisplayGrid(2.0f, kFeetPerYard), 2.0f * kFeetPerYard * kMetresPerFoot);
}

TEST(Units, VerticalSignRule) {
    const float factors[] = {kFeetPerMillimetre, kFeetPerMetre, kFeetPerFoot, kFeetPerYard};
    for (float factor : factors) {
        const WorkingUnits up{factor, 0, 0};
        const WorkingUnits down{factor, 0, 1};
        // 10 typed under "Up" is 10 units above: -10 x factor ft down.
        EXPECT_EQ(fromDisplayVerticalLength(10.0f, up), -10.0f * factor);
        EXPECT_EQ(fromDisplayVerticalLength(10.0f, down), 10.0f * factor);
        EXPECT_EQ(toDisplayVerticalLength(-10.0f * factor, up), 10.0f);
        EXPECT_EQ(toDisplayVerticalLength(10.0f * factor, down), 10.0f);
    }
    EXPECT_EQ(toDisplayVertical(2.5f, 0), -2.5f);
    EXPECT_EQ(toDisplayVertical(2.5f, 1), 2.5f);
    EXPECT_EQ(fromDisplayVertical(2.5f, 0), -2.5f);
    EXPECT_EQ(verticalCaption(0), "Up");
    EXPECT_EQ(verticalCaption(1), "Down");
}

TEST(Units, LengthsAndAreasDivideByTheFactor) {
    EXPECT_EQ(toDisplayLength(3.2808f, kFeetPerMetre), 1.0f);
    EXPECT_EQ(fromDisplayLength(2.0f, kFeetPerYard), 2.0f * kFeetPerYard);
    EXPECT_EQ(formatLength(toDisplayLength(1.0f, kFeetPerInch)), "12.0001");
    EXPECT_FLOAT_EQ(toDisplayArea(3.2808f * 3.2808f * 4.0f, kFeetPerMetre), 4.0f);
    EXPECT_FLOAT_EQ(fromDisplayArea(4.0f, kFeetPerMetre), 3.2808f * 3.2808f * 4.0f);
}

TEST(Units, MassInertiaForceSpeedAngle) {
    struct Case {
        float shown;
        const char* text;
    };
    const Case cases[] = {
        {toDisplayMass(1.0f, 1), "32.1700"},
        {toDisplayMass(1.0f, 0), "14.5939"},
        {toDisplayInertia(1.0f, 1), "32.1700"},
        {toDisplayInertia(1.0f, 0), "1.3558"},
        {toDisplayForce(1.0f, 0), "4.4482"},
        {toDisplayForce(1.0f, 1), "1.0000"},
        {toDisplaySpeed(100.0f, kFeetPerMetre), "109.7293"},
        {toDisplaySpeed(100.0f, kFeetPerCentimetre), "109.7293"},
        {toDisplaySpeed(100.0f, kFeetPerFoot), "68.1818"},
        {toDisplaySpeed(100.0f, 2.0f), "68.1818"},
        {toDisplayAngle(1.0f), "57.2958"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatLength(c.shown), c.text);
    }
    EXPECT_EQ(fromDisplayMass(10.0f, 0), 10.0f * kSlugPerKilogram);
    EXPECT_EQ(fromDisplayMass(10.0f, 1), 10.0f * kSlugPerPound);
    EXPECT_EQ(fromDisplayInertia(10.0f, 0), 10.0f * kSlugFt2PerKgM2);
    EXPECT_EQ(fromDisplayInertia(10.0f, 1), 10.0f * kSlugPerPound);
    EXPECT_EQ(fromDisplayForce(10.0f, 0), 10.0f * kPoundsPerNewton);
    EXPECT_EQ(fromDisplayForce(10.0f, 1), 10.0f);
    EXPECT_EQ(fromDisplaySpeed(10.0f, kFeetPerMetre), 10.0f * kFpsPerKph);
    EXPECT_EQ(fromDisplaySpeed(10.0f, kFeetPerInch), 10.0f * kFpsPerMph);
    EXPECT_EQ(fromDisplayAngle(180.0f), 180.0f * kRadPerDeg);
}

TEST(Units, Labels) {
    const WorkingUnits metricLeft{kFeetPerMetre, 0, 0};
    const WorkingUnits englishRight{kFeetPerFoot, 1, 1};
    EXPECT_EQ(positionLabels(metricLeft),
              (std::array<std::string, 3>{"Forward (m)", "Right (m)", "Up (m)"}));
    EXPECT_EQ(positionLabels(englishRight),
              (std::array<std::string, 3>{"Forward (ft)", "Right (ft)", "Down (ft)"}));
    EXPECT_EQ(velocityLabels(WorkingUnits{kFeetPerMillimetre, 0, 1}),
              (std::array<std::string, 3>{"Forward (mm/s)", "Right (mm/s)", "Down (mm/s)"}));
    EXPECT_EQ(forceLabels(metricLeft),
              (std::array<std::string, 3>{"Forward (N)", "Right (N)", "Up (N)"}));
    EXPECT_EQ(momentLabels(metricLeft),
              (std::array<std::string, 3>{"Roll (N m)", "Pitch (N m)", "Yaw (N m)"}));
    EXPECT_EQ(momentLabels(englishRight),
              (std::array<std::string, 3>{"Roll (lbf ft)", "Pitch (lbf ft)", "Yaw (lbf ft)"}));
    EXPECT_EQ(lengthLabel("Radius", kFeetPerInch), "Radius (in)");
    EXPECT_EQ(lengthLabel("Spacing", kFeetPerYard), "Spacing (yd)");
    EXPECT_EQ(areaLabel("Area", kFeetPerCentimetre), "Area (sq. cm)");
    EXPECT_EQ(windSpeedLabel(kFeetPerMillimetre), "Speed (KPH)");
    EXPECT_EQ(windSpeedLabel(kFeetPerYard), "Speed (MPH)");
    EXPECT_EQ(massLabels(1)[0], "Mass (lb)");
    EXPECT_EQ(massLabels(1)[3], "Yaw Inertia (lb-ft2)");
    EXPECT_EQ(massLabels(0)[1], "Roll Inertia (kg-m2)");
    EXPECT_EQ(forceUnitName(1), "lbf");
    EXPECT_EQ(lengthLabel("Radius", 2.0f), "Radius (units)");
}

TEST(Units, NumberFormats) {
    EXPECT_EQ(formatNumber(kFormatWhole, 49.6), "50");
    EXPECT_EQ(formatNumber(kFormatTenths, 120.25), "120.2");
    EXPECT_EQ(formatNumber(kFormatMinutes, 7.0), "7");
    EXPECT_EQ(formatLength(-0.00004), "-0.0000");
    EXPECT_EQ(formatLength(1e30).size(), 36u);
}

} // namespace
} // namespace kv::app
