#pragma once
// Frame timing of a meter on a serial line, on the program's clock: the first bytes of a frame
// open a 200-ms window, everything that arrives in it is one frame, decoded once when the
// window ends, after which the meter's request goes out again. A 2-second watchdog asks a
// silent meter again, clears "receiving" at the first silent period and zeroes the values
// from the second one on. Runs entirely in the thread that calls it (the GUI thread).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TSerialFrameTiming {
public:
    // Decodes one frame; true when it was a frame of the meter.
    std::function<bool(const std::string&)> OnFrame;
    std::function<void()> OnRequest;
    std::function<void()> OnSilence; // every channel value to 0

    static constexpr int64_t WatchdogMs = 2000;
    static constexpr size_t MaxFrame = 256; // bytes kept of one window

    explicit TSerialFrameTiming(int64_t frameMs = 200) : m_frameMs(frameMs) {}

    // Bytes from the line, zero bytes included.
    void Received(std::string_view bytes);
    // Ends a due frame window and runs a due watchdog period.
    void Poll();
    // The watchdog runs from Start to Stop; Start also forgets a half-collected frame.
    void Start();
    void Stop();

    bool Receiving() const { return m_receiving; }
    bool Collecting() const { return m_collecting; }
    int SilenceCount() const { return m_silence; }
    int64_t FrameMs() const { return m_frameMs; }

private:
    static int64_t NowMs();
    void Watchdog();

    int64_t m_frameMs;
    std::string m_frame;
    bool m_collecting = false;
    int64_t m_frameStart = 0;
    bool m_watching = false;
    int64_t m_nextWatchdog = 0;
    bool m_frameSeen = false;
    bool m_receiving = false;
    int m_silence = 0;
};
