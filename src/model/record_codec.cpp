#include "model/record_codec.h"

#include <type_traits>

namespace kv::model {
namespace {

// `R` is the record or its const version; `V` is a ByteWriter or a ByteReader.
// Both visitors take their fields by reference, so one field list serves both.

template <class R, class V> void visitInitial(R& r, V& v) {
    v.f32(r.position);
    v.f32(r.attitude);
    v.f32(r.rates);
    v.f32(r.velocity);
}

template <class R, class V> void visitMass(R& r, V& v) {
    v.f32(r.mass);
    v.f32(r.inertia);
    v.f32(r.massScale);
    v.f32(r.rollPitchCoupling);
    v.f32(r.rollYawCoupling);
    v.f32(r.pitchYawCoupling);
}

template <class R, class V> void visitTires(R& r, V& v) {
    v.i32(r.tireCount);
    v.i32(r.skid);
    v.i32(r.tireType);
    v.i32(r.surface);
    v.i32(r.drive);
    v.i32(r.brake);
    v.f32(r.braking);
    v.f32(r.spring);
    v.f32(r.damping);
}

template <class R, class V> void visitAero(R& r, V& v) {
    v.i32(r.aeroModel);
    v.f32(r.span);
    v.f32(r.area);
    v.f32(r.aspectRatio);
    v.f32(r.initialAoa);
    v.f32(r.aileronLimit);
    v.f32(r.elevatorLimit);
    v.f32(r.rudderLimit);
    v.f32(r.coefficients);
}

template <class R, class V> void visitTransform(R& r, V& v) {
    v.i32(r.rightHanded);
    v.f32(r.fileUnit);
    v.f32(r.rotate);
    v.f32(r.translate);
    v.f32(r.scale);
}

template <class R, class V> void visitEffector(R& r, V& v) {
    v.i32(r.kind);
    v.i32(r.parent);
    v.i32(r.childCount);
    v.i32(r.children);
    v.i32(r.drivers);
    v.f32(r.offsets);
    v.f32(r.scales);
    v.f32(r.radius);
    v.f32(r.width);
    v.chars(r.name);
}

template <class R, class V> void visitObject(R& r, V& v) {
    v.i32(r.reserved0);
    v.i32(r.vehicleType);
    v.i32(r.role);
    v.i32(r.recordChannel);
    v.chars(r.name);
    visitInitial(r.initial, v);
    visitMass(r.mass, v);
    visitTires(r.tires, v);
    v.i32(r.engineType);
    v.f32(r.nozzleLimit);
    v.f32(r.enginePower);
    v.f32(r.engineScale);
    visitAero(r.aero, v);
    v.f32(r.collisionFriction);
    v.f32(r.collisionSpring);
    v.f32(r.collisionDamping);
    visitTransform(r.geometryTransform, v);
    v.i32(r.color);
    v.i32(r.transparency);
    v.i32(r.effectorCount);
    for (auto& e : r.effectors) {
        visitEffector(e, v);
    }
}

/// Writer whose field calls accept const values, to walk a const record.
struct ConstWriter {
    io::ByteWriter w;
    void i32(std::int32_t x) { w.i32(x); }
    void f32(float x) { w.f32(x); }
    template <std::size_t N> void i32(const std::array<std::int32_t, N>& a) { w.i32(a); }
    template <std::size_t N> void f32(const std::array<float, N>& a) { w.f32(a); }
    template <std::size_t N> void chars(const std::array<char, N>& a) { w.chars(a); }
};

} // namespace

void encodeObject(const ObjectRecord& r, std::span<std::uint8_t, kObjectRecordSize> out) {
    ConstWriter v{io::ByteWriter(out)};
    visitObject(r, v);
}

ObjectImage encodeObject(const ObjectRecord& r) {
    ObjectImage img{};
    encodeObject(r, img);
    return img;
}

void decodeObject(std::span<const std::uint8_t, kObjectRecordSize> in, ObjectRecord& r) {
    io::ByteReader v(in);
    visitObject(r, v);
}

void encodeEffector(const EffectorRecord& e, std::span<std::uint8_t, kEffectorRecordSize> out) {
    ConstWriter v{io::ByteWriter(out)};
    visitEffector(e, v);
}

void decodeEffector(std::span<const std::uint8_t, kEffectorRecordSize> in, EffectorRecord& e) {
    io::ByteReader v(in);
    visitEffector(e, v);
}

void encodeTransform(const GeometryTransform& t,
                     std::span<std::uint8_t, kGeometryTransformSize> out) {
    ConstWriter v{io::ByteWriter(out)};
    visitTransform(t, v);
}

void decodeTransform(std::span<const std::uint8_t, kGeometryTransformSize> in,
                     GeometryTransform& t) {
    io::ByteReader v(in);
    visitTransform(t, v);
}

} // namespace kv::model
