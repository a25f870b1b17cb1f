// Feeds arbitrary text to the path CSV reader in every working unit: it either
// fails with a message that names the line (or the whole file's fault) or
// gives a path the follower can drive: finite points within the bounds, speeds
// finite and not negative, times finite and rising.

#include "app/follow/path_csv.h"
#include "app/settings/units.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool knownFailure(const std::string& error) {
    return error.rfind("line ", 0) == 0 || error.rfind("a path needs", 0) == 0 ||
           error.rfind("no point gives", 0) == 0 || error.find("longer than") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the working length unit, the rest is the file.
    const auto& unit = kv::app::kLengthUnits[data[0] % kv::app::kLengthUnits.size()];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    kv::app::FollowPath path;
    std::string error;
    if (!kv::app::parsePathCsv(text, unit.feetPerUnit, path, error)) {
        if (!knownFailure(error))
            __builtin_trap();
        return 0;
    }
    if (path.points.size() < kv::app::kMinPathPoints ||
        path.points.size() > kv::app::kMaxPathPoints)
        __builtin_trap();
    double lastMark = -1.0;
    for (const kv::app::PathPoint& p : path.points) {
        if (!std::isfinite(p.north) || !std::isfinite(p.east) || !std::isfinite(p.up) ||
            !std::isfinite(p.speed) || !std::isfinite(p.time) || p.speed < 0.0)
            __builtin_trap();
        if (path.timing == kv::app::PathTiming::Times && p.timed) {
            if (!(p.time > lastMark))
                __builtin_trap();
            lastMark = p.time;
        }
    }
    return 0;
}
