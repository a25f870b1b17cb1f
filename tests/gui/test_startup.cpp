// Start-up: the data folder setting, the preference file and the object
// library, the laid-out windows and the command line.
#include "app/settings/preferences_file.h"
#include "gui/desktop_app.h"
#include "gui/settings_store.h"
#include "gui_test_support.h"
#include "views/camera_view.h"
#include "views/child_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class StartupTest : public QObject {
    Q_OBJECT

    static void touch(const QString& path) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

  private slots:
    void initTestCase() {
        QApplication::setOrganizationName(kv::gui::kOrganisation);
        QApplication::setApplicationName(kv::gui::kApplication);
    }

    void firstStartStoresTheFolderAndWritesPreferences() {
        QTemporaryDir dir;
        QSettings(kv::gui::kOrganisation, kv::gui::kApplication).remove(kv::gui::kKeyDirectoryKey);
        QDir(dir.path()).mkdir(QStringLiteral("Objects"));
        touch(dir.filePath(QStringLiteral("Objects/truck.kvo")));
        touch(dir.filePath(QStringLiteral("Objects/apache.v2.kvo")));
        touch(dir.filePath(QStringLiteral("Objects/notes.txt")));

        kv::gui::DesktopApp app(dir.path());
        QCOMPARE(QString::fromStdString(app.dataFolder().string()), dir.path());
        QCOMPARE(QSettings(kv::gui::kOrganisation, kv::gui::kApplication)
                     .value(kv::gui::kKeyDirectoryKey)
                     .toString(),
                 dir.path());
        // The missing preference file was written with the factory values.
        QVERIFY(QFile::exists(dir.filePath(QString::fromLatin1(kv::app::kPreferenceFileName))));
        QCOMPARE(app.preferences().objectSlots, 7);
        const auto& library = app.window().objectLibrary();
        QCOMPARE(library.size(), std::size_t(2));
        QCOMPARE(app.window().commandAction(1044)->text(), QStringLiteral("apache"));
        QCOMPARE(app.window().commandAction(1045)->text(), QStringLiteral("truck"));
    }

    void storedFolderWinsOverTheCurrentOne() {
        QTemporaryDir stored, current;
        kv::gui::setDataFolder(stored.path());
        kv::gui::DesktopApp app(current.path());
        QCOMPARE(QString::fromStdString(app.dataFolder().string()), stored.path());
        QVERIFY(QFile::exists(stored.filePath(QString::fromLatin1(kv::app::kPreferenceFileName))));
        QVERIFY(
            !QFile::exists(current.filePath(QString::fromLatin1(kv::app::kPreferenceFileName))));
    }

    void startLaysOutAndOpensTheCommandLine() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        kv::gui::DesktopApp app(dir.path());
        QString text;
        kv::guitest::whenModalShown([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            text = box->text();
            box->accept();
        });
        app.start({QStringLiteral("/tmp/readme.txt")}, false);
        QTRY_COMPARE(text, QStringLiteral("\"/tmp/readme.txt\" is not a valid Kestrovane\nfile."));
        QVERIFY(app.window().isVisible());
        QVERIFY(!app.window().panelWindow()->isHidden());
        QVERIFY(!app.window().projectWindow()->isHidden());
        // Laid out in the frame that fills the screen.
        const kv::app::ScreenMetrics sm = app.window().screenMetrics();
        const int width = std::min(int(sm.width * 0.390625), 400);
        QCOMPARE(app.window().cameraView()->width(), width);
        QCOMPARE(app.window().cameraWindow()->geometry().top(), kv::app::layoutMargin(sm.width));
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
