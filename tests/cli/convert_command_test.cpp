#include "cli/cli_run.h"
#include "geometry/dxf_reader.h"
#include "model/object_file.h"
#include "support/file_test_support.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;

using Face = std::array<double, 12>;

/// The faces of a DXF file as written (no transform).
std::vector<Face> dxfFaces(const fs::path& file) {
    std::vector<Face> faces;
    filetest::MessageLog log;
    geom::readDxf(
        file, fs::file_size(file), model::GeometryTransform{},
        [&faces](const Face& f, float) {
            faces.push_back(f);
            return 1;
        },
        log);
    return faces;
}

/// The stored triangles of an object file, as faces.
std::vector<Face> objectFaces(const fs::path& file) {
    std::vector<Face> faces;
    filetest::MessageLog log;
    model::ObjectRecord record;
    const model::GeometryIntake intake{[&faces] { faces.clear(); },
                                       [&faces](const Face& f) {
                                           faces.push_back(f);
                                           return 1;
                                       }};
    EXPECT_TRUE(model::loadObjectFile(file, model::MotionTarget{0, &record, intake}, false, log));
    return faces;
}

class ConvertCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(runCli({"template", "car", "-o", car_.string()}).exitCode, 0);
        ASSERT_EQ(runCli({"simulate", "--initial", "0,0,-2.5,0,0,0,0,0,0,10,0,0", "--duration", "1",
                          "-o", take_.string()})
                      .exitCode,
                  0);
    }
    filetest::ScratchDir dir_;
    fs::path car_ = dir_ / "car.kvo";
    fs::path take_ = dir_ / "take.kvm";
};

TEST_F(ConvertCommandTest, DxfWritesEachStoredTriangleInTheChosenUnitsAndAxes) {
    const std::vector<Face> stored = objectFaces(car_);
    ASSERT_FALSE(stored.empty());
    struct Case {
        std::vector<std::string> options;
        double scale; ///< file units per metre
        bool right;
    };
    const Case cases[] = {
        {{}, 1.0, false},
        {{"--axes", "right"}, 1.0, true},
        {{"--units", "cm", "--axes", "left"}, 100.0, false},
        {{"--units", "ft", "--axes", "right"}, 1.0 / 0.3048037, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.empty() ? "defaults" : c.options.back());
        for (const fs::path& input : {car_, take_}) {
            const fs::path out = dir_ / "out.dxf";
            std::vector<std::string> args{"convert", "dxf", input.string(), "-o", out.string()};
            args.insert(args.end(), c.options.begin(), c.options.end());
            const CliResult r = runCli(args);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(r.out, out.string() + "\n");
            const std::string text = readAll(out);
            EXPECT_NE(text.find(c.right ? "Right Hand Coordinate System" : "Left Hand Coordinate"),
                      std::string::npos);
            const std::vector<Face> written = dxfFaces(out);
            ASSERT_EQ(written.size(), stored.size());
            for (std::size_t i = 0; i < stored.size(); ++i) {
                for (std::size_t k = 0; k < 4; ++k) {
                    const double f = stored[i][3 * k], rt = stored[i][3 * k + 1],
                                 d = stored[i][3 * k + 2];
                    // Left-hand files hold (right, up, forward).
                    const std::array<double, 3> expected = c.right
                                                               ? std::array<double, 3>{f, rt, d}
                                                               : std::array<double, 3>{rt, -d, f};
                    for (std::size_t a = 0; a < 3; ++a)
                        ASSERT_NEAR(written[i][3 * k + a], expected[a] * c.scale,
                                    1e-5 * c.scale + 1e-5 * std::abs(expected[a] * c.scale))
                            << i;
                }
            }
        }
    }
}

TEST_F(ConvertCommandTest, BvhAndAsfTakeTheAxesOption) {
    const auto bvh = [&](std::vector<std::string> options) {
        const fs::path out = dir_ / "take.bvh";
        std::vector<std::string> args{"convert", "bvh", take_.string(), "-o", out.string()};
        args.insert(args.end(), options.begin(), options.end());
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return readAll(out);
    };
    const std::string byDefault = bvh({});
    EXPECT_EQ(byDefault, bvh({"--axes", "left"}));
    EXPECT_NE(byDefault, bvh({"--axes", "right"}));
    EXPECT_FALSE(byDefault.empty());

    // An output base gets both extensions.
    const CliResult r = runCli({"convert", "asf", take_.string(), "-o", (dir_ / "skel").string(),
                                "--axes", "right", "--units", "in"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir_ / "skel.asf"));
    EXPECT_TRUE(fs::exists(dir_ / "skel.amc"));
}

TEST_F(ConvertCommandTest, FailuresAndBadUsage) {
    writeAll(dir_ / "noise.kvo", std::string(64, '\x7f'));
    writeAll(dir_ / "cut.kvm", readAll(take_).substr(0, 5000));
    const std::string out = (dir_ / "out.dxf").string();
    for (const char* name : {"missing.kvo", "noise.kvo", "cut.kvm"}) {
        SCOPED_TRACE(name);
        const CliResult r = runCli({"convert", "dxf", (dir_ / name).string(), "-o", out});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err, "");
        EXPECT_FALSE(fs::exists(out));
    }
    const std::vector<std::vector<std::string>> usage = {
        {"convert", "dxf", car_.string()},
        {"convert", "dxf", car_.string(), "-o", out, "--axes", "up"},
        {"convert", "dxf", car_.string(), "-o", out, "--units", "furlong"},
        {"convert", "dxf", (dir_ / "notes.txt").string(), "-o", out},
        {"convert", "dxf", car_.string(), "-o", car_.string()},
        {"convert", "bvh", take_.string(), "--left-hand"},
        {"convert", "bvh", take_.string(), "--axes"},
        {"convert", "shape", car_.string()},
    };
    for (const auto& args : usage) {
        SCOPED_TRACE(args.back());
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("usage: kestrovane-cli convert"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

} // namespace
} // namespace kv::clitest
