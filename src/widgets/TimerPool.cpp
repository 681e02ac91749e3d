#include "widgets/TimerPool.h"

#include "platform/Clock.h"
#include "platform/Context.h"
#include "widgets/Application.h"
#include "widgets/WLXErrors.h"

#include <QTimer>

#include <algorithm>
#include <climits>

namespace {

constexpr int kGlobalBase = 50;

} // namespace

// ---- item -----------------------------------------------------------------------------------

TWLXTimerItem::TWLXTimerItem(TWLXTimerPool* pool, uint16_t ident) : m_pool(pool), m_ident(ident)
{
    if (!pool)
        throw EInvalidOperation(QStringLiteral("TWLXTimerItem: Invalid Owner or List"));
    m_ticks = 1000 / pool->MinInterval();
}

TWLXTimerItem::~TWLXTimerItem()
{
    m_enabled = false;
    OnTimer = nullptr;
}

void TWLXTimerItem::SetEnabled(bool value)
{
    if (value == m_enabled || (value && FireLimit == 0))
        return;
    m_enabled = value;
    m_fired = 0;
    if (value)
        m_pool->EnsureRunning();
}

void TWLXTimerItem::SetInterval(int value)
{
    const int base = m_pool->MinInterval();
    if (value == 0)
        value = base;
    if (value == m_period || value < 0 || value > 65535 || value % base != 0)
        return;
    m_ticks = value / base;
    m_period = uint16_t(value);
    m_fired = 0;
}

void TWLXTimerItem::Fire()
{
    m_fired = m_fired == INT_MAX ? 0 : m_fired + 1;
    if (m_fired == FireLimit)
        m_enabled = false;
    // Copies: a handler may free its own timer (and so this item).
    if (OnTimer) {
        const TNotifyEvent handler = OnTimer;
        handler(m_pool);
    } else if (m_pool->OnTimer) {
        const TWLXTimerPool::TPoolEvent handler = m_pool->OnTimer;
        handler(m_pool, m_ident, m_fired);
    }
}

// ---- pool -----------------------------------------------------------------------------------

TWLXTimerPool::TWLXTimerPool(int minInterval) : m_minInterval(std::clamp(minInterval, 1, 65535))
{
}

TWLXTimerPool::~TWLXTimerPool()
{
    FreeAllTimers();
}

void TWLXTimerPool::SetMinInterval(int value)
{
    if ((Loading || DesignMode) && value >= 1 && value <= 65535)
        m_minInterval = value;
}

int TWLXTimerPool::AddTimer(uint16_t ident, int interval, TNotifyEvent handler)
{
    const int found = FindTimer(ident);
    if (found >= 0)
        throw EWLXError(Lang3Q("Listenindex überschreitet das Maximum (%1)",
                               "List index exceeds the maximum (%1)",
                               "L'indice de liste dépasse le maximum (%1)")
                            .arg(found));
    if (interval < m_minInterval || interval % m_minInterval != 0)
        throw EWLXError(QStringLiteral("Interval not compatible with MinInterval property!"));
    auto item = std::make_unique<TWLXTimerItem>(this, ident);
    item->SetInterval(interval);
    item->OnTimer = std::move(handler);
    m_items.push_back(std::move(item));
    RestartPoolTimer(true);
    return Count() - 1;
}

void TWLXTimerPool::RemoveTimer(uint16_t ident)
{
    const int index = FindTimer(ident);
    if (index < 0)
        return;
    m_removing = true;
    m_items[size_t(index)]->m_enabled = false;
    m_items[size_t(index)]->OnTimer = nullptr;
    m_items.erase(m_items.begin() + index);
    m_removing = false;
    if (m_items.empty())
        RestartPoolTimer(false);
}

int TWLXTimerPool::FindTimer(uint16_t ident) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items[size_t(i)]->m_ident == ident)
            return i;
    return -1;
}

TWLXTimerItem* TWLXTimerPool::GetTimer(uint16_t ident) const
{
    const int index = FindTimer(ident);
    return index >= 0 ? m_items[size_t(index)].get() : nullptr;
}

int TWLXTimerPool::ActiveTimers() const
{
    return int(std::count_if(m_items.begin(), m_items.end(),
                             [](const auto& item) { return item->m_enabled; }));
}

void TWLXTimerPool::FreeAllTimers()
{
    RestartPoolTimer(false);
    while (!m_items.empty())
        m_items.pop_back();
}

void TWLXTimerPool::RestartPoolTimer(bool run)
{
    if (DesignMode)
        return;
    if (m_timer)
        m_timer->stop();
    m_running = false;
    if (!run || ActiveTimers() == 0)
        return;
    if (!m_timer) {
        m_timer = std::make_unique<QTimer>();
        m_timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this] { Poll(); });
    }
    // Looked at twice per interval, so that a platform tick a little early loses no pool tick.
    m_timer->start(std::max(1, m_minInterval / 2));
    m_tickCount = 1;
    m_lastTick = Clock().TickCount();
    m_running = true;
}

void TWLXTimerPool::EnsureRunning()
{
    if (!m_running)
        RestartPoolTimer(true);
}

void TWLXTimerPool::Poll()
{
    if (!m_running)
        return;
    const uint32_t now = Clock().TickCount();
    const uint32_t elapsed = now - m_lastTick;
    if (elapsed < uint32_t(m_minInterval))
        return;
    m_lastTick += elapsed - elapsed % uint32_t(m_minInterval);
    Tick();
}

void TWLXTimerPool::Tick()
{
    if (m_inHandler || m_removing)
        return;
    m_inHandler = true;
    // Handlers may add or remove items: fire the ones present now that are still present.
    std::vector<TWLXTimerItem*> items;
    for (const auto& item : m_items)
        items.push_back(item.get());
    for (TWLXTimerItem* item : items) {
        const bool present = std::any_of(m_items.begin(), m_items.end(),
                                         [item](const auto& p) { return p.get() == item; });
        if (!present || !item->m_enabled || item->m_ticks <= 0 || m_tickCount % item->m_ticks != 0)
            continue;
        try {
            item->Fire();
        } catch (const std::exception& e) {
            Application().HandleException(e);
        }
    }
    m_tickCount = m_tickCount == INT_MAX ? 0 : m_tickCount + 1;
    m_inHandler = false;
}

// ---- control timer --------------------------------------------------------------------------

TWLXTimer::TWLXTimer(int interval, bool useGlobal, bool enabled, TNotifyEvent handler)
    : m_useGlobal(useGlobal)
{
    if (useGlobal) {
        if (interval % kGlobalBase != 0)
            interval = interval / kGlobalBase * kGlobalBase + kGlobalBase;
        m_globalIdent = Application().AddGlobalTimer(interval, std::move(handler));
        if (m_globalIdent == 0)
            throw EOutOfResources(NotEnoughTimersText());
        SetEnabled(enabled);
        return;
    }
    m_own = std::make_unique<QTimer>();
    m_own->setInterval(interval);
    QObject::connect(m_own.get(), &QTimer::timeout, [h = std::move(handler), this] {
        if (h)
            h(this);
    });
    if (enabled)
        m_own->start();
}

TWLXTimer::~TWLXTimer()
{
    if (m_useGlobal)
        Application().RemoveGlobalTimer(m_globalIdent);
}

bool TWLXTimer::Enabled() const
{
    if (m_own)
        return m_own->isActive();
    const TWLXTimerItem* item = Application().GetGlobalTimer(m_globalIdent);
    return item && item->Enabled();
}

void TWLXTimer::SetEnabled(bool value)
{
    if (m_own) {
        if (value)
            m_own->start();
        else
            m_own->stop();
    } else if (TWLXTimerItem* item = Application().GetGlobalTimer(m_globalIdent)) {
        item->SetEnabled(value);
    }
}

int TWLXTimer::Interval() const
{
    if (m_own)
        return m_own->interval();
    const TWLXTimerItem* item = Application().GetGlobalTimer(m_globalIdent);
    return item ? item->Interval() : 0;
}

void TWLXTimer::SetInterval(int value)
{
    if (m_own)
        m_own->setInterval(value);
    else if (TWLXTimerItem* item = Application().GetGlobalTimer(m_globalIdent))
        item->SetInterval(value);
}
