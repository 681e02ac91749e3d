#include "hardware/meters/FrameTiming.h"

#include "platform/Clock.h"

int64_t TSerialFrameTiming::NowMs()
{
    IClock& clock = Clock();
    return clock.PerformanceCounter() / (clock.PerformanceFrequency() / 1000);
}

void TSerialFrameTiming::Received(std::string_view bytes)
{
    if (bytes.empty())
        return;
    m_receiving = true;
    if (!m_collecting) {
        m_frame.clear();
        m_collecting = true;
        m_frameStart = NowMs();
    }
    const size_t room = MaxFrame - m_frame.size();
    m_frame.append(bytes.substr(0, room));
}

void TSerialFrameTiming::Poll()
{
    const int64_t now = NowMs();
    if (m_collecting && now - m_frameStart >= m_frameMs) {
        m_collecting = false;
        if (OnFrame && OnFrame(m_frame))
            m_frameSeen = true;
        if (OnRequest)
            OnRequest();
    }
    if (m_watching && now >= m_nextWatchdog) {
        // A long stall runs one period, not a burst of them.
        m_nextWatchdog += WatchdogMs;
        if (m_nextWatchdog <= now)
            m_nextWatchdog = now + WatchdogMs;
        Watchdog();
    }
}

void TSerialFrameTiming::Watchdog()
{
    if (m_frameSeen) {
        m_frameSeen = false;
        m_silence = 0;
        return;
    }
    if (OnRequest)
        OnRequest();
    if (m_silence < 2)
        ++m_silence;
    if (m_silence == 2 && OnSilence)
        OnSilence();
    m_receiving = false;
}

void TSerialFrameTiming::Start()
{
    m_collecting = false;
    m_frame.clear();
    m_frameSeen = false;
    m_silence = 0;
    m_receiving = false;
    m_watching = true;
    m_nextWatchdog = NowMs() + WatchdogMs;
}

void TSerialFrameTiming::Stop()
{
    m_watching = false;
    m_collecting = false;
}
