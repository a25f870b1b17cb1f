// kv_panel_screenshots <folder>: runs the desktop program's windows on scripted
// runs and writes PNG files of the instrument panel (the car at speed, the
// aircraft in a bank) and of the project window holding objects, scenery and
// a terrain. With a display (xvfb-run -a) it also writes the whole main
// window at start-up, its camera view drawn with OpenGL.
#include "app/camera/camera_state.h"
#include "app/commands/commands.h"
#include "app/document/document.h"
#include "app/input/input_keys.h"
#include "app/input/input_script.h"
#include "common/simulated_clock.h"
#include "geometry/working_files.h"
#include "gui/desktop_app.h"
#include "gui/document_commands.h"
#include "gui/live_run.h"
#include "gui/main_window.h"
#include "gui/view_links.h"
#include "model/motion_file.h"
#include "model/object_record.h"
#include "support/document_ports.h"
#include "view_rig.h"
#include "views/child_window.h"
#include "views/project_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

struct Program {
    kv::filetest::MessageLog messages;
    kv::NullProgress progress;
    kv::test::ScriptedFiles files;
    kv::test::ScriptedQuestions questions;
    std::unique_ptr<kv::geom::PrivateWorkingFolder> folder =
        kv::geom::PrivateWorkingFolder::create();
    kv::app::Document doc{kv::app::DocumentPorts{messages, progress, files, questions, *folder}};
    kv::gui::MainWindow window{messages};
    kv::gui::DocumentCommands commands{window, doc};
    std::unique_ptr<kv::gui::LiveRun> live;
    std::unique_ptr<kv::gui::ViewLinks> links;

    Program() {
        doc.allocate(kv::app::kFactoryMemory, false, std::nullopt);
        commands.install();
        live = std::make_unique<kv::gui::LiveRun>(doc, *window.cameraView(), messages);
        links = std::make_unique<kv::gui::ViewLinks>(window, doc, *live, messages);
        window.resize(1100, 800);
        window.show();
        window.resetWindows();
        QCoreApplication::processEvents();
    }
    ~Program() {
        links.reset();
        live.reset();
    }

    /// Runs `frames` frames at 30 fps with the mouse at (x, y) of a 400 x 300
    /// view and `keys` pressed at their frames; the run stays paused-free and
    /// ends with ESC.
    void run(int frames, float x, float y, const std::vector<std::pair<int, int>>& keys) {
        doc.preferences().framePeriod = 1.0f / 30.0f;
        std::vector<kv::app::DeviceState> script(static_cast<std::size_t>(frames));
        for (auto& d : script) {
            d.windowWidth = 400.0f;
            d.windowHeight = 300.0f;
            d.cursorX = x;
            d.cursorY = y;
        }
        for (const auto& [frame, key] : keys)
            script[static_cast<std::size_t>(frame)].event = {kv::app::InputEventKind::KeyDown, key};
        script.back().event = {kv::app::InputEventKind::KeyDown, kv::app::kKeyEscape};
        kv::app::ScriptedDeviceSource source(script);
        kv::app::ControllerSettings settings;
        settings.deadzone = 0.0f;
        kv::app::DeviceControls controls(source, settings);
        kv::SimulatedClock clock;
        // The panel as the last frame of the run left it: keep it from the idle redraw.
        live->setRunEnded({});
        live->run(controls, clock);
    }
};

bool save(QWidget& widget, const fs::path& file) {
    const bool ok = widget.grab().save(QString::fromStdString(file.string()));
    std::printf("%s %s\n", ok ? "wrote" : "could not write", file.string().c_str());
    return ok;
}

fs::path writeDxf(const fs::path& file, int faces, double size) {
    std::ofstream out(file);
    out << "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < faces; ++i) {
        const double x = 3.0 * size * i;
        out << "0\n3DFACE\n8\n0\n10\n"
            << x << "\n20\n0.0\n30\n0.0\n11\n"
            << x + size << "\n21\n0.0\n31\n0.0\n12\n"
            << x + size << "\n22\n"
            << size << "\n32\n0.0\n13\n"
            << x << "\n23\n"
            << size << "\n33\n0.0\n";
    }
    out << "0\nENDSEC\n0\nEOF\n";
    return file;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kv_panel_screenshots <folder>\n");
        return 2;
    }
    // Settings of the program's start-up go to a folder of their own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const bool display = kv::viewtest::prepareGuiPlatform();
    QApplication app(argc, argv);
    const fs::path out = argv[1];
    fs::create_directories(out);
    bool ok = true;

    {
        // The car at speed: stick halfway forward, the chase camera, cruise on.
        Program p;
        kv::model::ObjectRecord& car = p.doc.object(0);
        car.initial.position = {0.0f, 0.0f, -1.95f};
        car.initial.velocity = {95.0f, 0.0f, 0.0f};
        p.doc.resetSimulation();
        p.run(90, 200.0f, 40.0f, {{0, kv::app::kKeyF4}, {60, 'Q'}});
        ok &= save(*p.window.panelWindow(), out / "panel_car.png");
    }
    {
        // The aircraft in a bank to the right at 5000 ft, gear up, flaps out.
        Program p;
        p.window.runCommand(static_cast<int>(kv::app::CommandId::VehicleAircraft));
        kv::model::ObjectRecord& jet = p.doc.object(0);
        jet.initial.position = {0.0f, 0.0f, -5000.0f};
        jet.initial.velocity = {500.0f, 0.0f, 0.0f};
        jet.initial.attitude = {35.0f, 2.0f, 62.0f};
        p.doc.resetSimulation();
        p.run(45, 290.0f, 140.0f, {{0, kv::app::kKeyF6}, {2, 'G'}, {4, 'F'}, {6, 'S'}, {8, 'S'}});
        const kv::sim::RecordChannel& rec = p.doc.run().channels.channels[0];
        const kv::model::MotionFrame& last = rec.frames[static_cast<std::size_t>(rec.count - 1)];
        std::printf("aircraft: heading %.1f deg, bank %.1f deg, altitude %.0f m\n",
                    static_cast<double>(last[kv::model::kFrameYaw]),
                    static_cast<double>(last[kv::model::kFrameRoll]),
                    -static_cast<double>(last[kv::model::kFrameDown]));
        ok &= save(*p.window.panelWindow(), out / "panel_aircraft.png");
    }
    {
        // The project window: the car, a dynamic object, a static crate, two
        // scenery sets and a terrain; F11 follows the dynamic object.
        Program p;
        QTemporaryDir dir;
        const fs::path folder = QFile::encodeName(dir.path()).toStdString();
        std::vector<kv::model::MotionFrame> frames(4, kv::model::MotionFrame{});
        for (std::size_t i = 0; i < frames.size(); ++i)
            frames[i][kv::model::kFrameTime] = 0.1f * float(i);
        kv::model::saveLiveMotion(folder / "Ghost Car.kvm", p.doc.object(0),
                                  kv::model::TriangleSource{}, frames, p.messages);
        using kv::app::CommandId;
        p.files.answers = {(folder / "Ghost Car.kvm").string()};
        p.window.runCommand(int(CommandId::AddDynamicObject));
        p.files.answers = {writeDxf(folder / "Crate.dxf", 2, 2.0).string()};
        p.window.runCommand(int(CommandId::AddInteractiveDxfStaticObject));
        p.files.answers = {writeDxf(folder / "Barn.dxf", 3, 8.0).string()};
        p.window.runCommand(int(CommandId::AddDxfScenery));
        p.files.answers = {writeDxf(folder / "Trees.dxf", 3, 4.0).string()};
        p.window.runCommand(int(CommandId::AddDxfScenery));
        p.files.answers = {writeDxf(folder / "Hills.dxf", 6, 50.0).string()};
        p.window.runCommand(int(CommandId::AddDxfTerrain));
        p.live->viewKey(kv::app::kKeyF11);
        p.window.projectView()->selectRow(1);
        ok &= save(*p.window.projectWindow(), out / "project_tree.png");
    }
    if (display) {
        // The program as it starts: the three windows laid out, no About box.
        QTemporaryDir data;
        kv::gui::DesktopApp program(data.path());
        program.window().resize(1024, 740);
        program.start({}, false);
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 1500)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        ok &= save(program.window(), out / "main_window.png");
    }
    return ok ? 0 : 1;
}
