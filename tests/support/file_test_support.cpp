#include "support/file_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kv::filetest {
namespace {

void setImmutable(const std::filesystem::path& dir, bool on) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return;
    }
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
}

bool acceptsNewFile(const std::filesystem::path& dir) {
    const std::filesystem::path probe = dir / ".probe";
    std::FILE* f = std::fopen(probe.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    std::fclose(f);
    std::filesystem::remove(probe);
    return true;
}

} // namespace

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kv-files-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
        if (entry.is_directory(ec)) {
            makeWritable(entry.path());
        }
    }
    makeWritable(path_);
    std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> ScratchDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool makeReadOnly(const std::filesystem::path& dir) {
    std::filesystem::permissions(
        dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                 std::filesystem::perms::group_read | std::filesystem::perms::group_exec);
    if (acceptsNewFile(dir)) {
        setImmutable(dir, true);
    }
    return !acceptsNewFile(dir);
}

void makeWritable(const std::filesystem::path& dir) {
    setImmutable(dir, false);
    std::error_code ec;
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ec);
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace kv::filetest
