#include "gui/preference_commands.h"

#include "app/dialogs/camera_form.h"
#include "app/dialogs/grid_form.h"
#include "app/dialogs/memory_command.h"
#include "app/dialogs/working_units_form.h"
#include "app/document/document.h"
#include "app/settings/preferences_file.h"
#include "dialogs/camera_dialog.h"
#include "dialogs/controller_dialog.h"
#include "dialogs/grid_dialog.h"
#include "dialogs/memory_dialog.h"
#include "dialogs/recovery_dialog.h"
#include "dialogs/working_units_dialog.h"
#include "gui/main_window.h"
#include "gui/sdl_gamepad.h"
#include "gui/sdl_joystick.h"
#include "views/camera_view.h"

#include <QCoreApplication>

namespace kv::gui {

using app::CommandId;

PreferenceCommands::PreferenceCommands(MainWindow& window, app::Preferences& prefs,
                                       std::filesystem::path dataFolder, MessagePort& messages)
    : window_(window), prefs_(prefs), dataFolder_(std::move(dataFolder)), messages_(messages),
      joystick_([] { return SdlJoystick().present(); }),
      gamepad_([] { return SdlGamepad().connectedName(); }),
      physical_([] { return app::totalPhysicalMemory(); }) {}

std::filesystem::path PreferenceCommands::preferenceFile() const {
    return dataFolder_ / app::kPreferenceFileName;
}

void PreferenceCommands::install() {
    window_.setCommandHandler(CommandId::PreferencesReset, [this] {
        app::factoryReset(prefs_, false);
        applyToViews();
        if (onReset_)
            onReset_();
        if (onRecoveryChanged_)
            onRecoveryChanged_();
    });
    window_.setCommandHandler(CommandId::PreferencesSave, [this] {
        if (!app::writePreferenceFile(preferenceFile(), prefs_)) {
            messages_.showMessage(kPreferencesNotSavedMessage);
        }
    });
    window_.setCommandHandler(CommandId::PreferencesWorkingUnits, [this] { workingUnits(); });
    window_.setCommandHandler(CommandId::PreferencesGrid, [this] { grid(); });
    window_.setCommandHandler(CommandId::PreferencesController, [this] { controller(); });
    window_.setCommandHandler(CommandId::PreferencesCamera, [this] { camera(); });
    window_.setCommandHandler(CommandId::PreferencesRecovery, [this] { recovery(); });
    applyToViews();
}

void PreferenceCommands::setDocument(app::Document& document) {
    document_ = &document;
    window_.setCommandHandler(CommandId::PreferencesMemory, [this] { memory(); });
}

void PreferenceCommands::applyToViews() {
    window_.cameraView()->setGrid(prefs_.gridSpacing, prefs_.gridSize);
    window_.cameraView()->setFieldOfView(prefs_.fieldOfView);
    window_.setCameraAspect(prefs_.aspectRatio, prefs_.useWindowAspect != 0);
}

void PreferenceCommands::viewsChanged() {
    applyToViews();
    if (onViewsChanged_)
        onViewsChanged_();
    else
        window_.cameraView()->update();
}

void PreferenceCommands::workingUnits() {
    dialogs::WorkingUnitsDialog dialog(prefs_, &window_);
    if (dialog.exec() == QDialog::Accepted)
        app::applyWorkingUnitsForm(dialog.form(), prefs_);
}

void PreferenceCommands::grid() {
    dialogs::GridDialog dialog(prefs_, messages_, &window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const app::GridChange change = app::applyGridForm(dialog.form(), prefs_);
    const bool terrain = document_ != nullptr && document_->terrain().present();
    // The grid shows only without a terrain; the terrain's lists follow its resolution step.
    if ((!terrain && change.gridChanged) || (terrain && change.resolutionChanged)) {
        viewsChanged();
    } else {
        applyToViews();
        window_.cameraView()->update();
    }
}

void PreferenceCommands::controller() {
    dialogs::ControllerDialog dialog(prefs_, joystick_, messages_, &window_, gamepad_);
    if (dialog.exec() == QDialog::Accepted)
        prefs_ = dialog.preferences();
}

void PreferenceCommands::camera() {
    dialogs::CameraDialog dialog(prefs_, messages_, &window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const app::CameraChange change = app::applyCameraForm(dialog.form(), prefs_);
    if (change.relayout || change.lensOrOverlays) {
        viewsChanged();
    } else {
        // The window still learns whether its own aspect is used from now on.
        applyToViews();
        window_.cameraView()->update();
    }
}

void PreferenceCommands::recovery() {
    dialogs::RecoveryDialog dialog(app::recoveryMinutes(prefs_), &window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    app::setRecoveryMinutes(prefs_, dialog.minutes());
    if (onRecoveryChanged_)
        onRecoveryChanged_();
}

void PreferenceCommands::memory() {
    if (document_ == nullptr)
        return;
    const std::optional<std::int64_t> total = physical_ ? physical_() : std::nullopt;
    const float framePeriod = prefs_.framePeriod;
    const app::MemoryCommandResult result = app::runMemoryCommand(
        *document_,
        [&](const app::MemoryForm& start) -> std::optional<app::MemoryForm> {
            dialogs::MemoryDialog dialog(start, framePeriod, total, messages_, &window_);
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.form();
        },
        total);
    switch (result) {
    case app::MemoryCommandResult::kCancelled:
        return;
    case app::MemoryCommandResult::kDone:
        viewsChanged();
        window_.refreshCommandStates();
        return;
    case app::MemoryCommandResult::kFailed:
        if (onFatal_)
            onFatal_();
        else
            QCoreApplication::exit(EXIT_FAILURE);
        return;
    }
}

} // namespace kv::gui
