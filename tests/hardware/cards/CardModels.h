#pragma once
// Register models of the cards behind the simulated I/O space, with their timing on the
// program's clock. A model counts every access a real card would not have understood
// (Violations), so a test sees a driver that reads too early or writes out of order.

#include "platform/Clock.h"
#include "platform/PortIo.h"

#include <array>
#include <cstdint>

// Nanoseconds on the program's clock (the fake clock counts them).
inline int64_t NowNs()
{
    return Clock().PerformanceCounter();
}
constexpr int64_t Ms(double ms)
{
    return int64_t(ms * 1e6);
}

// An 8255 in mode 0: a mode-set word sets the directions and clears the output latches; a
// bit set/reset word changes one bit of port C.
class TPpi8255Model : public TSimulatedPortDevice {
public:
    explicit TPpi8255Model(uint16_t base) : m_base(base) {}
    std::array<uint8_t, 3> Latch{};    // what the chip drives on A, B, C
    std::array<uint8_t, 3> External{}; // what the outside world drives on A, B, C
    uint8_t Control = 0;               // the last mode-set word; 0 before the first
    int Violations = 0;

    bool Input(int port) const
    {
        switch (port) {
        case 0: return Control & 0x10;
        case 1: return Control & 0x02;
        default: return false;
        }
    }
    uint8_t Read(uint16_t port) override
    {
        const int p = port - m_base;
        if (p == 3 || Control == 0) {
            ++Violations;
            return 0xFF;
        }
        if (p < 2)
            return Input(p) ? External[size_t(p)] : Latch[size_t(p)];
        const uint8_t inputMask = uint8_t(((Control & 0x01) ? 0x0F : 0) | ((Control & 0x08) ? 0xF0 : 0));
        return uint8_t((External[2] & inputMask) | (Latch[2] & ~inputMask));
    }
    void Write(uint16_t port, uint8_t value) override
    {
        const int p = port - m_base;
        if (p == 3 && (value & 0x80)) {
            Control = value;
            Latch = {};
            return;
        }
        if (Control == 0) {
            ++Violations;
            return;
        }
        if (p == 3) {
            const int bit = (value >> 1) & 7;
            if ((bit < 4 && (Control & 0x01)) || (bit >= 4 && (Control & 0x08)))
                ++Violations; // a set/reset command for an input half
            Latch[2] = uint8_t((value & 1) ? Latch[2] | (1u << bit) : Latch[2] & ~(1u << bit));
            return;
        }
        if (p == 2 || Input(p))
            ++Violations; // a whole port C write or a write to an input port
        else
            Latch[size_t(p)] = value;
    }

private:
    uint16_t m_base;
};

// ADA8: a D/A value is taken into the channel of the control register when the latch bit
// falls; an A/D conversion needs the multiplexer settled before its start and its result is
// valid only after the conversion time.
class TAda8Model : public TSimulatedPortDevice {
public:
    explicit TAda8Model(uint16_t base) : m_base(base) {}
    static constexpr int64_t kSettleNs = Ms(0.1);
    static constexpr int64_t kConversionNs = Ms(0.25);
    std::array<uint8_t, 8> Analog{};  // A/D inputs, raw
    std::array<int, 8> DaOut{-1, -1, -1, -1, -1, -1, -1, -1};
    int Violations = 0;

    uint8_t Read(uint16_t port) override
    {
        if (port - m_base != 0 || !m_converting || NowNs() < m_done) {
            ++Violations;
            return 0xFF;
        }
        return Analog[m_converted];
    }
    void Write(uint16_t port, uint8_t value) override
    {
        switch (port - m_base) {
        case 0:
            if (NowNs() < m_muxSince + kSettleNs)
                ++Violations;
            m_converting = true;
            m_converted = (m_control >> 3) & 7;
            m_done = NowNs() + kConversionNs;
            break;
        case 2:
            m_data = value;
            break;
        case 3:
            if ((value & 0x38) != (m_control & 0x38))
                m_muxSince = NowNs();
            if ((m_control & 0x40) && !(value & 0x40))
                DaOut[value & 7] = m_data;
            m_control = value;
            break;
        default:
            ++Violations;
        }
    }

private:
    uint16_t m_base;
    uint8_t m_control = 0;
    uint8_t m_data = 0;
    bool m_converting = false;
    int m_converted = 0;
    int64_t m_done = 0;
    int64_t m_muxSince = -Ms(1000);
};

// ADA16-2: a start command converts one channel in ConversionMs; the status register tells
// finished, overrange and sign; the D/A value is taken when its low byte comes.
class TAda16Model : public TSimulatedPortDevice {
public:
    explicit TAda16Model(uint16_t base) : m_base(base) {}
    struct TInput {
        uint16_t Raw = 0;
        bool Positive = true;
        bool Overrange = false;
    };
    std::array<TInput, 8> Analog{};
    std::array<int, 8> DaOut{-1, -1, -1, -1, -1, -1, -1, -1};
    int64_t ConversionNs = Ms(0.5);
    int LastStart = -1; // the last start command
    int Violations = 0;

    bool Finished() const { return LastStart >= 0 && NowNs() >= m_done; }
    uint8_t Read(uint16_t port) override
    {
        const TInput& in = Analog[size_t(LastStart & 7)];
        switch (port - m_base) {
        case 0:
        case 1:
            if (!Finished())
                ++Violations;
            return port - m_base == 0 ? uint8_t(in.Raw & 0xFF) : uint8_t(in.Raw >> 8);
        case 2:
            return uint8_t((Finished() ? 1 : 0) | (in.Overrange ? 2 : 0) | (in.Positive ? 4 : 0));
        default:
            ++Violations;
            return 0xFF;
        }
    }
    void Write(uint16_t port, uint8_t value) override
    {
        switch (port - m_base) {
        case 0:
            LastStart = value;
            m_done = NowNs() + ConversionNs;
            break;
        case 1:
            DaOut[m_daChannel] = (m_daHigh << 8) | value;
            break;
        case 2:
            m_daChannel = (value >> 4) & 7;
            m_daHigh = value & 0x0F;
            break;
        default:
            ++Violations;
        }
    }

private:
    uint16_t m_base;
    int64_t m_done = 0;
    int m_daChannel = 0;
    int m_daHigh = 0;
};

// PIO32: output latches written as words, inputs read as bytes at the same addresses.
class TPio32Model : public TSimulatedPortDevice {
public:
    explicit TPio32Model(uint16_t base) : m_base(base) {}
    std::array<uint8_t, 4> Out{};
    std::array<uint8_t, 4> In{};
    uint8_t Read(uint16_t port) override { return In[size_t(port - m_base) & 3]; }
    void Write(uint16_t port, uint8_t value) override { Out[size_t(port - m_base) & 3] = value; }

private:
    uint16_t m_base;
};

// The logic-analyser adapter on a parallel port: the data byte goes into the low latch when the
// control register steps from 0 to 6, into the high latch from 5 to 6. The low latch also
// selects the input line that the ACK line shows (clear while the line is high), valid one
// settling time after the strobe.
class TAnalyserModel : public TSimulatedPortDevice {
public:
    explicit TAnalyserModel(uint16_t base) : m_base(base) {}
    static constexpr int64_t kSettleNs = Ms(1.0);
    uint16_t Inputs = 0; // E1 = bit 0 .. E12 = bit 11
    uint8_t Low = 0, High = 0;
    int Violations = 0;

    // The line the low latch selects, -1 for none.
    int SelectedLine() const
    {
        if (Low & 0x80)
            return Low & 7;
        if ((Low & 0x0F) == 0x08)
            return 8 + ((Low >> 4) & 3);
        return -1;
    }
    uint8_t Read(uint16_t port) override
    {
        if (port - m_base != 1) {
            ++Violations;
            return 0xFF;
        }
        const int line = SelectedLine();
        if (line < 0 || NowNs() < m_strobed + kSettleNs)
            ++Violations;
        const bool high = line >= 0 && (Inputs >> line & 1);
        return uint8_t(high ? 0x07 : 0x47);
    }
    void Write(uint16_t port, uint8_t value) override
    {
        switch (port - m_base) {
        case 0:
            m_data = value;
            break;
        case 2:
            if (value == 6 && m_control == 0) {
                Low = m_data;
                m_strobed = NowNs();
            } else if (value == 6 && m_control == 5) {
                High = m_data;
            }
            m_control = value;
            break;
        default:
            ++Violations;
        }
    }

private:
    uint16_t m_base;
    uint8_t m_data = 0;
    uint8_t m_control = 0;
    int64_t m_strobed = 0;
};

// The CSI 7001 card: the data register drives the relays; a rising AUTOFEED bit loads the
// opto inputs into a shift register whose top bit the ACK line shows (clear while high), and a
// rising STROBE bit shifts it by one. The control register reads back as written, with its
// upper bits as the port has them.
class TCsi7001Model : public TSimulatedPortDevice {
public:
    explicit TCsi7001Model(uint16_t base) : m_base(base) {}
    uint8_t Inputs = 0;  // IN1 = bit 0
    uint8_t Relays = 0;
    uint8_t Control = 0xE0;
    int Loads = 0, Clocks = 0;

    uint8_t Read(uint16_t port) override
    {
        if (port - m_base == 1)
            return (m_shift & 0x80) ? 0x07 : 0x47;
        return port - m_base == 2 ? Control : 0xFF;
    }
    void Write(uint16_t port, uint8_t value) override
    {
        if (port - m_base == 0) {
            Relays = value;
            return;
        }
        if (port - m_base != 2)
            return;
        if ((value & 0x02) && !(Control & 0x02)) {
            m_shift = Inputs;
            ++Loads;
        }
        if ((value & 0x01) && !(Control & 0x01)) {
            m_shift = uint8_t(m_shift << 1);
            ++Clocks;
        }
        Control = uint8_t((Control & 0xF0) | (value & 0x0F));
    }

private:
    uint16_t m_base;
    uint8_t m_shift = 0;
};
