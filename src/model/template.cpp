#include "model/template.h"

#include "model/object_model.h"
#include "model/template_data.h"

#include <cstddef>

namespace kv::model {

namespace {

void writeEffectors(ObjectRecord& r, const VehicleTemplate& t) {
    r.effectorCount = static_cast<std::int32_t>(t.effectors.size());
    for (std::size_t i = 0; i < t.effectors.size(); ++i) {
        const TemplateEffector& row = t.effectors[i];
        EffectorRecord& e = r.effectors[i];
        e.kind = row.kind;
        e.parent = row.parent;
        e.childCount = row.childCount;
        for (int c = 0; c < row.childCount; ++c) {
            e.children[static_cast<std::size_t>(c)] = row.children[static_cast<std::size_t>(c)];
        }
        e.drivers = row.drivers;
        e.offsets = row.offsets;
        e.scales = row.scales;
        e.radius = row.radius;
        e.width = row.width;
        setRecordName(e.name, row.name);
    }
}

void writeTires(TireSuspension& s, const VehicleTemplate& t) {
    s.skid = t.skid;
    s.tireType = t.tireType;
    s.surface = t.surface;
    for (std::size_t k = 0; k < t.tires.size(); ++k) {
        s.drive[k] = t.tires[k].drive;
        s.brake[k] = t.tires[k].brake;
        s.spring[k] = t.tires[k].spring;
        s.damping[k] = t.tires[k].damping;
    }
    s.braking = t.braking;
}

void writeAero(AeroData& a, const VehicleTemplate& t) {
    a.aeroModel = kAeroLinear;
    a.span = t.span;
    a.area = t.area;
    a.aspectRatio = t.aspectRatio;
    a.initialAoa = 0.0f;
    a.coefficients = t.coefficients;
}

void writeMass(MassProperties& m, const VehicleTemplate& t) {
    m.mass = t.mass;
    std::array<float, 3> moment{};
    for (std::size_t i = 0; i < 3; ++i) {
        // The car's moments scale with its stored (single-precision) mass; the
        // product is formed in double and rounded once.
        moment[i] = t.inertiaPerMass
                        ? static_cast<float>(static_cast<double>(m.mass) * t.inertia[i])
                        : static_cast<float>(t.inertia[i]);
    }
    // Every off-diagonal element holds the roll moment; the couplings scale the
    // pairs into products of inertia at run start.
    m.inertia = {moment[0], moment[0], moment[0], moment[0], moment[1],
                 moment[0], moment[0], moment[0], moment[2]};
    m.massScale = {1.0f, 1.0f, 1.0f, 1.0f};
    m.rollPitchCoupling = t.couplings[0];
    m.rollYawCoupling = t.couplings[1];
    m.pitchYawCoupling = t.couplings[2];
}

} // namespace

void applyTemplate(ObjectRecord& r) {
    const VehicleTemplate* t = vehicleTemplate(r.vehicleType);
    if (t == nullptr) {
        r.geometryTransform = GeometryTransform{};
        return;
    }
    writeEffectors(r, *t);
    writeTires(r.tires, *t);
    writeAero(r.aero, *t);
    writeMass(r.mass, *t);
    r.engineType = t->engineType;
    r.enginePower = t->enginePower;
    r.engineScale = 1.0f;
    r.collisionFriction = t->collisionFriction;
    r.collisionSpring = t->collisionSpring;
    r.collisionDamping = t->collisionDamping;
    r.color = t->color;
    r.transparency = kSolid;
    r.geometryTransform = GeometryTransform{};
    setRecordName(r.name, t->name);
}

} // namespace kv::model
