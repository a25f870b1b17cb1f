// libFuzzer target: arbitrary bytes as a DXF file through the streaming reader.
// Every face handed out must carry finite coordinates and a progress in [0, 1].

#include "common/ports/messages.h"
#include "geometry/dxf_header.h"
#include "geometry/dxf_reader.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

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
                                     ("kv_fuzz_dxf_" + std::to_string(::getpid()) + ".dxf")};
    return scratch.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(scratchFile().c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    if (size != 0 && std::fwrite(data, 1, size, file) != size) {
        std::fclose(file);
        return 0;
    }
    std::fclose(file);

    // The header comment that names the file's coordinate system.
    (void)kv::geom::dxfFileAxes(scratchFile());

    kv::model::GeometryTransform transform;
    // The first byte, when there is one, also picks the file's handedness and
    // a rotation, so both import matrices are exercised.
    if (size != 0) {
        transform.rightHanded = data[0] & 1;
        transform.rotate = {static_cast<float>(data[0]), 30.0f, -45.0f};
    }
    kv::NullMessages messages;
    int faces = 0;
    kv::geom::readDxf(
        scratchFile(), size, transform,
        [&](const std::array<double, 12>& corners, float progress) {
            for (double c : corners) {
                if (!std::isfinite(c)) {
                    std::abort();
                }
            }
            if (!(progress >= 0.0f && progress <= 1.0f)) {
                std::abort();
            }
            // Stop now and then, as a user pressing ESC would.
            return ++faces % 7 == 0 ? 0 : 1;
        },
        messages);
    return 0;
}
