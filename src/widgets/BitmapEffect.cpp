#include "widgets/BitmapEffect.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"

#include <QPainter>

#include <cmath>

namespace {

int BytesPerPixel(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
        return 3;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return 4;
    default:
        return 0;
    }
}

void Require(const QImage& image, const char* name)
{
    if (BytesPerPixel(image) == 0)
        throw EWLXWrongPixelFormat(std::string("Wrong PixelFormat in ") + name + " bitmap!");
}

} // namespace

void BlendBitmaps(const QImage& source1, const QImage& source2, const QRect& rect, QPoint at,
                  double strength, QImage& target, QPoint from)
{
    Require(source1, "Source 1");
    Require(source2, "Source 2");
    Require(target, "Target");
    const int bpp = BytesPerPixel(source1);
    if (target.format() != source1.format())
        target = target.convertToFormat(source1.format());
    const QImage s2 = source2.format() == source1.format() ? source2 : source2.convertToFormat(source1.format());
    int table[511];
    for (int d = -255; d <= 255; ++d)
        table[d + 255] = int(std::nearbyint(d * strength));
    for (int y = 0; y < rect.height(); ++y) {
        const int y1 = rect.top() + y, y2 = from.y() + y, yt = at.y() + y;
        if (y1 < 0 || y1 >= source1.height() || y2 < 0 || y2 >= s2.height() || yt < 0 || yt >= target.height())
            continue;
        const uchar* a = source1.constScanLine(y1);
        const uchar* b = s2.constScanLine(y2);
        uchar* t = target.scanLine(yt);
        for (int x = 0; x < rect.width(); ++x) {
            const int x1 = rect.left() + x, x2 = from.x() + x, xt = at.x() + x;
            if (x1 < 0 || x1 >= source1.width() || x2 < 0 || x2 >= s2.width() || xt < 0 || xt >= target.width())
                continue;
            for (int k = 0; k < 3; ++k) {
                const int s1 = a[x1 * bpp + k];
                const int v2 = b[x2 * bpp + k];
                t[xt * bpp + k] = uchar(std::clamp(v2 + table[s1 - v2 + 255], 0, 255));
            }
        }
    }
}

TWLXAlphaObject::TWLXAlphaObject()
{
    m_fill.OnChange = [this](void* sender) { GetChange(sender); };
}

void TWLXAlphaObject::SetStrength(double value)
{
    if (value == m_strength)
        return;
    m_strength = value;
    Change();
}

void TWLXAlphaObject::Assign(const TWLXAlphaObject& source)
{
    m_fill.BeginUpdate();
    m_fill.Assign(source.m_fill);
    m_fill.EndUpdate(false);
    m_strength = source.m_strength;
}

QString TWLXAlphaObject::DescriptionText() const
{
    using enum TWLXFillStyle;
    const TWLXFillStyle style = m_fill.Style();
    if (style == sfNone)
        return QStringLiteral("{Disabled}");
    const char* kind = style == sfBrush ? "brush" : (style == sfBitmap || style == sfBitmapList) ? "bmp"
                     : style == sfGradient ? "grad" : "";
    return QStringLiteral("{Enabled (") + QString::fromLatin1(kind) + QStringLiteral("), strength: ") +
           QString::number(m_strength, 'f', 3) + QStringLiteral("}");
}

void TWLXAlphaObject::Apply(QImage& picture) const
{
    if (m_fill.Style() == TWLXFillStyle::sfNone || picture.isNull())
        return;
    QImage fill(picture.size(), QImage::Format_RGB888);
    fill.fill(Qt::white);
    {
        QPainter p(&fill);
        TCanvas canvas(&p);
        m_fill.PaintFill(canvas, {0, 0, fill.width(), fill.height()}, clWhite);
    }
    picture = picture.convertToFormat(QImage::Format_RGB888);
    BlendBitmaps(picture, fill, picture.rect(), QPoint(0, 0), m_strength, picture, QPoint(0, 0));
}

TWLXBitmapEffectObject::TWLXBitmapEffectObject()
{
    m_alpha.OnChange = [this](void* sender) { GetChange(sender); };
}

void TWLXBitmapEffectObject::Change()
{
    TWLXObject::Change();
    InvalidateBuffer();
}

QString TWLXBitmapEffectObject::DescriptionText() const
{
    if (m_alpha.FillObject().Style() == TWLXFillStyle::sfNone)
        return QStringLiteral("{Disabled}");
    return QStringLiteral("{alpha}");
}
