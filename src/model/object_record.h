#pragma once
/// The vehicle object record and its blocks. These are plain data stored byte
/// for byte in object, motion and project files: the in-memory layout below is
/// the file layout (checked at compile time), and the codecs in
/// record_codec.h read and write it explicitly as little-endian fields.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kv::model {

inline constexpr int kMaxEffectors = 30;      ///< effectors per object
inline constexpr int kMaxChildren = 6;        ///< children per effector
inline constexpr int kMaxTires = 10;          ///< tire and skid effectors per object
inline constexpr int kNameChars = 256;        ///< name field size, NUL included
inline constexpr int kMaxNameLength = 255;    ///< usable characters of a name
inline constexpr int kAeroCoefficientCount = 24;

enum VehicleType : std::int32_t {
    kVehicleNone = -1, ///< camera, static object or motion-only object
    kVehicleCar = 0,
    kVehicleMotorcycle = 1,
    kVehicleAircraft = 2,
    kVehicleHelicopter = 3,
};

enum Role : std::int32_t {
    kRoleInteractive = 0, ///< simulated: slot 0, or an interactive object that collides with it
    kRoleDynamic = 1,     ///< plays back its motion, takes no part in collisions
    kRoleStatic = 2,      ///< geometry only, no motion
};

enum EffectorKind : std::int32_t {
    kEffectorBasic = 0,
    kEffectorTire = 1,
    kEffectorBlade = 2,
    kEffectorSound = 3,
    kEffectorSkid = 4,
};

enum EngineType : std::int32_t {
    kEngineNone = 0,
    kEnginePropeller = 1,  ///< power in hp
    kEngineJet = 2,        ///< thrust in lbf
    kEngineDuctedFan = 3,  ///< power in hp
    kEngineVtolJet = 4,    ///< thrust in lbf
    kEngineCar = 5,        ///< power in hp
    kEngineMotorcycle = 6, ///< power in hp
    kEngineHelicopter = 7, ///< power not used
    kEngineUfo = 8,        ///< speed in knots
    kEngineSpacecraft = 9, ///< thrust in lbf
};

enum AeroModel : std::int32_t {
    kAeroF16 = 0,
    kAeroF4 = 1,
    kAero747 = 2,
    kAeroLinear = 3,
};

enum Transparency : std::int32_t { kSolid = 0, kSmoky = 1, kClear = 2 };

inline constexpr std::int32_t kColorBlack = 16;
inline constexpr std::int32_t kColorWhite = 19;
inline constexpr int kColorCount = 20;

/// Degree-of-freedom index within an effector's six drivers, offsets and scales.
enum Dof : int { kDofForward = 0, kDofRight, kDofDown, kDofRoll, kDofPitch, kDofYaw };

/// Initial state of an object at the start of a run (48 bytes).
struct InitialConditions {
    std::array<float, 3> position{};   ///< north, east, down (ft, world frame)
    std::array<float, 3> attitude{};   ///< roll, pitch, yaw (deg)
    std::array<float, 3> rates{};      ///< roll, pitch, yaw rate (deg/s, body axes)
    std::array<float, 3> velocity{};   ///< forward, right, down (ft/s, body axes)
};

/// Mass and inertia with the scale factors applied at run start (68 bytes).
struct MassProperties {
    float mass = 0.0f;                 ///< mass (slug); 1.0e30 in a reset record
    std::array<float, 9> inertia{};    ///< inertia tensor, row order (slug*ft^2)
    std::array<float, 4> massScale{};  ///< factors of mass, Ixx, Iyy, Izz
    float rollPitchCoupling = 0.0f;    ///< factor of the xy pair of inertia elements
    float rollYawCoupling = 0.0f;      ///< factor of the xz pair
    float pitchYawCoupling = 0.0f;     ///< factor of the yz pair
};

/// Tire and suspension settings; tires are numbered by their order among the
/// Tire and Skid effectors (180 bytes).
struct TireSuspension {
    std::int32_t tireCount = 0;        ///< tire and skid effectors, derived at run start
    std::int32_t skid = 0;             ///< 1: wheels may lock ("Skid")
    std::int32_t tireType = 0;         ///< 2 Bias Ply, 1 Radial, 3 Sport
    std::int32_t surface = 0;          ///< road grip in half-percent (200 = 100 %)
    std::array<std::int32_t, kMaxTires> drive{}; ///< 1 when tire k is driven
    std::array<std::int32_t, kMaxTires> brake{}; ///< 1 when tire k brakes
    float braking = 0.0f;              ///< braking strength fraction 0..2
    std::array<float, kMaxTires> spring{};  ///< suspension spring strength fraction of tire k
    std::array<float, kMaxTires> damping{}; ///< 1 - bounce fraction of tire k
};

/// Aerodynamic model selection and the linear model's data (128 bytes).
struct AeroData {
    std::int32_t aeroModel = 0;        ///< see AeroModel
    float span = 0.0f;                 ///< wing span (ft)
    float area = 0.0f;                 ///< reference area (ft^2); frontal area for ground vehicles
    float aspectRatio = 0.0f;          ///< aspect ratio
    float initialAoa = 0.0f;           ///< initial angle of attack (rad)
    float aileronLimit = 0.0f;         ///< max aileron deflection (deg), derived at run start
    float elevatorLimit = 0.0f;        ///< max elevator deflection (deg), derived at run start
    float rudderLimit = 0.0f;          ///< max rudder deflection (deg), derived at run start
    std::array<float, kAeroCoefficientCount> coefficients{}; ///< linear model, stored order
};

/// Transform applied to imported geometry (44 bytes).
struct GeometryTransform {
    std::int32_t rightHanded = 1;      ///< 1 right-hand file coordinates, 0 left-hand
    float fileUnit = 1.0f;             ///< metres per file unit
    std::array<float, 3> rotate{};     ///< roll, pitch, yaw (deg)
    std::array<float, 3> translate{};  ///< forward, right, down (m)
    std::array<float, 3> scale{1.0f, 1.0f, 1.0f}; ///< longitudinal, lateral, vertical factors
};

/// One animated part of an object (372 bytes).
struct EffectorRecord {
    std::int32_t kind = 0;             ///< see EffectorKind
    std::int32_t parent = -1;          ///< parent effector index, -1 for none
    std::int32_t childCount = 0;       ///< 0..6
    std::array<std::int32_t, kMaxChildren> children{}; ///< child indices
    std::array<std::int32_t, 6> drivers{}; ///< driver code per degree of freedom
    std::array<float, 6> offsets{};    ///< rest values: ft, ft, ft, deg, deg, deg
    std::array<float, 6> scales{};     ///< gain per unit of the driving quantity
    float radius = 0.0f;               ///< tire radius or blade length (ft)
    float width = 0.0f;                ///< tire width or blade chord (ft)
    std::array<char, kNameChars> name{}; ///< NUL-terminated name, unique in the object
};

/// A vehicle, a camera or a scenery object (11940 bytes).
struct ObjectRecord {
    std::int32_t reserved0 = 0;        ///< meaning not defined; preserved as read
    std::int32_t vehicleType = 0;      ///< see VehicleType
    std::int32_t role = 0;             ///< see Role
    std::int32_t recordChannel = -1;   ///< live record channel of the current run, -1 if none
    std::array<char, kNameChars> name{};
    InitialConditions initial;
    MassProperties mass;
    TireSuspension tires;
    std::int32_t engineType = 0;       ///< see EngineType
    float nozzleLimit = 0.0f;          ///< max nozzle angle (deg), derived at run start
    float enginePower = 0.0f;          ///< hp, lbf or knots by engine type; never negative
    float engineScale = 1.0f;          ///< power factor of the engine model
    AeroData aero;
    float collisionFriction = 0.0f;    ///< friction fraction 0..1
    float collisionSpring = 0.0f;      ///< spring strength fraction 0..1
    float collisionDamping = 0.0f;     ///< 1 - bounce fraction
    GeometryTransform geometryTransform;
    std::int32_t color = 0;            ///< colour code 0..19
    std::int32_t transparency = 0;     ///< see Transparency
    std::int32_t effectorCount = 0;    ///< effectors in use, 0..30
    std::array<EffectorRecord, kMaxEffectors> effectors{};
};

// The stored layout. Every block is a run of 4-byte fields, so the natural
// layout has no padding and matches the file image field for field.
static_assert(sizeof(InitialConditions) == 48);
static_assert(sizeof(MassProperties) == 68);
static_assert(offsetof(MassProperties, inertia) == 4);
static_assert(offsetof(MassProperties, massScale) == 40);
static_assert(offsetof(MassProperties, rollPitchCoupling) == 56);
static_assert(offsetof(MassProperties, rollYawCoupling) == 60);
static_assert(offsetof(MassProperties, pitchYawCoupling) == 64);
static_assert(sizeof(TireSuspension) == 180);
static_assert(offsetof(TireSuspension, drive) == 16);
static_assert(offsetof(TireSuspension, brake) == 56);
static_assert(offsetof(TireSuspension, braking) == 96);
static_assert(offsetof(TireSuspension, spring) == 100);
static_assert(offsetof(TireSuspension, damping) == 140);
static_assert(sizeof(AeroData) == 128);
static_assert(offsetof(AeroData, span) == 4);
static_assert(offsetof(AeroData, initialAoa) == 16);
static_assert(offsetof(AeroData, aileronLimit) == 20);
static_assert(offsetof(AeroData, coefficients) == 32);
static_assert(sizeof(GeometryTransform) == 44);
static_assert(offsetof(GeometryTransform, fileUnit) == 4);
static_assert(offsetof(GeometryTransform, rotate) == 8);
static_assert(offsetof(GeometryTransform, translate) == 20);
static_assert(offsetof(GeometryTransform, scale) == 32);
static_assert(sizeof(EffectorRecord) == 372);
static_assert(offsetof(EffectorRecord, parent) == 4);
static_assert(offsetof(EffectorRecord, childCount) == 8);
static_assert(offsetof(EffectorRecord, children) == 12);
static_assert(offsetof(EffectorRecord, drivers) == 36);
static_assert(offsetof(EffectorRecord, offsets) == 60);
static_assert(offsetof(EffectorRecord, scales) == 84);
static_assert(offsetof(EffectorRecord, radius) == 108);
static_assert(offsetof(EffectorRecord, width) == 112);
static_assert(offsetof(EffectorRecord, name) == 116);
static_assert(sizeof(ObjectRecord) == 11940);
static_assert(offsetof(ObjectRecord, vehicleType) == 4);
static_assert(offsetof(ObjectRecord, role) == 8);
static_assert(offsetof(ObjectRecord, recordChannel) == 12);
static_assert(offsetof(ObjectRecord, name) == 16);
static_assert(offsetof(ObjectRecord, initial) == 272);
static_assert(offsetof(ObjectRecord, mass) == 320);
static_assert(offsetof(ObjectRecord, tires) == 388);
static_assert(offsetof(ObjectRecord, engineType) == 568);
static_assert(offsetof(ObjectRecord, nozzleLimit) == 572);
static_assert(offsetof(ObjectRecord, enginePower) == 576);
static_assert(offsetof(ObjectRecord, engineScale) == 580);
static_assert(offsetof(ObjectRecord, aero) == 584);
static_assert(offsetof(ObjectRecord, collisionFriction) == 712);
static_assert(offsetof(ObjectRecord, collisionSpring) == 716);
static_assert(offsetof(ObjectRecord, collisionDamping) == 720);
static_assert(offsetof(ObjectRecord, geometryTransform) == 724);
static_assert(offsetof(ObjectRecord, color) == 768);
static_assert(offsetof(ObjectRecord, transparency) == 772);
static_assert(offsetof(ObjectRecord, effectorCount) == 776);
static_assert(offsetof(ObjectRecord, effectors) == 780);

inline constexpr std::size_t kObjectRecordSize = sizeof(ObjectRecord);
inline constexpr std::size_t kEffectorRecordSize = sizeof(EffectorRecord);
inline constexpr std::size_t kGeometryTransformSize = sizeof(GeometryTransform);

} // namespace kv::model
