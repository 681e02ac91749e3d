#pragma once
// Binary arithmetic on single digital pins: full adders of 2, 4 and 8 bits with carry in and
// carry out, and cascadable magnitude comparators of 4 and 8 bits. No settings, no state, no
// stream data beyond the component record.

#include "core/model/GrundBT.h"

// What the adders share: pins "A0" ..., "B0" ..., "C0" and "C(n)", "S(n-1)" ... "S0".
class TBTAdderBase : public TGrundBT {
public:
    TV_CLASS_NAME(TBTAdderBase)

    void SimReset() override;  // every output low
    void Calculate() override;
    void Paint(TCanvas& canvas) override;

protected:
    explicit TBTAdderBase(const TComponentDescription& description);

private:
    int m_bits;
};

// What the comparators share: pins "A0" ..., "B0" ..., the cascade inputs "A<B", "A>B", "A=B"
// and the outputs "A=B", "A>B", "A<B"; exactly one output is high after every step.
class TBTComparatorBase : public TGrundBT {
public:
    TV_CLASS_NAME(TBTComparatorBase)

    void SimReset() override;  // every output low
    void Calculate() override;
    void Paint(TCanvas& canvas) override;

protected:
    explicit TBTComparatorBase(const TComponentDescription& description);

private:
    int m_bits;
};

class TBTADD2 : public TBTAdderBase {
public:
    TV_CLASS_NAME(TBTADD2)
    TBTADD2();
    static const TComponentDescription Description;
};

class TBTADD4 : public TBTAdderBase {
public:
    TV_CLASS_NAME(TBTADD4)
    TBTADD4();
    static const TComponentDescription Description;
};

class TBTADD8 : public TBTAdderBase {
public:
    TV_CLASS_NAME(TBTADD8)
    TBTADD8();
    static const TComponentDescription Description;
};

class TBTVGL4 : public TBTComparatorBase {
public:
    TV_CLASS_NAME(TBTVGL4)
    TBTVGL4();
    static const TComponentDescription Description;
};

class TBTVGL8 : public TBTComparatorBase {
public:
    TV_CLASS_NAME(TBTVGL8)
    TBTVGL8();
    static const TComponentDescription Description;
};
