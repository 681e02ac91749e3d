#pragma once
// Digital selectors: multiplexers with 2, 4, 8 and 16 data inputs and a complementary output
// pair, and demultiplexers (one-of-n decoders) with 2, 4, 8 and 16 outputs. Each has a
// high-active enable input "EN". No settings, no stream data beyond the component record.

#include "core/model/GrundBT.h"

// What the multiplexers share: pins "EN", "S0" ..., "D0" ... and "/Q", "Q"; the step.
class TBTMuxBase : public TGrundBT {
public:
    TV_CLASS_NAME(TBTMuxBase)

    void SimReset() override;     // "/Q" high, "Q" low
    void Calculate() override;
    void Paint(TCanvas& canvas) override; // block symbol and caption

protected:
    explicit TBTMuxBase(const TComponentDescription& description);

private:
    int m_selectBits;
};

// What the demultiplexers share: pins "EN", "S0" ... and "Q(n-1)" ... "Q0"; the step, which
// writes the outputs only when the selection changes.
class TBTDemuxBase : public TGrundBT {
public:
    TV_CLASS_NAME(TBTDemuxBase)

    // Output number selected in the previous step; -1 while disabled or after a reset.
    int32_t LastSelection = -1;

    void SimReset() override;     // every output low, no selection
    void Calculate() override;
    void Paint(TCanvas& canvas) override;

protected:
    explicit TBTDemuxBase(const TComponentDescription& description);

private:
    int m_selectBits;
};

class TBTMUX2 : public TBTMuxBase {
public:
    TV_CLASS_NAME(TBTMUX2)
    TBTMUX2();
    static const TComponentDescription Description;
};

class TBTMUX4 : public TBTMuxBase {
public:
    TV_CLASS_NAME(TBTMUX4)
    TBTMUX4();
    static const TComponentDescription Description;
};

class TBTMUX8 : public TBTMuxBase {
public:
    TV_CLASS_NAME(TBTMUX8)
    TBTMUX8();
    static const TComponentDescription Description;
};

class TBTMUX16 : public TBTMuxBase {
public:
    TV_CLASS_NAME(TBTMUX16)
    TBTMUX16();
    static const TComponentDescription Description;
};

class TBTDMUX2 : public TBTDemuxBase {
public:
    TV_CLASS_NAME(TBTDMUX2)
    TBTDMUX2();
    static const TComponentDescription Description;
};

class TBTDMUX4 : public TBTDemuxBase {
public:
    TV_CLASS_NAME(TBTDMUX4)
    TBTDMUX4();
    static const TComponentDescription Description;
};

class TBTDMUX8 : public TBTDemuxBase {
public:
    TV_CLASS_NAME(TBTDMUX8)
    TBTDMUX8();
    static const TComponentDescription Description;
};

class TBTDMUX16 : public TBTDemuxBase {
public:
    TV_CLASS_NAME(TBTDMUX16)
    TBTDMUX16();
    static const TComponentDescription Description;
};
