#include "hardware/framework/PortDriver.h"

#include "platform/PortIo.h"

int32_t TNT40::OpenDevice()
{
    IPortIo& io = PortIo();
    if (io.DeviceOpen())
        io.CloseDevice();
    GrantedRanges.clear();
    return io.OpenDevice();
}

void TNT40::CloseDevice()
{
    PortIo().CloseDevice();
}

int32_t TNT40::SetIopmByte(uint16_t index, uint8_t b)
{
    return PortIo().SetIopmByte(index, b);
}

int32_t TNT40::GetIopmByte(uint16_t index, uint8_t& b)
{
    return PortIo().GetIopmByte(index, b);
}

int32_t TNT40::ActivateIopm()
{
    return PortIo().ActivateIopm();
}

int32_t TNT40::SetPortRangeAccess(uint16_t first, uint16_t last, bool allow)
{
    if (last < first)
        return 0;
    if (allow)
        GrantedRanges.emplace_back(first, last);
    int32_t result = 0;
    uint8_t work = 0;
    for (uint32_t p = first; p <= last; ++p) {
        const auto index = uint16_t(p / 8);
        if (p == first || p % 8 == 0) {
            result = GetIopmByte(index, work);
            if (result != 0)
                break;
        }
        if (allow)
            work = uint8_t(work & ~(1u << (p % 8)));
        else
            work = uint8_t(work | (1u << (p % 8)));
        if (p == last || p % 8 == 7) {
            result = SetIopmByte(index, work);
            if (result != 0)
                break;
        }
    }
    return result;
}

bool TNT40::GrantedRangesPermitted() const
{
    const IPortIo& io = PortIo();
    for (const auto& [first, last] : GrantedRanges)
        for (uint32_t p = first; p <= last; ++p)
            if (!io.Permitted(uint16_t(p)))
                return false;
    return true;
}

TNT40& PortDriver()
{
    static TNT40 driver;
    return driver;
}

uint8_t PortReadByte(uint16_t port)
{
    return PortIo().ReadByte(port);
}

void PortWriteByte(uint16_t port, uint8_t value)
{
    PortIo().WriteByte(port, value);
}

uint16_t PortReadWord(uint16_t port)
{
    return PortIo().ReadWord(port);
}

void PortWriteWord(uint16_t port, uint16_t value)
{
    PortIo().WriteWord(port, value);
}
