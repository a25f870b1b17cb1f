#include "common/private_folders.h"

#include "common/file_names.h"

#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kv {

namespace fs = std::filesystem;

std::optional<fs::path> makeUniqueFolder(const std::string& prefix) {
#ifdef _WIN32
    // No mkdtemp: try names from the process id, a counter and the clock until
    // CreateDirectoryW makes one that did not exist. The folder inherits the
    // user's own temporary folder's access list, which only that user may enter.
    static unsigned long counter = 0;
    constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 1000; ++attempt) {
        unsigned long long seed = (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^
                                  (::GetTickCount64() * 2654435761ULL) ^ (++counter * 40503ULL);
        std::string name = prefix;
        for (int i = 0; i < 6; ++i) {
            name.push_back(kDigits[seed % 36]);
            seed /= 36;
        }
        const fs::path folder = pathFromUtf8(name);
        if (::CreateDirectoryW(folder.c_str(), nullptr) != 0)
            return folder;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return std::nullopt;
    }
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
    // A real folder, not a junction or link to one elsewhere; folders under the
    // user's own temporary folder are that user's.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
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
