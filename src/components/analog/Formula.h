#pragma once
// The formula component: puts the value of a user-written formula of its inputs E0, E1 ...
// on its output "A".

#include "components/analog/FormulaEvaluator.h"
#include "core/model/GrundBT.h"

#include <vector>

class TBTFormel : public TGrundBT {
public:
    TV_CLASS_NAME(TBTFormel)
    TBTFormel();
    static const TComponentDescription Description;

    static constexpr int MaxInputs = 16;

    // The formula as stored (the dialog upper-cases it and turns "," into ".").
    const QString& Formula() const { return m_formula; }
    void SetFormula(const QString& formula);

    // Evaluates the formula when it or one of the input values it reads changed since the
    // last evaluation (values compared as 15-digit number texts); a formula without a value
    // puts 0.0 on the output, an empty formula leaves the output alone.
    void Calculate() override;
    void SimReset() override;      // output 0 := 0.0; the next step evaluates
    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    QString GetHint() const override;
    // The component record, then the formula text.
    void WriteData(TWriter& writer) override;
    // Records with 0 or more than 16 inputs, or not exactly one output, are refused.
    void ReadData(TReader& reader, uint8_t version) override;

private:
    // Parses the formula again when it or the input count changed.
    void EnsureCompiled();

    QString m_formula;
    TFormulaProgram m_program;
    bool m_compiled = false;
    int m_compiledInputs = -1;
    bool m_evaluated = false;        // m_values hold the inputs of the last evaluation
    std::vector<Extended> m_raw;     // input values seen at the last check
    std::vector<double> m_values;    // the same rounded to 15 digits
};
