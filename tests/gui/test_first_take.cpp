// The README's first take, walked as a user walks it through the desktop
// program: Simulation > Begin, the Up arrow held (throttle), ESC, File > Save
// Motion As, File > Convert to BioVision. The take must have moved the car,
// and the BVH must show it.
#include "app/commands/commands.h"
#include "app/input/run_prompt.h"
#include "gui/desktop_app.h"
#include "gui/settings_store.h"
#include "gui_test_support.h"
#include "model/motion_frame.h"
#include "views/camera_view.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <cmath>

using kv::app::CommandId;

namespace {

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

/// The root's position (first three channels) of the first and last BVH frames.
bool bvhRootTravel(const QString& path, int& frames, double& travel) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    QStringList lines;
    while (!in.atEnd())
        lines << in.readLine();
    const int motion = int(lines.indexOf(QStringLiteral("MOTION")));
    if (motion < 0 || motion + 3 >= lines.size())
        return false;
    frames = lines[motion + 1].section(QLatin1Char(':'), 1).trimmed().toInt();
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QStringList first = lines[motion + 3].split(space, Qt::SkipEmptyParts);
    const QStringList last = lines.last().split(space, Qt::SkipEmptyParts);
    if (first.size() < 3 || last.size() < 3)
        return false;
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        const double d = last[k].toDouble() - first[k].toDouble();
        sum += d * d;
    }
    travel = std::sqrt(sum);
    return true;
}

} // namespace

class FirstTakeTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QApplication::setOrganizationName(kv::gui::kOrganisation);
        QApplication::setApplicationName(kv::gui::kApplication);
    }

    void aFirstTakeDrivesTheCarAndConvertsToBvh() {
        QTemporaryDir dir;
        kv::gui::setDataFolder(dir.path());
        kv::guitest::ScriptedFiles files;
        kv::gui::DesktopApp app(dir.path(), &files);
        QVERIFY(app.ready());
        kv::gui::MainWindow& window = app.window();
        app.start({}, false);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(200);
        // Any message box would be a failure of the walk: note it and close it.
        QStringList boxes;
        QTimer watcher;
        watcher.setInterval(50);
        connect(&watcher, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                boxes << modal->windowTitle();
                modal->close();
            }
        });
        watcher.start();

        // A fresh install with nothing plugged in drives with the arrow keys.
        kv::app::Preferences& prefs = app.document().preferences();
        if (prefs.controllerCentring != 2)
            QSKIP("a joystick or gamepad is connected: the first take uses it");

        // 1. Simulation > Begin. 2. Up held (throttle) until 3. ESC after four seconds.
        kv::views::CameraView* view = window.cameraView();
        QTimer::singleShot(150, view, [&] {
            QCoreApplication::postEvent(
                view, new QKeyEvent(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier));
        });
        QString duringRun;
        // Halfway the pointer strays over the menu bar, whose items clear the prompt
        // outside a run; the run's prompt stays.
        QTimer::singleShot(1500, view, [&] {
            QStatusTipEvent strayed{QString()};
            QCoreApplication::sendEvent(&window, &strayed);
            duringRun = window.statusMessage()->text();
        });
        QTimer::singleShot(4000, view, [&] {
            QCoreApplication::postEvent(
                view, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier));
            for (auto type : {QEvent::KeyPress, QEvent::KeyRelease})
                QCoreApplication::postEvent(view,
                                            new QKeyEvent(type, Qt::Key_Escape, Qt::NoModifier));
        });
        window.runCommand(int(CommandId::Begin));

        QCOMPARE(duringRun, text(kv::app::runPrompt(kv::app::ControllerDevice::Keyboard, true)));
        QCOMPARE(window.statusMessage()->text(), text(kv::app::kIdlePrompt));
        QVERIFY(boxes.isEmpty());
        const kv::sim::RunState& run = app.document().run();
        QVERIFY(run.flags.stop);
        const auto& channel = run.channels.channels[0];
        QVERIFY2(channel.count > 20, qPrintable(QString::number(channel.count)));
        // The recorded stick went to full throttle (forward) and stayed centred
        // left to right.
        float most = 0.0f;
        for (int k = 0; k < channel.count; ++k) {
            most = std::min(most, channel.frames[std::size_t(k)][kv::model::kFrameStickY]);
            QCOMPARE(channel.frames[std::size_t(k)][kv::model::kFrameStickX], 0.0f);
        }
        QCOMPARE(most, -1.0f);
        // The car drove off forward (north), nearly straight.
        const auto& first = channel.frames[0];
        const auto& last = channel.frames[std::size_t(channel.count - 1)];
        const float north = last[kv::model::kFrameNorth] - first[kv::model::kFrameNorth];
        const float east = last[kv::model::kFrameEast] - first[kv::model::kFrameEast];
        qInfo("first take: %d frames, the car went %.2f m north and %.2f m east", channel.count,
              double(north), double(east));
        QVERIFY(north > 5.0f);
        QVERIFY(std::abs(east) < 0.2f * north);

        // 4. File > Save Motion As.
        const QString take = dir.filePath(QStringLiteral("take.kvm"));
        files.answers.push_back(take.toStdString());
        QVERIFY(window.commandAction(int(CommandId::SaveMotionAs))->isEnabled());
        window.runCommand(int(CommandId::SaveMotionAs));
        QVERIFY(QFile::exists(take));

        // 5. File > Convert to BioVision: the BVH beside the take moves as the car did.
        files.answers.push_back(take.toStdString());
        window.runCommand(int(CommandId::ConvertToBioVision));
        const QString bvh = dir.filePath(QStringLiteral("take.bvh"));
        QVERIFY(QFile::exists(bvh));
        int frames = 0;
        double travel = 0.0;
        QVERIFY(bvhRootTravel(bvh, frames, travel));
        qInfo("take.bvh: %d frames, the root travels %.2f units", frames, travel);
        QVERIFY(frames > 20);
        QVERIFY(travel > 5.0);
        QVERIFY(boxes.isEmpty());
    }
};

QTEST_MAIN(FirstTakeTest)
#include "test_first_take.moc"
