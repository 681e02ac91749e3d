#pragma once
// The limiter and the signal, pulse and ramp generators. Every parameter is an input read at
// every step; none has a settings dialog or stream data beyond the component record. The
// generators follow real time: each step reads the clock and works with the time since the
// previous step.

#include "core/model/GrundBT.h"

#include <initializer_list>
#include <vector>

// Pins, type names and the stored-record check that the four blocks share.
class TBTSignalBlock : public TGrundBT {
public:
    TV_CLASS_NAME(TBTSignalBlock)

protected:
    explicit TBTSignalBlock(const TComponentDescription& description);
    // Pen in the symbol colour (red while selected), width 2, no fill.
    void SymbolPen(TCanvas& canvas) const;
    // Seconds from the clock reading `since` to `now`.
    static double SecondsBetween(int64_t since, int64_t now);

};

// "A" is "IN" clipped to "LiL" .. "LiH" while "EN" is high; "ClpH" and "ClpL" tell which
// limit acts. With "LiL" above "LiH" and both acting, "LiL" wins.
class TBTLimiter : public TBTSignalBlock {
public:
    TV_CLASS_NAME(TBTLimiter)
    TBTLimiter();
    static const TComponentDescription Description;

    enum { InEN, InIN, InLiH, InLiL };
    enum { OutClpL, OutClpH, OutA };

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SimReset() override;
};

// Five waveforms of one phase between -"A" and +"A" at frequency "f" (at least 0.001 Hz); a
// negative "A" mirrors all five.
class TBTFktGenerator : public TBTSignalBlock {
public:
    TV_CLASS_NAME(TBTFktGenerator)
    TBTFktGenerator();
    static const TComponentDescription Description;

    enum { InF, InA };
    enum { OutDWN, OutRUP, OutTRI, OutREC, OutSIN };
    static constexpr double MinFrequency = 0.001;

    double PhaseTime = 0.0;  // seconds into the current period
    int64_t LastCount = 0;   // clock reading of the previous step

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SimReset() override;
};

// "CLK" is high for "TH" seconds and low for "TL" seconds, starting low; the time left over
// at a change carries into the next phase.
class TBTPulse : public TBTSignalBlock {
public:
    TV_CLASS_NAME(TBTPulse)
    TBTPulse();
    static const TComponentDescription Description;

    enum { InTH, InTL };
    enum { OutCLK };

    bool High = false;
    double PhaseTime = 0.0;  // seconds in the current phase
    int64_t LastCount = 0;

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SimReset() override;
};

// A falling edge on "|RUN" starts one ramp of "Y" from "Y1" to "Y2" in "T" seconds (the three
// taken at the start); a rising edge stops it. Between ramps "Y" follows "Y0".
class TBTRampenGenerator : public TBTSignalBlock {
public:
    TV_CLASS_NAME(TBTRampenGenerator)
    TBTRampenGenerator();
    static const TComponentDescription Description;

    enum { InY1, InY2, InT, InY0, InRUN };
    enum { OutRUN, OutT, OutY };

    double Elapsed = 0.0;    // seconds since the ramp started
    int64_t StartCount = 0;  // clock reading at the ramp start
    bool Running = false;
    bool LastRun = false;    // level of "|RUN" in the previous step
    Extended RampTime = 0.0L;
    Extended StartValue = 0.0L;
    Extended EndValue = 0.0L;

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SimReset() override;
};
