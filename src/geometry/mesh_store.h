#pragma once
/// The object meshes: one indexed triangle mesh per object slot, in metres in
/// the object's body axes (forward, right, down). The store belongs to the
/// document; every slot's arrays are allocated together with the object table.

#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "common/vecmath.h"
#include "geometry/dxf_reader.h"
#include "model/object_record.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kv::geom {

inline constexpr int kMaxMeshTriangles = 2000; ///< triangles per slot
inline constexpr int kMaxMeshVertices = 6000;  ///< vertices per slot
/// Memory one slot's mesh takes, as the memory settings estimate it (bytes).
inline constexpr std::size_t kMeshBytesPerSlot = 120008;

/// One slot's mesh. Plain data: the object, motion and project files read and
/// write it through the store's intake and iterators.
struct SlotMesh {
    std::int32_t triangleCount = 0; ///< triangles in use, 0..2000
    std::int32_t vertexCount = 0;   ///< vertices in use, 0..6000
    /// Vertex indices of each triangle's corners, in corner order.
    std::array<std::array<std::int32_t, 3>, kMaxMeshTriangles> triangles{};
    /// 1 when the vertex is a contact vertex (left by thinning), else 0.
    std::array<std::int32_t, kMaxMeshVertices> vertexActive{};
    /// Vertex positions (m, body axes).
    std::array<Vec3, kMaxMeshVertices> vertices{};
};
static_assert(sizeof(SlotMesh) == kMeshBytesPerSlot);

/// One triangle as the iterator hands it out.
struct MeshTriangle {
    std::array<Vec3, 3> corners{}; ///< positions (m)
    std::array<Vec3, 3> normals{}; ///< unit normals of the corners
};

/// The unit normal of the triangle (p0, p1, p2): (p0 − p1) × (p0 − p2), or the
/// next usable pair of corner differences, or (0, 0, 1) for a degenerate one.
Vec3 faceNormal(const Vec3& p0, const Vec3& p1, const Vec3& p2);

class MeshStore {
  public:
    /// Messages of the intake (the triangle limit) go to `messages`.
    explicit MeshStore(MessagePort& messages);
    ~MeshStore();
    MeshStore(const MeshStore&) = delete;
    MeshStore& operator=(const MeshStore&) = delete;

    /// Frees any meshes and allocates `slotCount` zero-filled slots. On failure
    /// there is no store at all (`hasStore()` false) and false is returned.
    bool allocate(int slotCount);
    /// Frees every slot.
    void release();
    bool hasStore() const { return slots_ != nullptr; }
    int slotCount() const { return slotCount_; }

    /// Empties `slot` and makes it the slot that `addFace` appends to.
    void clearGeometry(int slot);
    int currentSlot() const { return currentSlot_; }

    /// Adds a face of four corners (x, y, z each, metres) to the current slot
    /// as 0, 1 or 2 triangles. Returns 1 on success, 0 when the triangle limit
    /// stopped it. A face with a coordinate that is not a finite
    /// single-precision number is skipped (counted in `skippedFaces`).
    /// Its shape fits the DXF reader's face callback.
    int addFace(const std::array<double, 12>& corners);
    /// `addFace` as the DXF reader's face callback (the progress is not used).
    DxfFaceCallback faceCallback();
    /// Faces skipped by `addFace` for non-finite coordinates since `clearGeometry`.
    int skippedFaces() const { return skippedFaces_; }

    /// Adds one triangle to `slot`, sharing equal vertices and dropping an exact
    /// duplicate of a stored triangle. Returns false with a message when the
    /// slot already holds the maximum number of triangles.
    bool addTriangle(int slot, const Vec3& c1, const Vec3& c2, const Vec3& c3);

    /// A number that changes whenever the geometry of any slot changes (not
    /// only its triangle count), for views that compile the meshes once.
    std::uint64_t geometryRevision() const { return revision_; }

    int triangleCount(int slot) const;
    int vertexCount(int slot) const;
    /// Read access to a slot's arrays.
    const SlotMesh& mesh(int slot) const;

    /// The next triangle of `slot` (the first when `reset`), with smoothed
    /// corner normals when they are valid for this slot, else its face normal
    /// three times. False at the end.
    bool nextTriangle(bool reset, int slot, MeshTriangle& out);

    /// Marks as contact vertices those that are not within 0.05 × r of an
    /// earlier contact vertex, where r is the largest vertex distance from the
    /// origin (the centre of gravity).
    void thinContactVertices(int slot);
    /// The next contact vertex of `slot` (the first when `reset`); false at the end.
    bool nextContactVertex(bool reset, int slot, Vec3& out);

    /// Face normals and smoothed corner normals of `slot` (progress label
    /// "Smoothing Normals:"). Returns false when the user aborted; the smoothed
    /// normals are then not valid.
    bool computeNormals(int slot, ProgressPort& progress);
    /// True when the smoothed normals held belong to `slot` and are complete.
    bool smoothedNormalsValid(int slot) const;
    /// Face normal of triangle `index` of the slot whose normals were computed last.
    const Vec3& storedFaceNormal(int index) const { return faceNormals_[index]; }

    /// Takes every vertex of `slot` back through `oldTransform` and forward
    /// through `newTransform`. Refused (false, nothing changed) when either
    /// has a zero or non-finite scale, which could not be undone.
    bool retransformGeometry(int slot, const model::GeometryTransform& oldTransform,
                             const model::GeometryTransform& newTransform);

    /// Puts the geometry of slot `from` in place of that of slot `to` and
    /// empties `from`: an import read into a spare slot replaces a mesh only
    /// once it has succeeded.
    void moveGeometry(int from, int to);

    /// Removes the geometry of `slot`; the later slots move down one place and
    /// the last slot becomes empty.
    void removeGeometry(int slot);

  private:
    SlotMesh& slotMesh(int slot);
    int findVertex(const SlotMesh& m, const Vec3& p) const;
    void invalidateNormals(int slot);

    MessagePort& messages_;
    std::unique_ptr<SlotMesh[]> slots_;
    int slotCount_ = 0;
    int currentSlot_ = 0;
    int skippedFaces_ = 0;

    /// Normals of the slot they were last computed for.
    std::unique_ptr<Vec3[]> faceNormals_;             ///< one per triangle
    std::unique_ptr<std::array<Vec3, 3>[]> smoothed_; ///< three per triangle
    int normalsSlot_ = -1;
    std::uint64_t revision_ = 0;
    bool smoothedValid_ = false;

    int triangleCursor_ = 0;
    int contactCursor_ = 0;
};

} // namespace kv::geom
