#pragma once
/// Appending one imported face to a scenery or terrain working file: the face
/// is split into triangles and each is written, within the count a stream's
/// 32-bit triangle count can hold.

#include "geometry/face_split.h"

#include <array>
#include <cstdint>
#include <limits>

namespace kv::geom {

/// Most triangles one working file may hold (its count is stored as int32).
inline constexpr std::int64_t kMaxWorkingTriangles = std::numeric_limits<std::int32_t>::max();

enum class FaceIntake { Appended, TooMany, WriteFailed };

/// `Writer` offers `triangleCount()` and `write(const Triangle<T>&)` (false on a
/// write error). Nothing is written when the face would pass the limit.
template <class Writer, class T>
FaceIntake appendFaceTriangles(Writer& writer, const std::array<Corner<T>, 4>& face) {
    std::array<Triangle<T>, 2> tris;
    const int made = splitFace(face, tris);
    if (writer.triangleCount() + made > kMaxWorkingTriangles)
        return FaceIntake::TooMany;
    for (int t = 0; t < made; ++t) {
        if (!writer.write(tris[static_cast<std::size_t>(t)]))
            return FaceIntake::WriteFailed;
    }
    return FaceIntake::Appended;
}

} // namespace kv::geom
