#include "model/driver_codes.h"
#include "model/object_model.h"

#include <gtest/gtest.h>

namespace kv::model {
namespace {

ObjectRecord withEffectors(int count) {
    ObjectRecord r;
    resetObject(r);
    r.effectorCount = count;
    for (int i = 0; i < count; ++i) {
        setRecordName(r.effectors[static_cast<std::size_t>(i)].name, "E" + std::to_string(i));
        r.effectors[static_cast<std::size_t>(i)].parent = -1;
    }
    return r;
}

void link(ObjectRecord& r, int parent, int child) {
    auto& p = r.effectors[static_cast<std::size_t>(parent)];
    p.children[static_cast<std::size_t>(p.childCount++)] = child;
    r.effectors[static_cast<std::size_t>(child)].parent = parent;
}

TEST(ResetObject, GivesTheDocumentedDefaults) {
    ObjectRecord r;
    r.reserved0 = 77;
    r.vehicleType = kVehicleHelicopter;
    r.effectorCount = 12;
    r.enginePower = 300.0f;
    setRecordName(r.name, "Old");
    resetObject(r);
    EXPECT_EQ(r.reserved0, 77); // preserved as read
    EXPECT_EQ(r.vehicleType, kVehicleCar);
    EXPECT_EQ(r.role, kRoleInteractive);
    EXPECT_EQ(r.recordChannel, -1);
    EXPECT_EQ(r.initial.position, (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(r.mass.mass, 1.0e30f);
    EXPECT_EQ(r.mass.massScale, (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ(r.mass.rollPitchCoupling, 1.0f);
    EXPECT_EQ(r.mass.rollYawCoupling, 1.0f);
    EXPECT_EQ(r.mass.pitchYawCoupling, 1.0f);
    EXPECT_EQ(r.tires.tireCount, 0);
    EXPECT_EQ(r.engineType, kEngineNone);
    EXPECT_EQ(r.aero.aeroModel, kAeroLinear);
    EXPECT_EQ(r.collisionFriction, 0.0f);
    EXPECT_EQ(r.collisionSpring, 1.0f);
    EXPECT_EQ(r.collisionDamping, 1.0f);
    EXPECT_EQ(r.geometryTransform.rightHanded, 1);
    EXPECT_EQ(r.geometryTransform.fileUnit, 1.0f);
    EXPECT_EQ(r.geometryTransform.scale, (std::array<float, 3>{1, 1, 1}));
    EXPECT_EQ(r.color, kColorWhite);
    EXPECT_EQ(r.transparency, kSolid);
    EXPECT_EQ(r.effectorCount, 0);
    EXPECT_EQ(recordName(r.name), "");

    resetCamera(r);
    EXPECT_EQ(r.vehicleType, kVehicleNone);
    EXPECT_EQ(r.color, kColorBlack);
}

TEST(CheckEffectorTree, RefusesCyclesAndBadParents) {
    ObjectRecord r = withEffectors(4);
    link(r, 0, 1);
    link(r, 1, 2);
    EXPECT_TRUE(checkEffectorTree(r));

    ObjectRecord cycle = r;
    cycle.effectors[0].parent = 2; // 0 -> 2 -> 1 -> 0
    EXPECT_FALSE(checkEffectorTree(cycle));

    ObjectRecord self = r;
    self.effectors[3].parent = 3;
    EXPECT_FALSE(checkEffectorTree(self));

    ObjectRecord beyond = r;
    beyond.effectors[3].parent = 4; // not below the effector count
    EXPECT_FALSE(checkEffectorTree(beyond));

    ObjectRecord negative = r;
    negative.effectors[3].parent = -2;
    EXPECT_FALSE(checkEffectorTree(negative));

    // A chain through all 30 effectors is still a tree.
    ObjectRecord chain = withEffectors(kMaxEffectors);
    for (int i = 1; i < kMaxEffectors; ++i)
        chain.effectors[static_cast<std::size_t>(i)].parent = i - 1;
    EXPECT_TRUE(checkEffectorTree(chain));
}

TEST(DeleteEffector, RemovesAndRenumbersChildren) {
    ObjectRecord r = withEffectors(5);
    link(r, 0, 1);
    link(r, 0, 3);
    link(r, 0, 4);
    link(r, 3, 2);
    const EffectorRecord last = r.effectors[4];
    deleteEffector(r, 1);
    EXPECT_EQ(r.effectorCount, 4);
    ASSERT_EQ(r.effectors[0].childCount, 2);
    EXPECT_EQ(r.effectors[0].children[0], 2); // was 3
    EXPECT_EQ(r.effectors[0].children[1], 3); // was 4
    EXPECT_EQ(recordName(r.effectors[1].name), "E2");
    EXPECT_EQ(recordName(r.effectors[2].name), "E3");
    EXPECT_EQ(r.effectors[2].children[0], 1); // E2, was 2
    // Parent fields are left as they were.
    EXPECT_EQ(r.effectors[1].parent, 3);
    EXPECT_EQ(recordName(r.effectors[3].name), recordName(last.name));

    const ObjectRecord before = r;
    deleteEffector(r, 4); // beyond the count: nothing happens
    deleteEffector(r, -1);
    EXPECT_EQ(r.effectorCount, before.effectorCount);
}

TEST(Limits, RefuseTheThirtyFirstEffectorTheEleventhTireAndTheSeventhChild) {
    ObjectRecord full = withEffectors(kMaxEffectors);
    EXPECT_EQ(checkCanAddEffector(full, kEffectorBasic),
              "There can be no more than the maximum of 30 effectors.");

    ObjectRecord tires = withEffectors(10);
    for (int i = 0; i < 10; ++i) {
        tires.effectors[static_cast<std::size_t>(i)].kind = i % 2 ? kEffectorSkid : kEffectorTire;
    }
    EXPECT_EQ(countTires(tires), 10);
    EXPECT_EQ(checkCanAddEffector(tires, kEffectorSkid),
              "There can be no more than the maximum of 10 tire or skid effectors.");
    EXPECT_EQ(checkCanAddEffector(tires, kEffectorTire), tooManyTiresMessage());
    EXPECT_EQ(checkCanAddEffector(tires, kEffectorBasic), "");

    ObjectRecord parent = withEffectors(8);
    setRecordName(parent.effectors[0].name, "Hub");
    for (int c = 1; c <= 6; ++c)
        link(parent, 0, c);
    EXPECT_EQ(checkCanAddChild(parent, 0),
              "The \"Hub\" effector can have no more than 6 children.");
    EXPECT_EQ(checkCanAddChild(parent, 1), "");

    EXPECT_EQ(circularReferenceMessage("Wheel", "Fork"),
              "The \"Wheel\" effector cannot be a child of the \"Fork\" effector because it "
              "introduces a circular reference.");
}

TEST(Tires, SkidsCountAndNumberLikeTires) {
    ObjectRecord r = withEffectors(5);
    r.effectors[1].kind = kEffectorTire;
    r.effectors[2].kind = kEffectorBlade;
    r.effectors[3].kind = kEffectorSkid;
    r.effectors[4].kind = kEffectorTire;
    EXPECT_EQ(countTires(r), 3);
    EXPECT_EQ(tireNumberOf(r, 1), 0);
    EXPECT_EQ(tireNumberOf(r, 3), 1);
    EXPECT_EQ(tireNumberOf(r, 4), 2);
    EXPECT_EQ(tireNumberOf(r, 2), -1);
    EXPECT_EQ(tireNumberOf(r, 9), -1);
}

TEST(Names, AreCutTo255CharactersAndNulTerminated) {
    std::array<char, kNameChars> field;
    field.fill('x');
    setRecordName(field, std::string(300, 'n'));
    EXPECT_EQ(recordName(field), std::string(255, 'n'));
    EXPECT_EQ(field[255], '\0');
    setRecordName(field, "Car");
    EXPECT_EQ(recordName(field), "Car");
    EXPECT_EQ(field[4], '\0');
}

TEST(DeriveRunLimits, TakesTheLastDrivingEffectorElseTheDefaults) {
    ObjectRecord r = withEffectors(4);
    deriveRunLimits(r);
    EXPECT_EQ(r.aero.aileronLimit, 30.0f);
    EXPECT_EQ(r.aero.elevatorLimit, 30.0f);
    EXPECT_EQ(r.aero.rudderLimit, 30.0f);
    EXPECT_EQ(r.nozzleLimit, 90.0f);

    r.effectors[0].drivers[kDofPitch] = kDriverAileron;
    r.effectors[0].scales[kDofPitch] = 20.0f;
    r.effectors[1].drivers[kDofPitch] = kDriverAileron;
    r.effectors[1].scales[kDofPitch] = -25.0f;
    r.effectors[2].drivers[kDofPitch] = kDriverNozzle;
    r.effectors[2].scales[kDofPitch] = -45.0f;
    r.effectors[3].drivers[kDofYaw] = kDriverRudder;
    r.effectors[3].scales[kDofYaw] = -15.0f;
    r.effectors[3].kind = kEffectorSkid;
    deriveRunLimits(r);
    EXPECT_EQ(r.aero.aileronLimit, 25.0f);
    EXPECT_EQ(r.aero.elevatorLimit, 30.0f);
    EXPECT_EQ(r.aero.rudderLimit, 15.0f);
    EXPECT_EQ(r.nozzleLimit, 45.0f);
    EXPECT_EQ(r.tires.tireCount, 1);
}

TEST(DriverCodes, NamesAndTireNumbers) {
    struct Case {
        int code;
        const char* name;
        int tire;
    };
    const Case cases[] = {
        {0, "None", -1},
        {1, "Aileron", -1},
        {11, "Peddal", -1},
        {12, "Nozzle", -1},
        {13, "Propeller Rotation", -1},
        {19, "Tire Steer", -1},
        {20, "Transmission", -1},
        {21, "Strut Compression", 0},
        {30, "Strut Compression", 9},
        {31, "Tire Roll", 0},
        {47, "Pivot", 6},
        {51, "External Force", -1},
        {55, "Skid Indicator", 3},
        {62, "Tachometer", -1},
        {63, "", -1},
        {-1, "", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(driverName(c.code), c.name) << c.code;
        EXPECT_EQ(driverTireNumber(c.code), c.tire) << c.code;
    }
}

TEST(MemoryEstimate, FollowsTheFrameAndRecordSizes) {
    EXPECT_EQ(memoryEstimate(2, 1000), (1000.0 * 264 + 11948) * 2);
}

} // namespace
} // namespace kv::model
