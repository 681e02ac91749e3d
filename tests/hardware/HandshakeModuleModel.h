#pragma once
// A converter or shift-register module on the handshake lines of a COM port, for the tests of
// the devices that clock their hardware bit by bit: every serial line the program opens while
// a TScopedHandshakeModule lives is this module. It records the line calls, the bits clocked
// in while RTS is high (one frame per RTS pulse), the length of every break pulse on the
// program's clock and the line settings; it presents a word on CTS bit by bit after a load.
//
// The Kolter modules: DTR set while RTS is low loads the word, each clock (the end of a
// break pulse or a 0x00 byte sent) moves to the next bit, least significant first. The LTC2400:
// an RTS pulse loads, each falling DTR edge moves on, most significant first.

#include "platform/Clock.h"
#include "platform/SerialLine.h"

#include <deque>
#include <string>
#include <vector>

struct THandshakeModule {
    // --- How the module behaves ---
    bool LoadOnRtsRise = false;
    bool ClockOnDtrFall = false;
    bool MsbFirst = false;
    int Width = 16;
    bool InvertCts = false;
    bool CtsBusy = false;      // CTS held set (a conversion running)
    uint32_t Word = 0;         // presented on CTS
    std::deque<uint32_t> Next; // each load takes the next word, when there is one

    // --- What happened ---
    std::vector<std::string> Calls;
    std::vector<std::vector<int>> Frames; // bits clocked in while RTS was high
    std::vector<int64_t> BreakNs;
    int ZeroBytes = 0;
    int Loads = 0;
    std::vector<TSerialFrame> Applied;
    std::vector<QString> Opened;

    // Frame k as a number, least significant bit first.
    uint32_t FrameValue(size_t k) const
    {
        uint32_t value = 0;
        for (size_t i = 0; i < Frames.at(k).size(); ++i)
            value |= uint32_t(Frames[k][i]) << i;
        return value;
    }

    // --- The line's side ---
    void Rts(bool on)
    {
        Calls.push_back(on ? "SETRTS" : "CLRRTS");
        if (on && !m_rts) {
            m_current.clear();
            if (LoadOnRtsRise)
                Load();
        }
        if (!on && m_rts && !m_current.empty())
            Frames.push_back(m_current);
        m_rts = on;
    }
    void Dtr(bool on)
    {
        Calls.push_back(on ? "SETDTR" : "CLRDTR");
        if (on && !m_rts && !LoadOnRtsRise)
            Load();
        if (!on && m_dtr && ClockOnDtrFall)
            ++m_index;
        m_dtr = on;
    }
    void Break(bool on)
    {
        Calls.push_back(on ? "SETBREAK" : "CLRBREAK");
        if (on && !m_break)
            m_breakStart = Clock().PerformanceCounter();
        if (!on && m_break) {
            BreakNs.push_back(Clock().PerformanceCounter() - m_breakStart);
            Tick();
        }
        m_break = on;
    }
    void ZeroByte()
    {
        ++ZeroBytes;
        Tick();
    }
    bool Cts() const
    {
        if (CtsBusy)
            return true;
        const int bit = MsbFirst ? Width - 1 - m_index : m_index;
        const bool level = m_index < Width && (Word >> bit & 1u);
        return level != InvertCts;
    }

private:
    void Load()
    {
        ++Loads;
        m_index = 0;
        if (!Next.empty()) {
            Word = Next.front();
            Next.pop_front();
        }
    }
    void Tick()
    {
        if (m_rts)
            m_current.push_back(m_dtr ? 1 : 0);
        else if (!ClockOnDtrFall)
            ++m_index;
    }
    bool m_rts = false, m_dtr = false, m_break = false;
    int m_index = 0;
    int64_t m_breakStart = 0;
    std::vector<int> m_current;
};

class THandshakeModuleLine : public ISerialLine {
public:
    explicit THandshakeModuleLine(THandshakeModule& module) : m_module(module) {}
    int32_t Open(const QString& node) override
    {
        m_module.Opened.push_back(node);
        m_open = true;
        return 0;
    }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    int Descriptor() const override { return -1; }
    int32_t ApplyFrame(const TSerialFrame& frame) override
    {
        m_module.Applied.push_back(frame);
        return 0;
    }
    int64_t Write(const uint8_t* data, int64_t count, int32_t) override
    {
        for (int64_t i = 0; i < count; ++i)
            if (data[i] == 0)
                m_module.ZeroByte();
        return count;
    }
    int64_t Read(uint8_t*, int64_t) override { return 0; }
    int32_t InQueue() override { return 0; }
    int32_t OutQueue() override { return 0; }
    void Purge(bool, bool) override {}
    int32_t SetModemLine(TModemLine line, bool on) override
    {
        if (line == TModemLine::Dtr)
            m_module.Dtr(on);
        else
            m_module.Rts(on);
        return 0;
    }
    int32_t SetBreak(bool on) override
    {
        m_module.Break(on);
        return 0;
    }
    int32_t GetModemStatus(uint32_t& status) override
    {
        status = m_module.Cts() ? uint32_t(kModemCts) : 0u;
        return 0;
    }

private:
    THandshakeModule& m_module;
    bool m_open = false;
};

// Every serial line opened in the scope is the module.
class TScopedHandshakeModule {
public:
    TScopedHandshakeModule()
    {
        SetSerialLineMaker([this] { return std::make_unique<THandshakeModuleLine>(Module); });
    }
    ~TScopedHandshakeModule() { SetSerialLineMaker(nullptr); }
    THandshakeModule Module;
};
