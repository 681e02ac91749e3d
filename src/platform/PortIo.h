#pragma once
// Direct access to the processor's I/O ports, and the permission map that allows it.
//
// A process may touch a port only where its permission map allows it: one bit per port, a clear
// bit allows, a set bit denies. The program edits the map a byte at a time (GetIopmByte,
// SetIopmByte) and then makes it active (ActivateIopm). The real backend keeps the map itself
// and activates it through ioperm/iopl; a port it could not open is never touched (reads give
// 0xFF, writes are dropped), so a missing permission can never crash the program. Tests install
// the simulated I/O space instead, with device models behind port addresses.
//
// Result codes: 0 for success, an errno value of the failing call, kPortIoNotOpen when the
// device is not open.

#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

inline constexpr int32_t kPortIoNotOpen = 9997;
inline constexpr int kIopmBytes = 8192; // 65536 ports, eight per byte

class IPortIo {
public:
    virtual ~IPortIo() = default;

    virtual int32_t OpenDevice() = 0;
    virtual void CloseDevice() = 0;
    virtual bool DeviceOpen() const = 0;
    // Map byte index (ports index*8 .. index*8+7), bit k for port index*8+k.
    virtual int32_t GetIopmByte(uint16_t index, uint8_t& b) = 0;
    virtual int32_t SetIopmByte(uint16_t index, uint8_t b) = 0;
    // Makes the map active for this process.
    virtual int32_t ActivateIopm() = 0;

    virtual uint8_t ReadByte(uint16_t port) = 0;
    virtual void WriteByte(uint16_t port, uint8_t value) = 0;
    virtual uint16_t ReadWord(uint16_t port) = 0;
    virtual void WriteWord(uint16_t port, uint16_t value) = 0;

    // Whether the last activation allowed every port whose map bit is clear.
    virtual bool Permitted(uint16_t port) const = 0;
};

// The real ports of this machine (x86 Linux; elsewhere every activation fails).
class TRealPortIo : public IPortIo {
public:
    TRealPortIo();
    int32_t OpenDevice() override;
    void CloseDevice() override;
    bool DeviceOpen() const override { return m_open; }
    int32_t GetIopmByte(uint16_t index, uint8_t& b) override;
    int32_t SetIopmByte(uint16_t index, uint8_t b) override;
    int32_t ActivateIopm() override;
    uint8_t ReadByte(uint16_t port) override;
    void WriteByte(uint16_t port, uint8_t value) override;
    uint16_t ReadWord(uint16_t port) override;
    void WriteWord(uint16_t port, uint16_t value) override;
    bool Permitted(uint16_t port) const override;

private:
    bool m_open = false;
    std::vector<uint8_t> m_map;     // as the program set it
    std::vector<uint8_t> m_granted; // what the system allowed, same layout (clear = allowed)
};

// A register model behind one or more port addresses of the simulated I/O space.
class TSimulatedPortDevice {
public:
    virtual ~TSimulatedPortDevice() = default;
    virtual uint8_t Read(uint16_t port) = 0;
    virtual void Write(uint16_t port, uint8_t value) = 0;
};

// I/O space for tests: plain registers, device models where attached, every access and every
// map call recorded. Accesses to ports the activated map does not allow are refused as on a real
// machine (reads give 0xFF) and counted.
class TSimulatedPortIo : public IPortIo {
public:
    TSimulatedPortIo();
    int32_t OpenDevice() override;
    void CloseDevice() override;
    bool DeviceOpen() const override { return m_open; }
    int32_t GetIopmByte(uint16_t index, uint8_t& b) override;
    int32_t SetIopmByte(uint16_t index, uint8_t b) override;
    int32_t ActivateIopm() override;
    uint8_t ReadByte(uint16_t port) override;
    void WriteByte(uint16_t port, uint8_t value) override;
    uint16_t ReadWord(uint16_t port) override;
    void WriteWord(uint16_t port, uint16_t value) override;
    bool Permitted(uint16_t port) const override;

    // Attaches a model (not owned) to ports first .. last.
    void Attach(uint16_t first, uint16_t last, TSimulatedPortDevice* device);
    // The plain register at port (what the last write left, or what a test put there).
    uint8_t& Register(uint16_t port) { return m_registers[port]; }
    // When set, activation fails with this code (a user without port permission).
    int32_t DenyActivation = 0;

    struct TAccess {
        bool Write;
        uint16_t Port;
        uint8_t Value;
    };
    std::vector<TAccess> Accesses;  // permitted accesses in order
    int RefusedAccesses = 0;
    std::vector<uint16_t> MapReads;  // map byte indexes, in call order
    std::vector<uint16_t> MapWrites;

private:
    bool m_open = false;
    std::vector<uint8_t> m_map;
    std::vector<uint8_t> m_active;
    std::vector<uint8_t> m_registers;
    std::map<uint16_t, TSimulatedPortDevice*> m_devices;
};

// The backend in use (the real ports unless a test installed another).
IPortIo& PortIo();
// Installs a backend (not owned); nullptr restores the real ports.
void SetPortIo(IPortIo* io);

// The text of a result code in the current language (for the user).
QString PortIoErrorText(int32_t code);
