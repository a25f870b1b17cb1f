#include "model/driver_codes.h"
#include "model/object_model.h"
#include "model/record_codec.h"
#include "model/template.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace kv::model {
namespace {

ObjectRecord templated(int vehicleType) {
    ObjectRecord r;
    resetObject(r);
    r.vehicleType = vehicleType;
    applyTemplate(r);
    return r;
}

const EffectorRecord& effector(const ObjectRecord& r, int i) {
    return r.effectors[static_cast<std::size_t>(i)];
}

struct HeaderCase {
    int type;
    const char* name;
    int engineType;
    float power;
    float friction, spring, damping;
    int color;
    float mass;
    float roll, pitch, yaw;  ///< expected moments (slug*ft^2)
    double inertiaTolerance; ///< precision the moments are stated to
    float rollYawCoupling;
    int skid, surface;
    float braking;
    float span, area, aspectRatio;
    int effectorCount;
};

const HeaderCase kHeaders[] = {
    {kVehicleCar, "Car",     kEngineCar, 175.0f,     0.5f,       0.4f, 0.2f,
     19,          62.79142f, 331.0048f,  1167.9957f, 1201.8378f, 1e-4, 0,
     1,           200,       1.0f,       1.0f,       22.73f,     1.0f, 4},
    {kVehicleMotorcycle,
     "Motorcycle",
     kEngineMotorcycle,
     95.0f,
     0.5f,
     0.05f,
     0.2f,
     4,
     13.273236f,
     28.17f,
     115.78f,
     123.71f,
     0,
     0,
     1,
     200,
     0.25f,
     0,
     5.8f,
     0,
     6},
    {kVehicleAircraft,
     "Aircraft",
     kEngineJet,
     30000.0f,
     0.5f,
     0.6f,
     0.3f,
     18,
     1115.9465f,
     25500.0f,
     166600.0f,
     187000.0f,
     0,
     -0.039215688f,
     0,
     100,
     0.5f,
     42.8f,
     608.0f,
     2.685f,
     6},
    {kVehicleHelicopter,
     "Helicopter",
     kEngineHelicopter,
     3120.0f,
     0.5f,
     0.9f,
     0.3f,
     16,
     477.15262f,
     6966.0f,
     51696.0f,
     48060.0f,
     0,
     0,
     0,
     100,
     1.0f,
     0,
     0,
     0,
     10},
};

TEST(Template, HeaderValuesOfEachVehicle) {
    for (const HeaderCase& c : kHeaders) {
        SCOPED_TRACE(c.name);
        const ObjectRecord r = templated(c.type);
        EXPECT_EQ(recordName(r.name), c.name);
        EXPECT_EQ(r.engineType, c.engineType);
        EXPECT_EQ(r.enginePower, c.power);
        EXPECT_EQ(r.engineScale, 1.0f);
        EXPECT_EQ(r.collisionFriction, c.friction);
        EXPECT_EQ(r.collisionSpring, c.spring);
        EXPECT_EQ(r.collisionDamping, c.damping);
        EXPECT_EQ(r.color, c.color);
        EXPECT_EQ(r.transparency, kSolid);
        EXPECT_EQ(r.mass.mass, c.mass);
        EXPECT_NEAR(r.mass.inertia[0], c.roll, c.inertiaTolerance);
        EXPECT_NEAR(r.mass.inertia[4], c.pitch, c.inertiaTolerance);
        EXPECT_NEAR(r.mass.inertia[8], c.yaw, c.inertiaTolerance);
        for (int i : {1, 2, 3, 5, 6, 7}) {
            EXPECT_EQ(r.mass.inertia[static_cast<std::size_t>(i)], r.mass.inertia[0]) << i;
        }
        EXPECT_EQ(r.mass.massScale, (std::array<float, 4>{1.0f, 1.0f, 1.0f, 1.0f}));
        EXPECT_EQ(r.mass.rollPitchCoupling, 0.0f);
        EXPECT_EQ(r.mass.rollYawCoupling, c.rollYawCoupling);
        EXPECT_EQ(r.mass.pitchYawCoupling, 0.0f);
        EXPECT_EQ(r.tires.skid, c.skid);
        EXPECT_EQ(r.tires.tireType, 1);
        EXPECT_EQ(r.tires.surface, c.surface);
        EXPECT_EQ(r.tires.braking, c.braking);
        EXPECT_EQ(r.aero.aeroModel, kAeroLinear);
        EXPECT_EQ(r.aero.span, c.span);
        EXPECT_EQ(r.aero.area, c.area);
        EXPECT_EQ(r.aero.aspectRatio, c.aspectRatio);
        EXPECT_EQ(r.aero.initialAoa, 0.0f);
        EXPECT_EQ(r.effectorCount, c.effectorCount);
        EXPECT_EQ(r.geometryTransform.rightHanded, 1);
        EXPECT_EQ(r.geometryTransform.fileUnit, 1.0f);
        EXPECT_EQ(r.geometryTransform.scale, (std::array<float, 3>{1, 1, 1}));
    }
}

TEST(Template, WeightsMatchTheStatedPounds) {
    const double weights[] = {2020.0, 427.0, 35900.0, 15350.0};
    for (int type = 0; type < 4; ++type) {
        EXPECT_NEAR(templated(type).mass.mass * 32.17, weights[type], 0.01) << type;
    }
}

TEST(Template, CarInertiaIsSinglePrecisionMassTimesDoubleFactor) {
    const ObjectRecord r = templated(kVehicleCar);
    const double m = static_cast<double>(62.79142f);
    EXPECT_EQ(r.mass.inertia[0], static_cast<float>(m * 5.271496921440001));
    EXPECT_EQ(r.mass.inertia[4], static_cast<float>(m * 18.601199397216));
    EXPECT_EQ(r.mass.inertia[8], static_cast<float>(m * 19.14015950283024));
}

TEST(Template, AircraftRollYawProductIsMinusOneThousand) {
    const ObjectRecord r = templated(kVehicleAircraft);
    EXPECT_NEAR(r.mass.inertia[2] * r.mass.rollYawCoupling, -1000.0, 0.01);
    EXPECT_NEAR(r.mass.inertia[6] * r.mass.rollYawCoupling, -1000.0, 0.01);
}

TEST(Template, AerodynamicCoefficients) {
    std::array<float, kAeroCoefficientCount> car{};
    car[3] = 0.29f; // basic drag
    car[14] = 1.0f; // yaw per skid angle
    std::array<float, kAeroCoefficientCount> motorcycle{};
    motorcycle[3] = 0.9f;
    motorcycle[14] = 1.0f;
    const std::array<float, kAeroCoefficientCount> aircraft = {
        4.17f,  0,       -0.36f, 0.05f,  0.025f, 0,      -0.37f,  -0.38f,
        0.45f,  -0.057f, -0.19f, 0.03f,  0.027f, 0.004f, 0.14f,   -0.02f,
        -0.28f, 0.0097f, 0.094f, -0.87f, 0.06f,  0.38f,  -0.006f, 0.19f};
    EXPECT_EQ(templated(kVehicleCar).aero.coefficients, car);
    EXPECT_EQ(templated(kVehicleMotorcycle).aero.coefficients, motorcycle);
    EXPECT_EQ(templated(kVehicleAircraft).aero.coefficients, aircraft);
    EXPECT_EQ(templated(kVehicleHelicopter).aero.coefficients,
              (std::array<float, kAeroCoefficientCount>{}));
}

TEST(Template, TireArraysOfEachVehicle) {
    const ObjectRecord car = templated(kVehicleCar);
    EXPECT_EQ((std::array<int, 4>{car.tires.drive[0], car.tires.drive[1], car.tires.drive[2],
                                  car.tires.drive[3]}),
              (std::array<int, 4>{1, 1, 0, 0}));
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(car.tires.brake[static_cast<std::size_t>(k)], 1);
        EXPECT_EQ(car.tires.spring[static_cast<std::size_t>(k)], 0.4f);
        EXPECT_EQ(car.tires.damping[static_cast<std::size_t>(k)], 0.3f);
    }
    const ObjectRecord bike = templated(kVehicleMotorcycle);
    EXPECT_EQ(bike.tires.drive[0], 0);
    EXPECT_EQ(bike.tires.drive[1], 1);
    EXPECT_EQ(bike.tires.spring[1], 0.6f);
    EXPECT_EQ(bike.tires.damping[1], 0.5f);
    const ObjectRecord plane = templated(kVehicleAircraft);
    EXPECT_EQ(plane.tires.spring[0], 0.3f);
    EXPECT_EQ(plane.tires.spring[1], 0.4f);
    EXPECT_EQ(plane.tires.spring[2], 0.4f);
    EXPECT_EQ(plane.tires.brake[2], 1);
    EXPECT_EQ(plane.tires.drive[2], 0);
    EXPECT_EQ(plane.tires.damping[2], 0.5f);
}

TEST(Template, HelicopterOverCarKeepsCarTireEntriesOneToThree) {
    ObjectRecord r = templated(kVehicleCar);
    r.tires.drive[3] = 1; // something the helicopter must not touch
    r.tires.spring[9] = 0.123f;
    const TireSuspension before = r.tires;
    r.vehicleType = kVehicleHelicopter;
    applyTemplate(r);
    EXPECT_EQ(r.tires.drive[0], 0);
    EXPECT_EQ(r.tires.brake[0], 1);
    EXPECT_EQ(r.tires.spring[0], 0.75f);
    EXPECT_EQ(r.tires.damping[0], 0.5f);
    for (std::size_t k = 1; k < kMaxTires; ++k) {
        EXPECT_EQ(r.tires.drive[k], before.drive[k]) << k;
        EXPECT_EQ(r.tires.brake[k], before.brake[k]) << k;
        EXPECT_EQ(r.tires.spring[k], before.spring[k]) << k;
        EXPECT_EQ(r.tires.damping[k], before.damping[k]) << k;
    }
    EXPECT_EQ(r.tires.skid, 0);
    EXPECT_EQ(r.tires.surface, 100);
}

TEST(Template, CarLeftTiresFaceBackwardsSoBothSidesRollForward) {
    const ObjectRecord r = templated(kVehicleCar);
    for (int i = 0; i < 4; ++i) {
        const EffectorRecord& e = effector(r, i);
        const std::string name = recordName(e.name);
        const bool left = name.find("Left") != std::string::npos;
        SCOPED_TRACE(name);
        EXPECT_EQ(e.kind, kEffectorTire);
        EXPECT_EQ(e.offsets[kDofYaw], left ? 180.0f : 0.0f);
        EXPECT_EQ(e.offsets[kDofRight], left ? -2.2907f : 2.2907f);
        EXPECT_EQ(e.scales[kDofPitch], 1.0f);
        EXPECT_EQ(e.drivers[kDofPitch], kDriverTireRoll + i);
        EXPECT_EQ(e.drivers[kDofDown], kDriverStrutCompression + i);
        EXPECT_EQ(e.scales[kDofDown], -1.0f);
        // Only the front tires steer.
        EXPECT_EQ(e.drivers[kDofYaw], i < 2 ? kDriverTireSteer : kDriverNone);
        EXPECT_EQ(e.scales[kDofYaw], i < 2 ? 30.0f : 0.0f);
        EXPECT_EQ(e.radius, 0.9518f);
        EXPECT_EQ(e.width, 0.6726f);
    }
}

TEST(Template, AircraftTiresUseTheirOwnStrutAndRollCodes) {
    const ObjectRecord r = templated(kVehicleAircraft);
    const int tires[] = {1, 3, 5};
    for (int k = 0; k < 3; ++k) {
        const EffectorRecord& e = effector(r, tires[k]);
        EXPECT_EQ(tireNumberOf(r, tires[k]), k);
        EXPECT_EQ(e.drivers[kDofDown], 21 + k);
        EXPECT_EQ(e.drivers[kDofPitch], 31 + k);
        EXPECT_EQ(e.scales[kDofDown], -2.0f);
        EXPECT_EQ(e.offsets[kDofDown], 8.0f);
    }
    // The main gear legs fold sideways as the gear retracts.
    EXPECT_EQ(effector(r, 3).drivers[kDofYaw], kDriverGear);
    EXPECT_EQ(effector(r, 3).scales[kDofYaw], -90.0f);
    EXPECT_EQ(effector(r, 5).scales[kDofYaw], 90.0f);
    EXPECT_EQ(effector(r, 5).offsets[kDofYaw], 180.0f);
    EXPECT_EQ(effector(r, 0).scales, (std::array<float, 6>{1, 1, 1, 1, 90, 1}));
}

TEST(Template, MotorcycleChainFromSteeringHeadToFrontTire) {
    const ObjectRecord r = templated(kVehicleMotorcycle);
    const char* names[] = {"FrontForkPivot", "HandleBars", "FrontFork",
                           "FrontTire",      "RearPivot",  "RearTire"};
    const int parents[] = {-1, 0, 1, 2, -1, 4};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(recordName(effector(r, i).name), names[i]);
        EXPECT_EQ(effector(r, i).parent, parents[i]);
    }
    EXPECT_EQ(effector(r, 0).offsets, (std::array<float, 6>{3.265f, 0, -0.05f, 0, 21.9606f, 0}));
    EXPECT_EQ(effector(r, 2).scales[kDofDown], -0.425f);
    EXPECT_EQ(effector(r, 4).drivers[kDofPitch], kDriverPivot + 1);
    EXPECT_EQ(effector(r, 4).scales[kDofPitch], -14.3925f);
    EXPECT_EQ(effector(r, 4).offsets, (std::array<float, 6>{0.1f, 0, 0.95f, 0, 18.9704f, 0}));
    EXPECT_EQ(effector(r, 5).offsets[kDofForward], -1.6919f);
    EXPECT_EQ(effector(r, 3).radius, 1.07f);
    EXPECT_EQ(effector(r, 5).width, 0.29f);
}

TEST(Template, HelicopterRotors) {
    const ObjectRecord r = templated(kVehicleHelicopter);
    EXPECT_EQ(countTires(r), 0);
    EXPECT_EQ(effector(r, 0).offsets[kDofDown], -7.0f);
    EXPECT_EQ(effector(r, 1).offsets, (std::array<float, 6>{-27.5f, 0.75f, -4.5f, 90.0f, 0, 0}));
    for (int b = 0; b < 4; ++b) {
        const EffectorRecord& main = effector(r, 2 + b);
        const EffectorRecord& tail = effector(r, 6 + b);
        EXPECT_EQ(main.kind, kEffectorBlade);
        EXPECT_EQ(main.parent, 0);
        EXPECT_EQ(main.offsets[kDofYaw], 90.0f * static_cast<float>(b));
        EXPECT_EQ(main.drivers, (std::array<int, 6>{0, 0, 0, 16, 15, 14}));
        EXPECT_EQ(main.radius, 20.0f);
        EXPECT_EQ(main.width, 1.5f);
        EXPECT_EQ(tail.parent, 1);
        EXPECT_EQ(tail.offsets[kDofYaw], 90.0f * static_cast<float>(b));
        EXPECT_EQ(tail.drivers, (std::array<int, 6>{0, 0, 0, 18, 0, 17}));
        EXPECT_EQ(tail.scales, (std::array<float, 6>{0, 0, 0, 1, 0, 1}));
        EXPECT_EQ(tail.radius, 4.0f);
        EXPECT_EQ(tail.width, 0.5f);
    }
}

TEST(Template, EveryEffectorTreeIsConsistent) {
    for (int type = 0; type < 4; ++type) {
        SCOPED_TRACE(type);
        const ObjectRecord r = templated(type);
        EXPECT_TRUE(checkEffectorTree(r));
        std::set<std::string> names;
        for (int i = 0; i < r.effectorCount; ++i) {
            const EffectorRecord& e = effector(r, i);
            EXPECT_TRUE(names.insert(recordName(e.name)).second) << recordName(e.name);
            EXPECT_LE(e.childCount, kMaxChildren);
            // Children name this effector as parent, and every effector naming
            // it as parent is listed as a child.
            int listed = 0;
            for (int j = 0; j < r.effectorCount; ++j) {
                if (effector(r, j).parent == i)
                    ++listed;
            }
            EXPECT_EQ(listed, e.childCount) << i;
            for (int c = 0; c < e.childCount; ++c) {
                EXPECT_EQ(effector(r, e.children[static_cast<std::size_t>(c)]).parent, i);
            }
            // Tire Roll codes carry the effector's own tire number; strut and
            // pivot codes that of the one tire below it.
            for (int code : e.drivers) {
                if (isTireRollCode(code)) {
                    EXPECT_EQ(driverTireNumber(code), tireNumberOf(r, i)) << i;
                }
                if (isStrutCode(code) || isPivotCode(code)) {
                    int below = i;
                    while (tireNumberOf(r, below) < 0) {
                        ASSERT_EQ(effector(r, below).childCount, 1) << i;
                        below = effector(r, below).children[0];
                    }
                    EXPECT_EQ(driverTireNumber(code), tireNumberOf(r, below)) << i;
                }
            }
        }
        EXPECT_LE(countTires(r), kMaxTires);
    }
}

TEST(Template, KeepsWhatItDoesNotOwn) {
    ObjectRecord r;
    resetObject(r);
    r.reserved0 = 77;
    r.role = kRoleDynamic;
    r.recordChannel = 2;
    r.initial.position = {1, 2, 3};
    r.initial.velocity = {4, 5, 6};
    r.tires.tireCount = 7;
    r.nozzleLimit = 45.0f;
    r.aero.aileronLimit = 11.0f;
    r.aero.elevatorLimit = 12.0f;
    r.aero.rudderLimit = 13.0f;
    r.effectorCount = 12;
    setRecordName(r.effectors[11].name, "Spare");
    r.effectors[0].children = {9, 9, 9, 9, 9, 9};
    r.effectors[5].children = {8, 8, 8, 8, 8, 8};
    r.vehicleType = kVehicleMotorcycle;
    applyTemplate(r);
    EXPECT_EQ(r.reserved0, 77);
    EXPECT_EQ(r.role, kRoleDynamic);
    EXPECT_EQ(r.recordChannel, 2);
    EXPECT_EQ(r.initial.position, (std::array<float, 3>{1, 2, 3}));
    EXPECT_EQ(r.initial.velocity, (std::array<float, 3>{4, 5, 6}));
    EXPECT_EQ(r.tires.tireCount, 7);
    EXPECT_EQ(r.nozzleLimit, 45.0f);
    EXPECT_EQ(r.aero.aileronLimit, 11.0f);
    EXPECT_EQ(r.aero.elevatorLimit, 12.0f);
    EXPECT_EQ(r.aero.rudderLimit, 13.0f);
    EXPECT_EQ(r.effectorCount, 6);
    EXPECT_EQ(recordName(r.effectors[11].name), "Spare");
    // Child slots beyond the row's child count are left as they were.
    EXPECT_EQ(r.effectors[0].children, (std::array<int, 6>{1, 9, 9, 9, 9, 9}));
    EXPECT_EQ(r.effectors[5].children, (std::array<int, 6>{8, 8, 8, 8, 8, 8}));
}

TEST(Template, OverwritesEverythingItOwns) {
    // Applying over a record full of other values gives the same bytes in
    // every owned field as applying over a reset record.
    for (int type = 0; type < 4; ++type) {
        SCOPED_TRACE(type);
        ObjectRecord dirty;
        resetObject(dirty);
        dirty.vehicleType = (type + 2) % 4;
        applyTemplate(dirty);
        dirty.aero.initialAoa = 0.3f;
        dirty.engineScale = 2.0f;
        dirty.transparency = kClear;
        dirty.geometryTransform.scale = {2, 2, 2};
        dirty.mass.massScale = {3, 3, 3, 3};
        dirty.vehicleType = type;
        applyTemplate(dirty);
        ObjectRecord clean = templated(type);
        clean.effectorCount = dirty.effectorCount;
        for (int i = 0; i < clean.effectorCount; ++i) {
            auto& e = clean.effectors[static_cast<std::size_t>(i)];
            const auto& d = dirty.effectors[static_cast<std::size_t>(i)];
            for (int c = e.childCount; c < kMaxChildren; ++c) {
                e.children[static_cast<std::size_t>(c)] = d.children[static_cast<std::size_t>(c)];
            }
        }
        for (int i = clean.effectorCount; i < kMaxEffectors; ++i) {
            clean.effectors[static_cast<std::size_t>(i)] =
                dirty.effectors[static_cast<std::size_t>(i)];
        }
        clean.tires = dirty.tires; // entries beyond the template's own tires differ
        EXPECT_EQ(encodeObject(dirty), encodeObject(clean));
    }
}

TEST(Template, OtherVehicleTypesGetOnlyTheDefaultTransform) {
    for (int type : {-1, 4, 1000}) {
        ObjectRecord r;
        resetObject(r);
        r.vehicleType = type;
        r.enginePower = 12.0f;
        r.geometryTransform.rotate = {10, 20, 30};
        r.geometryTransform.rightHanded = 0;
        ObjectRecord expected = r;
        expected.geometryTransform = GeometryTransform{};
        applyTemplate(r);
        EXPECT_EQ(encodeObject(r), encodeObject(expected)) << type;
    }
}

} // namespace
} // namespace kv::model
