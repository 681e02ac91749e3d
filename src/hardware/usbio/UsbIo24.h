#pragma once
// The Ravar/Elexol USB I/O 24 II on a COM port: 24 digital lines in the ports A, B and C, each
// port an input or an output as the user chooses. Outputs are written when they change; one
// input port is polled at a time, its request answered by one byte.

#include "hardware/transport/SerialInterface.h"

#include <array>

class TRavar_USB_IO24_Port : public TSerialPort {
public:
    TV_CLASS_NAME(TRavar_USB_IO24_Port)
    TRavar_USB_IO24_Port();

    // Names the port and its pins after letter ("A", "B", "C").
    void SetLetter(char letter);
    char Letter() const { return m_letter; }

    // Sends the direction frame on the shared port.
    void SimStart() override;
    // Forgets the last value sent and an outstanding request; the pins keep their values.
    void ResetPins() override;
    // Writes the output value when it changed since the last write.
    void WriteOutput();
    // Polls an input port: sends its request, or takes the answer. False while it waits for the
    // answer (the poll stays at this port).
    bool Poll();

private:
    char m_letter = 'A';
    uint16_t m_lastSent = 0xFFFF; // nothing sent yet
    bool m_requested = false;
    uint32_t m_requestedAt = 0;   // tick count of the request
};

class TRavar_USB_IO24 : public TSerialInterface {
public:
    TV_CLASS_NAME(TRavar_USB_IO24)
    static const TDeviceDescription Description;
    TRavar_USB_IO24();

    void PreparePort() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void SimStart() override;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

    // The dialog's direction of each port: 0 input, 1 output.
    std::array<int32_t, 3> DlgDirections{};

private:
    TRavar_USB_IO24_Port& Port(size_t i) const;
    uint8_t m_pollIndex = 0;
};
