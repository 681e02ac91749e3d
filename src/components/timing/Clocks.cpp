#include "components/timing/Clocks.h"

#include "components/analog/Integrators.h"
#include "components/core/CoreComponents.h"
#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <algorithm>
#include <cmath>

using BlockSupport::SecondsBetween;
using BlockSupport::TicksOf;

// --- TBTHiTakt -------------------------------------------------------------------------------

const TComponentDescription TBTHiTakt::Description{
    .Name = "TBTHiTakt", .Prefix = {"G"}, .HelpContext = 18275,
    .TypeName = {"Taktgenerator\r1Hz...1kHz", "Pulse generator\r1Hz...1kHz",
                 "Impulsion\r1Hz...1kHz"},
    .Outputs = {1}, .OutputNames = "-", .Category = TPaletteCategory::Zeitgeber};

TBTHiTakt::TBTHiTakt()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = true;
}

void TBTHiTakt::SimReset()
{
    ReferenceTime = Clock().PerformanceCounter();
    Level = false;
    SetOutputDigital(0, false);
    ChangeNumber = 1;
}

void TBTHiTakt::Calculate()
{
    const Extended half = 1.0L / (2.0L * Frequency);
    const Extended elapsed = SecondsBetween(ReferenceTime, Clock().PerformanceCounter());
    if (ChangeNumber * half > elapsed)
        return;
    Level = !Level;
    SetOutputDigital(0, Level);
    if (++ChangeNumber >= 1000) {
        // Move the reference past the 999 changes made, so that the numbers stay small.
        ReferenceTime += TicksOf(999 * half);
        ChangeNumber = 1;
    }
}

void TBTHiTakt::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    PaintClockWave(*this, canvas);
}

int TBTHiTakt::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetLabel());
    dlg.HelpContext = HelpContext;
    dlg.PropScrollbox->AddSpinProp(Translate(QStringLiteral("Frequenz")) + QStringLiteral(" [Hz]"),
                                   Frequency, MinFrequency, MaxFrequency, 64);
    return dlg.ExecuteWithOptions(*this);
}

void TBTHiTakt::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteInteger(Frequency);
}

void TBTHiTakt::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Frequency = std::clamp(reader.ReadInteger(), MinFrequency, MaxFrequency);
}

QString TBTHiTakt::GetHint() const
{
    return TGrundBT::GetHint() + QStringLiteral("\rf = ") + QString::number(Frequency)
        + QStringLiteral(" Hz");
}

// --- TBTTaktgeber_ES -------------------------------------------------------------------------

const TComponentDescription TBTTaktgeber_ES::Description{
    .Name = "TBTTaktgeber_ES", .Prefix = {"G"}, .HelpContext = 18285,
    .TypeName = {"Takt, einstellbar\r0,1s...1000s", "Pulse, adjustable\r0,1s...1000s",
                 "Impulsion ajustable\r0,1s...1000s"},
    .Inputs = {1}, .Outputs = {1}, .InputNames = "f", .OutputNames = "CLK",
    .Category = TPaletteCategory::Zeitgeber};

TBTTaktgeber_ES::TBTTaktgeber_ES()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = false;
    Clocked = true;
}

void TBTTaktgeber_ES::SimReset()
{
    TickCount = 0;
}

void TBTTaktgeber_ES::Calculate()
{
    SetOutputDigital(0, Level);
    const Extended ticks = 10.0L * GetInputValue(0);
    if (std::isnan(ticks) || ticks < 1.0L)
        TickLimit = 1;
    else if (ticks > 10000.0L)
        TickLimit = 10000;
    else
        TickLimit = std::max<int32_t>(1, static_cast<int32_t>(RoundHalfEven(ticks)));
}

void TBTTaktgeber_ES::ClockTick()
{
    if (++TickCount > TickLimit) {
        Level = !Level;
        TickCount = 0;
    }
}

void TBTTaktgeber_ES::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    PaintClockWave(*this, canvas);
}

// --- TBTVCO ----------------------------------------------------------------------------------

const TComponentDescription TBTVCO::Description{
    .Name = "TBTVCO", .Prefix = {"VCO"}, .HelpContext = 18290,
    .TypeName = {"Takt, einstellbar\r0.01Hz...1kHz", "Pulse, adjustable\r0.01Hz...1kHz",
                 "Impulsion ajustable\r0.01Hz...1kHz"},
    .Inputs = {1}, .Outputs = {1}, .InputNames = "f", .OutputNames = "CLK",
    .Category = TPaletteCategory::Zeitgeber};

TBTVCO::TBTVCO()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = false;
}

void TBTVCO::SimReset()
{
    LastChange = Clock().PerformanceCounter();
    Level = false;
    SetOutputDigital(0, false);
}

void TBTVCO::Calculate()
{
    const int64_t now = Clock().PerformanceCounter();
    const Extended v = GetInputValue(0);
    Extended f = v;
    if (!(f >= MinFrequency))  // NaN too
        f = MinFrequency;
    else if (f > MaxFrequency)
        f = MaxFrequency;
    if (f != Frequency) {
        // Re-anchor one old half period before the last change and take the last point before
        // now of the grid of the new half period.
        const int64_t perf = Ctx().PerfFrequency;
        const int64_t oldHalf = RoundHalfEven(perf / (2.0L * Frequency));
        const int64_t half = std::max<int64_t>(1, RoundHalfEven(perf / (2.0L * f)));
        LastChange -= oldHalf;
        if (LastChange < now)
            LastChange += (now - LastChange + half - 1) / half * half; // first point at or after now
        LastChange -= half;
        Frequency = f;
    }
    const Extended elapsed = SecondsBetween(LastChange, now);
    if (1.0L / (2.0L * Frequency) > elapsed)
        return;
    if (v >= MinFrequency) {
        Level = !Level;
        SetOutputDigital(0, Level);
    }
    LastChange += RoundHalfEven(Ctx().PerfFrequency / (2.0L * Frequency));
}

void TBTVCO::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    PaintClockWave(*this, canvas);
}
