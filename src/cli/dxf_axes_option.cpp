#include "cli/dxf_axes_option.h"

#include "geometry/dxf_header.h"
#include "geometry/dxf_transform.h"

namespace kv::cli {

std::optional<std::string> parseDxfAxesOption(const std::string& value,
                                              std::optional<geom::DxfAxes>& axes) {
    axes = geom::dxfAxesFromWord(value);
    if (!axes)
        return "--axes takes right, left or zup, not '" + value + "'";
    return std::nullopt;
}

model::GeometryTransform importTransformFor(const std::filesystem::path& file,
                                            std::optional<geom::DxfAxes> axes) {
    if (axes)
        return geom::defaultTransformFor(*axes);
    return geom::withFileAxes(model::GeometryTransform{}, file);
}

} // namespace kv::cli
