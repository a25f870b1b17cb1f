#include "gui/desktop_app.h"

#include "app/commands/object_library.h"
#include "app/settings/memory_info.h"
#include "app/settings/memory_settings.h"
#include "app/settings/preferences_file.h"
#include "gui/sdl_gamepad.h"
#include "gui/sdl_joystick.h"
#include "gui/settings_store.h"
#include "views/camera_view.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <cctype>

namespace kv::gui {

namespace {

std::filesystem::path storedDataFolder(const QString& currentFolder) {
    return QFile::encodeName(ensureDataFolder(currentFolder)).toStdString();
}

/// A fresh install drives with what is plugged in, else with the arrow keys.
app::ControllerDevice connectedDevice() {
    const bool gamepad = !SdlGamepad().connectedName().empty();
    return app::freshInstallDevice(gamepad, !gamepad && SdlJoystick().present());
}

/// The user's recovery folder: beside the program's settings, so that each
/// settings folder (a profile, a test) has recovery data of its own.
std::filesystem::path recoveryRoot() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return std::filesystem::path(QFile::encodeName(config).toStdString()) / "recovery";
}

/// How long the note about removed working folders stays in the status bar (ms).
constexpr int kSweepNoteMs = 15000;

} // namespace

DesktopApp::DesktopApp(const QString& currentFolder, FilePort* files)
    : dataFolder_(storedDataFolder(currentFolder)), window_(messages_), fileDialogs_(&window_),
      progress_(&window_), questions_(&window_), folder_(geom::PrivateWorkingFolder::create()) {
    messages_.setParent(&window_);
    if (folder_ == nullptr) {
        messages_.showMessage(kNoWorkingFolderMessage);
        return;
    }
    document_ = std::make_unique<app::Document>(app::DocumentPorts{
        messages_, progress_, files != nullptr ? *files : fileDialogs_, questions_, *folder_});
    app::Preferences& prefs = document_->preferences();
    app::loadPreferencesAtStartUp(dataFolder_, prefs, connectedDevice);
    dxfImport_ = std::make_unique<QtDxfImport>(prefs, messages_, &window_);
    document_->setDxfImportPort(dxfImport_.get());
    // Ends with a new project: a Car from its template, the simulation reset.
    allocated_ =
        document_->allocate(app::memorySettingsOf(prefs), true, app::totalPhysicalMemory());

    preferenceCommands_ =
        std::make_unique<PreferenceCommands>(window_, prefs, dataFolder_, messages_);
    preferenceCommands_->setOnReset([this] { document_->resetSimulation(); });
    preferenceCommands_->install();
    documentCommands_ = std::make_unique<DocumentCommands>(window_, *document_);
    live_ = std::make_unique<LiveRun>(*document_, *window_.cameraView(), messages_);
    live_->setNotices(&window_);
    if (views::SceneSurface* surface = window_.cameraView()->surface())
        surface->setProgress(&progress_);
    window_.cameraView()->setGlFailureHandler(
        [this](std::string_view message) { messages_.showMessage(message); });
    documentCommands_->setAfterProjectChange([this] {
        preferenceCommands_->applyToViews();
        live_->projectChanged();
        // A project brings its own preference record, the interval included.
        if (session_)
            session_->setIntervalMinutes(app::recoveryMinutes(document_->preferences()));
    });
    documentCommands_->install();
    window_.setCommandHandler(app::CommandId::Begin, [this] {
        window_.showRunPrompt(true, live_->runPrompt());
        live_->begin();
        window_.showRunPrompt(false);
    });
    // Simulation > Follow Path...: the next Begin drives the chosen path.
    FilePort* const pathFiles = files != nullptr ? files : &fileDialogs_;
    window_.setCommandHandler(app::CommandId::FollowPath,
                              [this, pathFiles] { live_->chooseAndFollowPath(*pathFiles); });
    // Object > Customize: the dialogs on the simulated object.
    customizeCommands_ = std::make_unique<CustomizeCommands>(window_, *document_, messages_);
    customizeCommands_->setRebuildDisplay([this] {
        if (views::SceneSurface* surface = window_.cameraView()->surface())
            surface->rebuildLists();
    });
    customizeCommands_->setRedraw([this] {
        if (views::SceneSurface* surface = window_.cameraView()->surface())
            surface->update();
    });
    customizeCommands_->install();
    live_->setRunningChanged([this](bool running) { window_.setRunActive(running); });
    window_.setAfterCommand([this] { live_->redraw(); });
    window_.setObjectLibrary(app::listObjectLibrary(dataFolder_));

    // Simulation conditions and the preference dialogs: the scene's lists are
    // rebuilt (with the progress display set above) when a dialog changes them.
    const auto redraw = [this] {
        preferenceCommands_->applyToViews();
        live_->projectChanged();
        window_.refreshCommandStates();
    };
    conditionCommands_ = std::make_unique<ConditionCommands>(window_, *document_, messages_);
    conditionCommands_->setRedraw(redraw);
    conditionCommands_->install();
    preferenceCommands_->setDocument(*document_);
    preferenceCommands_->setOnViewsChanged([this] { live_->projectChanged(); });
    preferenceCommands_->setOnFatal([this] {
        window_.setCloseGuard({});
        QCoreApplication::exit(EXIT_FAILURE);
    });
    // The instrument panel and the project window follow the run and every command.
    viewLinks_ = std::make_unique<ViewLinks>(window_, *document_, *live_, messages_);

    session_ =
        std::make_unique<SessionGuard>(*document_, *live_, messages_, recoveryRoot(), &window_);
    live_->setRunEnded([this] { session_->runEnded(); });
    session_->setIntervalMinutes(app::recoveryMinutes(prefs));
    session_->setRemoveWorkingFolders([this] {
        window_.setCloseGuard({});
        std::error_code ec;
        std::filesystem::remove_all(folder_->folder(), ec);
    });
    session_->setBusy([this] { return progress_.active(); });
    preferenceCommands_->setOnRecoveryChanged(
        [this] { session_->setIntervalMinutes(app::recoveryMinutes(document_->preferences())); });
    session_->setAfterRecovery([this] {
        preferenceCommands_->applyToViews();
        live_->projectChanged();
        window_.refreshCommandStates();
    });
}

DesktopApp::~DesktopApp() {
    if (session_)
        session_->cleanExit();
}

void DesktopApp::start(const QStringList& paths, bool showAbout) {
    // Without a window manager a maximised window keeps its default size: start at full size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window_.setGeometry(screen->availableGeometry());
    }
    window_.showMaximized();
    QTimer::singleShot(0, &window_, [this, paths, showAbout] {
        // The platform's resize of the frame may still be on its way: take it first.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        window_.resetWindows();
        window_.showAllWindows();
        // Working folders of programs that were killed would otherwise stay for good.
        std::string freed = geom::staleSweepMessage(geom::removeStaleWorkingFolders());
        if (!freed.empty()) {
            freed[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(freed[0])));
            window_.statusBar()->showMessage(QString::fromStdString(freed + "."), kSweepNoteMs);
        }
        if (showAbout)
            window_.showAboutBox(false);
        if (session_)
            session_->offerRecovery();
        if (!paths.isEmpty()) {
            window_.openPaths(paths);
            window_.showAllWindows();
        }
    });
}

} // namespace kv::gui
