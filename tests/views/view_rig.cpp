#include "view_rig.h"

#include "model/template.h"
#include "model/template_mesh.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSurfaceFormat>
#include <cstdlib>
#include <fstream>

namespace kv::viewtest {

bool prepareGuiPlatform() {
    const char* display = std::getenv("DISPLAY");
    const bool haveDisplay = display != nullptr && *display != '\0';
    qputenv("QT_QPA_PLATFORM", haveDisplay ? "xcb" : "offscreen");
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
    return haveDisplay;
}

ViewRig::ViewRig(int width, int height) {
    view_ = std::make_unique<views::CameraView>();
    if (view_->surface() == nullptr)
        return;
    view_->resize(width, height);
    live_ = std::make_unique<gui::LiveRun>(doc(), *view_, rig_.messages);
    view_->show();
    QElapsedTimer wait;
    wait.start();
    while (!surface().ready() && wait.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ready_ = surface().ready();
}

ViewRig::~ViewRig() {
    live_.reset();
    view_.reset();
}

void ViewRig::setVehicle(int type) {
    model::ObjectRecord& r = doc().object(0);
    r.vehicleType = type;
    model::applyTemplate(r);
    geom::MeshStore& meshes = doc().meshes();
    meshes.clearGeometry(0);
    model::loadTemplateMesh(
        type, [&](const std::array<double, 12>& corners) { return meshes.addFace(corners); });
    meshes.thinContactVertices(0);
    doc().resetSimulation();
    live_->projectChanged();
}

QImage ViewRig::grab() {
    surface().clearFrame();
    return surface().grabFramebuffer();
}

std::filesystem::path writeHillsDxf(const std::filesystem::path& folder, int cells, double half,
                                    const std::function<double(double, double)>& height) {
    const std::filesystem::path file = folder / "hills.dxf";
    std::ofstream out(file);
    out << "  0\nSECTION\n  2\nENTITIES\n";
    const double step = 2.0 * half / cells;
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            const double x0 = -half + i * step, y0 = -half + j * step;
            const double xs[4] = {x0, x0 + step, x0 + step, x0};
            const double ys[4] = {y0, y0, y0 + step, y0 + step};
            out << "  0\n3DFACE\n  8\nTerrain\n";
            for (int c = 0; c < 4; ++c) {
                out << " 1" << c << "\n" << xs[c] << "\n";
                out << " 2" << c << "\n" << ys[c] << "\n";
                out << " 3" << c << "\n" << height(xs[c], ys[c]) << "\n";
            }
        }
    }
    out << "  0\nENDSEC\n  0\nEOF\n";
    return file;
}

} // namespace kv::viewtest
