#pragma once
// The Voltcraft DIGI 35 CPU power supply on a COM port: output voltage, current limit and
// keyboard lock set by ASCII commands when their pins change; the keyboard is unlocked at the
// end of a run.

#include "hardware/instruments/SerialInstrument.h"

class TVoltcraft_Digi35CPUStatusPort : public TSerialPort {
public:
    TV_CLASS_NAME(TVoltcraft_Digi35CPUStatusPort)
    TVoltcraft_Digi35CPUStatusPort();
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;

private:
    void Command(const std::string& text);

    Extended m_current = 0;
    Extended m_voltage = 0;
    int32_t m_keyboard = 0;
};

class TVoltcraft_Digi35CPU : public TSerialInstrument {
public:
    TV_CLASS_NAME(TVoltcraft_Digi35CPU)
    static const TDeviceDescription Description;
    TVoltcraft_Digi35CPU();
};
