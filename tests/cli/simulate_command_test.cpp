#include "cli/cli_run.h"
#include "model/motion_file.h"
#include "model/motion_frame.h"
#include "model/motion_store.h"
#include "support/document_ports.h"
#include "support/file_test_support.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;

/// The number after `key` on the summary line that starts with it.
double summaryValue(const std::string& out, const std::string& key) {
    const auto at = out.find(key);
    if (at == std::string::npos)
        return -1e30;
    return std::stod(out.substr(at + key.size()));
}

/// A control script that drives off, brakes and turns, with keys on the way.
constexpr const char* kDriveScript = "time,x,y,a,b,key\n"
                                     "0,0,-0.6,0,0,\n"
                                     "0.5,0.3,-0.6,0,0,F4\n"
                                     "1.0,-0.2,-0.4,1,0,B\n"
                                     "1.5,0,0.5,0,1,ALT+F5\n"
                                     "2.0,0.1,0,0,0,\n";

/// Initial conditions that set the car down just above level ground at 0.
constexpr const char* kCarOnGround = "0,0,-2.5,0,0,0,0,0,0,0,0,0";

class SimulateCommandTest : public ::testing::Test {
  protected:
    fs::path path(const char* name) const { return dir_ / name; }
    fs::path script(const std::string& text, const char* name = "controls.csv") const {
        writeAll(path(name), text);
        return path(name);
    }
    filetest::ScratchDir dir_;
};

TEST_F(SimulateCommandTest, WritesTheMotionOfTheRunAndSummarisesIt) {
    const fs::path out = path("run.kvm");
    const CliResult r = runCli({"simulate", "--duration", "2", "-o", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // The factory update rate, 12 frames a second: 24 frames, the last at 2 s.
    EXPECT_EQ(summaryValue(r.out, "frames: "), 24);
    EXPECT_NEAR(summaryValue(r.out, "seconds: "), 2.0, 1e-3);
    EXPECT_NE(r.out.find("end: duration"), std::string::npos) << r.out;
    const auto frames = framesOf(out);
    ASSERT_EQ(frames.size(), 24u);
    EXPECT_FLOAT_EQ(frames[0][model::kFrameTime], 1.0f / 12.0f);
    EXPECT_NEAR(frames.back()[model::kFrameTime], 2.0f, 1e-4f);
    // The summary's position is the last frame's, in metres.
    EXPECT_NEAR(summaryValue(r.out, "down "), frames.back()[model::kFrameDown], 1e-3);
    EXPECT_FALSE(fs::exists(path("run.kvm.partial")));
}

TEST_F(SimulateCommandTest, TheSameCommandTwiceWritesIdenticalFiles) {
    const fs::path controls = script(kDriveScript);
    std::vector<std::string> base{
        "simulate", "--initial", kCarOnGround, "--controls", controls.string(), "--duration",
        "3",        "--fps",     "30",         "--wind",     "20,90",           "--turbulence"};
    for (const char* take : {"a", "b"}) {
        auto args = base;
        args.insert(args.end(),
                    {"-o", (dir_ / (std::string(take) + ".kvm")).string(), "--camera-out",
                     (dir_ / (std::string(take) + "-cam.kvm")).string()});
        const CliResult r = runCli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    EXPECT_EQ(framesOf(path("a.kvm")).size(), 90u);
    EXPECT_EQ(readAll(path("a.kvm")), readAll(path("b.kvm")));
    EXPECT_EQ(readAll(path("a-cam.kvm")), readAll(path("b-cam.kvm")));
    EXPECT_FALSE(readAll(path("a-cam.kvm")).empty());
}

TEST_F(SimulateCommandTest, ControlScriptReachesTheRecordedFrames) {
    const fs::path out = path("take.kvm");
    const CliResult r =
        runCli({"simulate", "--initial", kCarOnGround, "--controls", script(kDriveScript).string(),
                "--duration", "2.5", "--fps", "10", "-o", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto frames = framesOf(out);
    ASSERT_EQ(frames.size(), 25u);
    // Frame k is at (k + 1) / 10 s and holds the row in effect then.
    EXPECT_FLOAT_EQ(frames[0][model::kFrameStickY], -0.6f);
    EXPECT_FLOAT_EQ(frames[4][model::kFrameStickX], 0.3f);     // 0.5 s
    EXPECT_FLOAT_EQ(frames[9][model::kFrameButtonA], 1.0f);    // 1.0 s
    EXPECT_FLOAT_EQ(frames[9][model::kFrameKeyCommand], 7.0f); // B, once
    EXPECT_FLOAT_EQ(frames[10][model::kFrameKeyCommand], 0.0f);
    EXPECT_FLOAT_EQ(frames[14][model::kFrameButtonB], 1.0f); // 1.5 s
    EXPECT_FLOAT_EQ(frames[24][model::kFrameStickX], 0.1f);  // held after the last row
    // The car moved off under the throttle.
    EXPECT_GT(std::abs(frames.back()[model::kFrameNorth]) +
                  std::abs(frames.back()[model::kFrameEast]),
              0.5f);
}

TEST_F(SimulateCommandTest, EscapeInTheScriptEndsTheRunAndRecordsItsFrame) {
    const fs::path out = path("esc.kvm");
    const CliResult r = runCli({"simulate", "--controls",
                                script("time,x,y,a,b,key\n0,0,0,0,0\n1,0,0,0,0,esc\n").string(),
                                "-o", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("end: ESC"), std::string::npos) << r.out;
    EXPECT_EQ(framesOf(out).size(), 12u);
}

TEST_F(SimulateCommandTest, PausedFramesAreNotRecordedAndTheDurationCountsThem) {
    const fs::path out = path("paused.kvm");
    const CliResult r = runCli({"simulate", "--initial", kCarOnGround, "--controls",
                                script("time,x,y,a,b,key\n1,0,0,0,0,P\n2,0,0,0,0,P\n").string(),
                                "--duration", "3", "-o", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto frames = framesOf(out);
    ASSERT_EQ(frames.size(), 24u);
    // The frame after the pause carries on from the one before it.
    EXPECT_NEAR(frames[12][model::kFrameTime] - frames[11][model::kFrameTime], 1.0 / 12.0, 1e-5);
}

TEST_F(SimulateCommandTest, AnInstabilityEndsTheRunAndKeepsItsLastFrame) {
    const fs::path out = path("unstable.kvm");
    const CliResult r = runCli({"simulate", "--initial", kCarOnGround, "--gravity", "30000",
                                "--duration", "5", "-o", out.string()});
    // Its own exit status, so that a script cannot take it for a good take.
    ASSERT_EQ(r.exitCode, 3) << r.err;
    EXPECT_NE(r.out.find("end: unstable"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("kestrovane-cli simulate: The simulation became unstable.\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(framesOf(out).size(), 1u);
}

TEST_F(SimulateCommandTest, TrimStartsAnAircraftInLevelFlightOrSaysWhyItCannot) {
    // 250 knots at 5000 ft, every control at zero: without --trim it dives.
    const char* cruise = "0,0,-5000,0,0,0,0,0,0,422,0,0";
    const fs::path loose = path("loose.kvm");
    const fs::path trimmed = path("trimmed.kvm");
    const CliResult untrimmed = runCli({"simulate", "--vehicle", "aircraft", "--initial", cruise,
                                        "--duration", "10", "-o", loose.string()});
    const CliResult level = runCli({"simulate", "--vehicle", "aircraft", "--initial", cruise,
                                    "--trim", "--duration", "10", "-o", trimmed.string()});
    ASSERT_EQ(untrimmed.exitCode, 0) << untrimmed.err;
    ASSERT_EQ(level.exitCode, 0) << level.err;
    EXPECT_TRUE(level.err.empty()) << level.err;
    const double startDown = -5000.0 * 0.3048037;
    const auto downLoose = framesOf(loose).back()[model::kFrameDown];
    const auto framesTrimmed = framesOf(trimmed);
    ASSERT_FALSE(framesTrimmed.empty());
    EXPECT_GT(downLoose - startDown, 30.0) << "it dives without the trim";
    for (const auto& f : framesTrimmed) {
        EXPECT_NEAR(f[model::kFrameDown], startDown, 0.5);
        EXPECT_NEAR(f[model::kFramePitch], 4.8, 0.1); // its angle of attack
    }

    // 40 knots: too slow to fly level; the run goes on untrimmed.
    const fs::path slow = path("slow.kvm");
    const CliResult tooSlow =
        runCli({"simulate", "--vehicle", "aircraft", "--initial", "0,0,-5000,0,0,0,0,0,0,67,0,0",
                "--trim", "--duration", "1", "-o", slow.string()});
    EXPECT_EQ(tooSlow.exitCode, 0) << tooSlow.err;
    EXPECT_NE(tooSlow.err.find("kestrovane-cli simulate: The aircraft is too slow to fly level "
                               "at its initial speed; it starts untrimmed."),
              std::string::npos)
        << tooSlow.err;
    EXPECT_EQ(framesOf(slow).size(), 12u);
}

TEST_F(SimulateCommandTest, ARunThatFillsTheRecordMemoryKeepsWhatWasRecorded) {
    // No duration and no ESC: the run lasts until the factory record memory
    // (2002 frames) is full.
    const fs::path out = path("full.kvm");
    const CliResult r = runCli({"simulate", "--fps", "100", "-o", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("end: record memory full"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("Only the first 20.0 seconds of the animation were recorded because it "
                         "exceeded the 2002 frame limit."),
              std::string::npos)
        << r.err;
    EXPECT_EQ(framesOf(out).size(), 2002u);
}

TEST_F(SimulateCommandTest, ALongRunIsSilentOnStderrWhenItIsNotATerminal) {
    // Long enough (over a second of work) for the progress bar a terminal shows.
    const fs::path out = path("long.kvm");
    const CliResult r =
        runCli({"simulate", "--initial", kCarOnGround, "--duration", "1600", "-o", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "kestrovane-cli simulate: Only the first 1500.2 seconds of the animation were "
                     "recorded because it exceeded the 18002 frame limit.\n");
    EXPECT_EQ(framesOf(out).size(), 18002u);
}

TEST_F(SimulateCommandTest, ReplayingATakeReproducesItByteForByte) {
    const fs::path take = path("take.kvm");
    const fs::path controls = script(kDriveScript);
    ASSERT_EQ(runCli({"simulate", "--initial", kCarOnGround, "--controls", controls.string(),
                      "--duration", "3", "--fps", "24", "--accuracy", "240", "-o", take.string()})
                  .exitCode,
              0);
    // The frame rate comes from the recording; its length ends the run.
    const fs::path again = path("again.kvm");
    const CliResult r = runCli({"simulate", "--initial", kCarOnGround, "--replay", take.string(),
                                "--accuracy", "240", "-o", again.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(summaryValue(r.out, "frames: "), 72);
    EXPECT_EQ(readAll(take), readAll(again));

    // Replayed with another vehicle the controller fields stay those of the take.
    const fs::path other = path("other.kvm");
    ASSERT_EQ(runCli({"simulate", "--replay", take.string(), "--vehicle", "motorcycle", "-o",
                      other.string()})
                  .exitCode,
              0);
    const auto a = framesOf(take);
    const auto b = framesOf(other);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (int f = model::kFrameTime; f <= model::kFrameKeyCommand; ++f)
            ASSERT_EQ(a[i][static_cast<std::size_t>(f)], b[i][static_cast<std::size_t>(f)]) << i;
    }
    EXPECT_NE(readAll(take), readAll(other));
}

TEST_F(SimulateCommandTest, OptionsReachTheRun) {
    // An aircraft in free flight 1000 ft up at 300 ft/s: about 91 m north in a second.
    const auto flight = [&](std::vector<std::string> extra) {
        std::vector<std::string> args{"simulate",
                                      "--vehicle",
                                      "aircraft",
                                      "--initial",
                                      "0,0,-1000,0,0,0,0,0,0,300,0,0",
                                      "--duration",
                                      "1",
                                      "-o",
                                      path("flight.kvm").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return framesOf(path("flight.kvm")).back();
    };
    const model::MotionFrame plain = flight({});
    EXPECT_NEAR(plain[model::kFrameNorth], 300 * 0.3048, 10.0);
    EXPECT_NEAR(plain[model::kFrameDown], -1000 * 0.3048, 10.0);
    const model::MotionFrame noGravity = flight({"--gravity", "0"});
    EXPECT_NE(noGravity[model::kFrameDown], plain[model::kFrameDown]);
    // Gravity is given in g's: one g is the default 32.17 ft/s^2 exactly.
    EXPECT_EQ(flight({"--gravity", "1"}), plain);
    const model::MotionFrame windy = flight({"--wind", "60,90"});
    EXPECT_NE(windy[model::kFrameEast], plain[model::kFrameEast]);
}

TEST_F(SimulateCommandTest, TheCarStandsOnTheTerrainGiven) {
    // Level ground 1 m below the start, against the flat ground at 0.
    const fs::path dxf = path("ground.dxf");
    writeAll(dxf, dxfText({{-100, -100, 1, 100, -100, 1, 100, 100, 1, -100, 100, 1}}));
    const CliResult flat = runCli(
        {"simulate", "--initial", kCarOnGround, "--duration", "3", "-o", path("a.kvm").string()});
    const CliResult low = runCli({"simulate", "--initial", kCarOnGround, "--terrain", dxf.string(),
                                  "--duration", "3", "-o", path("b.kvm").string()});
    ASSERT_EQ(flat.exitCode, 0) << flat.err;
    ASSERT_EQ(low.exitCode, 0) << low.err;
    EXPECT_NEAR(summaryValue(low.out, "down ") - summaryValue(flat.out, "down "), 1.0, 0.05)
        << flat.out << low.out;
}

TEST_F(SimulateCommandTest, AProjectBringsItsObjectTerrainAndUpdateRate) {
    const fs::path dxf = path("ground.dxf");
    writeAll(dxf, dxfText({{-100, -100, 1, 100, -100, 1, 100, 100, 1, -100, 100, 1}}));
    const fs::path project = path("scene.kvp");
    {
        test::DocumentRig rig;
        app::Document& doc = *rig.doc;
        ASSERT_TRUE(doc.addTerrain(app::DxfImport{dxf}));
        doc.object(0).initial.position = {0.0f, 0.0f, -2.5f};
        doc.preferences().framePeriod = 1.0f / 30.0f;
        rig.files.answers.push_back(project.string());
        ASSERT_TRUE(doc.saveProject(true));
    }
    const CliResult onProject = runCli({"simulate", "--project", project.string(), "--duration",
                                        "3", "-o", path("a.kvm").string()});
    ASSERT_EQ(onProject.exitCode, 0) << onProject.err;
    EXPECT_EQ(summaryValue(onProject.out, "frames: "), 90);
    const CliResult flat = runCli({"simulate", "--initial", kCarOnGround, "--fps", "30",
                                   "--duration", "3", "-o", path("b.kvm").string()});
    ASSERT_EQ(flat.exitCode, 0) << flat.err;
    EXPECT_NEAR(summaryValue(onProject.out, "down ") - summaryValue(flat.out, "down "), 1.0, 0.05);
}

TEST_F(SimulateCommandTest, AnInteractiveObjectOfAProjectReplaysItsTakeBesideTheCar) {
    const fs::path take = path("take.kvm");
    ASSERT_EQ(runCli({"simulate", "--initial", "0,20,-2.5,0,0,0,0,0,0,0,0,0", "--controls",
                      script(kDriveScript).string(), "--duration", "2", "-o", take.string()})
                  .exitCode,
              0);
    const fs::path project = path("pair.kvp");
    {
        test::DocumentRig rig;
        app::Document& doc = *rig.doc;
        ASSERT_TRUE(doc.addMotionObject(model::kRoleInteractive, take));
        doc.object(0).initial.position = {0.0f, 0.0f, -2.5f};
        rig.files.answers.push_back(project.string());
        ASSERT_TRUE(doc.saveProject(true));
    }
    const CliResult r = runCli({"simulate", "--project", project.string(), "--duration", "2", "-o",
                                path("a.kvm").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(framesOf(path("a.kvm")).size(), 24u);
}

TEST_F(SimulateCommandTest, MalformedControlsNameTheLineAndWriteNothing) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"", "line 1: expected the header time,x,y,a,b,key"},
        {"t,x,y,a,b,key\n", "line 1: expected the header"},
        {"time,x,y,a,b,key\n0,0,0,0,0,\n1,2,0,0,0,\n", "line 3: x must be a number from -1 to 1"},
        {"time,x,y,a,b,key\n0,0,nan,0,0,\n", "line 2: y must be"},
        {"time,x,y,a,b,key\n0,0,0,2,0,\n", "line 2: a must be 0 or 1"},
        {"time,x,y,a,b,key\n\n0,0,0,0,x,\n", "line 3: b must be 0 or 1"},
        {"time,x,y,a,b,key\n0,0,0,0,0,Z\n", "line 2: unknown key 'Z'"},
        {"time,x,y,a,b,key\n2,0,0,0,0,\n1,0,0,0,0,\n", "line 3: time goes back"},
        {"time,x,y,a,b,key\n-1,0,0,0,0,\n", "line 2: time must be"},
        {"time,x,y,a,b,key\n0,0,0\n", "line 2: too few fields"},
        {"time,x,y,a,b,key\n0,0,0,0,0,,\n", "line 2: too many fields"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const fs::path out = path("bad.kvm");
        const CliResult r = runCli({"simulate", "--controls", script(c.text).string(), "--duration",
                                    "1", "-o", out.string()});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(SimulateCommandTest, MissingOrDamagedInputFailsAndKeepsTheOldOutput) {
    writeAll(path("damaged.kvm"), std::string("\x10\x20\x30 not a motion", 17));
    writeAll(path("damaged.kvo"), std::string(64, '\x7f'));
    writeAll(path("empty.csv"), "time,x,y,a,b,key\n");
    const fs::path out = path("keep.kvm");
    writeAll(out, "previous take");
    const std::vector<std::vector<std::string>> cases = {
        {"--object", path("missing.kvo").string()},   {"--object", path("damaged.kvo").string()},
        {"--project", path("missing.kvp").string()},  {"--terrain", path("missing.dxf").string()},
        {"--controls", path("missing.csv").string()}, {"--replay", path("missing.kvm").string()},
        {"--replay", path("damaged.kvm").string()},
    };
    for (const auto& extra : cases) {
        SCOPED_TRACE(extra[1]);
        std::vector<std::string> args{"simulate", "--duration", "1", "-o", out.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err, "");
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(readAll(out), "previous take");
    }
}

TEST_F(SimulateCommandTest, BadUsageExitsWithTwo) {
    const std::string out = path("x.kvm").string();
    const std::vector<std::vector<std::string>> cases = {
        {"simulate"},
        {"simulate", "--frobnicate", "-o", out},
        {"simulate", "--vehicle", "boat", "-o", out},
        {"simulate", "--vehicle", "car", "--object", "a.kvo", "-o", out},
        {"simulate", "--controls", "a.csv", "--replay", "b.kvm", "-o", out},
        {"simulate", "--accuracy", "100", "-o", out},
        {"simulate", "--fps", "0", "-o", out},
        {"simulate", "--duration", "-1", "-o", out},
        {"simulate", "--initial", "1,2,3,4,5,6,7,8,9,10,11", "-o", out},
        {"simulate", "--wind", "10", "-o", out},
        {"simulate", "--gravity", "x", "-o", out},
        {"simulate", "-o"},
        {"simulate", "-o", out, "--camera-out", out},
        {"simulate", "stray", "-o", out},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.back());
        const CliResult r = runCli(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("usage: kestrovane-cli simulate"), std::string::npos);
        EXPECT_FALSE(fs::exists(out));
    }
    const CliResult help = runCli({"simulate", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--camera-out"), std::string::npos);
}

} // namespace
} // namespace kv::clitest
