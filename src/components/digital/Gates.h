#pragma once
// Combinational logic gates: the inverter and the AND, NAND, OR, NOR and odd-parity gates with
// 2 to 16 inputs. No state, no stream data beyond the component record, no front-panel element.

#include "core/model/GrundBT.h"

// What the gates share: unnamed pins, one output, the symbol colour of their marks and the
// check of a stored record.
class TBTGate : public TGrundBT {
public:
    TV_CLASS_NAME(TBTGate)

    void NameInputs() override;   // every input unnamed
    void NameOutputs() override;  // output 0 unnamed
    // The component record; a record whose pin counts the gate cannot work with (no output,
    // or no input at all) is refused as invalid data instead of being stepped.
    void ReadData(TReader& reader, uint8_t version) override;
    // The input-count dialog ("2" to "16"); returns its modal result.
    int EditProperties() override;

protected:
    // defaultInputs: the count a new gate gets; prefix and help context of the class.
    TBTGate(int32_t defaultInputs, const char* prefix, int32_t helpContext);

    // Number of inputs that read high; every input is read.
    int HighInputCount() const
    {
        int high = 0;
        for (int i = 0; i < InputCount; ++i)
            high += GetInputDigital(i) ? 1 : 0;
        return high;
    }
    // The short slanted stroke at the output edge that marks a negated output.
    void DrawNegationStroke(TCanvas& canvas) const;
    // "1" with ">" over "=": greater-or-equal one (OR, NOR).
    void DrawOrMark(TCanvas& canvas) const;
};

class TBTInverter : public TBTGate {
public:
    TV_CLASS_NAME(TBTInverter)
    TBTInverter();
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    QString GetTypeName() const override;
    void ReadData(TReader& reader, uint8_t version) override; // exactly one input
    int EditProperties() override; // no settings: 0
};

class TBTAnd : public TBTGate {
public:
    TV_CLASS_NAME(TBTAnd)
    TBTAnd();
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    QString GetTypeName() const override;
};

class TBTNand : public TBTGate {
public:
    TV_CLASS_NAME(TBTNand)
    TBTNand();
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    QString GetTypeName() const override;
};

class TBTOr : public TBTGate {
public:
    TV_CLASS_NAME(TBTOr)
    TBTOr();
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    QString GetTypeName() const override;
};

class TBTNor : public TBTGate {
public:
    TV_CLASS_NAME(TBTNor)
    TBTNor();
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    QString GetTypeName() const override;
};

// Odd parity: high when an odd number of inputs read high (the exclusive OR for two inputs).
class TBTExor : public TBTGate {
public:
    TV_CLASS_NAME(TBTExor)
    TBTExor();
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    QString GetTypeName() const override;
};
