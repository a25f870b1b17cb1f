#include "views/instrument_view.h"

#include <QPainter>

namespace kv::views {

InstrumentView::InstrumentView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("instrumentView"));
    setFocusPolicy(Qt::NoFocus);
}

void InstrumentView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(32, 32, 32));
}

} // namespace kv::views
