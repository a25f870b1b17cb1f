#pragma once
/// Constant data of the built-in vehicles, in the record's units (ft, slug,
/// slug*ft^2, deg, fractions).

#include "model/object_record.h"

#include <array>
#include <cstdint>
#include <span>

namespace kv::model {

/// One row of a template's effector list.
struct TemplateEffector {
    const char* name;
    std::int32_t kind;       ///< see EffectorKind
    std::int32_t parent;     ///< -1 for none
    std::int32_t childCount; ///< children written; later slots are left alone
    std::array<std::int32_t, kMaxChildren> children;
    std::array<std::int32_t, 6> drivers; ///< driver code per degree of freedom
    std::array<float, 6> offsets;        ///< ft, ft, ft, deg, deg, deg
    std::array<float, 6> scales;         ///< gain per unit of the driving quantity
    float radius;                        ///< tire radius or blade length (ft)
    float width;                         ///< tire width or blade chord (ft)
};

/// Tire settings of one of a template's own tires.
struct TemplateTire {
    std::int32_t drive; ///< 1 when driven
    std::int32_t brake; ///< 1 when braking
    float spring;       ///< suspension spring strength fraction
    float damping;      ///< 1 - bounce fraction
};

/// Everything a template writes into an object record.
struct VehicleTemplate {
    const char* name;
    std::int32_t engineType; ///< see EngineType
    float enginePower;       ///< hp or lbf by engine type
    float collisionFriction; ///< fraction 0..1
    float collisionSpring;   ///< fraction 0..1
    float collisionDamping;  ///< 1 - bounce fraction
    std::int32_t color;      ///< colour code 0..19
    float mass;              ///< slug
    /// Roll, pitch and yaw moments of inertia (slug*ft^2). For the Car they are
    /// factors of the single-precision mass, multiplied in double precision.
    std::array<double, 3> inertia;
    bool inertiaPerMass;            ///< `inertia` holds factors of the mass
    std::array<float, 3> couplings; ///< roll/pitch, roll/yaw, pitch/yaw scale factors
    std::int32_t skid;              ///< 1: wheels may lock
    std::int32_t tireType;          ///< 2 Bias Ply, 1 Radial, 3 Sport
    std::int32_t surface;           ///< grip in half-percent
    float braking;                  ///< braking strength fraction
    std::span<const TemplateTire> tires;
    float span; ///< wing span (ft)
    float area; ///< reference area (ft^2)
    float aspectRatio;
    std::array<float, kAeroCoefficientCount> coefficients; ///< linear model, stored order
    std::span<const TemplateEffector> effectors;
};

/// The template of vehicle type 0..3, or nullptr for any other type.
const VehicleTemplate* vehicleTemplate(int vehicleType);

} // namespace kv::model
