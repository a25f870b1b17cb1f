#include "app/customize/tires_form.h"
#include "customize_test_support.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

using test::templateRecord;

TEST(TiresForm, ShowsTheCarTemplateInPercent) {
    const model::ObjectRecord car = templateRecord(model::kVehicleCar);
    const TiresModel m(car);
    EXPECT_EQ(m.openedShared().braking, "100");
    EXPECT_EQ(m.openedShared().surface, "100");
    EXPECT_EQ(m.openedShared().skid, 1);
    EXPECT_EQ(m.openedShared().tireType, 1);
    EXPECT_EQ(m.tireNames(), (std::vector<std::string>{"FrontLeftTire", "FrontRightTire",
                                                       "RearLeftTire", "RearRightTire"}));
    EXPECT_EQ(m.selectedTire(), 0);
    const TireSettingsForm& front = m.tire(0);
    EXPECT_TRUE(front.drive);
    EXPECT_TRUE(front.brake);
    EXPECT_EQ(front.spring, "40");
    EXPECT_EQ(front.bounce, "70");
    EXPECT_FALSE(m.tire(2).drive);
}

TEST(TiresForm, ListsOnlyTiresAndSkidsInIndexOrder) {
    // The motorcycle's tires are effectors 3 and 5, behind basic ones.
    const TiresModel bike(templateRecord(model::kVehicleMotorcycle));
    EXPECT_EQ(bike.tireNames(), (std::vector<std::string>{"FrontTire", "RearTire"}));
    EXPECT_FALSE(bike.tire(0).drive);
    EXPECT_TRUE(bike.tire(1).drive);
    EXPECT_EQ(bike.tire(0).spring, "60");

    model::ObjectRecord skids = templateRecord(model::kVehicleCar);
    skids.effectors[1].kind = model::kEffectorSkid;
    skids.effectors[2].kind = model::kEffectorBasic;
    const TiresModel m(skids);
    EXPECT_EQ(m.tireNames(),
              (std::vector<std::string>{"FrontLeftTire", "FrontRightTire", "RearRightTire"}));
    // Tire numbers are list positions: the rear right one is tire 2 now.
    EXPECT_EQ(model::countTires(templateRecord(model::kVehicleHelicopter)), 0);
}

// The rules of OK on the shared settings, as a table of typed entries.
TEST(TiresForm, OkConvertsClampsAndTruncates) {
    struct Case {
        const char* braking;
        const char* surface;
        float storedBraking;
        std::int32_t storedSurface;
    };
    const Case cases[] = {
        {"250", "50", 2.0f, 100},  // braking above 200 % stops at 2.0
        {"200", "0", 2.0f, 1},     // surface 0 % is stored as 1 (0.5 %)
        {"-10", "0.7", 0.0f, 1},   // 1.4 truncated to 1; no negative braking
        {"50", "37.9", 0.5f, 75},  // 75.8 truncated
        {"33", "100", 0.33f, 200}, //
        {"0", "-20", 0.0f, 1},     // at least 1
        {" 75 ", "1", 0.75f, 2},   // spaces around a number are fine
    };
    for (const Case& c : cases) {
        const model::ObjectRecord car = templateRecord(model::kVehicleCar);
        TiresModel m(car);
        TiresSharedForm shared = m.openedShared();
        shared.braking = c.braking;
        shared.surface = c.surface;
        model::TireSuspension block = car.tires;
        ASSERT_FALSE(m.accept(shared, m.tire(0), block)) << c.braking << " " << c.surface;
        EXPECT_FLOAT_EQ(block.braking, c.storedBraking) << c.braking;
        EXPECT_EQ(block.surface, c.storedSurface) << c.surface;
    }
}

TEST(TiresForm, SelectionKeepsEachTiresEntriesAndOkStoresThemAll) {
    const model::ObjectRecord car = templateRecord(model::kVehicleCar);
    TiresModel m(car);
    TireSettingsForm shown = m.tire(0);
    shown.drive = false;
    shown.spring = "80";
    shown.bounce = "10";
    // Choosing tire 2 keeps what tire 0 showed and shows tire 2's own.
    TireSettingsForm rear = m.select(2, shown);
    EXPECT_EQ(m.selectedTire(), 2);
    EXPECT_EQ(rear.spring, "40");
    EXPECT_FALSE(rear.drive);
    rear.drive = true;
    rear.brake = false;
    rear.spring = "150"; // clamped to 1.0
    rear.bounce = "-5";  // damping clamped to 1.0
    // Back to tire 0: its typed values come back.
    const TireSettingsForm again = m.select(0, rear);
    EXPECT_EQ(again.spring, "80");
    EXPECT_FALSE(again.drive);

    model::TireSuspension block = car.tires;
    ASSERT_FALSE(m.accept(m.openedShared(), again, block));
    EXPECT_EQ(block.drive[0], 0);
    EXPECT_FLOAT_EQ(block.spring[0], 0.8f);
    EXPECT_FLOAT_EQ(block.damping[0], 0.9f);
    EXPECT_EQ(block.drive[2], 1);
    EXPECT_EQ(block.brake[2], 0);
    EXPECT_FLOAT_EQ(block.spring[2], 1.0f);
    EXPECT_FLOAT_EQ(block.damping[2], 1.0f);
    // Untouched tires and entries beyond the tires keep their stored values.
    EXPECT_EQ(block.spring[1], car.tires.spring[1]);
    EXPECT_EQ(block.damping[3], car.tires.damping[3]);
    EXPECT_EQ(block.spring[7], car.tires.spring[7]);
}

TEST(TiresForm, ApplyCopiesTheShownSpringAndBounceToEveryTire) {
    const model::ObjectRecord car = templateRecord(model::kVehicleCar);
    TiresModel m(car);
    TireSettingsForm shown = m.select(1, m.tire(0));
    shown.spring = "55";
    shown.bounce = "25";
    shown.drive = false;
    m.applyToAll(shown);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(m.tire(k).spring, "55") << k;
        EXPECT_EQ(m.tire(k).bounce, "25") << k;
    }
    // Only spring and bounce: drive and brake stay each tire's own.
    EXPECT_TRUE(m.tire(0).drive);
    model::TireSuspension block = car.tires;
    ASSERT_FALSE(m.accept(m.openedShared(), m.tire(1), block));
    for (int k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(block.spring[static_cast<std::size_t>(k)], 0.55f) << k;
        EXPECT_FLOAT_EQ(block.damping[static_cast<std::size_t>(k)], 0.75f) << k;
    }
    EXPECT_EQ(block.drive[1], 0);
    EXPECT_EQ(block.drive[0], 1);
}

TEST(TiresForm, SkidAndTireTypeComeFromTheButtons) {
    const model::ObjectRecord car = templateRecord(model::kVehicleCar);
    TiresModel m(car);
    EXPECT_TRUE(gripControlsEnabled(1));
    EXPECT_FALSE(gripControlsEnabled(0));
    TiresSharedForm shared = m.openedShared();
    shared.skid = 0;
    shared.tireType = 3;
    model::TireSuspension block = car.tires;
    ASSERT_FALSE(m.accept(shared, m.tire(0), block));
    EXPECT_EQ(block.skid, 0);
    EXPECT_EQ(block.tireType, 3);
    EXPECT_EQ(kTireTypes[0].code, 2);
    EXPECT_EQ(kTireTypes[1].code, 1);
    EXPECT_EQ(kTireTypes[2].code, 3);
}

TEST(TiresForm, AFieldWithoutANumberRefusesAndChangesNothing) {
    const model::ObjectRecord car = templateRecord(model::kVehicleCar);
    TiresModel m(car);
    TiresSharedForm shared = m.openedShared();
    shared.braking = "150";
    TireSettingsForm shown = m.tire(0);
    shown.bounce = "lots";
    model::TireSuspension block = car.tires;
    const auto refusal = m.accept(shared, shown, block);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Please enter a number.");
    EXPECT_EQ(refusal->field, kTiresBounce);
    EXPECT_EQ(block.braking, car.tires.braking);

    shared = m.openedShared();
    shared.surface = "";
    const auto empty = m.accept(shared, m.tire(0), block);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->field, kTiresSurface);
}

} // namespace
} // namespace kv::app
