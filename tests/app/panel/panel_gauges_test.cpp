#include "app/panel/panel_gauges.h"
#include "common/unit_constants.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(PanelGauges, SpeedometerStopsAt190WhileTheReadoutGoesOn) {
    // 300 ft/s is 204.5 MPH: the needle stops at the 190 mark, 285° from zero.
    EXPECT_NEAR(speedNeedleAngle(300.0f, true) - speedNeedleAngle(0.0f, true), 285.0f, 1e-3f);
    EXPECT_FLOAT_EQ(speedNeedleAngle(0.0f, true), 120.0f);
    EXPECT_EQ(speedText(300.0f, true), "204");
    // Backwards reads the same as forwards; KPH stops at 190 KPH too.
    EXPECT_EQ(speedText(-300.0f, true), "204");
    EXPECT_NEAR(speedNeedleAngle(300.0f, false), 405.0f, 1e-3f);
    EXPECT_EQ(speedText(100.0f, false), "109");
    EXPECT_EQ(speedText(5000.0f, false), "999");
    // 60 MPH (88 ft/s) sits at 60 of 190 on the dial.
    EXPECT_NEAR(speedNeedleAngle(88.0f, true), 120.0f + 285.0f * 60.0f / 190.0f, 0.05f);
}

TEST(PanelGauges, TachometerAndItsTexts) {
    EXPECT_FLOAT_EQ(tachometerNeedleAngle(-50.0f), 135.0f);
    EXPECT_FLOAT_EQ(tachometerNeedleAngle(4000.0f), 255.0f);
    EXPECT_FLOAT_EQ(tachometerNeedleAngle(12000.0f), 405.0f);
    EXPECT_EQ(rpmText(6543.9f), "6543");
    EXPECT_EQ(rpmTextPosition(9999.0f).x, 73);
    EXPECT_EQ(rpmTextPosition(10000.0f).x, 69);
    EXPECT_EQ(speedUnitText(true), "MPH");
    EXPECT_EQ(speedUnitText(false), "KPH");
    EXPECT_EQ(speedUnitPosition(false).x, 241);
}

TEST(PanelGauges, AltitudeAndMachReadoutsAreHeldToTheirWindows) {
    struct Case {
        float altitude;
        const char* text;
    };
    const Case cases[] = {
        {123456.0f, "99,999"}, {-20.0f, "00,000"},   {0.0f, "00,000"},
        {1234.9f, "01,234"},   {45007.0f, "45,007"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(altitudeText(c.altitude), c.text) << c.altitude;
    EXPECT_EQ(machText(0.857f), "0.86");
    EXPECT_EQ(machText(-1.0f), "0.00");
    EXPECT_EQ(machText(25.0f), "10.00");
}

TEST(PanelGauges, HeadingCardIsTheNearestTenDegrees) {
    struct Case {
        float degrees;
        int card;
    };
    const Case cases[] = {{355.0f, 0}, {344.0f, 34}, {0.0f, 0},    {4.9f, 0},
                          {5.0f, 1},   {90.0f, 9},   {-90.0f, 27}, {725.0f, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(headingCard(c.degrees * kRadPerDeg), c.card) << c.degrees;
}

TEST(PanelGauges, AircraftNeedlesAndLevers) {
    // Zero at the top; 450 knots is a whole turn and the needle stops there.
    EXPECT_FLOAT_EQ(airspeedNeedleAngle(0.0f), 270.0f);
    EXPECT_NEAR(airspeedNeedleAngle(759.51447f), 630.0f, 1e-3f);
    EXPECT_NEAR(airspeedNeedleAngle(2000.0f), 630.0f, 1e-3f);
    // 2500 ft: long hand half a turn past two turns, short hand a quarter turn.
    EXPECT_NEAR(altimeterLongHandAngle(2500.0f), 270.0f + 180.0f, 1e-3f);
    EXPECT_NEAR(altimeterShortHandAngle(2500.0f), 270.0f + 90.0f, 1e-3f);
    EXPECT_FLOAT_EQ(loadFactorNeedleAngle(1.0f), 180.0f);
    EXPECT_FLOAT_EQ(loadFactorNeedleAngle(-5.0f), 90.0f);
    EXPECT_FLOAT_EQ(loadFactorNeedleAngle(9.0f), 360.0f);
    EXPECT_EQ(throttleKnobTop(0.0f), 155);
    EXPECT_EQ(throttleKnobTop(1.0f), 129);
    EXPECT_EQ(nozzleKnobTop(0.0f), 129);
    EXPECT_EQ(nozzleKnobTop(1.0f), 155);
    EXPECT_LT(flapMarkPosition(0.0f).y, flapMarkPosition(1.0f).y);
    // The flap mark stays inside its 25 × 50 slot.
    const PanelPoint full = flapMarkPosition(1.0f);
    EXPECT_LE(full.y + 4, kFlapSlotAt.y + 50);
    EXPECT_LE(full.x + 5, kFlapSlotAt.x + 25);
}

TEST(PanelGauges, NeedleEndsUseScreenAxes) {
    const NeedleEnd down = needleEnd({100, 100}, 10.0f, 90.0f);
    EXPECT_NEAR(down.x, 100.0f, 1e-4f);
    EXPECT_NEAR(down.y, 110.0f, 1e-4f);
}

} // namespace
} // namespace kv::app
