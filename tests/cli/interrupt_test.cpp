// kestrovane-cli stopped from outside: Ctrl+C or a kill during a long run
// leaves no output and no working folder, and says so; a run killed outright
// (nothing can tidy up then) has its folder removed by the next start, while
// a folder of a run still going is left alone.

#include "cli/cli_run.h"
#include "support/file_test_support.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;

/// A program of ours running with TMPDIR set to `tmp` and `extraEnv` added,
/// its stderr kept in a file.
class RunningProgram {
  public:
    RunningProgram(const std::string& program, const std::vector<std::string>& args,
                   const fs::path& tmp, fs::path errFile,
                   const std::vector<std::string>& extraEnv = {})
        : errFile_(std::move(errFile)), pid_(spawnProgram(program, args, tmp, errFile_, extraEnv)) {
    }
    ~RunningProgram() {
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

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

/// kestrovane-cli as a RunningProgram.
class RunningCli : public RunningProgram {
  public:
    RunningCli(const std::vector<std::string>& args, const fs::path& tmp, fs::path errFile)
        : RunningProgram(KV_BINARY_DIR "/src/cli/kestrovane-cli", args, tmp, std::move(errFile)) {}
};

/// The working folder of `pid` under `tmp` once it holds `file` (nothing:
/// once it is there); empty after a minute without one.
fs::path workingFolderHolding(const fs::path& tmp, pid_t pid, const char* file) {
    const std::string prefix = "kestrovane-" + std::to_string(pid) + "-";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(tmp, ec)) {
            const std::string name = e.path().filename().string();
            if (name.rfind(prefix, 0) == 0 && fs::exists(e.path() / file, ec))
                return e.path();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {};
}

/// The working folder of a run once it holds the terrain: the run is under way.
fs::path workingFolderWithTerrain(const fs::path& tmp, pid_t pid) {
    return workingFolderHolding(tmp, pid, "terrain");
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
        return {"simulate",   "--terrain", (dir_ / "ground.dxf").string(),
                "--accuracy", "240",       "--duration",
                "3000",       "-o",        (dir_ / out).string()};
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

    // The next start, a run of its own, tidies up before it begins.
    RunningCli next({"simulate", "--duration", "1", "-o", (dir_ / "next.kvm").string()}, tmp_,
                    dir_ / "next.txt");
    EXPECT_EQ(next.wait(), 0) << next.err();
    EXPECT_FALSE(fs::exists(killedFolder));
    EXPECT_TRUE(fs::exists(runningFolder / "terrain")) << "a running program's folder was removed";
    const std::string err = next.err();
    EXPECT_EQ(
        err.rfind("kestrovane-cli: removed 1 working folder left by programs that ended, ", 0), 0u)
        << err;

    running.signal(SIGTERM);
    EXPECT_EQ(running.wait(), 143);
    EXPECT_TRUE(fs::is_empty(tmp_));
}

/// The desktop program, on the offscreen platform with settings, recovery data
/// and working folders of its own.
class DesktopSignalTest : public CliInterruptTest {
  protected:
    void SetUp() override {
        if (::access(kProgram, X_OK) != 0)
            GTEST_SKIP() << "the desktop program is not built here";
        CliInterruptTest::SetUp();
        fs::create_directory(dir_ / "config");
        fs::create_directory(dir_ / "runtime");
        fs::permissions(dir_ / "runtime", fs::perms::owner_all);
    }
    std::vector<std::string> env() const {
        return {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + (dir_ / "config").string(),
                "XDG_RUNTIME_DIR=" + (dir_ / "runtime").string()};
    }
    /// Starts the program and waits until its working folder is there.
    std::unique_ptr<RunningProgram> startDesktop(const char* errName, fs::path& folder) {
        auto p = std::make_unique<RunningProgram>(kProgram, std::vector<std::string>{}, tmp_,
                                                  dir_ / errName, env());
        folder = workingFolderHolding(tmp_, p->pid(), ".");
        return p;
    }

    static constexpr const char* kProgram = KV_BINARY_DIR "/src/gui/kestrovane";
};

TEST_F(DesktopSignalTest, EachStopSignalEndsItWithStatusZeroWithinTwoSecondsAndNoFolderLeft) {
    for (const int s : {SIGTERM, SIGINT, SIGHUP}) {
        fs::path folder;
        auto desktop = startDesktop("desktop.txt", folder);
        ASSERT_FALSE(folder.empty()) << "the program did not start";
        // Past start-up: the About box is up and the event loop runs.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const auto sent = std::chrono::steady_clock::now();
        desktop->signal(s);
        const int status = desktop->wait(std::chrono::seconds(10));
        const auto took = std::chrono::steady_clock::now() - sent;
        EXPECT_EQ(status, 0) << strsignal(s) << ": " << desktop->err();
        EXPECT_LT(took, std::chrono::seconds(2)) << strsignal(s);
        EXPECT_FALSE(fs::exists(folder)) << strsignal(s);
    }
}

TEST_F(DesktopSignalTest, AKilledProgramsFolderGoesAtTheNextStartOfEitherProgram) {
    // A command-line run that goes on throughout: its folder must stay.
    RunningCli running(longRun("running.kvm"), tmp_, dir_ / "running.txt");
    const fs::path runningFolder = workingFolderWithTerrain(tmp_, running.pid());
    ASSERT_FALSE(runningFolder.empty());

    fs::path first;
    auto killed = startDesktop("killed.txt", first);
    ASSERT_FALSE(first.empty());
    killed->signal(SIGKILL);
    EXPECT_EQ(killed->wait(), 128 + SIGKILL);
    ASSERT_TRUE(fs::exists(first)) << "nothing tidies up after SIGKILL";

    // The desktop program's next start removes it.
    fs::path second;
    auto next = startDesktop("next.txt", second);
    ASSERT_FALSE(second.empty());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (fs::exists(first) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(fs::exists(runningFolder / "terrain"));
    EXPECT_TRUE(fs::exists(second));

    // And a desktop program killed in turn is tidied up by the command line.
    next->signal(SIGKILL);
    next->wait();
    RunningCli tidy({"simulate", "--duration", "1", "-o", (dir_ / "tidy.kvm").string()}, tmp_,
                    dir_ / "tidy.txt");
    EXPECT_EQ(tidy.wait(), 0) << tidy.err();
    EXPECT_FALSE(fs::exists(second));
    EXPECT_TRUE(fs::exists(runningFolder / "terrain"));
    running.signal(SIGTERM);
    EXPECT_EQ(running.wait(), 143);
}

} // namespace
} // namespace kv::clitest
