#pragma once
/// Reading a path to follow from a file: CSV (`.csv`) in the working units, or
/// the first polyline of a DXF file (`.dxf`) through an import transform.

#include "app/follow/follow_path.h"
#include "model/object_record.h"

#include <filesystem>
#include <string>

namespace kv::app {

/// Reads `file` by its extension (.csv or .dxf, any case). CSV lengths are in
/// working units of `lengthUnitFactor` feet each; DXF coordinates go through
/// `transform` to metres and then to feet, and the path has heights when any
/// vertex lies off the ground plane. False with `error` naming the file.
bool loadFollowPath(const std::filesystem::path& file, float lengthUnitFactor,
                    const model::GeometryTransform& transform, FollowPath& path,
                    std::string& error);

} // namespace kv::app
