#include "geometry/working_files_export.h"

#include "common/atomic_file.h"
#include "geometry/working_files.h"

#include <algorithm>
#include <array>

namespace kv::geom {
namespace {

constexpr std::string_view kCannotRead = "The working file could not be read.";
constexpr std::string_view kCannotWrite = "The DXF file could not be written.";

template <typename T>
bool writeFaces(const std::filesystem::path& source, std::int64_t count, std::FILE* out,
                const DxfOutputUnits& units, ProgressPort* progress, bool& aborted,
                bool& readFailed) {
    TriangleStreamReader<T> reader(source);
    Triangle<T> tri;
    std::array<double, 12> face{};
    const double total = count > 0 ? static_cast<double>(count) : 1.0;
    std::int64_t done = 0;
    for (;;) {
        const StreamRead r = reader.next(tri);
        if (r == StreamRead::End)
            return true;
        if (r == StreamRead::Error) {
            readFailed = true;
            return false;
        }
        for (std::size_t c = 0; c < 4; ++c) {
            const auto& corner = tri[std::min<std::size_t>(c, 2)];
            for (std::size_t k = 0; k < 3; ++k)
                face[c * 3 + k] = static_cast<double>(corner[k]);
        }
        if (!writeDxfFace(out, face, units))
            return false;
        ++done;
        if (progress != nullptr &&
            !progress->update(std::min(1.0, static_cast<double>(done) / total))) {
            aborted = true;
            return false;
        }
    }
}

} // namespace

bool exportWorkingFile(const std::filesystem::path& source, StreamPrecision precision,
                       std::int64_t triangleCount, const std::filesystem::path& target,
                       const DxfOutputUnits& units, ProgressPort* progress, MessagePort& messages) {
    if (progress != nullptr)
        progress->start("Writing Terrain Polygons:");
    bool aborted = false;
    bool readFailed = false;
    const bool ok = writeFileAtomically(target, [&](std::FILE* out) {
        if (!writeDxfHeader(out, units))
            return false;
        const bool faces = precision == StreamPrecision::Double
                               ? writeFaces<double>(source, triangleCount, out, units, progress,
                                                    aborted, readFailed)
                               : writeFaces<float>(source, triangleCount, out, units, progress,
                                                   aborted, readFailed);
        return faces && writeDxfTrailer(out);
    });
    if (progress != nullptr)
        progress->finish();
    if (ok || aborted)
        return ok;
    messages.showMessage(readFailed ? kCannotRead : kCannotWrite);
    return false;
}

} // namespace kv::geom
