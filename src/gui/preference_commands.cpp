#include "gui/preference_commands.h"

#include "app/settings/preferences_file.h"
#include "gui/main_window.h"
#include "views/camera_view.h"

namespace kv::gui {

PreferenceCommands::PreferenceCommands(MainWindow& window, app::Preferences& prefs,
                                       std::filesystem::path dataFolder, MessagePort& messages)
    : window_(window), prefs_(prefs), dataFolder_(std::move(dataFolder)), messages_(messages) {}

std::filesystem::path PreferenceCommands::preferenceFile() const {
    return dataFolder_ / app::kPreferenceFileName;
}

void PreferenceCommands::install() {
    window_.setCommandHandler(app::CommandId::PreferencesReset, [this] {
        app::factoryReset(prefs_, false);
        applyToViews();
        if (onReset_)
            onReset_();
    });
    window_.setCommandHandler(app::CommandId::PreferencesSave, [this] {
        if (!app::writePreferenceFile(preferenceFile(), prefs_)) {
            messages_.showMessage(kPreferencesNotSavedMessage);
        }
    });
    applyToViews();
}

void PreferenceCommands::applyToViews() {
    window_.cameraView()->setGrid(prefs_.gridSpacing, prefs_.gridSize);
    window_.cameraView()->setFieldOfView(prefs_.fieldOfView);
    window_.setCameraAspect(prefs_.aspectRatio, prefs_.useWindowAspect != 0);
}

} // namespace kv::gui
