// A stand-in for Velleman's K8055 library: one board whose inputs the test sets ("ai1", "ai2",
// "di", "c1", "c2"); every call is logged.

#include "FakeLibrarySupport.h"

FAKE_LIBRARY_TEST_SIDE

extern "C" {

void FakeLibrary_Reset()
{
    ResetShared();
}

int32_t OpenDevice(int32_t address)
{
    fake::Log("OpenDevice", address);
    return address;
}

void CloseDevice()
{
    fake::Log("CloseDevice");
}

void ReadAllAnalog(int32_t* value1, int32_t* value2)
{
    fake::Log("ReadAllAnalog");
    *value1 = int32_t(fake::Setting("ai1"));
    *value2 = int32_t(fake::Setting("ai2"));
}

int32_t ReadAllDigital()
{
    fake::Log("ReadAllDigital");
    return int32_t(fake::Setting("di"));
}

void OutputAllAnalog(int32_t raw1, int32_t raw2)
{
    fake::Log("OutputAllAnalog", raw1, raw2);
}

void WriteAllDigital(int32_t word)
{
    fake::Log("WriteAllDigital", word);
}

int32_t ReadCounter(int32_t counter)
{
    fake::Log("ReadCounter", counter);
    return int32_t(fake::Setting("c" + std::to_string(counter)));
}

void ResetCounter(int32_t counter)
{
    fake::Log("ResetCounter", counter);
}

void SetCounterDebounceTime(int32_t counter, int32_t ms)
{
    fake::Log("SetCounterDebounceTime", counter, ms);
}

} // extern "C"
