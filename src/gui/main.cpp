// kestrovane: the desktop program.
#include "app/commands_documents.h"
#include "app/preferences_file.h"
#include "gui/main_window.h"
#include "gui/preference_commands.h"
#include "gui/qt_file_dialogs.h"
#include "gui/qt_message_box.h"
#include "gui/qt_progress.h"
#include "gui/settings_store.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QSurfaceFormat>
#include <QTimer>

int main(int argc, char** argv) {
    // The scene is drawn with the fixed-function pipeline: ask for a compatibility context.
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication app(argc, argv);
    QApplication::setOrganizationName(kv::gui::kOrganisation);
    QApplication::setApplicationName(kv::gui::kApplication);

    const QString dataFolder = kv::gui::ensureDataFolder(QDir::currentPath());

    kv::gui::QtMessageBox messages;
    kv::gui::MainWindow window(messages);
    messages.setParent(&window);
    // The file and progress ports that the document operations are handed.
    kv::gui::QtFileDialogs files(&window);
    kv::gui::QtProgress progress(&window);

    kv::app::Preferences preferences;
    const std::filesystem::path dataPath = QFile::encodeName(dataFolder).toStdString();
    kv::app::loadPreferencesAtStartUp(dataPath, preferences);
    kv::gui::PreferenceCommands preferenceCommands(window, preferences, dataPath, messages);
    preferenceCommands.install();

    window.setObjectLibrary(kv::app::listObjectLibrary(dataPath));
    // Without a window manager a maximised window keeps its default size: start at full size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.setGeometry(screen->availableGeometry());
    }
    window.showMaximized();

    const QStringList paths = QApplication::arguments().mid(1);
    // Once the frame has its size: lay the windows out, greet, then open what was given.
    QTimer::singleShot(0, &window, [&window, paths] {
        window.resetWindows();
        window.showAllWindows();
        window.showAboutBox(false);
        if (!paths.isEmpty()) {
            window.openPaths(paths);
            window.showAllWindows();
        }
    });
    return QApplication::exec();
}
