#include "geometry/scenery.h"
#include "geometry/working_files_export.h"

namespace kv::geom {

bool SceneryStore::exportScenery(int index, const std::filesystem::path& target,
                                 const DxfOutputUnits& units, MessagePort& messages) const {
    if (index < 0 || index >= count())
        return false;
    return exportWorkingFile(workingFile(index), StreamPrecision::Single, set(index).triangleCount,
                             target, units, nullptr, messages);
}

} // namespace kv::geom
