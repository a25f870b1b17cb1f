#include "geometry/scenery_set.h"

namespace kv::geom {

std::string dxfBaseName(const std::filesystem::path& dxf) {
    std::string name = dxf.filename().string();
    if (name.size() >= kBaseNameChars)
        name.resize(kBaseNameChars - 1);
    return name;
}

} // namespace kv::geom
