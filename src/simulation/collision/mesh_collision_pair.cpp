#include "simulation/collision/mesh_collision_pair.h"

#include "common/unit_constants.h"

#include <vector>

namespace kv::sim {

namespace {} // namespace

void MeshCollisionPair::buildModels(std::span<const model::ObjectRecord> /*objects*/,
                                    std::span<const int> objectIndices) {
    modelCount_ = 0;
    if (!meshes_.hasStore()) {
        return;
    }
    for (const int index : objectIndices) {
        if (modelCount_ >= static_cast<int>(models_.size()) || index < 0 ||
            index >= meshes_.slotCount()) {
            break;
        }
        collision::Model& m = models_[static_cast<std::size_t>(modelCount_)];
        collision::beginModel(m);
        const geom::SlotMesh& mesh = meshes_.mesh(index);
        for (std::int32_t t = 0; t < mesh.triangleCount; ++t) {
            const auto& tri = mesh.triangles[static_cast<std::size_t>(t)];
            collision::addTri(m, mesh.vertices[static_cast<std::size_t>(tri[0])],
                              mesh.vertices[static_cast<std::size_t>(tri[1])],
                              mesh.vertices[static_cast<std::size_t>(tri[2])], t);
        }
        collision::endModel(m);
        ++modelCount_;
    }
}

void storeObjectContact(SimObject& obj, SimObject& partner,
                        std::span<const std::array<float, 9>> corners) {
    ObjectContact& c = obj.objectContact;
    c.vertices.clear();
    if (corners.empty()) {
        c.partner = nullptr;
        return;
    }
    c.partner = &partner;
    struct Face {
        Vec3 centroid;
        Vec3 normal; ///< length twice the area, turned away from the centre of gravity
    };
    std::vector<Face> faces;
    faces.reserve(corners.size());
    Vec3 normalSum{};
    for (const auto& tri : corners) {
        std::array<Vec3, 3> p;
        for (std::size_t k = 0; k < 3; ++k) {
            p[k] = {tri[3 * k] * kFeetPerMetre, tri[3 * k + 1] * kFeetPerMetre,
                    tri[3 * k + 2] * kFeetPerMetre};
            bool seen = false;
            for (const Vec3& v : c.vertices) {
                if (VecNearlyEqual(v, p[k])) {
                    seen = true;
                    break;
                }
            }
            if (!seen && c.vertices.size() < static_cast<std::size_t>(geom::kMaxMeshVertices)) {
                c.vertices.push_back(p[k]);
            }
        }
        Face f;
        f.centroid = {(p[0][0] + p[1][0] + p[2][0]) / 3.0f, (p[0][1] + p[1][1] + p[2][1]) / 3.0f,
                      (p[0][2] + p[1][2] + p[2][2]) / 3.0f};
        Vec3 e1, e2;
        VecSub(p[1], p[0], e1);
        VecSub(p[2], p[0], e2);
        VecCross(e1, e2, f.normal);
        if (VecDot(f.normal, f.centroid) < 0.0f) {
            VecScale(f.normal, -1.0f, f.normal);
        }
        VecAdd(normalSum, f.normal, normalSum);
        faces.push_back(f);
    }
    Vec3 mean;
    VecNormalize(normalSum, mean);

    // The touching surface is made of the faces that look the way the mean
    // normal does; faces along the sides of the contact (which touch edge on)
    // would pull the point away from it.
    Vec3 weighted{};
    float area = 0.0f;
    for (const Face& f : faces) {
        const float a = VecLength(f.normal);
        if (a > 0.0f && VecDot(f.normal, mean) >= 0.5f * a) {
            Vec3 w;
            VecScale(f.centroid, a, w);
            VecAdd(weighted, w, weighted);
            area += a;
        }
    }
    Vec3 centroid{};
    if (area > 0.0f) {
        VecScale(weighted, 1.0f / area, centroid);
    } else {
        for (const Face& f : faces) {
            VecAdd(centroid, f.centroid, centroid);
        }
        VecScale(centroid, 1.0f / static_cast<float>(faces.size()), centroid);
    }
    MatVec3(obj.bodyToEarth, centroid, c.point);
    VecAdd(c.point, obj.position, c.point);
    Vec3 n;
    MatVec3(obj.bodyToEarth, mean, n);
    VecNormalize(n, n);
    if (VecLength(n) == 0.0f) {
        VecSub(partner.position, obj.position, n);
        VecNormalize(n, n);
    }
    c.normal = n;
}

void MeshCollisionPair::testPair(SimObject& first, SimObject& second) {
    first.objectContact.partner = nullptr;
    second.objectContact.partner = nullptr;
    if (modelCount_ < 2) {
        return;
    }
    Vec3 t1, t2;
    VecScale(first.position, kMetresPerFoot, t1);
    VecScale(second.position, kMetresPerFoot, t2);
    const int result =
        collider_.collide(first.bodyToEarth, t1, 1.0f, models_[0], second.bodyToEarth, t2, 1.0f,
                          models_[1], collision::kAllContacts);
    const int count = collider_.contactCount();
    if (result == collision::kUnprocessedModel || count == 0) {
        return;
    }
    std::vector<std::array<float, 9>> own(static_cast<std::size_t>(count));
    std::vector<std::array<float, 9>> theirs(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        own[static_cast<std::size_t>(i)] = collider_.contact(i).tri1;
        theirs[static_cast<std::size_t>(i)] = collider_.contact(i).tri2;
    }
    storeObjectContact(first, second, own);
    storeObjectContact(second, first, theirs);
}

} // namespace kv::sim
