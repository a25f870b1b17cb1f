#pragma once
// Meshes and poses shared by the collision tests and the collision benchmark:
// shapes like the vehicle templates (a subdivided hull, wheels, a rounded
// body) and random triangle soups, all deterministic from their seeds.

#include "common/vecmath.h"
#include "simulation/collision/obb_tree.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace kv::sim::collision::testmesh {

struct Mesh {
    std::vector<Vec3> vertices;
    std::vector<std::array<int, 3>> triangles;

    int addVertex(const Vec3& v) {
        vertices.push_back(v);
        return static_cast<int>(vertices.size()) - 1;
    }
};

/// A closed box of lx × ly × lz metres centred on `centre`, each face split
/// into div × div quads of two triangles.
inline Mesh boxMesh(float lx, float ly, float lz, int div, const Vec3& centre = {0, 0, 0}) {
    Mesh m;
    const float h[3] = {lx * 0.5f, ly * 0.5f, lz * 0.5f};
    for (int axis = 0; axis < 3; ++axis) {
        const int u = (axis + 1) % 3;
        const int v = (axis + 2) % 3;
        for (int side = -1; side <= 1; side += 2) {
            const int base = static_cast<int>(m.vertices.size());
            for (int i = 0; i <= div; ++i) {
                for (int j = 0; j <= div; ++j) {
                    Vec3 p{};
                    p[axis] = side * h[axis];
                    p[u] = -h[u] + 2.0f * h[u] * static_cast<float>(i) / static_cast<float>(div);
                    p[v] = -h[v] + 2.0f * h[v] * static_cast<float>(j) / static_cast<float>(div);
                    for (int k = 0; k < 3; ++k)
                        p[k] += centre[k];
                    m.addVertex(p);
                }
            }
            for (int i = 0; i < div; ++i) {
                for (int j = 0; j < div; ++j) {
                    const int a = base + i * (div + 1) + j;
                    const int b = a + 1;
                    const int c = a + div + 1;
                    const int d = c + 1;
                    m.triangles.push_back({a, c, d});
                    m.triangles.push_back({a, d, b});
                }
            }
        }
    }
    return m;
}

/// A closed cylinder (a wheel) of `radius` and `width` along the y axis.
inline Mesh cylinderMesh(float radius, float width, int segments, const Vec3& centre = {0, 0, 0}) {
    Mesh m;
    const int c0 = m.addVertex({centre[0], centre[1] - width * 0.5f, centre[2]});
    const int c1 = m.addVertex({centre[0], centre[1] + width * 0.5f, centre[2]});
    const int ring = static_cast<int>(m.vertices.size());
    for (int s = 0; s < segments; ++s) {
        const float a = 6.2831853f * static_cast<float>(s) / static_cast<float>(segments);
        const float x = centre[0] + radius * std::cos(a);
        const float z = centre[2] + radius * std::sin(a);
        m.addVertex({x, centre[1] - width * 0.5f, z});
        m.addVertex({x, centre[1] + width * 0.5f, z});
    }
    for (int s = 0; s < segments; ++s) {
        const int a0 = ring + 2 * s;
        const int a1 = a0 + 1;
        const int b0 = ring + 2 * ((s + 1) % segments);
        const int b1 = b0 + 1;
        m.triangles.push_back({a0, b0, b1});
        m.triangles.push_back({a0, b1, a1});
        m.triangles.push_back({c0, b0, a0});
        m.triangles.push_back({c1, a1, b1});
    }
    return m;
}

/// A UV sphere of `radius` scaled per axis by `stretch`.
inline Mesh sphereMesh(float radius, int rings, int segments, const Vec3& stretch = {1, 1, 1}) {
    Mesh m;
    for (int r = 0; r <= rings; ++r) {
        const float theta = 3.14159265f * static_cast<float>(r) / static_cast<float>(rings);
        for (int s = 0; s < segments; ++s) {
            const float phi = 6.2831853f * static_cast<float>(s) / static_cast<float>(segments);
            m.addVertex({radius * stretch[0] * std::sin(theta) * std::cos(phi),
                         radius * stretch[1] * std::sin(theta) * std::sin(phi),
                         radius * stretch[2] * std::cos(theta)});
        }
    }
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            const int a = r * segments + s;
            const int b = r * segments + (s + 1) % segments;
            const int c = a + segments;
            const int d = b + segments;
            if (r > 0)
                m.triangles.push_back({a, c, b});
            if (r + 1 < rings)
                m.triangles.push_back({b, c, d});
        }
    }
    return m;
}

/// Appends `other` to `m`.
inline void append(Mesh& m, const Mesh& other) {
    const int base = static_cast<int>(m.vertices.size());
    m.vertices.insert(m.vertices.end(), other.vertices.begin(), other.vertices.end());
    for (const auto& t : other.triangles) {
        m.triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
    }
}

/// A car-like template: a body hull, a cabin and four wheels (about 800 triangles).
inline Mesh carMesh() {
    Mesh m = boxMesh(4.2f, 1.7f, 0.7f, 6, {0, 0, -0.55f});
    append(m, boxMesh(2.0f, 1.5f, 0.5f, 4, {-0.3f, 0, -1.15f}));
    const float wx[2] = {1.3f, -1.3f};
    const float wy[2] = {0.8f, -0.8f};
    for (float x : wx) {
        for (float y : wy)
            append(m, cylinderMesh(0.33f, 0.22f, 16, {x, y, -0.33f}));
    }
    return m;
}

/// An aircraft-like template: a stretched body and flat wings.
inline Mesh aircraftMesh() {
    Mesh m = sphereMesh(1.0f, 10, 16, {4.0f, 0.6f, 0.6f});
    append(m, boxMesh(1.5f, 9.0f, 0.12f, 5, {0.3f, 0, 0}));
    append(m, boxMesh(0.8f, 3.0f, 0.08f, 3, {-3.6f, 0, -0.2f}));
    return m;
}

/// `count` random triangles with corners in a cube of side `extent` about the
/// origin, each within `size` of its first corner.
inline Mesh triangleSoup(int count, float extent, float size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> where(-extent * 0.5f, extent * 0.5f);
    std::uniform_real_distribution<float> offset(-size, size);
    Mesh m;
    for (int i = 0; i < count; ++i) {
        const Vec3 a{where(rng), where(rng), where(rng)};
        const Vec3 b{a[0] + offset(rng), a[1] + offset(rng), a[2] + offset(rng)};
        const Vec3 c{a[0] + offset(rng), a[1] + offset(rng), a[2] + offset(rng)};
        const int ia = m.addVertex(a);
        const int ib = m.addVertex(b);
        const int ic = m.addVertex(c);
        m.triangles.push_back({ia, ib, ic});
    }
    return m;
}

/// Builds `model` from `mesh`, the triangle ids being the triangle indices.
inline int buildModel(const Mesh& mesh, Model& model) {
    beginModel(model);
    for (std::size_t i = 0; i < mesh.triangles.size(); ++i) {
        const auto& t = mesh.triangles[i];
        const int r = addTri(model, mesh.vertices[static_cast<std::size_t>(t[0])],
                             mesh.vertices[static_cast<std::size_t>(t[1])],
                             mesh.vertices[static_cast<std::size_t>(t[2])], static_cast<int>(i));
        if (r != kOk)
            return r;
    }
    return endModel(model);
}

/// A placement in the world: x_world = r x + t.
struct Pose {
    Mat3 r{};
    Vec3 t{};
};

/// Random attitudes and positions within `spread` metres of the origin.
inline std::vector<Pose> randomPoses(int count, float spread, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> angle(-180.0f, 180.0f);
    std::uniform_real_distribution<float> pitch(-90.0f, 90.0f);
    std::uniform_real_distribution<float> where(-spread, spread);
    std::vector<Pose> poses(static_cast<std::size_t>(count));
    for (Pose& p : poses) {
        const float roll = angle(rng);
        const float pitchDeg = pitch(rng);
        const float yaw = angle(rng);
        EulerToMatrix(roll, pitchDeg, yaw, p.r);
        p.t = {where(rng), where(rng), where(rng)};
    }
    return poses;
}

} // namespace kv::sim::collision::testmesh
