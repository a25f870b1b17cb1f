#include "geometry/terrain.h"
#include "geometry/working_files_export.h"

namespace kv::geom {

bool TerrainStore::exportTerrain(const std::filesystem::path& target, const DxfOutputUnits& units,
                                 ProgressPort& progress, MessagePort& messages) const {
    if (!present_)
        return false;
    return exportWorkingFile(workingFile(), StreamPrecision::Double, info_.triangleCount, target,
                             units, &progress, messages);
}

} // namespace kv::geom
