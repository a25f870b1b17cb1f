#pragma once
/// Start-up of the desktop program: the data folder from the settings, the
/// preference file, the object library, the main frame with its three windows,
/// the About box and the files named on the command line.

#include "app/preferences.h"
#include "gui/main_window.h"
#include "gui/preference_commands.h"
#include "gui/qt_file_dialogs.h"
#include "gui/qt_message_box.h"
#include "gui/qt_progress.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>

namespace kv::app {
class Document;
}

namespace kv::gui {

class DesktopDocument;
class LiveRun;

class DesktopApp {
  public:
    /// Reads the settings (storing `currentFolder` as the data folder when none
    /// is stored yet), the preferences and the object library, and builds the
    /// main frame. Needs a running QApplication.
    explicit DesktopApp(const QString& currentFolder);
    ~DesktopApp();

    /// Shows the frame at full size, then, once it has its size, lays the
    /// windows out, shows the About box (when `showAbout`) and opens `paths`
    /// in turn by their type.
    void start(const QStringList& paths, bool showAbout = true);

    MainWindow& window() { return window_; }
    app::Preferences& preferences() { return preferences_; }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }
    FilePort& files() { return files_; }
    ProgressPort& progress() { return progress_; }
    MessagePort& messages() { return messages_; }
    /// The project document; null when it could not be set up.
    app::Document* document();
    /// Live runs in the camera view; null without a document.
    LiveRun* live() { return live_.get(); }

  private:
    std::filesystem::path dataFolder_;
    QtMessageBox messages_;
    MainWindow window_;
    QtFileDialogs files_;
    QtProgress progress_;
    app::Preferences preferences_;
    PreferenceCommands preferenceCommands_;
    std::unique_ptr<DesktopDocument> document_;
    std::unique_ptr<LiveRun> live_;
};

} // namespace kv::gui
