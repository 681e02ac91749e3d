#include "components/signal/AnalogMux.h"

#include "components/signal/SignalSupport.h"
#include "core/model/Translator.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <QStringList>

// --- TBTAnalogSwitch -------------------------------------------------------------------------

TBTAnalogSwitch::TBTAnalogSwitch(const TComponentDescription& description)
{
    Describe(description);
    SignalSupport::MakeBlock(*this, true);
}

int TBTAnalogSwitch::SizeOfInputs(int inputs) const
{
    for (int s = 0; s < SizeCount; ++s) {
        if (InputsOf(s) == inputs)
            return s;
    }
    return -1;
}

int TBTAnalogSwitch::Channel(int first) const
{
    const int s = SizeCode();
    int k = 0;
    for (int bit = 0; bit <= s; ++bit) {
        if (GetInputDigital(first + bit))
            k |= 1 << bit;
    }
    return k;
}

void TBTAnalogSwitch::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), SymbolColor);
}

int TBTAnalogSwitch::EditProperties()
{
    int32_t index = SizeCode();
    const int result = SignalSupport::ShowDialog(*this, Prefix(), [&](TPropScrollbox& sheet) {
        sheet.AddComboProp(Translate(QStringLiteral("Kanäle")), index,
                           {QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("8"),
                            QStringLiteral("16")},
                           64);
    });
    if (index >= 0 && index < SizeCount)
        SetSize(index);
    return result;
}

void TBTAnalogSwitch::CheckStoredPins(int32_t inputs, int32_t outputs) const
{
    const int s = SizeOfInputs(inputs);
    if (s < 0)
        TReader::CheckCount(inputs, 0, -1, "InputCount");
    TReader::CheckCount(outputs, OutputsOf(s), OutputsOf(s), "OutputCount");
}

void TBTAnalogSwitch::SetSize(int sizeCode)
{
    SetInputCount(InputsOf(sizeCode));
    SetOutputCount(OutputsOf(sizeCode));
}

// --- TBTAnalogMux ----------------------------------------------------------------------------

const TComponentDescription TBTAnalogMux::Description{
    .Name = "TBTAnalogMux", .Prefix = {"AMUX"}, .HelpContext = 18455,
    .TypeName = {"Multiplexer\ranalog", "Analogue\rMultiplexer", "Multipléxeur\ranalogique"},
    .Caption = {"AMUX"}, .Inputs = {12, 4, 21}, .Outputs = {1},
    .InputNames = "EN S0..2 I0..7", .OutputNames = "A",
    .Category = TPaletteCategory::AnalogMultiplexer};

TBTAnalogMux::TBTAnalogMux() : TBTAnalogSwitch(Description) {}

int TBTAnalogMux::InputsOf(int sizeCode) const
{
    return 1 + (sizeCode + 1) + Channels(sizeCode);
}

void TBTAnalogMux::NameInputs()
{
    const int s = SizeCode();
    if (s < 0)
        return;
    QStringList names{QStringLiteral("EN")};
    for (int i = 0; i <= s; ++i)
        names << QStringLiteral("S") + QString::number(i);
    for (int i = 0; i < Channels(s); ++i)
        names << QStringLiteral("I") + QString::number(i);
    NamePins(Inputs, names);
}

void TBTAnalogMux::Calculate()
{
    if (!GetInputDigital(0)) {
        SetOutputValue(0, 0.0L);
        return;
    }
    const int selects = SizeCode() + 1;
    SetOutputValue(0, GetInputValue(1 + selects + Channel(1)));
}

void TBTAnalogMux::SimReset()
{
    SetOutputValue(0, 0.0L);
}

// --- TBTAnalogDemux --------------------------------------------------------------------------

const TComponentDescription TBTAnalogDemux::Description{
    .Name = "TBTAnalogDemux", .Prefix = {"ADMX"}, .HelpContext = 18460,
    .TypeName = {"Demultiplexer\ranalog", "Analogue\rDemultiplexer",
                 "Démultiplexeur\ranalogique"},
    .Caption = {"ADMX"}, .Inputs = {5, 3, 6}, .Outputs = {8, 2, 16},
    .InputNames = "EN IN S0..2", .OutputNames = "A7..0",
    .Category = TPaletteCategory::AnalogMultiplexer};

TBTAnalogDemux::TBTAnalogDemux() : TBTAnalogSwitch(Description) {}

int TBTAnalogDemux::InputsOf(int sizeCode) const
{
    return 2 + (sizeCode + 1);
}

void TBTAnalogDemux::NameInputs()
{
    QStringList names{QStringLiteral("EN"), QStringLiteral("IN")};
    for (int i = 2; i < InputCount; ++i)
        names << QStringLiteral("S") + QString::number(i - 2);
    NamePins(Inputs, names);
}

void TBTAnalogDemux::NameOutputs()
{
    for (int i = 0; i < OutputCount; ++i)
        Outputs[size_t(i)]->SetName(QStringLiteral("A") + QString::number(OutputCount - 1 - i));
}

void TBTAnalogDemux::Calculate()
{
    const Extended v = GetInputValue(1);
    const int k = GetInputDigital(0) ? Channel(2) : -1;
    // Output "A" + i is pin OutputCount - 1 - i.
    if (k != LastChannel) {
        for (int i = 0; i < OutputCount; ++i)
            SetOutputValue(OutputCount - 1 - i, i == k ? v : 0.0L);
        LastChannel = k;
        // The newly selected output holds v now; a later step must compare with it.
        LastValue = v;
    } else if (k >= 0 && v != LastValue) {
        LastValue = v;
        SetOutputValue(OutputCount - 1 - k, v);
    }
}

void TBTAnalogDemux::SimReset()
{
    for (int i = 0; i < OutputCount; ++i)
        SetOutputValue(i, 0.0L);
    LastValue = 0.0L;
    LastChannel = -1;
}
