#include "gui/document_commands.h"

#include "gui/main_window.h"
#include "gui/settings_store.h"
#include "simulation/record_channels.h"

#include <cstdint>
#include <utility>

namespace kv::gui {

using app::CommandId;

DocumentCommands::DocumentCommands(MainWindow& window, app::Document& doc)
    : window_(window), doc_(doc) {}

DocumentCommands::~DocumentCommands() {
    window_.setCloseGuard({});
    window_.setFileOpener({});
    window_.setLibraryOpener({});
    window_.setDocumentStateSource({});
}

app::CommandState DocumentCommands::commandState() const {
    app::CommandState s;
    const app::Document& doc = doc_;
    s.sceneryCount = doc.scenery().count();
    s.objectCount = doc.objectCount();
    s.interactiveCount = doc.interactiveCount();
    s.objectSlots = doc.memory().objectSlots;
    s.recordFrames = doc.memory().recordFrames;
    const sim::RecordChannels& channels = doc.run().channels;
    if (channels.allocated) {
        for (int i = 0; i < sim::kCameraChannel; ++i) {
            if (channels.channels[static_cast<std::size_t>(i)].count > 0)
                s.motionRecorded = true;
        }
        s.cameraMotionRecorded = channels.channels[sim::kCameraChannel].count > 0;
    }
    s.observeMode = doc.state().observeMode != 0;
    s.trimmedStart = doc.trimmedStart();
    if (doc.slotCount() > 0)
        s.vehicleType = doc.object(0).vehicleType;
    return s;
}

void DocumentCommands::handle(CommandId id, std::function<void()> action) {
    window_.setCommandHandler(id, std::move(action));
}

void DocumentCommands::projectChanged() {
    if (afterProjectChange_)
        afterProjectChange_();
}

void DocumentCommands::openFile(const std::filesystem::path& file) {
    const app::OpenedAs opened = doc_.openByExtension(file);
    if (opened == app::OpenedAs::kProject || opened == app::OpenedAs::kProjectDefaults)
        projectChanged();
}

void DocumentCommands::install() {
    window_.setDocumentStateSource([this] { return commandState(); });
    window_.setFileOpener([this](const std::filesystem::path& file) { openFile(file); });
    window_.setLibraryOpener([this](const std::filesystem::path& file) { doc_.openObject(file); });
    window_.setCloseGuard([this] { return doc_.confirmDiscard(); });

    handle(CommandId::AddDxfScenery, [this] { doc_.addScenery(); });
    handle(CommandId::AddDxfTerrain, [this] { doc_.addTerrain(); });
    handle(CommandId::AddDxfObjectGeometry, [this] { doc_.addObjectGeometry(); });
    handle(CommandId::AddDynamicObject, [this] { doc_.addMotionObject(model::kRoleDynamic); });
    handle(CommandId::AddInteractiveDxfStaticObject, [this] { doc_.addStaticObject(); });
    handle(CommandId::AddInteractiveDynamicObject,
           [this] { doc_.addMotionObject(model::kRoleInteractive); });
    handle(CommandId::NewProject, [this] {
        if (!doc_.confirmDiscard())
            return;
        doc_.newProject();
        projectChanged();
        window_.showAllWindows();
    });
    handle(CommandId::OpenProject, [this] {
        if (!doc_.confirmDiscard())
            return;
        // A failed read also replaces the project (with the defaults).
        doc_.openProject();
        projectChanged();
    });
    handle(CommandId::SaveProject, [this] { doc_.saveProject(false); });
    handle(CommandId::SaveProjectAs, [this] { doc_.saveProject(true); });
    handle(CommandId::OpenObject, [this] { doc_.openObject(); });
    handle(CommandId::SaveObjectAs, [this] { doc_.saveObjectAs(0); });
    handle(CommandId::SaveMotionAs, [this] { doc_.saveMotionAs(); });
    handle(CommandId::SaveCameraAs, [this] { doc_.saveCameraAs(); });
    handle(CommandId::ConvertToBioVision, [this] { doc_.convertToBvh(); });
    handle(CommandId::ConvertToAcclaim, [this] { doc_.convertToAcclaim(); });
    handle(CommandId::ConvertToGltf, [this] { doc_.convertToGltf(); });
    handle(CommandId::ExportSceneGltf,
           [this] { doc_.exportScene(std::string("Kestrovane ") + KV_VERSION); });
    handle(CommandId::SimulationReset, [this] {
        doc_.setModified(true);
        doc_.resetSimulation();
    });
    handle(CommandId::Observe, [this] { doc_.toggleObserve(); });
    // A setting of the program, kept between sessions, not of the project.
    doc_.setTrimmedStart(startTrimmed());
    handle(CommandId::StartTrimmed, [this] {
        doc_.setTrimmedStart(!doc_.trimmedStart());
        setStartTrimmed(doc_.trimmedStart());
        doc_.resetSimulation();
    });
    const std::pair<CommandId, std::int32_t> vehicles[] = {
        {CommandId::VehicleCar, model::kVehicleCar},
        {CommandId::VehicleMotorcycle, model::kVehicleMotorcycle},
        {CommandId::VehicleAircraft, model::kVehicleAircraft},
        {CommandId::VehicleHelicopter, model::kVehicleHelicopter},
    };
    for (const auto& [id, type] : vehicles) {
        handle(id, [this, type = type] { doc_.newVehicle(type); });
    }
}

} // namespace kv::gui
