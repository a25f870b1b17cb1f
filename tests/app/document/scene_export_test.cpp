// File > Export Scene to glTF on the document: the last run's channels when a
// run recorded any, the project's stored motion otherwise; a progress display
// while it writes; and a failed or aborted export that leaves no file and an
// earlier file untouched.
#include "app/document/document.h"
#include "export/gltf_scene.h"
#include "support/document_ports.h"
#include "support/fake_ports.h"
#include "support/file_test_support.h"
#include "support/terrain_test_ports.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace kv::app {
namespace {

namespace fs = std::filesystem;

/// A document whose progress display is scripted.
struct SceneRig {
    explicit SceneRig(long abortAt = 0) : progress(abortAt) {
        doc = std::make_unique<Document>(
            DocumentPorts{messages, progress, files, questions, *folder});
        EXPECT_TRUE(doc->allocate(kFactoryMemory, false, std::nullopt));
    }
    filetest::MessageLog messages;
    test::ScriptedProgress progress;
    test::ScriptedFiles files;
    test::ScriptedQuestions questions;
    std::unique_ptr<geom::PrivateWorkingFolder> folder = geom::PrivateWorkingFolder::create();
    std::unique_ptr<Document> doc;
};

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

/// Two 3DFACE squares as a DXF file.
fs::path writeSceneryDxf(const fs::path& file) {
    std::ofstream out(file);
    out << "  0\nSECTION\n  2\nENTITIES\n";
    for (int k = 0; k < 2; ++k) {
        out << "  0\n3DFACE\n  8\n0\n";
        const double x = 10.0 * k;
        const double corners[4][3] = {{x, 0, 0}, {x + 5, 0, 0}, {x + 5, 5, -3}, {x, 5, -3}};
        for (int c = 0; c < 4; ++c) {
            out << " 1" << c << "\n" << corners[c][0] << "\n";
            out << " 2" << c << "\n" << corners[c][1] << "\n";
            out << " 3" << c << "\n" << corners[c][2] << "\n";
        }
    }
    out << "  0\nENDSEC\n  0\nEOF\n";
    return file;
}

TEST(DocumentSceneExport, AfterARunTheLiveChannelsAndTheCameraGoIntoTheFile) {
    filetest::ScratchDir dir;
    SceneRig rig;
    Document& doc = *rig.doc;
    ASSERT_TRUE(doc.addScenery(DxfImport{writeSceneryDxf(dir / "shed.dxf")}));
    // Before any run the project exports still: no camera, no animation.
    rig.files.answers.push_back((dir / "still").string());
    ASSERT_TRUE(doc.exportScene("Kestrovane test"));
    const std::string still = readText(dir / "still.glb");
    ASSERT_GE(still.size(), 20u);
    EXPECT_EQ(still.substr(0, 4), "glTF");
    EXPECT_NE(still.find("\"Scenery 1\""), std::string::npos);
    EXPECT_EQ(still.find("\"animations\""), std::string::npos);
    EXPECT_EQ(still.find("\"Camera\""), std::string::npos);
    EXPECT_EQ(rig.files.requests.back().title, "Export Scene to glTF:");
    EXPECT_EQ(rig.files.requests.back().extension, "glb");
    EXPECT_EQ(rig.progress.titles.back(), exp::kSceneProgressTitle);
    EXPECT_EQ(rig.progress.open, 0);

    SimulatedClock clock;
    test::ScriptedControls controls;
    test::ScriptedScene scene;
    scene.escapeFrom = 12;
    doc.resetSimulation();
    doc.runSimulation(sim::RunPorts{clock, controls, scene, rig.messages});
    ASSERT_GT(doc.run().channels.channels[0].count, 1);
    ASSERT_TRUE(doc.exportScene("Kestrovane test", dir / "run.glb"));
    const std::string run = readText(dir / "run.glb");
    EXPECT_NE(run.find("\"animations\""), std::string::npos);
    EXPECT_NE(run.find("\"Camera\""), std::string::npos);
    EXPECT_NE(run.find("\"perspective\""), std::string::npos);
    EXPECT_NE(run.find("\"generator\":\"Kestrovane test\""), std::string::npos);
    EXPECT_TRUE(rig.messages.shown.empty());
}

TEST(DocumentSceneExport, AFailedOrAbortedExportLeavesNoFileAndTheOldOneAlone) {
    filetest::ScratchDir dir;
    {
        SceneRig rig;
        EXPECT_FALSE(rig.doc->exportScene("Kestrovane test", dir / "missing" / "scene.glb"));
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        EXPECT_EQ(rig.messages.shown[0], "\"scene.glb\" could not be saved.");
        EXPECT_FALSE(fs::exists(dir / "missing"));
    }
    {
        // ESC on the progress display: no message, the previous file stays.
        SceneRig rig(1);
        { std::ofstream(dir / "scene.glb") << "previous"; }
        EXPECT_FALSE(rig.doc->exportScene("Kestrovane test", dir / "scene.glb"));
        EXPECT_TRUE(rig.messages.shown.empty());
        EXPECT_EQ(readText(dir / "scene.glb"), "previous");
        EXPECT_EQ(rig.progress.open, 0);
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"scene.glb"});
}

} // namespace
} // namespace kv::app
