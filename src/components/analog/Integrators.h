#pragma once
// Components with memory over time: the integrator and the differentiator (real time, every
// step or on a sample grid), the increment (steps on falling clock edges) and the analog
// delay line (input of n clock edges ago).

#include "components/analog/Filter.h"
#include "components/analog/SampleTime.h"
#include "core/model/GrundBT.h"
#include "platform/Context.h"

#include <QString>
#include <functional>
#include <initializer_list>
#include <vector>

class TPropScrollbox;

// What the real-time blocks here, the transfer elements and the controllers share.
namespace BlockSupport {
// Seconds from the clock reading `since` to `now`.
inline Extended SecondsBetween(int64_t since, int64_t now)
{
    return static_cast<Extended>(now - since) / static_cast<Extended>(Ctx().PerfFrequency);
}
// Clock ticks of a sample time, for moving a sample grid on.
inline int64_t TicksOf(Extended seconds)
{
    return RoundHalfEven(seconds * static_cast<Extended>(Ctx().PerfFrequency));
}
// True when the sample time ts has passed since the clock reading `since`. Compared in clock
// ticks: the time is stored as a double and elapsed seconds are long double, so a step that
// lands exactly on the grid would otherwise depend on how exactly ts is held in binary.
inline bool SampleTimeElapsed(int64_t since, int64_t now, Extended ts)
{
    return now - since >= TicksOf(ts);
}
// The settings dialog: caption = label, the component's help context, the rows that
// addRows adds, then the option rows (name, adjustable at run time) while no run is active.
// Label and option are taken back after the dialog; returns the modal result.
int ShowSettings(TIOBauteil& component, const std::function<void(TPropScrollbox&)>& addRows);
// ShowSettings with the sample-time row, then the filter rows when filter is given; both
// settings are taken back whatever the result.
int EditSampling(TIOBauteil& component, TSampleTime& sampling, TFilter* filter = nullptr);
// The component's state value, "Value" in its section of the component state file.
void SaveStateValue(const TIOBauteil& component, TIniFile& ini, const QString& section,
                    Extended value);
// That value read back (0 without one) and shown on the first output.
Extended LoadStateValue(TIOBauteil& component, TIniFile& ini, const QString& section);
} // namespace BlockSupport

// Integral of "E" over real time; a low "/RST" holds it at 0. The integral survives a run
// in the component state file.
class TBTIntegrierer : public TGrundBT {
public:
    TV_CLASS_NAME(TBTIntegrierer)
    TBTIntegrierer();
    static const TComponentDescription Description;

    TSampleTime Sampling;
    Extended Value = 0.0L;   // the integral
    int64_t LastCount = 0;   // clock reading of the time base

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
    void Calculate() override;
    void SimReset() override;
};

// Derivative of "X" (through an optional low-pass filter) over real time.
class TBTDifferenzierer : public TGrundBT {
public:
    TV_CLASS_NAME(TBTDifferenzierer)
    TBTDifferenzierer();
    static const TComponentDescription Description;

    TSampleTime Sampling;
    Extended LastInput = 0.0L;  // filtered input of the last sample
    TFilter Filter;
    int32_t SampleCount = 1;    // number of the next sample since the time base
    int64_t LastCount = 0;

    // Samples taken before the time base moves on by their total time.
    static constexpr int32_t SamplesPerBase = 1000;

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void Calculate() override;
    void SimReset() override;
};

// "Z" steps by "INC" up or down ("U/D") at each falling edge of "|CLK"; a low "/RST" loads
// "RES".
class TBT_Inkretment : public TGrundBT {
public:
    TV_CLASS_NAME(TBT_Inkretment)
    TBT_Inkretment();
    static const TComponentDescription Description;

    bool LastClock = false;  // clock level of the previous step (kept across runs)
    Extended Z = 0.0L;

    void Paint(TCanvas& canvas) override;
    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
    void Calculate() override;
    void SimReset() override;
};

// "OUT" shows "IN" as it was DelayLength falling edges of "|CLK" ago.
class TBT_AnalogDelay : public TGrundBT {
public:
    TV_CLASS_NAME(TBT_AnalogDelay)
    TBT_AnalogDelay();
    static const TComponentDescription Description;

    static constexpr int32_t MinDelay = 1;
    static constexpr int32_t MaxDelay = 1000;

    std::vector<Extended> Cells;  // ring buffer
    int32_t DelayLength = 100;    // clock edges, MinDelay .. MaxDelay
    int32_t NextCell = 0;
    bool LastClock = false;

    // New cells of 0.0 for DelayLength (limited to its range), from the first cell.
    void RebuildCells();

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void Calculate() override;
    void SimReset() override;
};
