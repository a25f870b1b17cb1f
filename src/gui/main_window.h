#pragma once
/// The main frame: an MDI window holding the camera view, the instrument panel
/// and the project window, with menus and status prompts built from the
/// command table. It only wires: each command runs the handler installed for
/// it, and a command without a handler stays disabled.

#include "app/commands/commands.h"
#include "app/commands/object_library.h"
#include "app/windows/status_window_layout.h"
#include "common/ports/messages.h"
#include "common/ports/notices.h"

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QUrl;

namespace kv::views {
class CameraView;
class InstrumentView;
class KvChildWindow;
class ProjectView;
} // namespace kv::views

namespace kv::gui {

/// Opens one file: a dropped or command-line file by its extension, or an
/// object-library entry as Open Object does.
using FileOpener = std::function<void(const std::filesystem::path& file)>;

class MainWindow final : public QMainWindow, public NoticePort {
    Q_OBJECT
  public:
    explicit MainWindow(MessagePort& messages, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Commands.
    using Handler = std::function<void()>;
    /// Installs the handler of a command (enabling it as its rule allows).
    void setCommandHandler(app::CommandId id, Handler handler);
    bool hasCommandHandler(int id) const;
    /// The menu action of a command id (table or object library), or null.
    QAction* commandAction(int id) const;
    /// Runs a command as its menu item would, if it is enabled.
    void runCommand(int id);
    /// Re-applies the enabling and check rules to every action.
    void refreshCommandStates();
    /// While a run holds the program no command may run: the menus and their
    /// accelerators, the project window and dropped files are inert.
    void setRunActive(bool active);
    bool runActive() const { return runActive_; }
    /// Called after every command and every opened file, so that the views
    /// show what the command changed at once.
    void setAfterCommand(Handler afterCommand) { afterCommand_ = std::move(afterCommand); }
    /// The project part of the state the rules read; the window part is taken
    /// from the windows themselves.
    void setDocumentState(const app::CommandState& state);
    /// Where the project part comes from once a document is wired; it then
    /// replaces the state set above.
    void setDocumentStateSource(std::function<app::CommandState()> source) {
        stateSource_ = std::move(source);
        refreshCommandStates();
    }
    app::CommandState commandState() const;

    // Object library and opening files.
    void setObjectLibrary(std::vector<app::ObjectLibraryEntry> entries);
    const std::vector<app::ObjectLibraryEntry>& objectLibrary() const { return library_; }
    void setFileOpener(FileOpener opener) { fileOpener_ = std::move(opener); }
    void setLibraryOpener(FileOpener opener) { libraryOpener_ = std::move(opener); }
    /// Opens each path in turn (nothing happens until an opener is set).
    void openPaths(const QStringList& paths);
    /// Files dropped on the frame: the local ones are opened in turn.
    void openDroppedUrls(const QList<QUrl>& urls);

    /// Asked before the frame closes (the save prompt); false keeps it open.
    void setCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

    // Windows.
    views::CameraView* cameraView() const { return cameraView_; }
    views::KvChildWindow* cameraWindow() const { return cameraWindow_; }
    views::KvChildWindow* panelWindow() const { return panelWindow_; }
    views::KvChildWindow* projectWindow() const { return projectWindow_; }
    views::InstrumentView* instrumentView() const { return instrumentView_; }
    views::ProjectView* projectView() const { return projectView_; }
    /// Called after every command run and after opened files (id -1), before
    /// the views are redrawn: the project window and the instrument panel
    /// follow what it changed.
    void setCommandDone(std::function<void(int id)> hook) { commandDone_ = std::move(hook); }
    QMdiArea* mdiArea() const { return mdi_; }
    QLabel* statusMessage() const { return statusMessage_; }
    /// While a run is active the status bar says how to steer and how to end
    /// it, whatever the pointer passes over; afterwards it is "Ready" again.
    void showRunPrompt(bool running, std::string_view prompt = app::kRunPrompt);
    /// A note for the user in the status bar: beside the run's prompt during
    /// a run, and alone after it until the next status tip or run.
    void showNotice(std::string_view text) override;

    /// The layout area (the MDI client) and the frames of the child windows.
    app::ScreenMetrics screenMetrics() const;
    /// Window > Reset: shows the two side windows and lays all three out again.
    void resetWindows();
    /// Shows all three windows and gives the camera view the keyboard focus.
    void showAllWindows();
    /// Camera aspect (width / height) and whether the window's own aspect is used.
    void setCameraAspect(float aspect, bool useWindowAspect);

    /// Shows the About box (modal when `blocking`, else window-modal and returns at once).
    void showAboutBox(bool blocking);

  protected:
    bool event(QEvent* event) override;
    /// Notes resizes of the camera view for the view aspect check.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    QMenu* menuFor(const std::vector<std::string_view>& levels);
    void buildStatusBar();
    void createChildWindows();
    void installWindowCommands();
    void focusCameraView();
    /// After a command or an opened file: the command states and every view.
    void viewsChanged();
    /// The view aspect check: a camera view resized away from the view
    /// aspect gets its height back (unless the window's aspect is used).
    void checkViewAspect();

    MessagePort& messages_;
    QMdiArea* mdi_ = nullptr;
    views::CameraView* cameraView_ = nullptr;
    views::InstrumentView* instrumentView_ = nullptr;
    views::ProjectView* projectView_ = nullptr;
    views::KvChildWindow* cameraWindow_ = nullptr;
    views::KvChildWindow* panelWindow_ = nullptr;
    views::KvChildWindow* projectWindow_ = nullptr;
    QLabel* statusMessage_ = nullptr;

    std::map<std::string, QMenu*> menus_;
    std::map<int, QAction*> actions_;
    std::map<int, Handler> handlers_;
    QMenu* objectMenu_ = nullptr;
    std::vector<QAction*> libraryActions_;
    std::vector<app::ObjectLibraryEntry> library_;

    app::CommandState documentState_;
    std::function<app::CommandState()> stateSource_;
    FileOpener fileOpener_;
    FileOpener libraryOpener_;
    std::function<bool()> closeGuard_;
    Handler afterCommand_;
    bool runActive_ = false;
    std::function<void(int)> commandDone_;
    float cameraAspect_ = 1.3333f;
    bool useWindowAspect_ = false;
    bool layingOut_ = false;
    bool aspectCheckPending_ = false;
    bool runPromptShown_ = false;
    QString runPrompt_; ///< the prompt of the run in progress, for the chosen controller
    QString notice_;    ///< the last notice, shown until the next tip or run
};

} // namespace kv::gui
