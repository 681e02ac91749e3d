#pragma once
// The IO-Warrior USB I/O chips of Code Mercenaries through their maker's library: the
// IO-Warrior 24 and 40 with four 8-bit ports (TWarrior), the IO-Warrior 56 with seven
// (TWarrior56). Each port is there twice: as a write port (the levels the circuit drives) and
// as a read port (the levels read back).

#include "hardware/transport/VendorLibraryDevice.h"

class TWarriorDIOPort : public TIOPort {
public:
    TV_CLASS_NAME(TWarriorDIOPort)
    // Pins and name for the port letter ("0".."6"), after the direction is set.
    void SetPortLetter(const QString& letter);
};

class TWarrior : public TVendorLibraryDevice {
public:
    TV_CLASS_NAME(TWarrior)
    static const TDeviceDescription Description;
    TWarrior();

    // "Kein", then "IO-Warrior #n"; made on the first dialog.
    QStringList DeviceList;

    void getKonfigData() override;
    void ApplySettings() override;
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

protected:
    explicit TWarrior(const TDeviceDescription& description);
    // Appends a write and a read port for each letter: the write ports first, then the reads.
    void AddPorts(const QStringList& letters);
    // The pins of the write (read) port k as a byte.
    uint8_t WrittenByte(size_t k) const;
    void SetReadByte(size_t k, uint8_t value);
    // Whether the step may exchange now (started, not inside a wait).
    bool Ready() const;
    // One exchange with the chip; false when the chip is not of the kind (nothing happened).
    virtual bool Exchange();

    size_t m_portCount = 0;     // ports of the chip (write ports = read ports)
    void* m_handle = nullptr;
    uint32_t m_productId = 0;

private:
    uint64_t m_lastOutput = ~uint64_t(0);
    bool m_started = false;
};

class TWarrior56 : public TWarrior {
public:
    TV_CLASS_NAME(TWarrior56)
    static const TDeviceDescription Description;
    TWarrior56();

protected:
    bool Exchange() override;
};
