// kestrovane: the desktop program.
#include "gui/desktop_app.h"
#include "gui/settings_store.h"

#include <QApplication>
#include <QDir>
#include <QSurfaceFormat>

int main(int argc, char** argv) {
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

    kv::gui::DesktopApp app(QDir::currentPath());
    if (!app.ready())
        return 1;
    app.start(QApplication::arguments().mid(1));
    return QApplication::exec();
}
