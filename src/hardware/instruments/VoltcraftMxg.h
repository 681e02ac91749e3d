#pragma once
// The Voltcraft MXG-9810A frequency counter on a COM port: asked with "D", it sends its display
// as a fixed-width line (frequency, unit, channel, gate time, mode, hold, attenuator).

#include "hardware/instruments/SerialInstrument.h"

// Reads of the answer at most this often, and a silent counter asked again after this long.
inline constexpr uint32_t kMxgReadMs = 200;
inline constexpr uint32_t kMxgSilenceMs = 1000;

class TVoltcraft_MXG9810AStatusPort : public TSerialPort {
public:
    TV_CLASS_NAME(TVoltcraft_MXG9810AStatusPort)
    TVoltcraft_MXG9810AStatusPort();
    void SimStart() override;
    void MachEsJetzt() override;

private:
    void Handle(const std::string& line);

    bool m_awaiting = false;
    uint32_t m_lastRead = 0;
    uint32_t m_requested = 0;
    TLineSplitter m_lines{'\r'};
};

class TVoltcraft_MXG9810A : public TSerialInstrument {
public:
    TV_CLASS_NAME(TVoltcraft_MXG9810A)
    static const TDeviceDescription Description;
    TVoltcraft_MXG9810A();
};
