#include "geometry/mesh_store.h"

#include "geometry/dxf_transform.h"
#include "geometry/face_split.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <new>
#include <string>

namespace kv::geom {
namespace {

/// A double that converts to a finite float.
bool fitsFloat(double v) {
    return std::isfinite(v) && std::fabs(v) <= std::numeric_limits<float>::max();
}

/// True when every scale factor of the mapping is finite and non-zero, so that
/// stored points can be taken back through it.
bool undoable(const DxfImportMapping& mapping) {
    for (const double s : mapping.s) {
        if (!std::isfinite(s) || s == 0.0)
            return false;
    }
    return true;
}

bool sameIndexSet(const std::array<std::int32_t, 3>& a, const std::array<std::int32_t, 3>& b) {
    // Every corner of b is one of a, and every corner of a one of b: this also
    // holds for a triangle that names one vertex twice.
    auto in = [](std::int32_t v, const std::array<std::int32_t, 3>& t) {
        return v == t[0] || v == t[1] || v == t[2];
    };
    return in(b[0], a) && in(b[1], a) && in(b[2], a) && in(a[0], b) && in(a[1], b) && in(a[2], b);
}

} // namespace

MeshStore::MeshStore(MessagePort& messages) : messages_(messages) {}

MeshStore::~MeshStore() = default;

bool MeshStore::allocate(int slotCount) {
    release();
    if (slotCount <= 0)
        return false;
    slots_.reset(new (std::nothrow) SlotMesh[static_cast<std::size_t>(slotCount)]());
    faceNormals_.reset(new (std::nothrow) Vec3[kMaxMeshTriangles]());
    smoothed_.reset(new (std::nothrow) std::array<Vec3, 3>[kMaxMeshTriangles]());
    if (!slots_ || !faceNormals_ || !smoothed_) {
        release();
        return false;
    }
    slotCount_ = slotCount;
    return true;
}

void MeshStore::release() {
    ++revision_;
    slots_.reset();
    faceNormals_.reset();
    smoothed_.reset();
    slotCount_ = 0;
    currentSlot_ = 0;
    normalsSlot_ = -1;
    smoothedValid_ = false;
    triangleCursor_ = 0;
    contactCursor_ = 0;
}

SlotMesh& MeshStore::slotMesh(int slot) {
    assert(slots_ && slot >= 0 && slot < slotCount_);
    return slots_[static_cast<std::size_t>(slot)];
}

const SlotMesh& MeshStore::mesh(int slot) const {
    assert(slots_ && slot >= 0 && slot < slotCount_);
    return slots_[static_cast<std::size_t>(slot)];
}

int MeshStore::triangleCount(int slot) const {
    return mesh(slot).triangleCount;
}

int MeshStore::vertexCount(int slot) const {
    return mesh(slot).vertexCount;
}

void MeshStore::invalidateNormals(int slot) {
    // Every change of a slot's vertices or triangles passes through here.
    ++revision_;
    if (normalsSlot_ == slot) {
        normalsSlot_ = -1;
        smoothedValid_ = false;
    }
}

void MeshStore::clearGeometry(int slot) {
    SlotMesh& m = slotMesh(slot);
    m.triangleCount = 0;
    m.vertexCount = 0;
    currentSlot_ = slot;
    skippedFaces_ = 0;
    invalidateNormals(slot);
}

void MeshStore::moveGeometry(int from, int to) {
    SlotMesh& source = slotMesh(from);
    SlotMesh& target = slotMesh(to);
    if (from == to)
        return;
    target.triangleCount = source.triangleCount;
    target.vertexCount = source.vertexCount;
    std::copy_n(source.triangles.begin(), source.triangleCount, target.triangles.begin());
    std::copy_n(source.vertexActive.begin(), source.vertexCount, target.vertexActive.begin());
    std::copy_n(source.vertices.begin(), source.vertexCount, target.vertices.begin());
    source.triangleCount = 0;
    source.vertexCount = 0;
    invalidateNormals(from);
    invalidateNormals(to);
    triangleCursor_ = 0;
    contactCursor_ = 0;
}

int MeshStore::addFace(const std::array<double, 12>& corners) {
    for (const double v : corners) {
        if (!fitsFloat(v)) {
            ++skippedFaces_;
            return 1;
        }
    }
    std::array<Corner<float>, 4> face{};
    for (std::size_t c = 0; c < 4; ++c) {
        for (std::size_t k = 0; k < 3; ++k) {
            face[c][k] = static_cast<float>(corners[c * 3 + k]);
        }
    }
    std::array<Triangle<float>, 2> tris{};
    const int count = splitFace(face, tris);
    for (int i = 0; i < count; ++i) {
        const Triangle<float>& t = tris[static_cast<std::size_t>(i)];
        if (!addTriangle(currentSlot_, t[0], t[1], t[2]))
            return 0;
    }
    return 1;
}

DxfFaceCallback MeshStore::faceCallback() {
    return [this](const std::array<double, 12>& corners, float) { return addFace(corners); };
}

int MeshStore::findVertex(const SlotMesh& m, const Vec3& p) const {
    for (int i = 0; i < m.vertexCount; ++i) {
        if (VecNearlyEqual(m.vertices[static_cast<std::size_t>(i)], p))
            return i;
    }
    return -1;
}

bool MeshStore::addTriangle(int slot, const Vec3& c1, const Vec3& c2, const Vec3& c3) {
    SlotMesh& m = slotMesh(slot);
    if (m.triangleCount >= kMaxMeshTriangles) {
        messages_.showMessage("Object geometry is limited to " + std::to_string(kMaxMeshTriangles) +
                              " triangles.");
        return false;
    }
    const std::array<const Vec3*, 3> corners = {&c1, &c2, &c3};
    std::array<std::int32_t, 3> found{};
    bool allFound = true;
    for (std::size_t c = 0; c < 3; ++c) {
        found[c] = findVertex(m, *corners[c]);
        allFound = allFound && found[c] >= 0;
    }
    if (allFound) {
        for (int t = 0; t < m.triangleCount; ++t) {
            if (sameIndexSet(m.triangles[static_cast<std::size_t>(t)], found))
                return true;
        }
    }
    // Three new vertices per triangle at most, so the vertex arrays cannot overflow.
    static_assert(kMaxMeshVertices >= 3 * kMaxMeshTriangles);
    for (std::size_t c = 0; c < 3; ++c) {
        if (found[c] < 0) {
            found[c] = m.vertexCount;
            m.vertices[static_cast<std::size_t>(m.vertexCount)] = *corners[c];
            m.vertexActive[static_cast<std::size_t>(m.vertexCount)] = 0;
            ++m.vertexCount;
        }
    }
    m.triangles[static_cast<std::size_t>(m.triangleCount)] = found;
    ++m.triangleCount;
    invalidateNormals(slot);
    return true;
}

bool MeshStore::retransformGeometry(int slot, const model::GeometryTransform& oldTransform,
                                    const model::GeometryTransform& newTransform) {
    const DxfImportMapping oldMapping = makeDxfImportMapping(oldTransform);
    const DxfImportMapping newMapping = makeDxfImportMapping(newTransform);
    if (!undoable(oldMapping) || !undoable(newMapping))
        return false;
    SlotMesh& m = slotMesh(slot);
    for (int i = 0; i < m.vertexCount; ++i) {
        Vec3& v = m.vertices[static_cast<std::size_t>(i)];
        const std::array<double, 3> file = undoDxfImport(oldMapping, {v[0], v[1], v[2]});
        const std::array<double, 3> moved = applyDxfImport(newMapping, file);
        v = {static_cast<float>(moved[0]), static_cast<float>(moved[1]),
             static_cast<float>(moved[2])};
    }
    invalidateNormals(slot);
    return true;
}

void MeshStore::removeGeometry(int slot) {
    slotMesh(slot);
    ++revision_;
    for (int s = slot; s + 1 < slotCount_; ++s) {
        SlotMesh& to = slots_[static_cast<std::size_t>(s)];
        const SlotMesh& from = slots_[static_cast<std::size_t>(s + 1)];
        to.triangleCount = from.triangleCount;
        to.vertexCount = from.vertexCount;
        std::copy_n(from.triangles.begin(), from.triangleCount, to.triangles.begin());
        std::copy_n(from.vertexActive.begin(), from.vertexCount, to.vertexActive.begin());
        std::copy_n(from.vertices.begin(), from.vertexCount, to.vertices.begin());
    }
    SlotMesh& last = slots_[static_cast<std::size_t>(slotCount_ - 1)];
    last.triangleCount = 0;
    last.vertexCount = 0;
    if (normalsSlot_ == slot) {
        normalsSlot_ = -1;
        smoothedValid_ = false;
    } else if (normalsSlot_ > slot) {
        --normalsSlot_;
    }
    if (currentSlot_ > slot)
        --currentSlot_;
    triangleCursor_ = 0;
    contactCursor_ = 0;
}

} // namespace kv::geom
