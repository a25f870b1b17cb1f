#include "geometry/working_files_transform.h"

namespace kv::geom {

std::array<double, 3> remapStoredPoint(const DxfImportMapping& from, const DxfImportMapping& to,
                                       const std::array<double, 3>& p) {
    std::array<double, 3> file = undoDxfImport(from, p);
    for (std::size_t k = 0; k < 3; ++k) {
        if (from.s[k] == 0.0)
            file[k] = 0.0;
    }
    return applyDxfImport(to, file);
}

} // namespace kv::geom
