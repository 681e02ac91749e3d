#include "platform/Clock.h"

#include <atomic>
#include <chrono>

namespace {
TSystemClock g_systemClock;
std::atomic<IClock*> g_clock{nullptr};

int64_t SteadyNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

int64_t TSystemClock::PerformanceCounter()
{
    return SteadyNs();
}

uint32_t TSystemClock::TickCount()
{
    // The monotonic clock counts from system start, as the tick count does; it wraps at 2^32 ms.
    return static_cast<uint32_t>(static_cast<uint64_t>(SteadyNs() / 1000000));
}

QDateTime TSystemClock::LocalTime()
{
    return QDateTime::currentDateTime();
}

TFakeClock::TFakeClock(QDateTime start)
    : m_start(std::move(start))
{
}

IClock& Clock()
{
    IClock* installed = g_clock.load();
    return installed ? *installed : g_systemClock;
}

void SetClock(IClock* clock)
{
    g_clock.store(clock);
}
