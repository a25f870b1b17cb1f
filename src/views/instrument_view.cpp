#include "views/instrument_view.h"

#include "views/panel_images.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace kv::views {

namespace {

/// Lamps, levers and keys change seldom: they are drawn when needed and not kept.
bool keptImage(app::PanelImage image) {
    switch (image) {
    case app::PanelImage::CarBackground:
    case app::PanelImage::AircraftBackground:
    case app::PanelImage::Tachometer:
    case app::PanelImage::Speedometer:
    case app::PanelImage::AirspeedDial:
    case app::PanelImage::Altimeter:
    case app::PanelImage::HeadingCard:
    case app::PanelImage::AircraftSymbol:
    case app::PanelImage::LoadFactorDial:
    case app::PanelImage::LeverKnob:
    case app::PanelImage::LeverSlot:
        return true;
    default:
        return false;
    }
}

} // namespace

InstrumentView::InstrumentView(QWidget* parent)
    : QWidget(parent), surface_(app::kPanelWidth, app::kPanelHeight, QImage::Format_RGB32),
      font_(panelFont()) {
    setObjectName(QStringLiteral("instrumentView"));
    setAccessibleName(QStringLiteral("Instrument Panel"));
    setFocusPolicy(Qt::NoFocus);
    // The surface covers the whole client area: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(app::kPanelWidth, app::kPanelHeight);
    surface_.fill(QColor(34, 36, 40));
}

QImage InstrumentView::image(app::PanelImage which, int variant) {
    const auto key = std::make_pair(static_cast<int>(which), variant);
    auto found = kept_.find(key);
    if (found != kept_.end())
        return found->second;
    QImage made = makePanelImage(which, variant);
    if (keptImage(which))
        kept_.emplace(key, made);
    return made;
}

void InstrumentView::drawFrame(const app::PanelFrame& frame, bool now) {
    if (frame.switchedPanel)
        kept_.clear();
    {
        QPainter p(&surface_);
        p.setFont(font_);
        for (const app::PanelStep& step : frame.steps) {
            if (const auto* b = std::get_if<app::PanelBlit>(&step)) {
                p.drawImage(b->x, b->y, image(b->image, b->variant));
            } else if (const auto* l = std::get_if<app::PanelLine>(&step)) {
                p.setRenderHint(QPainter::Antialiasing, l->width > 1);
                p.setPen(
                    QPen(QColor(l->red, l->green, l->blue), l->width, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QLineF(l->x0, l->y0, l->x1, l->y1));
            } else if (const auto* t = std::get_if<app::PanelText>(&step)) {
                p.setPen(t->white ? Qt::white : Qt::black);
                p.drawText(QRect(t->x, t->y, 120, 20), Qt::AlignLeft | Qt::AlignTop,
                           QString::fromStdString(t->text));
            }
        }
    }
    QRegion region(0, 0, app::kPanelWidth, frame.copyRows);
    for (const app::PanelRect& r : frame.changedBelow)
        region += QRect(r.x, r.y, r.width, r.height);
    if (now) {
        repaint(region);
    } else {
        update(region);
    }
}

void InstrumentView::paintEvent(QPaintEvent* event) {
    ++paints_;
    lastPaint_ = event->rect();
    QPainter p(this);
    for (const QRect& r : event->region())
        p.drawImage(r, surface_, r);
}

} // namespace kv::views
