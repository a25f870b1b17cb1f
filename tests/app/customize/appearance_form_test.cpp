#include "app/customize/appearance_form.h"
#include "customize_test_support.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

TEST(AppearanceForm, StoresThePairAndSaysWhetherItChanged) {
    model::ObjectRecord r = test::templateRecord(model::kVehicleCar);
    EXPECT_EQ(appearanceOf(r), (Appearance{model::kColorWhite, model::kSolid}));
    EXPECT_FALSE(applyAppearance({model::kColorWhite, model::kSolid}, r));
    EXPECT_TRUE(applyAppearance({8, model::kSolid}, r));
    EXPECT_EQ(r.color, 8);
    EXPECT_TRUE(applyAppearance({8, model::kClear}, r));
    EXPECT_EQ(r.transparency, model::kClear);
    EXPECT_STREQ(kColorNames[13], "Sky Blue");
    EXPECT_STREQ(kColorNames[19], "White");
    EXPECT_STREQ(kTransparencyNames[1], "Smoky");
}

} // namespace
} // namespace kv::app
