#include "simulation/contact/contact_setup.h"

#include "common/unit_constants.h"
#include "geometry/mesh_store.h"
#include "model/driver_codes.h"
#include "simulation/contact/contact_geometry.h"
#include "simulation/contact/tire_model.h"
#include "simulation/environment/environment.h"

#include <algorithm>
#include <cmath>

namespace kv::sim {

namespace {

/// Maximum strut compression of tire `tire` (ft): the Down travel of its
/// struts, or the arc its pivot sweeps at the tire's attachment point.
float travelOf(const model::ObjectRecord& r, const GroundContactState& g, int tire,
               const Vec3& attach, bool& pivoted) {
    float travel = 0.0f;
    pivoted = false;
    const int count = std::clamp(r.effectorCount, 0, model::kMaxEffectors);
    for (int e = 0; e < count; ++e) {
        const model::EffectorRecord& eff = r.effectors[static_cast<std::size_t>(e)];
        if (eff.drivers[2] == model::kDriverStrutCompression + tire) {
            travel -= eff.scales[2];
        }
    }
    for (int e = 0; e < count; ++e) {
        const model::EffectorRecord& eff = r.effectors[static_cast<std::size_t>(e)];
        if (eff.drivers[4] == model::kDriverPivot + tire) {
            const EffectorPose pivot = effectorPose(g, e, ControlBlock{});
            Vec3 d;
            VecSub(attach, pivot.position, d);
            travel = VecLength(d) * std::fabs(eff.scales[4]) * kRadPerDeg;
            pivoted = true;
        }
    }
    return travel;
}

} // namespace

void SetUpContacts(const model::ObjectRecord& record, SimObject& obj, float dt,
                   const GroundQuery* ground, std::span<const Vec3> contactVertices) {
    GroundContactState& g = obj.groundContact;
    g = GroundContactState{};
    g.dt = dt;
    g.ground = ground;

    const model::TireSuspension& ts = record.tires;
    g.detailed = ts.skid == 1;
    g.tireType = ts.tireType;
    g.grip = detailedGripFromSurface(ts.surface);
    g.braking = ts.braking;

    g.treeSize = std::clamp(record.effectorCount, 0, model::kMaxEffectors);
    for (int e = 0; e < g.treeSize; ++e) {
        const model::EffectorRecord& src = record.effectors[static_cast<std::size_t>(e)];
        ContactTreeNode& n = g.tree[static_cast<std::size_t>(e)];
        n.parent = src.parent;
        n.drivers = src.drivers;
        n.offsets = src.offsets;
        n.scales = src.scales;
        if (src.kind == model::kEffectorBlade) {
            ++g.bladeCount;
        }
        const bool contact = src.kind == model::kEffectorTire || src.kind == model::kEffectorSkid;
        if (!contact || g.effectorCount >= model::kMaxTires) {
            continue;
        }
        ContactEffector& c = g.effectors[static_cast<std::size_t>(g.effectorCount++)];
        c.effector = e;
        c.isTire = src.kind == model::kEffectorTire;
        c.radius = src.radius;
        c.width = src.width;
    }

    const float m = obj.mass;
    for (int i = 0; i < g.effectorCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        ContactEffector& c = g.effectors[k];
        c.braked = ts.brake[k] != 0;
        c.driven = ts.drive[k] != 0;
        if (c.driven) {
            ++g.drivenCount;
        }
        c.springFraction = ts.spring[k];
        c.dampingFraction = ts.damping[k];
        c.wheelInertia = c.isTire ? wheelInertiaFor(c.radius) : 0.0f;
        const EffectorPose rest = effectorPose(g, c.effector, ControlBlock{});
        // A strut whose Down scale extends the wheel as it compresses would
        // give a negative travel; such a wheel carries no load, like one
        // without a strut.
        c.travel = MaxOf(travelOf(record, g, i, rest.position, c.pivoted), 0.0f);
        if (c.travel > 0.0f) {
            c.stiffness = m * kStandardGravity / (MaxOf(1.0f - c.springFraction, 0.01f) * c.travel);
            c.damping = 2.0f * c.dampingFraction * std::sqrt(c.stiffness * m);
        }
    }
    obj.contact.tireCount = g.effectorCount;

    g.bodyStiffness = m * kStandardGravity / (2.0f * MaxOf(1.0f - record.collisionSpring, 0.01f));
    g.bodyDamping = 2.0f * record.collisionDamping * std::sqrt(g.bodyStiffness * m);
    g.friction = record.collisionFriction;
    g.points.reserve(contactVertices.size());
    for (const Vec3& v : contactVertices) {
        g.points.push_back({v[0] * kFeetPerMetre, v[1] * kFeetPerMetre, v[2] * kFeetPerMetre});
        g.pointReach = MaxOf(g.pointReach, VecLength(g.points.back()));
    }
    g.penetration.assign(g.points.size(), 0.0f);
    g.anchors.assign(g.points.size(), Vec3{});
    g.held.assign(g.points.size(), 0);
}

std::vector<Vec3> contactVerticesOf(const geom::MeshStore* meshes, int objectIndex) {
    std::vector<Vec3> points;
    if (meshes == nullptr || !meshes->hasStore() || objectIndex < 0 ||
        objectIndex >= meshes->slotCount()) {
        return points;
    }
    const geom::SlotMesh& m = meshes->mesh(objectIndex);
    const int count = std::clamp(m.vertexCount, 0, geom::kMaxMeshVertices);
    for (int i = 0; i < count; ++i) {
        if (m.vertexActive[static_cast<std::size_t>(i)] != 0) {
            points.push_back(m.vertices[static_cast<std::size_t>(i)]);
        }
    }
    return points;
}

} // namespace kv::sim
