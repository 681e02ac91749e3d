#pragma once
// High-resolution timer: calls OnTimer every Interval milliseconds.
//
// Two ways of ticking:
// - UseThread false (what the program's own timers use): a thread of the timer's own waits
//   for absolute deadlines on the monotonic clock (start + k x Interval, so the rate does not
//   drift) and posts each tick to the thread the timer lives in (the GUI thread). A tick that
//   arrives while the handler of an earlier one still runs (the handler may process events) is
//   dropped, and a tick is not posted while the previous one still waits in the queue: ticks
//   never nest and never pile up.
// - UseThread true (the default of a new timer): a thread that sleeps Interval between ticks
//   and then runs the handler in the GUI thread, waiting for it (Synchronize), or directly in
//   the timer thread (Synchronize false).

#include "widgets/WLXErrors.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

class QThread;

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// Where a timer thread's ticks come from: a monotonic clock and a wait for an absolute
// deadline that another thread can cancel. The timer makes one per thread it starts.
class THiTimerTickSource {
public:
    virtual ~THiTimerTickSource() = default;
    // Monotonic time in nanoseconds.
    virtual int64_t Now() = 0;
    // Blocks until Now() has reached the deadline; false when Cancel was called (at once for
    // every call after it).
    virtual bool WaitUntil(int64_t deadlineNs) = 0;
    // Wakes a waiting WaitUntil; may be called from any thread.
    virtual void Cancel() = 0;
};

// Waits with a timerfd on CLOCK_MONOTONIC (absolute deadlines); an eventfd wakes it for Cancel.
class TMonotonicTickSource : public THiTimerTickSource {
public:
    // Throws EOutOfResources when the kernel gives no timer.
    TMonotonicTickSource();
    ~TMonotonicTickSource() override;
    int64_t Now() override;
    bool WaitUntil(int64_t deadlineNs) override;
    void Cancel() override;

private:
    int m_timerFd = -1;
    int m_wakeFd = -1;
    std::atomic<bool> m_cancelled{false};
};

using THiTimerTickSourceFactory = std::function<std::shared_ptr<THiTimerTickSource>()>;

class TWLXHiTimer : public QObject {
public:
    using TTimerEvent = std::function<void(TWLXHiTimer* sender)>;

    // Shortest and longest interval in milliseconds.
    static constexpr uint32_t MinPeriod = 1;
    static constexpr uint32_t MaxPeriod = 1000000;

    explicit TWLXHiTimer(QObject* owner = nullptr);
    ~TWLXHiTimer() override;

    bool Enabled() const { return m_enabled.load(); }
    void SetEnabled(bool value);
    uint32_t Interval() const { return m_interval; }
    // Clamped to MinPeriod .. MaxPeriod.
    void SetInterval(uint32_t value);
    const TTimerEvent& OnTimer() const { return m_onTimer; }
    void SetOnTimer(TTimerEvent handler);
    bool Synchronize() const { return m_synchronize.load(); }
    void SetSynchronize(bool value) { m_synchronize.store(value); }
    bool UseThread() const { return m_useThread; }
    void SetUseThread(bool value);
    TThreadPriority ThreadPriority() const { return m_threadPriority; }
    void SetThreadPriority(TThreadPriority value);

    // Fires OnTimer when one is assigned; both ways of ticking call it.
    virtual void Timer();

    // Replaces how the timer threads wait (tests release ticks one by one); an empty factory
    // restores the monotonic clock. Takes effect at the next restart.
    void SetTickSourceFactory(THiTimerTickSourceFactory factory);

private:
    struct TWorker;

    // Stops a running thread and starts a new one when the timer is due to tick.
    void Restart();
    void StopWorker();
    void StartWorker();
    // A tick posted by the worker with this id reaches the GUI thread.
    void DeliverTick(uint32_t id);
    // The handler with the busy guard; an error it raises is reported, and ticking goes on.
    void Fire();
    void ReportError(const QString& message);
    static void RunDeadlineLoop(TWLXHiTimer* timer, TWorker& worker);
    static void RunThreadedLoop(TWLXHiTimer* timer, TWorker& worker);

    std::atomic<bool> m_enabled{false};
    bool m_busy = false;
    uint32_t m_interval = 1000;
    TTimerEvent m_onTimer;
    std::atomic<bool> m_synchronize{true};
    bool m_useThread = true;
    TThreadPriority m_threadPriority = tpNormal;
    bool m_destroying = false;
    uint32_t m_lastWorkerId = 0;
    std::shared_ptr<TWorker> m_worker;
    THiTimerTickSourceFactory m_tickSourceFactory;
};

// The name the rest of the program uses.
using THiTimer = TWLXHiTimer;
