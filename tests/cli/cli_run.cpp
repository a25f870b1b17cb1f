#include "cli/cli_run.h"

#include "model/motion_file.h"
#include "model/motion_store.h"
#include "support/file_test_support.h"

#include <charconv>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kv::clitest {

namespace fs = std::filesystem;

namespace {

const char* toolPath() {
    return KV_BINARY_DIR "/src/cli/kestrovane-cli";
}

} // namespace

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

int spawnProgram(const std::string& program, const std::vector<std::string>& args,
                 const fs::path& tmp, const fs::path& errFile,
                 const std::vector<std::string>& extraEnv) {
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env{"TMPDIR=" + tmp.string()};
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
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
    if (errFile.empty())
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    else
        posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

std::vector<model::MotionFrame> framesOf(const fs::path& file) {
    model::MotionStore store;
    if (!store.allocate(1, 20000))
        return {};
    model::ObjectRecord record;
    filetest::MessageLog log;
    bool report = true;
    const model::GeometryIntake none{[] {}, [](const std::array<double, 12>&) { return 1; }};
    if (!model::loadMotion(file, model::MotionTarget{0, &record, none}, store, report, log))
        return {};
    const int last = store.lastFrame(0);
    const auto frames = store.frames(0).first(static_cast<std::size_t>(last + 1));
    return {frames.begin(), frames.end()};
}

std::string dxfText(const std::vector<std::array<double, 12>>& faces) {
    static constexpr const char* kKeys[12] = {" 10", " 20", " 30", " 11", " 21", " 31",
                                              " 12", " 22", " 32", " 13", " 23", " 33"};
    std::string text = "  0\nSECTION\n  2\nENTITIES\n";
    for (const auto& f : faces) {
        text += "  0\n3DFACE\n  8\nGround\n";
        for (std::size_t k = 0; k < 12; ++k) {
            char buf[32];
            const auto r = std::to_chars(buf, buf + sizeof buf, f[k]);
            text.append(kKeys[k]).append("\n").append(buf, r.ptr).append("\n");
        }
    }
    return text + "  0\nENDSEC\n  0\nEOF\n";
}

CliResult runCli(const std::vector<std::string>& args) {
    filetest::ScratchDir capture;
    const fs::path outFile = capture / "stdout";
    const fs::path errFile = capture / "stderr";
    CliResult result;
    const pid_t pid = fork();
    if (pid < 0)
        return result;
    if (pid == 0) {
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int null = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || null < 0)
            _exit(127);
        dup2(null, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        std::string tool = toolPath();
        argv.push_back(tool.data());
        std::vector<std::string> copies(args);
        for (auto& a : copies)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(tool.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = readAll(outFile);
    result.err = readAll(errFile);
    return result;
}

} // namespace kv::clitest
