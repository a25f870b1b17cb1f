#pragma once
/// The project as the program holds it for its whole life: the object table
/// (slot 0 the simulated vehicle, the last slot the camera) with each slot's
/// mesh and stored motion, the scenery sets and the terrain, the environment,
/// the preferences, the live record channels of the last run, the interactive
/// count and the modified flag; and the document operations of the File menu
/// and the project window. It reaches the user only through ports.

#include "app/document/dxf_import_port.h"
#include "app/document/project_file.h"
#include "app/document/project_state.h"
#include "app/settings/memory_settings.h"
#include "app/settings/preferences.h"
#include "common/ports/files.h"
#include "common/ports/messages.h"
#include "common/ports/notices.h"
#include "common/ports/progress.h"
#include "common/ports/question.h"
#include "common/ports/working_folder.h"
#include "geometry/mesh_store.h"
#include "geometry/scenery.h"
#include "geometry/terrain.h"
#include "model/motion_store.h"
#include "model/object_record.h"
#include "simulation/camera_record.h"
#include "simulation/environment/environment.h"
#include "simulation/run_settings.h"
#include "simulation/run_simulation.h"
#include "simulation/run_state.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kv::app {

struct DocumentPorts {
    MessagePort& messages;
    ProgressPort& progress;
    FilePort& files;
    QuestionPort& questions;
    const WorkingFolderPort& folder;
};

/// How a file given on the command line or dropped was taken.
enum class OpenedAs {
    kNothing,
    kProject,
    kMotion,
    kObject,
    /// A project whose read failed: the project defaults replaced the project.
    kProjectDefaults,
};

class Document {
  public:
    explicit Document(DocumentPorts ports);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    /// Allocates every buffer from `settings`, falling back to the factory
    /// settings (with a message) when they cannot be had; the settings used
    /// are stored in the preferences. Ends with a new project.
    bool allocate(MemorySettings settings, bool startUp, std::optional<std::int64_t> totalPhysical);

    /// The DXF open dialog to use instead of the plain file port (null: none).
    /// It must outlive the document or be unset first.
    void setDxfImportPort(DxfImportPort* port) { dxfPort_ = port; }

    // ---- state ----
    const MemorySettings& memory() const { return memory_; }
    int slotCount() const { return memory_.objectSlots; }
    int cameraSlot() const { return memory_.objectSlots - 1; }
    int objectCount() const { return state_.objectCount; }
    int interactiveCount() const { return interactiveCount_; }
    bool modified() const { return modified_; }
    void setModified(bool m) { modified_ = m; }
    bool hasFile() const { return hasFile_; }
    const std::filesystem::path& projectPath() const { return projectPath_; }
    std::string projectName() const { return projectNameText(state_.projectName); }
    const std::string& currentObjectName() const { return currentObjectName_; }
    model::ObjectRecord& object(int slot) { return objects_[static_cast<std::size_t>(slot)]; }
    const model::ObjectRecord& object(int slot) const {
        return objects_[static_cast<std::size_t>(slot)];
    }
    ProjectState& state() { return state_; }
    const ProjectState& state() const { return state_; }
    /// The project's gravity, wind, turbulence and external force, kept in
    /// the state block and handed to every run.
    sim::Environment environment() const;
    void setEnvironment(const sim::Environment& environment);
    Preferences& preferences() { return preferences_; }
    const Preferences& preferences() const { return preferences_; }
    geom::MeshStore& meshes() { return meshes_; }
    model::MotionStore& motions() { return motions_; }
    geom::SceneryStore& scenery() { return scenery_; }
    const geom::SceneryStore& scenery() const { return scenery_; }
    geom::TerrainStore& terrain() { return *terrain_; }
    sim::RunState& run() { return run_; }
    const sim::RunState& run() const { return run_; }
    /// Whether the menu commands that add objects are possible now.
    bool canAddDynamicObject() const;
    bool canAddInteractiveObject() const;

    // ---- simulation ----
    /// Settings of a run from the preferences, the environment and the counts.
    sim::RunSettings runSettings() const;
    /// Simulation > Start Trimmed: aircraft and helicopters clear of the
    /// ground start in the trim that holds their initial flight. A setting
    /// of the program, not of the project: it is not saved with the project.
    bool trimmedStart() const { return trimmedStart_; }
    void setTrimmedStart(bool on) { trimmedStart_ = on; }
    /// The objects a reset or run works on: those in use, the camera excluded.
    std::span<model::ObjectRecord> runObjects();
    /// Puts every simulated object back to its initial conditions.
    void resetSimulation();
    /// Initial Conditions > On Ground: `initial` with the height at which the
    /// simulated object's lowest ground-contact point rests on the ground
    /// (terrain, else level ground at 0) under its north and east, attitude
    /// kept. An object without contact points gets its centre of gravity on
    /// the surface.
    model::InitialConditions onGround(const model::InitialConditions& initial) const;
    /// Simulation > Begin: records the collision flag of this run and runs
    /// the loop on the document's objects, settings and camera, the vehicle
    /// holding the controller at the start and the camera released at the end. The objects
    /// collide through their meshes unless `ports` names another pair. A
    /// vehicle the reset raised onto the ground is reported to `notices`, once
    /// per run.
    void runSimulation(const sim::RunPorts& ports, NoticePort* notices = nullptr);
    sim::CameraRecord& camera() { return camera_; }
    /// Takes the camera out of the controller's hands and clears its control
    /// inputs (done before and after every run).
    void releaseCameraControl();

    /// What the full Effectors dialog opens with: the effector it showed and
    /// its view (0 Absolute, 1 Relative to Parent) when it last ended with
    /// OK. A new Car, Motorcycle or Aircraft and a loaded object select the
    /// first effector again.
    struct EffectorEditorMemory {
        int selected = 0;
        int relativeMode = 0;
    };
    EffectorEditorMemory& effectorEditorMemory() { return effectorEditorMemory_; }

    // ---- document operations; each returns success ----
    /// Project defaults: a Car from its template in slot 0, the camera slot,
    /// no scenery or terrain, no file; not modified.
    void newProject();
    /// Object > Car, Motorcycle, Aircraft, Helicopter: leaves observe mode and
    /// rebuilds the simulated object from the built-in template of `vehicleType`
    /// (model::kVehicleCar..kVehicleHelicopter) with its mesh; the object's
    /// name becomes the current object name. Marks the project modified and
    /// resets the simulation. False (nothing changed) for another type.
    bool newVehicle(std::int32_t vehicleType);
    /// Simulation > Observe: flips observe mode, marks the project modified and
    /// resets the simulation (the reset reads the flag).
    void toggleObserve();
    /// Asks "Save First?" when the project is modified. True when the caller
    /// may go on (saved, or not wanted); false on Cancel or a failed save.
    bool confirmDiscard(const std::string& format = kSaveFirstFormat);
    bool openProject(std::optional<std::filesystem::path> file = std::nullopt);
    /// Whether the last openProject replaced the project, by the file's or,
    /// after a failed read, by the defaults.
    bool projectReplaced() const { return projectReplaced_; }
    bool saveProject(bool askName);
    bool openObject(std::optional<std::filesystem::path> file = std::nullopt);
    bool saveObjectAs(int slot = 0);
    /// One dialog per simulated or interactive slot with recorded motion;
    /// returns how many motions were saved.
    int saveMotionAs();
    bool saveDynamicMotionAs(int slot);
    bool saveCameraAs();
    /// Writes the project as it stands to `file` for recovery after a crash,
    /// leaving its name, its file and its modified flag as they are.
    bool writeProjectCopy(const std::filesystem::path& file);
    /// After a recovered copy was opened: the project answers again to `file`
    /// (none when it was never saved) and `name`, and counts as modified.
    void adoptRecoveredProject(const std::optional<std::filesystem::path>& file,
                               const std::string& name);
    /// Adds a motion file as a dynamic (role 1) or interactive (role 0) object.
    bool addMotionObject(std::int32_t role,
                         std::optional<std::filesystem::path> file = std::nullopt);
    bool addScenery(std::optional<DxfImport> import = std::nullopt);
    bool addTerrain(std::optional<DxfImport> import = std::nullopt);
    bool addObjectGeometry(std::optional<DxfImport> import = std::nullopt);
    bool addStaticObject(std::optional<DxfImport> import = std::nullopt);
    bool saveSceneryAs(int set);
    bool saveTerrainAs();
    bool saveObjectGeometryAs(int slot);
    bool convertToBvh(std::optional<std::filesystem::path> motion = std::nullopt);
    bool convertToAcclaim(std::optional<std::filesystem::path> motion = std::nullopt);
    /// Writes the motion as a binary glTF file (.glb) beside it.
    bool convertToGltf(std::optional<std::filesystem::path> motion = std::nullopt);
    /// File > Export Scene to glTF: the whole scene as one .glb (scene_gltf.h),
    /// with the last run's live channels when a run recorded any, else the
    /// objects' stored motion; asks "Export Scene to glTF:" when no file is
    /// given. `generator` names the program in the file.
    bool exportScene(const std::string& generator,
                     std::optional<std::filesystem::path> file = std::nullopt);
    /// Carries scenery set `set` (or the terrain) to a new import transform.
    bool transformScenery(int set, const model::GeometryTransform& transform);
    bool transformTerrain(const model::GeometryTransform& transform);
    /// The initial conditions at `time` (s) of a motion file, chosen through
    /// the file port when not given; nothing when no file was chosen or read.
    std::optional<model::InitialConditions>
    initialConditionsFrom(float time, std::optional<std::filesystem::path> motion = std::nullopt);
    /// Removes object `slot` (1 or above): later slots, meshes and motions move down.
    bool removeObject(int slot);
    bool removeScenery(int set);
    void removeTerrain();
    /// Opens a file by the extension after the first "." of its name; a
    /// project as Open Project does, after the save prompt.
    OpenedAs openByExtension(const std::filesystem::path& file);
    /// The upgrade check of an object or motion file (true: current now).
    bool upgradeObjectOrMotion(const std::filesystem::path& file);

    static constexpr const char* kSaveFirstFormat =
        "Would you like to save changes to \"%s\" first?";
    /// The save prompt of the Memory command, which resets the program.
    static constexpr const char* kMemorySaveFirstFormat =
        "To adjust the memory settings, Kestrovane must be reset. Would you like to save \"%s\" "
        "first?";

  private:
    void resetCameraSlot();
    /// Replaces slot 0's mesh with the built-in mesh of `vehicleType`.
    void loadTemplateGeometry(std::int32_t vehicleType);
    /// Raises slot 0's initial position, when needed, so that its lowest
    /// vertex is not below level ground (down 0).
    void keepAboveLevelGround();
    void recountInteractive();
    std::optional<std::filesystem::path> ask(const FileRequest& request);
    std::optional<DxfImport> askDxf(const char* title, const DxfImport& start,
                                    bool colorEnabled = true);
    ProjectContents contents();
    void prepareTerrainAfterLoad();
    bool takeNextSlot(int& slot);

    DocumentPorts ports_;
    DxfImportPort* dxfPort_ = nullptr;
    MemorySettings memory_ = kFactoryMemory;
    std::vector<model::ObjectRecord> objects_;
    geom::MeshStore meshes_;
    model::MotionStore motions_;
    geom::SceneryStore scenery_;
    std::unique_ptr<geom::TerrainStore> terrain_;
    ProjectState state_ = newProjectState();
    EffectorEditorMemory effectorEditorMemory_;
    Preferences preferences_;
    sim::RunState run_;
    sim::CameraRecord camera_;
    /// The ground of every run: the terrain grid when one is sorted, else
    /// level ground at 0. Refreshed by runSettings, which hands out its address.
    mutable sim::TerrainGround ground_{nullptr};
    int interactiveCount_ = 1;
    bool trimmedStart_ = false;
    bool modified_ = false;
    bool hasFile_ = false;
    bool projectReplaced_ = false;
    std::filesystem::path projectPath_;
    std::string currentObjectName_;
    std::vector<std::string> motionNames_;
    std::string cameraMotionName_;
};

/// The file-name rules of the save dialogs.
/// Appends ".<extension>" when the file name holds no ".".
std::filesystem::path forceExtension(const std::filesystem::path& file,
                                     const std::string& extension);
/// The file name cut at its first ".".
std::string titleWithoutExtension(const std::filesystem::path& file);
/// The path with its file name cut at its first ".".
std::filesystem::path pathWithoutExtension(const std::filesystem::path& file);

inline constexpr const char* kNotInteractiveMessage =
    "This motion file cannot be added as an interactive object.";
/// "\"%s\" is not a valid Kestrovane file."
std::string notKestrovaneFileMessage(const std::filesystem::path& file);

} // namespace kv::app
