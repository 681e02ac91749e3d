#include "widgets/ToolGlyphs.h"

#include "widgets/Bitmaps.h"

#include <QPainter>
#include <QPixmap>
#include <QPainterPath>

namespace {

const QColor kKey(255, 0, 255);
const QColor kInk(32, 32, 32);
const QColor kPaper(255, 255, 255);
const QColor kBlue(40, 90, 190);
const QColor kYellow(240, 200, 60);
const QColor kGray(150, 150, 150);
const QColor kRed(200, 30, 30);
const QColor kGreen(40, 150, 60);

void Page(QPainter& p, int x, int y, int w, int h)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    const QPolygon outline({QPoint(x, y), QPoint(x + w - 4, y), QPoint(x + w, y + 4),
                            QPoint(x + w, y + h), QPoint(x, y + h)});
    p.drawPolygon(outline);
    p.drawLine(x + w - 4, y, x + w - 4, y + 4);
    p.drawLine(x + w - 4, y + 4, x + w, y + 4);
}

void Magnifier(QPainter& p, int s)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(210, 235, 255));
    const int d = s * 11 / 20;
    p.drawEllipse(1, 1, d, d);
    p.setPen(QPen(kInk, 3));
    p.drawLine(d, d, s - 3, s - 3);
}

void Gear(QPainter& p, int cx, int cy, int r, const QColor& color)
{
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(cx, cy);
        p.rotate(45.0 * i);
        p.fillRect(-1, -r - 2, 3, 2 * r + 5, kInk);
        p.restore();
    }
    p.setBrush(color);
    p.drawEllipse(QPoint(cx, cy), r, r);
    p.setBrush(kPaper);
    p.drawEllipse(QPoint(cx, cy), r / 3, r / 3);
}

void Panel(QPainter& p, int x, int y, int w, int h)
{
    p.setPen(kInk);
    p.setBrush(QColor(190, 195, 205));
    p.drawRect(x, y, w, h);
}

void Text(QPainter& p, const QRect& r, const QString& text, int pixelSize, const QColor& color)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

} // namespace

QImage ToolGlyph(TToolGlyph glyph, int size)
{
    const int s = size;
    QImage image(s, s, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Keep the bottom-left pixel free: it is the key colour.
    p.setClipRect(1, 0, s - 1, s - 1);
    const int m = s / 2;
    using G = TToolGlyph;
    switch (glyph) {
    case G::New:
        Page(p, 3, 1, s - 7, s - 3);
        break;
    case G::Open:
        p.setPen(kInk);
        p.setBrush(kYellow.darker(115));
        p.drawRect(1, 4, s - 5, s - 7);
        p.setBrush(kYellow);
        p.drawPolygon(QPolygon({QPoint(4, 8), QPoint(s - 1, 8), QPoint(s - 4, s - 3), QPoint(1, s - 3)}));
        break;
    case G::Save:
        p.setPen(kInk);
        p.setBrush(kBlue);
        p.drawRect(2, 2, s - 5, s - 5);
        p.fillRect(5, 3, s - 10, s / 3, kPaper);
        p.fillRect(6, s - 8, s - 12, 5, kGray);
        p.fillRect(s - 9, s - 7, 2, 3, kInk);
        break;
    case G::Print:
        Page(p, 5, 1, s - 11, s / 2);
        p.setPen(kInk);
        p.setBrush(kGray);
        p.drawRect(1, m - 1, s - 3, s / 3);
        p.fillRect(4, m + s / 3 - 1, s - 8, 3, kPaper);
        p.fillRect(s - 5, m + 1, 2, 2, kGreen);
        break;
    case G::Cut:
        p.setPen(QPen(kInk, 2));
        p.drawLine(5, 1, m + 3, s - 8);
        p.drawLine(s - 6, 1, m - 3, s - 8);
        p.setPen(QPen(kRed, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(2, s - 8, 5, 5);
        p.drawEllipse(s - 8, s - 8, 5, 5);
        break;
    case G::Copy:
        Page(p, 1, 1, s * 11 / 20, s * 13 / 20);
        Page(p, s * 7 / 20, s * 6 / 20, s * 11 / 20, s * 12 / 20);
        break;
    case G::Paste:
        p.setPen(kInk);
        p.setBrush(QColor(170, 120, 60));
        p.drawRect(2, 2, s - 7, s - 4);
        p.fillRect(m - 3, 1, 5, 3, kGray);
        Page(p, m - 1, m - 2, s - m - 1, s - m);
        break;
    case G::Duplicate:
        Page(p, 1, 1, s / 2, s * 3 / 5);
        Page(p, m - 1, m - 2, s / 2, s * 3 / 5 - 1);
        p.fillRect(2, s - 6, 5, 1, kGreen);
        p.fillRect(4, s - 8, 1, 5, kGreen);
        break;
    case G::Delete:
        p.setPen(QPen(kRed, 3));
        p.drawLine(4, 4, s - 5, s - 5);
        p.drawLine(s - 5, 4, 4, s - 5);
        break;
    case G::Text:
        Text(p, QRect(1, 0, s - 2, s - 1), QStringLiteral("A"), s * 4 / 5, kInk);
        p.fillRect(2, s - 3, s - 4, 1, kBlue);
        break;
    case G::Grid:
        for (int y = 3; y < s - 2; y += 4)
            for (int x = 3; x < s - 2; x += 4)
                p.fillRect(x, y, 2, 2, kInk);
        break;
    case G::PartsList:
        Page(p, 2, 1, s - 5, s - 3);
        for (int i = 0; i < 4; ++i) {
            p.fillRect(5, 5 + i * 3, 2, 2, kBlue);
            p.fillRect(8, 5 + i * 3, s - 13, 1, kGray);
        }
        break;
    case G::ZoomIn:
    case G::ZoomOut: {
        Magnifier(p, s);
        const int c = s * 11 / 40 + 1;
        p.fillRect(c - 3, c, 7, 1, kInk);
        if (glyph == G::ZoomIn)
            p.fillRect(c, c - 3, 1, 7, kInk);
        break;
    }
    case G::ZoomPage:
    case G::ZoomObjects:
    case G::ZoomMarked: {
        p.setPen(glyph == G::ZoomMarked ? QPen(kBlue, 1, Qt::DotLine) : QPen(kGray, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(m - 2, m - 2, m, m);
        if (glyph == G::ZoomObjects) {
            p.fillRect(m, m, 3, 3, kGreen);
            p.fillRect(m + 4, m + 3, 3, 3, kRed);
        }
        if (glyph == G::ZoomMarked)
            p.fillRect(m + 1, m + 1, m - 5, m - 5, QColor(120, 160, 230));
        p.setClipRect(0, 0, m + 2, m + 2);
        p.setClipRect(1, 0, s - 1, s - 1, Qt::IntersectClip);
        p.setPen(kInk);
        p.setBrush(QColor(210, 235, 255));
        p.drawEllipse(1, 1, m - 1, m - 1);
        p.setClipRect(1, 0, s - 1, s - 1);
        p.setPen(QPen(kInk, 2));
        p.drawLine(m - 1, m - 1, m + 1, m + 1);
        break;
    }
    case G::Compile:
        Gear(p, m, m, s / 4, kGray);
        break;
    case G::AppSettings:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(1, 2, s - 3, s - 5);
        p.fillRect(2, 3, s - 4, 3, kBlue);
        for (int i = 0; i < 2; ++i) {
            const int y = 9 + i * 5;
            p.fillRect(4, y, s - 8, 1, kGray);
            p.fillRect(5 + i * 6, y - 2, 3, 5, kInk);
        }
        break;
    case G::Hardware:
        p.setPen(kInk);
        p.setBrush(QColor(50, 50, 50));
        p.drawRect(5, 4, s - 11, s - 9);
        for (int y = 6; y < s - 5; y += 3) {
            p.fillRect(2, y, 3, 1, kGray);
            p.fillRect(s - 5, y, 3, 1, kGray);
        }
        p.fillRect(7, 6, 2, 2, kPaper);
        break;
    case G::FrontPanel:
        Panel(p, 1, 3, s - 3, s - 7);
        p.setBrush(kGray.darker(130));
        p.drawEllipse(4, 6, 7, 7);
        p.fillRect(7, 7, 1, 3, kPaper);
        p.fillRect(s - 7, 7, 3, 3, kRed);
        p.fillRect(s - 7, 12, 3, 3, kGreen);
        break;
    case G::PanelSettings:
        Panel(p, 1, 3, s - 3, s - 7);
        for (int i = 0; i < 2; ++i) {
            const int y = 7 + i * 5;
            p.fillRect(4, y, s - 8, 1, kInk);
            p.fillRect(6 + i * 6, y - 2, 3, 5, kBlue);
        }
        break;
    case G::Hints: {
        p.setPen(kInk);
        p.setBrush(QColor(255, 250, 190));
        p.drawRect(1, 2, s - 3, s - 8);
        p.drawPolygon(QPolygon({QPoint(4, s - 6), QPoint(4, s - 2), QPoint(8, s - 6)}));
        p.fillRect(m - 1, 4, 2, s / 3, kInk);
        p.fillRect(m - 1, s - 9, 2, 2, kInk);
        break;
    }
    case G::Help:
        p.setPen(kInk);
        p.setBrush(kBlue);
        p.drawEllipse(1, 1, s - 3, s - 3);
        Text(p, QRect(1, 0, s - 2, s - 1), QStringLiteral("?"), s * 3 / 4, kPaper);
        break;
    case G::Pointer:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawPolygon(QPolygon({QPoint(5, 2), QPoint(5, s - 5), QPoint(8, s - 8), QPoint(11, s - 3),
                                QPoint(13, s - 4), QPoint(10, s - 9), QPoint(s - 6, s - 9)}));
        break;
    case G::Wire:
        p.setPen(QPen(kBlue, 2));
        p.drawLine(3, s - 5, 3, m);
        p.drawLine(3, m, s - 4, m);
        p.drawLine(s - 4, m, s - 4, 4);
        p.fillRect(1, s - 6, 4, 4, kInk);
        p.fillRect(s - 6, 2, 4, 4, kInk);
        break;
    case G::Zoom:
        Magnifier(p, s);
        break;
    case G::Start:
        p.setPen(kInk);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygon({QPoint(5, 3), QPoint(s - 4, m), QPoint(5, s - 4)}));
        break;
    case G::Stop:
        p.setPen(kInk);
        p.setBrush(kRed);
        p.drawRect(4, 4, s - 9, s - 9);
        break;
    case G::WireStatus:
        p.setPen(QPen(kRed, 2));
        p.drawLine(2, 6, s - 3, 6);
        p.setPen(QPen(kBlue, 2));
        p.drawLine(2, s - 6, s - 3, s - 6);
        Text(p, QRect(1, 0, s - 2, s / 2), QStringLiteral("1"), s / 2, kInk);
        Text(p, QRect(1, s / 2 - 1, s - 2, s / 2), QStringLiteral("0"), s / 2, kInk);
        break;
    case G::PinStatus:
        p.setPen(kInk);
        p.setBrush(QColor(60, 60, 60));
        p.drawRect(6, 3, s - 13, s - 7);
        for (int y = 5; y < s - 5; y += 4) {
            p.fillRect(2, y, 4, 2, kRed);
            p.fillRect(s - 6, y, 4, 2, kBlue);
        }
        break;
    case G::Library:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(1, 2, s - 3, s - 5);
        p.fillRect(2, 3, s / 3, s - 6, QColor(200, 215, 240));
        for (int y = 5; y < s - 5; y += 3)
            p.fillRect(3, y, s / 3 - 3, 1, kBlue);
        break;
    case G::GroupPanel:
        // A lit LED in its holder.
        p.setPen(kInk);
        p.setBrush(kGray);
        p.drawRect(m - s / 4, s - s / 4 - 1, s / 2, s / 4 - 1);
        p.setBrush(kRed);
        p.drawEllipse(m - s / 4, 2, s / 2, s / 2 + 2);
        p.fillRect(m - s / 8, 4, 2, 2, QColor(255, 190, 190));
        break;
    case G::GroupLogic: {
        // An AND gate: flat input side, round output side, two inputs and one output.
        p.setPen(kInk);
        p.fillRect(1, m - 4, 4, 1, kInk);
        p.fillRect(1, m + 3, 4, 1, kInk);
        p.fillRect(s - 4, m, 3, 1, kInk);
        p.setRenderHint(QPainter::Antialiasing, true);
        QPainterPath gate;
        const double top = 2.5, bottom = s - 3.5, left = 4.5, r = (bottom - top) / 2;
        gate.moveTo(left, top);
        gate.lineTo(s - 4.5 - r, top);
        gate.arcTo(s - 4.5 - 2 * r, top, 2 * r, 2 * r, 90, -180);
        gate.lineTo(left, bottom);
        gate.closeSubpath();
        p.setBrush(QColor(255, 240, 170));
        p.drawPath(gate);
        break;
    }
    case G::GroupAnalog: {
        // One period of a sine over an axis.
        p.fillRect(1, m, s - 2, 1, kGray);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(kBlue, 2));
        QPainterPath wave;
        wave.moveTo(2, m);
        wave.cubicTo(s * 0.2, m - s * 0.55, s * 0.35, m - s * 0.55, m, m);
        wave.cubicTo(s * 0.65, m + s * 0.55, s * 0.8, m + s * 0.55, s - 2, m);
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
        break;
    }
    case G::GroupMisc:
        // Assorted parts: a circle, a square and a triangle.
        p.setPen(kInk);
        p.setBrush(kYellow);
        p.drawEllipse(2, 2, m - 3, m - 3);
        p.setBrush(kGreen);
        p.drawRect(m + 1, 2, m - 4, m - 4);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygon({QPoint(m, m + 1), QPoint(s - 5, s - 3), QPoint(5, s - 3)}));
        break;
    case G::GroupMacro:
        // A board holding a smaller board: a circuit packed into one component.
        p.setPen(kInk);
        p.setBrush(QColor(200, 225, 200));
        p.drawRect(1, 2, s - 3, s - 5);
        p.setBrush(QColor(60, 60, 60));
        p.drawRect(m - 3, m - 4, 7, 7);
        for (int y = m - 3; y < m + 3; y += 3) {
            p.fillRect(3, y, m - 6, 1, kBlue);
            p.fillRect(m + 5, y, s - m - 7, 1, kBlue);
        }
        break;
    }
    return image;
}

QIcon ToolGlyphIcon(TToolGlyph glyph, int size)
{
    const QImage image = ToolGlyph(glyph, size);
    return QIcon(QPixmap::fromImage(WithoutKeyColor(image, QPoint(0, image.height() - 1))));
}
