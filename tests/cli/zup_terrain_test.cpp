// A terrain made where terrains are made today: a DXF file written by ezdxf
// (an independent DXF library) in x east, y north, z up, as Blender or a CAD
// program writes it. Read with --axes zup it is a hill, the car started
// inside it stands on top, and the take's glTF puts the car where Blender
// shows the hill; read as before (right-hand) it is the pit it always was.

#include "cli/cli_run.h"
#include "common/unit_constants.h"
#include "support/file_test_support.h"
#include "support/json_value.h"
#include "support/node_tool.h"
#include "support/python_tool.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;
using jsontest::JsonValue;

/// The hill's top in the file: x 30 m, y 0, z 10 m (a plateau 20 m across).
constexpr double kHillX = 30.0;
constexpr double kHillTop = 10.0;

double groundAt(const fs::path& dxf, const std::vector<std::string>& extra, double north,
                double east) {
    std::vector<std::string> args{"terrain", dxf.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back("--at");
    args.push_back(std::to_string(north) + "," + std::to_string(east));
    const CliResult r = runCli(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::istringstream in(r.out);
    in.imbue(std::locale::classic());
    double height = 1e30;
    in >> height;
    return height;
}

/// The number after `key` in the simulate summary.
double summaryValue(const std::string& out, const std::string& key) {
    const auto at = out.find(key);
    return at == std::string::npos ? 1e30 : std::stod(out.substr(at + key.size()));
}

class ZUpTerrainTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = pythontest::unavailableReason("ezdxf"); !why.empty())
            GTEST_SKIP() << why;
        int status = 0;
        const std::string out = pythontest::runScript("ezdxf_hill.py", nodetest::quoted(hill_),
                                                      status);
        ASSERT_EQ(status, 0) << out;
    }
    filetest::ScratchDir dir_;
    fs::path hill_ = dir_ / "hill.dxf";
};

TEST_F(ZUpTerrainTest, HillIsAHillInZUpAndThePitItWasInTheRightHandSystem) {
    const double ft = kFeetPerMetreD;
    // Z up: the top at x 30 m is 30 m west (east -30 m), 10 m up.
    EXPECT_NEAR(groundAt(hill_, {"--axes", "zup"}, 0.0, -kHillX * ft), -kHillTop * ft, 1e-3);
    // The plain 30 m east of the origin (x -30 m), well clear of the slope.
    EXPECT_NEAR(groundAt(hill_, {"--axes", "zup"}, 0.0, kHillX * ft), 0.0, 1e-3);
    // Right hand, named or by default (the file names no system): a 10 m pit
    // 30 m north, exactly as before.
    for (const std::vector<std::string>& axes :
         {std::vector<std::string>{}, std::vector<std::string>{"--axes", "right"}}) {
        EXPECT_NEAR(groundAt(hill_, axes, kHillX * ft, 0.0), kHillTop * ft, 1e-3);
    }
}

TEST_F(ZUpTerrainTest, CarStartedInsideTheHillStandsOnItWhereBlenderShowsTheHill) {
    if (const std::string why = nodetest::unavailableReason("three"); !why.empty())
        GTEST_SKIP() << why;
    const double ft = kFeetPerMetreD;
    // The car's ride height: its centre of gravity above level ground at rest.
    const CliResult flat =
        runCli({"simulate", "--vehicle", "car", "--duration", "5", "-o", (dir_ / "flat.kvm").string()});
    ASSERT_EQ(flat.exitCode, 0) << flat.err;
    const double ride = -summaryValue(flat.out, "down ");

    // Started at the hill's north and east at height 0: inside the hill.
    const fs::path take = dir_ / "hill.kvm";
    const std::string east = std::to_string(-kHillX * ft);
    const CliResult r = runCli({"simulate", "--vehicle", "car", "--terrain", hill_.string(),
                                "--axes", "zup", "--initial", "0," + east + ",0,0,0,0,0,0,0,0,0,0",
                                "--duration", "5", "-o", take.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("The car started "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" m below the ground and was placed on it."), std::string::npos) << r.err;

    const CliResult convert = runCli({"convert", "gltf", take.string()});
    ASSERT_EQ(convert.exitCode, 0) << convert.err;
    int status = 0;
    const std::string output = nodetest::runCommand(
        nodetest::quoted(nodetest::findNode()) + " " +
            nodetest::quoted(nodetest::nodeFolder() / "gltf_check.mjs") + " " +
            nodetest::quoted(dir_ / "hill.glb") + " 4.9 2>&1",
        status);
    ASSERT_EQ(status, 0) << output;
    const auto result = jsontest::parseJson(output);
    ASSERT_TRUE(result.has_value()) << output;
    // Nodes are named after the motion file.
    const JsonValue& p = (*result)["tracks"]["hill.CG.position"][0];
    // Blender turns glTF's y-up axes to z up: (x, y, z) -> (x, -z, y).
    const double bx = p[0].number, by = -p[2].number, bz = p[1].number;
    std::printf("car on the hill in Blender's axes: (%.3f, %.3f, %.3f) m, ride height %.3f m\n",
                bx, by, bz, ride);
    EXPECT_NEAR(bx, kHillX, 0.1);
    EXPECT_NEAR(by, 0.0, 0.1);
    EXPECT_NEAR(bz, kHillTop + ride, 0.1);
}

} // namespace
} // namespace kv::clitest
