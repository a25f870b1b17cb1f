#pragma once
/// The import mapping of a `GeometryTransform`: how a point of a geometry file
/// becomes a point in system axes (forward, right, down) and metres, and back.

#include "model/object_record.h"

#include <array>

namespace kv::geom {

using Point3d = std::array<double, 3>;
using Matrix3d = std::array<double, 9>; ///< row order

/// Degrees to radians, as the import rotation converts its angles.
inline constexpr double kImportDegToRad = 0.017453292519943278;

/// The mapping p' = M (s ⊙ p) + t built from a transform.
struct ImportMapping {
    Matrix3d m{}; ///< Rᵀ (right-hand file) or Rᵀ H (left-hand file); orthogonal
    Point3d s{};  ///< per-axis scale × metres per file unit
    Point3d t{};  ///< translation (m): forward, right, down
};

/// The rotation R of roll, pitch and yaw (degrees).
Matrix3d importRotation(float rollDeg, float pitchDeg, float yawDeg);

/// Builds the mapping of `transform`.
ImportMapping makeImportMapping(const model::GeometryTransform& transform);

/// True when every scale factor of the mapping is finite and non-zero, so that
/// the mapping can be undone.
bool isInvertible(const ImportMapping& mapping);

/// A file point to system axes and metres: M (s ⊙ p) + t.
Point3d applyImport(const ImportMapping& mapping, const Point3d& p);

/// The inverse of `applyImport`: (Mᵀ (p − t)) ⊘ s. The mapping must be invertible.
Point3d undoImport(const ImportMapping& mapping, const Point3d& p);

} // namespace kv::geom
