// Two simulations of one project at the same time: each keeps its working
// files in a folder of its own, neither disturbs the other's run, and both
// folders are gone when the runs end.

#include "app/document/document.h"
#include "cli/cli_run.h"
#include "support/document_ports.h"
#include "support/file_test_support.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;

/// Starts `program` with `args`, TMPDIR set to `tmp` and `extraEnv` added;
/// its output is discarded.
pid_t startProgram(const std::string& program, const std::vector<std::string>& args,
                   const fs::path& tmp, const std::vector<std::string>& extraEnv = {}) {
    return spawnProgram(program, args, tmp, {}, extraEnv);
}

pid_t startCli(const std::vector<std::string>& args, const fs::path& tmp) {
    return startProgram(KV_BINARY_DIR "/src/cli/kestrovane-cli", args, tmp);
}

/// Saves a project with one scenery set and a terrain made of `dxf`.
void saveProjectWithGround(const fs::path& dxf, const fs::path& project) {
    writeAll(dxf, dxfText({{-300, -300, 1, 300, -300, 1, 300, 300, 3, -300, 300, 3},
                           {300, -300, 1, 600, -300, 9, 600, 300, 9, 300, 300, 3}}));
    test::DocumentRig rig;
    ASSERT_TRUE(rig.doc->addScenery(app::DxfImport{dxf}));
    ASSERT_TRUE(rig.doc->addTerrain(app::DxfImport{dxf}));
    rig.doc->object(0).initial.position = {0.0f, 0.0f, -2.5f};
    rig.files.answers.push_back(project.string());
    ASSERT_TRUE(rig.doc->saveProject(true));
}

/// Exit status once `pid` has ended, or -1 while it runs.
int exitedWith(pid_t pid, bool& done) {
    int status = 0;
    if (done || ::waitpid(pid, &status, WNOHANG) != pid)
        return -1;
    done = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(ConcurrentRuns, TwoSimulationsOfOneProjectKeepTheirWorkingFilesApart) {
    filetest::ScratchDir dir;
    const fs::path tmp = dir / "tmp";
    fs::create_directory(tmp);
    const fs::path project = dir / "scene.kvp";
    ASSERT_NO_FATAL_FAILURE(saveProjectWithGround(dir / "ground.dxf", project));
    const auto runArgs = [&](const char* out) {
        // Long enough in simulated time that the two runs overlap for a while.
        return std::vector<std::string>{"simulate",   "--project", project.string(),
                                        "--accuracy", "240",       "--duration",
                                        "400",        "-o",        (dir / out).string()};
    };
    const CliResult solo = runCli(runArgs("solo.kvm"));
    ASSERT_EQ(solo.exitCode, 0) << solo.err;

    const pid_t a = startCli(runArgs("a.kvm"), tmp);
    const pid_t b = startCli(runArgs("b.kvm"), tmp);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    bool aDone = false;
    bool bDone = false;
    int aStatus = -1;
    int bStatus = -1;
    std::set<std::string> seen;
    bool bothAtOnce = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    while ((!aDone || !bDone) && std::chrono::steady_clock::now() < deadline) {
        std::vector<fs::path> folders;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(tmp, ec))
            folders.push_back(e.path());
        std::set<std::string> withTerrain;
        for (const fs::path& f : folders) {
            seen.insert(f.filename().string());
            if (fs::exists(f / "terrain", ec))
                withTerrain.insert(f.filename().string());
        }
        bothAtOnce = bothAtOnce || withTerrain.size() == 2;
        if (const int s = exitedWith(a, aDone); s >= 0)
            aStatus = s;
        if (const int s = exitedWith(b, bDone); s >= 0)
            bStatus = s;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_TRUE(aDone && bDone) << "the runs did not end";
    EXPECT_EQ(aStatus, 0);
    EXPECT_EQ(bStatus, 0);
    EXPECT_TRUE(bothAtOnce) << "the two runs never held their terrain at the same time";
    EXPECT_EQ(seen.size(), 2u);
    for (const std::string& name : seen)
        EXPECT_EQ(name.rfind("kestrovane-", 0), 0u) << name;
    EXPECT_TRUE(fs::is_empty(tmp)) << "a working folder outlived its run";
    // Neither run saw the other's terrain or scenery: both recorded what a run alone records.
    const std::string expected = readAll(dir / "solo.kvm");
    EXPECT_EQ(readAll(dir / "a.kvm"), expected);
    EXPECT_EQ(readAll(dir / "b.kvm"), expected);
}

TEST(ConcurrentRuns, TwoDesktopProgramsOnOneProjectKeepTheirWorkingFilesApart) {
    const std::string program = KV_BINARY_DIR "/src/gui/kestrovane";
    if (::access(program.c_str(), X_OK) != 0)
        GTEST_SKIP() << "the desktop program is not built here";
    filetest::ScratchDir dir;
    const fs::path tmp = dir / "tmp";
    fs::create_directory(tmp);
    const fs::path project = dir / "scene.kvp";
    ASSERT_NO_FATAL_FAILURE(saveProjectWithGround(dir / "ground.dxf", project));
    // What one program holds: the terrain and scenery working files of this project.
    std::string terrain;
    std::string scenery;
    {
        test::DocumentRig rig;
        ASSERT_TRUE(rig.doc->openProject(project));
        terrain = readAll(rig.folder->folder() / "terrain");
        scenery = readAll(rig.folder->folder() / "scene0");
        ASSERT_FALSE(terrain.empty());
    }
    const std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen",
                                       "XDG_RUNTIME_DIR=" + (dir / "tmp").string()};
    const pid_t a = startProgram(program, {project.string()}, tmp, env);
    const pid_t b = startProgram(program, {project.string()}, tmp, env);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    // Both programs are up once two working folders hold the whole terrain.
    std::set<std::string> ready;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (ready.size() < 2 && std::chrono::steady_clock::now() < deadline) {
        ready.clear();
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(tmp, ec)) {
            const std::string name = e.path().filename().string();
            if (name.rfind("kestrovane-", 0) == 0 && readAll(e.path() / "terrain") == terrain &&
                readAll(e.path() / "scene0") == scenery)
                ready.insert(name);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // The programs are stopped as a crash would stop them: nothing tidies up.
    ::kill(a, SIGKILL);
    ::kill(b, SIGKILL);
    ::waitpid(a, nullptr, 0);
    ::waitpid(b, nullptr, 0);
    EXPECT_EQ(ready.size(), 2u) << "each program should hold the project's working files "
                                   "whole in a folder of its own";
    for (const std::string& name : ready) {
        struct stat st {};
        ASSERT_EQ(::stat((tmp / name).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << name << " is open to other users";
    }
}

} // namespace
} // namespace kv::clitest
