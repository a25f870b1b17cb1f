// Vehicles started inside the ground, as a user meets it: each template
// untouched at the origin of a terrain whose surface lies above it, run for
// 5 s through kestrovane-cli. They are put on the surface, told about once,
// and rest there; one started above the ground just falls onto it.

#include "cli/cli_run.h"
#include "common/unit_constants.h"
#include "support/file_test_support.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;

/// A terrain surface: down (ft) = base + slopeNorth * north + slopeEast * east (ft).
struct Surface {
    const char* name;
    double base;
    double slopeNorth;
    double slopeEast;
    double downAt(double north, double east) const {
        return base + slopeNorth * north + slopeEast * east;
    }
};

const Surface kSurfaces[] = {
    {"level, 25 ft up", -25.0, 0.0, 0.0},
    // 10 % up towards the north, 12 ft above the start.
    {"10% slope, 12 ft up", -12.0, -0.1, 0.0},
    {"10% side slope, 12 ft up", -12.0, 0.0, -0.1},
};

/// One face 2 km across in the right-hand system, metres.
std::string surfaceDxf(const Surface& s) {
    const double half = 1000.0; // m
    std::array<double, 12> face{};
    const double corners[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
    for (int c = 0; c < 4; ++c) {
        const double north = corners[c][0], east = corners[c][1];
        face[static_cast<std::size_t>(c * 3)] = north;
        face[static_cast<std::size_t>(c * 3 + 1)] = east;
        // The slope is the same in any length unit; the base is in feet.
        face[static_cast<std::size_t>(c * 3 + 2)] =
            s.base * kMetresPerFootD + s.slopeNorth * north + s.slopeEast * east;
    }
    return dxfText({face});
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class StartOnGroundTest : public ::testing::TestWithParam<const char*> {
  protected:
    filetest::ScratchDir dir_;
};

TEST_P(StartOnGroundTest, TemplateStartedInsideTheGroundRestsOnIt) {
    const std::string vehicle = GetParam();
    for (const Surface& s : kSurfaces) {
        SCOPED_TRACE(s.name);
        const fs::path terrain = dir_ / "ground.dxf";
        writeAll(terrain, surfaceDxf(s));
        const fs::path out = dir_ / "take.kvm";
        const CliResult r = runCli({"simulate", "--vehicle", vehicle, "--terrain", terrain.string(),
                                    "--units", "ft", "--duration", "5", "-o", out.string()});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::string note = "The " + vehicle + " started ";
        EXPECT_EQ(occurrences(r.err, note), 1u) << r.err;
        EXPECT_NE(r.err.find(" ft below the ground and was placed on it."), std::string::npos)
            << r.err;

        const auto frames = framesOf(out);
        ASSERT_EQ(frames.size(), 60u);
        // The centre of gravity above the surface under it (ft), frame by frame.
        const auto heightAbove = [&](const model::MotionFrame& f) {
            const double north = f[model::kFrameNorth] * kFeetPerMetreD;
            const double east = f[model::kFrameEast] * kFeetPerMetreD;
            return s.downAt(north, east) - f[model::kFrameDown] * kFeetPerMetreD;
        };
        for (const auto& f : frames) {
            EXPECT_GE(heightAbove(f), 0.0) << f[model::kFrameTime];
            EXPECT_LE(heightAbove(f), 15.0) << f[model::kFrameTime];
        }
        // Settled on the surface: over the last second its height above the
        // surface changes by less than a foot. (Nothing holds a brake: on the
        // slope up ahead the wheeled templates roll back down it, as they would.)
        double lowest = 1e30, highest = -1e30;
        for (std::size_t i = frames.size() - 12; i < frames.size(); ++i) {
            lowest = std::min(lowest, heightAbove(frames[i]));
            highest = std::max(highest, heightAbove(frames[i]));
        }
        EXPECT_LT(highest - lowest, 1.0);
    }
}

TEST_P(StartOnGroundTest, VehicleStartedAboveTheGroundFallsWithoutANote) {
    const std::string vehicle = GetParam();
    const Surface& level = kSurfaces[0];
    const fs::path terrain = dir_ / "ground.dxf";
    writeAll(terrain, surfaceDxf(level));
    const fs::path out = dir_ / "take.kvm";
    // The centre of gravity 10 ft above the surface.
    const CliResult r = runCli({"simulate", "--vehicle", vehicle, "--terrain", terrain.string(),
                                "--initial", "0,0,-35,0,0,0,0,0,0,0,0,0", "--duration", "3", "-o",
                                out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("below the ground"), std::string::npos) << r.err;
    const auto frames = framesOf(out);
    ASSERT_FALSE(frames.empty());
    // It fell: its first frame is higher than its last.
    EXPECT_LT(frames.front()[model::kFrameDown], frames.back()[model::kFrameDown]);
}

INSTANTIATE_TEST_SUITE_P(Templates, StartOnGroundTest,
                         ::testing::Values("car", "motorcycle", "aircraft", "helicopter"));

} // namespace
} // namespace kv::clitest
