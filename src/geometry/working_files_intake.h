#pragma once
/// Appending one imported face to a scenery or terrain working file: the face
/// is split into triangles and each is written, within the count a stream's
/// 32-bit triangle count can hold.

#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "geometry/face_split.h"

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>

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

/// The messages one kind of working file shows.
struct IntakeMessages {
    std::string_view tooMany;
    std::string_view cannotWrite;
};

/// The DXF reader's face callback for a working file: the face (four corners,
/// x y z each, in working units) is stored in `T` precision and the progress
/// advanced. 1 to go on, 0 to stop (an error was shown, or ESC).
template <class T, class Writer>
int takeImportedFace(Writer& writer, const std::array<double, 12>& corners, float fraction,
                     ProgressPort& progress, MessagePort& messages, const IntakeMessages& text) {
    std::array<Corner<T>, 4> face;
    for (std::size_t c = 0; c < 4; ++c) {
        face[c] = {static_cast<T>(corners[c * 3]), static_cast<T>(corners[c * 3 + 1]),
                   static_cast<T>(corners[c * 3 + 2])};
    }
    switch (appendFaceTriangles(writer, face)) {
    case FaceIntake::TooMany:
        messages.showMessage(text.tooMany);
        return 0;
    case FaceIntake::WriteFailed:
        messages.showMessage(text.cannotWrite);
        return 0;
    case FaceIntake::Appended:
        break;
    }
    return progress.update(fraction) ? 1 : 0;
}

/// Ends an import: the progress display closes, and when the read succeeded
/// the stream is ended and closed. The writer is released either way. Gives
/// the triangle count written, or nothing when the import failed (a write
/// error has been shown; a failed read has shown its own).
template <class Writer>
std::optional<std::int64_t>
finishImportedStream(std::unique_ptr<Writer>& writer, bool readSucceeded, ProgressPort& progress,
                     MessagePort& messages, std::string_view cannotWrite) {
    progress.finish();
    bool ok = readSucceeded;
    if (ok) {
        ok = writer->writeEnd() && writer->close();
        if (!ok)
            messages.showMessage(cannotWrite);
    }
    const std::int64_t made = writer->triangleCount();
    writer.reset();
    if (!ok)
        return std::nullopt;
    return made;
}

} // namespace kv::geom
