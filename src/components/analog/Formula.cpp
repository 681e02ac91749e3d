#include "components/analog/Formula.h"

#include "components/analog/Integrators.h"

#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <cmath>

namespace {

// Input values compare as their number texts do: every NaN alike, -0 as 0.
template <class T>
bool SameValue(T a, T b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

const TComponentDescription TBTFormel::Description{
    .Name = "TBTFormel", .Prefix = {"FRM"}, .HelpContext = 18500,
    .TypeName = {"Formel\runiversell", "Formula", "Formule"}, .Inputs = {1, 1, MaxInputs},
    .Outputs = {1}, .OutputNames = "A", .Category = TPaletteCategory::Berechnung};

TBTFormel::TBTFormel()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = true;
}

void TBTFormel::SetFormula(const QString& formula)
{
    if (formula == m_formula)
        return;
    m_formula = formula;
    m_compiled = false;
}

void TBTFormel::EnsureCompiled()
{
    if (m_compiled && m_compiledInputs == InputCount)
        return;
    m_program.Compile(m_formula, InputCount);
    m_compiled = true;
    m_compiledInputs = InputCount;
    m_raw.assign(size_t(InputCount), 0.0L);
    m_values.assign(size_t(InputCount), 0.0);
    m_evaluated = false;
}

void TBTFormel::Calculate()
{
    if (m_formula.isEmpty())
        return;
    EnsureCompiled();
    bool changed = !m_evaluated;
    for (int i = 0; i < InputCount; ++i) {
        if (!m_program.UsesInput(i))
            continue;
        const Extended raw = GetInputValue(i);
        if (m_evaluated && SameValue(raw, m_raw[size_t(i)]))
            continue;
        m_raw[size_t(i)] = raw;
        const double value = RoundTo15Digits(raw);
        if (!SameValue(value, m_values[size_t(i)]))
            changed = true;
        m_values[size_t(i)] = value;
    }
    if (!changed)
        return;
    m_evaluated = true;
    double result = 0.0;
    if (!m_program.Evaluate(m_values.data(), result))
        result = 0.0;
    SetOutputValue(0, result);
}

void TBTFormel::SimReset()
{
    SetOutputValue(0, 0.0L);
    m_evaluated = false;
}

void TBTFormel::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    if (InputCount == 1)
        DrawMarkText(canvas, cx - 18, cy - 38, 52, QStringLiteral("F"));
    else
        DrawMarkText(canvas, cx - 20, cy - 50, 80, QStringLiteral("F"));
}

int TBTFormel::EditProperties()
{
    int32_t inputs = InputCount;
    QString formula = m_formula;
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        if (!Ctx().SimRunning && !Ctx().RuntimeMode)
            sheet.AddSpinProp(Translate(QStringLiteral("Eingänge")), inputs, 1, MaxInputs, 64);
        sheet.AddEditProp(Translate(QStringLiteral("Formel")), formula, 0, 250);
    });
    SetFormula(formula.toUpper().replace(QLatin1Char(','), QLatin1Char('.')));
    SetInputCount(inputs);
    return result;
}

QString TBTFormel::GetHint() const
{
    QString hint = TGrundBT::GetHint();
    if (!m_formula.isEmpty())
        hint += QLatin1Char('\r') + m_formula;
    return hint;
}

void TBTFormel::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteString(m_formula);
}

void TBTFormel::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    SetFormula(reader.ReadString());
}
