// The desktop program as a user meets it around a live run: no command runs
// while a run holds the program, the keys of a message box at its end reach
// the box, Alt+F4 is a camera key, and a command that changes the scene shows
// at once without a key press or a resize.
#include "app/camera/camera_state.h"
#include "app/commands/commands.h"
#include "app/input/run_prompt.h"
#include "app/settings/memory_settings.h"
#include "common/unit_constants.h"
#include "gui/desktop_app.h"
#include "gui/main_window.h"
#include "gui/sdl_gamepad.h"
#include "gui/sdl_joystick.h"
#include "gui/settings_store.h"
#include "model/motion_frame.h"
#include "support/document_ports.h"
#include "view_fixture.h"
#include "views/camera_view.h"
#include "views/child_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

namespace kv::viewtest {
namespace {

using app::CommandId;

/// Lets queued calls and deferred deletes run.
void settleEvents() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

class DesktopAppView : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!glAvailable)
            GTEST_SKIP() << "no OpenGL context can be made here";
        QApplication::setOrganizationName(gui::kOrganisation);
        QApplication::setApplicationName(gui::kApplication);
        ASSERT_TRUE(folder_.isValid());
        gui::setDataFolder(folder_.path());
        app_ = std::make_unique<gui::DesktopApp>(folder_.path(), &files_);
        ASSERT_TRUE(app_->ready());
        app_->start({}, false);
        QElapsedTimer wait;
        wait.start();
        while (!(surface() != nullptr && surface()->ready() && surface()->framesPainted() > 0) &&
               wait.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        ASSERT_TRUE(surface() != nullptr && surface()->ready());
        app_->document().preferences().framePeriod = 1.0f / 30.0f;
        settle(300);
    }
    void TearDown() override { app_.reset(); }

    gui::MainWindow& window() { return app_->window(); }
    app::Document& doc() { return app_->document(); }
    views::SceneSurface* surface() { return window().cameraView()->surface(); }
    /// Lets the event loop run for `ms` without any input.
    static void settle(int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    }
    /// Posts a key press and release to the camera view, as typed.
    void typeKey(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        views::CameraView* view = window().cameraView();
        QCoreApplication::postEvent(view, new QKeyEvent(QEvent::KeyPress, key, mods));
        QCoreApplication::postEvent(view, new QKeyEvent(QEvent::KeyRelease, key, mods));
    }

    QTemporaryDir folder_;
    test::ScriptedFiles files_;
    std::unique_ptr<gui::DesktopApp> app_;
};

/// A left click at `at` in `widget`, delivered as the platform would.
void click(QWidget* widget, QPoint at) {
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

/// A key typed into `widget`.
void typeInto(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

TEST_F(DesktopAppView, NoMenuCommandRunsWhileARunHoldsTheProgram) {
    // Not modified, so New Project would go ahead without a prompt.
    doc().state().gravity = 20.0f;
    doc().setModified(false);
    bool menuBarEnabled = true;
    bool projectWindowEnabled = true;
    int enabledActions = -1;
    bool popupOpened = false;
    QTimer::singleShot(400, &window(), [&] {
        QMenuBar* bar = window().menuBar();
        menuBarEnabled = bar->isEnabled();
        projectWindowEnabled = window().projectWindow()->widget()->isEnabled();
        enabledActions = 0;
        for (const app::CommandInfo& row : app::commandTable()) {
            if (window().commandAction(int(row.id))->isEnabled())
                ++enabledActions;
        }
        // A click on "File", then on "New Project" in the menu it opens.
        QAction* file = bar->actions().at(0);
        click(bar, bar->actionGeometry(file).center());
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            popupOpened = true;
            QAction* item = window().commandAction(int(CommandId::NewProject));
            click(menu, menu->actionGeometry(item).center());
            if (QApplication::activePopupWidget() != nullptr)
                QApplication::activePopupWidget()->close();
        }
        // Its accelerator, the action itself and the command route.
        window().commandAction(int(CommandId::NewProject))->trigger();
        window().runCommand(int(CommandId::NewProject));
        window().openPaths({QStringLiteral("notes.txt")});
        typeKey(Qt::Key_Escape);
    });
    // Should a menu or a message have opened after all, it is put away and
    // the run ended.
    bool boxShown = false;
    QTimer::singleShot(3000, &window(), [&] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->hide();
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxShown = true;
            box->hide();
        }
        typeKey(Qt::Key_Escape);
    });
    window().runCommand(int(CommandId::Begin));

    EXPECT_FALSE(app_->live()->running());
    // The run drew frames (how many within the 0.4 s depends on the machine's load).
    EXPECT_GT(app_->live()->framesDrawn(), 0);
    EXPECT_FALSE(menuBarEnabled);
    EXPECT_FALSE(projectWindowEnabled);
    EXPECT_EQ(enabledActions, 0);
    EXPECT_FALSE(popupOpened);
    EXPECT_FALSE(boxShown) << "the dropped file was opened during the run";
    EXPECT_FLOAT_EQ(doc().state().gravity, 20.0f) << "New Project ran during the run";
    // After the run the menus work again.
    EXPECT_TRUE(window().menuBar()->isEnabled());
    EXPECT_TRUE(window().commandAction(int(CommandId::NewProject))->isEnabled());
    window().runCommand(int(CommandId::NewProject));
    EXPECT_FLOAT_EQ(doc().state().gravity, 32.17f);
}

TEST_F(DesktopAppView, AltF4DuringARunSelectsTheChaseModeAndKeepsTheWindow) {
    int framesAtClose = 0;
    bool closed = false;
    QTimer::singleShot(300, &window(), [&] {
        framesAtClose = app_->live()->framesDrawn();
        closed = true;
        // Alt held; the window manager turns Alt+F4 into a close of the frame.
        QCoreApplication::postEvent(window().cameraView(),
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier));
        QCoreApplication::postEvent(&window(), new QCloseEvent);
    });
    // Alt released and ESC pressed once the run has drawn a dozen frames
    // after the close (by frames: a loaded machine draws them late).
    bool ended = false;
    QTimer after;
    after.setInterval(20);
    QObject::connect(&after, &QTimer::timeout, [&] {
        if (ended || !closed || app_->live()->framesDrawn() < framesAtClose + 12)
            return;
        ended = true;
        QCoreApplication::postEvent(window().cameraView(),
                                    new QKeyEvent(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier));
        typeKey(Qt::Key_Escape);
    });
    after.start();
    doc().camera().mode = app::kModeExternal;
    window().runCommand(int(CommandId::Begin));

    EXPECT_EQ(doc().camera().mode, app::kModeChasePan);
    EXPECT_TRUE(window().isVisible());
    // The run went on after the close until ESC.
    EXPECT_GT(app_->live()->framesDrawn(), framesAtClose + 5);
}

TEST_F(DesktopAppView, TheMessageAtTheEndOfARunClosesFromTheKeyboard) {
    // Ten frames of record memory: the run outlasts it and says so at the end.
    ASSERT_TRUE(doc().allocate(app::MemorySettings{7, 10, 400}, false, std::nullopt));
    app_->live()->projectChanged();
    bool shown = false;
    bool closedByKey = false;
    // ESC once the ten frames are recorded and a few more run past them (by
    // frames, not by the clock: a loaded machine draws them late).
    bool escaped = false;
    auto* poll = new QTimer(&window());
    poll->setInterval(20);
    QElapsedTimer sinceShown;
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
        if (!escaped && app_->live()->framesDrawn() >= 20) {
            escaped = true;
            typeKey(Qt::Key_Escape);
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        if (!shown) {
            shown = true;
            sinceShown.start();
            typeInto(modal, Qt::Key_Return);
            closedByKey = QApplication::activeModalWidget() == nullptr;
        } else if (sinceShown.elapsed() > 3000) {
            // The key did not reach the box: hide it (a close would be
            // swallowed as well) so that the test ends.
            modal->hide();
            poll->stop();
        }
    });
    poll->start();
    window().runCommand(int(CommandId::Begin));
    poll->stop();

    EXPECT_TRUE(shown) << "no message at the end of the run";
    EXPECT_TRUE(closedByKey) << "Return did not close the message box";
    EXPECT_FALSE(app_->live()->running());
}

TEST_F(DesktopAppView, AVehicleStartedInsideTheGroundIsPutOnItAndTheStatusBarSaysSo) {
    // Level terrain 25 ft above the car's start, 2 km across (right-hand metres).
    const QString dxf = folder_.filePath(QStringLiteral("high.dxf"));
    {
        std::ofstream out(dxf.toStdString());
        const double z = -25.0 * kMetresPerFootD;
        out << "  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  8\nG\n";
        const int c[4][2] = {{-1000, -1000}, {1000, -1000}, {1000, 1000}, {-1000, 1000}};
        for (int k = 0; k < 4; ++k)
            out << " 1" << k << "\n"
                << c[k][0] << "\n 2" << k << "\n"
                << c[k][1] << "\n 3" << k << "\n"
                << z << "\n";
        out << "  0\nENDSEC\n  0\nEOF\n";
    }
    ASSERT_TRUE(doc().addTerrain(app::DxfImport{std::filesystem::path(dxf.toStdString())}));
    doc().preferences().lengthUnitFactor = kFeetPerFoot;
    app_->live()->projectChanged();
    QString during;
    QTimer::singleShot(2000, &window(), [&] {
        during = window().statusMessage()->text();
        typeKey(Qt::Key_Escape);
    });
    window().runCommand(int(CommandId::Begin));

    const QString notice =
        QStringLiteral("The car started 25.0 ft below the ground and was placed on it.");
    EXPECT_TRUE(during.startsWith(notice)) << during.toStdString();
    // The run's prompt stays beside it; after the run the notice alone remains.
    EXPECT_GT(during.size(), notice.size());
    EXPECT_EQ(window().statusMessage()->text(), notice);
    // The car stands on the terrain, not thrown off it.
    const sim::RecordChannel& channel = doc().run().channels.channels[0];
    ASSERT_GT(channel.count, 0);
    const float down =
        channel.frames[static_cast<std::size_t>(channel.count - 1)][model::kFrameDown];
    const double above = -25.0 - down * kFeetPerMetreD;
    EXPECT_GT(above, 0.0);
    EXPECT_LT(above, 15.0);
}

TEST_F(DesktopAppView, CommandsThatChangeTheSceneRedrawItWithoutInput) {
    const CommandId commands[] = {CommandId::VehicleAircraft, CommandId::Observe,
                                  CommandId::SimulationReset};
    for (CommandId id : commands) {
        SCOPED_TRACE(int(id));
        settle(200);
        const int before = surface()->framesPainted();
        window().runCommand(int(id));
        QElapsedTimer t;
        t.start();
        while (surface()->framesPainted() == before && t.elapsed() < 2000)
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        EXPECT_GT(surface()->framesPainted(), before) << "the view kept the old picture";
    }
    EXPECT_EQ(doc().object(0).vehicleType, model::kVehicleAircraft);
}

TEST(CameraViewContext, AFailedContextIsToldAndTheViewPaintsWithoutOpenGl) {
    if (!glAvailable)
        GTEST_SKIP() << "no OpenGL context can be made here";
    auto flush = [] { settleEvents(); };
    // No context of the needed format: the first message, and no surface.
    views::CameraView refused(nullptr, [] { return false; });
    EXPECT_EQ(refused.surface(), nullptr);
    EXPECT_EQ(refused.glFailure(), views::kChoosePixelFormatFailed);
    std::vector<std::string> told;
    refused.setGlFailureHandler([&](std::string_view m) { told.emplace_back(m); });
    EXPECT_TRUE(told.empty()) << "a message box must not open inside the caller";
    flush();
    EXPECT_EQ(told, std::vector<std::string>{views::kChoosePixelFormatFailed});
    refused.resize(200, 150);
    const QImage backdrop = refused.grab().toImage();
    EXPECT_EQ(QColor(backdrop.pixel(100, 10)), QColor(51, 51, 140));

    // A surface that could not take its context: the second message, and the
    // view goes on without the surface.
    views::CameraView view;
    ASSERT_NE(view.surface(), nullptr);
    EXPECT_TRUE(view.glFailure().empty());
    std::vector<std::string> later;
    view.setGlFailureHandler([&](std::string_view m) { later.emplace_back(m); });
    emit view.surface()->contextFailed();
    flush();
    EXPECT_EQ(view.surface(), nullptr);
    EXPECT_EQ(later, std::vector<std::string>{views::kSetPixelFormatFailed});
}

} // namespace
} // namespace kv::viewtest

namespace kv::viewtest {
namespace {

/// Posts a key press (or release) to the camera view, as the keyboard would.
void postKey(QWidget* view, int key, bool press) {
    QCoreApplication::postEvent(
        view, new QKeyEvent(press ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier));
}

/// Horizontal distance (m) between two recorded frames.
float travel(const model::MotionFrame& a, const model::MotionFrame& b) {
    return std::hypot(b[model::kFrameNorth] - a[model::kFrameNorth],
                      b[model::kFrameEast] - a[model::kFrameEast]);
}

/// Heading change (deg, positive to the right) from frame a to frame b.
float turn(const model::MotionFrame& a, const model::MotionFrame& b) {
    float d = b[model::kFrameYaw] - a[model::kFrameYaw];
    while (d > 180.0f)
        d -= 360.0f;
    while (d < -180.0f)
        d += 360.0f;
    return d;
}

TEST_F(DesktopAppView, AKeyboardTakeDrivesSteersCoastsAndReplaysByteForByte) {
    // A fresh install on a machine with nothing plugged in drives with the keys.
    const bool padOrStick =
        !gui::SdlGamepad().connectedName().empty() || gui::SdlJoystick().present();
    if (!padOrStick) {
        EXPECT_EQ(doc().preferences().controllerCentring, 2);
    }
    doc().preferences().controllerCentring = 2;
    views::CameraView* view = window().cameraView();
    QString prompt;
    // Up held for 5 s from rest, then Left as well for 1.5 s, then every key
    // released for 5 s of coasting, then ESC. The keys go by the run's
    // frames (30 a second), whatever the machine's load does to the wall clock.
    const auto& recorded = doc().run().channels.channels[0];
    int step = 0;
    QTimer keys;
    keys.setInterval(2);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        const int frame = recorded.count;
        if (step == 0 && frame >= 3) {
            prompt = window().statusMessage()->text();
            postKey(view, Qt::Key_Up, true);
            ++step;
        } else if (step == 1 && frame >= 3 + 152) {
            postKey(view, Qt::Key_Left, true);
            ++step;
        } else if (step == 2 && frame >= 3 + 152 + 45) {
            postKey(view, Qt::Key_Left, false);
            postKey(view, Qt::Key_Up, false);
            ++step;
        } else if (step == 3 && frame >= 3 + 152 + 45 + 150) {
            typeKey(Qt::Key_Escape);
            ++step;
        }
    });
    keys.start();
    window().runCommand(int(CommandId::Begin));

    EXPECT_EQ(prompt.toStdString(), app::runPrompt(app::ControllerDevice::Keyboard, true));
    const auto& channel = doc().run().channels.channels[0];
    ASSERT_GT(channel.count, 200);
    const auto frames = [&](int k) -> const model::MotionFrame& {
        return channel.frames[static_cast<std::size_t>(k)];
    };
    // The phases as the recorded stick shows them, frame by frame.
    int upFrom = -1, leftFrom = -1, releasedAt = -1;
    for (int k = 0; k < channel.count; ++k) {
        const float x = frames(k)[model::kFrameStickX];
        const float y = frames(k)[model::kFrameStickY];
        if (upFrom < 0 && y < 0.0f)
            upFrom = k;
        if (leftFrom < 0 && x < 0.0f)
            leftFrom = k;
        if (leftFrom >= 0 && releasedAt < 0 && x == 0.0f && y == 0.0f)
            releasedAt = k;
    }
    ASSERT_GE(upFrom, 0);
    ASSERT_GT(leftFrom, upFrom);
    ASSERT_GT(releasedAt, leftFrom);
    // Every axis stays within full travel and moves smoothly (no jump of more
    // than one frame's ramp, 1/30 s of 0.25 s).
    for (int k = 1; k < channel.count; ++k) {
        for (int f : {model::kFrameStickX, model::kFrameStickY}) {
            EXPECT_LE(std::fabs(frames(k)[f]), 1.0f);
            EXPECT_LE(std::fabs(frames(k)[f] - frames(k - 1)[f]), 0.134f) << k;
        }
    }
    // Five seconds of Up from rest: more than 20 m, nearly straight ahead.
    const int fiveSeconds = std::min(upFrom + 150, leftFrom);
    const float driven = travel(frames(upFrom), frames(fiveSeconds));
    std::printf("keyboard take: %.1f m in %.2f s of Up\n", double(driven),
                double(frames(fiveSeconds)[model::kFrameTime] - frames(upFrom)[model::kFrameTime]));
    EXPECT_GT(driven, 20.0f);
    EXPECT_LT(std::fabs(turn(frames(upFrom), frames(fiveSeconds))), 1.0f);
    // Left steers left: the heading turns anticlockwise (seen from above).
    const float steered = turn(frames(leftFrom), frames(releasedAt));
    std::printf("keyboard take: Left turned the car %.1f deg\n", double(steered));
    EXPECT_LT(steered, -5.0f);
    // Released: it rolls on, straight. The wheels are back in the centre
    // within 0.25 s; the body's sway after a turn at full lock dies out within
    // two seconds more; after that the heading holds.
    const int settled = std::min(releasedAt + 60, channel.count - 1);
    const int last = channel.count - 1;
    ASSERT_GT(last - settled, 60);
    EXPECT_GT(travel(frames(settled), frames(last)), 5.0f);
    EXPECT_LT(std::fabs(turn(frames(settled), frames(last))), 2.0f);

    // Saved and replayed by the command-line tool: the same motion, byte for byte.
    const QString take = folder_.filePath(QStringLiteral("take.kvm"));
    const QString again = folder_.filePath(QStringLiteral("again.kvm"));
    files_.answers.push_back(take.toStdString());
    window().runCommand(int(CommandId::SaveMotionAs));
    ASSERT_TRUE(QFile::exists(take));
    QProcess cli;
    cli.start(QStringLiteral(KV_CLI_PATH), {QStringLiteral("simulate"), QStringLiteral("--replay"),
                                            take, QStringLiteral("-o"), again});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QFile a(take), b(again);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    const QByteArray takeBytes = a.readAll();
    EXPECT_EQ(takeBytes.size(), b.size());
    EXPECT_TRUE(takeBytes == b.readAll()) << "the replay differs from the take";
}

} // namespace
} // namespace kv::viewtest
