#include "components/analog/Arithmetic.h"

#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/SettingsDialog.h"

// --- TBTArithmetic -------------------------------------------------------------------------

TBTArithmetic::TBTArithmetic(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
    Editable = true;
}

void TBTArithmetic::SimReset()
{
    SetOutputValue(0, 0.0L);
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

// --- The four operations -------------------------------------------------------------------

const TComponentDescription TBTAdd::Description{
    .Name = "TBTAdd", .Prefix = {"ADD"}, .HelpContext = 18465,
    .TypeName = {"Addierer", "Addition", "Addition"}, .Inputs = {2, 1, 256}, .Outputs = {1},
    .OutputNames = "A", .Category = TPaletteCategory::Berechnung};

TBTAdd::TBTAdd() : TBTArithmetic(Description) {}

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

const TComponentDescription TBTSub::Description{
    .Name = "TBTSub", .Prefix = {"SUB"}, .HelpContext = 18470,
    .TypeName = {"Subtrahierer", "Subtraction", "Soustraction"}, .Inputs = {2, 1, 256},
    .Outputs = {1}, .OutputNames = "A", .Category = TPaletteCategory::Berechnung};

TBTSub::TBTSub() : TBTArithmetic(Description) {}

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

const TComponentDescription TBTMul::Description{
    .Name = "TBTMul", .Prefix = {"MUL"}, .HelpContext = 18475,
    .TypeName = {"Multiplizierer", "Multiplication", "Multiplication"}, .Inputs = {2, 1, 256},
    .Outputs = {1}, .OutputNames = "A", .Category = TPaletteCategory::Berechnung};

TBTMul::TBTMul() : TBTArithmetic(Description) {}

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

const TComponentDescription TBTDiv::Description{
    .Name = "TBTDiv", .Prefix = {"DIV"}, .HelpContext = 18480,
    .TypeName = {"Dividierer", "Division", "Division"}, .Inputs = {2, 1, 256}, .Outputs = {1},
    .OutputNames = "A", .Category = TPaletteCategory::Berechnung};

TBTDiv::TBTDiv() : TBTArithmetic(Description) {}

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
