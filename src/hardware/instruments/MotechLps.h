#pragma once
// The MOTECH LPS-300 series laboratory power supply on a COM port: a control port that turns
// changed pins into set commands, and a status port that polls the two output voltages and the
// status word. The device steps its two ports alternately.

#include "hardware/instruments/SerialInstrument.h"

class TMotech_LPS305ControlPort : public TSerialPort {
public:
    TV_CLASS_NAME(TMotech_LPS305ControlPort)
    TMotech_LPS305ControlPort();
    void SimStart() override;
    void MachEsJetzt() override;

private:
    void Command(const std::string& text, double waitMs);
    // Sends prefix + the value when it differs from last.
    void SetValueCommand(int32_t pin, Extended& last, const char* prefix);
    // Sends on or off when the pin's level differs from last.
    void SwitchCommand(int32_t pin, int32_t& last, const char* on, const char* off);

    Extended m_v1 = 0, m_v2 = 0, m_i1 = 0, m_i2 = 0;
    int32_t m_outputs = 0, m_tracking = 0, m_digital = 0, m_beeper = 0, m_compensation = 0;
};

class TMotech_LPS305StatusPort : public TSerialPort {
public:
    TV_CLASS_NAME(TMotech_LPS305StatusPort)
    TMotech_LPS305StatusPort();
    void SimStart() override;
    void MachEsJetzt() override;

private:
    void Handle(const std::string& line);

    bool m_awaiting = false;
    int32_t m_state = 0; // 0 VOUT1, 1 VOUT2, 2 STATUS
    TLineSplitter m_lines{'\r'};
};

class TMotech_LPS305 : public TSerialInstrument {
public:
    TV_CLASS_NAME(TMotech_LPS305)
    static const TDeviceDescription Description;
    TMotech_LPS305();
    void MachEsJetzt() override;

private:
    size_t m_next = 0;
};
