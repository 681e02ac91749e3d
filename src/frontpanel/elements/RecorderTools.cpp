#include "frontpanel/elements/RecorderTools.h"

#include "platform/ModalDialogs.h"
#include "ui/Formats.h"
#include "platform/MessageBox.h"
#include "widgets/ToolGlyphs.h"

#include <QFileDialog>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap FromToolGlyph(TToolGlyph glyph)
{
    QPixmap pm = QPixmap::fromImage(ToolGlyph(glyph, 16));
    pm.setMask(pm.createMaskFromColor(QColor(255, 0, 255)));
    return pm;
}

// A 16 x 16 picture drawn with a painter.
QPixmap Drawn(const std::function<void(QPainter&)>& draw)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return pm;
}

// A magnifier with a sign and, for the x or y axis, a small arrow pair beside it.
QPixmap Magnifier(bool plus, char axis)
{
    return Drawn([plus, axis](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 1.6));
        p.setBrush(QColor(220, 235, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(QColor(40, 40, 40), 2.2));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
        p.setPen(QPen(Qt::black, 1.4));
        p.drawLine(QPointF(3.8, 6), QPointF(8.2, 6));
        if (plus)
            p.drawLine(QPointF(6, 3.8), QPointF(6, 8.2));
        p.setPen(QPen(QColor(0, 0, 160), 1.2));
        if (axis == 'x') {
            p.drawLine(QPointF(9, 14.5), QPointF(1, 14.5));
            p.drawLine(QPointF(1, 14.5), QPointF(3, 12.8));
            p.drawLine(QPointF(9, 14.5), QPointF(7, 12.8));
        } else if (axis == 'y') {
            p.drawLine(QPointF(14.5, 1), QPointF(14.5, 8));
            p.drawLine(QPointF(14.5, 1), QPointF(12.8, 3));
            p.drawLine(QPointF(14.5, 8), QPointF(12.8, 6));
        }
    });
}

} // namespace

QIcon RecorderGlyph(TRecorderGlyph glyph)
{
    switch (glyph) {
    case TRecorderGlyph::None: return QIcon();
    case TRecorderGlyph::Record:
        return QIcon(Drawn([](QPainter& p) {
            p.setPen(QPen(QColor(120, 0, 0), 1));
            p.setBrush(QColor(220, 0, 0));
            p.drawEllipse(QRectF(3, 3, 10, 10));
        }));
    case TRecorderGlyph::Stop:
        return QIcon(Drawn([](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 30, 30));
            p.drawRect(QRectF(4, 4, 8, 8));
        }));
    case TRecorderGlyph::Play:
        return QIcon(Drawn([](QPainter& p) {
            QPainterPath path;
            path.moveTo(4, 3);
            path.lineTo(13, 8);
            path.lineTo(4, 13);
            path.closeSubpath();
            p.setPen(QPen(QColor(0, 90, 0), 1));
            p.setBrush(QColor(0, 170, 0));
            p.drawPath(path);
        }));
    case TRecorderGlyph::Print: return QIcon(FromToolGlyph(TToolGlyph::Print));
    case TRecorderGlyph::Open: return QIcon(FromToolGlyph(TToolGlyph::Open));
    case TRecorderGlyph::Save: return QIcon(FromToolGlyph(TToolGlyph::Save));
    case TRecorderGlyph::Copy: return QIcon(FromToolGlyph(TToolGlyph::Copy));
    case TRecorderGlyph::ZoomYIn: return QIcon(Magnifier(true, 'y'));
    case TRecorderGlyph::ZoomYOut: return QIcon(Magnifier(false, 'y'));
    case TRecorderGlyph::ZoomXIn: return QIcon(Magnifier(true, 'x'));
    case TRecorderGlyph::ZoomXOut: return QIcon(Magnifier(false, 'x'));
    case TRecorderGlyph::ZoomAll: return QIcon(FromToolGlyph(TToolGlyph::ZoomPage));
    case TRecorderGlyph::ZoomReset: return QIcon(FromToolGlyph(TToolGlyph::ZoomObjects));
    case TRecorderGlyph::Settings: return QIcon(FromToolGlyph(TToolGlyph::PanelSettings));
    case TRecorderGlyph::Show:
    case TRecorderGlyph::Hide:
        return QIcon(Drawn([glyph](QPainter& p) {
            QPainterPath path;
            if (glyph == TRecorderGlyph::Hide) {
                path.moveTo(3, 5);
                path.lineTo(13, 5);
                path.lineTo(8, 11);
            } else {
                path.moveTo(3, 11);
                path.lineTo(13, 11);
                path.lineTo(8, 5);
            }
            path.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(60, 60, 60));
            p.drawPath(path);
        }));
    }
    return QIcon();
}

QMenu* BuildRecorderMenu(QWidget* owner, const std::vector<std::pair<int, QString>>& entries,
                         std::function<void(int)> onCommand)
{
    auto* menu = new QMenu(owner);
    for (const auto& [tag, caption] : entries) {
        if (tag == 0 && caption.isEmpty()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(caption);
        action->setData(tag);
        QObject::connect(action, &QAction::triggered, menu, [onCommand, tag = tag] { onCommand(tag); });
    }
    return menu;
}

QString AskRecorderFile(QWidget* owner, bool save, const QString& filter, const QString& extension)
{
    QFileDialog dlg(owner);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setNameFilter(filter);
    dlg.setDefaultSuffix(extension);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (ShowModal(dlg) != mrOk || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().front();
}

double DateTimeToDays(const QDateTime& time)
{
    return double(QDate(1899, 12, 30).daysTo(time.date())) + time.time().msecsSinceStartOfDay() / 86400000.0;
}

QString TimeStampedName(const QString& prefix, const QDateTime& now)
{
    const QLocale locale = QLocale::system();
    QString name = prefix + u' ' + SafeFileName(locale.toString(now.date(), QLocale::ShortFormat)) + u' ' +
                   SafeFileName(now.time().toString(QStringLiteral("HH:mm:ss")));
    name.replace(u':', u'.');
    return name;
}
