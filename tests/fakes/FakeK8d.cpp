// A stand-in for Velleman's K8000 library: the boards' inputs are the test's settings ("chip4"
// for I/O chip 4, "ad9" for A/D channel 9); every call is logged.

#include "FakeLibrarySupport.h"

FAKE_LIBRARY_TEST_SIDE

extern "C" {

void FakeLibrary_Reset()
{
    ResetShared();
}

int32_t ReadADchannel(int32_t channel)
{
    fake::Log("ReadADchannel", channel);
    return int32_t(fake::Setting("ad" + std::to_string(channel)));
}

void OutputDACchannel(int32_t channel, int32_t raw)
{
    fake::Log("OutputDACchannel", channel, raw);
}

void OutputDAchannel(int32_t channel, int32_t raw)
{
    fake::Log("OutputDAchannel", channel, raw);
}

int32_t ReadIOchip(int32_t chip)
{
    fake::Log("ReadIOchip", chip);
    return int32_t(fake::Setting("chip" + std::to_string(chip)));
}

void IOoutput(int32_t chip, int32_t value)
{
    fake::Log("IOoutput", chip, value);
}

void ConfigAllIOasOutput()
{
    fake::Log("ConfigAllIOasOutput");
}

void Start_K8000()
{
    fake::Log("Start_K8000");
}

void Stop_K8000()
{
    fake::Log("Stop_K8000");
}

void SelectI2CprinterPort(int32_t port)
{
    fake::Log("SelectI2CprinterPort", port);
}

void SetI2CprinterPortAddress(int32_t address)
{
    fake::Log("SetI2CprinterPortAddress", address);
}

void ClearIOchannel(int32_t channel)
{
    fake::Log("ClearIOchannel", channel);
}

void SetIOchannel(int32_t channel)
{
    fake::Log("SetIOchannel", channel);
}

} // extern "C"
