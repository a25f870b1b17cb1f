#pragma once
/// A camera view on the default project, with the desktop program's live run,
/// for the view tests, the screenshot tool and the frame benchmark.

#include "gui/live_run.h"
#include "support/document_ports.h"
#include "views/camera_view.h"

#include <QImage>
#include <filesystem>
#include <functional>
#include <memory>

namespace kv::viewtest {

/// Sets the platform (the display when there is one, else offscreen) and the
/// compatibility-profile GL format; call before the QApplication is made.
/// Returns whether there is a display.
bool prepareGuiPlatform();

class ViewRig {
  public:
    /// A `width` x `height` camera view shown on screen; `ready()` tells
    /// whether its GL surface came up.
    ViewRig(int width, int height);
    ~ViewRig();

    bool ready() const { return ready_; }
    app::Document& doc() { return *rig_.doc; }
    views::CameraView& view() { return *view_; }
    views::SceneSurface& surface() { return *view_->surface(); }
    gui::LiveRun& live() { return *live_; }
    test::DocumentRig& ports() { return rig_; }

    /// Makes object 0 a template vehicle of `type` with its mesh.
    void setVehicle(int type);
    /// Draws the document's scene as it stands and grabs the frame.
    QImage grab();

  private:
    test::DocumentRig rig_;
    std::unique_ptr<views::CameraView> view_;
    std::unique_ptr<gui::LiveRun> live_;
    bool ready_ = false;
};

/// Writes `folder`/hills.dxf: a square terrain of cells x cells 3DFACEs
/// reaching `half` metres from the origin each way, each corner at the height
/// (m, z up) `height` gives for its x, y (m).
std::filesystem::path writeHillsDxf(const std::filesystem::path& folder, int cells, double half,
                                    const std::function<double(double, double)>& height);

} // namespace kv::viewtest
