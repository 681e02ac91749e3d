#pragma once
// The one clock of the system: performance counter, tick count and local time. Real-time
// components read it through Clock(); tests install a FakeClock and advance it.

#include <QDateTime>
#include <cstdint>

class IClock {
public:
    virtual ~IClock() = default;
    virtual int64_t PerformanceCounter() = 0;           // ticks of PerformanceFrequency()
    virtual int64_t PerformanceFrequency() const { return 1000000000; }
    virtual uint32_t TickCount() = 0;                    // milliseconds, wraps at 2^32
    virtual QDateTime LocalTime() = 0;
};

// Monotonic nanoseconds, milliseconds since start, the system's local time.
class TSystemClock : public IClock {
public:
    int64_t PerformanceCounter() override;
    uint32_t TickCount() override;
    QDateTime LocalTime() override;
};

// Time that moves only when a test says so.
class TFakeClock : public IClock {
public:
    explicit TFakeClock(QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
    int64_t PerformanceCounter() override { return m_ns; }
    uint32_t TickCount() override { return static_cast<uint32_t>(m_ns / 1000000); }
    QDateTime LocalTime() override { return m_start.addMSecs(m_ns / 1000000); }
    void AdvanceNs(int64_t ns) { m_ns += ns; }
    void AdvanceMs(int64_t ms) { m_ns += ms * 1000000; }
    void AdvanceSeconds(double s) { m_ns += static_cast<int64_t>(s * 1e9); }

private:
    QDateTime m_start;
    int64_t m_ns = 0;
};

// The clock in use (the system clock unless a test installed another).
IClock& Clock();
// Installs a clock (not owned); nullptr restores the system clock.
void SetClock(IClock* clock);

// RAII helper for tests: installs a fake clock for the scope.
class TScopedFakeClock {
public:
    TScopedFakeClock() { SetClock(&clock); }
    ~TScopedFakeClock() { SetClock(nullptr); }
    TFakeClock clock;
};
