// A stand-in for Quancom's QLIB32 library: a card opens unless "openFails" is set, its handle
// is 0x100 + 4 x card type + card number; the opto inputs read "di". Every call is logged.

#include "FakeLibrarySupport.h"

FAKE_LIBRARY_TEST_SIDE

namespace {

void Write(const char* name, uint32_t handle, uint32_t channel, uint32_t value, uint32_t mode)
{
    fake::Log(name, handle, channel, value, mode);
}

uint32_t Read(const char* name, uint32_t handle, uint32_t channel, uint32_t mode)
{
    fake::Log(name, handle, channel, mode);
    return uint32_t(fake::Setting("di"));
}

} // namespace

extern "C" {

void FakeLibrary_Reset()
{
    ResetShared();
}

uint32_t QAPIExtOpenCard(uint32_t cardType, uint32_t cardNumber)
{
    fake::Log("QAPIExtOpenCard", cardType, cardNumber);
    return fake::Setting("openFails") ? 0 : 0x100 + 4 * cardType + cardNumber;
}

void QAPIExtCloseCard(uint32_t handle)
{
    fake::Log("QAPIExtCloseCard", handle);
}

void QAPIExtWriteDO1(uint32_t h, uint32_t c, uint32_t v, uint32_t m) { Write("QAPIExtWriteDO1", h, c, v, m); }
void QAPIExtWriteDO8(uint32_t h, uint32_t c, uint32_t v, uint32_t m) { Write("QAPIExtWriteDO8", h, c, v, m); }
void QAPIExtWriteDO16(uint32_t h, uint32_t c, uint32_t v, uint32_t m) { Write("QAPIExtWriteDO16", h, c, v, m); }
void QAPIExtWriteDO32(uint32_t h, uint32_t c, uint32_t v, uint32_t m) { Write("QAPIExtWriteDO32", h, c, v, m); }
void QAPIExtWriteDA(uint32_t h, uint32_t c, uint32_t v, uint32_t m) { Write("QAPIExtWriteDA", h, c, v, m); }
uint32_t QAPIExtReadDI1(uint32_t h, uint32_t c, uint32_t m) { return Read("QAPIExtReadDI1", h, c, m); }
uint32_t QAPIExtReadDI8(uint32_t h, uint32_t c, uint32_t m) { return Read("QAPIExtReadDI8", h, c, m); }
uint32_t QAPIExtReadDI16(uint32_t h, uint32_t c, uint32_t m) { return Read("QAPIExtReadDI16", h, c, m); }
uint32_t QAPIExtReadDI32(uint32_t h, uint32_t c, uint32_t m) { return Read("QAPIExtReadDI32", h, c, m); }
uint32_t QAPIExtReadAD(uint32_t h, uint32_t c, uint32_t m) { return Read("QAPIExtReadAD", h, c, m); }

} // extern "C"
