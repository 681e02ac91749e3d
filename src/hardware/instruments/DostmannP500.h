#pragma once
// The Dostmann P500 thermometer on a COM port: asked with "A" once a second, it answers the
// temperature as a text line.

#include "hardware/instruments/SerialInstrument.h"

// Request period of the thermometer, in milliseconds.
inline constexpr uint32_t kP500RequestMs = 1000;

class TP500InPort : public TSerialPort {
public:
    TV_CLASS_NAME(TP500InPort)
    TP500InPort();
    void SimStart() override;
    void MachEsJetzt() override;

private:
    TLineSplitter m_lines{'\n', 50, 200};
    uint32_t m_lastRequest = 0;
    bool m_requested = false;
};

class TP500 : public TSerialInstrument {
public:
    TV_CLASS_NAME(TP500)
    static const TDeviceDescription Description;
    TP500();
};
