#pragma once
/// The import mapping of a `GeometryTransform`: file coordinates to metres in
/// system axes (forward, right, down), and back again for re-transforming
/// stored geometry when a transform is edited.

#include "common/unit_constants.h"
#include "geometry/dxf_axes.h"
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

/// Roll, pitch, yaw (deg) of a rotation matrix of `dxfRotation`; at a pitch of
/// +-90 deg, where roll and yaw turn about one axis, the roll is taken as 0.
std::array<double, 3> dxfRotationAngles(const std::array<double, 9>& r);

/// The axes a transform reads its file in. The record keeps only the
/// right-hand flag and one rotation, so a z-up transform is a right-hand one
/// whose rotation first makes the fixed z-up turn (roll 180, yaw -90 deg) and
/// then the user's own rotation: any right-hand transform that turns the
/// file's z axis upward is shown as z-up. Stored files keep their meaning.
DxfAxes transformAxes(const model::GeometryTransform& transform);

/// The user's own rotation (roll, pitch, yaw; deg): the stored one, or for a
/// z-up transform the rotation after the fixed z-up turn.
std::array<float, 3> transformUserRotation(const model::GeometryTransform& transform);

/// Stores `axes` and the user's own rotation `rotate` (roll, pitch, yaw; deg)
/// in `transform`'s right-hand flag and rotation.
void setTransformAxes(model::GeometryTransform& transform, DxfAxes axes,
                      const std::array<float, 3>& rotate);

/// The default transform (metres, no rotation, translation or scaling) for
/// a file in `axes`.
model::GeometryTransform defaultTransformFor(DxfAxes axes);

} // namespace kv::geom
