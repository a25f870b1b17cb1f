#pragma once
/// Start-up of the desktop program: the data folder from the settings, the
/// preference file, the object library, the project document with its memory,
/// the main frame with its three windows, the About box and the files named on
/// the command line.

#include "app/document/document.h"
#include "app/settings/preferences.h"
#include "geometry/working_files.h"
#include "gui/condition_commands.h"
#include "gui/customize_commands.h"
#include "gui/document_commands.h"
#include "gui/live_run.h"
#include "gui/main_window.h"
#include "gui/preference_commands.h"
#include "gui/qt_dxf_import.h"
#include "gui/qt_file_dialogs.h"
#include "gui/qt_message_box.h"
#include "gui/qt_progress.h"
#include "gui/qt_questions.h"
#include "gui/session_guard.h"
#include "gui/view_links.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>

namespace kv::gui {

/// Shown when the private folder of the scenery and terrain working files
/// cannot be made; the program does not start.
inline constexpr std::string_view kNoWorkingFolderMessage =
    "The folder for the scenery and terrain working files could not be created.";

class DesktopApp {
  public:
    /// Reads the settings (storing `currentFolder` as the data folder when none
    /// is stored yet), the preferences and the object library, allocates the
    /// project's memory and builds the main frame. Needs a running
    /// QApplication. `files` replaces the Qt file dialogs when given (it must
    /// outlive this object).
    explicit DesktopApp(const QString& currentFolder, FilePort* files = nullptr);
    /// A clean end: the recovery data of this session are no longer needed.
    ~DesktopApp();
    DesktopApp(const DesktopApp&) = delete;
    DesktopApp& operator=(const DesktopApp&) = delete;

    /// False when start-up failed (the user has been told): the program ends.
    bool ready() const { return document_ != nullptr && allocated_; }

    /// Shows the frame at full size, then, once it has its size, lays the
    /// windows out, shows the About box (when `showAbout`) and opens `paths`
    /// in turn by their type.
    void start(const QStringList& paths, bool showAbout = true);

    MainWindow& window() { return window_; }
    /// The program's preferences (the document's).
    app::Preferences& preferences() { return document_->preferences(); }
    app::Document& document() { return *document_; }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }
    ProgressPort& progress() { return progress_; }
    MessagePort& messages() { return messages_; }
    /// Live runs in the camera view; null when start-up failed.
    LiveRun* live() { return live_.get(); }
    /// The instrument panel and the project window; null when start-up failed.
    ViewLinks* viewLinks() { return viewLinks_.get(); }
    /// Recovery data and stop requests; null when start-up failed.
    SessionGuard* session() { return session_.get(); }

  private:
    std::filesystem::path dataFolder_;
    QtMessageBox messages_;
    MainWindow window_;
    QtFileDialogs fileDialogs_;
    QtProgress progress_;
    QtQuestions questions_;
    std::unique_ptr<geom::PrivateWorkingFolder> folder_;
    std::unique_ptr<app::Document> document_;
    std::unique_ptr<QtDxfImport> dxfImport_;
    std::unique_ptr<PreferenceCommands> preferenceCommands_;
    std::unique_ptr<DocumentCommands> documentCommands_;
    std::unique_ptr<LiveRun> live_;
    std::unique_ptr<ConditionCommands> conditionCommands_;
    std::unique_ptr<CustomizeCommands> customizeCommands_;
    std::unique_ptr<ViewLinks> viewLinks_;
    std::unique_ptr<SessionGuard> session_;
    bool allocated_ = false;
};

} // namespace kv::gui
