// The desktop program asked to stop from outside, as a logout or a kill does:
// SIGTERM during a run ends the run as ESC would, keeps its takes and any
// changed project in the recovery folder, removes the working folder and ends
// the program within 2 s without a question. The next start offers "Recover
// the last session?"; Yes brings the takes back so that Save Motion As writes
// the very bytes it would have written before the signal, No keeps them aside.
#include "app/commands/commands.h"
#include "app/recovery/session_recovery.h"
#include "common/interrupt_signals.h"
#include "gui/desktop_app.h"
#include "gui/settings_store.h"
#include "gui_test_support.h"
#include "views/camera_view.h"

#include <QAbstractButton>
#include <QCursor>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

using kv::app::CommandId;
namespace fs = std::filesystem;

namespace {

fs::path recoveryRoot() {
    return fs::path(QFile::encodeName(
                        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                        .toStdString()) /
           "recovery";
}

std::string bytesOf(const QString& file) {
    std::ifstream in(QFile::encodeName(file).toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Gives this program's session to a process that has ended, as a program
/// that was killed leaves its session (one test process plays both programs).
fs::path handToEndedProcess(const fs::path& session) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string pid = std::to_string(child);
    const fs::path moved = session.parent_path() / (kv::app::kRecoverySessionPrefix + pid);
    fs::rename(session, moved);
    std::ifstream in(moved / kv::app::kRecoverySessionFile, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    const std::size_t at = text.find("pid ");
    text.replace(at, text.find('\n', at) - at, "pid " + pid);
    std::ofstream(moved / kv::app::kRecoverySessionFile, std::ios::binary | std::ios::trunc)
        << text;
    return moved;
}

/// This program's working folders under the temporary folder.
std::vector<fs::path> ownWorkingFolders() {
    std::vector<fs::path> found;
    const std::string prefix = "kestrovane-" + std::to_string(::getpid()) + "-";
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(fs::temp_directory_path(), ec)) {
        if (e.path().filename().string().rfind(prefix, 0) == 0)
            found.push_back(e.path());
    }
    return found;
}

/// Presses the button of the recovery question whose role is `role`, and
/// notes that the question was asked.
void answerRecovery(QMessageBox::StandardButton button, bool& asked) {
    kv::guitest::whenModalShown([button, &asked](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr || box->objectName() != QStringLiteral("recoverSessionBox")) {
            modal->close();
            return;
        }
        asked = box->text() == QString::fromLatin1(kv::gui::kRecoverQuestion);
        box->button(button)->click();
    });
}

} // namespace

class SessionRecoveryTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QApplication::setOrganizationName(kv::gui::kOrganisation);
        QApplication::setApplicationName(kv::gui::kApplication);
        std::error_code ec;
        fs::remove_all(recoveryRoot(), ec);
    }

    void sigtermDuringARunKeepsTheTakeAndRecoveryGivesTheSameFile() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        const QString before = dir.filePath(QStringLiteral("before.kvm"));
        const QString beforeCamera = dir.filePath(QStringLiteral("before-camera.kvm"));
        fs::path session;
        {
            kv::guitest::ScriptedFiles files;
            kv::gui::DesktopApp app(dir.path(), &files);
            QVERIFY(app.ready());
            app.start({}, false);
            QVERIFY(QTest::qWaitForWindowExposed(&app.window()));
            const std::vector<fs::path> folders = ownWorkingFolders();
            QCOMPARE(folders.size(), std::size_t(1));
            const fs::path working = folders.front();
            // A changed project: the copy must bring it back.
            app.document().object(0).initial.attitude = {0.0f, 0.0f, 25.0f};
            app.document().setModified(true);
            app.document().resetSimulation();

            bool exited = false;
            QElapsedTimer sinceSignal;
            app.session()->setExit([&] { exited = true; });
            kv::views::CameraView* view = app.window().cameraView();
            QCursor::setPos(view->mapToGlobal(QPoint(view->width() / 2, view->height() / 4)));
            QTimer::singleShot(1500, view, [&] {
                sinceSignal.start();
                ::kill(::getpid(), SIGTERM);
            });
            app.window().runCommand(int(CommandId::Begin));
            const auto& channel = app.document().run().channels.channels[0];
            QVERIFY2(channel.count > 5, qPrintable(QString::number(channel.count)));
            QTRY_VERIFY_WITH_TIMEOUT(exited, 2000);
            qInfo("stopped %lld ms after SIGTERM, %d frames kept", sinceSignal.elapsed(),
                  channel.count);
            QVERIFY(sinceSignal.elapsed() < 2000);
            QVERIFY(app.session()->stopped());
            QVERIFY2(!fs::exists(working), "the working folder outlived the signal");
            session = app.session()->recovery().folder();
            QVERIFY(fs::exists(session / kv::app::recoveryMotionFileName(0)));
            QVERIFY(fs::exists(session / kv::app::kRecoveryCameraFile));
            QVERIFY(fs::exists(session / kv::app::kRecoveryProjectFile));

            // What Save Motion As and Save Camera As write from the take in memory.
            files.answers.push_back(before.toStdString());
            app.window().runCommand(int(CommandId::SaveMotionAs));
            files.answers.push_back(beforeCamera.toStdString());
            app.window().runCommand(int(CommandId::SaveCameraAs));
            QVERIFY(QFile::exists(before));
            QVERIFY(QFile::exists(beforeCamera));
        }
        kv::clearInterruptSignal();
        QVERIFY2(fs::exists(session), "a program stopped by a signal must keep its recovery data");
        const fs::path left = handToEndedProcess(session);

        kv::guitest::ScriptedFiles files;
        kv::gui::DesktopApp app(dir.path(), &files);
        QVERIFY(app.ready());
        bool asked = false;
        answerRecovery(QMessageBox::Yes, asked);
        app.start({}, false);
        QTRY_VERIFY_WITH_TIMEOUT(asked, 10000);
        QTRY_VERIFY(!fs::exists(left));
        QVERIFY(app.document().modified());
        QCOMPARE(app.document().object(0).initial.attitude[2], 25.0f);
        QVERIFY(app.window().commandAction(int(CommandId::SaveMotionAs))->isEnabled());
        const QString after = dir.filePath(QStringLiteral("after.kvm"));
        const QString afterCamera = dir.filePath(QStringLiteral("after-camera.kvm"));
        files.answers.push_back(after.toStdString());
        app.window().runCommand(int(CommandId::SaveMotionAs));
        files.answers.push_back(afterCamera.toStdString());
        app.window().runCommand(int(CommandId::SaveCameraAs));
        QVERIFY(QFile::exists(after));
        QVERIFY(bytesOf(after) == bytesOf(before));
        QVERIFY(bytesOf(afterCamera) == bytesOf(beforeCamera));
    }

    void aStopRequestAbortsAJobAndWaitsForItToEnd() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        kv::gui::DesktopApp app(dir.path());
        QVERIFY(app.ready());
        app.start({}, false);
        QVERIFY(QTest::qWaitForWindowExposed(&app.window()));
        bool exited = false;
        app.session()->setExit([&] { exited = true; });
        kv::ProgressPort& progress = app.progress();
        progress.start("Importing DXF");
        QVERIFY(progress.update(0.25));
        ::kill(::getpid(), SIGINT);
        QTest::qWait(300);
        QVERIFY2(!exited, "the program must not end in the middle of a job");
        QVERIFY(!progress.update(0.5));
        progress.finish();
        QTRY_VERIFY_WITH_TIMEOUT(exited, 2000);
        kv::clearInterruptSignal();
    }

    void takesAreKeptAsARunEndsAndADeclinedSessionIsSetAside() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        fs::path left;
        {
            kv::guitest::ScriptedFiles files;
            kv::gui::DesktopApp app(dir.path(), &files);
            QVERIFY(app.ready());
            app.start({}, false);
            QVERIFY(QTest::qWaitForWindowExposed(&app.window()));
            kv::views::CameraView* view = app.window().cameraView();
            QTimer::singleShot(800, view, [view] {
                for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
                    QCoreApplication::postEvent(
                        view, new QKeyEvent(type, Qt::Key_Escape, Qt::NoModifier));
            });
            app.window().runCommand(int(CommandId::Begin));
            // What a SIGKILL right now would leave: the take is already on disk.
            const fs::path session = app.session()->recovery().folder();
            QVERIFY(fs::exists(session / kv::app::recoveryMotionFileName(0)));
            QVERIFY(!fs::exists(session / kv::app::kRecoveryProjectFile));
            left = handToEndedProcess(session);
        }
        QVERIFY2(fs::exists(left), "a clean exit removes only its own session");

        kv::guitest::ScriptedFiles files;
        kv::gui::DesktopApp app(dir.path(), &files);
        bool asked = false;
        answerRecovery(QMessageBox::No, asked);
        app.start({}, false);
        QTRY_VERIFY_WITH_TIMEOUT(asked, 10000);
        QTRY_VERIFY(!fs::exists(left));
        const fs::path aside =
            left.parent_path() / (kv::app::kRecoveryDeclinedPrefix + left.filename().string());
        QVERIFY2(fs::exists(aside / kv::app::recoveryMotionFileName(0)),
                 "declining must not delete the take");
        QCOMPARE(app.document().run().channels.channels[0].count, 0);
        fs::remove_all(aside);
    }
};

QTEST_MAIN(SessionRecoveryTest)
#include "test_session_recovery.moc"
