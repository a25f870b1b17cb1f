// The four effector template dialogs without widgets: when an object still
// fits its template, what each dialog shows, and what its OK writes back.

#include "app/customize/effector_editor.h"
#include "app/customize/effector_frames.h"
#include "app/customize/effector_template_fit.h"
#include "app/customize/effector_template_form.h"
#include "app/customize/effector_validation.h"
#include "app/customize/helicopter_template_form.h"
#include "customize_test_support.h"
#include "model/driver_codes.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

using model::ObjectRecord;

constexpr float kFeet = 1.0f;

/// OK of the template dialog of `r` with `edits` (field, text) applied.
std::optional<FormRefusal> templateOk(ObjectRecord& r, float factor,
                                      std::initializer_list<std::pair<int, const char*>> edits,
                                      int gear = -1) {
    const TemplateForm shown = templateFormFor(r, factor);
    std::vector<std::string> edited = shown.values;
    for (const auto& [field, text] : edits)
        edited[static_cast<std::size_t>(field)] = text;
    return applyTemplateForm(shown, edited, gear < 0 ? shown.gear : gear, factor, r);
}

TEST(EffectorTemplateFit, TemplatesFitAndExtrasDoNotMatter) {
    for (int type = 0; type < 4; ++type) {
        ObjectRecord r = test::templateRecord(type);
        EXPECT_TRUE(effectorsFitTemplate(r)) << "vehicle " << type;
        EffectorEditor ed(r, WorkingUnits{}, 0, 0);
        ASSERT_FALSE(ed.newEffector(ed.shown()));
        EXPECT_TRUE(effectorsFitTemplate(ed.working())) << "vehicle " << type << " plus one";
        r.effectors[1].kind = model::kEffectorSound;
        EXPECT_FALSE(effectorsFitTemplate(r)) << "vehicle " << type << " with another kind";
    }
    ObjectRecord none = test::templateRecord(model::kVehicleCar);
    none.vehicleType = model::kVehicleNone;
    EXPECT_FALSE(effectorsFitTemplate(none));
}

TEST(EffectorTemplateFit, EachVehiclesOwnConditions) {
    struct Case {
        int type;
        const char* what;
        void (*change)(ObjectRecord&);
    };
    const Case cases[] = {
        {0, "right front tire moved", [](ObjectRecord& r) { r.effectors[1].offsets[0] += 0.5f; }},
        {0, "one tire larger", [](ObjectRecord& r) { r.effectors[2].radius = 1.2f; }},
        {0, "front steering differs", [](ObjectRecord& r) { r.effectors[1].scales[5] = 35.0f; }},
        {1, "rear travel differs from the fork's",
         [](ObjectRecord& r) { r.effectors[4].scales[4] = -20.0f; }},
        {2, "main gear not symmetric", [](ObjectRecord& r) { r.effectors[4].offsets[1] = -6.0f; }},
        {2, "gear heights differ", [](ObjectRecord& r) { r.effectors[3].offsets[2] = 7.0f; }},
        {2, "pivot lost its wheel", [](ObjectRecord& r) { r.effectors[0].childCount = 0; }},
        {3, "one main blade longer", [](ObjectRecord& r) { r.effectors[3].radius = 21.0f; }},
    };
    for (const Case& c : cases) {
        ObjectRecord r = test::templateRecord(c.type);
        c.change(r);
        EXPECT_FALSE(effectorsFitTemplate(r)) << c.what;
    }
}

TEST(EffectorTemplateForm, OkWithoutEditsWritesTheEffectorsBack) {
    for (float factor : {kFeetPerMetre, kFeetPerInch, kFeet}) {
        for (int type = 0; type < 4; ++type) {
            const ObjectRecord before = test::templateRecord(type);
            ObjectRecord r = before;
            ASSERT_FALSE(templateOk(r, factor, {}));
            ASSERT_EQ(r.effectorCount, before.effectorCount);
            for (int i = 0; i < r.effectorCount; ++i) {
                const auto& a = r.effectors[static_cast<std::size_t>(i)];
                const auto& b = before.effectors[static_cast<std::size_t>(i)];
                EXPECT_EQ(a.drivers, b.drivers) << type << "/" << i;
                for (int k = 0; k < 6; ++k) {
                    EXPECT_NEAR(a.offsets[static_cast<std::size_t>(k)],
                                b.offsets[static_cast<std::size_t>(k)], 2e-4f)
                        << type << "/" << i << " offset " << k;
                    EXPECT_NEAR(a.scales[static_cast<std::size_t>(k)],
                                b.scales[static_cast<std::size_t>(k)], 2e-4f)
                        << type << "/" << i << " scale " << k;
                }
                EXPECT_EQ(a.radius, b.radius);
                EXPECT_EQ(a.width, b.width);
            }
            EXPECT_TRUE(effectorsFitTemplate(r));
        }
    }
}

TEST(EffectorTemplateForm, CarShowsAndWritesItsDimensions) {
    ObjectRecord r = test::templateRecord(model::kVehicleCar);
    const TemplateForm f = templateFormFor(r, kFeetPerMetre);
    EXPECT_EQ(f.title, "Car Effector Template");
    EXPECT_EQ(f.unitName, "meters");
    EXPECT_EQ(f.values[kCarFrontAxle], "1.1557");
    EXPECT_EQ(f.values[kCarRearAxle], "1.2998");
    EXPECT_EQ(f.values[kCarTrack], "1.3964");
    EXPECT_EQ(f.values[kCarSteeringLock], "30.0000");
    EXPECT_EQ(f.values[kCarSuspensionTravel], "0.3048");

    ASSERT_FALSE(templateOk(r, kFeetPerMetre,
                            {{kCarTrack, "1.5"},
                             {kCarSteeringLock, "40"},
                             {kCarSuspensionTravel, "0.5"},
                             {kCarRearAxle, "1.4"}}));
    for (int i : {0, 2})
        EXPECT_NEAR(r.effectors[static_cast<std::size_t>(i)].offsets[1], -2.4606f, 1e-4f);
    for (int i : {1, 3})
        EXPECT_NEAR(r.effectors[static_cast<std::size_t>(i)].offsets[1], 2.4606f, 1e-4f);
    EXPECT_EQ(r.effectors[0].scales[5], 40.0f);
    EXPECT_EQ(r.effectors[1].scales[5], 40.0f);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(r.effectors[static_cast<std::size_t>(i)].scales[2], -0.5f * kFeetPerMetre,
                    1e-5f);
    EXPECT_NEAR(r.effectors[3].offsets[0], -1.4f * kFeetPerMetre, 1e-5f);
    EXPECT_TRUE(carFitsTemplate(r));
    EXPECT_FALSE(validateEffectors(r));
}

TEST(EffectorTemplateForm, MotorcyclePlacesForkAndSwingArmFromTirePositions) {
    ObjectRecord r = test::templateRecord(model::kVehicleMotorcycle);
    ASSERT_FALSE(templateOk(r, kFeet,
                            {{kBikeFrontTireForward, "4.5"},
                             {kBikeFrontTireDown, "1.0"},
                             {kBikeRearTireBack, "2.0"},
                             {kBikeRearTireDown, "1.0"},
                             {kBikeForkTravel, "0.5"}}));
    const Vec3 front = effectorFrame(r, 3).position;
    const Vec3 rear = effectorFrame(r, 5).position;
    EXPECT_NEAR(front[0], 4.5f, 1e-4f);
    EXPECT_NEAR(front[2], 1.0f, 1e-4f);
    EXPECT_NEAR(rear[0], -2.0f, 1e-4f);
    EXPECT_NEAR(rear[2], 1.0f, 1e-4f);
    EXPECT_EQ(r.effectors[2].scales[2], -0.5f);
    EXPECT_TRUE(motorcycleFitsTemplate(r)) << "rear travel follows the fork's";
    EXPECT_FALSE(validateEffectors(r));
}

TEST(EffectorTemplateForm, AircraftGearHeightCountsThePivots) {
    ObjectRecord r = test::templateRecord(model::kVehicleAircraft);
    const TemplateForm f = templateFormFor(r, kFeet);
    EXPECT_EQ(f.values[kPlaneGearHeight], "8.0000");
    EXPECT_EQ(f.values[kPlaneMainGearTrack], "10.0000");
    r.effectors[2].offsets[2] = 1.0f; // the left main pivot hangs lower
    r.effectors[3].offsets[2] = 7.0f;
    ASSERT_FALSE(templateOk(r, kFeet, {{kPlaneGearHeight, "9"}, {kPlaneMainGearTrack, "12"}}));
    EXPECT_EQ(r.effectors[1].offsets[2], 9.0f);
    EXPECT_EQ(r.effectors[3].offsets[2], 8.0f);
    EXPECT_EQ(r.effectors[2].offsets[1], 6.0f);
    EXPECT_EQ(r.effectors[4].offsets[1], -6.0f);
    EXPECT_TRUE(aircraftFitsTemplate(r));
}

TEST(EffectorTemplateForm, HelicopterBladeCountsAreRoundedAndLimited) {
    EXPECT_EQ(bladeCount(7.0f), 6);
    EXPECT_EQ(bladeCount(1.4f), 2);
    EXPECT_EQ(bladeCount(2.6f), 3);
    ObjectRecord r = test::templateRecord(model::kVehicleHelicopter);
    ASSERT_FALSE(templateOk(r, kFeet, {{kHeliMainBlades, "7"}, {kHeliTailBlades, "1.4"}}));
    const HelicopterParts parts = helicopterParts(r);
    ASSERT_EQ(parts.mainBlades.size(), 6u);
    ASSERT_EQ(parts.tailBlades.size(), 2u);
    EXPECT_EQ(r.effectorCount, 10);
    EXPECT_EQ(model::recordName(r.effectors[static_cast<std::size_t>(parts.mainBlades[5])].name),
              "MainRotorBlade6");
    EXPECT_EQ(r.effectors[static_cast<std::size_t>(parts.mainBlades[1])].offsets[5], 60.0f);
    EXPECT_EQ(r.effectors[static_cast<std::size_t>(parts.tailBlades[1])].offsets[5], 180.0f);
    EXPECT_EQ(r.effectors[0].childCount, 6);
    EXPECT_TRUE(model::checkEffectorTree(r));
    EXPECT_TRUE(helicopterFitsTemplate(r));
    EXPECT_FALSE(validateEffectors(r));
}

TEST(EffectorTemplateForm, HelicopterRefusesBladesWithoutAFreeSlot) {
    ObjectRecord r = test::templateRecord(model::kVehicleHelicopter);
    r.effectorCount = 30; // twenty extra effectors after the template's
    for (int i = 10; i < 30; ++i) {
        r.effectors[static_cast<std::size_t>(i)] = model::EffectorRecord{};
        model::setRecordName(r.effectors[static_cast<std::size_t>(i)].name, "Extra");
    }
    const ObjectRecord before = r;
    const auto refusal = templateOk(r, kFeet, {{kHeliMainBlades, "5"}});
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, kMainBladesFullMessage);
    EXPECT_EQ(r.effectorCount, 30);
    EXPECT_EQ(r.effectors[0].childCount, before.effectors[0].childCount);
    EXPECT_EQ(templateOk(r, kFeet, {{kHeliTailBlades, "6"}})->message, kTailBladesFullMessage);
}

TEST(EffectorTemplateForm, HelicopterLandingGear) {
    ObjectRecord r = test::templateRecord(model::kVehicleHelicopter);
    EXPECT_EQ(templateFormFor(r, kFeet).gear, kGearNone);
    ASSERT_FALSE(templateOk(r, kFeet, {}, kGearTires));
    HelicopterParts parts = helicopterParts(r);
    ASSERT_EQ(parts.gear.size(), 3u);
    const auto& nose = r.effectors[static_cast<std::size_t>(parts.gear[0])];
    EXPECT_EQ(model::recordName(nose.name), "NoseWheel");
    EXPECT_EQ(nose.drivers, (std::array<int, 6>{0, 0, 21, 0, 31, 19}));
    EXPECT_EQ(nose.offsets[0], 8.0f);
    EXPECT_EQ(nose.offsets[2], 6.0f);
    EXPECT_EQ(nose.scales[2], -0.5f);
    EXPECT_EQ(nose.scales[5], 30.0f);
    const auto& left = r.effectors[static_cast<std::size_t>(parts.gear[1])];
    EXPECT_EQ(left.drivers, (std::array<int, 6>{0, 0, 22, 0, 32, 0}));
    EXPECT_EQ(left.offsets[1], -4.0f);
    EXPECT_EQ(left.offsets[5], 180.0f);
    EXPECT_EQ(r.tires.spring[1], r.tires.spring[0]);
    EXPECT_TRUE(helicopterFitsTemplate(r));
    EXPECT_FALSE(validateEffectors(r));

    // Skids: the same legs, sliding instead of rolling.
    ASSERT_FALSE(templateOk(r, kFeet, {{kHeliGearTrack, "9"}}, kGearSkids));
    parts = helicopterParts(r);
    EXPECT_EQ(r.effectors[static_cast<std::size_t>(parts.gear[2])].kind, model::kEffectorSkid);
    EXPECT_EQ(r.effectors[static_cast<std::size_t>(parts.gear[2])].offsets[1], 4.5f);
    EXPECT_EQ(templateFormFor(r, kFeet).gear, kGearSkids);
    EXPECT_FALSE(validateEffectors(r));

    ASSERT_FALSE(templateOk(r, kFeet, {}, kGearNone));
    EXPECT_EQ(r.effectorCount, 10);
    EXPECT_TRUE(helicopterParts(r).gear.empty());
}

TEST(EffectorTemplateForm, NonNumberRefusesAndWritesNothing) {
    ObjectRecord r = test::templateRecord(model::kVehicleCar);
    const ObjectRecord before = r;
    const auto refusal = templateOk(r, kFeet, {{kCarTireWidth, "wide"}});
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Please enter a number.");
    EXPECT_EQ(refusal->field, kCarTireWidth);
    EXPECT_EQ(r.effectors[0].width, before.effectors[0].width);
}

} // namespace
} // namespace kv::app
