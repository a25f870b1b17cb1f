// libFuzzer target: arbitrary bytes as a DXF file through the polyline reader
// that gives paths to follow. It either fails with a message or gives at least
// one vertex, every one a finite point, no more than the reader's bound.

#include "geometry/dxf_polyline.h"
#include "scratch_file.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

/// One vertex more than the reader keeps: a closed polyline repeats its first.
constexpr std::size_t kMostPoints = 1'000'001;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path file = kv::fuzz::writeScratchFile("polyline", ".dxf", data, size);
    if (file.empty())
        return 0;

    kv::model::GeometryTransform transform;
    // The first byte, when there is one, also picks the handedness, a scale
    // and a rotation, so that every import mapping is exercised.
    if (size != 0) {
        transform.rightHanded = data[0] & 1;
        transform.rotate = {static_cast<float>(data[0]), 30.0f, -45.0f};
        transform.scale = {1.0f + static_cast<float>(data[0] >> 4), 1.0f, 0.5f};
    }
    std::vector<std::array<double, 3>> points;
    std::string error;
    if (!kv::geom::readDxfPolyline(file, transform, points, error)) {
        if (error.empty() || !points.empty())
            __builtin_trap();
        return 0;
    }
    if (points.empty() || points.size() > kMostPoints)
        __builtin_trap();
    for (const auto& p : points) {
        if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2]))
            __builtin_trap();
    }
    return 0;
}
