#pragma once
// Binary arithmetic on single digital pins: full adders of 2, 4 and 8 bits with carry in and
// carry out, and cascadable magnitude comparators of 4 and 8 bits. No settings, no state, no
// stream data beyond the component record.

#include "core/model/GrundBT.h"

// What the adders share: pins "A0" ..., "B0" ..., "C0" and "C(n)", "S(n-1)" ... "S0".
class TBTAdderBase : public TGrundBT {
public:
    TV_CLASS_NAME(TBTAdderBase)

    void NameInputs() override;
    void NameOutputs() override;
    void SimReset() override;  // every output low
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    // Pin counts other than the class's own are refused as invalid data.
    void ReadData(TReader& reader, uint8_t version) override;

protected:
    TBTAdderBase(int bits, const char* prefix);
    virtual QString Caption() const = 0; // in the current language

private:
    int m_bits;
};

// What the comparators share: pins "A0" ..., "B0" ..., the cascade inputs "A<B", "A>B", "A=B"
// and the outputs "A=B", "A>B", "A<B"; exactly one output is high after every step.
class TBTComparatorBase : public TGrundBT {
public:
    TV_CLASS_NAME(TBTComparatorBase)

    void NameInputs() override;
    void NameOutputs() override;
    void SimReset() override;  // every output low
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    void ReadData(TReader& reader, uint8_t version) override;

protected:
    explicit TBTComparatorBase(int bits);
    virtual QString Caption() const = 0;

private:
    int m_bits;
};

class TBTADD2 : public TBTAdderBase {
public:
    TV_CLASS_NAME(TBTADD2)
    TBTADD2();
    QString GetTypeName() const override;

protected:
    QString Caption() const override;
};

class TBTADD4 : public TBTAdderBase {
public:
    TV_CLASS_NAME(TBTADD4)
    TBTADD4();
    QString GetTypeName() const override;

protected:
    QString Caption() const override;
};

class TBTADD8 : public TBTAdderBase {
public:
    TV_CLASS_NAME(TBTADD8)
    TBTADD8();
    QString GetTypeName() const override;

protected:
    QString Caption() const override;
};

class TBTVGL4 : public TBTComparatorBase {
public:
    TV_CLASS_NAME(TBTVGL4)
    TBTVGL4();
    QString GetTypeName() const override;

protected:
    QString Caption() const override;
};

class TBTVGL8 : public TBTComparatorBase {
public:
    TV_CLASS_NAME(TBTVGL8)
    TBTVGL8();
    QString GetTypeName() const override;

protected:
    QString Caption() const override;
};
