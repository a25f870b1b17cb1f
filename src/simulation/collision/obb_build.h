#pragma once
/// Building the box tree of a model: triangle moments, the eigenvectors of
/// their covariance and the recursive split.

#include "common/vecmath.h"
#include "simulation/collision/obb_tree.h"

#include <iosfwd>

namespace kv::sim::collision {

/// Area moments of one triangle.
struct Moment {
    float area = 0.0f; ///< area (m²)
    Vec3 mean{};       ///< centroid (m)
    Mat3 second{};     ///< second moments about the origin, row order
};

/// The moment of triangle (p1, p2, p3). A zero-area triangle gets area 0 and
/// the plain sums of its corners' outer products as second moments.
Moment triangleMoment(const Vec3& p1, const Vec3& p2, const Vec3& p3);

/// Eigenvectors of the symmetric matrix `a` by Jacobi rotations, as the
/// columns of `vectors`, sorted by descending eigenvalue; `values` receives the
/// eigenvalues in the same order.
void symmetricEigen(const Mat3& a, Mat3& vectors, Vec3& values);

/// Builds the tree of a model whose triangles are all added (see endModel).
int buildTree(Model& model, std::ostream& warnings);

} // namespace kv::sim::collision
