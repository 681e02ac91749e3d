#include "components/analog/Integrators.h"

#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <algorithm>

// --- Shared support --------------------------------------------------------------------------

namespace BlockSupport {

int ShowSettings(TIOBauteil& component, const std::function<void(TPropScrollbox&)>& addRows)
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(component.GetLabel());
    dlg.HelpContext = component.HelpContext;
    addRows(*dlg.PropScrollbox);
    return dlg.ExecuteWithOptions(component);
}

int EditSampling(TIOBauteil& component, TSampleTime& sampling, TFilter* filter)
{
    int32_t index = sampling.BeginEdit();
    TFilter::TEdit filterEdit = filter ? filter->BeginEdit() : TFilter::TEdit{};
    const int result = ShowSettings(component, [&](TPropScrollbox& sheet) {
        TSampleTime::AddRow(sheet, index);
        if (filter)
            TFilter::AddRows(sheet, filterEdit);
    });
    sampling.EndEdit(index);
    if (filter)
        filter->EndEdit(filterEdit);
    return result;
}

void SaveStateValue(const TIOBauteil& component, TIniFile& ini, const QString& section,
                    Extended value)
{
    ini.WriteFloat(component.StateSection(section), QStringLiteral("Value"),
                   static_cast<double>(value));
}

Extended LoadStateValue(TIOBauteil& component, TIniFile& ini, const QString& section)
{
    const Extended value =
        ini.ReadFloat(component.StateSection(section), QStringLiteral("Value"), 0.0);
    component.SetOutputValue(0, value);
    return value;
}

} // namespace BlockSupport

using namespace BlockSupport;

namespace {

// The integrator's and the differentiator's mark in the body.
void PaintMark(TGrundBT& c, TCanvas& canvas, const QString& text, int height, int dx)
{
    const int cx = (c.Body.Left + c.Body.Right) / 2;
    const int cy = (c.Body.Top + c.Body.Bottom) / 2;
    c.DrawMarkText(canvas, cx - dx, cy - 50, height, text);
}

} // namespace

// --- TBTIntegrierer ------------------------------------------------------------------------

const TComponentDescription TBTIntegrierer::Description{
    .Name = "TBTIntegrierer", .Prefix = {"INT"}, .HelpContext = 18485,
    .TypeName = {"Integrierer", "Integral", "Intégrale"}, .Inputs = {2}, .Outputs = {1},
    .InputNames = "E /RST", .OutputNames = "A", .Category = TPaletteCategory::Regler};

TBTIntegrierer::TBTIntegrierer()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = true;
}

void TBTIntegrierer::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    PaintMark(*this, canvas, QStringLiteral("d(+)"), 50, 34);
}

void TBTIntegrierer::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    Sampling.Write(writer);
}

void TBTIntegrierer::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Sampling.Read(reader, version);
}

int TBTIntegrierer::EditProperties()
{
    return EditSampling(*this, Sampling);
}

void TBTIntegrierer::SaveSettings(TIniFile& ini, const QString& section)
{
    SaveStateValue(*this, ini, section, Value);
}

bool TBTIntegrierer::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    Value = LoadStateValue(*this, ini, section);
    return true;
}

void TBTIntegrierer::Calculate()
{
    const int64_t now = Clock().PerformanceCounter();
    if (!GetInputDigital(1)) {
        Value = 0.0L;
        SetOutputValue(0, 0.0L);
        LastCount = now;
        return;
    }
    const Extended ts = Sampling.SampleTime;
    if (ts > 0.0L) {
        if (!SampleTimeElapsed(LastCount, now, ts))
            return;
        Value += GetInputValue(0) * ts;
        SetOutputValue(0, Value);
        // One sample per step at most: the grid moves by exactly one sample time.
        LastCount += TicksOf(ts);
    } else {
        Value += GetInputValue(0) * SecondsBetween(LastCount, now);
        SetOutputValue(0, Value);
        LastCount = now;
    }
}

void TBTIntegrierer::SimReset()
{
    LastCount = Clock().PerformanceCounter();
    Value = 0.0L;
    SetOutputValue(0, 0.0L);
}

// --- TBTDifferenzierer ---------------------------------------------------------------------

const TComponentDescription TBTDifferenzierer::Description{
    .Name = "TBTDifferenzierer", .Prefix = {"DIF"}, .HelpContext = 18490,
    .TypeName = {"Differenzierer", "Differential", "Différentiel"}, .Inputs = {2},
    .Outputs = {1}, .InputNames = "X /RST", .OutputNames = "Y",
    .Category = TPaletteCategory::Regler};

TBTDifferenzierer::TBTDifferenzierer()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = true;
}

void TBTDifferenzierer::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    PaintMark(*this, canvas, QStringLiteral("dx/dt"), 44, 40);
}

void TBTDifferenzierer::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    Sampling.Write(writer);
    Filter.WriteRecord(writer);
}

void TBTDifferenzierer::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Sampling.Read(reader, version);
    if (version >= 40)
        Filter.ReadRecord(reader);
}

int TBTDifferenzierer::EditProperties()
{
    return EditSampling(*this, Sampling, &Filter);
}

void TBTDifferenzierer::Calculate()
{
    if (!GetInputDigital(1)) {
        SimReset();
        return;
    }
    const Extended x = GetInputValue(0);
    const int64_t now = Clock().PerformanceCounter();
    const Extended dt = SecondsBetween(LastCount, now);
    const Extended xf = Filter.Step(x);
    const Extended ts = Sampling.SampleTime;
    if (ts > 0.0L) {
        if (dt < ts * SampleCount)
            return;
        SetOutputValue(0, (xf - LastInput) / ts);
        LastInput = xf;
        if (++SampleCount >= SamplesPerBase) {
            // Move the base by the samples taken since it; the grid stays where it was.
            LastCount += TicksOf((SampleCount - 1) * ts);
            SampleCount = 1;
        }
    } else {
        // Two steps within one clock tick give no difference quotient: keep the output.
        if (dt <= 0.0L)
            return;
        SetOutputValue(0, (xf - LastInput) / dt);
        LastInput = xf;
        LastCount = now;
    }
}

void TBTDifferenzierer::SimReset()
{
    LastCount = Clock().PerformanceCounter();
    SampleCount = 1;
    LastInput = 0.0L;
    SetOutputValue(0, 0.0L);
    Filter.Reset();
}

// --- TBT_Inkretment ------------------------------------------------------------------------

const TComponentDescription TBT_Inkretment::Description{
    .Name = "TBT_Inkretment", .Prefix = {"INC"}, .HelpContext = 18426,
    .TypeName = {"Inkrementation", "Incrementation", "Incrémentation"}, .Caption = {"INC"},
    .Inputs = {5}, .Outputs = {1}, .InputNames = "INC U/D |CLK /RST RES", .OutputNames = "Z",
    .Category = TPaletteCategory::Sonstige};

TBT_Inkretment::TBT_Inkretment()
{
    Describe(Description);
    SetElementClass(QString());
}

void TBT_Inkretment::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), SymbolColor);
}

void TBT_Inkretment::SaveSettings(TIniFile& ini, const QString& section)
{
    ini.WriteFloat(StateSection(section), QStringLiteral("Z"), static_cast<double>(Z));
}

bool TBT_Inkretment::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    Z = ini.ReadFloat(StateSection(section), QStringLiteral("Z"), 0.0);
    return true;
}

void TBT_Inkretment::Calculate()
{
    const Extended inc = GetInputValue(0);
    const bool up = GetInputDigital(1);
    const bool clk = GetInputDigital(2);
    if (!GetInputDigital(3))
        Z = GetInputValue(4);
    else if (!clk && LastClock)
        Z = up ? Z + inc : Z - inc;
    SetOutputValue(0, Z);
    LastClock = clk;
}

void TBT_Inkretment::SimReset()
{
    Z = 0.0L;
}

// --- TBT_AnalogDelay -----------------------------------------------------------------------

const TComponentDescription TBT_AnalogDelay::Description{
    .Name = "TBT_AnalogDelay", .Prefix = {"ADL"}, .HelpContext = 18427,
    .TypeName = {"Analogverzögerung", "Analogue delay", "Délai analogique"}, .Caption = {"ADL"},
    .Inputs = {2}, .Outputs = {1}, .InputNames = "IN |CLK", .OutputNames = "OUT",
    .Category = TPaletteCategory::Sonstige};

TBT_AnalogDelay::TBT_AnalogDelay()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = true;
    RebuildCells();
}

void TBT_AnalogDelay::RebuildCells()
{
    DelayLength = std::clamp(DelayLength, MinDelay, MaxDelay);
    Cells.assign(static_cast<size_t>(DelayLength), 0.0L);
    NextCell = 0;
}

void TBT_AnalogDelay::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), SymbolColor);
}

void TBT_AnalogDelay::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteInteger(DelayLength);
}

void TBT_AnalogDelay::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    // A stored length outside the ring's range is brought into it.
    DelayLength = reader.ReadInteger();
    RebuildCells();
}

int TBT_AnalogDelay::EditProperties()
{
    int32_t length = DelayLength;
    const int result = ShowSettings(*this, [&](TPropScrollbox& sheet) {
        sheet.AddSpinProp(Translate(QStringLiteral("Verzögerung")) + QStringLiteral(" [x CLK]"),
                          length, MinDelay, MaxDelay, 64);
    });
    DelayLength = length;
    RebuildCells();
    return result;
}

void TBT_AnalogDelay::Calculate()
{
    const bool clk = GetInputDigital(1);
    if (!clk && LastClock && !Cells.empty()) {
        const size_t cell = static_cast<size_t>(NextCell) % Cells.size();
        SetOutputValue(0, Cells[cell]);
        Cells[cell] = GetInputValue(0);
        NextCell = static_cast<int32_t>((cell + 1) % Cells.size());
    }
    LastClock = clk;
}

void TBT_AnalogDelay::SimReset()
{
    std::fill(Cells.begin(), Cells.end(), 0.0L);
    NextCell = 0;
}
