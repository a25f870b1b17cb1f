#include "app/document/document.h"
#include "app/document/gltf_options.h"
#include "app/document/project_convert.h"
#include "app/document/project_geometry.h"
#include "app/settings/coordinate_system.h"
#include "app/settings/units.h"
#include "app/settings/units_dxf.h"
#include "common/atomic_file.h"
#include "common/file_names.h"
#include "common/unit_constants.h"
#include "export/asf_export.h"
#include "export/bvh_export.h"
#include "geometry/dxf_reader.h"
#include "geometry/dxf_writer.h"
#include "model/motion_file.h"
#include "model/motion_playback.h"
#include "model/object_file.h"
#include "model/object_file_convert.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace kv::app {
namespace {

constexpr const char* kProjectFilter = "Kestrovane Project Files (*.kvp *.KVP);;All Files (*)";
constexpr const char* kObjectOpenFilter =
    "Kestrovane Object Files (*.kvo *.KVO);;Kestrovane Motion Files (*.kvm *.KVM);;All Files (*)";
constexpr const char* kObjectFilter = "Kestrovane Object Files (*.kvo *.KVO);;All Files (*)";
constexpr const char* kMotionFilter = "Kestrovane Motion Files (*.kvm *.KVM);;All Files (*)";
constexpr const char* kDxfFilter = "DXF Files (*.dxf *.DXF);;All Files (*)";

FileRequest openRequest(const char* title, const char* filter) {
    return FileRequest{title, filter, "", "", false};
}

FileRequest saveRequest(const char* title, const char* filter, const char* extension,
                        std::string defaultName) {
    return FileRequest{title, filter, extension, std::move(defaultName), true};
}

std::string recordName(const model::ObjectRecord& r) {
    return std::string(r.name.data(), strnlen(r.name.data(), r.name.size()));
}

void setRecordName(model::ObjectRecord& r, const std::string& name) {
    r.name.fill('\0');
    std::memcpy(r.name.data(), name.data(),
                std::min<std::size_t>(name.size(), model::kMaxNameLength));
}

bool readable(const std::filesystem::path& file, MessagePort& messages) {
    std::FILE* f = kv::openFile(file, "rb");
    if (f == nullptr) {
        messages.showMessage(model::kNoValidFileMessage);
        return false;
    }
    std::fclose(f);
    return true;
}

geom::DxfOutputUnits dxfUnitsOf(const Preferences& p) {
    return dxfOutputUnits(workingUnitsOf(p));
}

exp::ExportOptions exportOptionsOf(const Preferences& p) {
    exp::ExportOptions o;
    o.feetPerUnit = p.lengthUnitFactor;
    // Z up takes the right-hand channels: they share the glTF export's axes,
    // which is what z-up tools show once they import the file.
    o.rightHanded = coordinateSystemOf(p.rightHandedAxes) != geom::DxfAxes::LeftHand;
    if (const LengthUnitInfo* unit = recogniseLengthUnit(p.lengthUnitFactor))
        o.lengthUnitName = std::string(unit->longName);
    return o;
}

/// Writes the triangles of one mesh slot as DXF faces.
bool exportMeshDxf(const std::filesystem::path& file, const geom::MeshStore& meshes, int slot,
                   const geom::DxfOutputUnits& units, MessagePort& messages) {
    const model::TriangleSource source = triangleSourceOf(meshes, slot);
    const bool ok = writeFileAtomically(file, [&](std::FILE* out) {
        if (!geom::writeDxfHeader(out, units))
            return false;
        for (std::size_t i = 0; i < source.count; ++i) {
            const std::array<float, 9> t = source.triangle(i);
            std::array<double, 12> corners{};
            for (std::size_t k = 0; k < 9; ++k)
                corners[k] = t[k];
            for (std::size_t k = 0; k < 3; ++k)
                corners[9 + k] = t[6 + k];
            if (!geom::writeDxfFace(out, corners, units))
                return false;
        }
        return geom::writeDxfTrailer(out);
    });
    if (!ok)
        messages.showMessage(model::saveFailedMessage(file));
    return ok;
}

int readDxfInto(const std::filesystem::path& file, const model::GeometryTransform& transform,
                geom::MeshStore& meshes, MessagePort& messages) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    return geom::readDxf(file, ec ? 0 : size, transform, meshes.faceCallback(), messages);
}

} // namespace

std::filesystem::path forceExtension(const std::filesystem::path& file,
                                     const std::string& extension) {
    if (utf8Name(file.filename()).find('.') != std::string::npos)
        return file;
    std::filesystem::path out = file;
    out += "." + extension;
    return out;
}

std::string titleWithoutExtension(const std::filesystem::path& file) {
    const std::string name = utf8Name(file.filename());
    return name.substr(0, name.find('.'));
}

std::filesystem::path pathWithoutExtension(const std::filesystem::path& file) {
    return file.parent_path() / pathFromUtf8(titleWithoutExtension(file));
}

std::string notKestrovaneFileMessage(const std::filesystem::path& file) {
    return "\"" + utf8Name(file) + "\" is not a valid Kestrovane file.";
}

std::optional<std::filesystem::path> Document::ask(const FileRequest& request) {
    auto chosen = ports_.files.choose(request);
    if (!chosen)
        return std::nullopt;
    std::filesystem::path path = pathFromUtf8(*chosen);
    if (request.save && !request.extension.empty())
        path = forceExtension(path, request.extension);
    return path;
}

std::optional<DxfImport> Document::askDxf(const char* title, const DxfImport& start,
                                          bool colorEnabled) {
    if (dxfPort_ != nullptr)
        return dxfPort_->chooseDxf(openRequest(title, kDxfFilter), start, colorEnabled);
    auto path = ask(openRequest(title, kDxfFilter));
    if (!path)
        return std::nullopt;
    DxfImport out = start;
    out.file = *path;
    return out;
}

bool Document::upgradeObjectOrMotion(const std::filesystem::path& file) {
    if (!readable(file, ports_.messages))
        return false;
    return model::upgradeObjectFile(file, ports_.messages);
}

void Document::prepareTerrainAfterLoad() {
    if (!terrain_->present())
        return;
    if (!terrain_->allocateTerrainGrid() ||
        terrain_->sortTerrain(ports_.progress, ports_.messages) != geom::SortResult::Sorted) {
        terrain_->discardTerrain();
        state_.terrainPresent = 0;
    }
}

bool Document::openProject(std::optional<std::filesystem::path> file) {
    projectReplaced_ = false;
    if (!file)
        file = ask(openRequest("Open Project File:", kProjectFilter));
    if (!file)
        return false;
    if (!upgradeProjectFile(*file, ports_.messages))
        return false;
    const ProjectLoadResult result = loadProject(*file, contents(), ports_.messages);
    const bool ok = result.status != ProjectLoad::kFailed;
    if (ok) {
        hasFile_ = true;
        projectPath_ = *file;
        setProjectName(state_.projectName, titleWithoutExtension(*file));
        // The camera slot is not stored; it is set up as in a new project.
        resetCameraSlot();
        recountInteractive();
        currentObjectName_ = recordName(object(0));
        motionNames_.assign(objects_.size(), std::string());
        cameraMotionName_.clear();
        prepareTerrainAfterLoad();
        if (result.status == ProjectLoad::kResolutionChanged)
            ports_.messages.showMessage(result.message);
    } else {
        newProject();
    }
    projectReplaced_ = true;
    modified_ = false;
    resetSimulation();
    return ok;
}

bool Document::saveProject(bool askName) {
    std::filesystem::path file = projectPath_;
    if (askName || !hasFile_) {
        auto chosen = ask(saveRequest("Save Project As:", kProjectFilter, "kvp", projectName()));
        if (!chosen)
            return false;
        file = *chosen;
        projectPath_ = file;
        hasFile_ = true;
        setProjectName(state_.projectName, titleWithoutExtension(file));
    }
    resetSimulation();
    if (!app::saveProject(file, contents(), ports_.messages))
        return false;
    modified_ = false;
    return true;
}

bool Document::openObject(std::optional<std::filesystem::path> file) {
    if (!file)
        file = ask(openRequest("Open Object:", kObjectOpenFilter));
    if (!file || !upgradeObjectOrMotion(*file))
        return false;
    model::MotionTarget target{0, &object(0), geometryIntakeOf(meshes_, 0)};
    if (!model::loadObjectFile(*file, target, true, ports_.messages))
        return false;
    object(0).role = model::kRoleInteractive;
    meshes_.thinContactVertices(0);
    currentObjectName_ = titleWithoutExtension(*file);
    setRecordName(object(0), currentObjectName_);
    effectorEditorMemory_.selected = 0;
    state_.observeMode = 0;
    modified_ = true;
    resetSimulation();
    return true;
}

bool Document::saveObjectAs(int slot) {
    if (slot < 0 || slot >= objectCount())
        return false;
    const std::string current = currentObjectName_.empty() ? "Object" : currentObjectName_;
    auto file = ask(saveRequest("Save Object As:", kObjectFilter, "kvo",
                                utf8Name(std::filesystem::path(current).filename())));
    if (!file)
        return false;
    if (!model::saveObjectFile(*file, object(slot), triangleSourceOf(meshes_, slot),
                               ports_.messages))
        return false;
    currentObjectName_ = utf8Name(pathWithoutExtension(*file));
    setRecordName(object(slot), titleWithoutExtension(*file));
    return true;
}

int Document::saveMotionAs() {
    int saved = 0;
    // The live channels hold the simulated object (0) and the interactive one (1).
    for (int i = 0; i < objectCount(); ++i) {
        const model::ObjectRecord& r = object(i);
        if (r.role != model::kRoleInteractive || r.recordChannel < 0 ||
            r.recordChannel >= sim::kCameraChannel)
            continue;
        const sim::RecordChannel& channel =
            run_.channels.channels[static_cast<std::size_t>(r.recordChannel)];
        if (channel.count <= 0)
            continue;
        std::string& name = motionNames_[static_cast<std::size_t>(i)];
        auto file = ask(saveRequest(i == 0 ? "Save Sim Motion As:" : "Save Interactive Motion As:",
                                    kMotionFilter, "kvm", name.empty() ? "Motion" : name));
        if (!file)
            continue;
        const auto frames = std::span<const model::MotionFrame>(channel.frames)
                                .first(static_cast<std::size_t>(std::min<int>(
                                    channel.count, static_cast<int>(channel.frames.size()))));
        if (model::saveLiveMotion(*file, r, triangleSourceOf(meshes_, i), frames,
                                  ports_.messages)) {
            name = utf8Name(file->filename());
            ++saved;
        }
    }
    return saved;
}

bool Document::saveDynamicMotionAs(int slot) {
    if (slot < 1 || slot >= objectCount())
        return false;
    auto file = ask(saveRequest("Save Dynamic Motion As:", kMotionFilter, "kvm", "Motion"));
    if (!file)
        return false;
    return model::saveStoredMotion(*file, object(slot), triangleSourceOf(meshes_, slot), motions_,
                                   slot, ports_.messages);
}

bool Document::saveCameraAs() {
    const sim::RecordChannel& channel = run_.channels.channels[sim::kCameraChannel];
    auto file = ask(saveRequest("Save Camera As:", kMotionFilter, "kvm",
                                cameraMotionName_.empty() ? "Camera" : cameraMotionName_));
    if (!file)
        return false;
    const auto frames = std::span<const model::MotionFrame>(channel.frames)
                            .first(static_cast<std::size_t>(std::clamp<int>(
                                channel.count, 0, static_cast<int>(channel.frames.size()))));
    if (!model::saveLiveMotion(*file, object(cameraSlot()), model::TriangleSource{}, frames,
                               ports_.messages))
        return false;
    cameraMotionName_ = utf8Name(file->filename());
    return true;
}

bool Document::takeNextSlot(int& slot) {
    slot = objectCount();
    return slot < maxProjectObjects(memory_) && slot < cameraSlot();
}

bool Document::addMotionObject(std::int32_t role, std::optional<std::filesystem::path> file) {
    const bool interactive = role == model::kRoleInteractive;
    if (interactive ? !canAddInteractiveObject() : !canAddDynamicObject())
        return false;
    if (!file)
        file = ask(openRequest("Open Motion File:", kMotionFilter));
    if (!file || !upgradeObjectOrMotion(*file))
        return false;
    int slot = 0;
    if (!takeNextSlot(slot))
        return false;
    model::ObjectRecord record;
    model::MotionTarget target{slot, &record, geometryIntakeOf(meshes_, slot)};
    bool report = true;
    const bool ok = model::loadMotion(*file, target, motions_, report, ports_.messages);
    if (!ok || (interactive && record.vehicleType == model::kVehicleNone)) {
        if (ok)
            ports_.messages.showMessage(kNotInteractiveMessage);
        motions_.clearSlot(slot);
        meshes_.clearGeometry(slot);
        return false;
    }
    setRecordName(record, titleWithoutExtension(*file));
    record.role = role;
    object(slot) = record;
    meshes_.thinContactVertices(slot);
    ++state_.objectCount;
    if (interactive)
        ++interactiveCount_;
    modified_ = true;
    resetSimulation();
    return true;
}

bool Document::addScenery(std::optional<DxfImport> import) {
    if (scenery_.full())
        return false;
    if (!import)
        import = askDxf("Open DXF Scenery File:", DxfImport{});
    if (!import || !readable(import->file, ports_.messages))
        return false;
    if (!scenery_.addScenery(import->file, import->transform, import->color, import->transparency,
                             ports_.progress, ports_.messages))
        return false;
    modified_ = true;
    resetSimulation();
    return true;
}

bool Document::addTerrain(std::optional<DxfImport> import) {
    const bool existed = terrain_->present();
    if (!import)
        import = askDxf("Open DXF Terrain File:", DxfImport{}, false);
    if (!import)
        return false;
    bool ok =
        readable(import->file, ports_.messages) &&
        terrain_->importTerrain(import->file, import->transform, ports_.progress, ports_.messages);
    if (!ok)
        terrain_->discardTerrain();
    state_.terrainPresent = terrain_->present() ? 1 : 0;
    if (existed || terrain_->present()) {
        modified_ = true;
        resetSimulation();
    }
    return ok;
}

bool Document::addObjectGeometry(std::optional<DxfImport> import) {
    // The dialog starts from the default appearance and transform; the
    // object keeps its own until a new geometry has been read.
    if (!import)
        import = askDxf("Open DXF Object Geometry File:", DxfImport{});
    if (!import || !readable(import->file, ports_.messages))
        return false;
    // Read into the camera slot, which holds no geometry, so that a file that
    // fails part-way leaves the vehicle's mesh as it was.
    const int spare = cameraSlot();
    meshes_.clearGeometry(spare);
    if (readDxfInto(import->file, import->transform, meshes_, ports_.messages) == 0) {
        meshes_.clearGeometry(spare);
        return false;
    }
    meshes_.moveGeometry(spare, 0);
    model::ObjectRecord& r = object(0);
    r.color = import->color;
    r.transparency = import->transparency;
    r.geometryTransform = import->transform;
    meshes_.thinContactVertices(0);
    state_.observeMode = 0;
    modified_ = true;
    resetSimulation();
    return true;
}

bool Document::addStaticObject(std::optional<DxfImport> import) {
    if (!canAddInteractiveObject())
        return false;
    int slot = 0;
    if (!takeNextSlot(slot))
        return false;
    model::ObjectRecord record;
    record.vehicleType = model::kVehicleNone;
    if (!import)
        import = askDxf("Open DXF Static Object File:", DxfImport{});
    if (!import || !readable(import->file, ports_.messages))
        return false;
    record.color = import->color;
    record.transparency = import->transparency;
    record.geometryTransform = import->transform;
    // The translation places the object rather than moving its geometry.
    for (int k = 0; k < 3; ++k) {
        record.initial.position[static_cast<std::size_t>(k)] =
            record.geometryTransform.translate[static_cast<std::size_t>(k)] * kFeetPerMetre;
        record.geometryTransform.translate[static_cast<std::size_t>(k)] = 0.0f;
    }
    meshes_.clearGeometry(slot);
    if (readDxfInto(import->file, record.geometryTransform, meshes_, ports_.messages) == 0) {
        meshes_.clearGeometry(slot);
        return false;
    }
    meshes_.thinContactVertices(slot);
    setRecordName(record, titleWithoutExtension(import->file));
    record.role = model::kRoleStatic;
    object(slot) = record;
    motions_.clearSlot(slot);
    ++state_.objectCount;
    ++interactiveCount_;
    modified_ = true;
    resetSimulation();
    return true;
}

bool Document::saveSceneryAs(int set) {
    if (set < 0 || set >= scenery_.count())
        return false;
    auto file = ask(saveRequest("Save DXF Scenery As:", "", "dxf", "Scenery.dxf"));
    return file && scenery_.exportScenery(set, *file, dxfUnitsOf(preferences_), ports_.messages);
}

bool Document::saveTerrainAs() {
    if (!terrain_->present())
        return false;
    auto file = ask(saveRequest("Save DXF Terrain As:", "", "dxf", "Terrain.dxf"));
    return file && terrain_->exportTerrain(*file, dxfUnitsOf(preferences_), ports_.progress,
                                           ports_.messages);
}

bool Document::saveObjectGeometryAs(int slot) {
    if (slot < 0 || slot >= objectCount())
        return false;
    auto file = ask(saveRequest("Save DXF Object Geometry As:", kDxfFilter, "dxf", "Object.dxf"));
    return file && exportMeshDxf(*file, meshes_, slot, dxfUnitsOf(preferences_), ports_.messages);
}

bool Document::convertToBvh(std::optional<std::filesystem::path> motion) {
    if (!motion)
        motion = ask(openRequest("Open Kestrovane Motion File:", kMotionFilter));
    if (!motion || !readable(*motion, ports_.messages))
        return false;
    std::filesystem::path out = pathWithoutExtension(*motion);
    out += ".bvh";
    exp::ExportSlot slot{model::MotionTarget{cameraSlot(), &object(cameraSlot()),
                                             geometryIntakeOf(meshes_, cameraSlot())},
                         &motions_};
    const bool ok = exp::exportBvh(*motion, out, titleWithoutExtension(*motion),
                                   exportOptionsOf(preferences_), slot, ports_.messages);
    resetCameraSlot();
    return ok;
}

bool Document::convertToAcclaim(std::optional<std::filesystem::path> motion) {
    if (!motion)
        motion = ask(openRequest("Open Kestrovane Motion File:", kMotionFilter));
    if (!motion || !readable(*motion, ports_.messages))
        return false;
    const std::filesystem::path base = pathWithoutExtension(*motion);
    std::filesystem::path asf = base;
    asf += ".asf";
    std::filesystem::path amc = base;
    amc += ".amc";
    exp::ExportSlot slot{model::MotionTarget{cameraSlot(), &object(cameraSlot()),
                                             geometryIntakeOf(meshes_, cameraSlot())},
                         &motions_};
    const bool ok = exp::exportAsfAmc(*motion, asf, amc, titleWithoutExtension(*motion),
                                      exportOptionsOf(preferences_), slot, ports_.messages);
    resetCameraSlot();
    return ok;
}

bool Document::convertToGltf(std::optional<std::filesystem::path> motion) {
    if (!motion)
        motion = ask(openRequest("Open Kestrovane Motion File:", kMotionFilter));
    if (!motion || !readable(*motion, ports_.messages))
        return false;
    std::filesystem::path out = pathWithoutExtension(*motion);
    out += ".glb";
    exp::ExportSlot slot{model::MotionTarget{cameraSlot(), &object(cameraSlot()),
                                             geometryIntakeOf(meshes_, cameraSlot())},
                         &motions_};
    const bool ok =
        exp::exportGltf(*motion, out, titleWithoutExtension(*motion),
                        gltfExportOptions(exp::GltfContainer::kBinary), slot, ports_.messages);
    resetCameraSlot();
    return ok;
}

bool Document::transformScenery(int set, const model::GeometryTransform& transform) {
    if (!scenery_.retransformScenery(set, transform, ports_.messages))
        return false;
    modified_ = true;
    return true;
}

bool Document::transformTerrain(const model::GeometryTransform& transform) {
    if (!terrain_->present())
        return false;
    const bool ok = terrain_->retransformTerrain(transform, ports_.progress, ports_.messages);
    state_.terrainPresent = terrain_->present() ? 1 : 0;
    modified_ = true;
    resetSimulation();
    return ok;
}

std::optional<model::InitialConditions>
Document::initialConditionsFrom(float time, std::optional<std::filesystem::path> motion) {
    if (!motion)
        motion = ask(openRequest("Open Motion File:", kMotionFilter));
    if (!motion)
        return std::nullopt;
    const model::MotionTarget camera{cameraSlot(), &object(cameraSlot()),
                                     geometryIntakeOf(meshes_, cameraSlot())};
    auto result = model::initialConditionsFromMotion(*motion, time, preferences_.framePeriod,
                                                     camera, motions_, ports_.messages);
    resetCameraSlot();
    return result;
}

OpenedAs Document::openByExtension(const std::filesystem::path& file) {
    const std::string name = utf8Name(file.filename());
    const auto dot = name.find('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".kvp") {
        if (!confirmDiscard())
            return OpenedAs::kNothing;
        if (openProject(file))
            return OpenedAs::kProject;
        // A read that failed part-way has put the defaults in place.
        return projectReplaced_ ? OpenedAs::kProjectDefaults : OpenedAs::kNothing;
    }
    if (ext == ".kvm")
        return addMotionObject(model::kRoleDynamic, file) ? OpenedAs::kMotion : OpenedAs::kNothing;
    if (ext == ".kvo")
        return openObject(file) ? OpenedAs::kObject : OpenedAs::kNothing;
    ports_.messages.showMessage(notKestrovaneFileMessage(file));
    return OpenedAs::kNothing;
}

} // namespace kv::app
