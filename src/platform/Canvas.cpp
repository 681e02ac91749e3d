#include "platform/Canvas.h"

#include "platform/Colors.h"
#include "platform/Types.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kWindowExt = 254;   // board units per round(16 x zoom) pixels

// a x num / den, rounded half to even (den > 0).
int scaleRound(int64_t a, int num, int den)
{
    return static_cast<int>(
        RoundHalfEven(static_cast<Extended>(a) * num / static_cast<Extended>(den)));
}

// Text cell height (ascent + descent) per character height (em) of a font's family and style.
Extended cellPerEm(const QFont& font)
{
    QFont f(font);
    f.setPixelSize(1000);
    const qreal cell = QFontMetricsF(f).height();
    return cell > 0 ? static_cast<Extended>(cell) / 1000 : 1;
}

// The character height in logical units that Font's own size stands for.
int fontEm(const QFont& font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    const qreal pt = font.pointSizeF();
    return std::max<int>(1, static_cast<int>(RoundHalfEven(static_cast<Extended>(pt) * 96 / 72)));
}

QPainter::CompositionMode compositionOf(TPenMode mode)
{
    switch (mode) {
    case TPenMode::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::NotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case TPenMode::Copy:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

} // namespace

TCanvas::TCanvas(QPainter* painter)
    : m_painter(painter)
{
}

TCanvas::~TCanvas() = default;

// ---- mapping -------------------------------------------------------------------------------

void TCanvas::SetMapping(double zoom, QPoint boardOrigin)
{
    m_mapped = true;
    m_zoom = zoom;
    m_origin = boardOrigin;
    // A zoom that rounds to no pixel at all (or is not a number) still maps to one pixel per
    // 254 units, so that the inverse mapping never divides by zero.
    const int64_t v = RoundHalfEven(static_cast<Extended>(16) * zoom);
    m_viewportExt = static_cast<int>(std::clamp<int64_t>(v, 1, 1 << 20));
}

void TCanvas::SetIdentityMapping()
{
    m_mapped = false;
    m_zoom = 1.0;
    m_origin = QPoint();
    m_viewportExt = kWindowExt;
}

int TCanvas::deviceX(int x) const
{
    return m_mapped ? scaleRound(int64_t(x) - m_origin.x(), m_viewportExt, kWindowExt) : x;
}

int TCanvas::deviceY(int y) const
{
    return m_mapped ? scaleRound(int64_t(y) - m_origin.y(), m_viewportExt, kWindowExt) : y;
}

QPoint TCanvas::LPtoDP(QPoint p) const
{
    return QPoint(deviceX(p.x()), deviceY(p.y()));
}

QPoint TCanvas::DPtoLP(QPoint p) const
{
    if (!m_mapped)
        return p;
    return QPoint(scaleRound(p.x(), kWindowExt, m_viewportExt) + m_origin.x(),
                  scaleRound(p.y(), kWindowExt, m_viewportExt) + m_origin.y());
}

QRect TCanvas::LPtoDP(const QRect& r) const
{
    const QPoint a = LPtoDP(r.topLeft());
    const QPoint b = LPtoDP(QPoint(r.left() + r.width(), r.top() + r.height()));
    return QRect(a.x(), a.y(), b.x() - a.x(), b.y() - a.y());
}

QRect TCanvas::DPtoLP(const QRect& r) const
{
    const QPoint a = DPtoLP(r.topLeft());
    const QPoint b = DPtoLP(QPoint(r.left() + r.width(), r.top() + r.height()));
    return QRect(a.x(), a.y(), b.x() - a.x(), b.y() - a.y());
}

int TCanvas::LengthToDP(int boardUnits) const
{
    return m_mapped ? scaleRound(boardUnits, m_viewportExt, kWindowExt) : boardUnits;
}

int TCanvas::LengthToLP(int pixels) const
{
    return m_mapped ? scaleRound(pixels, kWindowExt, m_viewportExt) : pixels;
}

QRect TCanvas::ClipRect() const
{
    if (!m_painter)
        return QRect();
    QRect device;
    if (m_painter->hasClipping()) {
        device = m_painter->clipBoundingRect().toAlignedRect();
    } else if (QPaintDevice* d = m_painter->device()) {
        device = m_painter->worldTransform().inverted().mapRect(QRect(0, 0, d->width(), d->height()));
    }
    return DPtoLP(device);
}

// ---- pen, brush, font ----------------------------------------------------------------------

void TCanvas::applyPen()
{
    if (!m_painter)
        return;
    m_painter->setCompositionMode(compositionOf(Pen.Mode));
    if (Pen.Style == Qt::NoPen) {
        m_painter->setPen(Qt::NoPen);
        return;
    }
    const int width = Pen.Width <= 0 ? 1 : std::max(1, LengthToDP(Pen.Width));
    QPen pen(TColorToQColor(Pen.Color));
    pen.setWidth(width);
    pen.setStyle(width > 1 ? Qt::SolidLine : Pen.Style);
    // Thin lines leave out their last pixel like GDI's; wide ones get round ends and joins,
    // as a wide GDI pen has.
    pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    m_painter->setPen(pen);
}

void TCanvas::applyBrush()
{
    if (!m_painter)
        return;
    if (Brush.Style == Qt::NoBrush)
        m_painter->setBrush(Qt::NoBrush);
    else
        m_painter->setBrush(QBrush(TColorToQColor(Brush.Color), Brush.Style));
}

void TCanvas::SetFontHeight(int height)
{
    if (height == 0)
        height = 1;
    const int em = height < 0
        ? -height
        : std::max<int>(1, static_cast<int>(RoundHalfEven(height / cellPerEm(Font))));
    Font.setPixelSize(em);
    m_fontHeight = height;
    m_fontHeightPx = em;
}

int TCanvas::FontHeight() const
{
    if (m_fontHeight != 0 && Font.pixelSize() == m_fontHeightPx)
        return m_fontHeight;
    return std::max<int>(1, static_cast<int>(RoundHalfEven(fontEm(Font) * cellPerEm(Font))));
}

// The font in device pixels: the logical height goes through the mapping first (a cell height
// as a cell height), then becomes the character height Qt sizes fonts by.
QFont TCanvas::deviceFont() const
{
    QFont f(Font);
    int em;
    if (m_fontHeight != 0 && Font.pixelSize() == m_fontHeightPx && m_fontHeight > 0) {
        const int cell = std::max(1, LengthToDP(m_fontHeight));
        em = static_cast<int>(RoundHalfEven(cell / cellPerEm(Font)));
    } else {
        em = LengthToDP(fontEm(Font));
    }
    f.setPixelSize(std::max(1, em));
    return f;
}

// ---- drawing -------------------------------------------------------------------------------

// The device rectangle between two logical corners, normalised; right and bottom exclusive.
QRect TCanvas::deviceBox(int x1, int y1, int x2, int y2) const
{
    int l = deviceX(x1), r = deviceX(x2), t = deviceY(y1), b = deviceY(y2);
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    return QRect(l, t, r - l, b - t);
}

void TCanvas::MoveTo(int x, int y)
{
    m_penPos = QPoint(x, y);
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint from = m_penPos;
    m_penPos = QPoint(x, y);
    if (!m_painter)
        return;
    applyPen();
    m_painter->drawLine(LPtoDP(from), LPtoDP(m_penPos));
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (!m_painter)
        return;
    const QRect box = deviceBox(x1, y1, x2, y2);
    if (box.width() <= 0 || box.height() <= 0)
        return;
    applyPen();
    applyBrush();
    // Qt strokes a w x h rectangle over w + 1 columns and fills w columns: one less than the
    // box gives the outline on its first and last column, and with no pen GDI's smaller fill.
    m_painter->drawRect(QRect(box.x(), box.y(), box.width() - 1, box.height() - 1));
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (!m_painter)
        return;
    const QRect box = deviceBox(x1, y1, x2, y2);
    if (box.width() <= 0 || box.height() <= 0)
        return;
    applyPen();
    applyBrush();
    m_painter->drawEllipse(QRect(box.x(), box.y(), box.width() - 1, box.height() - 1));
}

void TCanvas::Polygon(const std::vector<QPoint>& points)
{
    if (!m_painter || points.size() < 2)
        return;
    QPolygon poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const QPoint& p : points)
        poly << LPtoDP(p);
    applyPen();
    applyBrush();
    m_painter->drawPolygon(poly, Qt::OddEvenFill);
}

void TCanvas::Polyline(const std::vector<QPoint>& points)
{
    if (!m_painter || points.size() < 2)
        return;
    QPolygon poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const QPoint& p : points)
        poly << LPtoDP(p);
    applyPen();
    m_painter->drawPolyline(poly);
}

void TCanvas::FillRect(const QRect& r)
{
    FillRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2)
{
    if (!m_painter || Brush.Style == Qt::NoBrush)
        return;
    const QRect box = deviceBox(x1, y1, x2, y2);
    if (box.isEmpty())
        return;
    // A fill copies the brush whatever the pen mode, as GDI's FillRect does.
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->fillRect(box, QBrush(TColorToQColor(Brush.Color), Brush.Style));
}

void TCanvas::drawText(QPoint device, const QString& text, double angle)
{
    const QFont font = deviceFont();
    const QFontMetrics fm(font);
    m_painter->save();
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->translate(device);
    if (angle != 0)
        m_painter->rotate(-angle);
    if (!TransparentText)
        m_painter->fillRect(QRect(0, 0, fm.horizontalAdvance(text), fm.height()),
                            TColorToQColor(Brush.Color));
    m_painter->setFont(font);
    m_painter->setPen(TColorToQColor(FontColor));
    m_painter->drawText(QPoint(0, fm.ascent()), text);
    m_painter->restore();
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    if (m_painter && !text.isEmpty())
        drawText(LPtoDP(QPoint(x, y)), text, 0);
    m_penPos = QPoint(x + TextWidth(text), y);
}

void TCanvas::TextOutRotated(int x, int y, const QString& text, double angle)
{
    if (m_painter && !text.isEmpty())
        drawText(LPtoDP(QPoint(x, y)), text, angle);
}

// Text is measured in the font the device shows and converted back, so that a text's measured
// width is the width it covers when painted at this zoom.
int TCanvas::TextWidth(const QString& text) const
{
    if (text.isEmpty())
        return 0;
    return LengthToLP(QFontMetrics(deviceFont()).horizontalAdvance(text));
}

int TCanvas::TextHeight(const QString& text) const
{
    Q_UNUSED(text);
    return LengthToLP(QFontMetrics(deviceFont()).height());
}
