#include "cli/cli_run.h"
#include "geometry/terrain_sort.h"
#include "support/file_test_support.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;

struct GroundLine {
    double height = 0.0;
    double nx = 0.0, ny = 0.0, nz = 0.0;
};

std::vector<GroundLine> parseLines(const std::string& out) {
    std::vector<GroundLine> lines;
    std::istringstream in(out);
    in.imbue(std::locale::classic());
    GroundLine g;
    while (in >> g.height >> g.nx >> g.ny >> g.nz)
        lines.push_back(g);
    return lines;
}

class TerrainCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Flat at 2 m up (down −2) for north 0..6 m, then a ramp whose down
        // coordinate grows by 0.5 per unit north from north 6 m to 26 m.
        writeAll(dxf_, dxfText({
                           {0, 0, -2, 6, 0, -2, 6, 3, -2, 0, 3, -2},
                           {6, 0, -2, 26, 0, 8, 26, 3, 8, 6, 3, -2},
                       }));
    }
    filetest::ScratchDir dir_;
    fs::path dxf_ = dir_ / "hill.dxf";
};

TEST_F(TerrainCommandTest, PrintsHeightAndNormalInFeetForEachPointInOrder) {
    const double ft = kFeetPerMetreD;
    for (const char* grid : {"", "100", "1000"}) {
        SCOPED_TRACE(grid);
        std::vector<std::string> args{"terrain", dxf_.string(), "--at", "3,3", "--at", "50,5"};
        if (*grid != '\0') {
            args.push_back("--grid");
            args.push_back(grid);
        }
        const CliResult r = runCli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const auto lines = parseLines(r.out);
        ASSERT_EQ(lines.size(), 2u) << r.out;
        EXPECT_NEAR(lines[0].height, -2 * ft, 1e-6);
        EXPECT_NEAR(lines[0].nx, 0.0, 1e-9);
        EXPECT_NEAR(lines[0].ny, 0.0, 1e-9);
        EXPECT_NEAR(lines[0].nz, -1.0, 1e-9);
        // On the ramp, 50 ft north: down = −2 m + 0.5 × (50 ft − 6 m).
        EXPECT_NEAR(lines[1].height, -2 * ft + 0.5 * (50 - 6 * ft), 1e-3);
        const double len = std::sqrt(1.25);
        EXPECT_NEAR(lines[1].nx, 0.5 / len, 1e-4);
        EXPECT_NEAR(lines[1].ny, 0.0, 1e-6);
        EXPECT_NEAR(lines[1].nz, -1.0 / len, 1e-4);
    }
}

TEST_F(TerrainCommandTest, BadUsageExitsWithTwo) {
    const std::string file = dxf_.string();
    const std::vector<std::vector<std::string>> cases = {
        {"terrain"},
        {"terrain", file},
        {"terrain", "--at", "1,2"},
        {"terrain", file, "--at"},
        {"terrain", file, "--at", "1"},
        {"terrain", file, "--at", "1,x"},
        {"terrain", file, "--at", "1,2,3"},
        {"terrain", file, "--at", "nan,2"},
        {"terrain", file, "--at", "1,2", "--grid", "150"},
        {"terrain", file, "--at", "1,2", "--grid", "0"},
        {"terrain", file, "--at", "1,2", "--grid", "5100"},
        {"terrain", file, "--at", "1,2", "--grid", "four"},
        {"terrain", file, "--at", "1,2", "--smooth"},
        {"terrain", file, file, "--at", "1,2"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: kestrovane-cli terrain"), std::string::npos);
    }
    const CliResult help = runCli({"terrain", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("height nx ny nz"), std::string::npos);
}

TEST_F(TerrainCommandTest, MissingOrDamagedDxfFailsWithTheMessage) {
    writeAll(dir_ / "empty.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");
    writeAll(dir_ / "long.dxf", "  0\n3DFACE\n" + std::string(300, '1') + "\n");
    for (const char* name : {"missing.dxf", "empty.dxf", "long.dxf"}) {
        SCOPED_TRACE(name);
        const CliResult r = runCli({"terrain", (dir_ / name).string(), "--at", "1,2"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("kestrovane-cli terrain: "), std::string::npos) << r.err;
    }
    const CliResult empty = runCli({"terrain", (dir_ / "empty.dxf").string(), "--at", "1,2"});
    EXPECT_NE(empty.err.find("There are no polygons contained in the DXF file."),
              std::string::npos);
}

} // namespace
} // namespace kv::clitest
