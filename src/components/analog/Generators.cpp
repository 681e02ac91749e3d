#include "components/analog/Generators.h"

#include "components/analog/Integrators.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <QPoint>
#include <cmath>

namespace {

constexpr Extended kTwoPi = 6.283185307179586476925L;

// A parameter input read as seconds: negative values and NaN count as 0.
double NonNegative(Extended value)
{
    return value >= 0.0L ? static_cast<double>(value) : 0.0;
}

} // namespace

// --- TBTSignalBlock ------------------------------------------------------------------------

TBTSignalBlock::TBTSignalBlock(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
    Editable = false;
}

void TBTSignalBlock::SymbolPen(TCanvas& canvas) const
{
    canvas.Pen.Color = MarkColor();
    canvas.Pen.Width = 2;
    canvas.Pen.Style = Qt::SolidLine;
    canvas.Brush.Style = Qt::NoBrush;
}

double TBTSignalBlock::SecondsBetween(int64_t since, int64_t now)
{
    return static_cast<double>(now - since) / static_cast<double>(Ctx().PerfFrequency);
}

// --- TBTLimiter ----------------------------------------------------------------------------

const TComponentDescription TBTLimiter::Description{
    .Name = "TBTLimiter", .Prefix = {"LIM"}, .HelpContext = 18450,
    .TypeName = {"Begrenzer\rLimiter", "Limiter", "Limiteur"}, .Inputs = {4}, .Outputs = {3},
    .InputNames = "EN IN LiH LiL", .OutputNames = "ClpL ClpH A",
    .Category = TPaletteCategory::Sonstige};

TBTLimiter::TBTLimiter() : TBTSignalBlock(Description) {}

void TBTLimiter::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Pen.Width = 2;
    canvas.Pen.Style = Qt::SolidLine;
    canvas.Pen.Color = clBlack;
    canvas.MoveTo(cx - 40, cy - 14);
    canvas.LineTo(cx + 40, cy - 14);
    canvas.MoveTo(cx, cy - 54);
    canvas.LineTo(cx, cy + 26);
    canvas.Pen.Color = clRed;
    canvas.Polyline({QPoint(cx - 30, cy + 16), QPoint(cx - 15, cy + 16),
                     QPoint(cx + 15, cy - 44), QPoint(cx + 30, cy - 44)});
    canvas.Brush.Style = Qt::SolidPattern;
}

void TBTLimiter::Calculate()
{
    const bool enabled = GetInputDigital(InEN);
    const Extended x = GetInputValue(InIN);
    const Extended hi = GetInputValue(InLiH);
    const Extended lo = GetInputValue(InLiL);
    const bool above = enabled && x > hi;
    const bool below = enabled && x < lo;
    if (!above && !below) {
        SetOutputValue(OutA, x);
    } else {
        if (above)
            SetOutputValue(OutA, hi);
        if (below)
            SetOutputValue(OutA, lo);
    }
    SetOutputDigital(OutClpH, above);
    SetOutputDigital(OutClpL, below);
}

void TBTLimiter::SimReset()
{
    for (int i = 0; i < OutputCount; ++i)
        SetOutputValue(i, 0.0L);
}

// --- TBTFktGenerator -----------------------------------------------------------------------

const TComponentDescription TBTFktGenerator::Description{
    .Name = "TBTFktGenerator", .Prefix = {"SG", "SG", "GS"}, .HelpContext = 18445,
    .TypeName = {"Signalgenerator", "Signal generator", "Générateur\rde signal"}, .Inputs = {2},
    .Outputs = {5}, .InputNames = "f A", .OutputNames = "DWN RUP TRI REC SIN",
    .Category = TPaletteCategory::Quellen};

TBTFktGenerator::TBTFktGenerator() : TBTSignalBlock(Description) {}

void TBTFktGenerator::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    SymbolPen(canvas);
    // One glyph beside each output, 28 wide and 16 high, 30 in from the output edge; from
    // the top (from the bottom when mirrored): sine, square, triangle, rising and falling
    // sawtooth.
    const int cx = Mirrored ? Body.Left + 30 : Body.Right - 30;
    const int x0 = cx - 14;
    const int x1 = cx + 14;
    auto centreY = [this](int fromTop) {
        return Mirrored ? Body.Bottom - fromTop : Body.Top + fromTop;
    };
    int cy = centreY(40);
    std::vector<QPoint> sine;
    for (int i = 0; i <= 14; ++i) {
        const double phase = static_cast<double>(i) / 14.0;
        sine.emplace_back(x0 + 2 * i,
                          cy - static_cast<int>(std::lround(8.0 * std::sin(6.283185307 * phase))));
    }
    canvas.Polyline(sine);
    cy = centreY(80);
    canvas.Polyline({QPoint(x0, cy + 8), QPoint(x0, cy - 8), QPoint(cx, cy - 8),
                     QPoint(cx, cy + 8), QPoint(x1, cy + 8), QPoint(x1, cy - 8)});
    cy = centreY(120);
    canvas.Polyline({QPoint(x0, cy + 8), QPoint(cx, cy - 8), QPoint(x1, cy + 8)});
    cy = centreY(160);
    canvas.Polyline({QPoint(x0, cy + 8), QPoint(x1, cy - 8), QPoint(x1, cy + 8)});
    cy = centreY(200);
    canvas.Polyline({QPoint(x0, cy - 8), QPoint(x1, cy + 8), QPoint(x1, cy - 8)});
    canvas.Brush.Style = Qt::SolidPattern;
}

void TBTFktGenerator::Calculate()
{
    const int64_t now = Clock().PerformanceCounter();
    PhaseTime += SecondsBetween(LastCount, now);
    LastCount = now;
    Extended f = GetInputValue(InF);
    const Extended a = GetInputValue(InA);
    if (f < MinFrequency)
        f = MinFrequency;
    const Extended period = 1.0L / f;
    // Once per step: a step longer than a period leaves the phase above 1 for that step.
    if (PhaseTime > period)
        PhaseTime -= static_cast<double>(period);
    const Extended p = PhaseTime / period;
    const Extended r = a * p;
    const Extended s = std::sin(kTwoPi * p);
    SetOutputValue(OutSIN, s * a);
    // The half of the period decides, so that a negative amplitude mirrors every waveform
    // ("REC" keeps the sign of "SIN" and "TRI" stays within the amplitude).
    if (s >= 0.0L) {
        SetOutputValue(OutREC, a);
        SetOutputValue(OutTRI, 4.0L * r - a);
    } else {
        SetOutputValue(OutREC, -a);
        SetOutputValue(OutTRI, 4.0L * (a - r) - a);
    }
    SetOutputValue(OutRUP, 2.0L * r - a);
    SetOutputValue(OutDWN, a - 2.0L * r);
}

void TBTFktGenerator::SimReset()
{
    SetOutputValue(OutDWN, 0.0L);
    LastCount = Clock().PerformanceCounter();
    PhaseTime = 0.0;
}

// --- TBTPulse ------------------------------------------------------------------------------

const TComponentDescription TBTPulse::Description{
    .Name = "TBTPulse", .Prefix = {"PG"}, .HelpContext = 18296,
    .TypeName = {"Pulsgenerator", "Pulse generator", "Générateur\rde impulsion"}, .Inputs = {2},
    .Outputs = {1}, .InputNames = "TH TL", .OutputNames = "CLK",
    .Category = TPaletteCategory::Quellen};

TBTPulse::TBTPulse() : TBTSignalBlock(Description) {}

void TBTPulse::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    SymbolPen(canvas);
    const int cx = CenterX();
    const int top = Body.Top;
    canvas.Polyline({QPoint(cx - 25, top + 40), QPoint(cx - 20, top + 40),
                     QPoint(cx - 20, top + 20), QPoint(cx - 10, top + 20),
                     QPoint(cx - 10, top + 40), QPoint(cx + 20, top + 40),
                     QPoint(cx + 20, top + 20), QPoint(cx + 25, top + 20)});
    canvas.Brush.Style = Qt::SolidPattern;
}

void TBTPulse::Calculate()
{
    const int64_t now = Clock().PerformanceCounter();
    PhaseTime += SecondsBetween(LastCount, now);
    LastCount = now;
    const double th = NonNegative(GetInputValue(InTH));
    const double tl = NonNegative(GetInputValue(InTL));
    // At most one change per step; the time beyond the phase carries over.
    if (High) {
        if (PhaseTime > th) {
            PhaseTime -= th;
            High = false;
            SetOutputDigital(OutCLK, false);
        }
    } else if (PhaseTime > tl) {
        PhaseTime -= tl;
        High = true;
        SetOutputDigital(OutCLK, true);
    }
}

void TBTPulse::SimReset()
{
    SetOutputDigital(OutCLK, false);
    High = false;
    PhaseTime = 0.0;
    LastCount = Clock().PerformanceCounter();
}

// --- TBTRampenGenerator --------------------------------------------------------------------

const TComponentDescription TBTRampenGenerator::Description{
    .Name = "TBTRampenGenerator", .Prefix = {"RG"}, .HelpContext = 18446,
    .TypeName = {"Rampengenerator", "Ramp generator", "Rampe"}, .Inputs = {5}, .Outputs = {3},
    .InputNames = "Y1 Y2 T Y0 |RUN", .OutputNames = "RUN T Y",
    .Category = TPaletteCategory::Quellen};

TBTRampenGenerator::TBTRampenGenerator() : TBTSignalBlock(Description) {}

void TBTRampenGenerator::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    SymbolPen(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Polyline({QPoint(cx + 40, cy + 6), QPoint(cx + 30, cy + 6), QPoint(cx + 30, cy - 34),
                     QPoint(cx - 30, cy + 6), QPoint(cx - 40, cy + 6)});
    canvas.Brush.Style = Qt::SolidPattern;
}

void TBTRampenGenerator::Calculate()
{
    const bool run = GetInputDigital(InRUN);
    const int64_t now = Clock().PerformanceCounter();
    if (run != LastRun) {
        LastRun = run;
        if (!run) {
            StartCount = now;
            Running = true;
            SetOutputDigital(OutRUN, true);
            StartValue = GetInputValue(InY1);
            EndValue = GetInputValue(InY2);
            RampTime = GetInputValue(InT);
        } else {
            Running = false;
            SetOutputDigital(OutRUN, false);
        }
        return;
    }
    if (!Running) {
        SetOutputValue(OutY, GetInputValue(InY0));
        return;
    }
    Elapsed = SecondsBetween(StartCount, now);
    const Extended t = Elapsed;
    if (t > RampTime) {
        SetOutputDigital(OutRUN, false);
        Running = false;
        SetOutputValue(OutT, RampTime);
        return;
    }
    const Extended y = RampTime == 0.0L
                           ? EndValue
                           : t / RampTime * (EndValue - StartValue) + StartValue;
    SetOutputValue(OutY, y);
    SetOutputValue(OutT, t);
}

void TBTRampenGenerator::SimReset()
{
    SetOutputValue(OutRUN, 0.0L);
    Elapsed = 0.0;
    Running = false;
    LastRun = false;
    StartCount = Clock().PerformanceCounter();
}
