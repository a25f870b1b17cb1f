// Previous-version projects: the fixture is written here in the previous
// layout; opening it converts it in place, keeps the original under a backup
// name that never replaces a file, and drops its terrain with a message.
#include "app/document/document.h"
#include "app/document/project_convert.h"
#include "app/document/project_file.h"
#include "common/le_io.h"
#include "model/motion_frame.h"
#include "model/object_file.h"
#include "model/object_file_convert.h"
#include "support/document_ports.h"
#include "support/file_test_support.h"
#include "support/previous_project.h"

#include <bit>
#include <cstring>
#include <gtest/gtest.h>

namespace kv::app {
namespace {

using filetest::ScratchDir;
using test::DocumentRig;
using test::farm;
using test::PreviousObject;
using test::PreviousProjectWriter;

std::string nameOf(const model::ObjectRecord& r) {
    return std::string(r.name.data());
}

TEST(PreviousProjectState, TheLayoutRoundTripsAndMapsCountsAndNames) {
    const PreviousProjectWriter w = farm();
    const PreviousProjectStateImage image = encodePreviousProjectState(w.state);
    EXPECT_EQ(io::getI32(image.data() + 4), 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.data() + 60)), "Farm");
    EXPECT_EQ(io::getI32(image.data() + 1852 + 4), model::kRoleStatic);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.data() + 1932 + 64)), "barn");
    const PreviousProjectState back = decodePreviousProjectState(image);
    EXPECT_EQ(encodePreviousProjectState(back), image);

    const ProjectState s = mapPreviousProjectState(back);
    EXPECT_EQ(s.objectCount, 2);
    EXPECT_EQ(s.collisionObjects, 2);
    EXPECT_EQ(s.sceneryCount, 1);
    EXPECT_EQ(s.sceneryTriangles[0], 2);
    EXPECT_EQ(projectNameText(s.sceneryNames[0]), "fence");
    EXPECT_FLOAT_EQ(s.gravity, 20.0f);
    EXPECT_FLOAT_EQ(s.sunAngle, 45.0f);
    // What the previous block did not hold is a new project's.
    EXPECT_EQ(s.terrainPresent, 0);
    EXPECT_EQ(s.camera.mode, 7);
    EXPECT_EQ(s.sceneryTransforms[0].rightHanded, 1);
}

class PreviousProjectOpen : public ::testing::Test {
  protected:
    ScratchDir dir;
    DocumentRig rig;
    Document& doc = *rig.doc;
};

TEST_F(PreviousProjectOpen, OpensConvertedWithTheOriginalKeptAndTheTerrainDropped) {
    const std::vector<std::uint8_t> original = farm().bytes();
    filetest::writeBytes(dir / "farm.kvp", original);
    EXPECT_EQ(checkProjectVersion(dir / "farm.kvp", rig.messages), ProjectVersion::kPrevious);

    ASSERT_TRUE(doc.openProject(dir / "farm.kvp"));
    EXPECT_EQ(rig.messages.shown, std::vector<std::string>{kTerrainNotConvertedMessage});
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"farm.kvp", "farm.old"}));
    EXPECT_EQ(filetest::readBytes(dir / "farm.old"), original);
    EXPECT_EQ(checkProjectVersion(dir / "farm.kvp", rig.messages), ProjectVersion::kCurrent);

    EXPECT_EQ(doc.objectCount(), 2);
    EXPECT_EQ(nameOf(doc.object(0)), "golf");
    EXPECT_EQ(nameOf(doc.object(1)), "barn");
    EXPECT_EQ(doc.object(0).role, model::kRoleInteractive);
    EXPECT_EQ(doc.object(1).role, model::kRoleStatic);
    EXPECT_EQ(doc.object(0).color, 5);
    EXPECT_EQ(doc.meshes().triangleCount(0), 4);
    EXPECT_EQ(doc.meshes().triangleCount(1), 2);
    EXPECT_EQ(doc.interactiveCount(), 2);
    ASSERT_EQ(doc.scenery().count(), 1);
    EXPECT_EQ(doc.scenery().set(0).triangleCount, 2);
    EXPECT_FALSE(doc.terrain().present());
    EXPECT_FLOAT_EQ(doc.state().gravity, 20.0f);
    EXPECT_FLOAT_EQ(doc.preferences().gridSpacing, 25.0f);
    EXPECT_EQ(doc.projectName(), "farm");
    EXPECT_TRUE(doc.hasFile());
}

TEST_F(PreviousProjectOpen, TheBackupNeverReplacesAFileAndOtherPreferencesAreTheDefaults) {
    // A farm.old of its own is already there, and so is farm.1.old.
    filetest::writeBytes(dir / "farm.old", {'m', 'i', 'n', 'e'});
    filetest::writeBytes(dir / "farm.1.old", {'a', 'l', 's', 'o'});
    PreviousProjectWriter w = farm();
    w.state.terrainPresent = 0;
    w.terrainTriangles = 0;
    w.preferencesSize = 100;
    const std::vector<std::uint8_t> original = w.bytes();
    filetest::writeBytes(dir / "farm.v2.kvp", original);

    ASSERT_TRUE(doc.openProject(dir / "farm.v2.kvp"));
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_EQ(filetest::readBytes(dir / "farm.old"),
              (std::vector<std::uint8_t>{'m', 'i', 'n', 'e'}));
    EXPECT_EQ(filetest::readBytes(dir / "farm.1.old"),
              (std::vector<std::uint8_t>{'a', 'l', 's', 'o'}));
    EXPECT_EQ(filetest::readBytes(dir / "farm.2.old"), original);
    EXPECT_EQ(doc.objectCount(), 2);
    Preferences factory;
    factoryReset(factory, true);
    EXPECT_FLOAT_EQ(doc.preferences().gridSpacing, factory.gridSpacing);
}

TEST_F(PreviousProjectOpen, AProjectThatCannotBeConvertedIsLeftAsItWas) {
    struct Case {
        const char* what;
        PreviousProjectWriter writer;
        std::string message;
    };
    PreviousProjectWriter recorded = farm();
    recorded.objects[1].withFrame = true;
    PreviousProjectWriter cut = farm();
    cut.sceneryTriangles.clear();
    cut.terrainTriangles = 0;
    PreviousProjectWriter badRole = farm();
    badRole.state.objectRoles[1] = 7;
    const Case cases[] = {
        {"stored frames of the previous layout", recorded, model::kMoreThanOneVersionOldMessage},
        {"scenery stream missing", cut, kProjectDamagedMessage},
        {"unknown role", badRole, kProjectDamagedMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir here;
        const std::vector<std::uint8_t> original = c.writer.bytes();
        filetest::writeBytes(here / "farm.kvp", original);
        DocumentRig r;
        r.doc->state().gravity = 9.0f;
        EXPECT_FALSE(r.doc->openProject(here / "farm.kvp"));
        EXPECT_EQ(r.messages.shown, std::vector<std::string>{c.message});
        EXPECT_EQ(here.entries(), std::vector<std::string>{"farm.kvp"});
        EXPECT_EQ(filetest::readBytes(here / "farm.kvp"), original);
        // Refused before anything was read: the project is as it was.
        EXPECT_FLOAT_EQ(r.doc->state().gravity, 9.0f);
    }
}

} // namespace
} // namespace kv::app
