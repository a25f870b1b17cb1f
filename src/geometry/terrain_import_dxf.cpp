#include "geometry/dxf_reader.h"
#include "geometry/terrain.h"

#include <system_error>

namespace kv::geom {

bool TerrainStore::importTerrain(const std::filesystem::path& dxf,
                                 const model::GeometryTransform& transform, ProgressPort& progress,
                                 MessagePort& messages) {
    if (!beginImport(transform, dxfBaseName(dxf), progress, messages))
        return false;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(dxf, ec);
    const int read = readDxf(
        dxf, ec ? 0 : static_cast<std::uint64_t>(size), transform,
        [&](const std::array<double, 12>& corners, float fraction) {
            return intakeFace(corners, fraction, progress, messages);
        },
        messages);
    return finishImport(read != 0, progress, messages);
}

} // namespace kv::geom
