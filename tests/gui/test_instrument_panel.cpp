// The instrument panel during runs of the desktop program's live loop: the
// gauge strip repainted every frame, the whole panel when idle, nothing while
// hidden, and the speed unit following the working length unit.
#include "app/commands/commands.h"
#include "app/document/document.h"
#include "app/input/input_keys.h"
#include "app/input/input_script.h"
#include "common/simulated_clock.h"
#include "geometry/working_files.h"
#include "gui/document_commands.h"
#include "gui/live_run.h"
#include "gui/main_window.h"
#include "gui/view_links.h"
#include "gui_test_support.h"
#include "views/child_window.h"
#include "views/instrument_view.h"

#include <QTest>

using kv::app::CommandId;

namespace {

struct Rig {
    kv::guitest::RecordingMessages messages;
    kv::NullProgress progress;
    kv::guitest::ScriptedFiles files;
    kv::guitest::ScriptedQuestions questions;
    std::unique_ptr<kv::geom::PrivateWorkingFolder> folder =
        kv::geom::PrivateWorkingFolder::create();
    kv::app::Document doc{kv::app::DocumentPorts{messages, progress, files, questions, *folder}};
    kv::gui::MainWindow window{messages};
    kv::gui::DocumentCommands commands{window, doc};
    std::unique_ptr<kv::gui::LiveRun> live;
    std::unique_ptr<kv::gui::ViewLinks> links;

    Rig() {
        doc.allocate(kv::app::kFactoryMemory, false, std::nullopt);
        commands.install();
        live = std::make_unique<kv::gui::LiveRun>(doc, *window.cameraView(), messages);
        links = std::make_unique<kv::gui::ViewLinks>(window, doc, *live, messages);
        window.resize(1000, 800);
        window.show();
        window.showAllWindows();
        QCoreApplication::processEvents();
    }
    ~Rig() {
        links.reset();
        live.reset();
    }
    kv::views::InstrumentView& panel() { return *window.instrumentView(); }

    /// A run of `frames` frames with the stick halfway forward; `during` is
    /// called after frame `at` is drawn.
    void run(int frames, int at = -1, std::function<void()> during = {}) {
        doc.preferences().framePeriod = 1.0f / 30.0f;
        std::vector<kv::app::DeviceState> script(static_cast<std::size_t>(frames));
        for (auto& d : script) {
            d.windowWidth = 400.0f;
            d.windowHeight = 300.0f;
            d.cursorX = 200.0f;
            d.cursorY = 75.0f;
        }
        script.back().event = {kv::app::InputEventKind::KeyDown, kv::app::kKeyEscape};
        kv::app::ScriptedDeviceSource source(script);
        kv::app::ControllerSettings settings;
        settings.deadzone = 0.0f;
        kv::app::DeviceControls controls(source, settings);
        kv::SimulatedClock clock;
        int drawn = 0;
        live->setFrameDrawn([&](bool running) {
            links->drawPanel(running);
            if (running && drawn++ == at && during)
                during();
        });
        live->run(controls, clock);
        live->setFrameDrawn([this](bool running) { links->drawPanel(running); });
    }
};

class InstrumentPanelTest : public QObject {
    Q_OBJECT
  private slots:
    void runRepaintsTheGaugeStripAndIdleTheWholePanel() {
        Rig r;
        QCOMPARE(r.panel().lastPaintRect(), QRect(0, 0, 400, 300));
        const QImage idle = r.panel().surface();
        int paintsInRun = 0;
        QRect stripRect;
        r.run(20, 10, [&] {
            paintsInRun = r.panel().paints();
            stripRect = r.panel().lastPaintRect();
        });
        QCOMPARE(stripRect, QRect(0, 0, 400, 168));
        QVERIFY(paintsInRun > 10);
        // The needles moved: the gauge strip differs from the idle panel, the
        // key guide below it does not (no key changed).
        const QImage after = r.panel().surface();
        QVERIFY(after.copy(0, 0, 400, 168) != idle.copy(0, 0, 400, 168));
        QCOMPARE(after.copy(0, 300 - 40, 400, 40), idle.copy(0, 300 - 40, 400, 40));
        // After the run the whole panel is redrawn.
        QCoreApplication::processEvents();
        QCOMPARE(r.panel().lastPaintRect(), QRect(0, 0, 400, 300));
    }

    void hiddenPanelIsNotDrawn() {
        Rig r;
        r.window.runCommand(int(CommandId::WindowInstrumentPanel));
        QVERIFY(r.window.panelWindow()->isHidden());
        const int frames = r.links->panelFrames();
        const int paints = r.panel().paints();
        r.run(15);
        QCOMPARE(r.links->panelFrames(), frames);
        QCOMPARE(r.panel().paints(), paints);
        // Shown again: one whole redraw of the panel as it stands.
        r.window.runCommand(int(CommandId::WindowInstrumentPanel));
        QCoreApplication::processEvents();
        QVERIFY(r.links->panelFrames() > frames);
        QCOMPARE(r.panel().lastPaintRect(), QRect(0, 0, 400, 300));
    }

    void aircraftGetsItsPanelAndTheUnitFollowsTheWorkingLength() {
        Rig r;
        // Metres (the factory unit): KPH; the aircraft panel's strip is 194 rows.
        const QImage metric = r.panel().surface().copy(230, 100, 40, 18);
        r.doc.preferences().lengthUnitFactor = kv::kFeetPerFoot;
        r.window.runCommand(int(CommandId::SimulationReset));
        const QImage imperial = r.panel().surface().copy(230, 100, 40, 18);
        QVERIFY(metric != imperial);
        r.window.runCommand(int(CommandId::VehicleAircraft));
        QRect strip;
        r.run(10, 5, [&] { strip = r.panel().lastPaintRect(); });
        QCOMPARE(strip, QRect(0, 0, 400, 194));
    }
};

} // namespace

QTEST_MAIN(InstrumentPanelTest)
#include "test_instrument_panel.moc"
