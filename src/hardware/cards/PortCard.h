#pragma once
// What the cards on the PC bus share: the lowest address a card may sit at, the grant of its
// register range and the address row of its settings dialog.

#include <cstdint>

class TIOInterface;

namespace portcard {

// Addresses below this switch a card off: it is granted no port and touches none.
constexpr uint16_t kFirstAddress = 255;

// Grants base .. base + span; nothing below kFirstAddress.
int32_t GrantRange(uint16_t base, uint16_t span);

// The row "Basisadresse [hex]" bound to the device's AddressText.
void AddBaseAddressRow(TIOInterface& device);

} // namespace portcard
