#pragma once
/// Writing a working file's triangles out as a DXF file.

#include "common/ports/messages.h"
#include "common/ports/progress.h"
#include "geometry/dxf_writer.h"

#include <cstdint>
#include <filesystem>

namespace kv::geom {

enum class StreamPrecision { Single, Double };

/// Writes every triangle of the working file `source` to the DXF file `target`
/// as a face whose fourth corner repeats the third. The file is written beside
/// the target and renamed into place, so a failed or aborted export leaves any
/// previous file untouched. `progress`, when given, shows "Writing Terrain
/// Polygons:". `progress` (may be null) is updated with the
/// fraction of `triangleCount` written; returning false from it aborts.
/// Returns true on success; failures show a message, an abort does not.
bool exportWorkingFile(const std::filesystem::path& source, StreamPrecision precision,
                       std::int64_t triangleCount, const std::filesystem::path& target,
                       const DxfOutputUnits& units, ProgressPort* progress, MessagePort& messages);

} // namespace kv::geom
