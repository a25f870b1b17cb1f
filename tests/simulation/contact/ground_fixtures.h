#pragma once
// Fake grounds and set-up helpers for the contact tests.

#include "geometry/mesh_store.h"
#include "model/object_model.h"
#include "model/object_record.h"
#include "model/template.h"
#include "model/template_mesh.h"
#include "simulation/body/body_setup.h"
#include "simulation/contact/contact_setup.h"
#include "simulation/contact/ground_query.h"
#include "simulation/sim_fixtures.h"
#include "simulation/sim_object.h"
#include "simulation/step_object.h"
#include "support/fake_ports.h"

#include <cmath>
#include <memory>
#include <vector>

namespace kv::test {

/// A plane through (0, 0, `down`) rising `grade` ft per ft towards north.
class SlopedGround final : public sim::GroundQuery {
  public:
    SlopedGround(float grade, float down = 0.0f) : grade_(grade), down_(down) {}
    float height(sim::GroundCursor&, bool, float north, float) const override {
        return down_ - grade_ * north;
    }
    sim::GroundPoint heightAndNormal(sim::GroundCursor& c, bool reset, float north,
                                     float east) const override {
        const float len = std::sqrt(grade_ * grade_ + 1.0f);
        return sim::GroundPoint{height(c, reset, north, east), {-grade_ / len, 0.0f, -1.0f / len}};
    }

  private:
    float grade_;
    float down_;
};

/// Runs physics steps of one object.
struct Stepper {
    float dt = 1.0f / 120.0f;
    sim::Environment environment;
    RecordingMessages messages;
    bool stop = false;
    void step(sim::SimObject& obj) {
        const sim::StepContext ctx{dt, environment, messages, stop};
        sim::StepObject(obj, ctx);
    }
};

/// An object record filled from the built-in template of `vehicleType`.
inline model::ObjectRecord templateRecord(int vehicleType) {
    model::ObjectRecord r;
    model::resetObject(r);
    r.vehicleType = vehicleType;
    model::applyTemplate(r);
    r.tires.tireCount = model::countTires(r);
    return r;
}

/// The contact vertices (m) of the built-in mesh of `vehicleType`.
inline std::vector<Vec3> templateContactVertices(int vehicleType) {
    RecordingMessages messages;
    geom::MeshStore store(messages);
    store.allocate(1);
    store.clearGeometry(0);
    model::loadTemplateMesh(vehicleType,
                            [&](const std::array<double, 12>& c) { return store.addFace(c); });
    store.thinContactVertices(0);
    return sim::contactVerticesOf(&store, 0);
}

/// A simulated object set up from `r` with `points` as its geometry.
inline std::unique_ptr<sim::SimObject> setUpObject(const model::ObjectRecord& r,
                                                   const sim::GroundQuery* ground,
                                                   const std::vector<Vec3>& points = {},
                                                   float dt = 1.0f / 120.0f) {
    auto obj = std::make_unique<sim::SimObject>();
    sim::setUpBody(*obj, r);
    sim::SetUpContacts(r, *obj, dt, ground, points);
    return obj;
}

/// A car-like record: four tires at the corners of a 6 x 4 ft rectangle, 1 ft
/// below the centre of gravity, each on a 1 ft strut, radius 1 ft.
inline model::ObjectRecord boxCar(int skid = 0) {
    model::ObjectRecord r;
    model::resetObject(r);
    model::setRecordName(r.name, "BoxCar");
    r.mass.mass = 60.0f;
    r.mass.inertia = {300.0f, 0.0f, 0.0f, 0.0f, 1000.0f, 0.0f, 0.0f, 0.0f, 1200.0f};
    r.effectorCount = 4;
    const float xs[4] = {3.0f, 3.0f, -3.0f, -3.0f};
    const float ys[4] = {-2.0f, 2.0f, -2.0f, 2.0f};
    for (int i = 0; i < 4; ++i) {
        model::EffectorRecord& e = r.effectors[static_cast<std::size_t>(i)];
        e.kind = model::kEffectorTire;
        e.parent = -1;
        e.drivers = {0, 0, 21 + i, 0, 31 + i, 0};
        e.offsets = {xs[i], ys[i], 1.0f, 0.0f, 0.0f, 0.0f};
        e.scales = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
        e.radius = 1.0f;
        e.width = 0.6f;
        r.tires.brake[static_cast<std::size_t>(i)] = 1;
        r.tires.spring[static_cast<std::size_t>(i)] = 0.4f;
        r.tires.damping[static_cast<std::size_t>(i)] = 0.3f;
    }
    r.tires.drive[0] = 1;
    r.tires.drive[1] = 1;
    r.tires.skid = skid;
    r.tires.tireType = 1;
    r.tires.surface = 200;
    r.tires.braking = 1.0f;
    r.collisionFriction = 0.5f;
    r.collisionSpring = 0.4f;
    r.collisionDamping = 0.2f;
    return r;
}

} // namespace kv::test
