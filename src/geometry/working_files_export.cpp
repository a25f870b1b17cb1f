#include "geometry/working_files_export.h"

#include "geometry/working_files.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace kv::geom {
namespace {

constexpr std::string_view kCannotOpen = "The DXF file could not be opened.";
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
    std::filesystem::path temp = target;
    temp += ".tmp";
    FileHandle out(std::fopen(temp.c_str(), "w+"));
    if (!out) {
        messages.showMessage(kCannotOpen);
        return false;
    }
    if (progress != nullptr)
        progress->start("Writing Terrain Polygons:");
    bool aborted = false;
    bool readFailed = false;
    bool ok = writeDxfHeader(out.get(), units);
    if (ok) {
        ok = precision == StreamPrecision::Double
                 ? writeFaces<double>(source, triangleCount, out.get(), units, progress, aborted,
                                      readFailed)
                 : writeFaces<float>(source, triangleCount, out.get(), units, progress, aborted,
                                     readFailed);
    }
    if (ok)
        ok = writeDxfTrailer(out.get());
    std::FILE* f = out.release();
    if (std::fflush(f) != 0 || std::ferror(f) != 0)
        ok = false;
    if (std::fclose(f) != 0)
        ok = false;
    if (progress != nullptr)
        progress->finish();

    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temp, target, ec);
        if (!ec)
            return true;
    }
    std::filesystem::remove(temp, ec);
    if (aborted)
        return false;
    messages.showMessage(readFailed ? std::string_view("The working file could not be read.")
                                    : kCannotWrite);
    return false;
}

} // namespace kv::geom
