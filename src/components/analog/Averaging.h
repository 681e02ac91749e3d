#pragma once
// Moving average: samples "E" on the 50 ms clock of a run at a chosen interval and outputs
// the mean of the last N samples on "A".

#include "core/model/GrundBT.h"

#include <QString>
#include <QStringList>
#include <array>

// The block symbol with a short text in its upper middle (averaging, correction table).
void PaintSymbolLetters(TGrundBT& component, TCanvas& canvas, const QString& letters);

class TBTMittelwert : public TGrundBT {
public:
    TV_CLASS_NAME(TBTMittelwert)
    TBTMittelwert();
    static const TComponentDescription Description;

    static constexpr int IntervalCount = 14;   // "0.1 s" ... "30 min"
    static constexpr int32_t RingSize = 1000;  // most samples that can be averaged
    static constexpr int32_t TicksPerSecond = 20;

    // The interval list: captions (not translated) and times as stored (48-bit reals).
    static const QStringList& IntervalCaptions();
    // The entry's time in seconds; an index outside the list gives the first entry.
    static double IntervalSeconds(int index);

    int16_t IntervalIndex = 0;
    double Interval = 0.1;          // seconds, as stored
    uint16_t TicksPerSample = 2;    // round(Interval x 20)
    uint16_t TickCounter = 0;
    int32_t N = 2;                  // samples averaged, 1 .. RingSize
    int32_t SampleCount = 0;        // ring position of the last sample, 0 .. N
    bool Filling = true;            // the ring has not been filled once since the reset
    std::array<Extended, RingSize> Ring{};  // positions 1 .. N are Ring[0] .. Ring[N - 1]

    // Stores the interval and restarts the tick count so that the next tick takes a sample.
    // An interval that gives no tick count from 1 to 65535 (not a number, too short, too long)
    // is replaced by the time of the current list entry.
    void SetInterval(double seconds);

    void Paint(TCanvas& canvas) override;
    void ClockTick() override;
    int EditProperties() override;
    void WriteData(TWriter& writer) override;
    // A stored N is clamped to 1 .. RingSize; an interval index outside the list is replaced
    // by the entry whose time is nearest the stored interval.
    void ReadData(TReader& reader, uint8_t version) override;
    void SimReset() override;
};
