#pragma once
/// The --axes option of the commands that read DXF geometry or paths: the
/// system the user names, else the one the file's header comment names, else
/// the right-hand system of the default transform.

#include "geometry/dxf_axes.h"
#include "model/object_record.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kv::cli {

/// Help text of the option, indented as the commands' help is.
inline constexpr const char* kDxfAxesHelp =
    "  --axes right|left|zup\n"
    "                      axes of the DXF files read: right-hand (x forward,\n"
    "                      y right, z down), left-hand (LightWave: x right, y up,\n"
    "                      z forward) or z up (Blender, CAD: x west, y south,\n"
    "                      z up, as our glTF shows in Blender); default: the system\n"
    "                      our own files name in their header, else right-hand\n";

/// Parses the option's value; an error text for a word it does not take.
std::optional<std::string> parseDxfAxesOption(const std::string& value,
                                              std::optional<geom::DxfAxes>& axes);

/// The import transform of `file`: the default one in `axes`, or in the
/// system the file names when `axes` is none.
model::GeometryTransform importTransformFor(const std::filesystem::path& file,
                                            std::optional<geom::DxfAxes> axes);

} // namespace kv::cli
