#pragma once
/// Carrying stored scenery and terrain points from the transform they were
/// imported through to an edited one.

#include "geometry/dxf_transform.h"

#include <array>

namespace kv::geom {

/// The stored point `p` (metres, system axes), imported through `from`, as
/// it would have been imported through `to`. An axis whose scale in `from` is
/// 0 lost its file coordinate at import; that coordinate comes back as 0
/// rather than as a division by zero.
std::array<double, 3> remapStoredPoint(const DxfImportMapping& from, const DxfImportMapping& to,
                                       const std::array<double, 3>& p);

} // namespace kv::geom
