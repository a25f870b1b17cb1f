// Safe replacement of a file on Windows: the temporary file is created beside
// the target with write-through, flushed to the disk with FlushFileBuffers and
// moved over the target with MoveFileExW (replace, write-through), which is
// atomic within one volume. The POSIX implementation is atomic_file.cpp.
#ifdef _WIN32

#include "common/atomic_file.h"
#include "common/file_names.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

namespace kv {
namespace {

AtomicWriteFaults* gFaults = nullptr;

void beforeStep(AtomicWriteStep step) {
    if (gFaults != nullptr && gFaults->beforeStep) {
        gFaults->beforeStep(step);
    }
}

/// Closes the stream if the save is left by an exception (a simulated crash);
/// the temporary file stays, as it would after a real one.
struct StreamGuard {
    std::FILE* out;
    ~StreamGuard() {
        if (out != nullptr) {
            std::fclose(out);
        }
    }
};

/// A hidden name beside the target that no file has yet, created empty:
/// same folder, so the move over the target is atomic.
HANDLE createTemporary(const std::filesystem::path& target, std::filesystem::path& temp) {
    const std::filesystem::path dir =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    static unsigned long counter = 0;
    constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 1000; ++attempt) {
        unsigned long long seed = (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^
                                  (::GetTickCount64() * 2654435761ULL) ^ (++counter * 40503ULL);
        std::string suffix = ".";
        for (int i = 0; i < 6; ++i) {
            suffix.push_back(kDigits[seed % 36]);
            seed /= 36;
        }
        temp = dir / pathFromUtf8("." + utf8Name(target.filename()) + suffix);
        HANDLE h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            return h;
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return INVALID_HANDLE_VALUE;
}

/// The byte limit of installed faults, checked once the body is flushed:
/// what went past it would not have reached a full disk, so the save fails
/// as it would have there.
bool withinByteLimit(std::FILE* out) {
    if (gFaults == nullptr)
        return true;
    const long long size = ::_ftelli64(out);
    if (size < 0)
        return false;
    const std::size_t bytes = static_cast<std::size_t>(size);
    const std::size_t room =
        gFaults->byteLimit - std::min(gFaults->byteLimit, gFaults->bytesWritten);
    gFaults->bytesWritten += std::min(bytes, room);
    return bytes <= room;
}

/// Writes `writeBody` into a new temporary file beside `target`. Returns its
/// path, or an empty path (and no file left) when any step failed.
std::filesystem::path writeTemporary(const std::filesystem::path& target,
                                     const std::function<bool(std::FILE*)>& writeBody) {
    if (target.empty() || !target.has_filename()) {
        return {};
    }
    beforeStep(AtomicWriteStep::CreateTemporary);
    std::filesystem::path temp;
    HANDLE h = createTemporary(target, temp);
    if (h == INVALID_HANDLE_VALUE) {
        return {};
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(h);
        ::DeleteFileW(temp.c_str());
        return {};
    }
    StreamGuard guard{::_fdopen(fd, "wb")};
    if (guard.out == nullptr) {
        ::_close(fd);
        ::DeleteFileW(temp.c_str());
        return {};
    }

    beforeStep(AtomicWriteStep::WriteBody);
    bool ok = writeBody(guard.out);
    ok = ok && streamWritten(guard.out) && withinByteLimit(guard.out);
    beforeStep(AtomicWriteStep::Sync);
    ok = ok && (gFaults != nullptr || ::FlushFileBuffers(h) != 0);
    std::FILE* out = guard.out;
    guard.out = nullptr;
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) {
        ::DeleteFileW(temp.c_str());
        return {};
    }
    return temp;
}

} // namespace

bool streamWritten(std::FILE* out) {
    return std::fflush(out) == 0 && std::ferror(out) == 0;
}

std::FILE* openForWriting(const std::filesystem::path& file) {
    // Working files are not counted against a fault layer's byte limit here:
    // Windows' C library has no hook under a stream.
    return openFile(file, "wb+");
}

void setAtomicWriteFaults(AtomicWriteFaults* faults) {
    gFaults = faults;
}

bool writeFileAtomically(const std::filesystem::path& target,
                         const std::function<bool(std::FILE*)>& writeBody) {
    return writeFilesAtomically({{target, writeBody}});
}

bool writeFilesAtomically(const std::vector<AtomicFileWrite>& files) {
    std::vector<std::filesystem::path> temps;
    bool ok = true;
    for (const AtomicFileWrite& f : files) {
        std::filesystem::path temp = writeTemporary(f.target, f.writeBody);
        if (temp.empty()) {
            ok = false;
            break;
        }
        temps.push_back(std::move(temp));
    }
    for (std::size_t i = 0; ok && i < temps.size(); ++i) {
        beforeStep(AtomicWriteStep::Rename);
        ok = ::MoveFileExW(temps[i].c_str(), files[i].target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        if (ok) {
            temps[i].clear();
        }
    }
    for (const std::filesystem::path& temp : temps) {
        if (!temp.empty()) {
            ::DeleteFileW(temp.c_str());
        }
    }
    return ok;
}

} // namespace kv

#endif // _WIN32
