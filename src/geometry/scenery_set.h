#pragma once
/// What the document keeps for each imported scenery set and for the terrain;
/// the triangles themselves live in the set's working file.

#include "model/object_record.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace kv::geom {

/// Characters kept of a source file's base name, terminator included.
inline constexpr std::size_t kBaseNameChars = 256;
/// Colour code and transparency code of a newly imported set.
inline constexpr std::int32_t kNewSetColor = 19;
inline constexpr std::int32_t kNewSetTransparency = 0;

struct SceneSetInfo {
    /// Transform the set's triangles went through at import.
    model::GeometryTransform transform{};
    std::int32_t color = kNewSetColor;               ///< colour code 0..19
    std::int32_t transparency = kNewSetTransparency; ///< transparency code
    std::int32_t triangleCount = 0;                  ///< triangles in the working file
    std::string baseName; ///< source DXF file name, at most kBaseNameChars − 1 characters
};

/// The file name of `dxf` without its folder, cut to fit kBaseNameChars.
std::string dxfBaseName(const std::filesystem::path& dxf);

} // namespace kv::geom
