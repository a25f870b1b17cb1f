// kv_guide_screenshots <folder>: the user guide's pictures, taken from the
// desktop program itself while real runs are driven the way a user drives
// them: the mouse moved over the camera view as the stick, keys typed into
// the view, commands chosen from the menus. Run it under a display with
// OpenGL (xvfb-run -a -s "-screen 0 1280x1024x24") whenever the program's
// look changes; it rewrites every picture the guide shows under docs/guide/.
#include "app/commands/commands.h"
#include "gui/desktop_app.h"
#include "gui/settings_store.h"
#include "gui/user_guide_window.h"
#include "model/object_record.h"
#include "view_rig.h"
#include "views/camera_view.h"
#include "views/child_window.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using kv::app::CommandId;

/// Answers each file dialog with the next path given.
class ScriptedFiles final : public kv::FilePort {
  public:
    std::deque<std::string> answers;
    std::optional<std::string> choose(const kv::FileRequest&) override {
        if (answers.empty())
            return std::nullopt;
        std::string next = answers.front();
        answers.pop_front();
        return next;
    }
};

/// Waits `ms` while events (and a run's frames) go on.
void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

/// A key typed into the camera view.
void typeKey(QWidget* view, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QCoreApplication::postEvent(view, new QKeyEvent(QEvent::KeyPress, key, mods));
    QCoreApplication::postEvent(view, new QKeyEvent(QEvent::KeyRelease, key, mods));
}

/// A key pressed (`down`) or released in the camera view, held in between.
void holdKey(QWidget* view, int key, bool down) {
    QCoreApplication::postEvent(
        view, new QKeyEvent(down ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier));
}

/// Puts the mouse over the camera view at a stick position: (0, 0) is the
/// centre, (0, -1) the top edge (stick fully forward), (1, 0) the right edge.
void stickAt(kv::views::CameraView* view, float x, float y) {
    const QPoint p(static_cast<int>((x + 1.0f) * 0.5f * static_cast<float>(view->width())),
                   static_cast<int>((y + 1.0f) * 0.5f * static_cast<float>(view->height())));
    QCursor::setPos(view->mapToGlobal(p));
}

/// Something done at a time (ms) after Begin, while the run goes on.
struct Step {
    int at;
    std::function<void()> act;
};

/// Simulation > Begin with `steps` done during the run; returns when the run ended.
void beginRun(kv::gui::MainWindow& window, std::vector<Step> steps) {
    for (Step& s : steps)
        QTimer::singleShot(s.at, &window, std::move(s.act));
    window.runCommand(static_cast<int>(CommandId::Begin));
}

/// The whole main window, narrowed to 800 pixels to fit the guide's page.
QImage frameShot(QWidget& window) {
    return window.grab().toImage().scaledToWidth(800, Qt::SmoothTransformation);
}

bool save(const QImage& image, const std::filesystem::path& file) {
    const bool ok = !image.isNull() && image.save(QString::fromStdString(file.string()));
    std::printf("%s %s\n", ok ? "wrote" : "could not write", file.string().c_str());
    return ok;
}

/// Chooses a command whose dialog opens modal, takes its picture as it opens
/// and cancels it.
QImage dialogShot(kv::gui::MainWindow& window, CommandId id) {
    QImage picture;
    auto* poll = new QTimer(&window);
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, [poll, &picture] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            QApplication::processEvents();
            picture = dialog->grab().toImage();
            dialog->reject();
        }
    });
    poll->start();
    window.runCommand(static_cast<int>(id));
    return picture;
}

/// Writes a terrain of rolling hills, 400 m square, as DXF 3DFACEs (m, z up).
std::filesystem::path writeHills(const std::filesystem::path& folder) {
    return kv::viewtest::writeHillsDxf(folder, 24, 200.0, [](double x, double y) {
        return 5.0 * std::sin(x / 45.0) * std::sin(y / 35.0) + 0.0002 * (x * x + y * y);
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kv_guide_screenshots <folder>\n");
        return 2;
    }
    // Settings and preferences of a fresh user, kept away from the real ones.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    const bool display = kv::viewtest::prepareGuiPlatform();
    QApplication application(argc, argv);
    if (!display) {
        std::fprintf(stderr, "kv_guide_screenshots: no display (run under xvfb-run -a)\n");
        return 1;
    }
    QApplication::setOrganizationName(kv::gui::kOrganisation);
    QApplication::setApplicationName(kv::gui::kApplication);
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const std::filesystem::path work = QFile::encodeName(home.path()).toStdString();

    ScriptedFiles files;
    kv::gui::DesktopApp app(home.path(), &files);
    if (!app.ready())
        return 1;
    kv::gui::MainWindow& window = app.window();
    app.start({}, false);
    settle(300);
    // A 1024 x 720 frame keeps the pictures legible at the guide's width.
    window.showNormal();
    window.setGeometry(0, 0, 1024, 720);
    settle(300);
    window.resetWindows();
    settle(500);
    kv::views::CameraView* view = window.cameraView();
    if (view->surface() == nullptr || !view->surface()->ready()) {
        std::fprintf(stderr, "kv_guide_screenshots: no OpenGL context\n");
        return 1;
    }
    bool ok = save(frameShot(window), folder / "main-window.png");
    ok &= save(dialogShot(window, CommandId::PreferencesController),
               folder / "controller-dialog.png");

    // The first take with the arrow keys (a fresh install without a joystick
    // or gamepad): Up held for throttle, the chase camera, a picture of the
    // whole program mid-run, then ESC.
    QImage midRun;
    beginRun(window, {{200, [&] { typeKey(view, Qt::Key_F4); }},
                      {400, [&] { holdKey(view, Qt::Key_Up, true); }},
                      {3500, [&] { midRun = frameShot(window); }},
                      {3550, [&] { holdKey(view, Qt::Key_Up, false); }},
                      {3600, [&] { typeKey(view, Qt::Key_Escape); }}});
    ok &= save(midRun, folder / "first-take-run.png");
    files.answers = {(work / "take1.kvm").string()};
    window.runCommand(static_cast<int>(CommandId::SaveMotionAs));

    // The take played back beside a new one: File > Add > Dynamic Object,
    // the car moved 5 m to the east (Simulation > Initial Conditions), a
    // second run turning gently right, seen from the external camera. The
    // rest is driven with the mouse (Preferences > Controller), whose stick
    // holds a gentle turn.
    app.document().preferences().controllerCentring = 0;
    files.answers = {(work / "take1.kvm").string()};
    window.runCommand(static_cast<int>(CommandId::AddDynamicObject));
    app.document().object(0).initial.position[1] += 5.0f / 0.3048037f;
    app.document().resetSimulation();
    stickAt(view, 0.0f, 0.0f);
    QImage playback;
    beginRun(window, {{200, [&] { typeKey(view, Qt::Key_F6); }},
                      {400, [&] { stickAt(view, 0.05f, -0.6f); }},
                      {3000, [&] { playback = view->grab().toImage(); }},
                      {3100, [&] { typeKey(view, Qt::Key_Escape); }}});
    ok &= save(playback, folder / "playback.png");

    // Terrain from DXF: rolling hills under a new project's car, chase camera.
    app.document().setModified(false); // nothing worth keeping: no "Save First?"
    window.runCommand(static_cast<int>(CommandId::NewProject));
    kv::app::DxfImport terrain;
    terrain.file = writeHills(work);
    ok &= app.document().addTerrain(terrain);
    app.live()->projectChanged();
    stickAt(view, 0.0f, 0.0f);
    QImage hills;
    beginRun(window, {{200, [&] { typeKey(view, Qt::Key_F6); }},
                      {400, [&] { stickAt(view, 0.15f, -0.7f); }},
                      {4000, [&] { hills = view->grab().toImage(); }},
                      {4100, [&] { typeKey(view, Qt::Key_Escape); }}});
    ok &= save(hills, folder / "terrain-drive.png");

    // The aircraft from a trimmed start 1000 ft up at 350 ft/s (Simulation >
    // Initial Conditions, then Start Trimmed), autopilot on (Q), external camera.
    app.document().setModified(false);
    window.runCommand(static_cast<int>(CommandId::NewProject));
    window.runCommand(static_cast<int>(CommandId::VehicleAircraft));
    window.runCommand(static_cast<int>(CommandId::StartTrimmed));
    app.document().object(0).initial.position = {0.0f, 0.0f, -1000.0f};
    app.document().object(0).initial.velocity = {350.0f, 0.0f, 0.0f};
    app.document().resetSimulation();
    ok &= save(dialogShot(window, CommandId::InitialConditions),
               folder / "initial-conditions-dialog.png");
    stickAt(view, 0.0f, 0.0f);
    QImage aircraft;
    beginRun(window, {{200, [&] { typeKey(view, Qt::Key_F6); }},
                      {300, [&] { typeKey(view, Qt::Key_Q); }},
                      {2500, [&] { stickAt(view, 0.4f, 0.0f); }},
                      {4000, [&] { aircraft = view->grab().toImage(); }},
                      {4100, [&] { typeKey(view, Qt::Key_Escape); }}});
    ok &= save(aircraft, folder / "aircraft-trimmed.png");

    // The helicopter from a trimmed hover 100 ft up; its autopilot starts on.
    window.runCommand(static_cast<int>(CommandId::VehicleHelicopter));
    app.document().object(0).initial.position = {0.0f, 0.0f, -100.0f};
    app.document().object(0).initial.velocity = {0.0f, 0.0f, 0.0f};
    app.document().resetSimulation();
    stickAt(view, 0.0f, 0.0f);
    QImage helicopter;
    beginRun(window, {{200, [&] { typeKey(view, Qt::Key_F6); }},
                      {2500, [&] { helicopter = view->grab().toImage(); }},
                      {2600, [&] { typeKey(view, Qt::Key_Escape); }}});
    ok &= save(helicopter, folder / "helicopter-hover.png");

    // Help > User Guide itself.
    window.runCommand(static_cast<int>(CommandId::HelpUserGuide));
    if (auto* guide = window.findChild<kv::gui::UserGuideWindow*>()) {
        // Scrolled to the first table: how the car is driven.
        guide->resize(860, 560);
        settle(300);
        QTextBrowser* text = guide->browser();
        for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next()) {
            if (b.blockFormat().headingLevel() > 0 &&
                b.text() == QStringLiteral("Driving the car")) {
                QScrollBar* bar = text->verticalScrollBar();
                bar->setValue(bar->value() + text->cursorRect(QTextCursor(b)).top() - 8);
                break;
            }
        }
        settle(300);
        ok &= save(guide->grab().toImage(), folder / "user-guide-window.png");
        guide->close();
    }
    return ok ? 0 : 1;
}
