#include "dialogs/vehicle_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace kv::dialogs {

namespace {

const QColor kBody(225, 229, 236);
const QColor kOutline(60, 66, 80);
const QColor kTire(40, 40, 44);
const QColor kDimension(176, 48, 32);

/// A dimension line from a to b with arrow heads and its caption beside it.
void dimension(QPainter& p, QPointF a, QPointF b, const QString& text,
               QPointF textOffset = {0, -6}) {
    p.save();
    p.setPen(QPen(kDimension, 1.2));
    p.drawLine(a, b);
    const QLineF line(a, b);
    for (const auto& [tip, back] : {std::pair{a, b}, std::pair{b, a}}) {
        QLineF arrow(tip, back);
        arrow.setLength(7.0);
        const QLineF left = QLineF::fromPolar(7.0, arrow.angle() + 25.0).translated(tip);
        const QLineF right = QLineF::fromPolar(7.0, arrow.angle() - 25.0).translated(tip);
        p.drawLine(left);
        p.drawLine(right);
    }
    p.setPen(kDimension);
    const QPointF mid = line.center() + textOffset;
    const QRectF box(mid.x() - 90, mid.y() - 14, 180, 14);
    p.drawText(box, Qt::AlignHCenter | Qt::AlignBottom, text);
    p.restore();
}

void centreOfGravity(QPainter& p, QPointF c) {
    p.save();
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(Qt::white);
    p.drawEllipse(c, 5, 5);
    p.setBrush(kOutline);
    p.drawPie(QRectF(c.x() - 5, c.y() - 5, 10, 10), 0, 90 * 16);
    p.drawPie(QRectF(c.x() - 5, c.y() - 5, 10, 10), 180 * 16, 90 * 16);
    p.restore();
}

void wheel(QPainter& p, QPointF c, double r) {
    p.save();
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(kTire);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(170, 170, 176));
    p.drawEllipse(c, r * 0.45, r * 0.45);
    p.restore();
}

void planTire(QPainter& p, QPointF c, double length, double width) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kTire);
    p.drawRoundedRect(QRectF(c.x() - length / 2, c.y() - width / 2, length, width), 2, 2);
    p.restore();
}

void caption(QPainter& p, QRectF where, const QString& text) {
    p.save();
    QFont f = p.font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(kOutline);
    p.drawText(where, Qt::AlignLeft | Qt::AlignTop, text);
    p.restore();
}

// Each vehicle faces right: forward is +x on the page, and in the plan view
// right is down the page.

void drawCar(QPainter& p) {
    caption(p, {10, 8, 200, 16}, QStringLiteral("Plan"));
    const QPointF cg(190, 80);
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(kBody);
    p.drawRoundedRect(QRectF(80, 45, 230, 70), 22, 22);
    for (double x : {270.0, 120.0})
        for (double y : {45.0, 115.0})
            planTire(p, {x, y}, 34, 14);
    centreOfGravity(p, cg);
    dimension(p, {cg.x(), 140}, {270, 140}, QStringLiteral("Front Axle Forward"), {10, 14});
    dimension(p, {120, 140}, {cg.x(), 140}, QStringLiteral("Rear Axle Back"), {-20, 14});
    dimension(p, {330, 45}, {330, 115}, QStringLiteral("Track"), {26, 6});

    caption(p, {10, 170, 200, 16}, QStringLiteral("Side"));
    const QPointF side(190, 228);
    QPainterPath body;
    body.moveTo(70, 250);
    body.lineTo(70, 222);
    body.lineTo(130, 215);
    body.lineTo(160, 190);
    body.lineTo(250, 190);
    body.lineTo(285, 215);
    body.lineTo(320, 222);
    body.lineTo(320, 250);
    body.closeSubpath();
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(kBody);
    p.drawPath(body);
    wheel(p, {270, 258}, 20);
    wheel(p, {120, 258}, 20);
    centreOfGravity(p, side);
    p.setPen(QPen(kOutline, 1.0, Qt::DashLine));
    p.drawLine(QPointF(60, 278), QPointF(340, 278));
    dimension(p, {345, side.y()}, {345, 258}, QStringLiteral("Tire Height"), {-2, -24});
    dimension(p, {120, 258}, {120, 238}, QStringLiteral("Tire Radius"), {-10, -14});
    dimension(p, {300, 248}, {300, 268}, QStringLiteral("Suspension Travel"), {-10, 34});
    // Steering lock: the front tire turned in the plan view.
    p.save();
    p.translate(270, 115);
    p.rotate(-30);
    p.setPen(QPen(kDimension, 1.0, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(-17, -7, 34, 14), 2, 2);
    p.restore();
    p.setPen(kDimension);
    p.drawText(QRectF(150, 96, 100, 14), Qt::AlignRight, QStringLiteral("Steering Lock"));
}

void drawMotorcycle(QPainter& p) {
    caption(p, {10, 8, 200, 16}, QStringLiteral("Side"));
    const QPointF cg(185, 150);
    const QPointF forkPivot(265, 110);
    const QPointF frontTire(300, 215);
    const QPointF rearPivot(140, 185);
    const QPointF rearTire(85, 215);
    QPainterPath frame;
    frame.moveTo(110, 150);
    frame.lineTo(forkPivot);
    frame.lineTo(rearPivot);
    frame.closeSubpath();
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(kBody);
    p.drawPath(frame);
    p.drawRoundedRect(QRectF(150, 120, 80, 28), 10, 10);
    wheel(p, frontTire, 38);
    wheel(p, rearTire, 38);
    p.setPen(QPen(kOutline, 4.0));
    p.drawLine(forkPivot, frontTire);
    p.drawLine(rearPivot, rearTire);
    p.setPen(QPen(kOutline, 3.0));
    p.drawLine(forkPivot, forkPivot + QPointF(-18, -18));
    centreOfGravity(p, cg);
    p.setBrush(Qt::white);
    p.setPen(QPen(kOutline, 1.0));
    p.drawEllipse(forkPivot, 4, 4);
    p.drawEllipse(rearPivot, 4, 4);
    p.setPen(QPen(kOutline, 1.0, Qt::DashLine));
    p.drawLine(QPointF(30, 253), QPointF(360, 253));
    p.drawLine(QPointF(40, cg.y()), QPointF(350, cg.y()));
    dimension(p, {cg.x(), 70}, {forkPivot.x(), 70}, QStringLiteral("Fork Pivot Forward"));
    dimension(p, {forkPivot.x() + 40, cg.y()}, {forkPivot.x() + 40, forkPivot.y()},
              QStringLiteral("Fork Pivot Up"), {40, -14});
    dimension(p, {cg.x(), 45}, {frontTire.x(), 45}, QStringLiteral("Front Tire Forward"));
    dimension(p, {rearTire.x(), 45}, {cg.x(), 45}, QStringLiteral("Rear Tire Back"));
    dimension(p, {rearPivot.x(), 280}, {cg.x(), 280}, QStringLiteral("Rear Pivot Back"), {-40, 14});
    dimension(p, {352, cg.y()}, {352, frontTire.y()}, QStringLiteral("Front Tire Down"),
              {-10, -36});
    dimension(p, {30, cg.y()}, {30, rearTire.y()}, QStringLiteral("Rear Tire Down"), {40, -36});
    dimension(p, {rearPivot.x() + 12, cg.y()}, {rearPivot.x() + 12, rearPivot.y()},
              QStringLiteral("Rear Pivot Down"), {40, 62});
    dimension(p, {frontTire.x(), frontTire.y()}, {frontTire.x() + 27, frontTire.y() + 27},
              QStringLiteral("Radius"), {40, 10});
    dimension(p, {262, 160}, {274, 196}, QStringLiteral("Fork Travel"), {-40, 8});
}

void drawAircraft(QPainter& p) {
    caption(p, {10, 8, 200, 16}, QStringLiteral("Plan"));
    const QPointF cg(190, 90);
    QPainterPath plan;
    plan.moveTo(340, 90);
    plan.lineTo(300, 80);
    plan.lineTo(210, 80);
    plan.lineTo(160, 25);
    plan.lineTo(140, 25);
    plan.lineTo(150, 80);
    plan.lineTo(75, 82);
    plan.lineTo(55, 55);
    plan.lineTo(45, 55);
    plan.lineTo(50, 90);
    plan.lineTo(45, 125);
    plan.lineTo(55, 125);
    plan.lineTo(75, 98);
    plan.lineTo(150, 100);
    plan.lineTo(140, 155);
    plan.lineTo(160, 155);
    plan.lineTo(210, 100);
    plan.lineTo(300, 100);
    plan.closeSubpath();
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(kBody);
    p.drawPath(plan);
    planTire(p, {290, 90}, 14, 6);
    planTire(p, {170, 65}, 14, 6);
    planTire(p, {170, 115}, 14, 6);
    centreOfGravity(p, cg);
    dimension(p, {cg.x(), 172}, {290, 172}, QStringLiteral("Nose Gear Forward"), {0, 14});
    dimension(p, {170, 172}, {cg.x(), 172}, QStringLiteral("Main Gear Back"), {-50, 14});
    dimension(p, {350, 65}, {350, 115}, QStringLiteral("Main Gear Track"), {-10, 40});

    caption(p, {10, 200, 200, 16}, QStringLiteral("Side"));
    const QPointF side(190, 235);
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(kBody);
    p.drawRoundedRect(QRectF(50, 222, 290, 26), 12, 12);
    p.setPen(QPen(kOutline, 3.0));
    p.drawLine(QPointF(290, 245), QPointF(290, 275));
    p.drawLine(QPointF(170, 245), QPointF(170, 275));
    wheel(p, {290, 282}, 8);
    wheel(p, {170, 282}, 8);
    centreOfGravity(p, side);
    dimension(p, {355, side.y()}, {355, 282}, QStringLiteral("Gear Height"), {-10, 30});
    dimension(p, {230, 268}, {230, 290}, QStringLiteral("Strut Travel"), {0, 24});
}

void drawHelicopter(QPainter& p) {
    caption(p, {10, 8, 200, 16}, QStringLiteral("Side"));
    const QPointF cg(200, 175);
    const QPointF mainHub(205, 110);
    const QPointF tailHub(50, 125);
    QPainterPath body;
    body.moveTo(300, 190);
    body.cubicTo(300, 140, 260, 135, 230, 135);
    body.lineTo(170, 135);
    body.lineTo(60, 140);
    body.lineTo(45, 120);
    body.lineTo(40, 150);
    body.lineTo(165, 200);
    body.lineTo(280, 205);
    body.closeSubpath();
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(kBody);
    p.drawPath(body);
    p.setPen(QPen(kOutline, 3.0));
    p.drawLine(mainHub, mainHub + QPointF(0, 25));
    p.drawLine(QPointF(mainHub.x() - 130, mainHub.y()), QPointF(mainHub.x() + 130, mainHub.y()));
    p.setPen(QPen(kOutline, 2.0));
    p.drawLine(tailHub + QPointF(0, -22), tailHub + QPointF(0, 22));
    p.drawLine(QPointF(180, 205), QPointF(175, 225));
    p.drawLine(QPointF(260, 205), QPointF(265, 225));
    p.drawLine(QPointF(150, 227), QPointF(290, 227));
    centreOfGravity(p, cg);
    p.setPen(QPen(kOutline, 1.0, Qt::DashLine));
    p.drawLine(QPointF(30, cg.y()), QPointF(360, cg.y()));
    dimension(p, {mainHub.x(), 80}, {mainHub.x() + 130, 80}, QStringLiteral("Main Blade Length"));
    dimension(p, {tailHub.x(), 60}, {cg.x(), 60}, QStringLiteral("Tail Rotor Back"));
    dimension(p, {330, cg.y()}, {330, mainHub.y()}, QStringLiteral("Main Rotor Up"), {-4, 30});
    dimension(p, {20, cg.y()}, {20, tailHub.y()}, QStringLiteral("Tail Rotor Up"), {40, 12});
    dimension(p, {350, cg.y()}, {350, 227}, QStringLiteral("Gear Height"), {-12, 40});
    dimension(p, {175, 255}, {cg.x(), 255}, QStringLiteral("Main Gear Back"), {-30, 14});
    dimension(p, {cg.x(), 255}, {265, 255}, QStringLiteral("Nose Gear Forward"), {50, 14});

    caption(p, {10, 290, 200, 16}, QStringLiteral("Plan"));
    const QPointF plan(200, 400);
    p.setPen(QPen(kOutline, 1.0, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(mainHub.x(), plan.y()), 95, 95);
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(kBody);
    p.drawRoundedRect(QRectF(150, plan.y() - 18, 150, 36), 16, 16);
    p.drawRect(QRectF(50, plan.y() - 4, 105, 8));
    p.setPen(QPen(kOutline, 3.0));
    p.drawLine(QPointF(38, plan.y() + 12), QPointF(62, plan.y() + 12));
    planTire(p, {265, plan.y()}, 12, 5);
    planTire(p, {175, plan.y() - 26}, 12, 5);
    planTire(p, {175, plan.y() + 26}, 12, 5);
    centreOfGravity(p, plan);
    dimension(p, {30, plan.y()}, {30, plan.y() + 12}, QStringLiteral("Tail Rotor Right"),
              {30, -20});
    dimension(p, {140, plan.y() - 26}, {140, plan.y() + 26}, QStringLiteral("Main Gear Track"),
              {0, 46});
    dimension(p, {mainHub.x(), plan.y() + 110}, {mainHub.x() + 95, plan.y() + 110},
              QStringLiteral("Main Blade Length"), {0, 14});
}

} // namespace

VehiclePicture::VehiclePicture(int vehicleType, const QString& unitName, QWidget* parent)
    : QWidget(parent), vehicleType_(vehicleType), unitName_(unitName) {
    setMinimumSize(sizeHint());
    setAccessibleName(QStringLiteral("Vehicle dimensions"));
}

void VehiclePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    p.setPen(QPen(kOutline, 1.0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const qreal pageHeight = vehicleType_ == 3 ? 530.0 : 320.0;
    const qreal scale = qMin(width() / 380.0, height() / pageHeight);
    p.scale(scale, scale);
    QFont f = p.font();
    f.setPointSizeF(7.5);
    p.setFont(f);
    switch (vehicleType_) {
    case 0:
        drawCar(p);
        break;
    case 1:
        drawMotorcycle(p);
        break;
    case 2:
        drawAircraft(p);
        break;
    case 3:
        drawHelicopter(p);
        break;
    default:
        break;
    }
    p.setPen(kOutline);
    p.drawText(QRectF(200, 8, 170, 16), Qt::AlignRight | Qt::AlignTop,
               QStringLiteral("Lengths in ") + unitName_);
}

} // namespace kv::dialogs
