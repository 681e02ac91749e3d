#include "components/signal/Amplifiers.h"

#include "components/signal/SignalSupport.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <QPoint>
#include <algorithm>
#include <cmath>

using namespace SignalSupport;

namespace {

Extended Limit(Extended v, Extended limit)
{
    return std::clamp(v, -limit, limit);
}

} // namespace

// --- TBTVerstaerker --------------------------------------------------------------------------

const TComponentDescription TBTVerstaerker::Description{
    .Name = "TBTVerstaerker", .Prefix = {"AMP"}, .HelpContext = 18405,
    .TypeName = {"Verstärker", "Amplifier", "Amplificateur"}, .Inputs = {3}, .Outputs = {1},
    .InputNames = "In A Off", .OutputNames = "Out",
    .Category = TPaletteCategory::Verstaerker};

TBTVerstaerker::TBTVerstaerker()
{
    Describe(Description);
    MakeBlock(*this, false);
}

void TBTVerstaerker::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int x = CenterX();
    const int y = CenterY();
    const int d = Mirrored ? -30 : 30;
    MarkPen(*this, canvas, 2);
    canvas.Polyline({QPoint(x - d, y - 44), QPoint(x + d, y - 14), QPoint(x - d, y + 16),
                     QPoint(x - d, y - 44)});
    canvas.Brush.Style = Qt::SolidPattern;
}

void TBTVerstaerker::Calculate()
{
    const Extended out = Limit(Limit(GetInputValue(2), 1e20L)
                                   + Limit(GetInputValue(0), 1e20L) * Limit(GetInputValue(1), 1e12L),
                               1e20L);
    SetOutputValue(0, out);
}

void TBTVerstaerker::SimReset()
{
    SetOutputValue(0, 0.0L);
}

// --- TBTGain ---------------------------------------------------------------------------------

const TComponentDescription TBTGain::Description{
    .Name = "TBTGain", .Prefix = {"GAIN"}, .HelpContext = 18406,
    .TypeName = {"Verstärkung", "Gain", "Gain"}, .Inputs = {1}, .Outputs = {1},
    .InputNames = "-", .OutputNames = "-", .Category = TPaletteCategory::Verstaerker};

TBTGain::TBTGain() : TBTSettingBlock(Description, 1.0L, TStored::Float) {}

void TBTGain::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int x = CenterX();
    const int y = CenterY() - 2;
    const int d = Mirrored ? -12 : 12;
    MarkPen(*this, canvas, 2);
    canvas.Polyline({QPoint(x - d, y - 12), QPoint(x + d, y), QPoint(x - d, y + 12),
                     QPoint(x - d, y - 12)});
    DrawCentredMark(*this, canvas, x, Body.Top + 1, 25, ShortValueText(Gain));
}

QString TBTGain::SettingCaption() const
{
    return Translate(QStringLiteral("Verstärkung"));
}

void TBTGain::Calculate()
{
    SetOutputValue(0, GetInputValue(0) * Gain);
}

// --- TBTOffset -------------------------------------------------------------------------------

const TComponentDescription TBTOffset::Description{
    .Name = "TBTOffset", .Prefix = {"BIAS"}, .HelpContext = 18407, .TypeName = {"Offset"},
    .Inputs = {1}, .Outputs = {1}, .InputNames = "x", .OutputNames = "y",
    .Category = TPaletteCategory::Verstaerker};

TBTOffset::TBTOffset() : TBTSettingBlock(Description, 0.0L, TStored::Float) {}

void TBTOffset::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const QString text = (Offset >= 0.0L ? QStringLiteral("+") : QString()) + ShortValueText(Offset);
    DrawCentredMark(*this, canvas, CenterX(), CenterY() - 14 - 12, 25, text);
}

QString TBTOffset::SettingCaption() const
{
    return QStringLiteral("Offset");
}

void TBTOffset::Calculate()
{
    SetOutputValue(0, GetInputValue(0) + Offset);
}

// --- TBTRandom -------------------------------------------------------------------------------

const TComponentDescription TBTRandom::Description{
    .Name = "TBTRandom", .Prefix = {"RND"}, .HelpContext = 18545,
    .TypeName = {"Random\rZufallswert", "Random", "Aléatoire"}, .Outputs = {1, 1, 32},
    .OutputNames = "A", .Category = TPaletteCategory::Quellen};

TBTRandom::TBTRandom()
{
    Describe(Description);
    MakeBlock(*this, true);
}

int TBTRandom::BitsFor(int32_t max)
{
    int bits = 1;
    while (max > 1) {
        max /= 2;
        ++bits;
    }
    return bits;
}

void TBTRandom::ApplyMode()
{
    SetOutputCount(Digital ? BitsFor(RangeMax) : 1);
    NameOutputs();
}

void TBTRandom::NameOutputs()
{
    if (!Digital) {
        NamePins(Outputs, {"A"});
        return;
    }
    for (int i = 0; i < OutputCount; ++i)
        Outputs[size_t(i)]->SetName(QStringLiteral("B") + QString::number(OutputCount - 1 - i));
}

void TBTRandom::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 10, CenterY() - 34, 40, QStringLiteral("?"));
    canvas.Brush.Style = Qt::SolidPattern;
}

void TBTRandom::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteBoolean(Digital);
    writer.WriteInteger(RangeMin);
    writer.WriteInteger(RangeMax);
}

void TBTRandom::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Digital = reader.ReadBoolean();
    RangeMin = reader.ReadInteger();
    RangeMax = reader.ReadInteger();
    // The output count came with the record; the names follow the mode read now.
    NameOutputs();
}

int TBTRandom::EditProperties()
{
    int32_t mode = Digital ? 1 : 0;
    int32_t lo = RangeMin;
    int32_t hi = RangeMax;
    const QString range = Translate(QStringLiteral("Bereich"));
    const int result = ShowDialog(*this, GetTypeName(), [&](TPropScrollbox& sheet) {
        sheet.AddComboProp(Translate(QStringLiteral("Ausgang")), mode,
                           {Translate(QStringLiteral("Analog")),
                            Translate(QStringLiteral("Digital"))},
                           90);
        sheet.AddSpinProp(range + QStringLiteral(" [min]"), lo, -99999, 99999, 64);
        sheet.AddSpinProp(range + QStringLiteral(" [max]"), hi, -99999, 99999, 64);
    });
    // Whatever the result; an empty mode choice keeps the mode.
    if (mode == 0 || mode == 1)
        Digital = mode == 1;
    RangeMin = lo;
    RangeMax = hi;
    ApplyMode();
    return result;
}

QString TBTRandom::GetHint() const
{
    const QString range = Digital ? QStringLiteral("digital")
                                  : QString::number(RangeMin) + QStringLiteral("...")
                                        + QString::number(RangeMax);
    return TGrundBT::GetHint() + QLatin1Char('\r') + range;
}

void TBTRandom::Calculate()
{
    if (StepCount++ != 4)
        return;
    StepCount = 0;
    const int64_t span = static_cast<int64_t>(RangeMax) - RangeMin;
    if (Digital) {
        const int64_t a = std::llabs(span + 1);
        const int64_t r = a == 0 ? 0 : std::uniform_int_distribution<int64_t>(0, a - 1)(Generator);
        const int64_t v = r + RangeMin;
        for (int k = 0; k < OutputCount; ++k)
            SetOutputDigital(OutputCount - 1 - k, k < 63 && ((v >> k) & 1) != 0);
    } else {
        const double u = std::uniform_real_distribution<double>(0.0, 1.0)(Generator);
        SetOutputValue(0, static_cast<Extended>(u) * std::llabs(span) + RangeMin);
    }
}

void TBTRandom::SimReset()
{
    Generator.seed(static_cast<uint64_t>(Clock().PerformanceCounter()));
    StepCount = 0;
}

// --- TBTVcc ----------------------------------------------------------------------------------

const TComponentDescription TBTVcc::Description{
    .Name = "TBTVcc", .Prefix = {""}, .HelpContext = 18530, .TypeName = {"Vcc (+5V)"},
    .Outputs = {1}, .OutputNames = "-", .Category = TPaletteCategory::PlusMasseTest};

TBTVcc::TBTVcc()
{
    Describe(Description);
    MakeBlock(*this, false);
}

void TBTVcc::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 22, CenterY() - 38, 80, QStringLiteral("+"));
    canvas.Brush.Style = Qt::SolidPattern;
}

void TBTVcc::SimReset()
{
    SetOutputDigital(0, true);
}
