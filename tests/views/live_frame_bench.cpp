// kv_live_frame_bench [frames]: the share of the 30 fps frame period that one
// live frame's work takes (controller read, physics sub-steps, recording,
// camera, drawing, the elapsed-time overlay and the instrument panel, shown
// beside the view) for the default project in a 400 x 300 camera view. The frames run back to back
// under a simulated clock, so the time measured is the work alone. Run it under xvfb-run -a to
// measure Mesa's software renderer. Target: under 25 %.
#include "app/input/input_script.h"
#include "common/simulated_clock.h"
#include "gui/panel_link.h"
#include "view_rig.h"
#include "views/instrument_view.h"

#include <GL/gl.h>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    int frames = 600;
    if (argc > 1)
        frames = std::clamp(std::atoi(argv[1]), 10, 2000);
    const bool display = kv::viewtest::prepareGuiPlatform();
    QApplication app(argc, argv);
    if (!display) {
        std::fprintf(stderr, "kv_live_frame_bench: no display (run under xvfb-run -a)\n");
        return 1;
    }
    kv::viewtest::ViewRig rig(400, 300);
    if (!rig.ready()) {
        std::fprintf(stderr, "kv_live_frame_bench: no OpenGL context\n");
        return 1;
    }
    rig.surface().makeCurrent();
    const auto* glRenderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::printf("renderer: %s\n", glRenderer != nullptr ? glRenderer : "unknown");
    rig.surface().doneCurrent();
    constexpr float kPeriod = 1.0f / 30.0f;
    rig.doc().preferences().framePeriod = kPeriod;
    // The car on its wheels (its centre of gravity 1.95 ft up), driving off.
    rig.doc().object(0).initial.position = {0.0f, 0.0f, -1.95f};
    rig.doc().resetSimulation();

    // The car driven with a little throttle and steering, ESC on the last frame.
    std::vector<kv::app::DeviceState> script(static_cast<std::size_t>(frames));
    for (auto& d : script) {
        d.windowWidth = 400.0f;
        d.windowHeight = 300.0f;
        d.cursorX = 230.0f;
        d.cursorY = 100.0f;
    }
    script.back().event = {kv::app::InputEventKind::KeyDown, kv::app::kKeyEscape};
    kv::app::ScriptedDeviceSource source(script);
    kv::app::DeviceControls controls(source, kv::app::ControllerSettings{});
    kv::SimulatedClock clock;

    // The instrument panel visible, drawn after every frame as the program does.
    kv::views::InstrumentView panel;
    panel.move(420, 0);
    panel.show();
    QCoreApplication::processEvents();
    kv::gui::PanelLink link(rig.doc(), panel);
    double panelSeconds = 0.0;
    rig.live().setFrameDrawn([&](bool live) {
        const auto t0 = std::chrono::steady_clock::now();
        link.draw(live);
        panelSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    });

    const int paintedBefore = rig.surface().framesPainted();
    const auto start = std::chrono::steady_clock::now();
    rig.live().run(controls, clock);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int drawn = rig.live().framesDrawn();
    const double perFrame = seconds / std::max(1, drawn);
    std::printf("frames: %d run, %d painted, in %.3f s\n", drawn,
                rig.surface().framesPainted() - paintedBefore, seconds);
    std::printf("frame work: %.3f ms of the %.3f ms frame period at 30 fps\n", perFrame * 1e3,
                kPeriod * 1e3);
    std::printf("share of the frame period: %.1f %% (target under 25 %%)\n",
                100.0 * perFrame / kPeriod);
    std::printf("instrument panel: %d frames, %.3f ms a frame (%.1f %% of the period), %d paints\n",
                link.frames(), 1e3 * panelSeconds / std::max(1, link.frames()),
                100.0 * panelSeconds / std::max(1, link.frames()) / kPeriod, panel.paints());
    rig.live().setFrameDrawn({});
    return 0;
}
