// kestrovane: the desktop program.
#include "common/interrupt_signals.h"
#include "gui/command_line.h"
#include "gui/desktop_app.h"
#include "gui/settings_store.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QSurfaceFormat>

int main(int argc, char** argv) {
    if (const auto status = kv::gui::answerInfoOption(argc, argv))
        return *status;

    // SIGINT, SIGTERM and SIGHUP are only noted from here on; the session
    // guard ends the program properly once it is up.
    kv::catchInterruptSignals();

    // The scene is drawn with the fixed-function pipeline: ask for a compatibility context.
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication application(argc, argv);
    QApplication::setOrganizationName(kv::gui::kOrganisation);
    QApplication::setApplicationName(kv::gui::kApplication);
    // The installed icon and desktop entry (the window manager matches them by name).
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kestrovane")));
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrovane"));

    kv::gui::DesktopApp app(QDir::currentPath());
    if (!app.ready())
        return 1;
    app.start(QApplication::arguments().mid(1));
    return QApplication::exec();
}
