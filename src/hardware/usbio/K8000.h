#pragma once
// The Velleman K8000 interface board on a printer port through its maker's library: 16 digital
// I/O lines, 4 analog inputs, 8 six-bit analog outputs and one eight-bit output, up to four
// boards on one port told apart by a card number. The board is exchanged with at most every
// 500 ms; the program grants the port range, the library drives it.

#include "hardware/transport/VendorLibraryDevice.h"

#include <array>

class TK8000_Port : public TIOPort {
public:
    TV_CLASS_NAME(TK8000_Port)
    // Card number 0..3 of the board (bits 4-7 of the address).
    int32_t Card() const { return (BaseAddress >> 4) & 0x0F; }
};

class TK8000_DOutPort : public TK8000_Port {
public:
    TV_CLASS_NAME(TK8000_DOutPort)
    TK8000_DOutPort();
    void SimStart() override;
    void MachEsJetzt() override;

private:
    uint32_t m_lastWord = 0x10000; // none written
};

class TK8000_DInPort : public TK8000_Port {
public:
    TV_CLASS_NAME(TK8000_DInPort)
    TK8000_DInPort();
    void MachEsJetzt() override;
};

class TK8000_AInPort : public TK8000_Port {
public:
    TV_CLASS_NAME(TK8000_AInPort)
    TK8000_AInPort();
    void MachEsJetzt() override;
};

class TK8000_AOutPort : public TK8000_Port {
public:
    TV_CLASS_NAME(TK8000_AOutPort)
    TK8000_AOutPort();
    // Forgets the values written, so that the first exchange of a run writes every output.
    void SimStart() override;
    void MachEsJetzt() override;

private:
    std::array<int32_t, 9> m_lastRaw{};
};

class TK8000 : public TVendorLibraryDevice {
public:
    TV_CLASS_NAME(TK8000)
    static const TDeviceDescription Description;
    TK8000();

    // The printer port 0..2 (LPT 1..3) and the card number 0..3.
    int32_t PrinterPort() const { return BaseAddress & 0x0F; }
    int32_t Card() const { return (BaseAddress >> 4) & 0x0F; }

    int32_t DlgCard = 0;

    void getKonfigData() override;
    void ApplySettings() override;
    int32_t GrantPortAccess() override;
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

private:
    bool m_started = false;
    uint32_t m_lastExchange = 0;
};
