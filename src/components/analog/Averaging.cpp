#include "components/analog/Averaging.h"

#include "components/analog/Integrators.h"
#include "components/analog/SampleTime.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <algorithm>
#include <cmath>

using namespace BlockSupport;

namespace {

// The averaging intervals are the sample-time entries from "100 ms" on; their stored times
// are the same 48-bit reals.
constexpr int kFirstSampleTimeEntry = 7;

// The list entry whose time lies nearest to seconds (the first entry for no usable time).
int16_t NearestInterval(double seconds)
{
    int16_t best = 0;
    if (!std::isfinite(seconds))
        return best;
    for (int i = 1; i < TBTMittelwert::IntervalCount; ++i) {
        if (std::fabs(TBTMittelwert::IntervalSeconds(i) - seconds)
            < std::fabs(TBTMittelwert::IntervalSeconds(best) - seconds))
            best = static_cast<int16_t>(i);
    }
    return best;
}

} // namespace

void PaintSymbolLetters(TGrundBT& component, TCanvas& canvas, const QString& letters)
{
    const int cx = (component.Body.Left + component.Body.Right) / 2;
    const int cy = (component.Body.Top + component.Body.Bottom) / 2;
    component.DrawMarkText(canvas, cx - 32, cy - 34, 40, letters);
    canvas.Brush.Style = Qt::SolidPattern;
}

// --- TBTMittelwert -------------------------------------------------------------------------

const TComponentDescription TBTMittelwert::Description{
    .Name = "TBTMittelwert", .Prefix = {"MW", "MV", "VM"}, .HelpContext = 18435,
    .TypeName = {"Mittelwert", "Mean value", "Valeur moyenne"}, .Inputs = {1}, .Outputs = {1},
    .InputNames = "E", .OutputNames = "A", .Category = TPaletteCategory::Berechnung};

TBTMittelwert::TBTMittelwert()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = true;
    Clocked = true;
    SetInterval(IntervalSeconds(0));
}

const QStringList& TBTMittelwert::IntervalCaptions()
{
    static const QStringList captions{
        QStringLiteral("0.1 s"),  QStringLiteral("0.2 s"),  QStringLiteral("0.5 s"),
        QStringLiteral("1 s"),    QStringLiteral("2 s"),    QStringLiteral("5 s"),
        QStringLiteral("10 s"),   QStringLiteral("30 s"),   QStringLiteral("1 min"),
        QStringLiteral("2 min"),  QStringLiteral("5 min"),  QStringLiteral("10 min"),
        QStringLiteral("20 min"), QStringLiteral("30 min"),
    };
    return captions;
}

double TBTMittelwert::IntervalSeconds(int index)
{
    if (index < 0 || index >= IntervalCount)
        index = 0;
    return SampleTimes::Seconds(index + kFirstSampleTimeEntry);
}

void TBTMittelwert::SetInterval(double seconds)
{
    int64_t ticks = RoundHalfEven(static_cast<Extended>(seconds) * TicksPerSecond);
    if (!std::isfinite(seconds) || ticks < 1 || ticks > 0xFFFF) {
        seconds = IntervalSeconds(IntervalIndex);
        ticks = RoundHalfEven(static_cast<Extended>(seconds) * TicksPerSecond);
    }
    Interval = seconds;
    TicksPerSample = static_cast<uint16_t>(ticks);
    TickCounter = static_cast<uint16_t>(TicksPerSample - 1);
}

void TBTMittelwert::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    PaintSymbolLetters(*this, canvas, Lang3Q("MW", "MV", "VM"));
}

void TBTMittelwert::ClockTick()
{
    ++TickCounter; // wraps at 65536 like the stored 16-bit counter
    if (TickCounter != TicksPerSample)
        return;
    TickCounter = 0;
    if (SampleCount < 0 || SampleCount >= N)
        SampleCount = 0;
    ++SampleCount;
    Ring[static_cast<size_t>(SampleCount - 1)] = GetInputValue(0);
    const int32_t used = Filling ? SampleCount : N;
    Extended sum = 0.0L;
    for (int32_t i = 0; i < used; ++i)
        sum += Ring[static_cast<size_t>(i)];
    SetOutputValue(0, sum / used);
    if (SampleCount == N) {
        Filling = false;
        SampleCount = 0;
    }
}

int TBTMittelwert::EditProperties()
{
    int32_t index = IntervalIndex;
    int32_t count = N;
    const int result = ShowSettings(*this, [&](TPropScrollbox& sheet) {
        sheet.AddComboProp(Translate(QStringLiteral("Abtastrate")), index, IntervalCaptions(),
                           64);
        sheet.AddSpinProp(
            Translate(QStringLiteral("Anzahl der Messwerte zur Bildung des Mittelwertes")),
            count, 2, RingSize, 64);
    });
    // Whatever the result: the chosen entry takes effect and the average starts afresh.
    if (index >= 0 && index < IntervalCount)
        IntervalIndex = static_cast<int16_t>(index);
    N = std::clamp(count, int32_t(1), RingSize);
    SetInterval(IntervalSeconds(IntervalIndex));
    SimReset();
    return result;
}

void TBTMittelwert::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteRawReal48(Interval);
    writer.WriteRawInt16(IntervalIndex);
    writer.WriteInteger(N);
}

void TBTMittelwert::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    const double interval = reader.ReadRawReal48();
    const int16_t index = reader.ReadRawInt16();
    const int32_t count = reader.ReadInteger();
    IntervalIndex = index >= 0 && index < IntervalCount ? index : NearestInterval(interval);
    N = std::clamp(count, int32_t(1), RingSize);
    SampleCount = 0;
    Filling = true;
    SetInterval(interval);
}

void TBTMittelwert::SimReset()
{
    SetOutputValue(0, GetInputValue(0));
    TickCounter = static_cast<uint16_t>(TicksPerSample - 1);
    Filling = true;
    SampleCount = 0;
    Ring.fill(0.0L);
}
