#pragma once
// Relay cards with eight relays each: a chain of up to 60 cascaded serial cards on one COM port
// (the Conrad card), addressed by their place in the chain, and a card on a parallel port.

#include "hardware/cards/StepDeadline.h"
#include "hardware/transport/SerialInterface.h"

#include <QPointer>

class QSpinBox;

// One card of the serial chain: relay k is bit k - 1 of the pattern it sends.
class TSerRelaisOutPort : public TSerialPort {
public:
    TV_CLASS_NAME(TSerRelaisOutPort)
    TSerRelaisOutPort();
    uint8_t CardAddress = 1;
    // The pattern last sent; -1 for none, so that every run sends each card's pattern once.
    int32_t LastByte = -1;
    // Card n (1..60): pins nK1 .. nK8.
    void SetCardAddress(uint8_t n);
    void SimStart() override;
};

class TSerRelais : public TSerialInterface {
public:
    TV_CLASS_NAME(TSerRelais)
    static const TDeviceDescription Description;
    TSerRelais();

    static constexpr int32_t kMaxCards = 60;
    // The cards take this long for one frame; the next frame waits for it.
    static constexpr double kFrameMs = 10.0;

    int32_t KartenAnz = 1;
    QPointer<QSpinBox> CardCountSpin;

    // 1 .. 60 cards (values outside are taken to the nearest), each a port of its own.
    void SetKartenAnz(int32_t value);
    // 19200 baud, 8 data bits, no parity, 1 stop bit, no powered modem lines.
    void PreparePort() override;
    // Opens the port and sends the chain's initialisation frame.
    void SimStart() override;
    // At most one frame per frame time, for the first card whose pattern changed; the cards'
    // replies are read and dropped.
    void MachEsJetzt() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

private:
    TStepDeadline m_nextFrame;
};

// The relays of the parallel-port card on the data lines D0..D7.
class TRelaiskarteOutPort : public TDOutPort {
public:
    TV_CLASS_NAME(TRelaiskarteOutPort)
    TRelaiskarteOutPort();
    // The byte last written; -1 for none.
    int32_t LastWritten = -1;
    // Writes the pattern when it changed and the port may be written.
    void MachEsJetzt() override;
    void ResetPins() override;
    void SimStart() override;
};

// The card's BaseAddress is the LPT number: 0 none, 1 .. 3.
class TRelaiskarte : public TIOInterface {
public:
    TV_CLASS_NAME(TRelaiskarte)
    static const TDeviceDescription Description;
    TRelaiskarte();

    QStringList LptList;

    // The data register of LPT 1 .. 3; 0 for none.
    static uint16_t DataRegister(int32_t lpt);

    int32_t GrantPortAccess() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void MakeInfoLines() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;
};
