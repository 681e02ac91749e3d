#pragma once
// Lets pending events run during a long preparation so that the progress window repaints. The
// walks call it once per item or segment; it passes them on at most every 40 ms. User input
// stays queued until the preparation is over, so no command can reach the half-built run.

#include <cstdint>

class TEventPump {
public:
    static constexpr uint32_t kIntervalMs = 40;
    // Processes pending events when the interval has passed since the last time (the first
    // call only starts counting).
    void Pump();

private:
    bool m_started = false;
    uint32_t m_last = 0;
};
