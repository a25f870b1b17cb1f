#include "app/customize/engine_form.h"
#include "common/unit_constants.h"
#include "customize_test_support.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

using test::templateRecord;

TEST(EngineForm, ButtonsInDialogOrderWithThrustLabelsByForceUnits) {
    const char* english[] = {"Propeller (HP)",   "Jet (lbf)", "Ducted Fan (HP)",
                             "VTOL Jet (lbf)",   "Car (HP)",  "Motorcycle (HP)",
                             "Helicopter (N/A)", "UFO (kts)", "Spacecraft (lbf)"};
    const char* metric[] = {"Propeller (HP)",   "Jet (N)",   "Ducted Fan (HP)",
                            "VTOL Jet (N)",     "Car (HP)",  "Motorcycle (HP)",
                            "Helicopter (N/A)", "UFO (kts)", "Spacecraft (N)"};
    for (std::size_t i = 0; i < kEngineChoices.size(); ++i) {
        EXPECT_EQ(kEngineChoices[i].type, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(engineLabel(kEngineChoices[i], 1), english[i]);
        EXPECT_EQ(engineLabel(kEngineChoices[i], 0), metric[i]);
    }
    EXPECT_EQ(findEngineChoice(0), nullptr);
}

TEST(EngineForm, RemembersThePowerTypedForEachType) {
    const model::ObjectRecord jet = templateRecord(model::kVehicleAircraft);
    EngineModel m(jet, 1);
    EXPECT_EQ(m.type(), model::kEngineJet);
    EXPECT_EQ(m.openedPower(), "30000.0");
    // Jet -> Car shows the car's default; Car -> Jet shows what was typed for the jet.
    EXPECT_EQ(m.choose(model::kEngineCar, "41234.5"), "150.0");
    EXPECT_EQ(m.choose(model::kEngineJet, "180"), "41234.5");
    EXPECT_EQ(m.choose(model::kEngineCar, "41234.5"), "180.0");
    EXPECT_EQ(m.choose(model::kEngineHelicopter, "180.0"), "3210.0");
    EXPECT_EQ(m.choose(model::kEngineMotorcycle, "3210.0"), "90.0");
    model::ObjectRecord r = jet;
    r.engineScale = 0.5f;
    ASSERT_FALSE(m.accept("95.5", r));
    EXPECT_EQ(r.engineType, model::kEngineMotorcycle);
    EXPECT_FLOAT_EQ(r.enginePower, 95.5f);
    EXPECT_EQ(r.engineScale, 1.0f);
}

TEST(EngineForm, ThrustInNewtonsWithMetricForceUnits) {
    const model::ObjectRecord jet = templateRecord(model::kVehicleAircraft);
    EngineModel m(jet, 0);
    EXPECT_EQ(m.openedPower(), "133446.7");
    // Defaults of the other thrust types are shown in newtons too; power is not.
    EXPECT_EQ(m.choose(model::kEngineSpacecraft, m.openedPower()), "133446.7");
    EXPECT_EQ(m.choose(model::kEngineCar, "4448.2217"), "150.0");
    EXPECT_EQ(m.choose(model::kEngineSpacecraft, "150.0"), "4448.2");
    model::ObjectRecord r = jet;
    ASSERT_FALSE(m.accept("4448.2217", r));
    EXPECT_EQ(r.engineType, model::kEngineSpacecraft);
    EXPECT_NEAR(r.enginePower, 1000.0f, 0.01f);
}

TEST(EngineForm, PowerIsNeverNegativeAndMustBeANumber) {
    const model::ObjectRecord car = templateRecord(model::kVehicleCar);
    EngineModel m(car, 1);
    model::ObjectRecord r = car;
    ASSERT_FALSE(m.accept("-50", r));
    EXPECT_EQ(r.enginePower, 0.0f);
    r = car;
    const auto refusal = m.accept("fast", r);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Please enter a number.");
    EXPECT_EQ(r.enginePower, car.enginePower);
    // A type chosen and an empty field: no power to keep.
    EngineModel other(car, 1);
    other.choose(model::kEngineUfo, other.openedPower());
    EXPECT_TRUE(other.accept("", r));
}

TEST(EngineForm, AStoredCodeWithoutAButtonKeepsItsTypeAndPower) {
    model::ObjectRecord r = templateRecord(model::kVehicleCar);
    r.engineType = 0;
    r.enginePower = 12.34f;
    EngineModel m(r, 1);
    EXPECT_EQ(m.type(), 0);
    EXPECT_EQ(m.openedPower(), "12.3");
    model::ObjectRecord out = r;
    ASSERT_FALSE(m.accept(m.openedPower(), out));
    EXPECT_EQ(out.engineType, 0);
    EXPECT_EQ(out.enginePower, 12.34f);
}

} // namespace
} // namespace kv::app
