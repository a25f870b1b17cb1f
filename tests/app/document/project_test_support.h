#pragma once
// Shared helpers of the project and document tests: motion and DXF files on
// disk, and the byte size of a stored object body.
#include "model/motion_frame.h"
#include "model/object_record.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kv::app::projecttest {

/// Writes a motion file of `frames` sample frames (times 0, 0.1, ...) for a
/// record of `vehicleType`, with 4 triangles; returns its path.
std::filesystem::path writeMotion(const std::filesystem::path& file, int frames,
                                  std::int32_t vehicleType = model::kVehicleCar,
                                  float timeOffset = 0.0f);
/// Writes a DXF file of `faces` distinct 3DFACEs; returns its path.
std::filesystem::path writeDxf(const std::filesystem::path& file, int faces);
/// Bytes an object body takes: size word, record, triangle count, triangles,
/// `frames` frames and the end marker.
std::uintmax_t bodyBytes(int triangles, int frames);

} // namespace kv::app::projecttest
