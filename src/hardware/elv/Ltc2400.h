#pragma once
// The ELV 24-bit A/D module: an LTC2400 converter on the handshake lines of a COM port. TXD is
// held in the break state, an RTS pulse starts a read-out, DTR clocks the 32 result bits out,
// and CTS carries them (CTS set: a conversion is still running).

#include "hardware/transport/SerialInterface.h"

class TLTC2400AInPort : public TSerialPort {
public:
    TV_CLASS_NAME(TLTC2400AInPort)
    TLTC2400AInPort();
    void MachEsJetzt() override;
    void SimStart() override;
    // The 32 bits of one read-out, the first in bit 31.
    uint32_t ReadConversion();
};

class TLTC2400 : public TSerialInterface {
public:
    TV_CLASS_NAME(TLTC2400)
    static const TDeviceDescription Description;
    TLTC2400();
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
};
