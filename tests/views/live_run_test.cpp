// A scripted live run in the camera view: the controller fed through the
// controls port, frames paced by the wall clock and drawn in the window.
#include "app/camera/camera_state.h"
#include "app/input/input_script.h"
#include "common/simulated_clock.h"
#include "common/steady_clock.h"
#include "model/motion_frame.h"
#include "support/terrain_test_ports.h"
#include "view_fixture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <fstream>

namespace kv::viewtest {
namespace {

using LiveRunView = ViewFixture;

/// The mouse over the 400 x 300 view at (x, y) pixels.
app::DeviceState mouseAt(float x, float y) {
    app::DeviceState d;
    d.windowWidth = 400.0f;
    d.windowHeight = 300.0f;
    d.cursorX = x;
    d.cursorY = y;
    return d;
}

/// Height (ft) of the default car's centre of gravity above the ground when
/// it rests on its wheels.
constexpr float kCarRestHeight = 1.95f;

TEST_F(LiveRunView, ScriptedDriveOfFiveSecondsRecords150FramesInRealTime) {
    doc().preferences().framePeriod = 1.0f / 30.0f;
    // The new project's car starts with its centre of gravity on the ground;
    // set it on its wheels so that it drives off rather than bouncing.
    doc().object(0).initial.position = {0.0f, 0.0f, -kCarRestHeight};
    doc().resetSimulation();
    // Stick pushed halfway forward (throttle), a little right; F4 chases the
    // car from frame 0; T turns the sun; ESC on the last frame.
    std::vector<app::DeviceState> script(150, mouseAt(220.0f, 75.0f));
    script[0].event = {app::InputEventKind::KeyDown, app::kKeyF4};
    script[30].event = {app::InputEventKind::KeyDown, 'T'};
    script[149].event = {app::InputEventKind::KeyDown, app::kKeyEscape};
    app::ScriptedDeviceSource source(script);
    app::ControllerSettings settings;
    settings.deadzone = 0.0f;
    app::DeviceControls controls(source, settings);
    SteadyClock clock;

    const int painted0 = surface().framesPainted();
    const auto wall0 = std::chrono::steady_clock::now();
    const std::clock_t cpu0 = std::clock();
    live().run(controls, clock);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    const double cpu = static_cast<double>(std::clock() - cpu0) / CLOCKS_PER_SEC;
    std::printf("live run: %.2f s wall, %.2f s processor time\n", wall, cpu);

    EXPECT_EQ(live().framesDrawn(), 150);
    EXPECT_GE(surface().framesPainted() - painted0, 150) << "frames were not painted in the view";
    EXPECT_EQ(source.framesRead(), 150u);
    const sim::RunState& run = doc().run();
    EXPECT_EQ(run.channels.channels[0].count, 150);
    EXPECT_EQ(run.channels.channels[sim::kCameraChannel].count, 150);
    EXPECT_TRUE(run.flags.objectMotionRecorded);
    EXPECT_TRUE(run.flags.cameraMotionRecorded);
    // Frames were paced by the wall clock: 150 frames at 30 fps take 5 s at least.
    EXPECT_GE(wall, 4.9);
    EXPECT_EQ(doc().camera().mode, app::kModeChase);
    EXPECT_FLOAT_EQ(live().content().scene().sunAngle, 105.0f);

    // The recorded frames carry the stick and the run time.
    const auto& frames = run.channels.channels[0].frames;
    EXPECT_NEAR(frames[149][model::kFrameTime], 5.0f, 1e-4f);
    EXPECT_FLOAT_EQ(frames[10][model::kFrameStickY], -0.5f);
    EXPECT_FLOAT_EQ(frames[10][model::kFrameStickX], 0.1f);
    // Half throttle and a little right stick: the car drove off north and
    // turned right.
    std::printf("car: %.2f m north, %.2f m east after the run\n", frames[149][model::kFrameNorth],
                frames[149][model::kFrameEast]);
    EXPECT_GT(frames[149][model::kFrameNorth], 5.0f);
    EXPECT_GT(frames[149][model::kFrameEast], 0.0f);

    // The car is still in view of the chase camera at the end.
    const QImage image = grab();
    const QRect middle(100, 75, 200, 150);
    const int total = middle.width() * middle.height();
    const int scenery = countPixels(image, middle, isBackdrop);
    EXPECT_GT(total - scenery, 300);
}

TEST_F(LiveRunView, PauseStopsTimeAndEscapeEndsTheRun) {
    doc().preferences().framePeriod = 1.0f / 30.0f;
    std::vector<app::DeviceState> script(40, mouseAt(200.0f, 150.0f));
    script[10].event = {app::InputEventKind::KeyDown, 'P'};
    script[30].event = {app::InputEventKind::KeyDown, app::kKeyEscape};
    app::ScriptedDeviceSource source(script);
    app::DeviceControls controls(source, app::ControllerSettings{});
    SimulatedClock clock;
    live().run(controls, clock);

    const sim::RunState& run = doc().run();
    EXPECT_EQ(live().framesDrawn(), 31);
    EXPECT_FALSE(run.flags.pause);
    EXPECT_TRUE(run.flags.stop);
    // Frames 0..10 advanced time; from the pause on nothing more was recorded.
    EXPECT_EQ(run.channels.channels[0].count, 11);
    EXPECT_FALSE(live().running());
}

TEST_F(LiveRunView, BeginTakesTheWindowsKeysOnePerFrame) {
    doc().preferences().framePeriod = 1.0f / 30.0f;
    // Keys typed into the camera view while the run holds the program: F6
    // and ESC arrive together and are taken on successive frames.
    views::CameraView& view = rig_->view();
    QTimer::singleShot(300, &view, [&view] {
        for (int key : {Qt::Key_F6, Qt::Key_Escape}) {
            QCoreApplication::postEvent(&view,
                                        new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
            QCoreApplication::postEvent(&view,
                                        new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
        }
    });
    live().begin();

    EXPECT_FALSE(live().running());
    EXPECT_EQ(doc().camera().mode, app::kModeExternal);
    EXPECT_TRUE(doc().run().flags.stop);
    // About 0.3 s of frames, and the four events took four frames.
    const int frames = live().framesDrawn();
    EXPECT_GE(frames, 4);
    EXPECT_LT(frames, 60);
    EXPECT_EQ(doc().run().channels.channels[sim::kCameraChannel].count, frames);
}

TEST_F(LiveRunView, F12PreviewDrivesTheCameraUntilF12Again) {
    doc().preferences().framePeriod = 1.0f / 30.0f;
    views::CameraView& view = rig_->view();
    QTimer::singleShot(300, &view, [&view] {
        QCoreApplication::postEvent(&view,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier));
    });
    const int recorded = doc().run().channels.channels[0].count;
    const int frameCounter = doc().run().frameCounter;
    live().viewKey(app::kKeyF12);

    // The preview drew frames with the camera under the controller, then F12
    // handed the controller back; the physics and the recordings stayed put.
    EXPECT_FALSE(live().running());
    EXPECT_EQ(doc().camera().cameraControl, 0);
    EXPECT_GE(live().framesDrawn(), 4);
    EXPECT_EQ(doc().run().channels.channels[0].count, recorded);
    EXPECT_EQ(doc().run().frameCounter, frameCounter);
}

/// A DXF file of `faces` squares 10 m apart on level ground.
std::filesystem::path writeSquares(const std::filesystem::path& file, int faces) {
    std::ofstream out(file);
    out << "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < faces; ++i) {
        const double x = 10.0 * i;
        out << "0\n3DFACE\n8\n0\n10\n"
            << x << "\n20\n0\n30\n0\n11\n"
            << x + 5.0 << "\n21\n0\n31\n0\n12\n"
            << x + 5.0 << "\n22\n5\n32\n0\n13\n"
            << x << "\n23\n5\n33\n0\n";
    }
    out << "0\nENDSEC\n0\nEOF\n";
    return file;
}

TEST_F(LiveRunView, ListsFollowEveryGeometryChangeAndShowTheirProgress) {
    test::ScriptedProgress progress;
    surface().setProgress(&progress);
    live().redraw();
    ASSERT_FALSE(live().content().listsOutdated());

    // The same triangles turned: the count is unchanged, the lists are not.
    model::GeometryTransform turned;
    turned.rotate[2] = 90.0f;
    ASSERT_TRUE(doc().meshes().retransformGeometry(0, model::GeometryTransform{}, turned));
    EXPECT_TRUE(live().content().listsOutdated());
    live().redraw();
    EXPECT_FALSE(live().content().listsOutdated());

    // Scenery and terrain lists are built with their progress displays.
    filetest::ScratchDir dir;
    ASSERT_TRUE(doc().addScenery(app::DxfImport{writeSquares(dir / "s.dxf", 3)}));
    ASSERT_TRUE(doc().addTerrain(app::DxfImport{writeSquares(dir / "t.dxf", 4)}));
    live().redraw();
    EXPECT_NE(std::find(progress.titles.begin(), progress.titles.end(), "Building Scenery:"),
              progress.titles.end());
    EXPECT_NE(std::find(progress.titles.begin(), progress.titles.end(), "Building Terrain:"),
              progress.titles.end());
    EXPECT_EQ(progress.open, 0);
    // A scenery set carried to a new transform keeps its count and is rebuilt.
    ASSERT_TRUE(doc().transformScenery(0, turned));
    EXPECT_TRUE(live().content().listsOutdated());
    live().redraw();
    EXPECT_FALSE(live().content().listsOutdated());
    surface().setProgress(nullptr);
}

} // namespace
} // namespace kv::viewtest
