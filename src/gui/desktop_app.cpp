// The run state's "slots" member must be read before Qt defines its macro.
// clang-format off
#include "gui/desktop_document.h"
#include "gui/live_run.h"
// clang-format on

#include "gui/desktop_app.h"

#include "app/commands_documents.h"
#include "app/preferences_file.h"
#include "gui/settings_store.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace kv::gui {

namespace {

std::filesystem::path storedDataFolder(const QString& currentFolder) {
    return QFile::encodeName(ensureDataFolder(currentFolder)).toStdString();
}

} // namespace

DesktopApp::DesktopApp(const QString& currentFolder)
    : dataFolder_(storedDataFolder(currentFolder)), window_(messages_), files_(&window_),
      progress_(&window_), preferenceCommands_(window_, preferences_, dataFolder_, messages_) {
    messages_.setParent(&window_);
    app::loadPreferencesAtStartUp(dataFolder_, preferences_);
    preferenceCommands_.install();
    window_.setObjectLibrary(app::listObjectLibrary(dataFolder_));
    document_ = DesktopDocument::create(&window_, messages_, progress_, files_, preferences_);
    if (document_) {
        live_ = std::make_unique<LiveRun>(document_->document(), *window_.cameraView(), messages_);
        window_.setCommandHandler(app::CommandId::Begin, [this] { live_->begin(); });
    }
}

DesktopApp::~DesktopApp() = default;

app::Document* DesktopApp::document() {
    return document_ ? &document_->document() : nullptr;
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
        if (showAbout)
            window_.showAboutBox(false);
        if (!paths.isEmpty()) {
            window_.openPaths(paths);
            window_.showAllWindows();
        }
    });
}

} // namespace kv::gui
