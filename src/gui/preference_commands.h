#pragma once
/// The preferences the program runs with and the Preferences menu: Reset
/// (factory values, the memory settings kept), Save (the preference file in
/// the data folder), and the Working Units, Grid, Controller, Camera and
/// Memory dialogs. Their values take effect at once; none marks the project
/// modified.

#include "app/dialogs/controller_form.h"
#include "app/settings/memory_info.h"
#include "app/settings/preferences.h"
#include "common/ports/messages.h"

#include <filesystem>
#include <functional>

namespace kv::app {
class Document;
}

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

    /// Installs the handlers and shows the current preferences. The Memory
    /// command needs the document and is installed by setDocument.
    void install();
    /// Hands the grid and camera preferences to the views and re-lays out the camera.
    void applyToViews();
    /// Called after a reset changed the preferences (the simulation reset goes here).
    void setOnReset(std::function<void()> onReset) { onReset_ = std::move(onReset); }
    /// The project document (the terrain the Grid dialog asks about; the
    /// buffers the Memory command replaces), which must outlive this object;
    /// installs the Memory command.
    void setDocument(app::Document& document);
    /// Called when the scene's display lists must be rebuilt (grid, terrain
    /// resolution, lens, overlays) or, after Memory, the whole project shown
    /// again; the views redraw from it.
    void setOnViewsChanged(std::function<void()> callback) {
        onViewsChanged_ = std::move(callback);
    }
    /// Called when the Memory command could not allocate even the fallback:
    /// the program must end.
    void setOnFatal(std::function<void()> callback) { onFatal_ = std::move(callback); }
    /// Called after Preferences > Recovery... or Reset changed the recovery interval.
    void setOnRecoveryChanged(std::function<void()> callback) {
        onRecoveryChanged_ = std::move(callback);
    }
    /// Whether joystick 0 answers (SDL by default).
    void setJoystickProbe(app::JoystickProbe probe) { joystick_ = std::move(probe); }
    /// The name of the gamepad a run would take, empty for none (SDL by default).
    void setGamepadProbe(app::GamepadProbe probe) { gamepad_ = std::move(probe); }
    /// The machine's physical memory (/proc/meminfo by default).
    void setPhysicalMemory(app::PhysicalMemoryQuery query) { physical_ = std::move(query); }

    std::filesystem::path preferenceFile() const;

    // The dialog commands, as their menu items run them.
    void workingUnits();
    void grid();
    void controller();
    void camera();
    void memory();
    void recovery();

  private:
    void viewsChanged();

    MainWindow& window_;
    app::Preferences& prefs_;
    std::filesystem::path dataFolder_;
    MessagePort& messages_;
    app::Document* document_ = nullptr;
    std::function<void()> onReset_;
    std::function<void()> onViewsChanged_;
    std::function<void()> onFatal_;
    std::function<void()> onRecoveryChanged_;
    app::JoystickProbe joystick_;
    app::GamepadProbe gamepad_;
    app::PhysicalMemoryQuery physical_;
};

} // namespace kv::gui
