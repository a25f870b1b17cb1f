#include "app/document/document.h"

#include "app/document/start_notice.h"
#include "app/settings/memory_allocation.h"
#include "app/settings/units.h"
#include "model/object_model.h"
#include "model/template.h"
#include "model/template_mesh.h"
#include "simulation/collision/mesh_collision_pair.h"
#include "simulation/contact/contact_geometry.h"
#include "simulation/contact/contact_setup.h"
#include "simulation/reset_simulation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace kv::app {

Document::Document(DocumentPorts ports)
    : ports_(ports), meshes_(ports.messages), scenery_(ports.folder),
      terrain_(std::make_unique<geom::TerrainStore>(ports.folder, kFactoryMemory.terrainGrid)) {}

Document::~Document() {
    scenery_.clear();
    terrain_->discardTerrain();
}

bool Document::allocate(MemorySettings settings, bool startUp,
                        std::optional<std::int64_t> totalPhysical) {
    SteppedMemory memory;
    memory.addStep({[this](const MemorySettings& s) {
                        objects_.assign(static_cast<std::size_t>(s.objectSlots),
                                        model::ObjectRecord{});
                        return true;
                    },
                    [this] { objects_.clear(); }});
    memory.addStep({[this](const MemorySettings& s) { return meshes_.allocate(s.objectSlots); },
                    [this] { meshes_.release(); }});
    memory.addStep({[this](const MemorySettings& s) {
                        return motions_.allocate(s.objectSlots, s.recordFrames);
                    },
                    [this] { motions_.release(); }});
    memory.addStep(
        {[this](const MemorySettings& s) { return run_.channels.allocate(s.recordFrames); },
         [this] { run_.channels.release(); }});
    memory.addStep({[this](const MemorySettings& s) {
                        terrain_->changeResolution(s.terrainGrid, ports_.progress, ports_.messages);
                        return true;
                    },
                    [] {}});
    const bool ok = allocateWithFallback(settings, memory, startUp, totalPhysical, ports_.messages);
    memory_ = settings;
    setMemorySettings(preferences_, settings);
    if (!ok)
        return false;
    newProject();
    return true;
}

bool Document::canAddDynamicObject() const {
    return app::canAddDynamicObject(objectCount(), memory_);
}

bool Document::canAddInteractiveObject() const {
    return interactiveCount_ < 2 && app::canAddInteractiveObject(objectCount(), memory_);
}

sim::RunSettings Document::runSettings() const {
    sim::RunSettings s;
    s.dt = preferences_.simTimeStep;
    s.framePeriod = preferences_.framePeriod;
    s.recordCapacity = run_.channels.allocated ? run_.channels.capacity : 0;
    s.observe = state_.observeMode != 0;
    s.interactiveCount = std::clamp(interactiveCount_, 1, 2);
    s.trimmedStart = trimmedStart_;
    s.environment = environment();
    ground_ = sim::TerrainGround(terrain_->ground());
    s.ground = &ground_;
    s.meshes = &meshes_;
    return s;
}

std::span<model::ObjectRecord> Document::runObjects() {
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(std::max(0, objectCount())),
                                         objects_.size() > 0 ? objects_.size() - 1 : 0);
    return std::span<model::ObjectRecord>(objects_).first(n);
}

void Document::resetSimulation() {
    if (objects_.empty())
        return;
    sim::ResetSimulation(run_, runSettings(), runObjects());
}

model::InitialConditions Document::onGround(const model::InitialConditions& initial) const {
    model::InitialConditions out = initial;
    if (objects_.empty())
        return out;
    model::ObjectRecord record = objects_.front();
    record.initial = initial;
    model::deriveRunLimits(record);
    const sim::RunSettings settings = runSettings();
    const float depth = sim::initialContactDepth(record, settings,
                                                 sim::contactVerticesOf(settings.meshes, 0))
                            .atRest;
    if (std::isfinite(depth)) {
        out.position[2] -= depth;
    } else {
        sim::GroundCursor cursor;
        out.position[2] = settings.ground->height(cursor, true, initial.position[0],
                                                  initial.position[1]);
    }
    return out;
}

sim::Environment Document::environment() const {
    const ProjectEnvironment& e = state_.environment;
    sim::Environment out;
    out.gravity = state_.gravity;
    out.turbulenceOn = e.turbulenceOn;
    out.windOn = e.steadyWindOn;
    out.windSpeed = e.windSpeed;
    out.windDirection = e.windDirection;
    out.turbulenceStrength = e.turbulenceStrength;
    out.turbulenceDuration = e.turbulenceDuration;
    out.externalForce.axes = e.forceWorldAxes;
    out.externalForce.point = e.forcePoint;
    out.externalForce.force = e.force;
    out.externalForce.moment = e.moment;
    return out;
}

void Document::setEnvironment(const sim::Environment& environment) {
    ProjectEnvironment& e = state_.environment;
    state_.gravity = environment.gravity;
    e.turbulenceOn = environment.turbulenceOn;
    e.steadyWindOn = environment.windOn;
    e.windSpeed = environment.windSpeed;
    e.windDirection = environment.windDirection;
    e.turbulenceStrength = environment.turbulenceStrength;
    e.turbulenceDuration = environment.turbulenceDuration;
    e.forceWorldAxes = environment.externalForce.axes;
    e.forcePoint = environment.externalForce.point;
    e.force = environment.externalForce.force;
    e.moment = environment.externalForce.moment;
}

void Document::runSimulation(const sim::RunPorts& ports, NoticePort* notices) {
    if (objects_.empty())
        return;
    const sim::RunSettings settings = runSettings();
    state_.collisionOn = settings.interactiveCount >= 2 && !settings.observe ? 1 : 0;
    // Without a pair of the caller's, the interactive objects collide through
    // their meshes, in the desktop program and the command-line tool alike.
    sim::MeshCollisionPair meshPair(meshes_);
    sim::RunPorts withPair = ports;
    if (withPair.collision == nullptr)
        withPair.collision = &meshPair;
    if (notices != nullptr) {
        withPair.afterReset = [this, notices, previous = ports.afterReset](const sim::RunState& run) {
            if (previous)
                previous(run);
            for (const std::string& text : startNotices(run, runObjects(), workingUnitsOf(preferences())))
                notices->showNotice(text);
        };
    }
    // The vehicle has the controller when a run starts, even after a camera
    // preview that ended with ESC; F12 within the run hands it over only for
    // that run.
    releaseCameraControl();
    sim::RunSimulation(run_, settings, runObjects(), camera_, withPair);
    releaseCameraControl();
}

void Document::releaseCameraControl() {
    camera_.cameraControl = 0;
    run_.cameraControls = sim::ControlRecord{};
}

void Document::resetCameraSlot() {
    if (objects_.empty())
        return;
    model::ObjectRecord& camera = objects_.back();
    camera = model::ObjectRecord{};
    camera.vehicleType = model::kVehicleNone;
    camera.role = model::kRoleDynamic;
    const char name[] = "Camera";
    std::memcpy(camera.name.data(), name, sizeof(name));
}

void Document::recountInteractive() {
    int n = 0;
    for (int i = 0; i < objectCount(); ++i) {
        const std::int32_t role = object(i).role;
        if (role == model::kRoleInteractive || role == model::kRoleStatic)
            ++n;
    }
    interactiveCount_ = std::max(1, n);
}

void Document::newProject() {
    if (objects_.empty())
        return;
    for (auto& r : objects_)
        r = model::ObjectRecord{};
    for (int i = 0; i < motions_.slotCount(); ++i)
        motions_.clearSlot(i);
    model::ObjectRecord& car = objects_.front();
    car.vehicleType = model::kVehicleCar;
    car.role = model::kRoleInteractive;
    model::applyTemplate(car);
    if (meshes_.hasStore()) {
        for (int i = 0; i < meshes_.slotCount(); ++i)
            meshes_.clearGeometry(i);
    }
    loadTemplateGeometry(model::kVehicleCar);
    keepAboveLevelGround();
    resetCameraSlot();
    scenery_.clear();
    terrain_->discardTerrain();
    state_ = newProjectState();
    interactiveCount_ = 1;
    hasFile_ = false;
    projectPath_.clear();
    currentObjectName_ = std::string(car.name.data(), strnlen(car.name.data(), car.name.size()));
    motionNames_.assign(objects_.size(), std::string());
    cameraMotionName_.clear();
    modified_ = false;
    resetSimulation();
}

void Document::loadTemplateGeometry(std::int32_t vehicleType) {
    if (!meshes_.hasStore())
        return;
    meshes_.clearGeometry(0);
    model::loadTemplateMesh(vehicleType, [this](const std::array<double, 12>& corners) {
        return meshes_.addFace(corners);
    });
    meshes_.thinContactVertices(0);
}

void Document::keepAboveLevelGround() {
    if (!meshes_.hasStore())
        return;
    // A vehicle started with its centre of gravity on the ground has its wheels
    // buried; the suspension then throws it into the air and usually over.
    model::ObjectRecord& vehicle = objects_.front();
    const geom::SlotMesh& mesh = meshes_.mesh(0);
    float depth = 0.0f; // lowest point below the centre of gravity (ft, body z down)
    for (int v = 0; v < mesh.vertexCount; ++v)
        depth = std::max(depth, mesh.vertices[static_cast<std::size_t>(v)][2] * kFeetPerMetre);
    // Tires and skids hang below the body: their unloaded bottoms as the
    // contact model places them.
    auto probe = std::make_unique<sim::SimObject>();
    sim::SetUpContacts(vehicle, *probe, preferences_.simTimeStep, nullptr, {});
    const sim::GroundContactState& g = probe->groundContact;
    for (int t = 0; t < g.effectorCount; ++t) {
        const sim::ContactEffector& c = g.effectors[static_cast<std::size_t>(t)];
        const sim::EffectorPose rest = sim::effectorPose(g, c.effector, sim::ControlBlock{});
        depth = std::max(depth, rest.position[2] + c.radius);
    }
    float& down = vehicle.initial.position[2]; // ft
    down = std::min(down, -depth);
}

bool Document::newVehicle(std::int32_t vehicleType) {
    if (objects_.empty() || vehicleType < model::kVehicleCar ||
        vehicleType > model::kVehicleHelicopter)
        return false;
    state_.observeMode = 0;
    if (vehicleType != model::kVehicleHelicopter)
        effectorEditorMemory_.selected = 0;
    model::ObjectRecord& vehicle = objects_.front();
    // The template overwrites what it defines and leaves the rest as it was.
    vehicle.vehicleType = vehicleType;
    model::applyTemplate(vehicle);
    loadTemplateGeometry(vehicleType);
    keepAboveLevelGround();
    currentObjectName_ =
        std::string(vehicle.name.data(), strnlen(vehicle.name.data(), vehicle.name.size()));
    modified_ = true;
    resetSimulation();
    return true;
}

void Document::toggleObserve() {
    state_.observeMode = state_.observeMode != 0 ? 0 : 1;
    modified_ = true;
    resetSimulation();
}

bool Document::removeObject(int slot) {
    if (slot < 1 || slot >= objectCount())
        return false;
    const std::int32_t role = object(slot).role;
    motions_.removeSlotMotion(slot);
    meshes_.removeGeometry(slot);
    // The camera slot stays where it is; the objects up to it move down.
    const int last = objectCount() - 1;
    for (int i = slot; i < last; ++i)
        objects_[static_cast<std::size_t>(i)] = objects_[static_cast<std::size_t>(i) + 1];
    objects_[static_cast<std::size_t>(last)] = model::ObjectRecord{};
    // The stores moved the camera slot's scratch data down too; the slot it
    // landed in is no object's, so it is emptied.
    const int freed = cameraSlot() - 1;
    if (freed >= last) {
        motions_.clearSlot(freed);
        meshes_.clearGeometry(freed);
    }
    if (static_cast<std::size_t>(slot) < motionNames_.size()) {
        motionNames_.erase(motionNames_.begin() + slot);
        motionNames_.push_back(std::string());
    }
    if (role == model::kRoleInteractive || role == model::kRoleStatic)
        interactiveCount_ = std::max(1, interactiveCount_ - 1);
    --state_.objectCount;
    if (state_.cameraFollows >= state_.objectCount)
        state_.cameraFollows = 0;
    modified_ = true;
    resetSimulation();
    return true;
}

bool Document::removeScenery(int set) {
    if (!scenery_.removeScenery(set, ports_.messages))
        return false;
    modified_ = true;
    resetSimulation();
    return true;
}

void Document::removeTerrain() {
    terrain_->discardTerrain();
    state_.terrainPresent = 0;
    modified_ = true;
    resetSimulation();
}

bool Document::confirmDiscard(const std::string& format) {
    if (!modified_)
        return true;
    std::string text = format;
    const auto at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, projectName());
    switch (ports_.questions.askSaveFirst(text)) {
    case SaveAnswer::kSave:
        return saveProject(false);
    case SaveAnswer::kDontSave:
        return true;
    case SaveAnswer::kCancel:
        break;
    }
    return false;
}

ProjectContents Document::contents() {
    return ProjectContents{state_, preferences_, objects_, meshes_, motions_, scenery_, *terrain_};
}

} // namespace kv::app
