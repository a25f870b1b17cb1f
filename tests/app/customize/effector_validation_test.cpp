// The structural rules checked by the Effectors dialog's OK, and the driver
// numbering done when they hold.

#include "app/customize/effector_validation.h"
#include "customize_test_support.h"
#include "model/driver_codes.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <optional>
#include <string>

namespace kv::app {
namespace {

using model::EffectorRecord;
using model::ObjectRecord;

/// Builds effector trees by hand: add(name, kind, parent) with drivers set after.
struct TreeBuilder {
    ObjectRecord r;
    TreeBuilder() {
        model::resetObject(r);
        r.effectorCount = 0;
    }
    EffectorRecord& add(const char* name, int kind, int parent = -1, int down = 0, int pitch = 0) {
        const int i = r.effectorCount++;
        EffectorRecord& e = r.effectors[static_cast<std::size_t>(i)];
        e = EffectorRecord{};
        model::setRecordName(e.name, name);
        e.kind = kind;
        e.parent = parent;
        e.drivers[model::kDofDown] = down;
        e.drivers[model::kDofPitch] = pitch;
        if (parent >= 0) {
            EffectorRecord& p = r.effectors[static_cast<std::size_t>(parent)];
            p.children[static_cast<std::size_t>(p.childCount++)] = i;
        }
        return e;
    }
};

constexpr int T = model::kEffectorTire, S = model::kEffectorSkid, B = model::kEffectorBasic;
constexpr int kStrut = 21, kPivot = 41, kRoll = 31;

struct Case {
    const char* what;
    void (*build)(TreeBuilder&);
    const char* message; ///< nullptr: passes
};

const Case kCases[] = {
    {"tire under a strut under the body",
     [](TreeBuilder& b) {
         b.add("Strut", B, -1, kStrut);
         b.add("Wheel", T, 0, 0, kRoll);
     },
     nullptr},
    {"tire that is its own strut (the car's)",
     [](TreeBuilder& b) { b.add("Wheel", T, -1, kStrut, kRoll); }, nullptr},
    {"tire under a pivot under a strut",
     [](TreeBuilder& b) {
         b.add("Strut", B, -1, kStrut);
         b.add("Pivot", B, 0, 0, kPivot);
         b.add("Wheel", T, 1);
     },
     "The \"Wheel\" tire effector may only be attached to a strut or a pivot, not both."},
    {"skid directly under the body", [](TreeBuilder& b) { b.add("Runner", S); },
     "The \"Runner\" skid effector must be attached to a strut or a pivot."},
    {"tire under another tire",
     [](TreeBuilder& b) {
         b.add("Upper", T, -1, kStrut);
         b.add("Lower", T, 0);
     },
     "The \"Lower\" tire effector cannot be the child or parent of another tire or skid effector."},
    {"tire under two pivots",
     [](TreeBuilder& b) {
         b.add("P1", B, -1, 0, kPivot);
         b.add("P2", B, 0, 0, kPivot);
         b.add("Wheel", T, 1);
     },
     "The \"Wheel\" tire effector may be attached to no more than one pivot."},
    {"eleven tires each under its own strut",
     [](TreeBuilder& b) {
         for (int k = 0; k < 11; ++k) {
             const int strut = b.r.effectorCount;
             b.add("Strut", B, -1, kStrut);
             b.add("Wheel", T, strut);
         }
     },
     "There can be no more than the maximum of 10 tire or skid effectors."},
    {"pivot without a tire", [](TreeBuilder& b) { b.add("Swing", B, -1, 0, kPivot); },
     "The \"Swing\" effector is a pivot and is not attached to a tire or skid effector."},
    {"strut without a tire", [](TreeBuilder& b) { b.add("Leg", B, -1, kStrut); },
     "The \"Leg\" effector is a strut and is not attached to a tire or skid effector."},
    {"basic effector with Tire Roll", [](TreeBuilder& b) { b.add("Spinner", B, -1, 0, kRoll); },
     "The \"Spinner\" effector can roll but is not a tire effector."},
};

TEST(EffectorValidation, RulesAndMessages) {
    for (const Case& c : kCases) {
        TreeBuilder b;
        c.build(b);
        const std::optional<std::string> message = validateEffectors(b.r);
        if (c.message == nullptr)
            EXPECT_FALSE(message) << c.what << ": " << message.value_or("");
        else
            EXPECT_EQ(message.value_or("(passed)"), c.message) << c.what;
    }
}

TEST(EffectorValidation, TwoTiresUnderOneStrutNameTheStrut) {
    TreeBuilder b;
    b.add("Axle", B, -1, kStrut);
    b.add("Arm", B, 0);
    b.add("L", T, 1);
    b.add("R", T, 1);
    EXPECT_EQ(validateEffectors(b.r).value_or(""),
              "The \"Axle\" effector is a strut and is attached to more than one tire or skid "
              "effector.");
}

TEST(EffectorValidation, NumbersStrutsPivotsAndTireRollByTireOrder) {
    TreeBuilder b;
    b.add("Body", B);
    b.add("Strut", B, -1, kStrut);      // 1
    b.add("Front", T, 1, 0, kRoll);     // 2: tire 0
    b.add("Arm", B, -1, 0, kPivot);     // 3
    b.add("Rear", S, 3);                // 4: tire 1
    b.add("Car", T, -1, kStrut, kRoll); // 5: tire 2
    ASSERT_FALSE(validateEffectors(b.r));
    const auto& e = b.r.effectors;
    EXPECT_EQ(e[1].drivers[model::kDofDown], 21);
    EXPECT_EQ(e[2].drivers[model::kDofPitch], 31);
    EXPECT_EQ(e[3].drivers[model::kDofPitch], 42);
    EXPECT_EQ(e[5].drivers[model::kDofDown], 23);
    EXPECT_EQ(e[5].drivers[model::kDofPitch], 33);

    reduceDriverCodes(b.r);
    EXPECT_EQ(e[3].drivers[model::kDofPitch], 41);
    EXPECT_EQ(e[5].drivers[model::kDofDown], 21);
    EXPECT_EQ(e[5].drivers[model::kDofPitch], 31);
}

TEST(EffectorValidation, SoundEffectorsAreZeroedAndTakeTheirIndicator) {
    TreeBuilder b;
    b.add("Strut", B, -1, kStrut);
    b.add("Wheel0", T, 0, 0, kRoll);
    b.add("Strut2", B, -1, kStrut);
    b.add("Wheel1", T, 2, 0, kRoll);
    EffectorRecord& underTire = b.add("Squeal", model::kEffectorSound, 3);
    underTire.offsets = {1, 2, 3, 4, 5, 6};
    underTire.scales = {1, 2, 3, 4, 5, 6};
    underTire.drivers[model::kDofForward] = 20;
    underTire.drivers[model::kDofYaw] = 19;
    underTire.radius = 2.0f;
    underTire.width = 1.0f;
    b.add("Engine", model::kEffectorSound);
    EffectorRecord& underBasic = b.add("Hum", model::kEffectorSound, 0);
    underBasic.scales[model::kDofRoll] = 3.0f;
    ASSERT_FALSE(validateEffectors(b.r));
    const EffectorRecord& s = b.r.effectors[4];
    EXPECT_EQ(s.drivers, (std::array<int, 6>{0, 0, 0, 52 + 1, 0, 0}));
    EXPECT_EQ(s.scales, (std::array<float, 6>{0, 0, 0, 1.0f, 0, 0}));
    EXPECT_EQ(s.offsets, (std::array<float, 6>{}));
    EXPECT_EQ(s.radius, 0.0f);
    EXPECT_EQ(s.width, 0.0f);
    EXPECT_EQ(b.r.effectors[5].drivers[model::kDofRoll], 62);
    EXPECT_EQ(b.r.effectors[5].scales[model::kDofRoll], 1.0f);
    EXPECT_EQ(b.r.effectors[6].drivers[model::kDofRoll], 0);
    EXPECT_EQ(b.r.effectors[6].scales[model::kDofRoll], 0.0f);
}

TEST(EffectorValidation, EveryTemplatePassesUnchanged) {
    for (int type = 0; type < 4; ++type) {
        ObjectRecord r = test::templateRecord(type);
        const ObjectRecord before = r;
        EXPECT_FALSE(validateEffectors(r)) << "vehicle " << type;
        for (int i = 0; i < r.effectorCount; ++i)
            EXPECT_EQ(r.effectors[static_cast<std::size_t>(i)].drivers,
                      before.effectors[static_cast<std::size_t>(i)].drivers)
                << "vehicle " << type << " effector " << i;
    }
}

} // namespace
} // namespace kv::app
