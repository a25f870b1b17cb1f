#include "common/atomic_file.h"

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kv {
namespace {

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

} // namespace

bool streamWritten(std::FILE* out) {
    return std::fflush(out) == 0 && std::ferror(out) == 0;
}

bool writeFileAtomically(const std::filesystem::path& target,
                         const std::function<bool(std::FILE*)>& writeBody) {
    if (target.empty() || !target.has_filename()) {
        return false;
    }
    const std::filesystem::path dir =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    // A hidden name beside the target: same directory, so the rename is atomic.
    const std::string pattern = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');

    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return false;
    }
    const std::string tempPath(name.data());
    std::FILE* out = ::fdopen(fd, "wb");
    if (out == nullptr) {
        ::close(fd);
        ::unlink(tempPath.c_str());
        return false;
    }

    bool ok = ::fchmod(fd, modeForTarget(target)) == 0;
    ok = ok && writeBody(out);
    ok = ok && streamWritten(out);
    ok = ok && ::fsync(fd) == 0;
    ok = (std::fclose(out) == 0) && ok;
    ok = ok && std::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
    }
    return ok;
}

} // namespace kv
