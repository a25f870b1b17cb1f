// Feeds arbitrary bytes to the motion, object and previous-version object
// readers, then replays whatever motion was read.

#include "common/ports/messages.h"
#include "model/motion_file.h"
#include "model/motion_playback.h"
#include "model/object_file.h"
#include "model/object_file_convert.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::FILE* openBytes(std::vector<std::uint8_t>& copy) {
    // fmemopen refuses an empty buffer on some C libraries; one spare byte
    // beyond the size keeps the pointer valid without being readable.
    return fmemopen(copy.data(), copy.size() - 1, "rb");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> copy(data, data + size);
    copy.push_back(0);
    kv::NullMessages messages;

    kv::model::MotionStore store;
    if (!store.allocate(3, 8)) {
        return 0;
    }
    kv::model::ObjectRecord record;
    int faces = 0;
    kv::model::GeometryIntake mesh{
        [&faces] { faces = 0; }, [&faces](const std::array<double, 12>&) { return ++faces < 50; }};

    if (std::FILE* in = openBytes(copy)) {
        bool report = true;
        const bool read = kv::model::readMotion(in, {1, &record, mesh}, store, report, messages);
        std::fclose(in);
        if (read && store.lastFrame(1) >= 1) {
            kv::model::MotionFrame out{};
            float t = -1.0f;
            for (int i = 0; i < 12; ++i, t += 0.37f) {
                kv::model::interpolateMotion(store, 1, kv::model::kFrameFieldCount, t, 0.1f, out,
                                             messages);
            }
            (void)kv::model::motionLength(store, 1);
        }
    }
    if (std::FILE* in = openBytes(copy)) {
        if (kv::model::checkFileVersion(in, messages) == kv::model::kVersionCurrent) {
            (void)kv::model::readObjectFile(in, {0, &record, mesh}, true, messages);
        }
        std::fclose(in);
    }
    if (std::FILE* in = openBytes(copy)) {
        (void)kv::model::readPreviousObject(in, "Untitled", -1, messages);
        std::fclose(in);
    }
    return 0;
}
