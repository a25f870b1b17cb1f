#include "app/commands/commands.h"

#include <array>

namespace kv::app {

namespace {

using C = CommandId;
using E = EnableRule;
using K = CheckRule;

// The two Add > Interactive prompts describe their own command: the DXF static
// object is the stationary one, the dynamic object the recorded, moving one.
constexpr std::array kTable{
    CommandInfo{C::AddDxfScenery, "File>Add>DXF Scenery...", "", "Add scenery to the project.",
                E::SceneryRoom},
    CommandInfo{C::AddDxfTerrain, "File>Add>DXF Terrain...", "", "Import a terrain surface."},
    CommandInfo{C::AddDxfObjectGeometry, "File>Add>DXF Object Geometry...", "",
                "Add the model geometry for the simulated object."},
    CommandInfo{C::AddDynamicObject, "File>Add>Dynamic Object...", "",
                "Add a previously recorded, moving object to the project.", E::DynamicObjectRoom},
    CommandInfo{C::AddInteractiveDxfStaticObject, "File>Add>Interactive>DXF Static Object...", "",
                "Add a stationary object to the project that you can collide with.",
                E::InteractiveObjectRoom},
    CommandInfo{C::AddInteractiveDynamicObject, "File>Add>Interactive>Dynamic Object...", "",
                "Add a previously recorded, moving object to the project that you can collide "
                "with.",
                E::InteractiveObjectRoom},
    CommandInfo{C::NewProject, "File>New Project", "Ctrl+N", "Start a new project.", E::Always,
                K::None, true},
    CommandInfo{C::OpenProject, "File>Open Project...", "Ctrl+O",
                "Load a previously saved project."},
    CommandInfo{C::SaveProject, "File>Save Project...", "Ctrl+S", "Save the current project."},
    CommandInfo{C::SaveProjectAs, "File>Save Project As...", "",
                "Save the current project and select a new name."},
    CommandInfo{C::OpenObject, "File>Open Object...", "",
                "Load the object to be simulated from the selected file.", E::Always, K::None,
                true},
    CommandInfo{C::SaveObjectAs, "File>Save Object As...", "",
                "Save the simulated object and select a new name."},
    CommandInfo{C::SaveMotionAs, "File>Save Motion As...", "",
                "Save the motion for the simulated and interactive objects from the previous "
                "simulation.",
                E::RecordedMotion, K::None, true},
    CommandInfo{C::SaveCameraAs, "File>Save Camera As...", "",
                "Save the motion for the camera from the previous simulation.",
                E::RecordedCameraMotion},
    CommandInfo{C::ConvertToBioVision, "File>Convert to BioVision...", "",
                "Convert a motion file to the BioVision motion capture file format.", E::Always,
                K::None, true},
    CommandInfo{C::ConvertToAcclaim, "File>Convert to Acclaim...", "",
                "Convert a motion file to the Acclaim motion capture file format."},
    CommandInfo{C::ConvertToGltf, "File>Convert to glTF...", "",
                "Convert a motion file to a glTF 2.0 file with the vehicle's mesh and "
                "animation."},
    CommandInfo{C::ExportSceneGltf, "File>Export Scene to glTF...", "",
                "Write the terrain, scenery, every object's motion and the camera of the last "
                "run or the project as one glTF 2.0 file."},
    CommandInfo{C::Exit, "File>Exit", "Ctrl+Q",
                "Quit the application and prompt to save the current project.", E::Always, K::None,
                true},

    CommandInfo{C::SimulationReset, "Simulation>Reset", "Ctrl+R",
                "Reset the simulation to its initial conditions."},
    CommandInfo{C::Observe, "Simulation>Observe", "Ctrl+V",
                "Disable the simulated object and watch the simulation.", E::Always,
                K::ObserveMode},
    CommandInfo{C::StartTrimmed, "Simulation>Start Trimmed", "",
                "Start aircraft and helicopters in the air with the controls set to hold "
                "level flight or a hover.",
                E::Always, K::TrimmedStart},
    CommandInfo{C::InitialConditions, "Simulation>Initial Conditions...", "Ctrl+I",
                "Set the starting point, initial speed, orientation and angular rate for the "
                "simulated object.",
                E::Always, K::None, true},
    CommandInfo{C::Wind, "Simulation>Wind...", "Ctrl+W", "Set the wind and turbulence."},
    CommandInfo{C::Gravity, "Simulation>Gravity...", "Ctrl+G",
                "Adjust the gravity of the situation."},
    CommandInfo{C::ExternalForce, "Simulation>External Force...", "Ctrl+X",
                "Specify the external force and moment to apply to the simulated object when "
                "you press one of the mouse buttons during the simulation."},
    CommandInfo{C::Begin, "Simulation>Begin", "Ctrl+B", "Start the simulation.", E::Always, K::None,
                true},
    CommandInfo{C::FollowPath, "Simulation>Follow Path...", "",
                "Choose a path (CSV or DXF polyline) for the simulated object to drive or fly "
                "at the next Begin."},

    CommandInfo{C::CustomizeEffectors, "Object>Customize>Effectors...", "Ctrl+E",
                "Edit tire, blade, skid, sound and basic effectors. "},
    CommandInfo{C::CustomizeMassProperties, "Object>Customize>Mass Properties...", "Ctrl+M",
                "Adjust the weight and inertia of the simulated object."},
    CommandInfo{C::CustomizeTiresSuspension, "Object>Customize>Tires and Suspension...", "Ctrl+T",
                "Set the braking, tire type and road surface. Adjust the suspension and drive "
                "settings for each of the tires."},
    CommandInfo{C::CustomizeAerodynamics, "Object>Customize>Aerodynamics...", "Ctrl+A",
                "Adjust the aerodynamics of the simulated object."},
    CommandInfo{C::CustomizeEngine, "Object>Customize>Engine...", "Ctrl+D",
                "Select an engine and adjust the maximum power."},
    CommandInfo{C::CustomizeCollisions, "Object>Customize>Collisions...", "Ctrl+C",
                "Adjust the spring, bounce and friction for the simulated and interactive "
                "objects."},
    CommandInfo{C::CustomizeAppearance, "Object>Customize>Appearance...", "Ctrl+P",
                "Change the color and transparency of the simulated object."},
    CommandInfo{C::VehicleCar, "Object>Car", "", "Select the default car physics model, a VW Golf.",
                E::Always, K::VehicleIsCar, true},
    CommandInfo{C::VehicleMotorcycle, "Object>Motorcycle", "",
                "Select the default motorcycle physics model, a BMW.", E::Always,
                K::VehicleIsMotorcycle},
    CommandInfo{C::VehicleAircraft, "Object>Aircraft", "",
                "Select the default aircraft physics model, an F-15.", E::Always,
                K::VehicleIsAircraft},
    CommandInfo{C::VehicleHelicopter, "Object>Helicopter", "",
                "Select the default helicopter physics model, an Apache.", E::Always,
                K::VehicleIsHelicopter},

    CommandInfo{C::PreferencesReset, "Preferences>Reset", "",
                "Reset the preferences to the factory settings."},
    CommandInfo{C::PreferencesWorkingUnits, "Preferences>Working Units...", "",
                "Select the coordinate system and the units for measuring length, force, mass "
                "and inertia.",
                E::Always, K::None, true},
    CommandInfo{C::PreferencesGrid, "Preferences>Grid...", "",
                "Adjust the terrain resolution, grid spacing, size and centering."},
    CommandInfo{C::PreferencesController, "Preferences>Controller...", "",
                "Adjust the input device's deadzone, sensitivity, orientation and center point."},
    CommandInfo{C::PreferencesCamera, "Preferences>Camera...", "",
                "Adjust settings that control the simulation update rate, camera motion, field "
                "chart, aspect ratio and field of view."},
    CommandInfo{C::PreferencesMemory, "Preferences>Memory...", "",
                "Adjust the maximum record duration, number of objects and terrain resolution. "
                "Select the simulation accuracy."},
    CommandInfo{C::PreferencesRecovery, "Preferences>Recovery...", "",
                "Set how often a changed project is kept for recovery after a crash."},
    CommandInfo{C::PreferencesSave, "Preferences>Save", "",
                "Save the current preferences to the Kestrovane Preferences file.", E::Always,
                K::None, true},

    CommandInfo{C::WindowReset, "Window>Reset", "",
                "Show all of the windows and reposition them on the screen."},
    CommandInfo{C::WindowInstrumentPanel, "Window>Instrument Panel", "",
                "Show or hide the instrument panel. Hide the instrument panel to increase the "
                "maximum frame rate.",
                E::Always, K::InstrumentPanelVisible, true},
    CommandInfo{C::WindowProject, "Window>Project", "Ctrl+L", "Show or hide the project window.",
                E::Always, K::ProjectWindowVisible},
    CommandInfo{C::WindowStatusBar, "Window>Status Bar", "", "Show or hide the status bar.",
                E::Always, K::StatusBarVisible},

    CommandInfo{C::HelpUserGuide, "Help>User Guide", "",
                "Show the user's guide: a first take, driving, flying, recording and exporting."},
    CommandInfo{C::HelpAbout, "Help>About Kestrovane...", "",
                "Display program, version and copyright information."},
};

constexpr std::array<std::string_view, 6> kTopLevelMenus{"File",        "Simulation", "Object",
                                                         "Preferences", "Window",     "Help"};

} // namespace

std::span<const CommandInfo> commandTable() {
    return kTable;
}

std::span<const std::string_view> topLevelMenus() {
    return kTopLevelMenus;
}

const CommandInfo* findCommand(int id) {
    for (const auto& row : kTable) {
        if (static_cast<int>(row.id) == id)
            return &row;
    }
    return nullptr;
}

bool isCommandEnabled(EnableRule rule, const CommandState& s) {
    // Two of the allocated slots are reserved, so a project holds at most slots - 2 objects.
    const bool freeSlot = s.objectCount < s.objectSlots - 2;
    switch (rule) {
    case EnableRule::Always:
        return true;
    case EnableRule::SceneryRoom:
        return s.sceneryCount < kMaxScenerySets;
    case EnableRule::DynamicObjectRoom:
        return freeSlot && s.recordFrames > 2;
    case EnableRule::InteractiveObjectRoom:
        return s.interactiveCount <= 1 && freeSlot;
    case EnableRule::RecordedMotion:
        return s.motionRecorded;
    case EnableRule::RecordedCameraMotion:
        return s.cameraMotionRecorded;
    }
    return false;
}

bool isCommandEnabled(CommandId id, const CommandState& state) {
    const CommandInfo* row = findCommand(static_cast<int>(id));
    return row != nullptr && isCommandEnabled(row->enable, state);
}

std::optional<bool> commandChecked(CheckRule rule, const CommandState& s) {
    switch (rule) {
    case CheckRule::None:
        return std::nullopt;
    case CheckRule::ObserveMode:
        return s.observeMode;
    case CheckRule::TrimmedStart:
        return s.trimmedStart;
    case CheckRule::VehicleIsCar:
        return s.vehicleType == 0;
    case CheckRule::VehicleIsMotorcycle:
        return s.vehicleType == 1;
    case CheckRule::VehicleIsAircraft:
        return s.vehicleType == 2;
    case CheckRule::VehicleIsHelicopter:
        return s.vehicleType == 3;
    case CheckRule::InstrumentPanelVisible:
        return s.instrumentPanelVisible;
    case CheckRule::ProjectWindowVisible:
        return s.projectWindowVisible;
    case CheckRule::StatusBarVisible:
        return s.statusBarVisible;
    }
    return std::nullopt;
}

std::string_view commandPrompt(int id) {
    if (id >= kObjectLibraryFirstId && id < kObjectLibraryFirstId + kObjectLibraryMaxEntries) {
        return kObjectLibraryPrompt;
    }
    if (const CommandInfo* row = findCommand(id))
        return row->prompt;
    return kIdlePrompt;
}

std::vector<std::string_view> menuPathLevels(std::string_view menuPath) {
    std::vector<std::string_view> levels;
    while (true) {
        const std::size_t cut = menuPath.find('>');
        levels.push_back(menuPath.substr(0, cut));
        if (cut == std::string_view::npos)
            break;
        menuPath.remove_prefix(cut + 1);
    }
    return levels;
}

} // namespace kv::app
