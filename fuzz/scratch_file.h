#pragma once
// The file through which a fuzz target hands each input to a reader that
// takes a path: one per process, in a memory-backed folder when there is one
// (the per-input write then stays off the disk), removed when the target ends.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace kv::fuzz {

/// Writes `data` into the scratch file "kv_fuzz_<stem>_<pid><extension>" and
/// returns its path; empty when it could not be written.
inline std::filesystem::path writeScratchFile(std::string_view stem, std::string_view extension,
                                              const std::uint8_t* data, std::size_t size) {
    struct Scratch {
        std::filesystem::path path;
        ~Scratch() {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    };
    static const Scratch scratch{(std::filesystem::is_directory("/dev/shm")
                                      ? std::filesystem::path("/dev/shm")
                                      : std::filesystem::temp_directory_path()) /
                                 ("kv_fuzz_" + std::string(stem) + "_" +
                                  std::to_string(::getpid()) + std::string(extension))};
    std::FILE* file = std::fopen(scratch.path.c_str(), "wb");
    if (file == nullptr)
        return {};
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written)
        return {};
    return scratch.path;
}

} // namespace kv::fuzz
