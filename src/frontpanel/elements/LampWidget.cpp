#include "frontpanel/elements/LampWidget.h"

#include "platform/Colors.h"
#include "platform/Types.h"
#include "widgets/ImageList.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QRandomGenerator>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

int RoundEven(double x)
{
    return int(std::nearbyint(x));  // the default rounding mode: halves to even
}

int Channel(int32_t color, int shift)
{
    return (color >> shift) & 0xFF;
}

int32_t Shifted(int32_t color, int delta)
{
    auto ch = [&](int shift) { return std::clamp(Channel(color, shift) + delta, 0, 255); };
    return ch(0) | (ch(8) << 8) | (ch(16) << 16);
}

// The body outline grown by d, in box coordinates (margin c), clockwise on screen.
std::vector<QPointF> GrownOutline(TIxLedClass shape, int w, int h, int c, int d)
{
    std::vector<QPointF> p;
    const double fd = d;
    switch (shape) {
    case ixlcRect:
        p = {{double(c - d), double(c - d)}, {double(c + w + d), double(c - d)},
             {double(c + w + d), double(c + h + d)}, {double(c - d), double(c + h + d)}};
        break;
    case ixlcRound: {
        const int m = std::max({w, h, 1});
        for (int i = 0; i < 2 * m; ++i) {
            const double t = i * kPi / m;
            p.emplace_back(c + w / 2.0 + std::sin(t) * (w / 2.0 + fd),
                           c + h / 2.0 - std::cos(t) * (h / 2.0 + fd));
        }
        break;
    }
    case ixlcRomb:
        p = {{double(c + w / 2), double(c - d)}, {double(c + w + d), double(c + h / 2)},
             {double(c + w / 2), double(c + h + d)}, {double(c - d), double(c + h / 2)}};
        break;
    case ixlcHalfCircle: {
        const int n = 2 * std::max({w, h, 1});
        for (int i = 0; i < n; ++i) {
            const double t = i * kPi / (n - 1);
            p.emplace_back(c + std::sin(t) * (w + fd), c + h / 2.0 - std::cos(t) * (h / 2.0 + fd));
        }
        p.emplace_back(c - fd, c + h + fd);
        p.emplace_back(c - fd, c - fd);
        break;
    }
    case ixlcTriangle:
        p = {{double(c + w / 2), double(c - d)}, {double(c + w + d), double(c + h + d)},
             {double(c - d), double(c + h + d)}};
        break;
    case ixlcTrapezium:
        p = {{double(c + w / 4 - d / 2), double(c - d)},
             {double(c + (3 * w) / 4 + d / 2), double(c - d)},
             {double(c + w + d), double(c + h + d)}, {double(c - d), double(c + h + d)}};
        break;
    }
    return p;
}

// A texture covering a picture of the size: tiled from (0, 0) or stretched over it.
QImage Covering(const QImage& texture, TIxglSubstanceMode mode, QSize size)
{
    if (mode == ixsmStretch)
        return texture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QImage out(size, QImage::Format_RGB32);
    QPainter p(&out);
    p.fillRect(out.rect(), QBrush(texture));
    return out;
}

// A picture of an image list; none when the list has no such picture.
QImage PictureOf(const TWLXCustomImageList* list, int listIndex, int imageIndex)
{
    QImage picture;
    if (list && list->IsValidIndex(listIndex, imageIndex))
        list->GetBitmap(listIndex, imageIndex, &picture);
    return picture;
}

// Every channel moved by delta, kept in 0 .. 255.
QImage Brightened(const QImage& texture, int delta)
{
    QImage out = texture;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = qRgb(std::clamp(qRed(line[x]) + delta, 0, 255), std::clamp(qGreen(line[x]) + delta, 0, 255),
                           std::clamp(qBlue(line[x]) + delta, 0, 255));
    }
    return out;
}

QPolygonF Quad(const std::vector<QPointF>& inner, const std::vector<QPointF>& outer, size_t i)
{
    const size_t j = (i + 1) % inner.size();
    return QPolygonF({inner[i], outer[i], outer[j], inner[j]});
}

} // namespace

TITemboLED::TITemboLED(QWidget* parent)
    : QWidget(parent)
{
    resize(24, 14);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int TITemboLED::Margin() const
{
    int m = m_gap;
    if (m_innerStyle != ixblsNone)
        m += m_innerDepth;
    if (m_outerStyle != ixblsNone)
        m += m_outerDepth;
    return m;
}

bool TITemboLED::QuarterAngle() const
{
    const double a = m_angle * kPi / 1800.0;
    return std::abs(std::cos(a)) < 1e-4 || std::abs(std::sin(a)) < 1e-4;
}

void TITemboLED::Layout()
{
    m_laidOut = true;
    const int m = Margin();
    const double a = m_angle * kPi / 1800.0;
    const double ca = std::cos(a);
    const double sa = std::sin(a);
    const int bw = 2 * m + m_ledWidth;
    const int bh = 2 * m + m_ledHeight;
    const int cw = RoundEven(std::abs(ca) * bw + std::abs(sa) * bh);
    const int ch = RoundEven(std::abs(sa) * bw + std::abs(ca) * bh);
    if (size() != QSize(cw, ch)) {
        m_inLayout = true;
        resize(cw, ch);
        m_inLayout = false;
    }
    const int inner = m_innerStyle == ixblsNone ? 0 : m_innerDepth;
    const int outer = m_outerStyle == ixblsNone ? 0 : m_outerDepth;
    const int grow[4] = {0, m_gap, m_gap + inner, m_gap + inner + outer};
    const double bx = m + m_ledWidth / 2.0;
    const double by = m + m_ledHeight / 2.0;
    const double g = cw / 2.0 - (ca * bx + sa * by);
    const double hh = ch / 2.0 - (-sa * bx + ca * by);
    for (int r = 0; r < 4; ++r) {
        std::vector<QPointF> p = GrownOutline(m_ledClass, m_ledWidth, m_ledHeight, m, grow[r]);
        for (QPointF& q : p) {
            const double x = q.x();
            const double y = q.y();
            q = QPointF(RoundEven(g + ca * x + sa * y), RoundEven(hh - sa * x + ca * y));
        }
        m_outlines[size_t(r)] = std::move(p);
    }
    QPolygon region;
    for (const QPointF& q : m_outlines[3])
        region << q.toPoint();
    setMask(QRegion(region, Qt::OddEvenFill));
}

void TITemboLED::FollowParent()
{
    if (FillsParent && parentWidget())
        setGeometry(parentWidget()->rect());
}

void TITemboLED::FitBodyTo(QSize size)
{
    if (!QuarterAngle())
        return;
    const int m = Margin();
    const bool across = std::abs(std::sin(m_angle * kPi / 1800.0)) > 0.5;
    m_ledWidth = std::max(0, (across ? size.height() : size.width()) - 2 * m);
    m_ledHeight = std::max(0, (across ? size.width() : size.height()) - 2 * m);
}

void TITemboLED::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_inLayout)
        return;
    FitBodyTo(size());
    // At other angles the layout moves the widget back to the size the lamp needs.
    Layout();
    Render();
    update();
}

void TITemboLED::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_laidOut) {
        Layout();
        Render();
    }
}

void TITemboLED::Changed(bool relayout)
{
    if (relayout) {
        // A lamp that fills its parent keeps doing so: the body takes what the border leaves.
        if (FillsParent && parentWidget())
            FitBodyTo(parentWidget()->size());
        Layout();
    }
    else if (!m_laidOut)
        Layout();
    // The pictures are rendered when they are next needed (painting or reading them).
    m_dirty = true;
    update();
}

void TITemboLED::EnsureRendered() const
{
    if (!m_dirty && m_lit.size() == size())
        return;
    m_unlit = RenderState(false);
    m_lit = RenderState(true);
    m_dirty = false;
}

QImage TITemboLED::RenderState(bool lit) const
{
    const int wb = width();
    const int hb = height();
    QImage image(std::max(wb, 1), std::max(hb, 1), QImage::Format_RGB32);
    if (image.isNull())
        return image;  // no memory for a picture of that size: nothing is drawn
    const int m = Margin();
    const double hx = wb / 2.0 - m;
    const double hy = hb / 2.0 - m;
    const double v = m_plasticDepth / 20.0 * std::min(hx, hy);
    double denom = hx + hy - 2 * v;
    if (denom <= 0)
        denom = 1;
    const int f = lit ? 2 : 1;
    const int r = (Channel(m_plasticColor, 0) * f) / 2;
    const int gch = (Channel(m_plasticColor, 8) * f) / 2;
    const int b = (Channel(m_plasticColor, 16) * f) / 2;
    // The body texture laid over the picture first, tiled from (0, 0) or stretched.
    const QImage body = m_bodyTexture.isNull() ? QImage() : Covering(m_bodyTexture, m_bodyMode, image.size());
    const int k = body.isNull() ? 90 : 127;
    QRandomGenerator* random = QRandomGenerator::global();
    const int grain = 3 * m_plasticDepth;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* texel = body.isNull() ? nullptr : reinterpret_cast<const QRgb*>(body.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            int shade = RoundEven(255 - k * (std::abs(x - wb / 2.0) + std::abs(y - hb / 2.0))
                                            / denom);
            shade += 15 - int(random->bounded(grain));
            shade = std::clamp(shade, 0, 255);
            if (texel)
                line[x] = qRgb(shade * ((qRed(texel[x]) * f) / 2) / 255,
                               shade * ((qGreen(texel[x]) * f) / 2) / 255,
                               shade * ((qBlue(texel[x]) * f) / 2) / 255);
            else
                line[x] = qRgb(shade * r / 255, shade * gch / 255, shade * b / 255);
        }
    }
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    auto textureBrush = [&](const QImage& texture) {
        return QBrush(Covering(texture, m_borderMode, image.size()));
    };
    const bool bordered = !m_borderTexture.isNull();
    const auto& p0 = m_outlines[0];
    const auto& p1 = m_outlines[1];
    if (m_gap > 0 && !p0.empty()) {
        QPainterPath ring;
        ring.setFillRule(Qt::WindingFill);
        for (size_t i = 0; i < p0.size(); ++i)
            ring.addPolygon(Quad(p0, p1, i));
        if (bordered)
            painter.fillPath(ring, textureBrush(m_borderTexture));
        else
            painter.fillPath(ring, TColorToQColor(m_gapColor));
    }
    auto border = [&](const std::vector<QPointF>& in, const std::vector<QPointF>& out,
                      TIxBorderLedStyle style) {
        const QBrush light = bordered ? textureBrush(m_borderLight)
                                      : QBrush(TColorToQColor(Shifted(m_borderColor, 32)));
        const QBrush dark = bordered ? textureBrush(m_borderDark)
                                     : QBrush(TColorToQColor(Shifted(m_borderColor, -32)));
        const double limit = 1.0 / std::sqrt(2.0);
        for (size_t i = 0; i < out.size(); ++i) {
            const size_t j = (i + 1) % out.size();
            int tenths = RoundEven(std::atan2(out[i].y() - out[j].y(), out[j].x() - out[i].x())
                                   * 1800.0 / kPi);
            if (style == ixblsDown)
                tenths += 1800;
            const double phi = tenths * kPi / 1800.0;
            const double s = std::sin(phi);
            const double c = std::cos(phi);
            const bool isDark = (s > 0 && c <= -limit) || (s <= 0 && c <= limit);
            painter.setBrush(isDark ? dark : light);
            painter.drawPolygon(Quad(in, out, i), Qt::OddEvenFill);
        }
    };
    if (m_outerStyle != ixblsNone && !m_outlines[3].empty())
        border(m_outlines[2], m_outlines[3], m_outerStyle);
    if (m_innerStyle != ixblsNone && !m_outlines[2].empty())
        border(m_outlines[1], m_outlines[2], m_innerStyle);
    return image;
}

void TITemboLED::Render()
{
    m_dirty = true;
}

const QImage& TITemboLED::LitPicture() const
{
    EnsureRendered();
    return m_lit;
}

const QImage& TITemboLED::UnlitPicture() const
{
    EnsureRendered();
    return m_unlit;
}

void TITemboLED::paintEvent(QPaintEvent*)
{
    if (!m_laidOut)
        Layout();
    EnsureRendered();
    QPainter painter(this);
    painter.drawImage(0, 0, m_on ? m_lit : m_unlit);
    if (parentWidget() && parentWidget()->hasFocus()) {
        painter.setPen(Qt::red);
        painter.setBrush(Qt::red);
        painter.drawPolygon(QPolygon({QPoint(3, 0), QPoint(5, 5), QPoint(0, 3)}));
    }
}

// --- Properties -----------------------------------------------------------------------------

void TITemboLED::SetLedClass(TIxLedClass value)
{
    if (value == m_ledClass || value > ixlcTrapezium)
        return;
    m_ledClass = value;
    Changed(true);
}

void TITemboLED::SetLedWidth(int value)
{
    if (value == m_ledWidth || value < 0)
        return;
    m_ledWidth = value;
    Changed(true);
}

void TITemboLED::SetLedHeight(int value)
{
    if (value == m_ledHeight || value < 0)
        return;
    m_ledHeight = value;
    Changed(true);
}

void TITemboLED::SetLedPlasticColor(int32_t value)
{
    if (value == m_plasticColor)
        return;
    m_plasticColor = value;
    Changed(false);
}

void TITemboLED::SetLedPlasticDepth(int value)
{
    if (value == m_plasticDepth || value < 1 || value > 10)
        return;
    m_plasticDepth = value;
    Changed(false);
}

void TITemboLED::SetLedOn(bool value)
{
    if (value == m_on)
        return;
    m_on = value;
    // Both pictures exist already: switching only shows the other one.
    update();
}

void TITemboLED::SetGap(int value)
{
    if (value == m_gap || value < 0)
        return;
    m_gap = value;
    Changed(true);
}

void TITemboLED::SetGapColor(int32_t value)
{
    if (value == m_gapColor)
        return;
    m_gapColor = value;
    Changed(false);
}

void TITemboLED::SetInnerBorderStyle(TIxBorderLedStyle value)
{
    if (value == m_innerStyle || value > ixblsNone)
        return;
    m_innerStyle = value;
    Changed(true);
}

void TITemboLED::SetOuterBorderStyle(TIxBorderLedStyle value)
{
    if (value == m_outerStyle || value > ixblsNone)
        return;
    m_outerStyle = value;
    Changed(true);
}

void TITemboLED::SetInnerBorderDepth(int value)
{
    if (value == m_innerDepth || value < 0)
        return;
    m_innerDepth = value;
    Changed(true);
}

void TITemboLED::SetOuterBorderDepth(int value)
{
    if (value == m_outerDepth || value < 0)
        return;
    m_outerDepth = value;
    Changed(true);
}

void TITemboLED::SetBorderColor(int32_t value)
{
    if (value == m_borderColor)
        return;
    m_borderColor = value;
    Changed(false);
}

void TITemboLED::SetAngle(int value)
{
    while (value > 1800)
        value -= 3600;
    while (value < -1799)
        value += 3600;
    if (value == m_angle)
        return;
    m_angle = value;
    Changed(true);
}

void TITemboLED::SetEmboON(bool value)
{
    if (value == m_emboOn)
        return;
    m_emboOn = value;
    update();
}

void TITemboLED::SetEmboSize(int value)
{
    if (value == m_emboSize || value < 0 || value > 49)
        return;
    m_emboSize = value;
    update();
}

void TITemboLED::SetBorderSubstance(const QImage& picture)
{
    m_borderTexture = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    m_borderLight = m_borderTexture.isNull() ? QImage() : Brightened(m_borderTexture, 64);
    m_borderDark = m_borderTexture.isNull() ? QImage() : Brightened(m_borderTexture, -64);
    Changed(false);
}

void TITemboLED::SetLedPlasticSubstance(const QImage& picture)
{
    m_bodyTexture = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    Changed(false);
}

void TITemboLED::SetBorderSubsMode(TIxglSubstanceMode value)
{
    if (value == m_borderMode)
        return;
    m_borderMode = value;
    Changed(false);
}

void TITemboLED::SetLedPlasticSubsMode(TIxglSubstanceMode value)
{
    if (value == m_bodyMode)
        return;
    m_bodyMode = value;
    Changed(false);
}

void TITemboLED::TakeBorderSubstance(const TWLXCustomImageList* list, int listIndex, int imageIndex)
{
    SetBorderSubstance(PictureOf(list, listIndex, imageIndex));
}

void TITemboLED::TakeLedPlasticSubstance(const TWLXCustomImageList* list, int listIndex, int imageIndex)
{
    SetLedPlasticSubstance(PictureOf(list, listIndex, imageIndex));
}

void TITemboLED::SetEmboIntensity(int value)
{
    if (value == m_emboIntensity || value < 1 || value > 10)
        return;
    m_emboIntensity = value;
    update();
}
