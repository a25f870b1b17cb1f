// libFuzzer target: arbitrary bytes as a DXF file through the polyline reader
// that gives paths to follow. It either fails with a message or gives at least
// one vertex, every one a finite point, no more than the reader's bound.

#include "geometry/dxf_polyline.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct ScratchFile {
    std::filesystem::path path;
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

const std::filesystem::path& scratchFile() {
    // A memory-backed folder keeps the per-input file write off the disk.
    static const ScratchFile scratch{(std::filesystem::is_directory("/dev/shm")
                                          ? std::filesystem::path("/dev/shm")
                                          : std::filesystem::temp_directory_path()) /
                                     ("kv_fuzz_polyline_" + std::to_string(::getpid()) + ".dxf")};
    return scratch.path;
}

/// One vertex more than the reader keeps: a closed polyline repeats its first.
constexpr std::size_t kMostPoints = 1'000'001;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(scratchFile().c_str(), "wb");
    if (file == nullptr)
        return 0;
    if (size != 0 && std::fwrite(data, 1, size, file) != size) {
        std::fclose(file);
        return 0;
    }
    std::fclose(file);

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
    if (!kv::geom::readDxfPolyline(scratchFile(), transform, points, error)) {
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
