#pragma once
/// Fakes and fixtures for tests of the file readers and writers: a message
/// port that records what it is shown, a scratch folder per test, and a way to
/// make a folder refuse writes even to the superuser.

#include "common/ports/messages.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv::filetest {

/// Records every message shown.
class MessageLog final : public MessagePort {
  public:
    void showMessage(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

/// A fresh folder under the system temporary folder, removed with everything
/// in it when the fixture goes.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    /// Names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;

  private:
    std::filesystem::path path_;
};

/// Makes `dir` refuse new files: permission bits, and for the superuser (whom
/// permissions do not stop) the immutable attribute. Returns false when the
/// folder still accepts a new file, so the caller can skip.
bool makeReadOnly(const std::filesystem::path& dir);
/// Undoes makeReadOnly.
void makeWritable(const std::filesystem::path& dir);

std::vector<std::uint8_t> readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);

} // namespace kv::filetest
