#include "views/panel_images.h"

#include "app/panel/instrument_panel.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace kv::views {

using app::PanelImage;

namespace {

const QColor kPanelTop(58, 60, 66);
const QColor kPanelBottom(34, 36, 40);
const QColor kGuideColour(46, 48, 54);
const QColor kFace(12, 12, 14);
const QColor kMarking(235, 235, 235);
const QColor kRed(220, 40, 30);

QImage blank(PanelImage image, bool alpha = false) {
    const app::PanelSize s = app::panelImageSize(image);
    QImage img(s.width, s.height,
               alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    img.fill(alpha ? Qt::transparent : kPanelBottom);
    return img;
}

QPointF polar(QPointF c, double r, double deg) {
    const double a = deg * 3.14159265358979 / 180.0;
    return {c.x() + r * std::cos(a), c.y() + r * std::sin(a)};
}

QFont sized(int pixels, bool bold = false) {
    QFont f = panelFont();
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

/// A round dial face centred at `c` with a bezel.
void face(QPainter& p, QPointF c, double r) {
    QRadialGradient bezel(c, r + 3);
    bezel.setColorAt(0.90, QColor(90, 92, 98));
    bezel.setColorAt(1.0, QColor(20, 20, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawEllipse(c, r + 3, r + 3);
    p.setBrush(kFace);
    p.drawEllipse(c, r - 1, r - 1);
}

/// Ticks and numbers around a dial: `count` intervals from `startDeg` over
/// `sweepDeg`, numbered every `labelEvery` tick with `label(i)`.
template <class Label>
void scale(QPainter& p, QPointF c, double r, double startDeg, double sweepDeg, int count,
           int minorPerMajor, int labelEvery, Label label, int fontPx) {
    p.setFont(sized(fontPx, true));
    const int ticks = count * minorPerMajor;
    for (int i = 0; i <= ticks; ++i) {
        const double deg = startDeg + sweepDeg * i / ticks;
        const bool major = i % minorPerMajor == 0;
        p.setPen(QPen(kMarking, major ? 2.0 : 1.0));
        p.drawLine(polar(c, r - (major ? 9 : 5), deg), polar(c, r - 1, deg));
        const int m = i / minorPerMajor;
        if (major && m % labelEvery == 0) {
            const QPointF at = polar(c, r - 9 - fontPx * 0.9, deg);
            const QRectF box(at.x() - 16, at.y() - fontPx * 0.6, 32, fontPx * 1.2);
            p.drawText(box, Qt::AlignCenter, label(m));
        }
    }
}

/// A readout window under a dial's needle hub.
void window(QPainter& p, QRectF r) {
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(QColor(230, 226, 210));
    p.drawRect(r);
}

QImage tachometer() {
    QImage img = blank(PanelImage::Tachometer);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(76, 75);
    face(p, c, 72);
    // Red from 8000 rev/min.
    p.setPen(QPen(kRed, 6, Qt::SolidLine, Qt::FlatCap));
    const QRectF arc(c.x() - 66, c.y() - 66, 132, 132);
    p.drawArc(arc, static_cast<int>(-(135 + 240) * 16), -30 * 16);
    scale(
        p, c, 70, 135, 270, 9, 5, 1, [](int m) { return QString::number(m); }, 13);
    window(p, QRectF(58, 119, 38, 17));
    p.setPen(kMarking);
    p.setFont(sized(9));
    p.drawText(QRectF(46, 38, 60, 12), Qt::AlignCenter, QStringLiteral("x1000"));
    return img;
}

QImage speedometer() {
    QImage img = blank(PanelImage::Speedometer);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(76, 75);
    face(p, c, 72);
    scale(
        p, c, 70, 120, 285, 19, 2, 2, [](int m) { return QString::number(m * 10); }, 11);
    window(p, QRectF(63, 118, 30, 17));
    return img;
}

QImage airspeed() {
    QImage img = blank(PanelImage::AirspeedDial);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(60, 60);
    face(p, c, 57);
    scale(
        p, c, 56, 270, 360 * 400.0 / 450.0, 8, 5, 2, [](int m) { return QString::number(m * 50); },
        10);
    window(p, QRectF(45, 64, 32, 15));
    p.setPen(kMarking);
    p.setFont(sized(8));
    p.drawText(QRectF(30, 34, 60, 10), Qt::AlignCenter, QStringLiteral("KNOTS"));
    p.drawText(QRectF(30, 81, 60, 10), Qt::AlignCenter, QStringLiteral("MACH"));
    return img;
}

QImage altimeter() {
    QImage img = blank(PanelImage::Altimeter);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(61, 60);
    face(p, c, 57);
    scale(
        p, c, 56, 270, 360 * 0.9, 9, 5, 1, [](int m) { return QString::number(m); }, 12);
    window(p, QRectF(40, 66, 44, 15));
    p.setPen(kMarking);
    p.setFont(sized(8));
    p.drawText(QRectF(31, 36, 60, 10), Qt::AlignCenter, QStringLiteral("ALT FT"));
    return img;
}

QImage headingCard(int index) {
    QImage img = blank(PanelImage::HeadingCard);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(60, 60);
    face(p, c, 57);
    // The card turns against the heading: the heading stands at the top.
    const double turn = -10.0 * index;
    p.setFont(sized(12, true));
    for (int d = 0; d < 360; d += 5) {
        const double deg = 270.0 + d + turn;
        const bool major = d % 30 == 0;
        p.setPen(QPen(kMarking, d % 10 == 0 ? 1.5 : 1.0));
        p.drawLine(polar(c, 55 - (d % 10 == 0 ? 7 : 4), deg), polar(c, 55, deg));
        if (major) {
            static const char* const names[] = {"N", "3",  "6",  "E", "12", "15",
                                                "S", "21", "24", "W", "30", "33"};
            p.save();
            p.translate(polar(c, 38, deg));
            p.rotate(deg + 90.0);
            p.setPen(d % 90 == 0 ? QColor(255, 200, 60) : kMarking);
            p.drawText(QRectF(-12, -8, 24, 16), Qt::AlignCenter,
                       QString::fromLatin1(names[d / 30]));
            p.restore();
        }
    }
    // Lubber line at the top.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 140, 0));
    const QPointF tri[3] = {{60, 4}, {55, -2}, {65, -2}};
    p.drawPolygon(tri, 3);
    p.drawRect(QRectF(59, 2, 2, 8));
    return img;
}

QImage aircraftSymbol() {
    QImage img = blank(PanelImage::AircraftSymbol, true);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath plane;
    plane.moveTo(19, 2);
    plane.lineTo(22, 10);
    plane.lineTo(22, 20);
    plane.lineTo(37, 30);
    plane.lineTo(37, 34);
    plane.lineTo(22, 29);
    plane.lineTo(22, 41);
    plane.lineTo(28, 47);
    plane.lineTo(28, 50);
    plane.lineTo(19, 47);
    plane.lineTo(10, 50);
    plane.lineTo(10, 47);
    plane.lineTo(16, 41);
    plane.lineTo(16, 29);
    plane.lineTo(1, 34);
    plane.lineTo(1, 30);
    plane.lineTo(16, 20);
    plane.lineTo(16, 10);
    plane.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(255, 170, 40));
    p.drawPath(plane);
    return img;
}

QImage loadFactorDial() {
    QImage img = blank(PanelImage::LoadFactorDial);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(26, 25);
    face(p, c, 23);
    scale(
        p, c, 23, 90, 270, 9, 1, 3, [](int m) { return QString::number(m - 2); }, 7);
    p.setPen(kMarking);
    p.setFont(sized(7));
    p.drawText(QRectF(26, 27, 20, 10), Qt::AlignCenter, QStringLiteral("G"));
    return img;
}

/// A lamp: its caption on a dark glass (off) or lit in `on`.
QImage lamp(PanelImage image, bool lit, const QString& caption, QColor on) {
    QImage img = blank(image);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, img.width() - 1.0, img.height() - 1.0);
    p.setPen(QPen(QColor(15, 15, 15), 1));
    p.setBrush(lit ? on : on.darker(420));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(lit ? QColor(20, 20, 20) : QColor(110, 110, 110));
    p.setFont(sized(img.height() > 17 ? 13 : 10, true));
    p.drawText(r, Qt::AlignCenter, caption);
    return img;
}

QImage gear(bool down) {
    QImage img = blank(PanelImage::Gear);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(15, 15, 15), 1));
    p.setBrush(QColor(28, 28, 30));
    p.drawRoundedRect(QRectF(0.5, 0.5, 35, 34), 3, 3);
    const QColor light = down ? QColor(60, 230, 70) : QColor(70, 70, 70);
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawEllipse(QPointF(18, 9), 4, 4);
    p.drawEllipse(QPointF(9, 17), 4, 4);
    p.drawEllipse(QPointF(27, 17), 4, 4);
    p.setPen(down ? QColor(60, 230, 70) : QColor(230, 200, 60));
    p.setFont(sized(9, true));
    p.drawText(QRectF(0, 22, 36, 12), Qt::AlignCenter,
               down ? QStringLiteral("DOWN") : QStringLiteral("UP"));
    return img;
}

QImage leverSlot() {
    QImage img = blank(PanelImage::LeverSlot);
    QPainter p(&img);
    p.fillRect(img.rect(), kPanelBottom);
    p.setPen(QPen(QColor(15, 15, 15), 1));
    p.setBrush(QColor(10, 10, 10));
    p.drawRect(QRect(9, 2, 6, 45));
    p.setPen(QColor(90, 90, 90));
    for (int y = 6; y <= 46; y += 10)
        p.drawLine(18, y, 23, y);
    return img;
}

QImage leverKnob() {
    QImage img = blank(PanelImage::LeverKnob);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), kPanelBottom);
    p.setPen(QPen(QColor(10, 10, 10), 1));
    p.setBrush(QColor(10, 10, 10));
    p.drawRect(QRect(9, 0, 6, 20));
    QLinearGradient g(0, 3, 0, 17);
    g.setColorAt(0, QColor(220, 220, 225));
    g.setColorAt(1, QColor(110, 110, 118));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 3.5, 22, 13), 3, 3);
    return img;
}

QImage flapMark() {
    QImage img = blank(PanelImage::FlapMark, true);
    img.fill(QColor(255, 220, 40));
    return img;
}

/// Pixel size of a key's label: the largest of 9, 8 and 7 px at which it fits the key.
int labelPixels(std::string_view label, int keyWidth) {
    const QString text = QString::fromLatin1(label.data(), static_cast<int>(label.size()));
    for (int px = 9; px > 7; --px) {
        if (QFontMetrics(sized(px)).horizontalAdvance(text) <= keyWidth - 4)
            return px;
    }
    return 7;
}

/// A key of the key guide: its cap text above its label, normal or lit.
QImage key(PanelImage image, app::PanelKey k, app::KeyLight light) {
    QImage img = blank(image);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QColor body(78, 80, 88);
    QColor text(215, 215, 215);
    if (light == app::KeyLight::Green) {
        body = QColor(40, 190, 70);
        text = QColor(10, 10, 10);
    } else if (light == app::KeyLight::Blue) {
        body = QColor(50, 110, 235);
        text = QColor(255, 255, 255);
    }
    const bool aircraft = image == PanelImage::AircraftKey;
    const QRectF r(1.5, 1.5, img.width() - 3.0, img.height() - 3.0);
    p.setPen(QPen(QColor(12, 12, 12), 1));
    QLinearGradient g(0, 0, 0, img.height());
    g.setColorAt(0, body.lighter(125));
    g.setColorAt(1, body.darker(125));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    p.setPen(text);
    const int half = img.height() / 2;
    p.setFont(sized(aircraft ? 10 : 11, true));
    p.drawText(QRectF(0, 1, img.width(), half), Qt::AlignCenter,
               QString::fromLatin1(app::keyCap(k).data(), static_cast<int>(app::keyCap(k).size())));
    const std::string_view label = app::keyLabel(k, aircraft);
    p.setFont(sized(labelPixels(label, img.width())));
    p.drawText(QRectF(0, half - 1, img.width(), half), Qt::AlignCenter,
               QString::fromLatin1(label.data(), static_cast<int>(label.size())));
    return img;
}

/// A key that never changes, drawn into a background.
void staticKey(QPainter& p, const app::StaticKey& s, PanelImage image) {
    const app::PanelSize size = app::panelImageSize(image);
    QImage img(size.width, size.height, QImage::Format_RGB32);
    img.fill(kGuideColour);
    {
        QPainter k(&img);
        k.setRenderHint(QPainter::Antialiasing);
        const QRectF r(1.5, 1.5, size.width - 3.0, size.height - 3.0);
        k.setPen(QPen(QColor(12, 12, 12), 1));
        k.setBrush(QColor(62, 64, 70));
        k.drawRoundedRect(r, 4, 4);
        k.setPen(QColor(190, 190, 190));
        const int half = size.height / 2;
        k.setFont(sized(image == PanelImage::AircraftKey ? 10 : 11, true));
        k.drawText(QRectF(0, 1, size.width, half), Qt::AlignCenter,
                   QString::fromLatin1(s.cap.data(), static_cast<int>(s.cap.size())));
        k.setFont(sized(labelPixels(s.label, size.width)));
        k.drawText(QRectF(0, half - 1, size.width, half), Qt::AlignCenter,
                   QString::fromLatin1(s.label.data(), static_cast<int>(s.label.size())));
    }
    p.drawImage(s.at.x, s.at.y, img);
}

/// The common part of both backgrounds: the gauge area and the key guide.
void backgroundBase(QPainter& p, int stripRows, const char* title) {
    QLinearGradient g(0, 0, 0, stripRows);
    g.setColorAt(0, kPanelTop);
    g.setColorAt(1, kPanelBottom);
    p.fillRect(QRect(0, 0, app::kPanelWidth, stripRows), g);
    p.fillRect(QRect(0, stripRows, app::kPanelWidth, app::kPanelHeight - stripRows), kGuideColour);
    p.setPen(QPen(QColor(20, 20, 22), 2));
    p.drawLine(0, stripRows, app::kPanelWidth, stripRows);
    p.setPen(QColor(150, 150, 155));
    p.setFont(sized(9, true));
    p.drawText(QRect(0, stripRows + 2, app::kPanelWidth - 8, 14), Qt::AlignRight | Qt::AlignVCenter,
               QString::fromLatin1(title));
}

/// Every changing key in its normal look, so the guide is whole before any is lit.
void normalKeys(QPainter& p, bool aircraft) {
    const PanelImage image = aircraft ? PanelImage::AircraftKey : PanelImage::CarKey;
    for (int i = 0; i < app::kPanelKeyCount; ++i) {
        const auto k = static_cast<app::PanelKey>(i);
        const app::PanelPoint at = app::keyPosition(k, aircraft);
        if (at.x >= 0)
            p.drawImage(at.x, at.y, key(image, k, app::KeyLight::Normal));
    }
}

QImage carBackground() {
    QImage img = blank(PanelImage::CarBackground);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    backgroundBase(p, app::kCarGaugeRows, "KEY GUIDE");
    p.setPen(QColor(150, 150, 155));
    p.setFont(sized(9, true));
    p.drawText(QRect(12, 171, 120, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("CAMERA"));
    p.drawText(QRect(12, 252, 120, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("VEHICLE"));
    for (const app::StaticKey& s : app::kCarStaticKeys)
        staticKey(p, s, PanelImage::CarKey);
    normalKeys(p, false);
    return img;
}

QImage aircraftBackground() {
    QImage img = blank(PanelImage::AircraftBackground);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    backgroundBase(p, app::kAircraftGaugeRows, "KEY GUIDE");
    p.setPen(QColor(170, 170, 175));
    p.setFont(sized(8, true));
    p.drawText(QRect(4, 178, 46, 12), Qt::AlignCenter, QStringLiteral("FLAPS"));
    p.drawText(QRect(276, 178, 50, 12), Qt::AlignCenter, QStringLiteral("THROTTLE"));
    p.drawText(QRect(340, 178, 46, 12), Qt::AlignCenter, QStringLiteral("NOZZLE"));
    p.drawText(QRect(41, 178, 56, 12), Qt::AlignCenter, QStringLiteral("GEAR"));
    for (const app::StaticKey& s : app::kAircraftStaticKeys)
        staticKey(p, s, PanelImage::AircraftKey);
    normalKeys(p, true);
    return img;
}

} // namespace

QFont panelFont() {
    QFont f(QStringLiteral("Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(12);
    f.setBold(true);
    return f;
}

QImage makePanelImage(PanelImage image, int variant) {
    const bool on = variant != 0;
    switch (image) {
    case PanelImage::CarBackground:
        return carBackground();
    case PanelImage::AircraftBackground:
        return aircraftBackground();
    case PanelImage::Tachometer:
        return tachometer();
    case PanelImage::Speedometer:
        return speedometer();
    case PanelImage::CarBrakeLamp:
        return lamp(image, on, QStringLiteral("BRAKE"), QColor(240, 50, 40));
    case PanelImage::CruiseLamp:
        return lamp(image, on, QStringLiteral("CRUISE"), QColor(60, 220, 80));
    case PanelImage::DriveLamp:
        return lamp(image, on, QStringLiteral("D"), QColor(60, 220, 80));
    case PanelImage::ReverseLamp:
        return lamp(image, on, QStringLiteral("R"), QColor(250, 180, 40));
    case PanelImage::CarKey:
    case PanelImage::AircraftKey:
        return key(image, app::keyOfVariant(variant), app::lightOfVariant(variant));
    case PanelImage::AirspeedDial:
        return airspeed();
    case PanelImage::Altimeter:
        return altimeter();
    case PanelImage::HeadingCard:
        return headingCard(variant);
    case PanelImage::AircraftSymbol:
        return aircraftSymbol();
    case PanelImage::LoadFactorDial:
        return loadFactorDial();
    case PanelImage::AutopilotLamp:
        return lamp(image, on, QStringLiteral("AUTOPILOT"), QColor(60, 220, 80));
    case PanelImage::AircraftBrakeLamp:
        return lamp(image, on, QStringLiteral("BRAKE"), QColor(240, 50, 40));
    case PanelImage::Gear:
        return gear(on);
    case PanelImage::LeverSlot:
        return leverSlot();
    case PanelImage::LeverKnob:
        return leverKnob();
    case PanelImage::FlapMark:
        return flapMark();
    }
    return {};
}

} // namespace kv::views
