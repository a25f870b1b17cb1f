// Simulation > Follow Path... in the desktop program: the chosen path is drawn
// and the next Begin drives it live, ending by itself at the end of the path.

#include "app/commands/commands.h"
#include "gui/desktop_app.h"
#include "gui/live_run.h"
#include "gui/main_window.h"
#include "gui/settings_store.h"
#include "gui_test_support.h"
#include "model/motion_frame.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <fstream>

using kv::app::CommandId;

class FollowPathTest : public QObject {
    Q_OBJECT

  private slots:
    void beginDrivesTheChosenPathAndStopsAtItsEnd() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        const std::string file = (dir.path() + QStringLiteral("/lane.csv")).toStdString();
        // 15 m straight ahead, in the factory working unit (metres).
        std::ofstream(file) << "north,east\n0,0\n15,0\n";

        kv::guitest::ScriptedFiles files;
        kv::gui::DesktopApp app(dir.path(), &files);
        QVERIFY(app.ready());
        QAction* action = app.window().commandAction(int(CommandId::FollowPath));
        QVERIFY(action != nullptr);
        QVERIFY(action->isEnabled());

        // Started as the program starts: the project tree filled, the
        // instrument panel showing the car at rest.
        app.start({}, false);
        app.window().showNormal();
        app.window().resize(1024, 768);
        QVERIFY(QTest::qWaitForWindowExposed(&app.window()));
        app.window().resetWindows();
        app.window().showAllWindows();
        QTest::qWait(500);
        // A picture of a bend drawn ahead of the car (under KV_SCREENSHOT_DIR when set).
        const std::string bend = (dir.path() + QStringLiteral("/bend.csv")).toStdString();
        std::ofstream(bend) << "north,east\n0,0\n10,0\n20,2\n30,8\n38,16\n44,26\n48,38\n";
        files.answers = {bend};
        action->trigger();
        QVERIFY(app.live()->pathChosen());
        QTest::qWait(300);
        const QString shots = qEnvironmentVariable("KV_SCREENSHOT_DIR", QDir::tempPath());
        QVERIFY(app.window().grab().save(shots + QStringLiteral("/follow_path.png")));

        // Choosing again replaces the path.
        files.answers = {file};
        action->trigger();
        QVERIFY(app.live()->pathChosen());

        app.window().commandAction(int(CommandId::Begin))->trigger();
        QVERIFY(!app.live()->running());
        QVERIFY(!app.live()->pathChosen()); // followed once, then put away
        const kv::sim::RunState& run = app.document().run();
        QVERIFY(run.flags.objectMotionRecorded);
        const int count = run.channels.channels[0].count;
        QVERIFY(count > 0);
        const auto& last = run.channels.channels[0].frames[static_cast<std::size_t>(count - 1)];
        // Stopped near the end of the lane (metres), and it steered nowhere.
        QVERIFY2(std::fabs(last[kv::model::kFrameNorth] - 15.0f) < 2.0f,
                 qPrintable(QString::number(last[kv::model::kFrameNorth])));
        QVERIFY(std::fabs(last[kv::model::kFrameEast]) < 0.5f);
    }
};

QTEST_MAIN(FollowPathTest)
#include "test_follow_path.moc"
