#pragma once
/// The import mapping of a `GeometryTransform`: file coordinates to metres in
/// system axes (forward, right, down), and back again for re-transforming
/// stored geometry when a transform is edited.

#include "common/unit_constants.h"
#include "model/object_record.h"

#include <array>

namespace kv::geom {

/// p' = M (s (.) p) + t, in double precision.
struct DxfImportMapping {
    /// Row-major 3x3: R^T for a right-hand file, R^T H for a left-hand file.
    std::array<double, 9> m{1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
    /// Per-axis scale of file coordinates: `scale` x `fileUnit` (m per file unit).
    std::array<double, 3> s{1.0, 1.0, 1.0};
    /// Translation (m): forward, right, down.
    std::array<double, 3> t{0.0, 0.0, 0.0};
};

/// The rotation R for roll, pitch, yaw (deg), row-major.
std::array<double, 9> dxfRotation(double rollDeg, double pitchDeg, double yawDeg);

/// Builds the mapping of `transform`.
DxfImportMapping makeDxfImportMapping(const model::GeometryTransform& transform);

/// File point to system point (m).
std::array<double, 3> applyDxfImport(const DxfImportMapping& mapping,
                                     const std::array<double, 3>& filePoint);

/// System point (m) back to the file point: subtract t, multiply by M^T,
/// divide by s. (M is orthonormal, so M^T undoes it.)
std::array<double, 3> undoDxfImport(const DxfImportMapping& mapping,
                                    const std::array<double, 3>& systemPoint);

} // namespace kv::geom
