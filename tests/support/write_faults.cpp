#include "support/write_faults.h"

namespace kv::filetest {

std::map<std::string, std::vector<std::uint8_t>> snapshot(const std::filesystem::path& dir) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        files[entry.path().filename().string()] =
            entry.is_regular_file() ? readBytes(entry.path()) : std::vector<std::uint8_t>{};
    return files;
}

namespace {

void restore(const std::filesystem::path& dir,
             const std::map<std::string, std::vector<std::uint8_t>>& files) {
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (files.count(entry.path().filename().string()) == 0)
            std::filesystem::remove_all(entry.path());
    for (const auto& [name, bytes] : files)
        if (std::filesystem::is_regular_file(dir / name))
            writeBytes(dir / name, bytes);
}

} // namespace

::testing::AssertionResult saveSurvivesEveryCut(const std::filesystem::path& dir,
                                                const std::function<bool()>& save, MessageLog* log,
                                                std::size_t* totalBytes) {
    const auto before = snapshot(dir);
    std::size_t total = 0;
    {
        ScopedWriteFaults counting;
        if (!save())
            return ::testing::AssertionFailure() << "the save fails with no fault";
        total = counting.faults.bytesWritten;
    }
    if (total == 0)
        return ::testing::AssertionFailure() << "the save wrote nothing";
    restore(dir, before);
    for (std::size_t cut = 0; cut < total; ++cut) {
        if (log != nullptr)
            log->shown.clear();
        bool saved = false;
        {
            ScopedWriteFaults failing;
            failing.faults.byteLimit = cut;
            saved = save();
        }
        if (saved)
            return ::testing::AssertionFailure()
                   << "a save cut after " << cut << " of " << total << " bytes reports success";
        if (snapshot(dir) != before)
            return ::testing::AssertionFailure()
                   << "a save cut after " << cut << " of " << total << " bytes changed the folder";
        if (log != nullptr && log->shown.empty())
            return ::testing::AssertionFailure()
                   << "a save cut after " << cut << " of " << total << " bytes says nothing";
    }
    if (totalBytes != nullptr)
        *totalBytes = total;
    return ::testing::AssertionSuccess() << total << " bytes";
}

} // namespace kv::filetest
