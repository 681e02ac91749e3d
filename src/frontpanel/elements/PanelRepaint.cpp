#include "frontpanel/elements/PanelRepaint.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

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
