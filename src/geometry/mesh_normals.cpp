#include "geometry/mesh_store.h"

#include <cassert>
#include <cmath>
#include <vector>

namespace kv::geom {
namespace {

/// Faces whose normals differ by less than this angle (rad, 50 degrees) are
/// smoothed together at a shared vertex.
constexpr float kSmoothingAngle = 0.87266463f;

const Vec3 kZeroVector = {0.0f, 0.0f, 0.0f};

/// Crosses a and b into a unit normal when both are non-zero and unequal
/// (tolerant point equality) and not parallel.
bool crossUsable(const Vec3& a, const Vec3& b, Vec3& n) {
    if (VecNearlyEqual(a, kZeroVector) || VecNearlyEqual(b, kZeroVector) || VecNearlyEqual(a, b)) {
        return false;
    }
    Vec3 c{};
    VecCross(a, b, c);
    VecNormalize(c, n);
    // Parallel differences (collinear corners) give no direction at all.
    return n[0] != 0.0f || n[1] != 0.0f || n[2] != 0.0f;
}

} // namespace

Vec3 faceNormal(const Vec3& p0, const Vec3& p1, const Vec3& p2) {
    const std::array<const Vec3*, 3> p = {&p0, &p1, &p2};
    for (std::size_t k = 0; k < 3; ++k) {
        const Vec3& a = *p[k];
        const Vec3& b = *p[(k + 1) % 3];
        const Vec3& c = *p[(k + 2) % 3];
        Vec3 ab{};
        Vec3 ac{};
        VecSub(a, b, ab);
        VecSub(a, c, ac);
        Vec3 n{};
        if (crossUsable(ab, ac, n))
            return n;
    }
    return {0.0f, 0.0f, 1.0f};
}

bool MeshStore::smoothedNormalsValid(int slot) const {
    return smoothedValid_ && normalsSlot_ == slot;
}

bool MeshStore::computeNormals(int slot, ProgressPort& progress) {
    const SlotMesh& m = mesh(slot);
    const int n = m.triangleCount;
    normalsSlot_ = slot;
    smoothedValid_ = false;
    auto corner = [&m](int t, int c) -> const Vec3& {
        return m.vertices[static_cast<std::size_t>(
            m.triangles[static_cast<std::size_t>(t)][static_cast<std::size_t>(c)])];
    };
    for (int t = 0; t < n; ++t) {
        faceNormals_[static_cast<std::size_t>(t)] =
            faceNormal(corner(t, 0), corner(t, 1), corner(t, 2));
    }

    // Triangles around each vertex, in triangle order, each listed once.
    std::vector<std::int32_t> start(static_cast<std::size_t>(m.vertexCount) + 1, 0);
    auto forEachDistinctCorner = [&m](int t, auto&& f) {
        const auto& tri = m.triangles[static_cast<std::size_t>(t)];
        f(tri[0]);
        if (tri[1] != tri[0])
            f(tri[1]);
        if (tri[2] != tri[0] && tri[2] != tri[1])
            f(tri[2]);
    };
    for (int t = 0; t < n; ++t) {
        forEachDistinctCorner(t, [&](std::int32_t v) { ++start[static_cast<std::size_t>(v) + 1]; });
    }
    for (std::size_t v = 1; v < start.size(); ++v)
        start[v] += start[v - 1];
    std::vector<std::int32_t> around(static_cast<std::size_t>(start.back()));
    std::vector<std::int32_t> fill(start.begin(), start.end() - 1);
    for (int t = 0; t < n; ++t) {
        forEachDistinctCorner(t, [&](std::int32_t v) {
            around[static_cast<std::size_t>(fill[static_cast<std::size_t>(v)]++)] = t;
        });
    }

    const float cosLimit = std::cos(kSmoothingAngle);
    progress.start("Smoothing Normals:");
    for (int i = 0; i < n; ++i) {
        const Vec3& ni = faceNormals_[static_cast<std::size_t>(i)];
        for (std::size_t c = 0; c < 3; ++c) {
            const auto v = static_cast<std::size_t>(m.triangles[static_cast<std::size_t>(i)][c]);
            Vec3 sum = kZeroVector;
            for (auto k = start[v]; k < start[v + 1]; ++k) {
                const Vec3& nj =
                    faceNormals_[static_cast<std::size_t>(around[static_cast<std::size_t>(k)])];
                if (VecDot(ni, nj) > cosLimit)
                    VecAdd(sum, nj, sum);
            }
            VecNormalize(sum, smoothed_[static_cast<std::size_t>(i)][c]);
        }
        if (!progress.update(static_cast<double>(i + 1) / n)) {
            progress.finish();
            return false;
        }
    }
    progress.finish();
    smoothedValid_ = true;
    return true;
}

bool MeshStore::nextTriangle(bool reset, int slot, MeshTriangle& out) {
    const SlotMesh& m = mesh(slot);
    if (reset)
        triangleCursor_ = 0;
    if (triangleCursor_ < 0 || triangleCursor_ >= m.triangleCount)
        return false;
    const auto t = static_cast<std::size_t>(triangleCursor_++);
    for (std::size_t c = 0; c < 3; ++c) {
        out.corners[c] = m.vertices[static_cast<std::size_t>(m.triangles[t][c])];
    }
    if (smoothedNormalsValid(slot)) {
        out.normals = smoothed_[t];
    } else {
        const Vec3 n = normalsSlot_ == slot
                           ? faceNormals_[t]
                           : faceNormal(out.corners[0], out.corners[1], out.corners[2]);
        out.normals = {n, n, n};
    }
    return true;
}

} // namespace kv::geom
