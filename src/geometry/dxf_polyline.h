#pragma once
/// Reading a polyline (LWPOLYLINE or 2-D/3-D POLYLINE with its VERTEX
/// entities) from a DXF file, through the same import transform as faces.

#include "model/object_record.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kv::geom {

/// Reads the first polyline of `file` that has at least one vertex. Its
/// vertices, through `transform`, become `points` in metres in system axes
/// (forward/north, right/east, down); a closed polyline repeats its first
/// vertex at the end. An LWPOLYLINE's vertices take its elevation (group 38)
/// as their third coordinate. False with `error` ("line N: ..." where a line
/// is at fault) when the file cannot be read or holds no polyline.
bool readDxfPolyline(const std::filesystem::path& file, const model::GeometryTransform& transform,
                     std::vector<std::array<double, 3>>& points, std::string& error);

} // namespace kv::geom
