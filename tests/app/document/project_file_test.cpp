// Project files: the state block layout, a whole project saved and reopened,
// the limits a file is checked against, and saves that cannot complete.
#include "app/document/document.h"
#include "app/document/project_file.h"
#include "common/le_io.h"
#include "model/object_file.h"
#include "model/record_codec.h"
#include "project_test_support.h"
#include "support/document_ports.h"
#include "support/file_test_support.h"
#include "support/motion_test_data.h"

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace kv::app {
namespace {

using filetest::ScratchDir;
using test::DocumentRig;

float f32At(const ProjectStateImage& image, std::size_t offset) {
    return io::getF32(image.data() + offset);
}
std::int32_t i32At(const ProjectStateImage& image, std::size_t offset) {
    return io::getI32(image.data() + offset);
}

TEST(ProjectState, NewProjectBlockHasItsDefaultsAtTheirOffsets) {
    const ProjectStateImage image = encodeProjectState(newProjectState());
    EXPECT_EQ(i32At(image, 4), 1);
    EXPECT_EQ(i32At(image, 8), 0);
    EXPECT_FLOAT_EQ(f32At(image, 52), 100.0f);
    EXPECT_FLOAT_EQ(f32At(image, 56), 32.17f);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.data() + 60)), "Project");
    // Environment: 0, 0, 0, 0, 1.0, 1.0, 1 and nine zeros.
    EXPECT_EQ(i32At(image, 1852), 0);
    EXPECT_FLOAT_EQ(f32At(image, 1868), 1.0f);
    EXPECT_FLOAT_EQ(f32At(image, 1872), 1.0f);
    EXPECT_EQ(i32At(image, 1876), 1);
    for (std::size_t o = 1880; o < 1916; o += 4)
        EXPECT_EQ(i32At(image, o), 0) << o;
    // Scenery and terrain transforms default to right-handed metres at unit scale.
    EXPECT_EQ(i32At(image, 1956), 1);
    EXPECT_FLOAT_EQ(f32At(image, 1960), 1.0f);
    EXPECT_EQ(i32At(image, 2176), 1);
    EXPECT_FLOAT_EQ(f32At(image, 2176 + 32), 1.0f);
    // Camera.
    EXPECT_EQ(i32At(image, 2220), 7);
    EXPECT_FLOAT_EQ(f32At(image, 2236), 340.0f);
    EXPECT_FLOAT_EQ(f32At(image, 2240), -7.0f);
    EXPECT_FLOAT_EQ(f32At(image, 2264), 160.0f);
    EXPECT_FLOAT_EQ(f32At(image, 2300), 0.0f);
}

TEST(ProjectState, EveryFieldSurvivesEncodeAndDecode) {
    ProjectState s = newProjectState();
    s.collisionObjects = 2;
    s.objectCount = 3;
    s.sceneryCount = 2;
    s.sceneryTriangles = {4, 5, 0, 0, 0};
    s.terrainTriangles = 77;
    s.environment.windSpeed = 12.5f;
    s.environment.moment = {1.0f, 2.0f, 3.0f};
    s.sceneryAppearance[4] = {3, 2};
    s.sceneryTransforms[4].rotate = {1.0f, 2.0f, 3.0f};
    s.terrainTransform.fileUnit = 0.3048037f;
    s.camera.workingPosition = {7.0f, 8.0f, 9.0f};
    setProjectName(s.sceneryNames[4], "hills.dxf");
    ProjectState back;
    decodeProjectState(encodeProjectState(s), back);
    EXPECT_EQ(encodeProjectState(back), encodeProjectState(s));
    EXPECT_EQ(projectNameText(back.sceneryNames[4]), "hills.dxf");
    EXPECT_FLOAT_EQ(back.camera.workingPosition[2], 9.0f);
    EXPECT_FLOAT_EQ(back.terrainTransform.fileUnit, 0.3048037f);
}

TEST(ProjectState, UnterminatedNamesAreCutAtTheFieldEnd) {
    ProjectStateImage image = encodeProjectState(newProjectState());
    std::memset(image.data() + 60, 'x', 256);
    ProjectState s;
    decodeProjectState(image, s);
    EXPECT_EQ(projectNameText(s.projectName).size(), 255u);
}

class ProjectFileTest : public ::testing::Test {
  protected:
    /// A project of the simulated car, one interactive and one dynamic object.
    void buildThreeObjects(Document& doc) {
        ASSERT_TRUE(doc.addMotionObject(model::kRoleInteractive,
                                        projecttest::writeMotion(dir / "hit.kvm", 5)));
        ASSERT_TRUE(doc.addMotionObject(model::kRoleDynamic,
                                        projecttest::writeMotion(dir / "fly.kvm", 8, 0, 3.0f)));
    }
    ScratchDir dir;
};

TEST_F(ProjectFileTest, ThreeObjectsRoundTripWithTheirFramesAndObjectZeroHasNone) {
    DocumentRig a;
    buildThreeObjects(*a.doc);
    // Frames in slot 0 (as after loading initial conditions) are not saved.
    a.doc->motions().frames(0)[0] = filetest::sampleFrame(0.5f);
    a.doc->motions().setLastFrame(0, 0);
    a.doc->setModified(true);
    a.files.answers.push_back((dir / "scene").string());
    ASSERT_TRUE(a.doc->saveProject(false));
    EXPECT_TRUE(std::filesystem::exists(dir / "scene.kvp"));
    EXPECT_FALSE(a.doc->modified());
    EXPECT_EQ(a.doc->projectName(), "scene");

    DocumentRig b;
    ASSERT_TRUE(b.doc->openProject(dir / "scene.kvp"));
    EXPECT_TRUE(b.messages.shown.empty());
    ASSERT_EQ(b.doc->objectCount(), 3);
    EXPECT_EQ(b.doc->interactiveCount(), 2);
    EXPECT_EQ(b.doc->motions().lastFrame(0), -1);
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(model::encodeObject(b.doc->object(slot)),
                  model::encodeObject(a.doc->object(slot)))
            << slot;
        EXPECT_EQ(b.doc->meshes().triangleCount(slot), a.doc->meshes().triangleCount(slot)) << slot;
    }
    for (int slot = 1; slot < 3; ++slot) {
        ASSERT_EQ(b.doc->motions().lastFrame(slot), a.doc->motions().lastFrame(slot)) << slot;
        for (int f = 0; f <= a.doc->motions().lastFrame(slot); ++f)
            EXPECT_EQ(b.doc->motions().frames(slot)[static_cast<std::size_t>(f)],
                      a.doc->motions().frames(slot)[static_cast<std::size_t>(f)]);
    }
    EXPECT_GT(b.doc->motions().lastFrame(2), b.doc->motions().lastFrame(1));
    EXPECT_EQ(b.doc->object(1).role, model::kRoleInteractive);
    EXPECT_EQ(b.doc->object(2).role, model::kRoleDynamic);
    EXPECT_EQ(b.doc->object(b.doc->cameraSlot()).vehicleType, model::kVehicleNone);
    EXPECT_FALSE(b.doc->modified());
}

TEST_F(ProjectFileTest, MoreObjectsThanSlotsIsRefusedAndLeavesANewProject) {
    // A file naming 8 objects: the refusal comes before any object is read.
    ProjectState s = newProjectState();
    s.objectCount = 8;
    const ProjectStateImage state = encodeProjectState(s);
    const PreferenceImage prefs = encodePreferences(Preferences{});
    std::vector<std::uint8_t> bytes(4);
    io::putI32(bytes.data(), 2304);
    bytes.insert(bytes.end(), state.begin(), state.end());
    bytes.resize(bytes.size() + 4);
    io::putI32(bytes.data() + bytes.size() - 4, 180);
    bytes.insert(bytes.end(), prefs.begin(), prefs.end());
    bytes.resize(bytes.size() + 4);
    io::putI32(bytes.data() + bytes.size() - 4, 11940);
    filetest::writeBytes(dir / "big.kvp", bytes);

    DocumentRig rig(MemorySettings{5, 2002, 400});
    ASSERT_TRUE(rig.doc->addMotionObject(model::kRoleDynamic,
                                         projecttest::writeMotion(dir / "fly.kvm", 4)));
    EXPECT_FALSE(rig.doc->openProject(dir / "big.kvp"));
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0],
              "The project file cannot be loaded because it contains 7 objects. The current "
              "memory settings limit the number of objects to 3.");
    EXPECT_EQ(rig.doc->objectCount(), 1);
    EXPECT_FALSE(rig.doc->hasFile());
    EXPECT_EQ(rig.doc->projectName(), "Project");
}

TEST_F(ProjectFileTest, ObjectCountEqualToTheSlotsBeyondTheLimitIsRefused) {
    // 4 objects fit 6 slots; 5 would reach into the reserved slots.
    DocumentRig a(MemorySettings{7, 2002, 400});
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(a.doc->addMotionObject(
            model::kRoleDynamic,
            projecttest::writeMotion(dir / ("m" + std::to_string(i) + ".kvm"), 3)));
    a.files.answers.push_back((dir / "five.kvp").string());
    ASSERT_TRUE(a.doc->saveProject(true));
    DocumentRig b(MemorySettings{6, 2002, 400});
    EXPECT_FALSE(b.doc->openProject(dir / "five.kvp"));
    ASSERT_EQ(b.messages.shown.size(), 1u);
    EXPECT_NE(b.messages.shown[0].find("contains 4 objects"), std::string::npos);
    DocumentRig c(MemorySettings{7, 2002, 400});
    EXPECT_TRUE(c.doc->openProject(dir / "five.kvp"));
    EXPECT_EQ(c.doc->objectCount(), 5);
}

TEST_F(ProjectFileTest, ResolutionChangeOpensAndNamesBothResolutions) {
    DocumentRig a(MemorySettings{7, 2002, 400});
    a.files.answers.push_back((dir / "grid.kvp").string());
    ASSERT_TRUE(a.doc->saveProject(false));

    DocumentRig b(MemorySettings{7, 2002, 200});
    ASSERT_TRUE(b.doc->openProject(dir / "grid.kvp"));
    ASSERT_EQ(b.messages.shown.size(), 1u);
    EXPECT_EQ(b.messages.shown[0], "The terrain resolution in the project file is 400 by 400 and "
                                   "is currently set to 200 by 200.");
    // The memory settings in force survive the file's preferences.
    EXPECT_EQ(b.doc->preferences().terrainGrid, 200);
    EXPECT_EQ(b.doc->preferences().objectSlots, 7);

    DocumentRig c(MemorySettings{7, 2002, 200});
    Preferences prefs = c.doc->preferences();
    ProjectState state;
    const ProjectLoadResult r = loadProject(
        dir / "grid.kvp",
        ProjectContents{state, prefs, std::span<model::ObjectRecord>(&c.doc->object(0), 7),
                        c.doc->meshes(), c.doc->motions(), c.doc->scenery(), c.doc->terrain()},
        c.messages);
    EXPECT_EQ(r.status, ProjectLoad::kResolutionChanged);
    EXPECT_TRUE(c.messages.shown.empty());
}

TEST_F(ProjectFileTest, ProjectWithoutTerrainEndsAfterTheLastSceneryStream) {
    DocumentRig a;
    ASSERT_TRUE(a.doc->addScenery(DxfImport{projecttest::writeDxf(dir / "road.dxf", 3)}));
    ASSERT_TRUE(a.doc->addScenery(DxfImport{projecttest::writeDxf(dir / "hill.dxf", 2)}));
    const int t0 = a.doc->scenery().set(0).triangleCount;
    const int t1 = a.doc->scenery().set(1).triangleCount;
    ASSERT_GT(t0, 0);
    a.files.answers.push_back((dir / "land.kvp").string());
    ASSERT_TRUE(a.doc->saveProject(false));
    const std::uintmax_t expected =
        4 + 2304 + 4 + 180 + projecttest::bodyBytes(a.doc->meshes().triangleCount(0), 0) +
        static_cast<std::uintmax_t>(36 * t0 + 4) + static_cast<std::uintmax_t>(36 * t1 + 4);
    EXPECT_EQ(std::filesystem::file_size(dir / "land.kvp"), expected);

    DocumentRig b;
    ASSERT_TRUE(b.doc->openProject(dir / "land.kvp"));
    ASSERT_EQ(b.doc->scenery().count(), 2);
    EXPECT_EQ(b.doc->scenery().set(1).triangleCount, t1);
    EXPECT_EQ(b.doc->scenery().set(0).baseName, "road.dxf");
    EXPECT_EQ(filetest::readBytes(b.doc->scenery().workingFile(0)),
              filetest::readBytes(a.doc->scenery().workingFile(0)));
    EXPECT_FALSE(b.doc->terrain().present());
}

TEST_F(ProjectFileTest, TerrainStreamFollowsTheSceneryAndIsSortedOnOpening) {
    DocumentRig a;
    ASSERT_TRUE(a.doc->addTerrain(DxfImport{projecttest::writeDxf(dir / "ground.dxf", 4)}));
    ASSERT_TRUE(a.doc->terrain().present());
    a.files.answers.push_back((dir / "t.kvp").string());
    ASSERT_TRUE(a.doc->saveProject(false));
    DocumentRig b;
    ASSERT_TRUE(b.doc->openProject(dir / "t.kvp"));
    EXPECT_TRUE(b.doc->terrain().present());
    EXPECT_NE(b.doc->terrain().ground(), nullptr);
    EXPECT_EQ(b.doc->terrain().info().triangleCount, a.doc->terrain().info().triangleCount);
}

TEST_F(ProjectFileTest, ShortOrDamagedFilesFailWithAMessageAndLeaveANewProject) {
    DocumentRig a;
    buildThreeObjects(*a.doc);
    ASSERT_TRUE(a.doc->addScenery(DxfImport{projecttest::writeDxf(dir / "road.dxf", 3)}));
    a.files.answers.push_back((dir / "full.kvp").string());
    ASSERT_TRUE(a.doc->saveProject(false));
    const auto whole = filetest::readBytes(dir / "full.kvp");
    struct Case {
        const char* what;
        std::size_t keep;
    };
    const std::size_t objects = 4 + 2304 + 4 + 180;
    for (const Case& c :
         {Case{"empty", 0}, Case{"inside the state block", 1000},
          Case{"inside the preferences", 4 + 2304 + 100}, Case{"inside object 0", objects + 5000},
          Case{"inside the last object", whole.size() - 400},
          Case{"inside the scenery stream", whole.size() - 10}}) {
        SCOPED_TRACE(c.what);
        filetest::writeBytes(
            dir / "cut.kvp",
            std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<long>(c.keep)));
        DocumentRig b;
        EXPECT_FALSE(b.doc->openProject(dir / "cut.kvp"));
        EXPECT_FALSE(b.messages.shown.empty());
        EXPECT_EQ(b.doc->objectCount(), 1);
        EXPECT_EQ(b.doc->scenery().count(), 0);
        EXPECT_FALSE(b.doc->hasFile());
    }
    // A damaged count in the state block is refused before anything is read.
    auto bad = whole;
    io::putI32(bad.data() + 4 + 24, 9);
    filetest::writeBytes(dir / "bad.kvp", bad);
    DocumentRig b;
    EXPECT_FALSE(b.doc->openProject(dir / "bad.kvp"));
    EXPECT_EQ(b.messages.shown, std::vector<std::string>{kProjectDamagedMessage});
}

TEST_F(ProjectFileTest, VersionTestSortsCurrentPreviousAndUnknownFiles) {
    DocumentRig a;
    a.files.answers.push_back((dir / "cur.kvp").string());
    ASSERT_TRUE(a.doc->saveProject(false));
    auto bytes = filetest::readBytes(dir / "cur.kvp");
    filetest::MessageLog log;
    EXPECT_EQ(checkProjectVersion(dir / "cur.kvp", log), ProjectVersion::kCurrent);
    EXPECT_TRUE(log.shown.empty());

    struct Case {
        const char* what;
        std::size_t offset;
        std::int32_t value;
        const char* message;
    };
    for (const Case& c :
         {Case{"unknown state size", 0, 1234, kProjectTooOldMessage},
          Case{"previous object after a current block", 4 + 2304 + 4 + 180, 12076,
               kProjectTooOldMessage},
          Case{"unknown object size", 4 + 2304 + 4 + 180, 999,
               model::kMoreThanOneVersionOldMessage},
          Case{"other preferences, current object", 4 + 2304, 100, kProjectTooOldMessage}}) {
        SCOPED_TRACE(c.what);
        auto changed = bytes;
        io::putI32(changed.data() + c.offset, c.value);
        filetest::writeBytes(dir / "v.kvp", changed);
        filetest::MessageLog l;
        EXPECT_EQ(checkProjectVersion(dir / "v.kvp", l), ProjectVersion::kRefused);
        EXPECT_EQ(l.shown, std::vector<std::string>{c.message});
        // Refusal changes nothing on disk.
        EXPECT_EQ(filetest::readBytes(dir / "v.kvp"), changed);
    }
    filetest::MessageLog l;
    EXPECT_EQ(checkProjectVersion(dir / "missing.kvp", l), ProjectVersion::kRefused);
    EXPECT_EQ(l.shown, std::vector<std::string>{"A valid file was not selected."});
}

class ProjectSaveSafetyTest : public ProjectFileTest {
  protected:
    void SetUp() override {
        old = {'o', 'l', 'd'};
        filetest::writeBytes(dir / "keep.kvp", old);
        ASSERT_TRUE(rig.doc->addMotionObject(model::kRoleDynamic,
                                             projecttest::writeMotion(dir / "m.kvm", 400)));
        rig.files.answers.push_back((dir / "keep.kvp").string());
    }
    DocumentRig rig;
    std::vector<std::uint8_t> old;
};

TEST_F(ProjectSaveSafetyTest, ReadOnlyFolderLeavesTheOldFile) {
    if (!filetest::makeReadOnly(dir.path()))
        GTEST_SKIP() << "cannot make a folder read-only here";
    rig.doc->setModified(true);
    EXPECT_FALSE(rig.doc->saveProject(false));
    filetest::makeWritable(dir.path());
    EXPECT_EQ(filetest::readBytes(dir / "keep.kvp"), old);
    EXPECT_TRUE(rig.doc->modified());
    ASSERT_FALSE(rig.messages.shown.empty());
    EXPECT_EQ(rig.messages.shown.back(), "\"keep.kvp\" could not be saved.");
}

TEST_F(ProjectSaveSafetyTest, DiskFullHalfWayLeavesTheOldFile) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 30000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = rig.doc->saveProject(false);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(ok);
    EXPECT_EQ(filetest::readBytes(dir / "keep.kvp"), old);
    auto entries = dir.entries();
    EXPECT_EQ(entries, (std::vector<std::string>{"keep.kvp", "m.kvm"}));
}

} // namespace
} // namespace kv::app
