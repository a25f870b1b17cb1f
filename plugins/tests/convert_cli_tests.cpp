// `kestrovane-cli convert lws`: the plug-in's conversion as a command.

#include "support/motion_writer.h"
#include "support/plugins.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace kv::plugtest {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ConvertCli : public ::testing::Test {
  protected:
    CliRun cli(const std::string& args) const {
        const fs::path out = dir_ / "stdout.txt";
        const fs::path err = dir_ / "stderr.txt";
        const std::string command =
            "\"" KV_CLI "\" " + args + " >\"" + out.string() + "\" 2>\"" + err.string() + "\"";
        const int status = std::system(command.c_str());
        CliRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = readText(out);
        run.err = readText(err);
        fs::remove(out);
        fs::remove(err);
        return run;
    }

    std::string quoted(const fs::path& p) const { return "\"" + p.string() + "\""; }

    MotionFixture motion() const {
        MotionFixture fixture;
        fixture.effectors = {
            {"Hub", 0, -1, {1}, {0, 0, 0, 0, 0, 14}, {1, 2, 3, 0, 0, 0}, {0, 0, 0, 0, 0, 1}},
            {"Blade", 2, 0, {}, {0, 0, 0, 16, 15, 0}, {}, {0, 0, 0, 1, 1, 0}}};
        fixture.frames = steadyFrames(21, 0.25f);
        for (auto& f : fixture.frames) {
            f[kFieldNorth] = 3.0f * f[kFieldTime];
            f[kFieldYaw] = 170.0f + 20.0f * f[kFieldTime];
            f[25] = 400.0f * f[kFieldTime];
        }
        return fixture;
    }

    TempDir dir_;
};

TEST_F(ConvertCli, WritesTheSameSceneAsThePlugIn) {
    const fs::path input = dir_ / "heli.kvm";
    writeMotion(input, motion());

    auto module = loadModule(KV_LOAD_PLUGIN);
    ASSERT_TRUE(module);
    lwtest::TestHost host;
    host.framesPerSecond = 24.0;
    host.panelScripts.push_back(
        {true, {{"Frame Skip", 2}, {"Time Scale (%)", 80.0}, {"Time Offset (Sec)", 0.5}}});
    const auto run =
        host.convert(*module->findServer("SceneConverter", "Kestrovane-Load"), input.string());
    ASSERT_TRUE(run.scene);
    const std::string fromPlugin = readText(*run.scene);
    fs::remove(*run.scene);

    const CliRun c =
        cli("convert lws " + quoted(input) + " --fps 24 --skip 2 --scale 80 --offset 0.5");
    EXPECT_EQ(c.exitCode, 0) << c.err;
    EXPECT_EQ(c.out, (dir_ / "heli.lws").string() + "\n");
    EXPECT_EQ(c.err, "");
    EXPECT_EQ(readText(dir_ / "heli.lws"), fromPlugin);
}

TEST_F(ConvertCli, OutputOptionNamesTheScene) {
    const fs::path input = dir_ / "car.kvm";
    writeMotion(input, motion());
    const CliRun c = cli("convert lws " + quoted(input) + " -o " + quoted(dir_ / "other.lws"));
    EXPECT_EQ(c.exitCode, 0) << c.err;
    EXPECT_TRUE(fs::exists(dir_ / "other.lws"));
    EXPECT_FALSE(fs::exists(dir_ / "car.lws"));
}

TEST_F(ConvertCli, HelpPrintsUsage) {
    for (const char* args : {"convert lws --help", "convert --help"}) {
        const CliRun c = cli(args);
        EXPECT_EQ(c.exitCode, 0) << args;
        EXPECT_NE(c.out.find("usage: kestrovane-cli convert"), std::string::npos) << args;
        EXPECT_EQ(c.err, "") << args;
    }
    EXPECT_NE(cli("convert lws --help").out.find("--skip"), std::string::npos);
    EXPECT_NE(cli("--help").out.find("convert"), std::string::npos);
}

TEST_F(ConvertCli, BadUsageExitsWithTwo) {
    const fs::path input = dir_ / "car.kvm";
    writeMotion(input, motion());
    for (const std::string& args :
         {std::string("convert"), std::string("convert fbx ") + quoted(input),
          std::string("convert lws"), "convert lws " + quoted(input) + " --fps",
          "convert lws " + quoted(input) + " --fps fast",
          "convert lws " + quoted(input) + " --skip 1.5",
          "convert lws " + quoted(input) + " --colour red",
          "convert lws " + quoted(input) + " " + quoted(input)}) {
        const CliRun c = cli(args);
        EXPECT_EQ(c.exitCode, 2) << args;
        EXPECT_NE(c.err.find("usage:"), std::string::npos) << args;
        EXPECT_EQ(c.out, "") << args;
    }
    EXPECT_FALSE(fs::exists(dir_ / "car.lws"));
}

TEST_F(ConvertCli, FailuresTheUserCausedExitWithOneAndSayWhy) {
    const fs::path input = dir_ / "car.kvm";
    writeMotion(input, motion());
    MotionFixture shortMotion = motion();
    shortMotion.frames.resize(2);
    writeMotion(dir_ / "short.kvm", shortMotion);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"convert lws " + quoted(input) + " --skip 0", "Frame skip must be greater than 0\n"},
        {"convert lws " + quoted(input) + " --scale 0", "Time scale must be greater than 0%\n"},
        {"convert lws " + quoted(input) + " --offset -1",
         "Time offset must be greater than 0 seconds\n"},
        {"convert lws " + quoted(dir_ / "short.kvm"), "No motion data saved in file.\n"},
    };
    for (const auto& [args, message] : cases) {
        const CliRun c = cli(args);
        EXPECT_EQ(c.exitCode, 1) << args;
        EXPECT_EQ(c.err, message) << args;
        EXPECT_EQ(c.out, "") << args;
    }
    const CliRun missing = cli("convert lws " + quoted(dir_ / "missing.kvm"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("could not be opened"), std::string::npos) << missing.err;
    const CliRun noRate = cli("convert lws " + quoted(input) + " --fps 0");
    EXPECT_EQ(noRate.exitCode, 1);
    EXPECT_NE(noRate.err.find("frame rate"), std::string::npos) << noRate.err;
    EXPECT_FALSE(fs::exists(dir_ / "car.lws"));
    EXPECT_FALSE(fs::exists(dir_ / "short.lws"));
}

TEST_F(ConvertCli, TestHostProgramRunsBothPlugIns) {
    const fs::path input = dir_ / "car.kvm";
    writeMotion(input, motion());
    const std::string host = "\"" KV_TESTHOST "\" ";
    auto run = [&](const std::string& args) {
        const fs::path out = dir_ / "host.txt";
        const int status = std::system((host + args + " >\"" + out.string() + "\"").c_str());
        const std::string text = readText(out);
        fs::remove(out);
        return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, text);
    };
    EXPECT_EQ(run("\"" KV_LOAD_PLUGIN "\" servers"),
              std::make_pair(0, std::string("SceneConverter Kestrovane-Load\n")));
    const auto converted = run("\"" KV_LOAD_PLUGIN "\" convert " + quoted(input) + " --skip 5");
    EXPECT_EQ(converted.first, 0);
    EXPECT_EQ(converted.second, "result: 0\nscene: " + (dir_ / "car.lws").string() + "\n");

    { std::ofstream(dir_ / "mesh.txt") << "p 0 0 1\np 1 0 0\np 0 1 0\nf 1 0 1 2\n"; }
    const auto saved = run("\"" KV_SAVE_PLUGIN "\" save " + quoted(dir_ / "mesh.dxf") + " --mesh " +
                           quoted(dir_ / "mesh.txt"));
    EXPECT_EQ(saved.first, 0);
    EXPECT_EQ(saved.second,
              "message: Object saved to \"" + (dir_ / "mesh.dxf").string() + "\"\nresult: 0\n");
}

} // namespace
} // namespace kv::plugtest
