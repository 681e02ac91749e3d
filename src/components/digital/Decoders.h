#pragma once
// BCD decoders: BCD to one-of-ten (outputs "D0" ... "D9", active high) and BCD to seven
// segments (outputs "a" ... "g", active high). The code is B0 + 2 B1 + 4 B2 + 8 B3 of the four
// inputs read as logic; codes 10 to 15 drive every output low. No settings, no stream data
// beyond the component record.

#include "core/model/GrundBT.h"

class TBTBCDDekoder : public TGrundBT {
public:
    TV_CLASS_NAME(TBTBCDDekoder)
    TBTBCDDekoder();
    static const TComponentDescription Description;

    void SimReset() override;     // every output high
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    // Pin counts other than 4 inputs and 10 outputs are refused as invalid data.
};

class TBTSeg7Decoder : public TGrundBT {
public:
    TV_CLASS_NAME(TBTSeg7Decoder)
    TBTSeg7Decoder();
    static const TComponentDescription Description;

    // Segment bits of codes 0 .. 15: bit 0 is segment a ... bit 6 segment g.
    static const uint8_t SegmentTable[16];

    int32_t LastCode = -1;        // code of the last written segments; -1 after a reset

    void SimReset() override;     // every output high; the next step writes
    // Writes the segments only when the code changed.
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
};
