// The document's side of terrains from other tools: a vehicle that starts
// inside the ground is put on it and the run tells the user once, On Ground
// rests it on a slope, and a z-up terrain goes back out as the same hill.

#include "app/document/document.h"
#include "app/document/headless_run.h"
#include "app/input/input_controls.h"
#include "app/input/input_script.h"
#include "geometry/dxf_transform.h"
#include "simulation/contact/contact_setup.h"
#include "simulation/reset_simulation.h"
#include "support/document_ports.h"
#include "support/file_test_support.h"
#include "support/json_value.h"
#include "support/node_tool.h"
#include "support/python_tool.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

namespace fs = std::filesystem;
using filetest::ScratchDir;
using test::DocumentRig;

class RecordedNotices final : public NoticePort {
  public:
    void showNotice(std::string_view text) override { notices.emplace_back(text); }
    std::vector<std::string> notices;
};

/// A plane 2 km across, right-hand metres: down = down0 + slope * north (m).
fs::path planeDxf(const ScratchDir& dir, double down0, double slope) {
    const fs::path file = dir / "plane.dxf";
    std::ofstream out(file);
    out << "  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  8\nGround\n";
    const double c[4][2] = {{-1000, -1000}, {1000, -1000}, {1000, 1000}, {-1000, 1000}};
    for (int k = 0; k < 4; ++k) {
        out << " 1" << k << "\n" << c[k][0] << "\n 2" << k << "\n" << c[k][1] << "\n 3" << k
            << "\n"
            << down0 + slope * c[k][0] << "\n";
    }
    out << "  0\nENDSEC\n  0\nEOF\n";
    return file;
}

/// Runs the document for `frames` frames with the stick centred.
void runFrames(Document& doc, MessagePort& messages, NoticePort* notices, int frames) {
    ScriptedDeviceSource source(std::vector<DeviceState>(static_cast<std::size_t>(frames)));
    DeviceControls controls(source, ControllerSettings{});
    HeadlessLimits limits;
    limits.frames = frames;
    runHeadless(doc, controls, controls.state(), limits, messages, notices);
}

TEST(DocumentGroundStart, ARunTellsOnceThatTheVehicleWasPutOnTheGround) {
    DocumentRig rig;
    ScratchDir dir;
    // 25 ft above the start.
    ASSERT_TRUE(rig.doc->addTerrain(DxfImport{planeDxf(dir, -25.0 * kMetresPerFootD, 0.0)}));
    rig.doc->preferences().lengthUnitFactor = kFeetPerFoot;
    const float startDown = rig.doc->object(0).initial.position[2];
    RecordedNotices notices;
    runFrames(*rig.doc, rig.messages, &notices, 12);
    ASSERT_EQ(notices.notices.size(), 1u);
    // The new project's car has its lowest point on level ground: 25 ft below this one.
    EXPECT_EQ(notices.notices[0], "The car started 25.0 ft below the ground and was placed on it.");
    EXPECT_TRUE(rig.messages.shown.empty());
    // The stored initial conditions are untouched; the next run tells again.
    EXPECT_EQ(rig.doc->object(0).initial.position[2], startDown);
    runFrames(*rig.doc, rig.messages, &notices, 12);
    EXPECT_EQ(notices.notices.size(), 2u);

    // Its lowest point started 10 ft above the ground: no notice.
    rig.doc->object(0).initial.position[2] = startDown - 35.0f;
    runFrames(*rig.doc, rig.messages, &notices, 12);
    EXPECT_EQ(notices.notices.size(), 2u);
}

TEST(DocumentGroundStart, OnGroundRestsTheCarOnASlope) {
    DocumentRig rig;
    // Without a terrain the template's own start is already on the ground.
    const model::InitialConditions start = rig.doc->object(0).initial;
    EXPECT_NEAR(rig.doc->onGround(start).position[2], start.position[2], 1e-4);

    ScratchDir dir;
    // 10 % up towards the north, 12 ft above the start.
    const double slope = -0.1;
    ASSERT_TRUE(rig.doc->addTerrain(DxfImport{planeDxf(dir, -12.0 * kMetresPerFootD, slope)}));
    model::InitialConditions ic = start;
    ic.position = {40.0f, -20.0f, 0.0f};
    ic.attitude[2] = 30.0f;
    const model::InitialConditions placed = rig.doc->onGround(ic);
    EXPECT_EQ(placed.position[0], 40.0f);
    EXPECT_EQ(placed.position[1], -20.0f);
    EXPECT_EQ(placed.attitude, ic.attitude);
    // Its lowest contact point on the surface: nothing left to raise, nothing to drop.
    rig.doc->object(0).initial = placed;
    const sim::RunSettings settings = rig.doc->runSettings();
    EXPECT_NEAR(sim::initialContactDepth(rig.doc->object(0), settings,
                                         sim::contactVerticesOf(settings.meshes, 0))
                    .atRest,
                0.0, 1e-3);

    // It rests there: no notice, and it stays on the surface.
    RecordedNotices notices;
    runFrames(*rig.doc, rig.messages, &notices, 60);
    EXPECT_TRUE(notices.notices.empty());
    const model::MotionFrame& last = rig.doc->run().channels.channels[0].frames[59];
    const double north = last[model::kFrameNorth] * kFeetPerMetreD;
    const double surface = -12.0 + slope * north;
    const double above = surface - last[model::kFrameDown] * kFeetPerMetreD;
    EXPECT_GT(above, 0.0);
    EXPECT_LT(above, 15.0);
}

TEST(DocumentGroundStart, ZUpTerrainGoesBackOutAsTheSameHill) {
    if (const std::string why = pythontest::unavailableReason("ezdxf"); !why.empty())
        GTEST_SKIP() << why;
    ScratchDir dir;
    int status = 0;
    const fs::path hill = dir / "hill.dxf";
    std::string out = pythontest::runScript("ezdxf_hill.py", nodetest::quoted(hill), status);
    ASSERT_EQ(status, 0) << out;

    DocumentRig rig;
    ASSERT_TRUE(rig.doc->addTerrain(DxfImport{hill, geom::defaultTransformFor(geom::DxfAxes::ZUp)}));
    rig.doc->preferences().rightHandedAxes = 2; // Z Up
    rig.files.answers.push_back((dir / "again.dxf").string());
    ASSERT_TRUE(rig.doc->saveTerrainAs());
    std::ifstream written(dir / "again.dxf");
    std::string line, header;
    for (int i = 0; i < 4 && std::getline(written, line); ++i)
        header = line;
    EXPECT_EQ(header, "Z Up Coordinate System in Meters");

    out = pythontest::runScript("ezdxf_top.py", nodetest::quoted(dir / "again.dxf"), status);
    ASSERT_EQ(status, 0) << out;
    const auto top = jsontest::parseJson(out);
    ASSERT_TRUE(top.has_value()) << out;
    EXPECT_GT((*top)["faces"].number, 0);
    EXPECT_NEAR((*top)["top"].number, 10.0, 1e-3);
    EXPECT_NEAR((*top)["low"].number, 0.0, 1e-3);
    // The plateau around x 30, y 0, 20 m across.
    EXPECT_NEAR((*top)["x"][0].number, 20.0, 1e-3);
    EXPECT_NEAR((*top)["x"][1].number, 40.0, 1e-3);
    EXPECT_NEAR((*top)["y"][0].number, -10.0, 1e-3);
    EXPECT_NEAR((*top)["y"][1].number, 10.0, 1e-3);
}

} // namespace
} // namespace kv::app
