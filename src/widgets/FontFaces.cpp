#include "widgets/FontFaces.h"

#include <QColor>
#include <QFontDatabase>
#include <QPainter>
#include <QRect>

namespace {

int FontTypeOf(const QString& family)
{
    if (QFontDatabase::isSmoothlyScalable(family))
        return ftTrueType;
    return QFontDatabase::isScalable(family) ? 0 : ftRaster;
}

} // namespace

QList<TWLXFontFace> ScreenFontFaces(bool trueTypeOnly)
{
    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);
    QList<TWLXFontFace> faces;
    for (const QString& family : families) {
        if (!faces.isEmpty() && QString::compare(faces.last().Name, family, Qt::CaseInsensitive) == 0)
            continue;
        const int type = FontTypeOf(family);
        if (trueTypeOnly && !(type & ftTrueType))
            continue;
        faces.append({family, type});
    }
    return faces;
}

void DrawFontMark(QPainter& painter, const QRect& box, int type, const QColor& color)
{
    if (!(type & (ftTrueType | ftDevice)))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int x = box.left() + 2, y = box.center().y() - 4;
    if (type & ftTrueType) {
        for (int k = 0; k < 2; ++k) {
            const int dx = x + 5 * k, dy = y + 2 * k;
            painter.fillRect(dx, dy, 7, 2, k ? color : QColor(128, 128, 128));
            painter.fillRect(dx + 3, dy, 2, 8, k ? color : QColor(128, 128, 128));
        }
    } else {
        painter.setPen(color);
        painter.drawRect(x, y + 2, 11, 5);
        painter.fillRect(x + 3, y, 6, 3, color);
    }
    painter.restore();
}
