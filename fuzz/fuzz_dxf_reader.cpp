// libFuzzer target: arbitrary bytes as a DXF file through the streaming reader.
// Every face handed out must carry finite coordinates and a progress in [0, 1].

#include "common/ports/messages.h"
#include "geometry/dxf_header.h"
#include "geometry/dxf_reader.h"
#include "scratch_file.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path file = kv::fuzz::writeScratchFile("dxf", ".dxf", data, size);
    if (file.empty())
        return 0;

    // The header comment that names the file's coordinate system.
    (void)kv::geom::dxfFileAxes(file);

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
        file, size, transform,
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
