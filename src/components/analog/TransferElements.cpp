#include "components/analog/TransferElements.h"

#include "components/analog/Integrators.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"

#include <vector>

using namespace BlockSupport;

namespace {
Extended Bounded(Extended v, Extended limit)
{
    if (v > limit)
        return limit;
    if (v < -limit)
        return -limit;
    return v;
}
} // namespace

// --- TBTTransferElement --------------------------------------------------------------------

TBTTransferElement::TBTTransferElement(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
    Editable = true;
}

void TBTTransferElement::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    Sampling.Write(writer);
}

void TBTTransferElement::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Sampling.Read(reader, version);
}

int TBTTransferElement::EditProperties()
{
    return EditSampling(*this, Sampling);
}

void TBTTransferElement::PaintCurve(TCanvas& canvas,
                                    std::initializer_list<std::pair<int, int>> points)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    std::vector<QPoint> curve;
    curve.reserve(points.size());
    for (const auto& [dx, dy] : points)
        curve.emplace_back(cx + dx, cy + dy);
    canvas.Pen.Color = clRed;
    canvas.Pen.Width = 2;
    canvas.Pen.Style = Qt::SolidLine;
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Polyline(curve);
    canvas.Pen.Color = clBlack;
    canvas.Rectangle(cx - 40, cy - 54, cx + 40, cy + 26);
    canvas.Brush.Style = Qt::SolidPattern;
}

// --- TBTPT1 --------------------------------------------------------------------------------

const TComponentDescription TBTPT1::Description{
    .Name = "TBTPT1", .Prefix = {"PT1-"}, .HelpContext = 18838, .TypeName = {"PT1"},
    .Inputs = {4}, .Outputs = {1}, .InputNames = "X P 1/T1 /RST", .OutputNames = "Y",
    .Category = TPaletteCategory::Regler};

TBTPT1::TBTPT1() : TBTTransferElement(Description) {}

void TBTPT1::Paint(TCanvas& canvas)
{
    PaintCurve(canvas,
               {{-38, 23}, {-36, -6}, {-32, -21}, {-24, -28}, {-8, -32}, {14, -34}, {38, -34}});
}

void TBTPT1::Calculate()
{
    const int64_t now = Clock().PerformanceCounter();
    if (!GetInputDigital(3)) {
        Value = 0.0L;
        SetOutputValue(0, 0.0L);
        LastCount = now;
        return;
    }
    const Extended x = GetInputValue(0);
    const Extended p = GetInputValue(1);
    const Extended w = GetInputValue(2);
    const Extended ts = Sampling.SampleTime;
    if (ts > 0.0L) {
        if (!SampleTimeElapsed(LastCount, now, ts))
            return;
        Value = ts * (x - Value) * w + Value;
        SetOutputValue(0, p * Value);
        LastCount += TicksOf(ts);
    } else {
        Value = Bounded(SecondsBetween(LastCount, now) * (x - Value) * w + Value, Limit);
        SetOutputValue(0, p * Value);
        LastCount = now;
    }
}

void TBTPT1::SimReset()
{
    LastCount = Clock().PerformanceCounter();
    Value = 0.0L;
    SetOutputValue(0, 0.0L);
}

void TBTPT1::SaveSettings(TIniFile& ini, const QString& section)
{
    SaveStateValue(*this, ini, section, Value);
}

bool TBTPT1::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    Value = LoadStateValue(*this, ini, section);
    return true;
}

// --- TBTPT2 --------------------------------------------------------------------------------

const TComponentDescription TBTPT2::Description{
    .Name = "TBTPT2", .Prefix = {"PT2-"}, .HelpContext = 18841, .TypeName = {"PT2"},
    .Inputs = {5}, .Outputs = {1}, .InputNames = "X P 1/T D /RST", .OutputNames = "Y",
    .Category = TPaletteCategory::Regler};

TBTPT2::TBTPT2() : TBTTransferElement(Description) {}

void TBTPT2::Paint(TCanvas& canvas)
{
    PaintCurve(canvas, {{-38, 24}, {-31, -24}, {-27, -33}, {-25, -35}, {-23, -36}, {-20, -35},
                        {-15, -25}, {-13, -23}, {-10, -22}, {-4, -28}, {-1, -30}, {0, -30},
                        {3, -28}, {6, -25}, {8, -24}, {12, -26}, {38, -26}});
}

void TBTPT2::Calculate()
{
    const int64_t now = Clock().PerformanceCounter();
    if (!GetInputDigital(4)) {
        Value1 = 0.0L;
        Value2 = 0.0L;
        SetOutputValue(0, 0.0L);
        LastCount = now;
        return;
    }
    const Extended x = GetInputValue(0);
    const Extended p = GetInputValue(1);
    const Extended w = GetInputValue(2);
    const Extended d = GetInputValue(3);
    const Extended ts = Sampling.SampleTime;
    const bool sampled = ts > 0.0L;
    Extended h;
    if (sampled) {
        if (!SampleTimeElapsed(LastCount, now, ts))
            return;
        h = ts;
    } else {
        h = SecondsBetween(LastCount, now);
    }
    Value1 = h * (p * x - Value2 - 2.0L * d * Value1) * w + Value1;
    if (sampled)
        Value1 = Bounded(Value1, Limit);
    Value2 = h * Value1 * w + Value2;
    if (sampled)
        Value2 = Bounded(Value2, Limit);
    SetOutputValue(0, Value2);
    if (sampled)
        LastCount += TicksOf(ts);
    else
        LastCount = now;
}

void TBTPT2::SimReset()
{
    LastCount = Clock().PerformanceCounter();
    Value1 = 0.0L;
    Value2 = 0.0L;
    SetOutputValue(0, 0.0L);
}

void TBTPT2::SaveSettings(TIniFile& ini, const QString& section)
{
    const QString s = StateSection(section);
    ini.WriteFloat(s, QStringLiteral("Value1"), static_cast<double>(Value1));
    ini.WriteFloat(s, QStringLiteral("Value2"), static_cast<double>(Value2));
}

bool TBTPT2::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    const QString s = StateSection(section);
    Value1 = ini.ReadFloat(s, QStringLiteral("Value1"), 0.0);
    Value2 = ini.ReadFloat(s, QStringLiteral("Value2"), 0.0);
    SetOutputValue(0, Value2);
    return true;
}

// --- TBTDT1 --------------------------------------------------------------------------------

const TComponentDescription TBTDT1::Description{
    .Name = "TBTDT1", .Prefix = {"DT1-"}, .HelpContext = 18842, .TypeName = {"DT1"},
    .Inputs = {3}, .Outputs = {1}, .InputNames = "X KD T1", .OutputNames = "Y",
    .Category = TPaletteCategory::Regler};

TBTDT1::TBTDT1() : TBTTransferElement(Description)
{
    DataVersion = CurrentDataVersion;
}

void TBTDT1::Paint(TCanvas& canvas)
{
    PaintCurve(canvas, {{-38, -26}, {-17, -1}, {-7, 9}, {6, 16}, {19, 20}, {38, 21}});
}

void TBTDT1::WriteData(TWriter& writer)
{
    DataVersion = CurrentDataVersion;
    TBTTransferElement::WriteData(writer);
    Filter.WriteRecord(writer);
}

void TBTDT1::ReadData(TReader& reader, uint8_t version)
{
    TBTTransferElement::ReadData(reader, version);
    // Records before DataVersion 1 carry no filter settings: the filter keeps its defaults.
    if (DataVersion >= 1)
        Filter.ReadRecord(reader);
    DataVersion = CurrentDataVersion;
}

int TBTDT1::EditProperties()
{
    return EditSampling(*this, Sampling, &Filter);
}

void TBTDT1::Calculate()
{
    const int64_t now = Clock().PerformanceCounter();
    const Extended x = GetInputValue(0);
    const Extended kd = GetInputValue(1);
    const Extended t1 = GetInputValue(2);
    const Extended xf = Filter.Step(x);
    const Extended dt = SecondsBetween(LastCount, now);
    if (dt < Sampling.SampleTime)
        return;
    const Extended denominator = t1 + dt;
    // No step width and no time constant: no result, the output stays.
    if (denominator == 0.0L)
        return;
    Value = (Value * t1 + (xf - LastInput) * kd) / denominator;
    SetOutputValue(0, Value);
    LastInput = xf;
    LastCount = now;
}

void TBTDT1::SimReset()
{
    LastCount = Clock().PerformanceCounter();
    Value = 0.0L;
    SetOutputValue(0, 0.0L);
}

void TBTDT1::SaveSettings(TIniFile& ini, const QString& section)
{
    SaveStateValue(*this, ini, section, Value);
}

bool TBTDT1::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    Value = LoadStateValue(*this, ini, section);
    return true;
}
