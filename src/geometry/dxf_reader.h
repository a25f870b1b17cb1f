#pragma once
/// Streaming reader of DXF files holding 3DFACE entities.

#include "common/ports/messages.h"
#include "model/object_record.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace kv::geom {

/// Receives one face: four corners (x, y, z each) in metres in system axes
/// (forward, right, down), already through the import transform, and the
/// fraction of the file read so far. Returns non-zero to go on, 0 to stop.
using DxfFaceCallback = std::function<int(const std::array<double, 12>& corners, float progress)>;

/// Reads every 3DFACE of `file` through `transform` into `onFace`. Returns the
/// last callback result (0 when the callback stopped the read), or 0 with a
/// message on failure (cannot open, over-long line, no 3DFACE).
int readDxf(const std::filesystem::path& file, std::uint64_t fileSize,
            const model::GeometryTransform& transform, const DxfFaceCallback& onFace,
            MessagePort& messages);

} // namespace kv::geom
