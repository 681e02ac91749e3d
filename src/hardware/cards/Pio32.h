#pragma once
// The ELV PIO32 card on the PC bus: 32 digital outputs and 32 digital inputs on three
// connectors, reached by port I/O at a base address.

#include "hardware/framework/IoInterface.h"

class TPIO32DOutPort : public TDOutPort {
public:
    TV_CLASS_NAME(TPIO32DOutPort)
    TPIO32DOutPort();
    // Two words: pins 0..15 to base, pins 16..31 to base + 2.
    void MachEsJetzt() override;
};

class TPIO32DInPort : public TDInPort {
public:
    TV_CLASS_NAME(TPIO32DInPort)
    TPIO32DInPort();
    // Four bytes from base .. base + 3, eight pins each.
    void MachEsJetzt() override;
};

class TPIO32 : public TIOInterface {
public:
    TV_CLASS_NAME(TPIO32)
    static const TDeviceDescription Description;
    TPIO32();

    int32_t GrantPortAccess() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void MakeInfoLines() override;
};
