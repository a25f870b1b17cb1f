#include "app/commands/commands.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace kv::app {
namespace {

TEST(CommandTable, IdsAreUniqueAndEveryRowIsComplete) {
    std::set<int> ids;
    std::set<std::string_view> paths;
    std::set<std::string_view> shortcuts;
    for (const CommandInfo& row : commandTable()) {
        EXPECT_TRUE(ids.insert(static_cast<int>(row.id)).second) << row.menuPath;
        EXPECT_TRUE(paths.insert(row.menuPath).second) << row.menuPath;
        if (!row.shortcut.empty()) {
            EXPECT_TRUE(shortcuts.insert(row.shortcut).second) << row.shortcut;
        }
        EXPECT_FALSE(row.prompt.empty()) << row.menuPath;
        const auto levels = menuPathLevels(row.menuPath);
        ASSERT_GE(levels.size(), 2u) << row.menuPath;
        bool known = false;
        for (auto top : topLevelMenus())
            known = known || top == levels.front();
        EXPECT_TRUE(known) << row.menuPath;
        EXPECT_EQ(findCommand(static_cast<int>(row.id)), &row);
    }
    EXPECT_EQ(ids.size(), 53u);
}

TEST(CommandTable, RowsCarryTheirIdsKeysAndPrompts) {
    struct Case {
        int id;
        std::string_view path;
        std::string_view keys;
        std::string_view prompt;
    };
    const Case cases[] = {
        {32801, "File>Add>DXF Scenery...", "", "Add scenery to the project."},
        {32821, "File>New Project", "Ctrl+N", "Start a new project."},
        {32820, "File>Open Project...", "Ctrl+O", "Load a previously saved project."},
        {32807, "File>Save Project...", "Ctrl+S", "Save the current project."},
        {57665, "File>Exit", "Ctrl+Q",
         "Quit the application and prompt to save the current project."},
        {32774, "Simulation>Observe", "Ctrl+V",
         "Disable the simulated object and watch the simulation."},
        {32824, "Simulation>Start Trimmed", "",
         "Start aircraft and helicopters in the air with the controls set to hold level flight "
         "or a hover."},
        {32771, "Simulation>Begin", "Ctrl+B", "Start the simulation."},
        {32794, "Object>Customize>Effectors...", "Ctrl+E",
         "Edit tire, blade, skid, sound and basic effectors. "},
        {32799, "Object>Customize>Collisions...", "Ctrl+C",
         "Adjust the spring, bounce and friction for the simulated and interactive objects."},
        {32782, "Object>Helicopter", "", "Select the default helicopter physics model, an Apache."},
        {32843, "Preferences>Recovery...", "",
         "Set how often a changed project is kept for recovery after a crash."},
        {32789, "Preferences>Save", "",
         "Save the current preferences to the Kestrovane Preferences file."},
        {32822, "Window>Project", "Ctrl+L", "Show or hide the project window."},
        {59393, "Window>Status Bar", "", "Show or hide the status bar."},
        {32841, "Help>User Guide", "",
         "Show the user's guide: a first take, driving, flying, recording and exporting."},
        {57664, "Help>About Kestrovane...", "",
         "Display program, version and copyright information."},
    };
    for (const Case& c : cases) {
        const CommandInfo* row = findCommand(c.id);
        ASSERT_NE(row, nullptr) << c.id;
        EXPECT_EQ(row->menuPath, c.path);
        EXPECT_EQ(row->shortcut, c.keys);
        EXPECT_EQ(row->prompt, c.prompt);
        EXPECT_EQ(commandPrompt(c.id), c.prompt);
    }
}

TEST(CommandTable, InteractivePromptsDescribeTheirOwnCommand) {
    EXPECT_EQ(commandPrompt(32805),
              "Add a stationary object to the project that you can collide with.");
    EXPECT_EQ(commandPrompt(32806),
              "Add a previously recorded, moving object to the project that you can collide with.");
}

TEST(CommandTable, PromptsOfLibraryAndUnknownIds) {
    EXPECT_EQ(commandPrompt(1044), "Select this object.");
    EXPECT_EQ(commandPrompt(1063), "Select this object.");
    EXPECT_EQ(commandPrompt(1064), "Ready");
    EXPECT_EQ(commandPrompt(1043), "Ready");
    EXPECT_EQ(commandPrompt(0), "Ready");
    EXPECT_EQ(findCommand(1044), nullptr);
}

TEST(CommandTable, MenuPathLevels) {
    const auto levels = menuPathLevels("File>Add>Interactive>DXF Static Object...");
    ASSERT_EQ(levels.size(), 4u);
    EXPECT_EQ(levels[0], "File");
    EXPECT_EQ(levels[2], "Interactive");
    EXPECT_EQ(levels[3], "DXF Static Object...");
    EXPECT_EQ(menuPathLevels("Help").size(), 1u);
}

TEST(CommandEnabling, SceneryStopsAtFiveSets) {
    CommandState s;
    for (int n = 0; n <= 5; ++n) {
        s.sceneryCount = n;
        EXPECT_EQ(isCommandEnabled(CommandId::AddDxfScenery, s), n < 5) << n;
    }
}

TEST(CommandEnabling, ObjectRoomRules) {
    struct Case {
        int objects, interactive, slots, frames;
        bool dynamic, interactiveRoom;
    };
    const Case cases[] = {
        {1, 1, 7, 2002, true, true},   // fresh project
        {4, 1, 7, 2002, true, true},   // last free slot
        {5, 1, 7, 2002, false, false}, // slots - 2 reached
        {2, 2, 7, 2002, true, false},  // an interactive object already added
        {1, 1, 7, 2, false, true},     // too few record frames for motion
        {1, 1, 3, 2002, false, false}, // only the reserved slots besides the vehicle
    };
    for (const Case& c : cases) {
        CommandState s;
        s.objectCount = c.objects;
        s.interactiveCount = c.interactive;
        s.objectSlots = c.slots;
        s.recordFrames = c.frames;
        EXPECT_EQ(isCommandEnabled(CommandId::AddDynamicObject, s), c.dynamic)
            << c.objects << "/" << c.slots;
        EXPECT_EQ(isCommandEnabled(CommandId::AddInteractiveDxfStaticObject, s), c.interactiveRoom);
        EXPECT_EQ(isCommandEnabled(CommandId::AddInteractiveDynamicObject, s), c.interactiveRoom);
    }
}

TEST(CommandEnabling, SavedMotionNeedsARecordedRun) {
    CommandState s;
    EXPECT_FALSE(isCommandEnabled(CommandId::SaveMotionAs, s));
    EXPECT_FALSE(isCommandEnabled(CommandId::SaveCameraAs, s));
    s.motionRecorded = true;
    EXPECT_TRUE(isCommandEnabled(CommandId::SaveMotionAs, s));
    EXPECT_FALSE(isCommandEnabled(CommandId::SaveCameraAs, s));
    s.cameraMotionRecorded = true;
    EXPECT_TRUE(isCommandEnabled(CommandId::SaveCameraAs, s));
}

TEST(CommandEnabling, SaveAndConvertAreAlwaysEnabled) {
    CommandState s;
    s.sceneryCount = 5;
    s.objectCount = 5;
    s.interactiveCount = 3;
    for (CommandId id : {CommandId::SaveProject, CommandId::SaveProjectAs, CommandId::SaveObjectAs,
                         CommandId::ConvertToBioVision, CommandId::ConvertToAcclaim,
                         CommandId::ConvertToGltf, CommandId::ExportSceneGltf}) {
        EXPECT_TRUE(isCommandEnabled(id, s)) << static_cast<int>(id);
    }
}

TEST(CommandChecks, FollowTheState) {
    CommandState s;
    s.vehicleType = 3;
    s.observeMode = true;
    s.instrumentPanelVisible = false;
    const auto checked = [&](CommandId id) {
        return commandChecked(findCommand(int(id))->check, s);
    };
    EXPECT_EQ(checked(CommandId::VehicleCar), false);
    EXPECT_EQ(checked(CommandId::VehicleHelicopter), true);
    EXPECT_EQ(checked(CommandId::Observe), true);
    EXPECT_EQ(checked(CommandId::StartTrimmed), true);
    s.trimmedStart = false;
    EXPECT_EQ(checked(CommandId::StartTrimmed), false);
    EXPECT_EQ(checked(CommandId::WindowInstrumentPanel), false);
    EXPECT_EQ(checked(CommandId::WindowProject), true);
    EXPECT_EQ(checked(CommandId::WindowStatusBar), true);
    EXPECT_EQ(checked(CommandId::NewProject), std::nullopt);
}

} // namespace
} // namespace kv::app
