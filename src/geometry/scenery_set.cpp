#include "geometry/scenery_set.h"

#include "common/file_names.h"

namespace kv::geom {

std::string dxfBaseName(const std::filesystem::path& dxf) {
    std::string name = utf8Name(dxf.filename());
    if (name.size() >= kBaseNameChars)
        name.resize(kBaseNameChars - 1);
    return name;
}

} // namespace kv::geom
