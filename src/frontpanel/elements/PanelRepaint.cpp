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
#include <memory>
#include <vector>

namespace {
constexpr int kTickMs = 50;
} // namespace

// The tick repeats while repaints keep coming and stops after a tick with nothing to do; the
// lists keep their memory, so a run that changes its displays all the time allocates nothing
// for its repaints.
class TRepaintQueue : public QObject {
public:
    TRepaintQueue()
    {
        m_timer.setInterval(kTickMs);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Flush(); });
    }

    void Add(QWidget& w, const QRect& r)
    {
        auto it = m_pending.find(&w);
        if (it == m_pending.end())
            it = m_pending.insert(&w, Entry{&w, QRect()});
        else if (!it->widget)
            *it = Entry{&w, QRect()};  // a new widget where a freed one was
        it->area |= r;
        m_due = true;
        if (!m_timer.isActive())
            m_timer.start();
    }

    void AddChanged(QWidget& w, TTickRepaint& element)
    {
        element.m_due = true;
        m_changed.push_back({&w, &element});
        m_due = true;
        if (!m_timer.isActive())
            m_timer.start();
    }

private:
    struct Entry {
        QPointer<QWidget> widget;
        QRect area;  // what to repaint: the rectangles requested, as one; empty: nothing
    };

    struct Changed {
        QPointer<QWidget> widget;
        TTickRepaint* element;
    };

    void Flush()
    {
        if (!m_due) {
            m_timer.stop();
            return;
        }
        m_due = false;
        m_flushing.swap(m_changed);
        for (const Changed& c : m_flushing)
            if (c.widget) {
                c.element->m_due = false;
                c.element->RepaintChanged();
            }
        m_flushing.clear();
        for (auto it = m_pending.begin(); it != m_pending.end();) {
            if (!it->widget) {
                it = m_pending.erase(it);
                continue;
            }
            if (!it->area.isEmpty()) {
                const QRect area = it->area;
                it->area = QRect();
                it->widget->update(area);
            }
            ++it;
        }
    }

    QTimer m_timer;
    bool m_due = false;  // something was asked for since the last tick
    // Every widget that asked for a repaint, kept with an empty area between its requests
    // (a freed widget leaves at the next tick).
    QHash<QWidget*, Entry> m_pending;
    std::vector<Changed> m_changed;
    std::vector<Changed> m_flushing;  // the list a tick works through
};

namespace {

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

void RequestRepaintChanged(QWidget& w, TTickRepaint& element)
{
    if (element.m_due || !w.isVisible())
        return;
    Queue().AddChanged(w, element);
}

const QImage& CharacterPicture(const QFont& font, int32_t colour, QChar c)
{
    // One table per font and colour, the one used last in front: a display paints all its
    // characters from one table, so the font is compared once per character, never spelled.
    struct TPictures {
        QFont font;
        int32_t colour;
        QHash<char16_t, QImage> pictures;
    };
    static std::vector<std::unique_ptr<TPictures>> tables;
    size_t found = 0;
    while (found < tables.size() && !(tables[found]->colour == colour && tables[found]->font == font))
        ++found;
    if (found == tables.size()) {
        if (tables.size() >= 64)
            tables.pop_back();
        tables.push_back(std::make_unique<TPictures>(TPictures{font, colour, {}}));
        found = tables.size() - 1;
    }
    if (found > 0)
        std::swap(tables[0], tables[found]);
    QHash<char16_t, QImage>& pictures = tables[0]->pictures;
    const auto it = pictures.constFind(c.unicode());
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
    return *pictures.insert(c.unicode(), picture);
}
