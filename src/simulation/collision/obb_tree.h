#pragma once
/// Oriented-bounding-box tree of a triangle model. Each model's triangles are
/// built once into a binary tree of tightly fitting boxes; a query walks two
/// trees at once (obb_collide.h). Everything is single precision.
///
/// A model moves constructed → begun (`beginModel`) → adding (`addTri`) →
/// processed (`endModel`); `beginModel` starts over from any state.

#include "common/vecmath.h"

#include <cstdint>
#include <iosfwd>
#include <memory>

namespace kv::sim::collision {

/// Result codes of the module's operations.
enum Result : int {
    kOk = 0,
    kModelOutOfMemory = 1,
    kCollideOutOfMemory = 2,
    kUnprocessedModel = 3,
    kBuildOutOfSequence = 4,
    kBuildEmptyModel = 5,
};

enum class BuildState : int { Constructed = 0, Begun = 1, Adding = 2, Processed = 3 };

/// One triangle of a model (40 bytes).
struct Tri {
    std::int32_t id = 0; ///< caller's id, reported with each contact
    Vec3 p1{};           ///< corners in model coordinates (m)
    Vec3 p2{};
    Vec3 p3{};
};
static_assert(sizeof(Tri) == 40);

/// One node of the tree.
struct Box {
    Mat3 pR{};                ///< orientation: its columns are the box axes in the parent's frame
    Vec3 pT{};                ///< centre in the parent's frame (the root's parent is the model)
    Vec3 d{};                 ///< half-dimensions along the box axes
    Box* P = nullptr;         ///< first child, or null for a leaf
    Box* N = nullptr;         ///< second child, or null for a leaf
    const Tri* trp = nullptr; ///< a leaf's triangle

    bool leaf() const { return P == nullptr && N == nullptr; }
};

class Model {
  public:
    Model();
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;
    Model(Model&&) noexcept;
    Model& operator=(Model&&) noexcept;

    BuildState state() const { return state_; }
    int triangleCount() const { return numTris_; }
    const Tri& triangle(int i) const { return tris_[i]; }
    /// Boxes allocated (2 per triangle once built).
    int boxCount() const { return numBoxes_; }
    /// The root box, in model coordinates; null until built.
    const Box* root() const { return numBoxes_ > 0 ? &boxes_[0] : nullptr; }
    /// Triangles given zero area at the last build (each got the warning).
    int zeroAreaTriangles() const { return zeroAreaCount_; }

  private:
    friend int beginModel(Model&);
    friend int addTri(Model&, const Vec3&, const Vec3&, const Vec3&, std::int32_t);
    friend int endModel(Model&, std::ostream&);
    friend int buildTree(Model&, std::ostream&);
    void freeAll();

    std::unique_ptr<Box[]> boxes_;
    int numBoxes_ = 0;
    std::unique_ptr<Tri[]> tris_;
    int numTris_ = 0;
    int numTrisAlloc_ = 0;
    BuildState state_ = BuildState::Constructed;
    int zeroAreaCount_ = 0;
};

/// Frees the model's boxes and triangles and sets it begun. Returns kOk, or
/// kBuildOutOfSequence when it was begun or adding (it is reset either way).
int beginModel(Model& model);

/// Appends a triangle. Returns kBuildOutOfSequence when the model is processed,
/// kModelOutOfMemory when the triangle array cannot grow, else kOk.
int addTri(Model& model, const Vec3& p1, const Vec3& p2, const Vec3& p3, std::int32_t id);

/// Builds the tree. Returns kBuildEmptyModel without triangles, kModelOutOfMemory
/// when the boxes cannot be allocated (the model keeps no tree), else kOk and
/// the model is processed. Zero-area triangles are reported on `warnings`.
int endModel(Model& model, std::ostream& warnings);
/// The same, reporting on the standard error stream.
int endModel(Model& model);

} // namespace kv::sim::collision
