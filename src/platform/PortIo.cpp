#include "platform/PortIo.h"

#include "platform/Context.h"

#include <cerrno>
#include <cstring>

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include <sys/io.h>
#define TAVRINOL_HAS_PORT_IO 1
#else
#define TAVRINOL_HAS_PORT_IO 0
#endif

namespace {

bool BitClear(const std::vector<uint8_t>& map, uint16_t port)
{
    return (map[port >> 3] & (1u << (port & 7))) == 0;
}

// ioperm reaches the ports below this address; above it only iopl opens them.
constexpr int kIopermLimit = 0x400;

TRealPortIo& RealPortIo()
{
    static TRealPortIo io;
    return io;
}

IPortIo* g_io = nullptr;

} // namespace

// --- Real ports ------------------------------------------------------------------------------

TRealPortIo::TRealPortIo() : m_map(kIopmBytes, 0xFF), m_granted(kIopmBytes, 0xFF) {}

int32_t TRealPortIo::OpenDevice()
{
    m_open = true; // the kernel is the driver: nothing to open
    return 0;
}

void TRealPortIo::CloseDevice()
{
    m_open = false;
}

int32_t TRealPortIo::GetIopmByte(uint16_t index, uint8_t& b)
{
    if (!m_open)
        return kPortIoNotOpen;
    if (index >= kIopmBytes)
        return EINVAL;
    b = m_map[index];
    return 0;
}

int32_t TRealPortIo::SetIopmByte(uint16_t index, uint8_t b)
{
    if (!m_open)
        return kPortIoNotOpen;
    if (index >= kIopmBytes)
        return EINVAL;
    m_map[index] = b;
    return 0;
}

int32_t TRealPortIo::ActivateIopm()
{
    if (!m_open)
        return kPortIoNotOpen;
#if TAVRINOL_HAS_PORT_IO
    int32_t result = 0;
    bool needIopl = false;
    for (int port = 0; port < 65536; ++port) {
        const auto p = uint16_t(port);
        if (!BitClear(m_map, p) || BitClear(m_granted, p))
            continue;
        if (port >= kIopermLimit) {
            needIopl = true;
            continue;
        }
        // One call for the run of ports that still need it.
        int last = port;
        while (last + 1 < kIopermLimit && BitClear(m_map, uint16_t(last + 1))
               && !BitClear(m_granted, uint16_t(last + 1)))
            ++last;
        if (ioperm(unsigned(port), unsigned(last - port + 1), 1) == 0) {
            for (int q = port; q <= last; ++q)
                m_granted[size_t(q >> 3)] &= uint8_t(~(1u << (q & 7)));
        } else {
            result = errno;
        }
        port = last;
    }
    if (needIopl) {
        if (iopl(3) == 0) {
            for (int port = kIopermLimit; port < 65536; ++port)
                if (BitClear(m_map, uint16_t(port)))
                    m_granted[size_t(port >> 3)] &= uint8_t(~(1u << (port & 7)));
        } else {
            result = errno;
        }
    }
    return result;
#else
    return ENOSYS;
#endif
}

bool TRealPortIo::Permitted(uint16_t port) const
{
    return BitClear(m_granted, port);
}

uint8_t TRealPortIo::ReadByte(uint16_t port)
{
#if TAVRINOL_HAS_PORT_IO
    if (Permitted(port))
        return inb(port);
#endif
    (void)port;
    return 0xFF;
}

void TRealPortIo::WriteByte(uint16_t port, uint8_t value)
{
#if TAVRINOL_HAS_PORT_IO
    if (Permitted(port))
        outb(value, port);
#endif
    (void)port;
    (void)value;
}

uint16_t TRealPortIo::ReadWord(uint16_t port)
{
#if TAVRINOL_HAS_PORT_IO
    if (Permitted(port) && Permitted(uint16_t(port + 1)))
        return inw(port);
#endif
    (void)port;
    return 0xFFFF;
}

void TRealPortIo::WriteWord(uint16_t port, uint16_t value)
{
#if TAVRINOL_HAS_PORT_IO
    if (Permitted(port) && Permitted(uint16_t(port + 1)))
        outw(value, port);
#endif
    (void)port;
    (void)value;
}

// --- Simulated I/O space -----------------------------------------------------------------------

TSimulatedPortIo::TSimulatedPortIo()
    : m_map(kIopmBytes, 0xFF), m_active(kIopmBytes, 0xFF), m_registers(65536, 0)
{
}

int32_t TSimulatedPortIo::OpenDevice()
{
    m_open = true;
    return 0;
}

void TSimulatedPortIo::CloseDevice()
{
    m_open = false;
}

int32_t TSimulatedPortIo::GetIopmByte(uint16_t index, uint8_t& b)
{
    if (!m_open)
        return kPortIoNotOpen;
    MapReads.push_back(index);
    // Out of the map as on the real ports, so tests see what a machine would refuse.
    if (index >= kIopmBytes)
        return EINVAL;
    b = m_map[index];
    return 0;
}

int32_t TSimulatedPortIo::SetIopmByte(uint16_t index, uint8_t b)
{
    if (!m_open)
        return kPortIoNotOpen;
    MapWrites.push_back(index);
    // Out of the map as on the real ports, so tests see what a machine would refuse.
    if (index >= kIopmBytes)
        return EINVAL;
    m_map[index] = b;
    return 0;
}

int32_t TSimulatedPortIo::ActivateIopm()
{
    if (!m_open)
        return kPortIoNotOpen;
    if (DenyActivation != 0)
        return DenyActivation;
    m_active = m_map;
    return 0;
}

bool TSimulatedPortIo::Permitted(uint16_t port) const
{
    return BitClear(m_active, port);
}

void TSimulatedPortIo::Attach(uint16_t first, uint16_t last, TSimulatedPortDevice* device)
{
    for (int p = first; p <= last; ++p)
        m_devices[uint16_t(p)] = device;
}

uint8_t TSimulatedPortIo::ReadByte(uint16_t port)
{
    if (!Permitted(port)) {
        ++RefusedAccesses;
        return 0xFF;
    }
    const auto it = m_devices.find(port);
    const uint8_t value = it != m_devices.end() ? it->second->Read(port) : m_registers[port];
    Accesses.push_back({false, port, value});
    return value;
}

void TSimulatedPortIo::WriteByte(uint16_t port, uint8_t value)
{
    if (!Permitted(port)) {
        ++RefusedAccesses;
        return;
    }
    Accesses.push_back({true, port, value});
    const auto it = m_devices.find(port);
    if (it != m_devices.end())
        it->second->Write(port, value);
    else
        m_registers[port] = value;
}

uint16_t TSimulatedPortIo::ReadWord(uint16_t port)
{
    const uint8_t low = ReadByte(port);
    const uint8_t high = ReadByte(uint16_t(port + 1));
    return uint16_t(low | (high << 8));
}

void TSimulatedPortIo::WriteWord(uint16_t port, uint16_t value)
{
    WriteByte(port, uint8_t(value & 0xFF));
    WriteByte(uint16_t(port + 1), uint8_t(value >> 8));
}

// --- Selection and messages --------------------------------------------------------------------

IPortIo& PortIo()
{
    return g_io ? *g_io : RealPortIo();
}

void SetPortIo(IPortIo* io)
{
    g_io = io;
}

QString PortIoErrorText(int32_t code)
{
    if (code == 0)
        return {};
    if (code == kPortIoNotOpen)
        return Lang3Q("Der Portzugriff ist nicht geöffnet.", "Port access is not open.",
                      "L'accès aux ports n'est pas ouvert.");
    if (code == EPERM || code == EACCES)
        return Lang3Q("Das Programm darf nicht direkt auf die Ports zugreifen. Dafür sind "
                      "Administratorrechte nötig (Fähigkeit CAP_SYS_RAWIO).",
                      "The program is not allowed to access the ports directly. This needs "
                      "administrator rights (capability CAP_SYS_RAWIO).",
                      "Le programme n'a pas le droit d'accéder directement aux ports. Il faut "
                      "les droits d'administrateur (capacité CAP_SYS_RAWIO).");
    if (code == ENOSYS)
        return Lang3Q("Direkter Portzugriff ist auf diesem Rechner nicht möglich.",
                      "Direct port access is not possible on this computer.",
                      "L'accès direct aux ports n'est pas possible sur cet ordinateur.");
    return QString::fromLocal8Bit(std::strerror(code));
}
