#pragma once
/// A camera view on the default project in a 400 x 300 window, with the live
/// run of the desktop program; skipped when this machine has no OpenGL.

#include "view_rig.h"

#include <QRect>
#include <gtest/gtest.h>

namespace kv::viewtest {

/// Set by main: whether a GL context can be made in a window here.
extern bool glAvailable;

class ViewFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override { rig_.reset(); }

    app::Document& doc() { return rig_->doc(); }
    views::SceneSurface& surface() { return rig_->surface(); }
    gui::LiveRun& live() { return rig_->live(); }
    void setVehicle(int type) { rig_->setVehicle(type); }
    QImage grab() { return rig_->grab(); }

    std::unique_ptr<ViewRig> rig_;
};

/// Pixel classes of the default scene.
bool isSky(QRgb c);
bool isDarkGround(QRgb c);
bool isGridGreen(QRgb c);
bool isLadder(QRgb c);
bool isGuide(QRgb c);
/// Anything but an object: sky, stars, ground, grid, guides, ladder.
bool isBackdrop(QRgb c);
/// Pixels of `image` inside `area` for which `test` holds.
int countPixels(const QImage& image, const QRect& area, bool (*test)(QRgb));

} // namespace kv::viewtest
