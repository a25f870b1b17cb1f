#include "geometry/working_files.h"

#include "common/atomic_file.h"
#include "common/file_names.h"
#include "common/le_io.h"
#include "common/private_folders.h"
#include "common/processes.h"
#include "common/vecmath.h"

#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

namespace kv::geom {
namespace {

/// Byte image of one stream value; the stream is little-endian on every host.
template <typename T> struct Codec;

template <> struct Codec<float> {
    static constexpr std::size_t kBytes = 4;
    static void put(std::uint8_t* p, float v) { io::putF32(p, v); }
    static float get(const std::uint8_t* p) { return io::getF32(p); }
};

template <> struct Codec<double> {
    static constexpr std::size_t kBytes = 8;
    static void put(std::uint8_t* p, double v) {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        io::putU32(p, static_cast<std::uint32_t>(bits));
        io::putU32(p + 4, static_cast<std::uint32_t>(bits >> 32));
    }
    static double get(const std::uint8_t* p) {
        const std::uint64_t bits = static_cast<std::uint64_t>(io::getU32(p)) |
                                   (static_cast<std::uint64_t>(io::getU32(p + 4)) << 32);
        return std::bit_cast<double>(bits);
    }
};

static_assert(Codec<float>::kBytes * 9 == 36, "scenery record is 9 singles");
static_assert(Codec<double>::kBytes * 9 == 72, "terrain record is 9 doubles");

/// stdio buffer of an owned working file: large sequential reads and writes.
constexpr std::size_t kFileBuffer = 1 << 20;

FileHandle openFile(const std::filesystem::path& path, const char* mode) {
    FileHandle f(kv::openFile(path, mode));
    if (f)
        std::setvbuf(f.get(), nullptr, _IOFBF, kFileBuffer);
    return f;
}

template <typename T> bool endMarkerX(T x) {
    return isEndMarker(x);
}

template <typename T> std::int64_t copyStream(std::FILE* in, std::FILE* out, std::int64_t max) {
    constexpr std::size_t kB = Codec<T>::kBytes;
    std::array<std::uint8_t, kB * 9> rec{};
    std::int64_t count = 0;
    for (;;) {
        if (std::fread(rec.data(), kB, 1, in) != 1)
            return -1;
        if (isEndMarker(Codec<T>::get(rec.data()))) {
            if (std::fwrite(rec.data(), kB, 1, out) != 1)
                return -1;
            return count;
        }
        if (count >= max)
            return -1;
        if (std::fread(rec.data() + kB, kB * 8, 1, in) != 1)
            return -1;
        if (std::fwrite(rec.data(), rec.size(), 1, out) != 1)
            return -1;
        ++count;
    }
}

} // namespace

std::string sceneryFileName(int set) {
    return "scene" + std::to_string(set);
}

std::string tempFileName(std::string_view name) {
    return std::string(name) + "Temp";
}

std::unique_ptr<PrivateWorkingFolder>
PrivateWorkingFolder::create(const std::filesystem::path& parent) {
    std::error_code ec;
    std::filesystem::path base = parent;
    if (base.empty())
        base = std::filesystem::temp_directory_path(ec);
    if (ec || base.empty())
        return nullptr;
    const std::string prefix = utf8Name(
        base / (std::string(kWorkingFolderPrefix) + std::to_string(currentProcessId()) + "-"));
    const auto made = makeUniqueFolder(prefix);
    if (!made)
        return nullptr;
    return std::unique_ptr<PrivateWorkingFolder>(new PrivateWorkingFolder(*made));
}

std::optional<long> workingFolderOwner(std::string_view name) {
    constexpr std::size_t kUniqueChars = 6;
    if (name.substr(0, kWorkingFolderPrefix.size()) != kWorkingFolderPrefix)
        return std::nullopt;
    name.remove_prefix(kWorkingFolderPrefix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || name.size() != dash + 1 + kUniqueChars)
        return std::nullopt;
    long pid = 0;
    const auto r = std::from_chars(name.data(), name.data() + dash, pid);
    if (r.ec != std::errc() || r.ptr != name.data() + dash || pid <= 0)
        return std::nullopt;
    for (const char c : name.substr(dash + 1)) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0)
            return std::nullopt;
    }
    return pid;
}

StaleSweep removeStaleWorkingFolders(const std::filesystem::path& parent) {
    StaleSweep sweep;
    std::error_code ec;
    std::filesystem::path base = parent;
    if (base.empty())
        base = std::filesystem::temp_directory_path(ec);
    if (ec || base.empty())
        return sweep;
    const long self = currentProcessId();
    for (std::filesystem::directory_iterator it(base, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::filesystem::path& folder = it->path();
        const auto owner = workingFolderOwner(utf8Name(folder.filename()));
        if (!owner || *owner == self || processIsRunning(*owner) || !isOwnFolder(folder))
            continue;
        const std::uintmax_t bytes = folderBytes(folder);
        std::error_code removeEc;
        std::filesystem::remove_all(folder, removeEc);
        if (!removeEc) {
            ++sweep.folders;
            sweep.bytes += bytes;
        }
    }
    return sweep;
}

std::string staleSweepMessage(const StaleSweep& sweep) {
    if (sweep.folders == 0)
        return {};
    constexpr double kKilobyte = 1024.0;
    const double bytes = static_cast<double>(sweep.bytes);
    char size[32];
    if (bytes < kKilobyte * kKilobyte)
        std::snprintf(size, sizeof size, "%.1f KB", bytes / kKilobyte);
    else
        std::snprintf(size, sizeof size, "%.1f MB", bytes / (kKilobyte * kKilobyte));
    return "removed " + std::to_string(sweep.folders) +
           (sweep.folders == 1 ? " working folder" : " working folders") +
           " left by programs that ended, " + size + " freed";
}

PrivateWorkingFolder::~PrivateWorkingFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

bool isEndMarker(float first) {
    return CompareTol(first, -999.0f) == 0;
}
bool isEndMarker(double first) {
    return CompareTolD(first, kStreamEndMarker) == 0;
}

template <typename T>
TriangleStreamReader<T>::TriangleStreamReader(const std::filesystem::path& path)
    : owned_(openFile(path, "rb")) {}

template <typename T> StreamRead TriangleStreamReader<T>::next(Triangle<T>& out) {
    std::FILE* const stream = file();
    if (stream == nullptr)
        return StreamRead::Error;
    constexpr std::size_t kB = Codec<T>::kBytes;
    std::array<std::uint8_t, kB * 9> rec;
    if (std::fread(rec.data(), kB, 1, stream) != 1)
        return StreamRead::Error;
    const T first = Codec<T>::get(rec.data());
    if (isEndMarker(first))
        return StreamRead::End;
    if (std::fread(rec.data() + kB, kB * 8, 1, stream) != 1)
        return StreamRead::Error;
    for (std::size_t c = 0; c < 3; ++c) {
        for (std::size_t k = 0; k < 3; ++k)
            out[c][k] = Codec<T>::get(rec.data() + (c * 3 + k) * kB);
    }
    return StreamRead::Triangle;
}

template <typename T>
TriangleStreamWriter<T>::TriangleStreamWriter(const std::filesystem::path& path)
    : owned_(openForWriting(path)) {
    if (owned_)
        std::setvbuf(owned_.get(), nullptr, _IOFBF, kFileBuffer);
}

template <typename T> bool TriangleStreamWriter<T>::write(const Triangle<T>& tri) {
    std::FILE* const stream = file();
    if (stream == nullptr || failed_)
        return false;
    int firstCorner = 0;
    while (firstCorner < 3 && endMarkerX(tri[static_cast<std::size_t>(firstCorner)][0])) {
        ++firstCorner;
    }
    if (firstCorner == 3) {
        ++dropped_;
        return true;
    }
    constexpr std::size_t kB = Codec<T>::kBytes;
    std::array<std::uint8_t, kB * 9> rec;
    for (std::size_t c = 0; c < 3; ++c) {
        const auto& corner = tri[(c + static_cast<std::size_t>(firstCorner)) % 3];
        for (std::size_t k = 0; k < 3; ++k)
            Codec<T>::put(rec.data() + (c * 3 + k) * kB, corner[k]);
    }
    if (std::fwrite(rec.data(), rec.size(), 1, stream) != 1) {
        failed_ = true;
        return false;
    }
    ++written_;
    return true;
}

template <typename T> bool TriangleStreamWriter<T>::writeEnd() {
    std::FILE* const stream = file();
    if (stream == nullptr || failed_)
        return false;
    std::array<std::uint8_t, Codec<T>::kBytes> rec;
    Codec<T>::put(rec.data(), static_cast<T>(kStreamEndMarker));
    if (std::fwrite(rec.data(), rec.size(), 1, stream) != 1 || std::fflush(stream) != 0) {
        failed_ = true;
    }
    return !failed_;
}

template <typename T> bool TriangleStreamWriter<T>::close() {
    if (owned_) {
        std::FILE* f = owned_.release();
        if (std::fflush(f) != 0 || std::ferror(f) != 0)
            failed_ = true;
        if (std::fclose(f) != 0)
            failed_ = true;
    }
    return !failed_;
}

template class TriangleStreamReader<float>;
template class TriangleStreamReader<double>;
template class TriangleStreamWriter<float>;
template class TriangleStreamWriter<double>;

std::int64_t copySceneryStream(std::FILE* in, std::FILE* out, std::int64_t maxTriangles) {
    return copyStream<float>(in, out, maxTriangles);
}

std::int64_t copyTerrainStream(std::FILE* in, std::FILE* out, std::int64_t maxTriangles) {
    return copyStream<double>(in, out, maxTriangles);
}

} // namespace kv::geom
