#include "common/atomic_file.h"

// The POSIX implementation; Windows has its own in atomic_file_windows.cpp.
#ifndef _WIN32

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace kv {
namespace {

AtomicWriteFaults* gFaults = nullptr;

mode_t modeForTarget(const std::filesystem::path& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        return st.st_mode & 07777;
    }
    // umask can only be read by setting it; the program is single-threaded.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

void beforeStep(AtomicWriteStep step) {
    if (gFaults != nullptr && gFaults->beforeStep) {
        gFaults->beforeStep(step);
    }
}

/// Writes through to the descriptor until the installed byte limit is spent,
/// then fails every write as a full disk does.
ssize_t limitedWrite(void* cookie, const char* data, std::size_t size) {
    const int fd = *static_cast<int*>(cookie);
    const std::size_t room =
        gFaults->byteLimit - std::min(gFaults->byteLimit, gFaults->bytesWritten);
    const std::size_t allowed = std::min(size, room);
    std::size_t done = 0;
    while (done < allowed) {
        const ssize_t n = ::write(fd, data + done, allowed - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    gFaults->bytesWritten += done;
    if (done < size) {
        errno = ENOSPC;
        return done > 0 ? static_cast<ssize_t>(done) : -1;
    }
    return static_cast<ssize_t>(size);
}

int limitedClose(void* cookie) {
    return ::close(*static_cast<int*>(cookie));
}

int ownedClose(void* cookie) {
    const int fd = *static_cast<int*>(cookie);
    delete static_cast<int*>(cookie);
    return ::close(fd);
}

/// The stream the body writes to: the descriptor itself, or the failing
/// layer over it when faults are installed.
std::FILE* openStream(int& fd) {
    if (gFaults == nullptr) {
        return ::fdopen(fd, "wb");
    }
    const cookie_io_functions_t io{nullptr, limitedWrite, nullptr, limitedClose};
    return ::fopencookie(&fd, "wb", io);
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

} // namespace

bool streamWritten(std::FILE* out) {
    return std::fflush(out) == 0 && std::ferror(out) == 0;
}

std::FILE* openForWriting(const std::filesystem::path& file) {
    if (gFaults == nullptr) {
        return std::fopen(file.c_str(), "wb+");
    }
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    int* cookie = new int(fd);
    const cookie_io_functions_t io{nullptr, limitedWrite, nullptr, ownedClose};
    std::FILE* out = ::fopencookie(cookie, "wb", io);
    if (out == nullptr) {
        ownedClose(cookie);
    }
    return out;
}

void setAtomicWriteFaults(AtomicWriteFaults* faults) {
    gFaults = faults;
}

namespace {

/// Writes `writeBody` into a new temporary file beside `target`. Returns its
/// path, or an empty path (and no file left) when any step failed.
std::string writeTemporary(const std::filesystem::path& target,
                           const std::function<bool(std::FILE*)>& writeBody) {
    if (target.empty() || !target.has_filename()) {
        return {};
    }
    const std::filesystem::path dir =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    // A hidden name beside the target: same directory, so the rename is atomic.
    const std::string pattern = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');

    beforeStep(AtomicWriteStep::CreateTemporary);
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return {};
    }
    const std::string tempPath(name.data());
    StreamGuard guard{openStream(fd)};
    if (guard.out == nullptr) {
        ::close(fd);
        ::unlink(tempPath.c_str());
        return {};
    }

    bool ok = ::fchmod(fd, modeForTarget(target)) == 0;
    beforeStep(AtomicWriteStep::WriteBody);
    ok = ok && writeBody(guard.out);
    ok = ok && streamWritten(guard.out);
    beforeStep(AtomicWriteStep::Sync);
    ok = ok && (gFaults != nullptr || ::fsync(fd) == 0);
    std::FILE* out = guard.out;
    guard.out = nullptr;
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return {};
    }
    return tempPath;
}

} // namespace

bool writeFileAtomically(const std::filesystem::path& target,
                         const std::function<bool(std::FILE*)>& writeBody) {
    return writeFilesAtomically({{target, writeBody}});
}

bool writeFilesAtomically(const std::vector<AtomicFileWrite>& files) {
    std::vector<std::string> temps;
    bool ok = true;
    for (const AtomicFileWrite& f : files) {
        std::string temp = writeTemporary(f.target, f.writeBody);
        if (temp.empty()) {
            ok = false;
            break;
        }
        temps.push_back(std::move(temp));
    }
    for (std::size_t i = 0; ok && i < temps.size(); ++i) {
        beforeStep(AtomicWriteStep::Rename);
        ok = std::rename(temps[i].c_str(), files[i].target.c_str()) == 0;
        if (ok) {
            temps[i].clear();
        }
    }
    for (const std::string& temp : temps) {
        if (!temp.empty()) {
            ::unlink(temp.c_str());
        }
    }
    return ok;
}

} // namespace kv

#endif // !_WIN32
