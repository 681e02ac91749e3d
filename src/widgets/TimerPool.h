#pragma once
// Timers multiplexed over one platform timer. A pool ticks every MinInterval milliseconds of the
// program's clock (platform/Clock.h) and fires each enabled item on every n-th tick, n being
// the item's interval divided by MinInterval; items fire in list order. The application object
// owns one pool of 50 ms, the shared global timer of the whole program; TWLXTimer is the handle
// a control holds, on that pool or on a timer of its own.
//
// The platform timer only asks the pool to look at the clock (Poll): a tick is handled when at
// least MinInterval has passed since the last one; ticks missed meanwhile are dropped, as
// platform timers coalesce theirs. Tests advance a fake clock and call Poll.
//
// A handler that raises is reported to the application's exception handler; the other items
// of that tick still fire and the pool keeps ticking.

#include "widgets/WLXObject.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QTimer;
class TWLXTimerPool;

class TWLXTimerItem {
public:
    // Items are made by their pool (AddTimer); without one the construction raises
    // EInvalidOperation.
    TWLXTimerItem(TWLXTimerPool* pool, uint16_t ident);
    ~TWLXTimerItem();
    TWLXTimerItem(const TWLXTimerItem&) = delete;
    TWLXTimerItem& operator=(const TWLXTimerItem&) = delete;

    int FireLimit = -1;  // -1: no limit
    int Fired() const { return m_fired; }
    uint16_t Ident() const { return m_ident; }
    bool Enabled() const { return m_enabled; }
    // A change is taken when it switches off or the fire limit is not 0; the count restarts.
    void SetEnabled(bool value);
    uint16_t Interval() const { return m_period; }
    int Ticks() const { return m_ticks; }
    // Ignored unless a multiple of the pool's MinInterval; 0 means MinInterval.
    void SetInterval(int value);
    TNotifyEvent OnTimer;

private:
    friend class TWLXTimerPool;
    void Fire();
    TWLXTimerPool* m_pool;
    uint16_t m_ident;
    int m_fired = 0;
    bool m_enabled = true;
    uint16_t m_period = 1000;
    int m_ticks;
};

class TWLXTimerPool : public TWLXCustomComponent {
public:
    using TPoolEvent = std::function<void(TWLXTimerPool* sender, uint16_t ident, int counter)>;

    explicit TWLXTimerPool(int minInterval = 1000);
    ~TWLXTimerPool() override;

    int MinInterval() const { return m_minInterval; }
    // Taken only while loading or designing (1 .. 65535).
    void SetMinInterval(int value);
    bool DesignMode = false;
    TPoolEvent OnTimer;

    // Raises for an identifier in use ("Listenindex überschreitet das Maximum") and an interval
    // that is no multiple of MinInterval; gives the item's index.
    int AddTimer(uint16_t ident, int interval, TNotifyEvent handler);
    void RemoveTimer(uint16_t ident);
    int FindTimer(uint16_t ident) const;
    TWLXTimerItem* GetTimer(uint16_t ident) const;
    int Count() const { return int(m_items.size()); }
    int ActiveTimers() const;
    void FreeAllTimers();

    bool Running() const { return m_running; }
    int TickCount() const { return m_tickCount; }
    // The platform timer's event: handles a tick when MinInterval has passed on the clock.
    void Poll();
    // Handles one tick now (what Poll does when one is due).
    void Tick();

private:
    friend class TWLXTimerItem;
    // Stops the platform timer and, with run and an enabled item, starts it anew at tick 1.
    void RestartPoolTimer(bool run);
    void EnsureRunning();
    void Detach(TWLXTimerItem* item);
    int m_minInterval;
    std::vector<std::unique_ptr<TWLXTimerItem>> m_items;
    std::unique_ptr<QTimer> m_timer;
    int m_tickCount = 0;
    uint32_t m_lastTick = 0;
    bool m_running = false;
    bool m_inHandler = false;
    bool m_removing = false;
};

// A control's timer: on the application's shared pool (the interval rounded up to 50 ms; no
// identifier left raises EOutOfResources) or on a timer of its own.
class TWLXTimer {
public:
    TWLXTimer(int interval, bool useGlobal, bool enabled, TNotifyEvent handler);
    ~TWLXTimer();
    TWLXTimer(const TWLXTimer&) = delete;
    TWLXTimer& operator=(const TWLXTimer&) = delete;

    bool UseGlobal() const { return m_useGlobal; }
    uint16_t GlobalIdent() const { return m_globalIdent; }
    bool Enabled() const;
    void SetEnabled(bool value);
    int Interval() const;
    void SetInterval(int value);

private:
    bool m_useGlobal;
    uint16_t m_globalIdent = 0;
    std::unique_ptr<QTimer> m_own;
};
