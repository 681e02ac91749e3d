#include "frontpanel/elements/PanelRepaint.h"

#include "platform/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kTickMs = 50;

class TRepaintQueue : public QObject {
public:
    TRepaintQueue()
    {
        m_timer.setSingleShot(true);
        m_timer.setInterval(kTickMs);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Flush(); });
    }

    void Add(QWidget& w, const QRect& r)
    {
        Entry& e = m_pending[&w];
        e.widget = &w;
        e.area |= r;
        if (!m_timer.isActive())
            m_timer.start();
    }

private:
    struct Entry {
        QPointer<QWidget> widget;
        QRect area;  // what to repaint: the rectangles requested, as one
    };

    void Flush()
    {
        const QHash<QWidget*, Entry> pending = std::move(m_pending);
        m_pending.clear();
        for (const Entry& e : pending)
            if (e.widget)
                e.widget->update(e.area);
    }

    QTimer m_timer;
    QHash<QWidget*, Entry> m_pending;
};

TRepaintQueue& Queue()
{
    static TRepaintQueue* queue = new TRepaintQueue;  // lives as long as the program
    return *queue;
}

} // namespace

void RequestRepaint(QWidget& w, const QRect& r)
{
    if (!w.isVisible())
        return;  // a hidden widget paints everything when it is shown
    Queue().Add(w, r);
}

void RequestRepaint(QWidget& w)
{
    RequestRepaint(w, w.rect());
}

const QImage& CharacterPicture(const QFont& font, int32_t colour, QChar c)
{
    static QHash<QString, QImage> pictures;
    const QString key = font.key() + QLatin1Char('|') + QString::number(colour) + QLatin1Char('|') + c;
    const auto it = pictures.constFind(key);
    if (it != pictures.constEnd())
        return *it;
    if (pictures.size() > 4000)
        pictures.clear();
    const QFontMetrics metrics(font);
    // Room for a slanted or overhanging glyph beside its advance.
    const int w = std::max(1, metrics.horizontalAdvance(c) + metrics.height() / 2);
    const int h = std::max(1, metrics.height());
    QImage picture(w, h, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    TCanvas canvas(&painter);
    canvas.Font = font;
    canvas.FontColor = colour;
    canvas.TransparentText = true;
    canvas.TextOut(0, 0, QString(c));
    painter.end();
    return *pictures.insert(key, picture);
}
