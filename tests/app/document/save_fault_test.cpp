// Project, preference and DXF saves over a disk that fills after every
// possible number of bytes: the previous file stays byte for byte and the
// failure is reported.

#include "app/document/document.h"
#include "app/settings/preferences_file.h"
#include "project_test_support.h"
#include "support/document_ports.h"
#include "support/file_test_support.h"
#include "support/write_faults.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

using filetest::ScratchDir;
using test::DocumentRig;

class DocumentSaveFaultTest : public ::testing::Test {
  protected:
    /// Runs a save that asks for `name` in the output folder each time.
    ::testing::AssertionResult survives(std::string_view name, const std::function<bool()>& save) {
        return filetest::saveSurvivesEveryCut(
            out.path(),
            [&] {
                rig.files.answers.push_back((out / name).string());
                return save();
            },
            &rig.messages);
    }

    ScratchDir dir;
    ScratchDir out;
    DocumentRig rig;
};

TEST_F(DocumentSaveFaultTest, Project) {
    ASSERT_TRUE(rig.doc->addScenery(DxfImport{projecttest::writeDxf(dir / "road.dxf", 2)}));
    ASSERT_TRUE(rig.doc->addTerrain(DxfImport{projecttest::writeDxf(dir / "hill.dxf", 2)}));
    filetest::writeBytes(out / "scene.kvp", {'o', 'l', 'd'});
    EXPECT_TRUE(survives("scene.kvp", [&] { return rig.doc->saveProject(true); }));
}

TEST_F(DocumentSaveFaultTest, TerrainSceneryAndObjectGeometryAsDxf) {
    ASSERT_TRUE(rig.doc->addScenery(DxfImport{projecttest::writeDxf(dir / "road.dxf", 2)}));
    ASSERT_TRUE(rig.doc->addTerrain(DxfImport{projecttest::writeDxf(dir / "hill.dxf", 2)}));
    ASSERT_TRUE(rig.doc->addObjectGeometry(DxfImport{projecttest::writeDxf(dir / "body.dxf", 2)}));
    filetest::writeBytes(out / "out.dxf", {'o', 'l', 'd'});
    EXPECT_TRUE(survives("out.dxf", [&] { return rig.doc->saveTerrainAs(); }));
    EXPECT_TRUE(survives("out.dxf", [&] { return rig.doc->saveSceneryAs(0); }));
    EXPECT_TRUE(survives("out.dxf", [&] { return rig.doc->saveObjectGeometryAs(0); }));
}

TEST_F(DocumentSaveFaultTest, TerrainAndSceneryTransformKeepTheirWorkingFiles) {
    ASSERT_TRUE(rig.doc->addScenery(DxfImport{projecttest::writeDxf(dir / "road.dxf", 3)}));
    ASSERT_TRUE(rig.doc->addTerrain(DxfImport{projecttest::writeDxf(dir / "hill.dxf", 3)}));
    model::GeometryTransform moved;
    moved.translate = {10.0f, -4.0f, 2.0f};
    moved.rotate = {0.0f, 0.0f, 30.0f};
    const std::filesystem::path working = rig.folder->folder();
    EXPECT_TRUE(filetest::saveSurvivesEveryCut(
        working, [&] { return rig.doc->transformTerrain(moved); }, &rig.messages));
    EXPECT_TRUE(filetest::saveSurvivesEveryCut(
        working, [&] { return rig.doc->transformScenery(0, moved); }, &rig.messages));
}

TEST(PreferenceSaveFault, PreviousPreferencesStay) {
    ScratchDir dir;
    filetest::writeBytes(dir / "prefs", {'o', 'l', 'd'});
    Preferences p;
    p.objectSlots = 12;
    EXPECT_TRUE(filetest::saveSurvivesEveryCut(
        dir.path(), [&] { return writePreferenceFile(dir / "prefs", p); }, nullptr));
}

} // namespace
} // namespace kv::app
