#pragma once
// A device of this folder run by itself on the simulated I/O space: the test drives its output
// pins, steps it with the clock moving between steps, and reads the ordered register accesses.

#include "hardware/HardwareTestSupport.h"

#include "hardware/framework/IoInterface.h"
#include <vector>

class CardFixture : public HardwareFixture {
protected:
    using TAccess = TSimulatedPortIo::TAccess;
    static TAccess W(uint16_t port, uint8_t value) { return {true, port, value}; }
    static TAccess R(uint16_t port, uint8_t value) { return {false, port, value}; }

    static void Place(TIOInterface& device, uint16_t base)
    {
        device.BaseAddress = base;
        device.PropagateAddress();
    }
    // Output pin k of the device (flat index) to value.
    static void Drive(TIOInterface& device, int32_t k, Extended value) { device.SetValue(k, value); }
    static void DriveBits(TIOInterface& device, uint32_t bits, int count)
    {
        for (int k = 0; k < count; ++k)
            Drive(device, k, (bits >> k & 1) ? 5.0L : 0.0L);
    }
    // n steps of the device, msBetween apart on the clock.
    void Step(TIOInterface& device, int n = 1, double msBetween = 1.0)
    {
        for (int i = 0; i < n; ++i) {
            device.MachEsJetzt();
            fake.clock.AdvanceNs(int64_t(msBetween * 1e6));
        }
    }
    // The accesses from here on.
    std::vector<TAccess> Since(size_t mark) const
    {
        return {io.Accesses.begin() + long(mark), io.Accesses.end()};
    }
};

inline bool operator==(const TSimulatedPortIo::TAccess& a, const TSimulatedPortIo::TAccess& b)
{
    return a.Write == b.Write && a.Port == b.Port && a.Value == b.Value;
}

inline void PrintTo(const TSimulatedPortIo::TAccess& a, std::ostream* os)
{
    *os << (a.Write ? "W " : "R ") << std::hex << a.Port << "=" << int(a.Value) << std::dec;
}
