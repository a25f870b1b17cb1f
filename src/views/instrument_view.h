#pragma once
/// The instrument panel's view: a fixed 400 × 300 client area showing the
/// panel's working surface. Each frame's drawing steps (computed by the core)
/// are applied to the surface; during a run only the gauge strip and the keys
/// that changed are repainted, an idle redraw repaints everything.

#include "app/panel/instrument_panel.h"

#include <QImage>
#include <QWidget>
#include <map>

namespace kv::views {

class InstrumentView final : public QWidget {
    Q_OBJECT
  public:
    explicit InstrumentView(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {app::kPanelWidth, app::kPanelHeight}; }

    /// Applies `frame` to the working surface and brings the changed parts to
    /// the screen: at once during a run (`now`), else at the next paint.
    void drawFrame(const app::PanelFrame& frame, bool now);

    /// The working surface as last drawn.
    const QImage& surface() const { return surface_; }
    /// Paint events handled and the rows the last one covered (for tests).
    int paints() const { return paints_; }
    const QRect& lastPaintRect() const { return lastPaint_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    /// A kept image, or one drawn for this blit only (QImage shares its data).
    QImage image(app::PanelImage image, int variant);

    QImage surface_;
    /// Images blitted every frame, made on first use; freed when the other panel is set up.
    std::map<std::pair<int, int>, QImage> kept_;
    QFont font_;
    int paints_ = 0;
    QRect lastPaint_;
};

} // namespace kv::views
