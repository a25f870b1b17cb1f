#include "geometry/dxf_reader.h"

namespace kv::geom {

int readDxf(const std::filesystem::path&, std::uint64_t, const model::GeometryTransform&,
            const DxfFaceCallback&, MessagePort& messages) {
    // Placeholder until the streaming reader lands.
    messages.showMessage("The DXF file could not be opened.");
    return 0;
}

} // namespace kv::geom
