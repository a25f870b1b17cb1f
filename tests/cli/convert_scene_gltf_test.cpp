// The whole scene of a project to glTF as a user makes it: a project with a
// terrain, two scenery sets and an interactive object; the car driven over
// the terrain with kestrovane-cli simulate; then convert gltf --project with
// the take and the camera. The Khronos validator finds nothing to report, and
// three.js's loader sees the car and the camera where the motion files put
// them, standing on the exported ground where the terrain command says the
// ground is. Bad inputs are refused without touching the output.

#include "app/document/document.h"
#include "cli/cli_run.h"
#include "cli/gltf_rotations.h"
#include "export/gltf_pose.h"
#include "export/gltf_scene.h"
#include "model/motion_file.h"
#include "model/motion_playback.h"
#include "model/object_model.h"
#include "support/document_ports.h"
#include "support/file_test_support.h"
#include "support/json_value.h"
#include "support/node_tool.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>
#include <sstream>

namespace kv::clitest {
namespace {

namespace fs = std::filesystem;
using jsontest::JsonValue;

constexpr double kFeetPerMetre = 1.0 / 0.3048037;

/// Times (s) compared: three on recorded frames (12 a second), three between.
const std::vector<double> kTimes{0.5, 1.25, 2.75, 0.54, 1.29, 2.71};

/// Gentle hills (m) of the terrain file: its third coordinate at (x, y).
double hill(double x, double y) {
    return 1.5 * std::sin(x / 35.0) * std::cos(y / 45.0);
}

std::string hillsDxf() {
    std::vector<std::array<double, 12>> faces;
    constexpr int kCells = 24;
    constexpr double kHalf = 120.0;
    constexpr double kStep = 2.0 * kHalf / kCells;
    for (int i = 0; i < kCells; ++i) {
        for (int j = 0; j < kCells; ++j) {
            const double x0 = -kHalf + i * kStep, y0 = -kHalf + j * kStep;
            const double x1 = x0 + kStep, y1 = y0 + kStep;
            faces.push_back({x0, y0, hill(x0, y0), x1, y0, hill(x1, y0), x1, y1, hill(x1, y1), x0,
                             y1, hill(x0, y1)});
        }
    }
    return dxfText(faces);
}

/// A closed box of six faces from (x0, y0, z0) to (x1, y1, z1).
std::string boxDxf(double x0, double y0, double z0, double x1, double y1, double z1) {
    return dxfText({{x0, y0, z0, x1, y0, z0, x1, y1, z0, x0, y1, z0},
                    {x0, y0, z1, x1, y0, z1, x1, y1, z1, x0, y1, z1},
                    {x0, y0, z0, x1, y0, z0, x1, y0, z1, x0, y0, z1},
                    {x0, y1, z0, x1, y1, z0, x1, y1, z1, x0, y1, z1},
                    {x0, y0, z0, x0, y1, z0, x0, y1, z1, x0, y0, z1},
                    {x1, y0, z0, x1, y1, z0, x1, y1, z1, x1, y0, z1}});
}

class ConvertSceneGltfTest : public ::testing::Test {
  protected:
    fs::path path(const std::string& name) const { return dir_ / name; }

    /// The terrain command's ground at north, east (ft): the down coordinate (ft).
    double groundDown(double northFt, double eastFt) {
        const CliResult r = runCli({"terrain", path("hills.dxf").string(), "--at",
                                    std::to_string(northFt) + "," + std::to_string(eastFt)});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        double down = 0.0;
        std::istringstream(r.out) >> down;
        return down;
    }

    /// The project scene.kvp: hills, two scenery boxes, the car standing on
    /// the ground at the origin and a motorcycle take as the interactive object.
    void makeProject(bool withTerrain, const fs::path& project) {
        writeAll(path("hills.dxf"), hillsDxf());
        writeAll(path("wall.dxf"), boxDxf(-30, -25, -4, 90, -23, 0));
        writeAll(path("block.dxf"), boxDxf(70, 8, -6, 78, 16, 0));
        const double down = withTerrain ? groundDown(0.0, 0.0) : 0.0;
        const double bikeDown = withTerrain ? groundDown(0.0, 30.0) : 0.0;
        const fs::path script = path("bike.csv");
        writeAll(script, "time,x,y,a,b,key\n0,0,-0.2,0,0,\n");
        std::vector<std::string> bike{"simulate",
                                      "--vehicle",
                                      "motorcycle",
                                      "--initial",
                                      "0,30," + std::to_string(bikeDown - 2.5) +
                                          ",0,0,0,0,0,0,25,0,0",
                                      "--controls",
                                      script.string(),
                                      "--duration",
                                      "3",
                                      "-o",
                                      path("bike.kvm").string()};
        if (withTerrain) {
            bike.push_back("--terrain");
            bike.push_back(path("hills.dxf").string());
        }
        const CliResult r = runCli(bike);
        ASSERT_EQ(r.exitCode, 0) << r.err;

        test::DocumentRig rig;
        app::Document& doc = *rig.doc;
        if (withTerrain) {
            ASSERT_TRUE(doc.addTerrain(app::DxfImport{path("hills.dxf")}));
        }
        ASSERT_TRUE(doc.addScenery(app::DxfImport{path("wall.dxf"), {}, 2}));
        ASSERT_TRUE(doc.addScenery(app::DxfImport{path("block.dxf"), {}, 12}));
        ASSERT_TRUE(doc.addMotionObject(model::kRoleInteractive, path("bike.kvm")));
        doc.object(0).initial.position = {0.0f, 0.0f, static_cast<float>(down - 2.5)};
        rig.files.answers.push_back(project.string());
        ASSERT_TRUE(doc.saveProject(true));
    }

    /// Drives the car of `project` for 3 s, the camera in its External mode
    /// (F6): car.kvm, cam.kvm and the run's scene run.glb.
    void drive(const fs::path& project) {
        const fs::path script = path("car.csv");
        writeAll(script, "time,x,y,a,b,key\n0,0.15,-0.4,0,0,F6\n");
        const CliResult r = runCli(
            {"simulate", "--project", project.string(), "--initial",
             "0,0," + std::to_string(groundDown(0, 0) - 2.5) + ",0,0,0,0,0,0,20,0,0", "--controls",
             script.string(), "--duration", "3", "--fps", "12", "-o", path("car.kvm").string(),
             "--camera-out", path("cam.kvm").string(), "--gltf", path("run.glb").string()});
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }

    JsonValue check(const fs::path& glb, const std::vector<std::string>& ground = {}) {
        std::string command = nodetest::quoted(nodetest::findNode()) + " " +
                              nodetest::quoted(nodetest::nodeFolder() / "gltf_check.mjs") + " " +
                              nodetest::quoted(glb);
        for (double t : kTimes)
            command += " " + std::to_string(t);
        if (!ground.empty()) {
            command += " --ground";
            for (const std::string& p : ground)
                command += " " + p;
        }
        int status = 0;
        const std::string output = nodetest::runCommand(command + " 2>&1", status);
        EXPECT_EQ(status, 0) << output;
        auto parsed = jsontest::parseJson(output);
        EXPECT_TRUE(parsed.has_value()) << output;
        return parsed.value_or(JsonValue{});
    }

    /// Reads `file` into slot 0 of `store`.
    static void load(const fs::path& file, model::MotionStore& store, model::ObjectRecord& record) {
        ASSERT_TRUE(store.allocate(1, 400));
        filetest::MessageLog log;
        bool report = true;
        ASSERT_TRUE(
            model::loadMotion(file, model::MotionTarget{0, &record, {}}, store, report, log));
    }

    filetest::ScratchDir dir_;
};

void expectValid(const JsonValue& result) {
    EXPECT_EQ(result["validator"]["errors"].number, 0)
        << (result["validator"]["messages"].items.empty()
                ? std::string()
                : result["validator"]["messages"][0].text);
    EXPECT_EQ(result["validator"]["warnings"].number, 0);
    EXPECT_TRUE(result["problems"].items.empty());
}

TEST_F(ConvertSceneGltfTest, TerrainSceneryCarInteractiveObjectAndCamera) {
    if (const std::string why = nodetest::unavailableReason("gltf-validator"); !why.empty())
        GTEST_SKIP() << why;
    const fs::path project = path("scene.kvp");
    makeProject(true, project);
    drive(project);
    const fs::path glb = path("scene.glb");
    const CliResult convert = runCli({"convert", "gltf", "--project", project.string(), "--take",
                                      path("car.kvm").string(), "--camera",
                                      path("cam.kvm").string(), "-o", glb.string()});
    ASSERT_EQ(convert.exitCode, 0) << convert.err;
    EXPECT_EQ(convert.out, glb.string() + "\n");

    model::MotionStore car, cam;
    model::ObjectRecord carRecord, camRecord;
    load(path("car.kvm"), car, carRecord);
    load(path("cam.kvm"), cam, camRecord);
    filetest::MessageLog log;
    // The car's position at the first three times: where the ground is asked.
    std::vector<std::string> ground;
    std::vector<double> expectedGround;
    for (std::size_t i = 0; i < 3; ++i) {
        model::MotionFrame f{};
        model::interpolateMotion(car, 0, model::kFrameFieldCount, static_cast<float>(kTimes[i]),
                                 1.0f / 12.0f, f, log);
        const auto g = exp::toGltfAxes(f[model::kFrameNorth], f[model::kFrameEast], 0.0);
        ground.push_back(std::to_string(g[0]) + "," + std::to_string(g[2]));
        expectedGround.push_back(-groundDown(f[model::kFrameNorth] * kFeetPerMetre,
                                             f[model::kFrameEast] * kFeetPerMetre) /
                                 kFeetPerMetre);
    }

    // The scene converted afterwards, and the one simulate wrote of its run.
    for (const fs::path& file : {glb, path("run.glb")}) {
        SCOPED_TRACE(file.filename().string());
        const JsonValue result = check(file, ground);
        expectValid(result);
        const std::string carName = model::recordName(carRecord.name);
        for (const std::string& node :
             {std::string("Terrain"), std::string("Scenery 1"), std::string("Scenery 2"),
              std::string("Camera"), carName, carName + ".CG", carName + ".FrontLeftTire"}) {
            EXPECT_TRUE((result["nodes"].members.count(node) != 0)) << node;
        }
        EXPECT_EQ(result["meshes"].number, 5); // terrain, two scenery sets, car, motorcycle
        EXPECT_EQ(result["animations"].items.size(), 1u);
        EXPECT_NEAR(result["duration"].number, 3.0, 0.01);
        ASSERT_EQ(result["cameras"].items.size(), 1u);
        EXPECT_EQ(result["cameras"][0]["node"].text, "Camera");
        // The factory camera: 36.87 degrees across a 1.3333 view.
        EXPECT_NEAR(result["cameras"][0]["yfov"].number, 36.87 / 1.3333 * std::numbers::pi / 180.0,
                    1e-6);

        const JsonValue& position = result["tracks"][carName + ".CG.position"];
        const JsonValue& attitude = result["tracks"][carName + ".CG.quaternion"];
        const JsonValue& camPosition = result["tracks"]["Camera.position"];
        const JsonValue& camAttitude = result["tracks"]["Camera.quaternion"];
        ASSERT_EQ(position.items.size(), kTimes.size());
        ASSERT_EQ(camPosition.items.size(), kTimes.size());
        for (std::size_t i = 0; i < kTimes.size(); ++i) {
            model::MotionFrame f{}, c{};
            model::interpolateMotion(car, 0, model::kFrameFieldCount, static_cast<float>(kTimes[i]),
                                     1.0f / 12.0f, f, log);
            model::interpolateMotion(cam, 0, model::kFrameFieldCount, static_cast<float>(kTimes[i]),
                                     1.0f / 12.0f, c, log);
            using namespace model;
            const exp::GltfPose body = exp::toGltfPose(f[kFrameNorth], f[kFrameEast], f[kFrameDown],
                                                       f[kFrameRoll], f[kFramePitch], f[kFrameYaw]);
            const exp::GltfPose view = exp::cameraNodePose(c);
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_NEAR(position[i][k].number, body.translation[k], 0.001) << kTimes[i];
                EXPECT_NEAR(camPosition[i][k].number, view.translation[k], 0.001) << kTimes[i];
            }
            EXPECT_LT(angleBetween(quaternionOf(attitude[i]), body.rotation), 0.01) << kTimes[i];
            EXPECT_LT(angleBetween(quaternionOf(camAttitude[i]), view.rotation), 0.01) << kTimes[i];
        }
        for (std::size_t i = 0; i < 3; ++i) {
            ASSERT_FALSE(result["ground"][i].isNull())
                << "no terrain under the car at " << kTimes[i];
            const double y = result["ground"][i].number;
            std::printf(
                "at %.2f s: ground under the car %.4f m in three.js, %.4f m from the terrain "
                "command; car body %.3f m above it\n",
                kTimes[i], y, expectedGround[i], position[i][1].number - y);
            EXPECT_NEAR(y, expectedGround[i], 0.02) << kTimes[i];
            // The car stands on that ground: its centre of gravity a little above.
            EXPECT_GT(position[i][1].number - y, 0.2);
            EXPECT_LT(position[i][1].number - y, 1.5);
        }
    }
}

TEST_F(ConvertSceneGltfTest, RenderedFromTheExportedCameraTheCarStandsOnTheGroundInView) {
    if (const std::string why = nodetest::unavailableReason("three"); !why.empty())
        GTEST_SKIP() << why;
    const fs::path project = path("scene.kvp");
    makeProject(true, project);
    drive(project);
    // The picture goes to KV_SCREENSHOT_DIR when given (docs/screenshots).
    const char* keep = std::getenv("KV_SCREENSHOT_DIR");
    const fs::path png = keep != nullptr ? fs::path(keep) / "scene-gltf.png" : path("scene.png");
    int status = 0;
    const std::string output = nodetest::runCommand(
        nodetest::quoted(nodetest::findNode()) + " " +
            nodetest::quoted(nodetest::nodeFolder() / "gltf_render.mjs") + " " +
            nodetest::quoted(path("run.glb")) + " 2.75 " + nodetest::quoted(png) + " 800 2>&1",
        status);
    ASSERT_EQ(status, 0) << output;
    const auto parsed = jsontest::parseJson(output);
    ASSERT_TRUE(parsed.has_value()) << output;
    const JsonValue& cover = (*parsed)["cover"];
    const double width = (*parsed)["width"].number, height = (*parsed)["height"].number;
    model::MotionStore car;
    model::ObjectRecord carRecord;
    load(path("car.kvm"), car, carRecord);
    const JsonValue& body = cover[model::recordName(carRecord.name)];
    std::printf("%s: terrain covers %.1f %% of the picture, the car %.1f %% around (%.0f, %.0f)\n",
                png.string().c_str(), 100.0 * cover["Terrain"]["share"].number,
                100.0 * body["share"].number, body["x"].number, body["y"].number);
    // The external camera aims at the car: it is in the middle of the
    // picture, with the ground around it.
    EXPECT_GT(cover["Terrain"]["share"].number, 0.2);
    EXPECT_GT(body["share"].number, 0.005);
    EXPECT_NEAR(body["x"].number, width / 2.0, width / 6.0);
    EXPECT_NEAR(body["y"].number, height / 2.0, height / 4.0);
}

TEST_F(ConvertSceneGltfTest, BlendersOwnImporterMakesACameraOneTerrainMeshAndTheTakesFrames) {
    int status = 0;
    const std::string blender = nodetest::runCommand("command -v blender 2>/dev/null", status);
    if (status != 0 || blender.empty())
        GTEST_SKIP() << "Blender is not installed (scripts/setup.sh installs it)";
    const fs::path project = path("scene.kvp");
    makeProject(true, project);
    drive(project);
    const fs::path glb = path("scene.glb");
    const CliResult convert = runCli({"convert", "gltf", "--project", project.string(), "--take",
                                      path("car.kvm").string(), "--camera",
                                      path("cam.kvm").string(), "-o", glb.string()});
    ASSERT_EQ(convert.exitCode, 0) << convert.err;

    const fs::path script =
        nodetest::nodeFolder().parent_path() / "blender" / "gltf_import_check.py";
    const std::string output =
        nodetest::runCommand("blender -b --factory-startup --python " + nodetest::quoted(script) +
                                 " -- " + nodetest::quoted(glb) + " 2>&1",
                             status);
    ASSERT_EQ(status, 0) << output;
    const std::size_t line = output.find("KV_IMPORT ");
    ASSERT_NE(line, std::string::npos) << output;
    const std::size_t end = output.find('\n', line);
    const auto parsed = jsontest::parseJson(output.substr(line + 10, end - line - 10));
    ASSERT_TRUE(parsed.has_value()) << output;
    const JsonValue& r = *parsed;
    std::printf("Blender: %g objects, %g meshes, camera %s, frames %g to %g at %g fps\n",
                r["objects"].number, r["meshes"].number,
                r["cameras"].items.empty() ? "none" : r["cameras"][0].text.c_str(),
                r["start_frame"].number, r["end_frame"].number, r["fps"].number);
    ASSERT_EQ(r["cameras"].items.size(), 1u);
    EXPECT_EQ(r["cameras"][0].text, "Camera");
    ASSERT_EQ(r["terrain"].items.size(), 1u);
    EXPECT_EQ(r["terrain"][0].text, "Terrain");
    // The take: 36 frames at 12 a second, from 1/12 s to 3 s.
    model::MotionStore car;
    model::ObjectRecord record;
    load(path("car.kvm"), car, record);
    const double first = car.frames(0)[0][model::kFrameTime];
    const double last =
        car.frames(0)[static_cast<std::size_t>(car.lastFrame(0))][model::kFrameTime];
    const double fps = r["fps"].number;
    EXPECT_NEAR(r["start_frame"].number, first * fps, 1.0);
    EXPECT_NEAR(r["end_frame"].number, last * fps, 1.0);
}

TEST_F(ConvertSceneGltfTest, AProjectWithoutTerrainAndWithoutATake) {
    if (const std::string why = nodetest::unavailableReason("gltf-validator"); !why.empty())
        GTEST_SKIP() << why;
    const fs::path project = path("flat.kvp");
    makeProject(false, project);
    const CliResult convert = runCli({"convert", "gltf", "--project", project.string()});
    ASSERT_EQ(convert.exitCode, 0) << convert.err;
    const fs::path glb = path("flat.glb");
    EXPECT_EQ(convert.out, glb.string() + "\n");
    const JsonValue result = check(glb);
    expectValid(result);
    EXPECT_FALSE((result["nodes"].members.count("Terrain") != 0));
    EXPECT_TRUE((result["nodes"].members.count("Scenery 2") != 0));
    EXPECT_TRUE(result["cameras"].items.empty());
    EXPECT_EQ(result["meshes"].number, 4);
    // The motorcycle's stored take moves; the car stands still.
    EXPECT_NEAR(result["duration"].number, 3.0, 0.01);
}

TEST_F(ConvertSceneGltfTest, BadInputIsRefusedAndTheOutputLeftAlone) {
    const fs::path project = path("scene.kvp");
    makeProject(false, project);
    writeAll(path("junk.kvp"), "not a project at all");
    writeAll(path("junk.kvm"), "not a motion file");
    const CliResult cam =
        runCli({"simulate", "--vehicle", "car", "--duration", "1", "-o", path("car.kvm").string(),
                "--camera-out", path("cam.kvm").string()});
    ASSERT_EQ(cam.exitCode, 0) << cam.err;
    const CliResult heli = runCli({"simulate", "--vehicle", "helicopter", "--duration", "1", "-o",
                                   path("heli.kvm").string()});
    ASSERT_EQ(heli.exitCode, 0) << heli.err;

    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::string named; ///< the file the message must name
    };
    const std::string p = project.string();
    const std::vector<Case> cases{
        {"unreadable project", {"--project", path("junk.kvp").string()}, "junk.kvp"},
        {"missing project", {"--project", path("none.kvp").string()}, "none.kvp"},
        {"unreadable take", {"--project", p, "--take", path("junk.kvm").string()}, "junk.kvm"},
        {"missing take", {"--project", p, "--take", path("none.kvm").string()}, "none.kvm"},
        {"take of another object",
         {"--project", p, "--take", path("heli.kvm").string()},
         "heli.kvm"},
        {"camera that is a vehicle's take",
         {"--project", p, "--camera", path("car.kvm").string()},
         "car.kvm"},
        {"unreadable camera", {"--project", p, "--camera", path("junk.kvm").string()}, "junk.kvm"},
    };
    for (const bool existing : {false, true}) {
        for (const Case& c : cases) {
            const fs::path out = path("out.glb");
            fs::remove(out);
            if (existing)
                writeAll(out, "previous");
            std::vector<std::string> args{"convert", "gltf"};
            args.insert(args.end(), c.args.begin(), c.args.end());
            args.insert(args.end(), {"-o", out.string()});
            const CliResult r = runCli(args);
            EXPECT_EQ(r.exitCode, 1) << c.what << ": " << r.err;
            EXPECT_NE(r.err.find(c.named), std::string::npos) << c.what << ": " << r.err;
            if (existing)
                EXPECT_EQ(readAll(out), "previous") << c.what;
            else
                EXPECT_FALSE(fs::exists(out)) << c.what;
        }
    }
    // simulate --gltf to a place that cannot be written: the run's files are
    // not written either, and the message names the scene file.
    const CliResult run =
        runCli({"simulate", "--vehicle", "car", "--duration", "1", "-o", path("run.kvm").string(),
                "--gltf", path("none/run.glb").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("\"run.glb\" could not be saved."), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(path("run.kvm")));
    // The folder holds no half-written file.
    for (const std::string& name : dir_.entries())
        EXPECT_TRUE(name.find(".partial") == std::string::npos && name[0] != '.') << name;
}

} // namespace
} // namespace kv::clitest
