// At start the desktop program removes the working folders that killed
// programs left in the temporary folder and says in the status bar how much
// that freed; a running program's folder stays.
#include "gui/desktop_app.h"
#include "gui/settings_store.h"

#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

class StaleFoldersTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QApplication::setOrganizationName(kv::gui::kOrganisation);
        QApplication::setApplicationName(kv::gui::kApplication);
    }

    void foldersOfEndedProgramsGoAndTheStatusBarSaysSo() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        ::waitpid(child, nullptr, 0);
        // A temporary folder of the test's own: nothing else's folders in it.
        const fs::path tmp = fs::path(dir.path().toStdString()) / "tmp";
        fs::create_directory(tmp);
        qputenv("TMPDIR", QByteArray::fromStdString(tmp.string()));
        QCOMPARE(fs::temp_directory_path(), tmp);
        const fs::path stale = tmp / ("kestrovane-" + std::to_string(child) + "-Zq8Wx1");
        const fs::path running = tmp / ("kestrovane-" + std::to_string(::getppid()) + "-Zq8Wx2");
        fs::create_directory(stale);
        fs::create_directory(running);
        std::ofstream(stale / "terrain") << std::string(2 * 1024 * 1024, 't');

        kv::gui::DesktopApp app(dir.path());
        QVERIFY(app.ready());
        app.start({}, false);
        QTRY_VERIFY(!fs::exists(stale));
        QVERIFY(fs::exists(running));
        fs::remove_all(running);
        QCOMPARE(app.window().statusBar()->currentMessage(),
                 QStringLiteral("Removed 1 working folder left by programs that ended, "
                                "2.0 MB freed."));
    }
};

QTEST_MAIN(StaleFoldersTest)
#include "test_stale_folders.moc"
