// Document operations with fake ports: the new-project state, adding and
// removing objects, opening by extension, the save prompt and the save
// dialogs' names.
#include "app/document/document.h"
#include "app/document/headless_run.h"
#include "app/input/input_controls.h"
#include "app/input/input_keys.h"
#include "app/input/input_script.h"
#include "app/settings/memory_allocation.h"
#include "project_test_support.h"
#include "support/document_ports.h"
#include "support/fake_ports.h"
#include "support/file_test_support.h"
#include "support/motion_test_data.h"

#include <gtest/gtest.h>

namespace kv::app {
namespace {

using filetest::ScratchDir;
using test::DocumentRig;

std::string nameOf(const model::ObjectRecord& r) {
    return std::string(r.name.data());
}

TEST(DocumentNewProject, HoldsACarFromItsTemplateAndAnEmptyCamera) {
    DocumentRig rig;
    Document& doc = *rig.doc;
    EXPECT_EQ(doc.objectCount(), 1);
    EXPECT_EQ(doc.interactiveCount(), 1);
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.hasFile());
    EXPECT_EQ(doc.projectName(), "Project");
    EXPECT_EQ(doc.object(0).vehicleType, model::kVehicleCar);
    EXPECT_EQ(doc.object(0).role, model::kRoleInteractive);
    EXPECT_GT(doc.object(0).effectorCount, 0);
    EXPECT_FALSE(nameOf(doc.object(0)).empty());
    EXPECT_EQ(doc.currentObjectName(), nameOf(doc.object(0)));
    EXPECT_GT(doc.meshes().triangleCount(0), 0);
    EXPECT_EQ(doc.cameraSlot(), 6);
    EXPECT_EQ(doc.object(doc.cameraSlot()).vehicleType, model::kVehicleNone);
    EXPECT_EQ(doc.preferences().objectSlots, 7);
    EXPECT_FLOAT_EQ(doc.state().gravity, 32.17f);
    EXPECT_EQ(doc.scenery().count(), 0);
    EXPECT_FALSE(doc.terrain().present());
    EXPECT_TRUE(rig.messages.shown.empty());
    // The run works on the objects in use and the document's settings.
    EXPECT_EQ(doc.runObjects().size(), 1u);
    const sim::RunSettings s = doc.runSettings();
    EXPECT_EQ(s.interactiveCount, 1);
    EXPECT_FLOAT_EQ(s.dt, doc.preferences().simTimeStep);
    EXPECT_EQ(s.recordCapacity, 2002);
    EXPECT_EQ(doc.object(0).recordChannel, 0);
}

TEST(DocumentNewProject, UnavailableMemoryFallsBackToTheFactorySettings) {
    filetest::MessageLog messages;
    NullProgress progress;
    test::ScriptedFiles files;
    test::ScriptedQuestions questions;
    auto folder = geom::PrivateWorkingFolder::create();
    Document doc({messages, progress, files, questions, *folder});
    // Slots outside their range cannot be had.
    ASSERT_TRUE(doc.allocate(MemorySettings{500, 2002, 400}, false, std::nullopt));
    EXPECT_EQ(doc.memory(), kFactoryMemory);
    EXPECT_EQ(doc.preferences().objectSlots, 7);
    EXPECT_EQ(messages.shown, std::vector<std::string>{kMemoryResetMessage});
    EXPECT_EQ(doc.objectCount(), 1);
}

class DocumentObjects : public ::testing::Test {
  protected:
    ScratchDir dir;
    DocumentRig rig;
    Document& doc = *rig.doc;
};

TEST_F(DocumentObjects, RemovingAnObjectShiftsSlotsMeshesAndMotionsTogether) {
    for (int i = 0; i < 3; ++i) {
        const auto file =
            projecttest::writeMotion(dir / ("m" + std::to_string(i) + ".kvm"), 3 + i,
                                     model::kVehicleCar, 10.0f * static_cast<float>(i));
        ASSERT_TRUE(doc.addMotionObject(model::kRoleDynamic, file));
    }
    ASSERT_TRUE(
        doc.addMotionObject(model::kRoleInteractive, projecttest::writeMotion(dir / "hit.kvm", 7)));
    EXPECT_TRUE(doc.modified());
    ASSERT_EQ(doc.objectCount(), 5);
    EXPECT_EQ(doc.interactiveCount(), 2);
    EXPECT_FALSE(doc.canAddInteractiveObject());
    EXPECT_FALSE(doc.canAddDynamicObject());
    EXPECT_EQ(nameOf(doc.object(2)), "m1");
    const int last3 = doc.motions().lastFrame(3);
    const auto first3 = doc.motions().frames(3)[0];
    const int tris3 = doc.meshes().triangleCount(3);

    doc.setModified(false);
    ASSERT_TRUE(doc.removeObject(2));
    EXPECT_TRUE(doc.modified());
    ASSERT_EQ(doc.objectCount(), 4);
    EXPECT_EQ(nameOf(doc.object(2)), "m2");
    EXPECT_EQ(doc.motions().lastFrame(2), last3);
    EXPECT_EQ(doc.motions().frames(2)[0], first3);
    EXPECT_EQ(doc.meshes().triangleCount(2), tris3);
    EXPECT_EQ(nameOf(doc.object(3)), "hit");
    EXPECT_EQ(doc.object(3).role, model::kRoleInteractive);
    EXPECT_EQ(doc.motions().lastFrame(4), -1);
    EXPECT_EQ(doc.meshes().triangleCount(4), 0);
    EXPECT_EQ(doc.object(doc.cameraSlot()).vehicleType, model::kVehicleNone);

    ASSERT_TRUE(doc.removeObject(3));
    EXPECT_EQ(doc.interactiveCount(), 1);
    EXPECT_TRUE(doc.canAddInteractiveObject());
    EXPECT_FALSE(doc.removeObject(0));
    EXPECT_FALSE(doc.removeObject(3));
}

TEST_F(DocumentObjects, CameraMotionIsADynamicObjectButNotAnInteractiveOne) {
    const auto camera = projecttest::writeMotion(dir / "cam.kvm", 4, model::kVehicleNone);
    EXPECT_FALSE(doc.addMotionObject(model::kRoleInteractive, camera));
    EXPECT_EQ(rig.messages.shown, std::vector<std::string>{kNotInteractiveMessage});
    EXPECT_EQ(doc.objectCount(), 1);
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(doc.addMotionObject(model::kRoleDynamic, camera));
    EXPECT_EQ(doc.objectCount(), 2);
    EXPECT_EQ(doc.interactiveCount(), 1);
}

TEST_F(DocumentObjects, OpensByExtension) {
    projecttest::writeMotion(dir / "take.KVM", 3);
    EXPECT_EQ(doc.openByExtension(dir / "take.KVM"), OpenedAs::kMotion);
    EXPECT_EQ(doc.objectCount(), 2);
    EXPECT_EQ(nameOf(doc.object(1)), "take");

    filetest::writeBytes(dir / "notes.txt", {'h', 'i'});
    EXPECT_EQ(doc.openByExtension(dir / "notes.txt"), OpenedAs::kNothing);
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0],
              "\"" + (dir / "notes.txt").string() + "\" is not a valid Kestrovane file.");

    rig.files.answers.push_back((dir / "car").string());
    ASSERT_TRUE(doc.saveObjectAs(0));
    EXPECT_TRUE(std::filesystem::exists(dir / "car.kvo"));
    DocumentRig other;
    EXPECT_EQ(other.doc->openByExtension(dir / "car.kvo"), OpenedAs::kObject);
    EXPECT_EQ(other.doc->currentObjectName(), "car");
    EXPECT_TRUE(other.doc->modified());

    rig.files.answers.push_back((dir / "p.kvp").string());
    ASSERT_TRUE(doc.saveProject(false));
    // The object made the other project modified: a project file asks first,
    // and Cancel keeps what is there.
    EXPECT_EQ(other.doc->openByExtension(dir / "p.kvp"), OpenedAs::kNothing);
    EXPECT_EQ(other.questions.asked,
              std::vector<std::string>{"Would you like to save changes to \"Project\" first?"});
    EXPECT_EQ(other.doc->objectCount(), 1);
    EXPECT_TRUE(other.doc->modified());
    other.questions.answer = SaveAnswer::kDontSave;
    EXPECT_EQ(other.doc->openByExtension(dir / "p.kvp"), OpenedAs::kProject);
    EXPECT_EQ(other.doc->objectCount(), 2);
    EXPECT_FALSE(other.doc->modified());

    // A project that cannot be read leaves the defaults, and says so.
    const auto whole = filetest::readBytes(dir / "p.kvp");
    filetest::writeBytes(dir / "cut.kvp",
                         std::vector<std::uint8_t>(whole.begin(), whole.end() - 400));
    other.doc->setModified(true);
    EXPECT_EQ(other.doc->openByExtension(dir / "cut.kvp"), OpenedAs::kProjectDefaults);
    EXPECT_EQ(other.questions.asked.size(), 3u);
    EXPECT_EQ(other.doc->objectCount(), 1);
    EXPECT_FALSE(other.doc->hasFile());

    EXPECT_EQ(other.doc->openByExtension(dir / "gone.kvo"), OpenedAs::kNothing);
    EXPECT_EQ(other.messages.shown.back(), "A valid file was not selected.");
}

TEST_F(DocumentObjects, SavePromptOnlyWhenModifiedAndCancelStops) {
    EXPECT_TRUE(doc.confirmDiscard());
    EXPECT_TRUE(rig.questions.asked.empty());

    doc.setModified(true);
    rig.questions.answer = SaveAnswer::kCancel;
    EXPECT_FALSE(doc.confirmDiscard());
    ASSERT_EQ(rig.questions.asked.size(), 1u);
    EXPECT_EQ(rig.questions.asked[0], "Would you like to save changes to \"Project\" first?");

    rig.questions.answer = SaveAnswer::kDontSave;
    EXPECT_TRUE(doc.confirmDiscard());
    EXPECT_TRUE(doc.modified());

    // Save with the file dialog cancelled stops the operation.
    rig.questions.answer = SaveAnswer::kSave;
    EXPECT_FALSE(doc.confirmDiscard());
    rig.files.answers.push_back((dir / "first").string());
    EXPECT_TRUE(doc.confirmDiscard());
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(std::filesystem::exists(dir / "first.kvp"));
    EXPECT_EQ(doc.projectName(), "first");
}

TEST_F(DocumentObjects, SaveDialogsCarryTheirTitlesAndForcedExtensions) {
    struct Case {
        const char* chosen;
        const char* written;
    };
    for (const Case& c : {Case{"take1", "take1.kvm"}, Case{"take.1", "take.1"}}) {
        ASSERT_TRUE(
            doc.addMotionObject(model::kRoleDynamic, projecttest::writeMotion(dir / "src.kvm", 3)));
        rig.files.answers.push_back((dir / c.chosen).string());
        EXPECT_TRUE(doc.saveDynamicMotionAs(doc.objectCount() - 1));
        EXPECT_TRUE(std::filesystem::exists(dir / c.written)) << c.written;
    }
    const FileRequest& r = rig.files.requests.back();
    EXPECT_EQ(r.title, "Save Dynamic Motion As:");
    EXPECT_EQ(r.defaultName, "Motion");
    EXPECT_EQ(r.extension, "kvm");
    EXPECT_TRUE(r.save);

    EXPECT_EQ(forceExtension("/a.b/take", "kvp"), std::filesystem::path("/a.b/take.kvp"));
    EXPECT_EQ(titleWithoutExtension("/x/car.first.kvo"), "car");
}

TEST_F(DocumentObjects, SaveMotionAsAsksForEachRecordedSlotAndGoesOnAfterACancel) {
    ASSERT_TRUE(
        doc.addMotionObject(model::kRoleInteractive, projecttest::writeMotion(dir / "hit.kvm", 4)));
    // Stand in for a run that recorded three frames in both channels.
    auto& channels = doc.run().channels;
    for (int c = 0; c < 2; ++c) {
        for (int f = 0; f < 3; ++f)
            channels.channels[static_cast<std::size_t>(c)].frames[static_cast<std::size_t>(f)] =
                filetest::sampleFrame(0.1f * static_cast<float>(f));
        channels.channels[static_cast<std::size_t>(c)].count = 3;
    }
    ASSERT_EQ(doc.object(1).recordChannel, 1);
    rig.files.answers.push_back(std::nullopt);
    rig.files.answers.push_back((dir / "second").string());
    EXPECT_EQ(doc.saveMotionAs(), 1);
    ASSERT_EQ(rig.files.requests.size(), 2u);
    EXPECT_EQ(rig.files.requests[0].title, "Save Sim Motion As:");
    EXPECT_EQ(rig.files.requests[1].title, "Save Interactive Motion As:");
    EXPECT_EQ(rig.files.requests[1].defaultName, "Motion");
    EXPECT_EQ(std::filesystem::file_size(dir / "second.kvm"), projecttest::bodyBytes(4, 3));
}

TEST_F(DocumentObjects, SceneryAddAndRemoveKeepTheSetsInOrder) {
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(doc.addScenery(
            DxfImport{projecttest::writeDxf(dir / ("s" + std::to_string(i) + ".dxf"), i + 1)}));
    const auto scene2 = filetest::readBytes(doc.scenery().workingFile(2));
    doc.setModified(false);
    ASSERT_TRUE(doc.removeScenery(1));
    EXPECT_TRUE(doc.modified());
    ASSERT_EQ(doc.scenery().count(), 2);
    EXPECT_EQ(doc.scenery().set(1).baseName, "s2.dxf");
    EXPECT_EQ(filetest::readBytes(doc.scenery().workingFile(1)), scene2);
    EXPECT_FALSE(std::filesystem::exists(doc.scenery().workingFile(2)));

    // A file that cannot be opened changes nothing.
    EXPECT_FALSE(doc.addScenery(DxfImport{dir / "none.dxf"}));
    EXPECT_EQ(rig.messages.shown.back(), "A valid file was not selected.");
    EXPECT_EQ(doc.scenery().count(), 2);

    // A cancelled dialog is no error and asks with the scenery title.
    EXPECT_FALSE(doc.addScenery());
    EXPECT_EQ(rig.files.requests.back().title, "Open DXF Scenery File:");
}

/// A DXF open dialog that records how it was opened and answers with a file,
/// a yaw and a colour pair.
class ScriptedDxfDialog final : public DxfImportPort {
  public:
    std::optional<DxfImport> chooseDxf(const FileRequest& request, const DxfImport& start,
                                       bool colorEnabled) override {
        titles.push_back(request.title);
        colorOffered.push_back(colorEnabled);
        starts.push_back(start);
        if (!answer)
            return std::nullopt;
        DxfImport out = start;
        out.file = *answer;
        out.transform.rotate[2] = 90.0f;
        if (colorEnabled) {
            out.color = 8;
            out.transparency = 1;
        }
        return out;
    }
    std::optional<std::filesystem::path> answer;
    std::vector<std::string> titles;
    std::vector<bool> colorOffered;
    std::vector<DxfImport> starts;
};

TEST_F(DocumentObjects, DxfImportsAskTheDxfDialogWhenOneIsSet) {
    ScriptedDxfDialog dialog;
    doc.setDxfImportPort(&dialog);
    dialog.answer = projecttest::writeDxf(dir / "road.dxf", 2);
    ASSERT_TRUE(doc.addScenery());
    ASSERT_TRUE(doc.addTerrain());
    doc.object(0).color = 3;
    ASSERT_TRUE(doc.addObjectGeometry());
    EXPECT_EQ(dialog.titles,
              (std::vector<std::string>{"Open DXF Scenery File:", "Open DXF Terrain File:",
                                        "Open DXF Object Geometry File:"}));
    EXPECT_EQ(dialog.colorOffered, (std::vector<bool>{true, false, true}));
    // Every dialog starts from the defaults, the object's old colour included.
    for (const DxfImport& start : dialog.starts) {
        EXPECT_EQ(start.color, model::kColorWhite);
        EXPECT_EQ(start.transform.rotate[2], 0.0f);
    }
    EXPECT_TRUE(rig.files.requests.empty());
    EXPECT_EQ(doc.scenery().set(0).color, 8);
    EXPECT_EQ(doc.scenery().set(0).transform.rotate[2], 90.0f);
    EXPECT_EQ(doc.object(0).color, 8);
    EXPECT_EQ(doc.object(0).geometryTransform.rotate[2], 90.0f);

    // Cancelled: nothing is added.
    dialog.answer.reset();
    EXPECT_FALSE(doc.addScenery());
    EXPECT_EQ(doc.scenery().count(), 1);
    doc.setDxfImportPort(nullptr);
}

TEST_F(DocumentObjects, AFailedGeometryImportKeepsTheVehiclesMeshAndLook) {
    const int carTriangles = doc.meshes().triangleCount(0);
    ASSERT_GT(carTriangles, 0);
    doc.object(0).color = 3;
    // A DXF file without any face: the reader refuses it with its message.
    filetest::writeBytes(dir / "empty.dxf", {'0', '\n', 'E', 'O', 'F', '\n'});
    DxfImport import{dir / "empty.dxf"};
    import.color = 12;
    EXPECT_FALSE(doc.addObjectGeometry(import));
    EXPECT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(doc.meshes().triangleCount(0), carTriangles);
    EXPECT_EQ(doc.object(0).color, 3);
    EXPECT_EQ(doc.meshes().triangleCount(doc.cameraSlot()), 0);
    EXPECT_FALSE(doc.modified());

    // A good file replaces the mesh and the look, and leaves the spare slot empty.
    import.file = projecttest::writeDxf(dir / "box.dxf", 3);
    ASSERT_TRUE(doc.addObjectGeometry(import));
    EXPECT_EQ(doc.meshes().triangleCount(0), 3);
    EXPECT_EQ(doc.object(0).color, 12);
    EXPECT_EQ(doc.meshes().triangleCount(doc.cameraSlot()), 0);
}

TEST_F(DocumentObjects, NewVehicleRebuildsTheSimulatedObjectFromItsTemplate) {
    const int carTriangles = doc.meshes().triangleCount(0);
    doc.toggleObserve();
    EXPECT_EQ(doc.state().observeMode, 1);
    doc.setModified(false);

    ASSERT_TRUE(doc.newVehicle(model::kVehicleHelicopter));
    EXPECT_EQ(doc.state().observeMode, 0);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.object(0).vehicleType, model::kVehicleHelicopter);
    EXPECT_EQ(doc.object(0).role, model::kRoleInteractive);
    EXPECT_EQ(nameOf(doc.object(0)), "Helicopter");
    EXPECT_EQ(doc.currentObjectName(), "Helicopter");
    EXPECT_GT(doc.meshes().triangleCount(0), 0);
    EXPECT_NE(doc.meshes().triangleCount(0), carTriangles);
    EXPECT_EQ(doc.objectCount(), 1);

    ASSERT_TRUE(doc.newVehicle(model::kVehicleCar));
    EXPECT_EQ(doc.meshes().triangleCount(0), carTriangles);
    // Raised for the helicopter's skids; the car, lower, keeps that height.
    EXPECT_NEAR(doc.object(0).initial.position[2], -4.627f, 0.01f);
    EXPECT_EQ(nameOf(doc.object(0)), "Car");

    doc.setModified(false);
    EXPECT_FALSE(doc.newVehicle(model::kVehicleNone));
    EXPECT_FALSE(doc.newVehicle(4));
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.object(0).vehicleType, model::kVehicleCar);
}

TEST_F(DocumentObjects, NewVehiclesStartWithTheirLowestPointOnLevelGround) {
    // The car's unloaded tyres reach 2.092 ft below its centre of gravity: starting it
    // lower would bury the wheels and throw the car over at Begin.
    EXPECT_NEAR(doc.object(0).initial.position[2], -2.092f, 0.01f);
    doc.object(0).initial.position[2] = -5000.0f;
    ASSERT_TRUE(doc.newVehicle(model::kVehicleAircraft));
    EXPECT_FLOAT_EQ(doc.object(0).initial.position[2], -5000.0f);
    doc.object(0).initial.position[2] = 0.0f;
    ASSERT_TRUE(doc.newVehicle(model::kVehicleAircraft));
    EXPECT_NEAR(doc.object(0).initial.position[2], -8.75f, 0.01f);
}

TEST_F(DocumentObjects, NewProjectForgetsEverything) {
    ASSERT_TRUE(doc.addScenery(DxfImport{projecttest::writeDxf(dir / "s.dxf", 2)}));
    ASSERT_TRUE(doc.addTerrain(DxfImport{projecttest::writeDxf(dir / "t.dxf", 2)}));
    ASSERT_TRUE(
        doc.addMotionObject(model::kRoleDynamic, projecttest::writeMotion(dir / "m.kvm", 3)));
    doc.newProject();
    EXPECT_EQ(doc.objectCount(), 1);
    EXPECT_EQ(doc.scenery().count(), 0);
    EXPECT_FALSE(doc.terrain().present());
    EXPECT_FALSE(std::filesystem::exists(doc.scenery().workingFile(0)));
    EXPECT_EQ(doc.motions().lastFrame(1), -1);
    EXPECT_FALSE(doc.modified());
}

} // namespace
} // namespace kv::app

namespace kv::app {
namespace {

TEST(DocumentRun, BeginRunsTheDocumentsObjectsAndRecordsIntoItsChannels) {
    DocumentRig rig;
    SimulatedClock clock;
    test::ScriptedControls controls;
    test::ScriptedScene scene;
    scene.escapeFrom = 5;
    rig.doc->resetSimulation();
    rig.doc->runSimulation(sim::RunPorts{clock, controls, scene, rig.messages});
    EXPECT_GT(rig.doc->run().channels.channels[0].count, 0);
    EXPECT_EQ(rig.doc->state().collisionOn, 0);
    // The recorded motion is what Save Motion As offers.
    filetest::ScratchDir dir;
    rig.files.answers.push_back((dir / "run").string());
    EXPECT_EQ(rig.doc->saveMotionAs(), 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "run.kvm"));
}

TEST(DocumentRun, BeginGivesTheStickBackToTheVehicleAfterF12) {
    DocumentRig rig;
    // The mouse held at the right edge of the camera view: full right stick.
    DeviceState right;
    right.windowWidth = 400.0f;
    right.windowHeight = 300.0f;
    right.cursorX = 400.0f;
    right.cursorY = 150.0f;
    const model::MotionFrame* frames = rig.doc->run().channels.channels[0].frames.data();

    // First run: F12 on frame 2 hands the stick to the camera until the run ends.
    std::vector<DeviceState> script(8, right);
    script[2].event = {InputEventKind::KeyDown, kKeyF12};
    ScriptedDeviceSource first(script);
    DeviceControls controls(first, ControllerSettings{});
    HeadlessLimits limits;
    limits.frames = 8;
    runHeadless(*rig.doc, controls, controls.state(), limits, rig.messages);
    EXPECT_EQ(frames[1][model::kFrameStickX], 1.0f);
    EXPECT_EQ(frames[5][model::kFrameStickX], 0.0f) << "F12 did not give the camera the stick";
    EXPECT_EQ(rig.doc->camera().cameraControl, 0);
    EXPECT_EQ(rig.doc->run().cameraControls.stickX, 0.0f);

    // A camera preview that ended with ESC leaves the flag set; Begin still
    // starts with the vehicle holding the stick.
    rig.doc->camera().cameraControl = 1;
    ScriptedDeviceSource second(std::vector<DeviceState>(4, right));
    DeviceControls again(second, ControllerSettings{});
    limits.frames = 4;
    runHeadless(*rig.doc, again, again.state(), limits, rig.messages);
    EXPECT_EQ(frames[0][model::kFrameStickX], 1.0f);
    EXPECT_EQ(frames[3][model::kFrameStickX], 1.0f);
    EXPECT_EQ(rig.doc->camera().cameraControl, 0);
}

} // namespace
} // namespace kv::app

namespace kv::app {
namespace {

TEST(DocumentMotion, InitialConditionsComeFromTheChosenFileAndLeaveTheCameraEmpty) {
    DocumentRig rig;
    filetest::ScratchDir dir;
    const auto file = projecttest::writeMotion(dir / "ic.kvm", 6);
    const auto ic = rig.doc->initialConditionsFrom(0.2f, file);
    ASSERT_TRUE(ic.has_value());
    EXPECT_EQ(rig.doc->object(rig.doc->cameraSlot()).vehicleType, model::kVehicleNone);
    EXPECT_FALSE(rig.doc->initialConditionsFrom(0.2f));
    EXPECT_EQ(rig.files.requests.back().title, "Open Motion File:");
}

} // namespace
} // namespace kv::app

namespace kv::app {
namespace {

TEST(DocumentEnvironment, TravelsInTheProjectFileAndIntoEveryRun) {
    DocumentRig a;
    EXPECT_EQ(a.doc->environment().externalForce.axes, sim::kExternalEarthAxes);
    sim::Environment env = a.doc->environment();
    env.gravity = 5.0f;
    env.windOn = 1;
    env.windSpeed = 33.0f;
    env.externalForce.axes = sim::kExternalBodyAxes;
    env.externalForce.moment = {1.0f, 2.0f, 3.0f};
    a.doc->setEnvironment(env);
    EXPECT_FLOAT_EQ(a.doc->runSettings().environment.windSpeed, 33.0f);
    filetest::ScratchDir dir;
    a.files.answers.push_back((dir / "env").string());
    ASSERT_TRUE(a.doc->saveProject(false));
    DocumentRig b;
    ASSERT_TRUE(b.doc->openProject(dir / "env.kvp"));
    const sim::Environment back = b.doc->runSettings().environment;
    EXPECT_FLOAT_EQ(back.gravity, 5.0f);
    EXPECT_EQ(back.windOn, 1);
    EXPECT_EQ(back.externalForce.axes, sim::kExternalBodyAxes);
    EXPECT_FLOAT_EQ(back.externalForce.moment[2], 3.0f);
}

} // namespace
} // namespace kv::app
