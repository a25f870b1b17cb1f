#pragma once
/// The coordinate system a DXF file names in our header comment
/// ("999" / "Z Up Coordinate System in Meters"), which our writer and the
/// LightWave saver put at the top of every file they write.

#include "geometry/dxf_axes.h"
#include "model/object_record.h"

#include <filesystem>
#include <optional>

namespace kv::geom {

/// Lines at the top of a file searched for the comment; ours is the fourth.
inline constexpr int kDxfHeaderLinesSearched = 16;

/// The system named by the first such comment among the file's first lines;
/// none when the file names none or cannot be read.
std::optional<DxfAxes> dxfFileAxes(const std::filesystem::path& file);

/// `transform` with the system `file` names, the user's own rotation kept;
/// `transform` itself when the file names none.
model::GeometryTransform withFileAxes(const model::GeometryTransform& transform,
                                      const std::filesystem::path& file);

} // namespace kv::geom
