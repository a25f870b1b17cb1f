#pragma once
/// Saves run over a failing file layer: the disk fills after every possible
/// number of bytes in turn, and each failed save must leave the folder exactly
/// as it was and say so.

#include "common/atomic_file.h"
#include "support/file_test_support.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace kv::filetest {

/// Every file in `dir` by name with its bytes.
std::map<std::string, std::vector<std::uint8_t>> snapshot(const std::filesystem::path& dir);

/// Installs faults for its lifetime.
class ScopedWriteFaults {
  public:
    ScopedWriteFaults() { setAtomicWriteFaults(&faults); }
    ~ScopedWriteFaults() { setAtomicWriteFaults(nullptr); }
    ScopedWriteFaults(const ScopedWriteFaults&) = delete;
    ScopedWriteFaults& operator=(const ScopedWriteFaults&) = delete;
    AtomicWriteFaults faults;
};

/// Runs `save` (true when it succeeded) once without a fault to learn how many
/// bytes it writes, puts the folder back, then once for every smaller byte
/// count with the disk full after that many bytes. Each failed run must
/// return false, leave every file in `dir` byte-identical with no temporary
/// file added, and (when `log` is given) show a message. Returns the size of
/// the complete save in bytes, or reports the first byte count that broke a rule.
::testing::AssertionResult saveSurvivesEveryCut(const std::filesystem::path& dir,
                                                const std::function<bool()>& save, MessageLog* log,
                                                std::size_t* totalBytes = nullptr);

} // namespace kv::filetest
