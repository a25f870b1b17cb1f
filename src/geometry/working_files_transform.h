#pragma once
/// The import mapping of a `GeometryTransform` and its inverse, used to carry
/// stored scenery and terrain points from one transform to another.
///
/// A file point p becomes M (s ⊙ p) + t (metres, system axes), with M = Rᵀ for a
/// right-hand file and Rᵀ H for a left-hand one (R the roll-pitch-yaw matrix, H
/// the left-hand import matrix), s = scale × fileUnit and t = translate.

#include "model/object_record.h"

#include <array>

namespace kv::geom {

struct ImportMapping {
    std::array<double, 9> m{}; ///< rotation, row order
    std::array<double, 3> s{}; ///< per-axis scale (metres per file unit)
    std::array<double, 3> t{}; ///< translation (m)
};

ImportMapping importMapping(const model::GeometryTransform& transform);

/// M (s ⊙ p) + t.
std::array<double, 3> applyMapping(const ImportMapping& map, const std::array<double, 3>& p);

/// The file point that `applyMapping` took to `q`: Mᵀ (q − t) divided by s. An
/// axis whose scale is 0 lost its coordinate at import; it comes back as 0.
std::array<double, 3> undoMapping(const ImportMapping& map, const std::array<double, 3>& q);

} // namespace kv::geom
