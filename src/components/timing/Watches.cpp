#include "components/timing/Watches.h"

#include "frontpanel/elements/SwitchTimes.h"
#include "frontpanel/elements/TimeSwitch.h"
#include "frontpanel/elements/Watches.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/IniFile.h"

#include <QDateTime>

#include <cmath>
#include <numbers>

namespace {

int32_t SecondOfDay(const QTime& t)
{
    return t.hour() * 3600 + t.minute() * 60 + t.second();
}

// Points of the arc of the ellipse in the box from angle a0 to a1 (degrees, counter-clockwise
// from three o'clock, y up).
std::vector<QPoint> Arc(int x1, int y1, int x2, int y2, double a0, double a1)
{
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
    std::vector<QPoint> points;
    constexpr int kSteps = 16;
    for (int i = 0; i <= kSteps; ++i) {
        const double a = (a0 + (a1 - a0) * i / kSteps) * std::numbers::pi / 180.0;
        points.emplace_back(int(std::lround(cx + rx * std::cos(a))), int(std::lround(cy - ry * std::sin(a))));
    }
    return points;
}

// The alarm-clock face of the alarm clock and the time switches.
void PaintAlarmFace(TCanvas& canvas, int cx, int cy, int32_t pen)
{
    canvas.Pen = TCanvasPen{pen, 3, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{clWhite, Qt::SolidPattern};
    canvas.Ellipse(cx - 16, cy - 28, cx + 16, cy + 4);
    canvas.Pen.Width = 2;
    // The bells: the top and the bottom quarter of the circle around the face.
    canvas.Polyline(Arc(cx - 22, cy - 34, cx + 22, cy + 10, 45, 135));
    canvas.Polyline(Arc(cx - 22, cy - 34, cx + 22, cy + 10, 225, 315));
    canvas.Brush = TCanvasBrush{pen, Qt::SolidPattern};
    canvas.Ellipse(cx - 2, cy - 14, cx + 3, cy - 9);
    canvas.MoveTo(cx, cy - 12);
    canvas.LineTo(cx, cy - 24);
    canvas.MoveTo(cx, cy - 12);
    canvas.LineTo(cx + 10, cy - 12);
}

} // namespace

bool AlarmPassed(int32_t last, int32_t now, int32_t alarm)
{
    if (now < last)  // midnight lay between the two checks
        return alarm <= now || last < alarm;
    return last < alarm && alarm <= now;
}

// --- Descriptions ---------------------------------------------------------------------------

const TComponentDescription TBTStopUhr::Description{
    .Name = "TBTStopUhr", .Prefix = {"Stp"}, .HelpContext = 18200,
    .TypeName = {"Stoppuhr", "Stop watch", "Chronomètre"}, .Inputs = {3}, .Outputs = {2, 1, 2},
    .InputNames = "|RUN |STP |RST", .OutputNames = "T $T", .Category = TPaletteCategory::Uhren};

const TComponentDescription TBTSchaltUhr::Description{
    .Name = "TBTSchaltUhr", .Prefix = {"Ti"}, .HelpContext = 18205,
    .TypeName = {"Wecker", "Alarm clock", "Alarme horloge"}, .Inputs = {1}, .Outputs = {1},
    .InputNames = "|RST", .OutputNames = "Q", .Category = TPaletteCategory::Uhren};

const TComponentDescription TBTWochenSchaltuhr::Description{
    .Name = "TBTWochenSchaltuhr", .Prefix = {"WTi"}, .HelpContext = 18215,
    .TypeName = {"Wochenschaltuhr", "Week timer", "Timer semaine"}, .Outputs = {1},
    .OutputNames = "Q", .Category = TPaletteCategory::Uhren};

const TComponentDescription TBTTagesSchaltuhr::Description{
    .Name = "TBTTagesSchaltuhr", .Prefix = {"DTi"}, .HelpContext = 18210,
    .TypeName = {"Tagesschaltuhr", "Day timer", "Timer journalier"}, .Outputs = {1},
    .OutputNames = "Q", .Category = TPaletteCategory::Uhren};

// --- Stop watch -----------------------------------------------------------------------------

TBTStopUhr::TBTStopUhr()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TStopUhr"));
}

TBTStopUhr::~TBTStopUhr()
{
    // The element may outlive the component by a moment; it calls it no more.
    if (auto* watch = ElementAs<TStopUhr>())
        watch->OnStart = watch->OnStop = watch->OnReset = nullptr;
}

void TBTStopUhr::PrepareElement(TFP_Element& element)
{
    if (auto* watch = dynamic_cast<TStopUhr*>(&element)) {
        watch->OnStart = [this](TFP_Element*) { Start(); };
        watch->OnStop = [this](TFP_Element*) { Stop(); };
        watch->OnReset = [this](TFP_Element*) { Reset(); };
    }
}

void TBTStopUhr::SetLink(TFP_Element* element)
{
    // An element that is no longer ours stops calling this component.
    if (auto* old = ElementAs<TStopUhr>(); old && old != element)
        old->OnStart = old->OnStop = old->OnReset = nullptr;
    TBTPanelComponent::SetLink(element);
}

void TBTStopUhr::Show(TStopUhr& watch)
{
    watch.UpdateDisplay();
    watch.update();
}

void TBTStopUhr::WriteOutputs(TStopUhr& watch, Extended seconds, bool readOutChanged)
{
    SetOutputValue(0, seconds);
    if (OutputCount > 1 && readOutChanged)
        SetOutputText(1, watch.Anzeige);
}

void TBTStopUhr::Start()
{
    auto* watch = ElementAs<TStopUhr>();
    if (!watch)
        return;
    if (!watch->Laeuft) {
        const int64_t now = Clock().PerformanceCounter();
        watch->StartZaehler = now - (watch->JetztZaehler - watch->StartZaehler);
        watch->JetztZaehler = now;
    }
    watch->Laeuft = true;
    Show(*watch);
}

void TBTStopUhr::Stop()
{
    auto* watch = ElementAs<TStopUhr>();
    if (!watch || !watch->Laeuft)
        return;
    watch->JetztZaehler = Clock().PerformanceCounter();
    watch->Laeuft = false;
    Show(*watch);
    const Extended ticks = Extended(watch->JetztZaehler - watch->StartZaehler);
    const Extended ms = std::nearbyint(ticks / Extended(Clock().PerformanceFrequency()) * 1000);
    WriteOutputs(*watch, ms / 1000);
}

void TBTStopUhr::Reset()
{
    SimReset();
    if (auto* watch = ElementAs<TStopUhr>())
        Show(*watch);
}

void TBTStopUhr::SimReset()
{
    TBTPanelComponent::SimReset();
    auto* watch = ElementAs<TStopUhr>();
    if (!watch)
        return;
    watch->JetztZaehler = watch->StartZaehler;
    watch->Laeuft = false;
    Show(*watch);
    WriteOutputs(*watch, 0);
}

void TBTStopUhr::Calculate()
{
    // Each edge is taken from the levels as they are now, in this order, so that several act
    // in one step.
    const bool run = InputFell(0, PrevRun);
    const bool stop = InputFell(1, PrevStop);
    const bool reset = InputFell(2, PrevReset);
    if (run)
        Start();
    if (stop)
        Stop();
    if (reset)
        Reset();
    auto* watch = ElementAs<TStopUhr>();
    if (!watch || !watch->Laeuft)
        return;
    watch->JetztZaehler = Clock().PerformanceCounter();
    const bool changed = watch->UpdateDisplay();
    WriteOutputs(*watch, Extended(watch->JetztZaehler - watch->StartZaehler) / Extended(Clock().PerformanceFrequency()),
                 changed);
}

void TBTStopUhr::SaveSettings(TIniFile& ini, const QString& boardName)
{
    const auto* watch = ElementAs<TStopUhr>();
    if (!watch)
        return;
    const QString section = StateSection(boardName);
    const uint64_t elapsed = uint64_t(watch->JetztZaehler - watch->StartZaehler);
    ini.WriteBool(section, QStringLiteral("Running"), watch->Laeuft);
    ini.WriteInteger(section, QStringLiteral("TimeH"), int32_t(uint32_t(elapsed >> 32)));
    ini.WriteInteger(section, QStringLiteral("TimeL"), int32_t(uint32_t(elapsed)));
}

bool TBTStopUhr::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    auto* watch = ElementAs<TStopUhr>();
    if (!watch)
        return true;
    const QString section = StateSection(boardName);
    const int64_t high = ini.ReadInteger(section, QStringLiteral("TimeH"), 0);
    const uint32_t low = uint32_t(ini.ReadInteger(section, QStringLiteral("TimeL"), 0));
    // A negative time from a damaged file counts as none.
    const int64_t elapsed = std::max<int64_t>(0, int64_t(uint64_t(high) << 32 | low));
    const int64_t now = Clock().PerformanceCounter();
    watch->StartZaehler = now - elapsed;
    watch->JetztZaehler = now;
    watch->Laeuft = ini.ReadBool(section, QStringLiteral("Running"), false);
    Show(*watch);
    const Extended ms = std::nearbyint(Extended(elapsed) / Extended(Clock().PerformanceFrequency()) * 1000);
    WriteOutputs(*watch, ms / 1000);
    return true;
}

void TBTStopUhr::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    const int32_t pen = MarkColor();
    canvas.Pen = TCanvasPen{pen, 3, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{clWhite, Qt::SolidPattern};
    canvas.Ellipse(cx - 30, cy - 44, cx + 30, cy + 16);
    canvas.Brush = TCanvasBrush{pen, Qt::SolidPattern};
    canvas.Ellipse(cx - 3, cy - 17, cx + 4, cy - 10);
    canvas.Pen.Width = 2;
    canvas.MoveTo(cx, cy - 14);
    canvas.LineTo(cx, cy - 40);
    canvas.MoveTo(cx, cy - 14);
    canvas.LineTo(cx + 20, cy - 14);
}

// --- Alarm clock ----------------------------------------------------------------------------

TBTSchaltUhr::TBTSchaltUhr()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TSchaltUhr"));
    Clocked = true;
}

TBTSchaltUhr::~TBTSchaltUhr()
{
    if (auto* clock = ElementAs<TSchaltUhr>())
        clock->OnReset = nullptr;
}

void TBTSchaltUhr::PrepareElement(TFP_Element& element)
{
    if (auto* clock = dynamic_cast<TSchaltUhr*>(&element))
        clock->OnReset = [this](TFP_Element*) { ResetAlarm(); };
}

void TBTSchaltUhr::SetLink(TFP_Element* element)
{
    if (auto* old = ElementAs<TSchaltUhr>(); old && old != element)
        old->OnReset = nullptr;
    TBTPanelComponent::SetLink(element);
}

void TBTSchaltUhr::SimReset()
{
    TBTPanelComponent::SimReset();
    TickCounter = 0;
    SetOutputDigital(0, false);
    PrevReset = false;
    LastCheck = SecondOfDay(Clock().LocalTime().time());
    Triggered = false;
}

void TBTSchaltUhr::Calculate()
{
    if (InputFell(0, PrevReset))
        SimReset();
}

void TBTSchaltUhr::ClockTick()
{
    if (++TickCounter < 20)
        return;
    TickCounter = 0;
    auto* clock = ElementAs<TSchaltUhr>();
    if (!clock)
        return;
    clock->InvalidateTimeArea();
    const QDateTime moment = Clock().LocalTime();
    const int32_t now = SecondOfDay(moment.time());
    const int32_t last = LastCheck;
    // The check time moves on every day, so the first check of the alarm's weekday compares
    // with the second before midnight, not with the last check of an earlier day.
    LastCheck = now;
    if (clock->AlarmTag > 0 && clock->AlarmTag != WeekdayOf(moment))
        return;
    if (AlarmPassed(last, now, clock->AlarmSecondOfDay())) {
        SetOutputDigital(0, true);
        Triggered = true;
    }
}

QString TBTSchaltUhr::GetHint() const
{
    QString hint = TBTPanelComponent::GetHint() + u'\r';
    if (const auto* clock = ElementAs<TSchaltUhr>()) {
        const QString day = WeekdayAbbreviation(clock->AlarmTag);
        if (!day.isEmpty())
            hint += day + QStringLiteral(". ");
        const int alarm = clock->AlarmSecondOfDay();
        hint += LongTimeText(QTime(alarm / 3600, alarm / 60 % 60, alarm % 60));
    }
    return hint;
}

void TBTSchaltUhr::SaveSettings(TIniFile& ini, const QString& boardName)
{
    ini.WriteBool(StateSection(boardName), QStringLiteral("Triggered"), Triggered);
}

bool TBTSchaltUhr::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    Triggered = ini.ReadBool(StateSection(boardName), QStringLiteral("Triggered"), false);
    SetOutputDigital(0, Triggered);
    return true;
}

void TBTSchaltUhr::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    PaintAlarmFace(canvas, CenterX(), CenterY(), MarkColor());
}

// --- Time switches --------------------------------------------------------------------------

TBTWochenSchaltuhr::TBTWochenSchaltuhr()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TWochenSchaltuhr"));
    Clocked = true;
}

TBTTagesSchaltuhr::TBTTagesSchaltuhr()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TTagesSchaltuhr"));
    Clocked = true;
}

void TBTTimeSwitch::SimReset()
{
    TBTPanelComponent::SimReset();
    TickCounter = 0;
    if (auto* timer = ElementAs<TTimeSwitchElement>()) {
        timer->SyncToNow();
        SetOutputDigital(0, timer->Output);
    }
}

void TBTTimeSwitch::ClockTick()
{
    if (++TickCounter < 20)
        return;
    TickCounter = 0;
    if (auto* timer = ElementAs<TTimeSwitchElement>()) {
        timer->InvalidateFace();
        timer->CheckSwitchTimes();
        SetOutputDigital(0, timer->Output);
    }
}

void TBTTimeSwitch::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    PaintAlarmFace(canvas, CenterX(), CenterY(), MarkColor());
}
