// File > Export Scene to glTF as a user meets it: after a take in the desktop
// program the command writes the whole scene, the camera included, through a
// save dialog; a place that cannot be written shows the usual message and
// leaves no file.
#include "app/commands/commands.h"
#include "gui/desktop_app.h"
#include "gui/settings_store.h"
#include "gui_test_support.h"
#include "views/camera_view.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using kv::app::CommandId;

class ExportSceneTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QApplication::setOrganizationName(kv::gui::kOrganisation);
        QApplication::setApplicationName(kv::gui::kApplication);
    }

    void aTakeExportsAsAWholeScene() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        kv::guitest::ScriptedFiles files;
        kv::gui::DesktopApp app(dir.path(), &files);
        QVERIFY(app.ready());
        kv::gui::MainWindow& window = app.window();
        app.start({}, false);
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QAction* action = window.commandAction(int(CommandId::ExportSceneGltf));
        QVERIFY(action != nullptr);
        QCOMPARE(action->text().remove(QLatin1Char('&')),
                 QStringLiteral("Export Scene to glTF..."));
        QVERIFY(action->isEnabled());

        // A short take: Begin, ESC after a second.
        kv::views::CameraView* view = window.cameraView();
        QTimer::singleShot(1000, view, [view] {
            for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
                QCoreApplication::postEvent(view,
                                            new QKeyEvent(type, Qt::Key_Escape, Qt::NoModifier));
        });
        window.runCommand(int(CommandId::Begin));
        QVERIFY(app.document().run().channels.channels[2].count > 0);

        const QString scene = dir.filePath(QStringLiteral("take"));
        files.answers.push_back(scene.toStdString());
        window.runCommand(int(CommandId::ExportSceneGltf));
        QCOMPARE(QString::fromStdString(files.requests.back().title),
                 QStringLiteral("Export Scene to glTF:"));
        QFile glb(scene + QStringLiteral(".glb"));
        QVERIFY(glb.open(QIODevice::ReadOnly));
        const QByteArray bytes = glb.readAll();
        QCOMPARE(bytes.left(4), QByteArray("glTF"));
        QVERIFY(bytes.contains("\"Camera\""));
        QVERIFY(bytes.contains("\"animations\""));

        // A folder that does not exist: the message box, and no file.
        QString shown;
        kv::guitest::whenModalShown([&shown](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                shown = box->text();
            modal->close();
        });
        const QString missing = dir.filePath(QStringLiteral("none/scene.glb"));
        files.answers.push_back(missing.toStdString());
        window.runCommand(int(CommandId::ExportSceneGltf));
        QTRY_VERIFY(!shown.isEmpty());
        QVERIFY2(shown.contains(QStringLiteral("could not be saved")), qPrintable(shown));
        QVERIFY(!QFile::exists(missing));
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*.glb")}, QDir::Files),
                 QStringList{QStringLiteral("take.glb")});
    }
};

QTEST_MAIN(ExportSceneTest)
#include "test_export_scene.moc"
