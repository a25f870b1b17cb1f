#pragma once
/// The preferences the program runs with and the two commands of the
/// Preferences menu that need no dialog: Reset (factory values, the memory
/// settings kept) and Save (the preference file in the data folder).

#include "app/settings/preferences.h"
#include "common/ports/messages.h"

#include <filesystem>
#include <functional>

namespace kv::gui {

class MainWindow;

/// Shown when Preferences > Save cannot write the file.
inline constexpr std::string_view kPreferencesNotSavedMessage =
    "The preferences could not be saved.";

class PreferenceCommands {
  public:
    /// `prefs` must outlive this object; it is the program's preference record.
    PreferenceCommands(MainWindow& window, app::Preferences& prefs,
                       std::filesystem::path dataFolder, MessagePort& messages);

    /// Installs the Reset and Save handlers and shows the current preferences.
    void install();
    /// Hands the grid and camera preferences to the views and re-lays out the camera.
    void applyToViews();
    /// Called after a reset changed the preferences (the simulation reset goes here).
    void setOnReset(std::function<void()> onReset) { onReset_ = std::move(onReset); }

    std::filesystem::path preferenceFile() const;

  private:
    MainWindow& window_;
    app::Preferences& prefs_;
    std::filesystem::path dataFolder_;
    MessagePort& messages_;
    std::function<void()> onReset_;
};

} // namespace kv::gui
