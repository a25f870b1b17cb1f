// kv_view_screenshots <folder>: draws the camera view of three scenes in a
// 640 x 480 window and writes them as PNG files: the default car on the grid,
// a hilly terrain, and the aircraft seen from the chase camera.
#include "app/camera/camera_state.h"
#include "app/input/input_keys.h"
#include "app/input/input_script.h"
#include "common/simulated_clock.h"
#include "model/object_record.h"
#include "view_rig.h"

#include <QApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using kv::viewtest::ViewRig;

/// Writes a terrain of rolling hills, 600 m square, as DXF 3DFACEs (m, z up).
std::filesystem::path writeHills(const std::filesystem::path& folder) {
    return kv::viewtest::writeHillsDxf(folder, 30, 300.0, [](double x, double y) {
        return 12.0 * std::sin(x / 70.0) * std::cos(y / 55.0) + 0.00015 * (x * x + y * y);
    });
}

bool save(const QImage& image, const std::filesystem::path& file) {
    const bool ok = image.save(QString::fromStdString(file.string()));
    std::printf("%s %s\n", ok ? "wrote" : "could not write", file.string().c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kv_view_screenshots <folder>\n");
        return 2;
    }
    const bool display = kv::viewtest::prepareGuiPlatform();
    QApplication app(argc, argv);
    if (!display) {
        std::fprintf(stderr, "kv_view_screenshots: no display (run under xvfb-run -a)\n");
        return 1;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    bool ok = true;

    {
        ViewRig rig(640, 480);
        if (!rig.ready()) {
            std::fprintf(stderr, "kv_view_screenshots: no OpenGL context\n");
            return 1;
        }
        ok &= save(rig.grab(), folder / "car-on-grid.png");
    }
    {
        ViewRig rig(640, 480);
        kv::app::DxfImport terrain;
        terrain.file = writeHills(rig.ports().folder->folder());
        ok &= rig.doc().addTerrain(terrain);
        rig.live().projectChanged();
        kv::sim::CameraRecord& camera = rig.doc().camera();
        camera.position = {-380.0f, -280.0f, -45.0f};
        camera.angles = {0.0f, -6.0f, 35.0f};
        ok &= save(rig.grab(), folder / "terrain.png");
    }
    {
        ViewRig rig(640, 480);
        rig.setVehicle(kv::model::kVehicleAircraft);
        // Flying 300 m up at 107 m/s, the camera 14 m behind and 3 m above; the
        // stick held a little back against the nose dropping.
        kv::model::ObjectRecord& aircraft = rig.doc().object(0);
        aircraft.initial.position = {0.0f, 0.0f, -1000.0f};
        aircraft.initial.velocity = {350.0f, 0.0f, 0.0f};
        rig.doc().resetSimulation();
        kv::sim::CameraRecord& camera = rig.doc().camera();
        camera.position = {-14.0f, 0.0f, -1000.0f * 0.3048037f - 3.0f};
        camera.angles = {0.0f, -8.0f, 0.0f};
        // A short run in the chase camera: F4 on the first frame, then button A
        // (Ctrl) held to shorten the chase delay, ESC after a second and a half.
        std::vector<kv::app::DeviceState> script(45);
        for (auto& d : script) {
            d.windowWidth = 640.0f;
            d.windowHeight = 480.0f;
            d.cursorX = 320.0f;
            d.cursorY = 272.0f;
        }
        for (std::size_t f = 1; f <= 12; ++f)
            script[f].ctrlDown = true;
        script[0].event = {kv::app::InputEventKind::KeyDown, kv::app::kKeyF4};
        script[44].event = {kv::app::InputEventKind::KeyDown, kv::app::kKeyEscape};
        kv::app::ScriptedDeviceSource source(script);
        kv::app::DeviceControls controls(source, kv::app::ControllerSettings{});
        kv::SimulatedClock clock;
        rig.live().run(controls, clock);
        ok &= save(rig.grab(), folder / "aircraft-chase.png");
        if (std::getenv("KV_SCREENSHOT_EXTRA") != nullptr) {
            rig.live().viewKey(kv::app::kKeyF6);
            save(rig.grab(), folder / "aircraft-external.png");
        }
    }
    return ok ? 0 : 1;
}
