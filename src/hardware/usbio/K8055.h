#pragma once
// The Velleman K8055 USB experiment board through its maker's library: five digital inputs,
// eight digital outputs, two analog inputs and outputs, two pulse counters with their reset
// inputs. Each port exchanges with the board in every step (outputs only when they changed)
// and then pauses 10 ms while the circuit keeps stepping.

#include "hardware/transport/VendorLibraryDevice.h"

#include <array>

class TK8055_Port : public TIOPort {
public:
    TV_CLASS_NAME(TK8055_Port)

protected:
    // The board's pause after an exchange.
    void Pause() { Wait(10.0); }
};

class TK8055_AInPort : public TK8055_Port {
public:
    TV_CLASS_NAME(TK8055_AInPort)
    TK8055_AInPort();
    void MachEsJetzt() override;
};

class TK8055_DInPort : public TK8055_Port {
public:
    TV_CLASS_NAME(TK8055_DInPort)
    TK8055_DInPort();
    void MachEsJetzt() override;
};

class TK8055_AOutPort : public TK8055_Port {
public:
    TV_CLASS_NAME(TK8055_AOutPort)
    TK8055_AOutPort();
    void SimStart() override;
    void MachEsJetzt() override;

private:
    std::array<uint16_t, 2> m_lastRaw{0xFFFF, 0xFFFF};
};

class TK8055_DOutPort : public TK8055_Port {
public:
    TV_CLASS_NAME(TK8055_DOutPort)
    TK8055_DOutPort();
    void SimStart() override;
    void MachEsJetzt() override;

private:
    uint16_t m_lastWord = 0xFFFF;
};

class TK8055_CInPort : public TK8055_Port {
public:
    TV_CLASS_NAME(TK8055_CInPort)
    TK8055_CInPort();
    void MachEsJetzt() override;
};

class TK8055_CCPort : public TK8055_Port {
public:
    TV_CLASS_NAME(TK8055_CCPort)
    TK8055_CCPort();
    void SimStart() override;
    // A counter is reset when its "/RC" pin goes low (and at the first step it is low).
    void MachEsJetzt() override;

private:
    std::array<bool, 2> m_wasLow{};
};

class TK8055 : public TVendorLibraryDevice {
public:
    TV_CLASS_NAME(TK8055)
    static const TDeviceDescription Description;
    TK8055();

    void getKonfigData() override;
    void ApplySettings() override;
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

private:
    bool m_opened = false;
};
