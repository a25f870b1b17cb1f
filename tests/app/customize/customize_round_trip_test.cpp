// OK without touching anything writes the record back byte for byte, in every
// working unit: the dialogs' conversions and display formats never drift a
// stored value.

#include "app/customize/aero_form.h"
#include "app/customize/appearance_form.h"
#include "app/customize/collision_form.h"
#include "app/customize/engine_form.h"
#include "app/customize/mass_form.h"
#include "app/customize/tires_form.h"
#include "common/unit_constants.h"
#include "customize_test_support.h"
#include "model/record_codec.h"

#include <gtest/gtest.h>
#include <string>

namespace kv::app {
namespace {

struct NamedRecord {
    const char* name;
    model::ObjectRecord record;
};

std::vector<NamedRecord> records() {
    return {{"car", test::templateRecord(model::kVehicleCar)},
            {"motorcycle", test::templateRecord(model::kVehicleMotorcycle)},
            {"aircraft", test::templateRecord(model::kVehicleAircraft)},
            {"helicopter", test::templateRecord(model::kVehicleHelicopter)},
            {"awkward", test::awkwardRecord()}};
}

struct NamedUnits {
    const char* name;
    WorkingUnits units;
};

const NamedUnits kUnits[] = {
    {"English ft", test::unitsOf(1, kFeetPerFoot)},
    {"English in", test::unitsOf(1, kFeetPerInch, 1)},
    {"English yd", test::unitsOf(1, kFeetPerYard)},
    {"metric m", test::unitsOf(0, kFeetPerMetre)},
    {"metric mm", test::unitsOf(0, kFeetPerMillimetre, 1)},
    {"metric cm", test::unitsOf(0, kFeetPerCentimetre)},
};

/// Each dialog opened on `r` and confirmed as it opened.
void confirmEveryDialogUntouched(model::ObjectRecord& r, model::ObjectRecord* partner,
                                 const WorkingUnits& u) {
    const MassForm mass = massFormFor(r.mass, u.englishForceUnits);
    ASSERT_FALSE(applyMassForm(mass, mass, u.englishForceUnits, r.mass));

    if (model::countTires(r) > 0) {
        const TiresModel tires(r);
        ASSERT_FALSE(tires.accept(tires.openedShared(), tires.tire(tires.selectedTire()), r.tires));
    }

    const AeroForm aero = aeroFormFor(r.aero, u.lengthUnitFactor);
    ASSERT_FALSE(applyAeroForm(aero, aero, u.lengthUnitFactor, r.aero));

    const EngineModel engine(r, u.englishForceUnits);
    ASSERT_FALSE(engine.accept(engine.openedPower(), r));

    const CollisionForm collisions = collisionFormFor(r, partner);
    ASSERT_FALSE(applyCollisionForm(collisions, collisions, r, partner));

    EXPECT_FALSE(applyAppearance(appearanceOf(r), r));
}

TEST(CustomizeRoundTrip, OkWithoutEditsKeepsEveryRecordByteForByte) {
    for (const NamedUnits& units : kUnits) {
        for (NamedRecord& named : records()) {
            SCOPED_TRACE(std::string(named.name) + ", " + units.name);
            model::ObjectRecord r = named.record;
            model::ObjectRecord partner = test::awkwardRecord();
            partner.role = model::kRoleInteractive;
            const model::ObjectImage before = model::encodeObject(r);
            const model::ObjectImage partnerBefore = model::encodeObject(partner);
            confirmEveryDialogUntouched(r, &partner, units.units);
            EXPECT_TRUE(model::encodeObject(r) == before);
            EXPECT_TRUE(model::encodeObject(partner) == partnerBefore);
        }
    }
}

// Selecting other tires and coming back without edits, or switching engines
// and back, is no edit either.
TEST(CustomizeRoundTrip, BrowsingWithoutEditsKeepsTheRecord) {
    for (const NamedUnits& units : kUnits) {
        SCOPED_TRACE(units.name);
        model::ObjectRecord r = test::awkwardRecord();
        const model::ObjectImage before = model::encodeObject(r);

        TiresModel tires(r);
        TireSettingsForm shown = tires.tire(0);
        for (int k : {1, 2, 3, 0})
            shown = tires.select(k, shown);
        ASSERT_FALSE(tires.accept(tires.openedShared(), shown, r.tires));

        EngineModel engine(r, units.units.englishForceUnits);
        std::string field = engine.openedPower();
        field = engine.choose(model::kEngineJet, field);
        field = engine.choose(model::kEngineCar, field);
        ASSERT_FALSE(engine.accept(field, r));

        EXPECT_TRUE(model::encodeObject(r) == before);
    }
}

} // namespace
} // namespace kv::app
