#pragma once
// Port permission and the four port primitives. The permission map and the port instructions
// are reached through the platform's port I/O layer (platform/PortIo.h).

#include <cstdint>
#include <utility>
#include <vector>

// The controller of port permission (one program-wide instance, PortDriver()). Result codes:
// 0 for success, else the code of the failing call (PortIoErrorText gives its text).
class TNT40 {
public:
    int32_t OpenDevice();
    void CloseDevice();
    int32_t SetIopmByte(uint16_t index, uint8_t b);
    int32_t GetIopmByte(uint16_t index, uint8_t& b);
    int32_t ActivateIopm();
    // Grants (allow) or denies the ports first .. last: a read-modify-write over whole map
    // bytes; nothing for last < first.
    int32_t SetPortRangeAccess(uint16_t first, uint16_t last, bool allow);

    // The ranges granted since the device was opened, and whether the activated map really
    // allows them all (false when the system refused the permission).
    std::vector<std::pair<uint16_t, uint16_t>> GrantedRanges;
    bool GrantedRangesPermitted() const;
};

TNT40& PortDriver();

uint8_t PortReadByte(uint16_t port);
void PortWriteByte(uint16_t port, uint8_t value);
uint16_t PortReadWord(uint16_t port);
void PortWriteWord(uint16_t port, uint16_t value);
