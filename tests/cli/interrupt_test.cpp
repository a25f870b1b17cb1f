// kestrovane-cli stopped from outside: Ctrl+C or a kill during a long run
// leaves no output and no working folder, and says so; a run killed outright
// (nothing can tidy up then) has its folder removed by the next start, while
// a folder of a run still going is left alone.

#include "cli/cli_run.h"
#include "support/file_test_support.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;

/// kestrovane-cli running with TMPDIR set to `tmp`, its stderr kept in a file.
class RunningCli {
  public:
    RunningCli(const std::vector<std::string>& args, const fs::path& tmp, fs::path errFile)
        : errFile_(std::move(errFile)) {
        std::vector<std::string> all{KV_BINARY_DIR "/src/cli/kestrovane-cli"};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env{"TMPDIR=" + tmp.string()};
        for (char** e = environ; *e != nullptr; ++e)
            if (std::string_view(*e).substr(0, 7) != "TMPDIR=")
                env.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, errFile_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~RunningCli() {
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    RunningCli(const RunningCli&) = delete;
    RunningCli& operator=(const RunningCli&) = delete;

    pid_t pid() const { return pid_; }
    void signal(int s) const { ::kill(pid_, s); }
    /// Exit status (128 + signal when a signal ended it), or -1 after `limit`.
    int wait(std::chrono::seconds limit = std::chrono::seconds(30)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                ended_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return -1;
    }
    std::string err() const { return readAll(errFile_); }

  private:
    fs::path errFile_;
    pid_t pid_ = -1;
    bool ended_ = false;
};

/// The working folder of `pid` under `tmp` once it holds the terrain (the
/// run is under way then); empty after a minute without one.
fs::path workingFolderWithTerrain(const fs::path& tmp, pid_t pid) {
    const std::string prefix = "kestrovane-" + std::to_string(pid) + "-";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(tmp, ec)) {
            const std::string name = e.path().filename().string();
            if (name.rfind(prefix, 0) == 0 && fs::exists(e.path() / "terrain", ec))
                return e.path();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {};
}

class CliInterruptTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(tmp_);
        std::vector<std::array<double, 12>> faces;
        for (int i = 0; i < 20; ++i) {
            const double x = -200.0 + 20.0 * i;
            faces.push_back({x, -200, 0, x + 20, -200, 1, x + 20, 200, 1, x, 200, 0});
        }
        writeAll(dir_ / "ground.dxf", dxfText(faces));
    }
    /// A run far longer than any test waits for.
    std::vector<std::string> longRun(const char* out) const {
        return {"simulate", "--terrain", (dir_ / "ground.dxf").string(), "--accuracy", "240",
                "--duration", "3000",    "-o",  (dir_ / out).string()};
    }

    filetest::ScratchDir dir_;
    fs::path tmp_ = dir_ / "tmp";
};

TEST_F(CliInterruptTest, SignalMidRunLeavesNoOutputAndNoWorkingFolder) {
    struct Case {
        int signal;
        int status;
    };
    for (const Case c : {Case{SIGINT, 130}, Case{SIGTERM, 143}, Case{SIGHUP, 129}}) {
        RunningCli cli(longRun("out.kvm"), tmp_, dir_ / "err.txt");
        ASSERT_GT(cli.pid(), 0);
        ASSERT_FALSE(workingFolderWithTerrain(tmp_, cli.pid()).empty());
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cli.signal(c.signal);
        EXPECT_EQ(cli.wait(), c.status) << strsignal(c.signal);
        EXPECT_EQ(cli.err(), "kestrovane-cli simulate: interrupted\n");
        EXPECT_FALSE(fs::exists(dir_ / "out.kvm"));
        EXPECT_TRUE(fs::is_empty(tmp_)) << "the working folder outlived the run";
        // Nothing staged beside the output either.
        EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"err.txt", "ground.dxf", "tmp"}));
    }
}

TEST_F(CliInterruptTest, FolderOfAKilledRunGoesAtTheNextStartOneOfARunningRunStays) {
    RunningCli running(longRun("running.kvm"), tmp_, dir_ / "running.txt");
    const fs::path runningFolder = workingFolderWithTerrain(tmp_, running.pid());
    ASSERT_FALSE(runningFolder.empty());

    fs::path killedFolder;
    {
        RunningCli killed(longRun("killed.kvm"), tmp_, dir_ / "killed.txt");
        killedFolder = workingFolderWithTerrain(tmp_, killed.pid());
        ASSERT_FALSE(killedFolder.empty());
        killed.signal(SIGKILL);
        EXPECT_EQ(killed.wait(), 128 + SIGKILL);
    }
    ASSERT_TRUE(fs::exists(killedFolder / "terrain"));
    const auto terrainBytes = fs::file_size(killedFolder / "terrain");

    // The next start, a run of its own, tidies up before it begins.
    RunningCli next({"simulate", "--duration", "1", "-o", (dir_ / "next.kvm").string()}, tmp_,
                    dir_ / "next.txt");
    EXPECT_EQ(next.wait(), 0) << next.err();
    EXPECT_FALSE(fs::exists(killedFolder));
    EXPECT_TRUE(fs::exists(runningFolder / "terrain")) << "a running program's folder was removed";
    const std::string err = next.err();
    EXPECT_EQ(err.rfind("kestrovane-cli: removed 1 working folder left by programs that ended, ",
                        0),
              0u)
        << err;
    EXPECT_GT(terrainBytes, 0u);

    running.signal(SIGTERM);
    EXPECT_EQ(running.wait(), 143);
    EXPECT_TRUE(fs::is_empty(tmp_));
}

} // namespace
} // namespace kv::clitest
