#pragma once
/// The program's command set as data: one row per menu command with its id,
/// menu path, accelerator, status-bar prompt and the rules that enable and
/// check it. The desktop builds its menus and status prompts from this table;
/// the enabling and check rules are pure functions of `CommandState`.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::app {

/// Command ids. The values are the program's stable command numbers.
enum class CommandId : int {
    AddDxfScenery = 32801,
    AddDxfTerrain = 32802,
    AddDxfObjectGeometry = 32803,
    AddDynamicObject = 32804,
    AddInteractiveDxfStaticObject = 32805,
    AddInteractiveDynamicObject = 32806,
    NewProject = 32821,
    OpenProject = 32820,
    SaveProject = 32807,
    SaveProjectAs = 32808,
    OpenObject = 32809,
    SaveObjectAs = 32810,
    SaveMotionAs = 32811,
    SaveCameraAs = 32812,
    ConvertToBioVision = 32813,
    ConvertToAcclaim = 32814,
    ConvertToGltf = 32840,
    ExportSceneGltf = 32851,
    Exit = 57665,
    SimulationReset = 32773,
    Observe = 32774,
    StartTrimmed = 32824,
    InitialConditions = 32816,
    Wind = 32776,
    Gravity = 32772,
    ExternalForce = 32817,
    Begin = 32771,
    FollowPath = 32842,
    CustomizeEffectors = 32794,
    CustomizeMassProperties = 32795,
    CustomizeTiresSuspension = 32796,
    CustomizeAerodynamics = 32797,
    CustomizeEngine = 32798,
    CustomizeCollisions = 32799,
    CustomizeAppearance = 32800,
    VehicleCar = 32779,
    VehicleMotorcycle = 32780,
    VehicleAircraft = 32781,
    VehicleHelicopter = 32782,
    PreferencesReset = 32783,
    PreferencesWorkingUnits = 32784,
    PreferencesGrid = 32785,
    PreferencesController = 32786,
    PreferencesCamera = 32787,
    PreferencesMemory = 32788,
    PreferencesRecovery = 32843,
    PreferencesSave = 32789,
    WindowReset = 32815,
    WindowInstrumentPanel = 32823,
    WindowProject = 32822,
    WindowStatusBar = 59393,
    HelpUserGuide = 32841,
    HelpAbout = 57664,
};

/// Object-library commands use the ids kObjectLibraryFirstId + entry index.
inline constexpr int kObjectLibraryFirstId = 1044;
/// At most this many object-library entries get a command.
inline constexpr int kObjectLibraryMaxEntries = 20;
/// Status prompt of every object-library command.
inline constexpr std::string_view kObjectLibraryPrompt = "Select this object.";
/// Status-bar text while no command is highlighted.
inline constexpr std::string_view kIdlePrompt = "Ready";
/// Status-bar text while a run holds the program: how to steer and how to stop.
inline constexpr std::string_view kRunPrompt =
    "Mouse over the camera view steers; ESC ends the run; P pauses";
/// Most scenery sets a project holds.
inline constexpr int kMaxScenerySets = 5;

/// When a command may be chosen.
enum class EnableRule {
    Always,
    /// Fewer than kMaxScenerySets scenery sets are loaded.
    SceneryRoom,
    /// A free object slot (objects in use < slots - 2) and more than 2 record frames.
    DynamicObjectRoom,
    /// No interactive object added yet (the simulated object is the first) and a free slot.
    InteractiveObjectRoom,
    /// The last run recorded motion.
    RecordedMotion,
    /// The last run recorded camera motion.
    RecordedCameraMotion,
};

/// Which state a command's check mark shows.
enum class CheckRule {
    None,
    ObserveMode,
    TrimmedStart,
    VehicleIsCar,
    VehicleIsMotorcycle,
    VehicleIsAircraft,
    VehicleIsHelicopter,
    InstrumentPanelVisible,
    ProjectWindowVisible,
    StatusBarVisible,
};

/// One row of the command table.
struct CommandInfo {
    CommandId id;
    /// Menu path, levels separated by '>' ("File>Add>DXF Scenery...").
    std::string_view menuPath;
    /// Accelerator in portable text form ("Ctrl+N"), empty for none.
    std::string_view shortcut;
    /// Status-bar prompt shown while the command is highlighted.
    std::string_view prompt;
    EnableRule enable = EnableRule::Always;
    CheckRule check = CheckRule::None;
    /// A menu separator goes before this item within its menu.
    bool separatorBefore = false;
};

/// The part of the project and window state that the enabling and check rules read.
struct CommandState {
    /// Scenery sets loaded, 0..kMaxScenerySets.
    int sceneryCount = 0;
    /// Object slots in use, the simulated object included.
    int objectCount = 1;
    /// Interactive objects, the simulated object included (starts at 1).
    int interactiveCount = 1;
    /// Object slots allocated, two reserved ones included (memory setting).
    int objectSlots = 7;
    /// Record frames allocated (memory setting).
    int recordFrames = 2002;
    bool motionRecorded = false;
    bool cameraMotionRecorded = false;
    bool observeMode = false;
    /// Aircraft and helicopters start trimmed (Simulation > Start Trimmed).
    bool trimmedStart = true;
    /// Vehicle type of the simulated object: 0 car, 1 motorcycle, 2 aircraft, 3 helicopter.
    int vehicleType = 0;
    bool instrumentPanelVisible = true;
    bool projectWindowVisible = true;
    bool statusBarVisible = true;
};

/// Every command of the menus, in menu order.
std::span<const CommandInfo> commandTable();

/// The row of `id`, or nullptr when `id` is no table command.
const CommandInfo* findCommand(int id);

/// Whether the command may be chosen in `state`.
bool isCommandEnabled(EnableRule rule, const CommandState& state);
bool isCommandEnabled(CommandId id, const CommandState& state);

/// Whether the command carries a check mark; nullopt for commands without one.
std::optional<bool> commandChecked(CheckRule rule, const CommandState& state);

/// Status-bar prompt for a command id: the table's prompt, the object-library
/// prompt for ids 1044..1063, else the idle prompt.
std::string_view commandPrompt(int id);

/// The menu path split into its levels.
std::vector<std::string_view> menuPathLevels(std::string_view menuPath);

/// The top-level menus in the order they appear on the menu bar.
std::span<const std::string_view> topLevelMenus();

} // namespace kv::app
