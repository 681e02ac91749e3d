#include "frontpanel/elements/SwitchPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>

namespace {

constexpr QRgb kKeyColor = 0xFFFF00FF;  // the transparent types' background

struct TSize {
    int w, h;
};
constexpr std::array<TSize, kSwitchTypeCount> kSizes{{{20, 20}, {20, 20}, {25, 34}, {40, 40},
    {27, 40}, {100, 144}, {102, 143}, {102, 143}, {65, 104}, {50, 50}, {33, 33}}};

QColor Accent(int farbe)
{
    static const std::array<QColor, kSwitchColorCount> colours{
        QColor(70, 70, 76), QColor(20, 150, 40), QColor(235, 200, 20), QColor(200, 25, 25),
        QColor(25, 75, 200)};
    return colours[size_t(farbe)];
}

// The mark colour on an accent surface: white on the dark ones, black on yellow.
QColor MarkOn(int farbe)
{
    return farbe == 2 ? QColor(30, 30, 30) : QColor(245, 245, 245);
}

void Plate(QPainter& p, const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(225, 225, 225));
    g.setColorAt(1, QColor(150, 150, 150));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(g);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

void Metal(QPainter& p, const QPointF& c, double r)
{
    QRadialGradient g(c - QPointF(r / 3, r / 3), r * 1.4);
    g.setColorAt(0, QColor(250, 250, 250));
    g.setColorAt(1, QColor(120, 120, 125));
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

// A lever from the centre of the base to its tip, ending in a ball of the accent colour.
void Lever(QPainter& p, const QPointF& base, const QPointF& tip, double width, const QColor& accent)
{
    p.setPen(QPen(QColor(110, 110, 115), width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base, tip);
    p.setPen(QPen(QColor(220, 220, 225), width / 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base, tip);
    QRadialGradient g(tip - QPointF(width / 3, width / 3), width);
    g.setColorAt(0, accent.lighter(170));
    g.setColorAt(1, accent);
    p.setPen(QPen(accent.darker(160), 1));
    p.setBrush(g);
    p.drawEllipse(tip, width * 0.75, width * 0.75);
}

// A rocker in its housing: the pressed half lies darker and lower. Labels "I" and "O" and an
// illuminated window are options of the larger types.
void Rocker(QPainter& p, const QRectF& area, int farbe, bool on, bool labels, bool lamp)
{
    const QColor accent = Accent(farbe);
    const double frame = std::max(2.0, area.width() / 12);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(60, 60, 64));
    p.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), frame, frame);
    const QRectF body = area.adjusted(frame, frame, -frame, -frame);
    const QRectF top(body.left(), body.top(), body.width(), body.height() / 2);
    const QRectF bottom(body.left(), body.center().y(), body.width(), body.height() / 2);
    const QRectF& pressed = on ? top : bottom;
    const QRectF& raised = on ? bottom : top;
    QLinearGradient g(raised.topLeft(), raised.bottomLeft());
    g.setColorAt(0, on ? accent.darker(115) : accent.lighter(135));
    g.setColorAt(1, on ? accent.lighter(135) : accent.darker(115));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(raised);
    p.setBrush(accent.darker(170));
    p.drawRect(pressed);
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(body);
    // The edge of the raised half throws a light line.
    p.setPen(QPen(accent.lighter(180), std::max(1.0, body.height() / 60)));
    p.drawLine(QPointF(body.left() + 1, body.center().y()), QPointF(body.right() - 1, body.center().y()));
    if (labels) {
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(int(body.width() / 2.5));
        f.setBold(true);
        p.setFont(f);
        p.setPen(MarkOn(farbe));
        p.drawText(top, Qt::AlignCenter, QStringLiteral("I"));
        p.drawText(bottom, Qt::AlignCenter, QStringLiteral("O"));
    }
    if (lamp) {
        const QRectF window(body.left() + body.width() * 0.3, top.top() + top.height() * 0.25,
                            body.width() * 0.4, top.height() * 0.5);
        QRadialGradient glow(window.center(), window.width());
        const QColor lampColour = farbe == 0 ? QColor(255, 140, 30) : accent;
        glow.setColorAt(0, on ? QColor(255, 255, 220) : lampColour.darker(250));
        glow.setColorAt(1, on ? lampColour.lighter(150) : lampColour.darker(300));
        p.setPen(QPen(QColor(20, 20, 20), 1));
        p.setBrush(glow);
        p.drawRoundedRect(window, 2, 2);
    }
}

// A round knob with a pointer turned to the left (off) or right (on) mark.
void Rotary(QPainter& p, int size, int farbe, bool on, bool bar)
{
    const QColor accent = Accent(farbe);
    Plate(p, QRectF(0, 0, size, size));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(7, size / 5));
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(20, 20, 20));
    p.drawText(QRectF(0, 0, size / 3.0, size / 3.0), Qt::AlignCenter, QStringLiteral("0"));
    p.drawText(QRectF(size * 2 / 3.0, 0, size / 3.0, size / 3.0), Qt::AlignCenter, QStringLiteral("1"));
    const QPointF c(size / 2.0, size / 2.0 + size / 16.0);
    const double r = size * 0.33;
    const double angle = (on ? 45.0 : -45.0) * M_PI / 180.0;
    const QPointF dir(std::sin(angle), -std::cos(angle));
    if (bar) {
        p.setPen(QPen(QColor(20, 20, 20), 1));
        p.setBrush(QColor(35, 35, 35));
        p.drawEllipse(c, r, r);
        p.setPen(QPen(accent, r / 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c - dir * r * 0.95, c + dir * r * 0.95);
        p.setPen(QPen(MarkOn(farbe), 1.5));
        p.drawLine(c + dir * r * 0.3, c + dir * r * 0.9);
    } else {
        QRadialGradient g(c - QPointF(r / 3, r / 3), r * 1.5);
        g.setColorAt(0, accent.lighter(160));
        g.setColorAt(1, accent.darker(130));
        p.setPen(QPen(QColor(20, 20, 20), 1));
        p.setBrush(g);
        p.drawEllipse(c, r, r);
        p.setPen(QPen(MarkOn(farbe), std::max(1.5, size / 16.0), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + dir * r * 0.2, c + dir * r * 0.9);
    }
}

} // namespace

QSize SwitchPictureSize(int typ, bool on)
{
    if (typ < 0 || typ >= kSwitchTypeCount)
        return {};
    if (typ == 8 && on)
        return {66, 104};
    return {kSizes[size_t(typ)].w, kSizes[size_t(typ)].h};
}

bool IsTransparentTyp(int typ)
{
    return typ == 0 || typ == 4 || typ == 10;
}

QImage SwitchPicture(int farbe, int typ, bool on)
{
    if (farbe < 0 || farbe >= kSwitchColorCount || typ < 0 || typ >= kSwitchTypeCount)
        return {};
    const QSize size = SwitchPictureSize(typ, on);
    QImage image(size, QImage::Format_RGB32);
    image.fill(IsTransparentTyp(typ) ? kKeyColor : 0xFFC8C8C8);
    QPainter p(&image);
    // The transparent types keep hard edges: a blended rim would show the key colour.
    p.setRenderHint(QPainter::Antialiasing, !IsTransparentTyp(typ));
    const QColor accent = Accent(farbe);
    const int w = size.width();
    const int h = size.height();
    switch (typ) {
    case 0:  // toggle switch I
        Metal(p, QPointF(9.5, 9.5), 7);
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(QPointF(9.5, 9.5), 3, 3);
        Lever(p, QPointF(9.5, 9.5), QPointF(9.5, on ? 3 : 16), 4, accent);
        break;
    case 1: {  // square push switch
        Plate(p, QRectF(0, 0, w, h));
        const QRectF cap = on ? QRectF(4, 4, 13, 13) : QRectF(3, 3, 13, 13);
        p.setPen(Qt::NoPen);
        p.setBrush(on ? QColor(90, 90, 90) : QColor(250, 250, 250));
        p.drawRect(QRectF(cap.left() - 1, cap.top() - 1, cap.width() + 1, cap.height() + 1));
        p.setBrush(on ? QColor(250, 250, 250) : QColor(60, 60, 60));
        p.drawRect(QRectF(cap.left(), cap.top(), cap.width() + 1, cap.height() + 1));
        p.setBrush(on ? accent.darker(130) : accent);
        p.drawRect(cap);
        if (on) {
            p.setBrush(QColor(255, 255, 200));
            p.drawEllipse(cap.center(), 2, 2);
        }
        break;
    }
    case 2:  // rocker switch
        Plate(p, QRectF(0, 0, w, h));
        Rocker(p, QRectF(2, 2, w - 4, h - 4), farbe, on, false, false);
        break;
    case 3:  // rotary switch I
        Rotary(p, w, farbe, on, false);
        break;
    case 4: {  // toggle switch II
        const QPointF c(13, 20);
        QPolygonF nut;
        for (int i = 0; i < 6; ++i)
            nut << c + QPointF(9 * std::cos(i * M_PI / 3), 9 * std::sin(i * M_PI / 3));
        p.setPen(QPen(QColor(70, 70, 70), 1));
        p.setBrush(QColor(185, 185, 190));
        p.drawPolygon(nut);
        Metal(p, c, 5);
        Lever(p, c, QPointF(13, on ? 4 : 35), 5, accent);
        break;
    }
    case 5:  // rocker on/off
        Rocker(p, QRectF(0, 0, w, h), farbe, on, true, false);
        break;
    case 6:  // plain rocker
        Rocker(p, QRectF(0, 0, w, h), farbe, on, false, false);
        break;
    case 7:  // illuminated rocker I
    case 8:  // illuminated rocker II
        Rocker(p, QRectF(0, 0, w, h), farbe, on, false, true);
        break;
    case 9:  // rotary switch II
        Rotary(p, w, farbe, on, true);
        break;
    case 10: {  // round push button
        Metal(p, QPointF(16, 16), 15);
        const double r = 11;
        const QPointF c = on ? QPointF(16.5, 16.5) : QPointF(16, 16);
        QRadialGradient g(c - QPointF(on ? 2 : 4, on ? 2 : 4), r * 1.5);
        g.setColorAt(0, on ? accent.lighter(115) : accent.lighter(170));
        g.setColorAt(1, on ? accent.darker(170) : accent.darker(110));
        p.setPen(QPen(accent.darker(200), 1));
        p.setBrush(g);
        p.drawEllipse(c, on ? r - 1 : r, on ? r - 1 : r);
        break;
    }
    default:
        break;
    }
    p.end();
    if (IsTransparentTyp(typ))
        image.setPixel(0, 0, kKeyColor);
    return image;
}
