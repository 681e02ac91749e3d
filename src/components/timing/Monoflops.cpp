#include "components/timing/Monoflops.h"

#include "components/analog/Integrators.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/ValueText.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <algorithm>
#include <cmath>
#include <limits>

using BlockSupport::SecondsBetween;

namespace {
enum { OutNotQ = 0, OutQ = 1 };

void DrawPulse(TCanvas& canvas, int cx, int base, int top)
{
    canvas.Polyline({{cx - 15, base}, {cx - 8, base}, {cx - 8, top}, {cx + 8, top},
                     {cx + 8, base}, {cx + 15, base}});
}
} // namespace

// --- TBTMonoFlopBase -------------------------------------------------------------------------

TBTMonoFlopBase::TBTMonoFlopBase(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
    Editable = true;
}

void TBTMonoFlopBase::SimReset()
{
    SetOutputDigital(OutNotQ, true);
    SetOutputDigital(OutQ, false);
    Triggered = false;
}

void TBTMonoFlopBase::Calculate()
{
    TakeDuration();
    const bool e = GetInputDigital(0);
    if (!GetInputDigital(ResetInput())) {
        SimReset();  // an edge seen while the reset is active is lost
    } else {
        const int64_t now = Clock().PerformanceCounter();
        if (!e && PrevTrigger && (Retrigger || !Triggered)) {
            // The pulse shows for at least this step, also with a duration of 0.
            Triggered = true;
            SetOutputDigital(OutNotQ, false);
            SetOutputDigital(OutQ, true);
            PulseStart = now;
        } else if (Triggered && !PulseGoesOn(SecondsBetween(PulseStart, now))) {
            SimReset();
        }
    }
    PrevTrigger = e;
}

void TBTMonoFlopBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    canvas.Pen = TCanvasPen{MarkColor(), 2, Qt::SolidLine, TPenMode::Copy};
    const int base = PulseBase();
    DrawPulse(canvas, CenterX(), base, base - 16);
    // The edge wedge at the trigger input.
    const int x = Mirrored ? Body.Right : Body.Left;
    const int d = Mirrored ? -16 : 16;
    const int y = Inputs[0]->Y;
    canvas.Polyline({{x, y - 12}, {x + d, y}, {x, y + 12}});
}

void TBTMonoFlopBase::SaveSettings(TIniFile& ini, const QString& boardName)
{
    ini.WriteBool(StateSection(boardName), QStringLiteral("Triggered"), Triggered);
}

bool TBTMonoFlopBase::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    Triggered = ini.ReadBool(StateSection(boardName), QStringLiteral("Triggered"), false);
    SetOutputDigital(OutNotQ, !Triggered);
    SetOutputDigital(OutQ, Triggered);
    PulseStart = Clock().PerformanceCounter();
    return true;
}

// --- TBTMonoFlop -----------------------------------------------------------------------------

const TComponentDescription TBTMonoFlop::Description{
    .Name = "TBTMonoFlop", .Prefix = {"MF"}, .HelpContext = 18280,
    .TypeName = {"MonoFlop", "Mono-flop", "Monoflop"}, .Inputs = {2}, .Outputs = {2},
    .InputNames = "|E /RST", .OutputNames = "/Q Q", .Category = TPaletteCategory::Zeitgeber};

TBTMonoFlop::TBTMonoFlop() : TBTMonoFlopBase(Description) {}

int TBTMonoFlop::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetLabel());
    dlg.HelpContext = HelpContext;
    QString duration = ValueToText(Duration);
    dlg.PropScrollbox->AddEditProp(Translate(QStringLiteral("Dauer")) + QStringLiteral(" [s]"),
                                   duration, 0, 64);
    dlg.PropScrollbox->AddCheckProp(QStringLiteral("Retrigger"), Retrigger);
    const int result = dlg.ExecuteWithOptions(*this);
    if (result == mrOk)
        Duration = TextToValue(duration);
    return result;
}

void TBTMonoFlop::WriteData(TWriter& writer)
{
    TBTMonoFlopBase::WriteData(writer);
    writer.WriteInteger(0);
    writer.WriteBoolean(Retrigger);
    writer.WriteFloat(Duration);
}

void TBTMonoFlop::ReadData(TReader& reader, uint8_t version)
{
    TBTMonoFlopBase::ReadData(reader, version);
    Duration = reader.ReadInteger() * 0.05L;
    if (version >= 40) {
        Retrigger = reader.ReadBoolean();
        Duration = reader.ReadFloat();
    }
}

QString TBTMonoFlop::GetHint() const
{
    QString seconds = QString::number(static_cast<double>(Duration), 'g', 15);
    seconds.replace(QLatin1Char('.'), LocaleDecimalSeparator());
    return TBTMonoFlopBase::GetHint() + QLatin1Char('\r') + seconds + QStringLiteral(" s");
}

// --- TBTMonoFlopDyn --------------------------------------------------------------------------

const TComponentDescription TBTMonoFlopDyn::Description{
    .Name = "TBTMonoFlopDyn", .Prefix = {"MFD"}, .HelpContext = 18281,
    .TypeName = {"MonoFlop, einstellbar", "Mono-flop", "Monoflop ajustable"}, .Inputs = {3},
    .Outputs = {2}, .InputNames = "|E T /RST", .OutputNames = "/Q Q",
    .Category = TPaletteCategory::Zeitgeber};

TBTMonoFlopDyn::TBTMonoFlopDyn() : TBTMonoFlopBase(Description) {}

void TBTMonoFlopDyn::TakeDuration()
{
    const Extended ms = 1000.0L * GetInputValue(1);
    constexpr Extended top = std::numeric_limits<int32_t>::max();
    if (std::isnan(ms) || ms <= 0.0L)
        DurationMs = 0;
    else
        DurationMs = ms >= top ? std::numeric_limits<int32_t>::max()
                               : static_cast<int32_t>(RoundHalfEven(ms));
}

int TBTMonoFlopDyn::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetLabel());
    dlg.HelpContext = HelpContext;
    dlg.PropScrollbox->AddCheckProp(QStringLiteral("Retrigger"), Retrigger);
    return dlg.ExecuteWithOptions(*this);
}

void TBTMonoFlopDyn::WriteData(TWriter& writer)
{
    TBTMonoFlopBase::WriteData(writer);
    writer.WriteBoolean(Retrigger);
}

void TBTMonoFlopDyn::ReadData(TReader& reader, uint8_t version)
{
    TBTMonoFlopBase::ReadData(reader, version);
    Retrigger = reader.ReadBoolean();
}

// --- TBTOnOffDelay ---------------------------------------------------------------------------

const TComponentDescription TBTOnOffDelay::Description{
    .Name = "TBTOnOffDelay", .Prefix = {"DLY"}, .HelpContext = 18295,
    .TypeName = {"Schaltverzögerung", "Switch delay", "Interrupteur\rtemporisé"},
    .Inputs = {1}, .Outputs = {1}, .InputNames = "In", .OutputNames = "Out",
    .Category = TPaletteCategory::Zeitgeber};

TBTOnOffDelay::TBTOnOffDelay()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = true;
    Clocked = true;
}

void TBTOnOffDelay::SimReset()
{
    TickCount = 0;
    SetOutputDigital(0, GetInputDigital(0));
}

void TBTOnOffDelay::Calculate()
{
    const bool a = GetInputDigital(0);
    if (a && !PrevInput) {
        Direction = true;
        TickCount = 0;
        if (OnDelay == 0)
            SetOutputDigital(0, true);
    } else if (!a && PrevInput) {
        Direction = false;
        TickCount = 0;
        if (OffDelay == 0)
            SetOutputDigital(0, false);
    }
    PrevInput = a;
}

void TBTOnOffDelay::ClockTick()
{
    ++TickCount;
    const int32_t d = Direction ? OnDelay : OffDelay;
    if (TickCount == d || d == 0) {
        TickCount = 0;
        SetOutputDigital(0, Direction);
    }
}

void TBTOnOffDelay::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int lo = Body.Top + 40;
    const int hi = Body.Top + 20;
    canvas.Pen = TCanvasPen{MarkColor(), 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Polyline({{cx - 25, lo}, {cx - 20, lo}, {cx - 20, hi}, {cx + 20, hi}, {cx + 20, lo},
                     {cx + 25, lo}});
    canvas.Polyline({{cx - 20, lo}, {cx - 10, lo}, {cx - 10, hi}});
    canvas.Polyline({{cx + 10, hi}, {cx + 10, lo}, {cx + 20, lo}});
}

int TBTOnOffDelay::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetLabel());
    dlg.HelpContext = HelpContext;
    const QString unit = QStringLiteral(" [x 50ms]");
    dlg.PropScrollbox->AddSpinProp(Translate(QStringLiteral("Einschaltverzögerung")) + unit,
                                   OnDelay, 0, MaxDelay, 64);
    dlg.PropScrollbox->AddSpinProp(Translate(QStringLiteral("Ausschaltverzögerung")) + unit,
                                   OffDelay, 0, MaxDelay, 64);
    return dlg.ExecuteWithOptions(*this);
}

void TBTOnOffDelay::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteInteger(OnDelay);
    writer.WriteInteger(OffDelay);
}

void TBTOnOffDelay::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    OnDelay = std::clamp(reader.ReadInteger(), 0, MaxDelay);
    OffDelay = std::clamp(reader.ReadInteger(), 0, MaxDelay);
}
