// Working folders left behind by programs that were killed: told apart by the
// owner's process id in their name, removed at the next start, while folders
// of running programs and anything that is not a working folder stay.

#include "geometry/working_files.h"
#include "support/file_test_support.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kv::geom {
namespace {

namespace fs = std::filesystem;

/// Id of a process that has ended and been reaped.
long endedProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return static_cast<long>(child);
}

TEST(StaleWorkingFolders, NameCarriesTheOwnersProcessId) {
    auto folder = PrivateWorkingFolder::create();
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(workingFolderOwner(folder->folder().filename().string()),
              std::optional<long>(static_cast<long>(::getpid())));

    struct Case {
        const char* name;
        std::optional<long> owner;
    };
    const Case cases[] = {
        {"kestrovane-4242-aB3xYz", 4242},
        {"kestrovane-4242-aB3xY", std::nullopt},   // five unique characters
        {"kestrovane-4242-aB3xYzz", std::nullopt}, // seven
        {"kestrovane-aB3xYz", std::nullopt},       // the naming before process ids
        {"kestrovane--aB3xYz", std::nullopt},
        {"kestrovane-0-aB3xYz", std::nullopt},
        {"kestrovane-12x4-aB3xYz", std::nullopt},
        {"kestrovane-4242-aB.xYz", std::nullopt},
        {"kestrovane-99999999999999999999999-aB3xYz", std::nullopt},
        {"other-4242-aB3xYz", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(workingFolderOwner(c.name), c.owner) << c.name;
}

TEST(StaleWorkingFolders, OnlyFoldersOfEndedProgramsAreRemoved) {
    filetest::ScratchDir dir;
    const long ended = endedProcessId();
    const fs::path stale = dir / ("kestrovane-" + std::to_string(ended) + "-Ab12Cd");
    fs::create_directories(stale / "nested");
    std::ofstream(stale / "terrain") << std::string(3000, 't');
    std::ofstream(stale / "nested" / "scene0") << std::string(500, 's');

    // Kept: this program's own folder, a running program's, names of other
    // kinds, and a file or a link that only looks like a working folder.
    auto own = PrivateWorkingFolder::create(dir.path());
    ASSERT_NE(own, nullptr);
    const fs::path running = dir / ("kestrovane-" + std::to_string(::getppid()) + "-Ef34Gh");
    const fs::path oldNaming = dir / "kestrovane-Ij56Kl";
    const fs::path plainFile = dir / ("kestrovane-" + std::to_string(ended) + "-Mn78Op");
    const fs::path target = dir / "target";
    const fs::path link = dir / ("kestrovane-" + std::to_string(ended) + "-Qr90St");
    fs::create_directory(running);
    fs::create_directory(oldNaming);
    std::ofstream(plainFile) << "x";
    fs::create_directory(target);
    std::ofstream(target / "keep") << "k";
    fs::create_directory_symlink(target, link);

    const StaleSweep sweep = removeStaleWorkingFolders(dir.path());
    EXPECT_EQ(sweep.folders, 1);
    EXPECT_EQ(sweep.bytes, 3500u);
    EXPECT_FALSE(fs::exists(stale));
    for (const fs::path& kept : {own->folder(), running, oldNaming, plainFile, target / "keep"})
        EXPECT_TRUE(fs::exists(kept)) << kept;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(staleSweepMessage(sweep),
              "removed 1 working folder left by programs that ended, 3.4 KB freed");

    // Nothing left to remove: nothing to say.
    const StaleSweep again = removeStaleWorkingFolders(dir.path());
    EXPECT_EQ(again.folders, 0);
    EXPECT_EQ(staleSweepMessage(again), "");
    EXPECT_EQ(staleSweepMessage(StaleSweep{3, 5u * 1024u * 1024u + 300u * 1024u}),
              "removed 3 working folders left by programs that ended, 5.3 MB freed");
}

} // namespace
} // namespace kv::geom
