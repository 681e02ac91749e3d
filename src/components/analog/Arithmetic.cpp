#include "components/analog/Arithmetic.h"

#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/SettingsDialog.h"


namespace {
// Most pins a stored record may declare on one side (as the component record allows).
constexpr int32_t MaxStoredPins = 256;
} // namespace

// --- TBTArithmetic -------------------------------------------------------------------------

TBTArithmetic::TBTArithmetic(const char* prefix, int32_t helpContext)
{
    SetInputCount(2);
    SetOutputCount(1);
    SetElementClass(QString());
    Editable = true;
    SetPrefix(QString::fromLatin1(prefix));
    HelpContext = helpContext;
}

void TBTArithmetic::SimReset()
{
    SetOutputValue(0, 0.0L);
}

void TBTArithmetic::NameInputs()
{
    for (size_t i = 0; i < Inputs.size(); ++i)
        Inputs[i]->SetName(QStringLiteral("E") + QString::number(i));
}

void TBTArithmetic::NameOutputs()
{
    if (!Outputs.empty())
        Outputs[0]->SetName(QStringLiteral("A"));
}

void TBTArithmetic::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    TReader::CheckCount(InputCount, 1, MaxStoredPins, "InputCount");
    TReader::CheckCount(OutputCount, 1, 1, "OutputCount");
}

int TBTArithmetic::EditProperties()
{
    return EditInputCount(*this);
}

void TBTArithmetic::PaintSymbol(TCanvas& canvas, const QString& symbol)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    DrawMarkText(canvas, cx - 20, cy - 50, 80, symbol);
}

QString TBTArithmetic::TypeNameByLanguage(const char* german, const char* english,
                                          const char* french)
{
    switch (Ctx().CurrentLanguage) {
    case 0:
        return QString::fromUtf8(german);
    case 1:
        return QString::fromUtf8(english);
    case 2:
        return QString::fromUtf8(french);
    default:
        return QString();
    }
}

// --- The four operations -------------------------------------------------------------------

TBTAdd::TBTAdd() : TBTArithmetic("ADD", 18465) {}

void TBTAdd::Paint(TCanvas& canvas)
{
    PaintSymbol(canvas, QStringLiteral("+"));
}

void TBTAdd::Calculate()
{
    Extended sum = 0.0L;
    for (int i = 0; i < InputCount; ++i)
        sum += GetInputValue(i);
    SetOutputValue(0, sum);
}

QString TBTAdd::GetTypeName() const
{
    return TypeNameByLanguage("Addierer", "Addition", "Addition");
}

TBTSub::TBTSub() : TBTArithmetic("SUB", 18470) {}

void TBTSub::Paint(TCanvas& canvas)
{
    PaintSymbol(canvas, QStringLiteral("-"));
}

void TBTSub::Calculate()
{
    Extended result = GetInputValue(0);
    for (int i = 1; i < InputCount; ++i)
        result -= GetInputValue(i);
    SetOutputValue(0, result);
}

QString TBTSub::GetTypeName() const
{
    return TypeNameByLanguage("Subtrahierer", "Subtraction", "Soustraction");
}

TBTMul::TBTMul() : TBTArithmetic("MUL", 18475) {}

void TBTMul::Paint(TCanvas& canvas)
{
    PaintSymbol(canvas, QStringLiteral("*"));
}

void TBTMul::Calculate()
{
    Extended result = GetInputValue(0);
    for (int i = 1; i < InputCount; ++i)
        result *= GetInputValue(i);
    SetOutputValue(0, result);
}

QString TBTMul::GetTypeName() const
{
    return TypeNameByLanguage("Multiplizierer", "Multiplication", "Multiplication");
}

TBTDiv::TBTDiv() : TBTArithmetic("DIV", 18480) {}

void TBTDiv::Paint(TCanvas& canvas)
{
    PaintSymbol(canvas, QStringLiteral("/"));
}

void TBTDiv::Calculate()
{
    Extended result = GetInputValue(0);
    for (int i = 1; i < InputCount; ++i) {
        const Extended divisor = GetInputValue(i);
        if (divisor == 0.0L) {
            SetOutputValue(0, DivisionByZeroResult);
            return;
        }
        result /= divisor;
    }
    SetOutputValue(0, result);
}

QString TBTDiv::GetTypeName() const
{
    return TypeNameByLanguage("Dividierer", "Division", "Division");
}
