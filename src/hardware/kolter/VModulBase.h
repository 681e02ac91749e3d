#pragma once
// What the VModul devices share: they open their COM port themselves (not through the shared
// serial-port objects) and drive its handshake lines; the COM number (0 = none, 1..19 offered)
// is the base address. The USB versions sit on a virtual COM port at 256000 baud, 7 data bits,
// and are clocked by sending a byte.

#include "hardware/framework/IoInterface.h"
#include "hardware/kolter/HandshakeShift.h"

#include <memory>

// A port that shifts through its device's line (nullptr while the port is closed).
class TModuleLinePort {
public:
    virtual ~TModuleLinePort() = default;
    std::shared_ptr<ISerialLine> Line;
    THandshakeLines Lines() const { return THandshakeLines(Line); }
};

class TVModulBase : public TIOInterface {
public:
    std::shared_ptr<ISerialLine> Line;
    QStringList ComList;

    // The USB version: line settings and line reset at run start.
    virtual bool UsbModule() const { return false; }

    void SimStart() override;
    void SimStop() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

protected:
    void HandLineToPorts();
};
