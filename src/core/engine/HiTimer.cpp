#include "core/engine/HiTimer.h"

#include "platform/MessageBox.h"

#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

namespace {

QThread::Priority ToQtPriority(TThreadPriority p)
{
    switch (p) {
    case tpIdle:
        return QThread::IdlePriority;
    case tpLowest:
        return QThread::LowestPriority;
    case tpLower:
        return QThread::LowPriority;
    case tpNormal:
        return QThread::NormalPriority;
    case tpHigher:
        return QThread::HighPriority;
    case tpHighest:
        return QThread::HighestPriority;
    case tpTimeCritical:
        return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

} // namespace

// --- TMonotonicTickSource ------------------------------------------------------------------

TMonotonicTickSource::TMonotonicTickSource()
{
    m_timerFd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_timerFd < 0 || m_wakeFd < 0) {
        if (m_timerFd >= 0)
            close(m_timerFd);
        if (m_wakeFd >= 0)
            close(m_wakeFd);
        throw EOutOfResources(NotEnoughTimersText());
    }
}

TMonotonicTickSource::~TMonotonicTickSource()
{
    close(m_timerFd);
    close(m_wakeFd);
}

int64_t TMonotonicTickSource::Now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

bool TMonotonicTickSource::WaitUntil(int64_t deadlineNs)
{
    if (m_cancelled.load())
        return false;
    deadlineNs = std::max<int64_t>(deadlineNs, 1); // an all-zero time would disarm the timer
    itimerspec spec{};
    spec.it_value.tv_sec = deadlineNs / 1000000000;
    spec.it_value.tv_nsec = deadlineNs % 1000000000;
    if (timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME, &spec, nullptr) != 0)
        return false;
    for (;;) {
        pollfd fds[2] = {{m_timerFd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        const int r = poll(fds, 2, -1);
        if (m_cancelled.load())
            return false;
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (fds[0].revents & POLLIN) {
            uint64_t expirations = 0;
            if (read(m_timerFd, &expirations, sizeof expirations) < 0 && errno == EAGAIN)
                continue;
            return true;
        }
    }
}

void TMonotonicTickSource::Cancel()
{
    m_cancelled.store(true);
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(m_wakeFd, &one, sizeof one);
}

// --- TWLXHiTimer ---------------------------------------------------------------------------

// One timer thread and what it shares with the GUI thread.
struct TWLXHiTimer::TWorker {
    uint32_t Id = 0;             // stale ticks of an earlier thread carry another id
    int64_t PeriodNs = 0;
    bool UseThread = false;
    std::shared_ptr<THiTimerTickSource> Source;
    std::unique_ptr<QThread> Thread;
    std::atomic<bool> Stop{false};
    std::atomic<bool> Pending{false}; // a posted tick has not been delivered yet
    std::mutex Mutex;                 // guards CallDone
    std::condition_variable Done;     // a synchronised handler call ended, or Stop
    bool CallDone = false;
};

TWLXHiTimer::TWLXHiTimer(QObject* owner) : QObject(owner) {}

TWLXHiTimer::~TWLXHiTimer()
{
    m_destroying = true;
    StopWorker();
    m_onTimer = nullptr;
    m_enabled.store(false);
}

void TWLXHiTimer::SetEnabled(bool value)
{
    if (value == m_enabled.load())
        return;
    m_enabled.store(value);
    Restart();
}

void TWLXHiTimer::SetInterval(uint32_t value)
{
    if (value == m_interval)
        return;
    m_interval = std::clamp(value, MinPeriod, MaxPeriod);
    Restart();
}

void TWLXHiTimer::SetOnTimer(TTimerEvent handler)
{
    StopWorker(); // a thread running the handler itself must not see it change
    m_onTimer = std::move(handler);
    Restart();
}

void TWLXHiTimer::SetUseThread(bool value)
{
    if (value == m_useThread)
        return;
    m_useThread = value;
    Restart();
}

void TWLXHiTimer::SetThreadPriority(TThreadPriority value)
{
    if (value == m_threadPriority)
        return;
    m_threadPriority = value;
    if (m_useThread)
        Restart();
}

void TWLXHiTimer::SetTickSourceFactory(THiTimerTickSourceFactory factory)
{
    m_tickSourceFactory = std::move(factory);
}

void TWLXHiTimer::Timer()
{
    if (m_onTimer)
        m_onTimer(this);
}

void TWLXHiTimer::Restart()
{
    StopWorker();
    if (m_destroying)
        return;
    if (m_enabled.load() && m_onTimer && m_interval > 0)
        StartWorker();
}

void TWLXHiTimer::StopWorker()
{
    if (!m_worker)
        return;
    const std::shared_ptr<TWorker> w = std::move(m_worker);
    w->Stop.store(true);
    w->Source->Cancel();
    {
        std::lock_guard<std::mutex> lock(w->Mutex);
        w->Done.notify_all();
    }
    w->Thread->wait();
    w->Thread.reset();
}

void TWLXHiTimer::StartWorker()
{
    std::shared_ptr<THiTimerTickSource> source =
        m_tickSourceFactory ? m_tickSourceFactory() : std::make_shared<TMonotonicTickSource>();
    if (!source)
        throw EOutOfResources(NotEnoughTimersText());

    auto w = std::make_shared<TWorker>();
    if (++m_lastWorkerId == 0)
        ++m_lastWorkerId;
    w->Id = m_lastWorkerId;
    w->PeriodNs = int64_t(m_interval) * 1000000;
    w->UseThread = m_useThread;
    w->Source = std::move(source);
    TWorker* raw = w.get(); // outlives the thread: StopWorker joins before letting go
    if (m_useThread) {
        w->Thread.reset(QThread::create([this, raw] { RunThreadedLoop(this, *raw); }));
        w->Thread->start(ToQtPriority(m_threadPriority));
    } else {
        // Stands for the platform's multimedia timer thread.
        w->Thread.reset(QThread::create([this, raw] { RunDeadlineLoop(this, *raw); }));
        w->Thread->start(QThread::TimeCriticalPriority);
    }
    m_worker = std::move(w);
}

void TWLXHiTimer::RunDeadlineLoop(TWLXHiTimer* timer, TWorker& w)
{
    prctl(PR_SET_TIMERSLACK, 1000UL); // wake within a microsecond of the deadline
    THiTimerTickSource& source = *w.Source;
    const int64_t period = w.PeriodNs;
    int64_t next = source.Now() + period;
    while (!w.Stop.load()) {
        if (!source.WaitUntil(next) || w.Stop.load())
            break;
        if (!w.Pending.exchange(true)) {
            const uint32_t id = w.Id;
            QMetaObject::invokeMethod(
                timer, [timer, id] { timer->DeliverTick(id); }, Qt::QueuedConnection);
        }
        // Next deadline on the grid; deadlines that passed while this thread was held up are
        // skipped rather than fired in a burst.
        next += period;
        const int64_t now = source.Now();
        if (next <= now)
            next += ((now - next) / period + 1) * period;
    }
}

void TWLXHiTimer::RunThreadedLoop(TWLXHiTimer* timer, TWorker& w)
{
    THiTimerTickSource& source = *w.Source;
    while (!w.Stop.load()) {
        if (!source.WaitUntil(source.Now() + w.PeriodNs) || w.Stop.load())
            break;
        if (!timer->Enabled())
            continue;
        if (timer->Synchronize()) {
            {
                std::lock_guard<std::mutex> lock(w.Mutex);
                w.CallDone = false;
            }
            const uint32_t id = w.Id;
            QMetaObject::invokeMethod(
                timer, [timer, id] { timer->DeliverTick(id); }, Qt::QueuedConnection);
            std::unique_lock<std::mutex> lock(w.Mutex);
            w.Done.wait(lock, [&w] { return w.CallDone || w.Stop.load(); });
        } else {
            QString error;
            try {
                timer->Timer();
                continue;
            } catch (const std::exception& e) {
                error = QString::fromUtf8(e.what());
            } catch (...) {
            }
            QMetaObject::invokeMethod(
                timer, [timer, error] { timer->ReportError(error); }, Qt::QueuedConnection);
        }
    }
}

void TWLXHiTimer::DeliverTick(uint32_t id)
{
    if (!m_worker || m_worker->Id != id)
        return; // from a thread that has been replaced
    const std::shared_ptr<TWorker> w = m_worker; // the handler may restart the timer
    w->Pending.store(false);
    Fire();
    if (w->UseThread) {
        std::lock_guard<std::mutex> lock(w->Mutex);
        w->CallDone = true;
        w->Done.notify_all();
    }
}

void TWLXHiTimer::Fire()
{
    if (m_busy)
        return; // the handler of an earlier tick still runs: this tick is dropped
    m_busy = true;
    try {
        Timer();
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
    } catch (...) {
        ReportError(QString());
    }
    m_busy = false;
}

void TWLXHiTimer::ReportError(const QString& message)
{
    MessageDlg(message, mtError, mbOK);
}
