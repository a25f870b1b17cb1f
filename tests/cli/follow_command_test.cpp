// Scenarios of `kestrovane-cli simulate --follow`: the vehicles driven and
// flown along drawn paths through the real run loop, with the figures printed.

#include "cli/cli_run.h"
#include "support/file_test_support.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <utility>
#include <vector>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;

constexpr double kPi = 3.141592653589793;

/// (north, east) points of a path (ft).
using Points = std::vector<std::pair<double, double>>;

/// Arc of `turn` rad (positive right) and radius `radius` (ft) continuing the
/// path from its last point and heading, in steps of about 10 ft.
void addArc(Points& p, double& heading, double radius, double turn) {
    const int steps = std::max(2, static_cast<int>(std::fabs(turn) * radius / 10.0));
    const double side = turn > 0.0 ? 1.0 : -1.0;
    // Centre of the turn, to the right (or left) of the heading.
    const double cn = p.back().first - side * radius * std::sin(heading);
    const double ce = p.back().second + side * radius * std::cos(heading);
    const double start = heading - side * kPi / 2.0; // bearing of the point from the centre
    for (int k = 1; k <= steps; ++k) {
        const double b = start + turn * k / steps;
        p.emplace_back(cn + radius * std::cos(b), ce + radius * std::sin(b));
    }
    heading += turn;
}

void addStraight(Points& p, double heading, double length) {
    const int steps = std::max(1, static_cast<int>(length / 10.0));
    const auto [n0, e0] = p.back();
    for (int k = 1; k <= steps; ++k) {
        p.emplace_back(n0 + length * k / steps * std::cos(heading),
                       e0 + length * k / steps * std::sin(heading));
    }
}

std::string csvOf(const Points& p, const std::string& header = "north,east",
                  const std::vector<std::string>& extra = {}) {
    std::ostringstream out;
    out << header << "\n";
    for (std::size_t i = 0; i < p.size(); ++i) {
        out << p[i].first << "," << p[i].second;
        if (!extra.empty())
            out << "," << extra[i];
        out << "\n";
    }
    return out.str();
}

/// The number after `key` in `out`.
double figure(const std::string& out, const std::string& key) {
    const auto at = out.find(key);
    if (at == std::string::npos)
        return 1e30;
    return std::stod(out.substr(at + key.size()));
}

class FollowCommandTest : public ::testing::Test {
  protected:
    fs::path file(const char* name, const std::string& text) const {
        writeAll(dir_ / name, text);
        return dir_ / name;
    }
    /// Runs a followed take and prints its figures.
    CliResult follow(const std::vector<std::string>& extra, const char* output = "take.kvm") {
        std::vector<std::string> args{"simulate", "--units", "ft", "-o", (dir_ / output).string()};
        args.insert(args.end(), extra.begin(), extra.end());
        CliResult r = runCli(args);
        if (r.exitCode == 0)
            std::printf("%s%s", r.out.c_str(), r.err.c_str());
        return r;
    }
    filetest::ScratchDir dir_;
};

TEST_F(FollowCommandTest, CarDrivesAFigureEightAt30Mph) {
    // Two loops of 200 ft across, met at the start, heading north.
    Points p{{0.0, 0.0}};
    double heading = 0.0;
    addArc(p, heading, 100.0, 2.0 * kPi);
    addArc(p, heading, 100.0, -2.0 * kPi);
    const CliResult r = follow(
        {"--vehicle", "car", "--follow", file("eight.csv", csvOf(p)).string(), "--speed", "30"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_LT(figure(r.out, "cross-track error (ft): rms "), 1.5);
    EXPECT_LT(figure(r.out, ", worst "), 4.0);
    EXPECT_NE(r.out.find("end of path: reached"), std::string::npos);
    EXPECT_LT(figure(r.out, "reached, "), 5.0);
    // It drove at about the speed asked for (30 mph is 13.4 m/s).
    EXPECT_GT(figure(r.out, "top speed: "), 12.0);
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST_F(FollowCommandTest, CarHitsItsMarks) {
    // 400 ft north, a right turn of 150 ft radius, 400 ft east; marks every
    // 200 ft or so at 35 ft/s after a 3 s start, and 3 s more to stop.
    Points p{{0.0, 0.0}};
    double heading = 0.0;
    addStraight(p, heading, 400.0);
    addArc(p, heading, 150.0, kPi / 2.0);
    addStraight(p, heading, 400.0);
    std::vector<std::string> times(p.size());
    double s = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (i > 0)
            s += std::hypot(p[i].first - p[i - 1].first, p[i].second - p[i - 1].second);
        if (i == 0)
            times[i] = "0";
        else if (i % 20 == 0 || i + 1 == p.size())
            times[i] = std::to_string(3.0 + s / 35.0 + (i + 1 == p.size() ? 3.0 : 0.0));
    }
    const CliResult r = follow({"--vehicle", "car", "--follow",
                                file("marks.csv", csvOf(p, "north,east,time", times)).string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GE(figure(r.out, "marks: "), 5.0);
    EXPECT_LT(figure(r.out, "reached, worst "), 0.5);
    EXPECT_NE(r.out.find("end of path: reached"), std::string::npos);
}

TEST_F(FollowCommandTest, MotorcycleTakesAnSBendAt40MphUpright) {
    Points p{{0.0, 0.0}};
    double heading = 0.0;
    addStraight(p, heading, 400.0);
    addArc(p, heading, 300.0, kPi / 2.0);
    addArc(p, heading, 300.0, -kPi / 2.0);
    addStraight(p, heading, 400.0);
    const CliResult r = follow({"--vehicle", "motorcycle", "--follow",
                                file("sbend.csv", csvOf(p)).string(), "--speed", "40"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("end of path: reached"), std::string::npos);
    // A 300 ft bend at 40 mph asks for a lean of about 20 degrees.
    EXPECT_LT(figure(r.out, "largest roll (deg): "), 35.0);
    EXPECT_LT(std::fabs(figure(r.out, "attitude (deg): roll ")), 10.0);
    EXPECT_LT(figure(r.out, "cross-track error (ft): rms "), 3.0);
    EXPECT_GT(figure(r.out, "top speed: "), 16.0); // 40 mph is 17.9 m/s
}

TEST_F(FollowCommandTest, HelicopterFliesASquareAt100FtAndStopsOverTheLastPoint) {
    const char* square = "north,east,up\n0,0,100\n300,0,100\n300,300,100\n0,300,100\n0,0,100\n";
    const CliResult r =
        follow({"--vehicle", "helicopter", "--follow", file("square.csv", square).string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("end of path: reached"), std::string::npos);
    EXPECT_LT(figure(r.out, "reached, "), 10.0);
    EXPECT_LT(figure(r.out, "height error (ft): worst "), 50.0);
    // Hovering at 100 ft (30.5 m) over the start, which is the last point.
    EXPECT_NEAR(-figure(r.out, "down "), 30.5, 6.0);
    EXPECT_LT(figure(r.out, "cross-track error (ft): rms "), 50.0);
}

TEST_F(FollowCommandTest, AircraftFliesARacetrackAt5000FtWithin100FtOfHeight) {
    const char* racetrack = "north,east,up\n0,0,5000\n30000,0,5000\n30000,12000,5000\n"
                            "0,12000,5000\n0,0,5000\n";
    const CliResult r =
        follow({"--vehicle", "aircraft", "--initial", "0,0,-5000,0,0,0,0,0,0,250,0,0", "--follow",
                file("racetrack.csv", racetrack).string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("end of path: reached"), std::string::npos);
    EXPECT_LT(figure(r.out, "height error (ft): worst "), 100.0);
}

TEST_F(FollowCommandTest, ACornerTooSharpEndsWithBestEffortAndTheLargestError) {
    // A hairpin no car turns at speed: up 300 ft and straight back.
    const CliResult r =
        follow({"--vehicle", "car", "--follow",
                file("hairpin.csv", "north,east\n0,0\n300,0\n0,30\n").string(), "--speed", "60"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("The vehicle could not follow the path closely. The largest error was"),
              std::string::npos)
        << r.err;
    EXPECT_GT(figure(r.out, ", worst "), 10.0);
    EXPECT_TRUE(fs::exists(dir_ / "take.kvm"));
}

TEST_F(FollowCommandTest, AFollowedTakeReplaysByteForByte) {
    const auto path = file("square.csv", "north,east,up\n0,0,60\n200,0,60\n200,200,60\n");
    for (const char* vehicle : {"car", "helicopter"}) {
        ASSERT_EQ(follow({"--vehicle", vehicle, "--follow", path.string()}).exitCode, 0);
        const CliResult again =
            runCli({"simulate", "--vehicle", vehicle, "--replay", (dir_ / "take.kvm").string(),
                    "-o", (dir_ / "again.kvm").string()});
        ASSERT_EQ(again.exitCode, 0) << again.err;
        EXPECT_EQ(readAll(dir_ / "take.kvm"), readAll(dir_ / "again.kvm")) << vehicle;
    }
}

TEST_F(FollowCommandTest, FollowsADxfPolylineAndRefusesBadPaths) {
    // A closed LWPOLYLINE in metres: a 60 m by 30 m block, driven round.
    const auto dxf = file("block.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nLWPOLYLINE\n 70\n1\n"
                                       " 10\n0\n 20\n0\n 10\n60\n 20\n0\n 10\n60\n 20\n30\n"
                                       " 10\n0\n 20\n30\n  0\nENDSEC\n  0\nEOF\n");
    const CliResult r = follow({"--vehicle", "car", "--follow", dxf.string(), "--units", "m"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("path: 5 points, 180.0 m"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("end of path: reached"), std::string::npos);

    const auto bad = file("bad.csv", "north,east\n0,0\n10,ten\n");
    const CliResult refused = follow({"--follow", bad.string()}, "no.kvm");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("bad.csv: line 3: east must be a number, not 'ten'"),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(fs::exists(dir_ / "no.kvm"));

    const auto single = file("one.csv", "north,east\n0,0\n");
    EXPECT_NE(follow({"--follow", single.string()}, "no.kvm")
                  .err.find("a path needs at least two points, this one has 1"),
              std::string::npos);
    EXPECT_EQ(follow({"--follow", bad.string(), "--replay", "x.kvm"}, "no.kvm").exitCode, 2);
    EXPECT_EQ(follow({"--speed", "30"}, "no.kvm").exitCode, 2);
}

TEST_F(FollowCommandTest, DxfPathDrawnZUpIsFollowedWhereItLies) {
    // Drawn in Blender, z up: 80 m along -y is 80 m north.
    const std::string polyline = "  0\nSECTION\n  2\nENTITIES\n  0\nLWPOLYLINE\n 70\n0\n"
                                 " 10\n0\n 20\n0\n 10\n0\n 20\n-40\n 10\n0\n 20\n-80\n"
                                 "  0\nENDSEC\n  0\nEOF\n";
    const auto named = file("named.dxf", "999\nDXF file created by Kestrovane\n999\n"
                                         "Z Up Coordinate System in Meters\n" +
                                             polyline);
    const auto plain = file("plain.dxf", polyline);
    for (const auto& args : {std::vector<std::string>{"--follow", plain.string(), "--axes", "zup"},
                             std::vector<std::string>{"--follow", named.string()}}) {
        std::vector<std::string> all{"--vehicle", "car", "--units", "m"};
        all.insert(all.end(), args.begin(), args.end());
        const CliResult r = follow(all);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find("end of path: reached"), std::string::npos) << r.out;
        const auto at = r.out.find("position (m): north ");
        ASSERT_NE(at, std::string::npos) << r.out;
        double north = 0.0, east = 0.0;
        ASSERT_EQ(std::sscanf(r.out.c_str() + at, "position (m): north %lf, east %lf", &north, &east),
                  2)
            << r.out;
        EXPECT_NEAR(north, 80.0, 5.0) << r.out;
        EXPECT_NEAR(east, 0.0, 2.0) << r.out;
    }
}

} // namespace
} // namespace kv::clitest
