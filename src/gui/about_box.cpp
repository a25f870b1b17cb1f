#include "gui/about_box.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#ifndef KV_VERSION
#define KV_VERSION "0.0.0"
#endif

namespace kv::gui {

QPixmap aboutPicture() {
    QPixmap pixmap(kAboutWidth, kAboutHeight);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // Dusk sky over a dark green ground with a receding grid.
    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0.0, QColor(30, 30, 80));
    sky.setColorAt(1.0, QColor(90, 70, 140));
    p.fillRect(0, 0, kAboutWidth, 200, sky);
    p.fillRect(0, 200, kAboutWidth, kAboutHeight - 200, QColor(0, 50, 0));
    p.setPen(QPen(QColor(0, 150, 0), 1));
    for (int i = -12; i <= 12; ++i) {
        p.drawLine(QPointF(kAboutWidth / 2.0 + i * 12.0, 200.0),
                   QPointF(kAboutWidth / 2.0 + i * 90.0, kAboutHeight));
    }
    for (double y = 204.0, step = 3.0; y < kAboutHeight; y += step, step *= 1.35) {
        p.drawLine(QPointF(0, y), QPointF(kAboutWidth, y));
    }

    // A kestrel's outline hovering over the ground.
    QPainterPath bird;
    bird.moveTo(252, 120);
    bird.cubicTo(220, 95, 185, 92, 150, 100);
    bird.cubicTo(190, 108, 225, 118, 244, 132);
    bird.lineTo(238, 160);
    bird.lineTo(252, 152);
    bird.lineTo(266, 160);
    bird.lineTo(260, 132);
    bird.cubicTo(279, 118, 314, 108, 354, 100);
    bird.cubicTo(319, 92, 284, 95, 252, 120);
    p.fillPath(bird, QColor(200, 120, 60));

    p.setPen(Qt::white);
    QFont title = p.font();
    title.setPointSize(28);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 18, kAboutWidth, 50), Qt::AlignHCenter, QStringLiteral("Kestrovane"));
    QFont small = p.font();
    small.setPointSize(10);
    small.setBold(false);
    p.setFont(small);
    p.drawText(QRect(0, 62, kAboutWidth, 20), Qt::AlignHCenter,
               QStringLiteral("Vehicle motion for animators"));
    p.drawText(QRect(0, 250, kAboutWidth, 20), Qt::AlignHCenter,
               QStringLiteral("Version %1").arg(QStringLiteral(KV_VERSION)));
    p.drawText(QRect(0, 272, kAboutWidth, 20), Qt::AlignHCenter,
               QStringLiteral("Copyright \u00A9 Ostravel"));
    p.drawText(QRect(0, 294, kAboutWidth, 20), Qt::AlignHCenter, QStringLiteral("Click to close"));
    return pixmap;
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent), picture_(aboutPicture()) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("About Kestrovane"));
    setFixedSize(kAboutWidth, kAboutHeight);
}

void AboutBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

} // namespace kv::gui
