#include "components/signal/ValueBlocks.h"

#include "components/signal/SignalSupport.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"

#include <QPoint>

using namespace SignalSupport;

namespace {

// A block without front-panel element.
} // namespace

// --- TBTFest ---------------------------------------------------------------------------------

const TComponentDescription TBTFest::Description{
    .Name = "TBTFest", .Prefix = {"FW", "FV", "VF"}, .HelpContext = 18440,
    .TypeName = {"Festwert", "Fixed value", "Valeur fixe"}, .Outputs = {1},
    .OutputNames = "-", .Category = TPaletteCategory::Quellen};

TBTFest::TBTFest() : TBTSettingBlock(Description, 1.0L, TStored::Raw80) {}

void TBTFest::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawCentredMark(*this, canvas, CenterX(), CenterY() - 32, 30, ShortValueText(FixValue));
}

QString TBTFest::SettingCaption() const
{
    return Translate(QStringLiteral("Wert"));
}

void TBTFest::SimReset()
{
    SetOutputValue(0, FixValue);
}

// --- TBTAnalogVgl ----------------------------------------------------------------------------

const TComponentDescription TBTAnalogVgl::Description{
    .Name = "TBTAnalogVgl", .Prefix = {"AVG", "ACP", "CPA"}, .HelpContext = 18430,
    .TypeName = {"Analog-\rVergleicher", "Analogue\rcomparator", "Comparateur\ranalogique"},
    .Caption = {"Vergl.", "Comp.", "Comp."}, .Inputs = {2}, .Outputs = {3},
    .InputNames = "A B", .OutputNames = "A<B A=B A>B",
    .Category = TPaletteCategory::Vergleicher};

TBTAnalogVgl::TBTAnalogVgl()
{
    Describe(Description);
    MakeBlock(*this, false);
}

void TBTAnalogVgl::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), SymbolColor);
}

void TBTAnalogVgl::Calculate()
{
    const Extended a = GetInputValue(0);
    const Extended b = GetInputValue(1);
    SetOutputDigital(0, a < b);
    SetOutputDigital(1, a == b);
    SetOutputDigital(2, a > b);
}

void TBTAnalogVgl::SimReset()
{
    for (int i = 0; i < OutputCount; ++i)
        SetOutputValue(i, 0.0L);
}

// --- TBTSample -------------------------------------------------------------------------------

const TComponentDescription TBTSample::Description{
    .Name = "TBTSample", .Prefix = {"S&H"}, .HelpContext = 18425,
    .TypeName = {"Sample & Hold", "Sample & Hold", "Echantilloneur\rbloqueur"},
    .Inputs = {2}, .Outputs = {1}, .InputNames = "E /Hld", .OutputNames = "A",
    .Category = TPaletteCategory::Sonstige};

TBTSample::TBTSample()
{
    Describe(Description);
    MakeBlock(*this, false);
}

void TBTSample::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 35, CenterY() - 32, 40, QStringLiteral("S&H"));
    canvas.Brush.Style = Qt::SolidPattern;
}

void TBTSample::SaveSettings(TIniFile& ini, const QString& section)
{
    ini.WriteFloat(StateSection(section), QStringLiteral("Hold"), static_cast<double>(Held));
}

bool TBTSample::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    Held = ini.ReadFloat(StateSection(section), QStringLiteral("Hold"), 0.0);
    SetOutputValue(0, Held);
    return true;
}

void TBTSample::Calculate()
{
    if (GetInputDigital(1))
        Held = GetInputValue(0);
    SetOutputValue(0, Held);
}

void TBTSample::SimReset()
{
    Held = 0.0L;
    SetOutputValue(0, 0.0L);
}

// --- Relays ----------------------------------------------------------------------------------

TBTRelayBase::TBTRelayBase(const TComponentDescription& description)
{
    Describe(description);
    MakeBlock(*this, false);
}

void TBTRelayBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    MarkPen(*this, canvas, 3);
    canvas.Rectangle(cx - 20, cy - 54, cx + 20, cy + 26);
    MarkPen(*this, canvas, 2);
    canvas.Polyline({QPoint(cx - 20, cy + 6), QPoint(cx + 18, cy - 32)});
    canvas.Polyline({QPoint(cx - 30, cy - 14), QPoint(cx - 20, cy - 14)});
    canvas.Polyline({QPoint(cx + 20, cy - 14), QPoint(cx + 30, cy - 14)});
    canvas.Brush.Style = Qt::SolidPattern;
}

const TComponentDescription TBTRelais::Description{
    .Name = "TBTRelais", .Prefix = {"REL"}, .HelpContext = 18420,
    .TypeName = {"Relais\r2 Eingänge", "Relay\r2 Inputs", "Relais\r2 entrées"},
    .Inputs = {3}, .Outputs = {1}, .InputNames = "E0 E1 SEL", .OutputNames = "A",
    .Category = TPaletteCategory::AnalogMultiplexer};

TBTRelais::TBTRelais() : TBTRelayBase(Description) {}

void TBTRelais::Calculate()
{
    SetOutputValue(0, GetInputValue(GetInputDigital(2) ? 1 : 0));
}

const TComponentDescription TBTRelais_2::Description{
    .Name = "TBTRelais_2", .Prefix = {"REL"}, .HelpContext = 18422,
    .TypeName = {"Relais\r2 Ausgänge", "Relay\r2 Outputs", "Relais\r2 sorties"},
    .Inputs = {2}, .Outputs = {2}, .InputNames = "E SEL", .OutputNames = "A1 A0",
    .Category = TPaletteCategory::AnalogMultiplexer};

TBTRelais_2::TBTRelais_2() : TBTRelayBase(Description) {}

void TBTRelais_2::Calculate()
{
    const Extended e = GetInputValue(0);
    const bool high = GetInputDigital(1);
    SetOutputValue(OutA1, high ? e : 0.0L);
    SetOutputValue(OutA0, high ? 0.0L : e);
}

// --- TBTTrigger ------------------------------------------------------------------------------

const TComponentDescription TBTTrigger::Description{
    .Name = "TBTTrigger", .Prefix = {"TRG"}, .HelpContext = 18415, .TypeName = {"Trigger"},
    .Inputs = {1}, .Outputs = {1}, .InputNames = "E", .OutputNames = "A",
    .Category = TPaletteCategory::Vergleicher};

TBTTrigger::TBTTrigger() : TBTSettingBlock(Description, 0.0L, TStored::Raw80) {}

void TBTTrigger::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY() - 14;
    MarkPen(*this, canvas, 2);
    canvas.Brush.Style = Qt::SolidPattern;
    canvas.Brush.Color = MarkColor();
    canvas.Rectangle(cx - 8, cy - 16, cx + 8, cy + 16);
    canvas.Polyline({QPoint(cx - 24, cy + 16), QPoint(cx - 8, cy + 16)});
    canvas.Polyline({QPoint(cx + 8, cy - 16), QPoint(cx + 24, cy - 16)});
}

QString TBTTrigger::SettingCaption() const
{
    return Translate(QStringLiteral("Schwelle"));
}

void TBTTrigger::Calculate()
{
    SetOutputDigital(0, GetInputValue(0) > Threshold);
}

void TBTTrigger::SimReset()
{
    SetOutputDigital(0, false);
}
