#include "geometry/dxf_header.h"

#include "common/file_names.h"
#include "geometry/dxf_line_reader.h"
#include "geometry/dxf_transform.h"

#include <cstdio>
#include <memory>
#include <string_view>

namespace kv::geom {

std::optional<DxfAxes> dxfFileAxes(const std::filesystem::path& file) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(kv::openFile(file, "rb"), &std::fclose);
    if (!f)
        return std::nullopt;
    // The top of the file is all we read: a small block is enough.
    DxfLineReader reader(f.get(), std::size_t{4096});
    // A DXF file is a list of group-code and value line pairs.
    std::string_view line;
    for (int i = 0; i + 1 < kDxfHeaderLinesSearched; i += 2) {
        if (reader.next(line) != DxfLineReader::Status::Line)
            return std::nullopt;
        // Group codes may be padded with spaces ("999" or " 999").
        while (!line.empty() && line.front() == ' ')
            line.remove_prefix(1);
        const bool comment = line == "999";
        if (reader.next(line) != DxfLineReader::Status::Line)
            return std::nullopt;
        if (comment) {
            if (const auto axes = dxfAxesFromComment(line))
                return axes;
        }
    }
    return std::nullopt;
}

model::GeometryTransform withFileAxes(const model::GeometryTransform& transform,
                                      const std::filesystem::path& file) {
    const auto axes = dxfFileAxes(file);
    if (!axes)
        return transform;
    model::GeometryTransform t = transform;
    setTransformAxes(t, *axes, transformUserRotation(transform));
    return t;
}

} // namespace kv::geom
