#pragma once
// A PC parallel port driven through its three registers: eight data and three control lines
// are outputs of the circuit, five status lines inputs. Every pin level is the level at the
// connector (the hardware inversions of AUTOFEED, SELECT IN and BUSY are undone).

#include "hardware/framework/IoInterface.h"

class TLPTInterfaceDOutPort : public TDOutPort {
public:
    TV_CLASS_NAME(TLPTInterfaceDOutPort)
    TLPTInterfaceDOutPort();
    void MachEsJetzt() override;
    // Records of older versions carried a strobe pin "STR", which is dropped.
    void readFromStream(TReader& reader) override;
};

class TLPTInterfaceDInPort : public TDInPort {
public:
    TV_CLASS_NAME(TLPTInterfaceDInPort)
    TLPTInterfaceDInPort();
    void MachEsJetzt() override;
};

class TLPTInterface : public TIOInterface {
public:
    TV_CLASS_NAME(TLPTInterface)
    static const TDeviceDescription Description;
    TLPTInterface();

    // Base .. base + 3; nothing while the address switches the port off (below 255).
    int32_t GrantPortAccess() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void MakeInfoLines() override;
};
