#include "components/timing/SystemTime.h"

#include "components/analog/Integrators.h"
#include "frontpanel/elements/SwitchTimes.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"

#include <QLocale>

using BlockSupport::SecondsBetween;

QString SystemTimeText(const QTime& time)
{
    return LongTimeText(time);
}

QString SystemDateText(const QDate& date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

// --- TBTSysTime ------------------------------------------------------------------------------

const TComponentDescription TBTSysTime::Description{
    .Name = "TBTSysTime", .Prefix = {"TM"}, .HelpContext = 18220,
    .TypeName = {"Systemzeit", "System time", "Heure système"},
    .Outputs = {5, 4, 5}, .OutputNames = "ms S M H $", .Category = TPaletteCategory::Uhren};

TBTSysTime::TBTSysTime()
{
    Describe(Description);
    SetElementClass(QString());
}

void TBTSysTime::Calculate()
{
    const QTime t = Clock().LocalTime().time();
    SetOutputValue(0, t.msec());
    SetOutputValue(1, t.second());
    SetOutputValue(2, t.minute());
    SetOutputValue(3, t.hour());
    if (Outputs.size() > 4) {
        LastText = SystemTimeText(t);
        SetOutputText(4, LastText);
    }
}

void TBTSysTime::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 22, CenterY() - 38, 80, QStringLiteral("T"));
}

QString TBTSysTime::GetHint() const
{
    return TGrundBT::GetHint() + QLatin1Char('\r') + SystemTimeText(Clock().LocalTime().time());
}

// --- TBTSysDate ------------------------------------------------------------------------------

const TComponentDescription TBTSysDate::Description{
    .Name = "TBTSysDate", .Prefix = {"DT"}, .HelpContext = 18225,
    .TypeName = {"Systemdatum", "System date", "Date système"},
    .Outputs = {5, 4, 5}, .OutputNames = "DOW D M Y $", .Category = TPaletteCategory::Uhren};

TBTSysDate::TBTSysDate()
{
    Describe(Description);
    SetElementClass(QString());
}

void TBTSysDate::Calculate()
{
    const QDate d = Clock().LocalTime().date();
    SetOutputValue(0, d.dayOfWeek() % 7 + 1);  // Qt counts Monday 1 .. Sunday 7
    SetOutputValue(1, d.day());
    SetOutputValue(2, d.month());
    SetOutputValue(3, d.year());
    if (Outputs.size() > 4) {
        LastText = SystemDateText(d);
        SetOutputText(4, LastText);
    }
}

void TBTSysDate::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 22, CenterY() - 38, 80, QStringLiteral("D"));
}

QString TBTSysDate::GetHint() const
{
    return TGrundBT::GetHint() + QLatin1Char('\r') + SystemDateText(Clock().LocalTime().date());
}

// --- TBTFreqCount ----------------------------------------------------------------------------

const TComponentDescription TBTFreqCount::Description{
    .Name = "TBTFreqCount", .Prefix = {"FC"}, .HelpContext = 18510,
    .TypeName = {"Frequenzzähler", "Frequency\rcounter", "Compteur\rfréquence"},
    .Inputs = {1}, .Outputs = {1}, .InputNames = "CLK", .OutputNames = "f",
    .Category = TPaletteCategory::Zeitgeber};

TBTFreqCount::TBTFreqCount()
{
    Describe(Description);
    SetElementClass(QString());
}

void TBTFreqCount::SimReset()
{
    GateStart = Clock().PerformanceCounter();
    EdgeCount = 0;
    SetOutputValue(0, 0.0L);
    Estimate = 0.0L;
}

void TBTFreqCount::Calculate()
{
    const int64_t now = Clock().PerformanceCounter();
    const bool level = GetInputDigital(0);
    if (level && !PrevInput) {
        if (LastEdge != now) {
            const Extended period = SecondsBetween(LastEdge, now);
            Estimate = (9999.0L / period + Estimate) / 10000.0L;
        }
        ++EdgeCount;
        LastEdge = now;
    }
    PrevInput = level;
    if (RoundHalfEven(SecondsBetween(GateStart, now) * 100000.0L) < 100000)
        return;
    SetOutputValue(0, Estimate > 100.0L ? Extended(EdgeCount) : Estimate);
    EdgeCount = 0;
    GateStart = now;
}

void TBTFreqCount::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    canvas.Font.setItalic(true);
    canvas.Font.setFamily(QStringLiteral("ARIAL"));
    canvas.SetFontHeight(60);
    canvas.FontColor = MarkColor();
    canvas.TransparentText = true;
    canvas.TextOut(CenterX() - 10, CenterY() - 42, QStringLiteral("f"));
    canvas.Font.setItalic(false);
}
