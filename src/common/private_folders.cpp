#include "common/private_folders.h"

#include <system_error>
#include <vector>

#ifndef _WIN32
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kv {

namespace fs = std::filesystem;

std::optional<fs::path> makeUniqueFolder(const std::string& prefix) {
#ifdef _WIN32
    // Windows builds hold no working folders yet.
    (void)prefix;
    return std::nullopt;
#else
    std::vector<char> name(prefix.begin(), prefix.end());
    for (int i = 0; i < 6; ++i)
        name.push_back('X');
    name.push_back('\0');
    // mkdtemp picks a name no other process holds and creates it owner-only.
    if (::mkdtemp(name.data()) == nullptr)
        return std::nullopt;
    return fs::path(name.data());
#endif
}

bool isOwnFolder(const fs::path& path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
#endif
}

std::uintmax_t folderBytes(const fs::path& folder) {
    std::uintmax_t total = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (it->is_regular_file(fileEc) && !it->is_symlink(fileEc)) {
            const std::uintmax_t size = it->file_size(fileEc);
            if (!fileEc)
                total += size;
        }
    }
    return total;
}

} // namespace kv
