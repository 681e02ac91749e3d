#pragma once
// An 8255 programmable peripheral interface on the PC bus, driven in mode 0: port A and B
// (eight bits each) and the two halves of port C (four bits each), each an input or an output.
// The control word goes to the chip at every run start; an output half of port C is written
// with the chip's single-bit set/reset command, so that it never disturbs the other half.

#include "hardware/framework/IoInterface.h"

#include <QPointer>

class QComboBox;

// Registers of the chip, from its base address.
namespace ppi8255 {
constexpr uint16_t kPortA = 0;
constexpr uint16_t kPortB = 1;
constexpr uint16_t kPortC = 2;
constexpr uint16_t kControl = 3;

// The mode-0 control word of the four directions (true: input).
uint8_t ControlWord(bool aInput, bool bInput, bool cLowInput, bool cHighInput);
// The bit set/reset command for bit 0..7 of port C.
constexpr uint8_t BitCommand(int bit, bool set) { return uint8_t(bit * 2 + (set ? 1 : 0)); }
} // namespace ppi8255

// A port of the chip, named after its direction: port A or B (eight bits at its own address)
// or a half of port C (four bits, reached through the control register).
class T8255Port : public TIOPort {
public:
    TV_CLASS_NAME(T8255Port)
    // The port's names as output and as input, German, English, French.
    struct TNames {
        const char* Output[3];
        const char* Input[3];
    };
    void SetAsInput();
    void SetAsOutput();
    void MachEsJetzt() override;

protected:
    // firstBit: 0 or 4 for a half of port C, -1 for port A or B.
    T8255Port(const TNames& names, const char* pinPrefix, const char* described, int firstBit,
              int count);

private:
    const TNames& m_names;
    const int m_firstBit;
};

class T8255PortA : public T8255Port {
public:
    TV_CLASS_NAME(T8255PortA)
    T8255PortA();
};

class T8255PortB : public T8255Port {
public:
    TV_CLASS_NAME(T8255PortB)
    T8255PortB();
};

class T8255PortCL : public T8255Port {
public:
    TV_CLASS_NAME(T8255PortCL)
    T8255PortCL();
};

class T8255PortCH : public T8255Port {
public:
    TV_CLASS_NAME(T8255PortCH)
    T8255PortCH();
};

class T8255Interface : public TIOInterface {
public:
    TV_CLASS_NAME(T8255Interface)
    static const TDeviceDescription Description;
    T8255Interface();

    QStringList DirectionList;
    int32_t DirA = 1;
    int32_t DirB = 0;
    int32_t DirCL = 1;
    int32_t DirCH = 0;
    QPointer<QComboBox> DirComboA, DirComboB, DirComboCL, DirComboCH;
    uint8_t ControlWord = 0x8A;

    void PropagateAddress() override;
    int32_t GrantPortAccess() override;
    // The control word, then every pin to 0.
    void ResetPins() override;
    void SimStart() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

private:
    // The ports follow the drop-downs of the open dialog, and the pin editor shows them.
    void FollowDirectionRows();
};
