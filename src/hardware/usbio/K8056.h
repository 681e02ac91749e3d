#pragma once
// The Velleman K8056 relay card on a COM port: eight relays addressed by a card number 1..255,
// set all at once by a five-byte command whenever a relay changes. The card is write-only.

#include "hardware/transport/SerialInterface.h"

class TK8056OutPort : public TSerialPort {
public:
    TV_CLASS_NAME(TK8056OutPort)
    TK8056OutPort();

    uint8_t CardNumber = 1;

    // Forgets the status last sent, so that the first step of a run sets every relay.
    void SimStart() override;
    void MachEsJetzt() override;

private:
    uint16_t m_lastStatus = 0x100; // none sent
};

class TK8056 : public TSerialInterface {
public:
    TV_CLASS_NAME(TK8056)
    static const TDeviceDescription Description;
    TK8056();

    int32_t KartenAdresse() const { return m_kartenAdresse; }
    // Clamped to 1..255; the port takes it.
    void SetKartenAdresse(int32_t value);

    void PreparePort() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void SimStart() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

    int32_t DlgKartenAdresse = 1;

private:
    int32_t m_kartenAdresse = 1;
    TK8056OutPort* m_port = nullptr;
};
