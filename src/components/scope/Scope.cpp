#include "components/scope/Scope.h"

#include "frontpanel/scope/Oscillograph.h"
#include "frontpanel/scope/ScopeElement.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <QComboBox>
#include <QPainter>

#include <algorithm>
#include <cmath>

const TComponentDescription TBT_Scope::Description{
    .Name = "TBT_Scope", .Prefix = {"SCP"}, .HelpContext = 18075,
    .TypeName = {"2-Kanal-Scope", "2-Channel-Scope", "Oscilloscope\r2 canaux"}, .Inputs = {3, 3, 3},
    .InputNames = "A B Trg", .Category = TPaletteCategory::Schreiber};

TBT_Scope::TBT_Scope()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TFP_Scope"));
}

TOscillograph* TBT_Scope::Window() const
{
    auto* element = ElementAs<TFP_Scope>();
    return element ? element->Window : nullptr;
}

void TBT_Scope::PrepareElement(TFP_Element& element)
{
    if (!dynamic_cast<TFP_Scope*>(&element))
        return;
    UpdateWindowCaption();
    SetupWindow();
}

void TBT_Scope::UpdateWindowCaption()
{
    if (TOscillograph* w = Window())
        w->setWindowTitle(Lang3Q("2-Kanal-Scope [", "2-Channel-Scope [", "Oscilloscope 2 canaux [") +
                          QString::number(Number) + u']');
}

void TBT_Scope::SetupWindow()
{
    TOscillograph* w = Window();
    if (!w)
        return;
    const TScopeSettings& s = Stored;
    auto select = [](QComboBox* combo, int index) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    };
    select(w->CB_TimeBase, s.TimeBaseIndex);
    w->SetTriggerIndex(s.TriggerIndex);
    w->SetTriggerPositiv(s.TriggerPositiv);
    w->TriggerVoltage = double(s.TriggerVoltage);
    select(w->RangeACombo, s.RangeAIndex);
    select(w->RangeBCombo, s.RangeBIndex);
    w->SetFarbStil(TFarbStil(std::clamp(s.FarbStil, 0, 2)));
    w->SetRangeA(TOscillograph::VoltsPerDivision(w->RangeACombo->currentIndex()));
    w->SetRangeB(TOscillograph::VoltsPerDivision(w->RangeBCombo->currentIndex()));
    w->Print.Origin = QPoint(s.OriginX, s.OriginY);
    w->Print.PreviewOffset = QPoint(s.OffsetX, s.OffsetY);
    w->Print.ZoomPos = s.ZoomPos;
    w->Print.Zoom = double(s.Zoom);
    w->Headline = s.Headline;
    w->Print.BlackWhite = s.BlackWhite;
    w->Print.Centred = s.Centred;
    w->Print.Background = s.Background;
    w->Print.PrinterIndex = s.PrinterIndex;
    w->Print.Orientation = s.Orientation;
    w->CommentLines = s.CommentLines;
}

TScopeSettings TBT_Scope::CurrentSettings() const
{
    const TOscillograph* w = Window();
    if (!w)
        return Stored;
    TScopeSettings s;
    // The window is docked: its place is the element's.
    s.Left = w->x();
    s.Top = w->y();
    s.Width = w->width();
    s.Height = w->height();
    s.TimeBaseIndex = w->CB_TimeBase->currentIndex();
    s.TriggerIndex = w->GetTriggerIndex();
    s.TriggerPositiv = w->TriggerPositiv;
    s.TriggerVoltage = w->TriggerVoltage;
    s.RangeAIndex = w->RangeACombo->currentIndex();
    s.RangeBIndex = w->RangeBCombo->currentIndex();
    s.FarbStil = w->FarbStil;
    s.OriginX = w->Print.Origin.x();
    s.OriginY = w->Print.Origin.y();
    s.OffsetX = w->Print.PreviewOffset.x();
    s.OffsetY = w->Print.PreviewOffset.y();
    s.ZoomPos = w->Print.ZoomPos;
    s.Zoom = w->Print.Zoom;
    s.Headline = w->Headline;
    s.BlackWhite = w->Print.BlackWhite;
    s.Centred = w->Print.Centred;
    s.Background = w->Print.Background;
    s.PrinterIndex = w->Print.PrinterIndex;
    s.Orientation = w->Print.Orientation;
    s.CommentLines = w->CommentLines;
    return s;
}

// --- Step ----------------------------------------------------------------------------------------

bool TBT_Scope::Triggered(Extended a, Extended b)
{
    TOscillograph& w = *Window();
    switch (w.GetTriggerIndex() % 128) {
    case 1: return w.StartRequest;
    case 2:
    case 3:
    case 4: {
        const int index = w.GetTriggerIndex();
        const Extended v = index == 2 ? a : index == 3 ? b : GetInputValue(2);
        const Extended level = w.TriggerVoltage;
        const bool fired = w.TriggerPositiv ? (v >= level && PreviousTrigger < level)
                                            : (v <= level && PreviousTrigger >= level);
        PreviousTrigger = v;
        return fired;
    }
    default: return true;
    }
}

void TBT_Scope::Calculate()
{
    TOscillograph* w = Window();
    if (!w)
        return;
    const Extended a = GetInputValue(0);
    const Extended b = GetInputValue(1);
    if (!w->Aufnahme && Triggered(a, b)) {
        MsPerDivision = w->TimeBaseMs();
        w->SetAufnahme(true);
        w->StartRequest = false;
        SampleCounter = 0;
        w->ChannelShown = {Inputs[0]->Connected, Inputs[1]->Connected};
    }
    IClock& clock = Clock();
    const int64_t now = clock.PerformanceCounter();
    if (!w->Aufnahme) {
        LastSample = now;
        return;
    }
    const double interval = double(MsPerDivision) / 10000.0;
    const double frequency = double(clock.PerformanceFrequency());
    if (double(now - LastSample) / frequency < interval)
        return;
    // The grid of sample instants moves by one interval: a slow step rate makes the sweep lag
    // rather than skip points.
    LastSample += int64_t(RoundHalfEven(interval * frequency));
    const bool draw = MsPerDivision > 20;
    if (w->ChannelShown[0])
        w->AddSample(SampleCounter, 0, draw, float(a));
    if (w->ChannelShown[1])
        w->AddSample(SampleCounter, 1, draw, float(b));
    if (++SampleCounter >= kSweepPoints) {
        w->SetAufnahme(false);
        SampleCounter = 0;
        // Fast sweeps were stored without drawing: shown at once now.
        if (MsPerDivision <= 20)
            w->RepaintDisplay();
    }
}

void TBT_Scope::SimReset()
{
    TBTPanelComponent::SimReset();
    SampleCounter = 0;
    LastSample = Clock().PerformanceCounter();
    TOscillograph* w = Window();
    if (!w)
        return;
    w->SetAufnahme(false);
    for (int i = 0; i <= kSweepPoints; ++i)
        for (int c = 0; c < 2; ++c)
            w->AddSample(i, c, false, 0.0f);
    w->RepaintDisplay();
}

// --- Symbol ----------------------------------------------------------------------------------------

void TBT_Scope::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX(), cy = CenterY() - 14;
    canvas.Pen = TCanvasPen{0x000000, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush.Color = 0x808080;
    canvas.Brush.Style = Qt::SolidPattern;
    canvas.Rectangle(cx - 38, cy - 38, cx + 38, cy + 38);
    canvas.Pen.Color = 0xFFFFFF;
    canvas.MoveTo(cx - 36, cy);
    canvas.LineTo(cx + 36, cy);
}

void TBT_Scope::PaintPinStates(TCanvas& canvas)
{
    const TOscillograph* w = Window();
    if (w && canvas.Painter()) {
        const int cx = CenterX(), cy = CenterY() - 14;
        const QRect screen = canvas.LPtoDP(QRect(QPoint(cx - 36, cy - 36), QPoint(cx + 35, cy + 35)));
        w->DrawScreen(*canvas.Painter(), screen, false);
    }
    TBTPanelComponent::PaintPinStates(canvas);
}

// --- Stream ----------------------------------------------------------------------------------------

void TBT_Scope::WriteData(TWriter& writer)
{
    TBTPanelComponent::WriteData(writer);
    const TScopeSettings s = CurrentSettings();
    for (int32_t v : {s.Left, s.Top, s.Width, s.Height, s.TimeBaseIndex, s.TriggerIndex})
        writer.WriteInteger(v);
    writer.WriteBoolean(s.TriggerPositiv);
    writer.WriteFloat(s.TriggerVoltage);
    for (int32_t v : {s.RangeAIndex, s.RangeBIndex, s.FarbStil, s.OriginX, s.OriginY, s.OffsetX, s.OffsetY,
                      s.ZoomPos})
        writer.WriteInteger(v);
    writer.WriteFloat(s.Zoom);
    writer.WriteString(s.Headline);
    writer.WriteBoolean(s.BlackWhite);
    writer.WriteBoolean(s.Centred);
    writer.WriteBoolean(s.Background);
    writer.WriteInteger(s.PrinterIndex);
    writer.WriteInteger(s.Orientation);
    writer.WriteInteger(int32_t(s.CommentLines.size()));
    for (const QString& line : s.CommentLines)
        writer.WriteString(line);
}

void TBT_Scope::ReadData(TReader& reader, uint8_t version)
{
    TBTPanelComponent::ReadData(reader, version);
    TScopeSettings s;
    for (int32_t* v : {&s.Left, &s.Top, &s.Width, &s.Height, &s.TimeBaseIndex, &s.TriggerIndex})
        *v = reader.ReadInteger();
    s.TriggerPositiv = reader.ReadBoolean();
    s.TriggerVoltage = reader.ReadFloat();
    for (int32_t* v : {&s.RangeAIndex, &s.RangeBIndex, &s.FarbStil})
        *v = reader.ReadInteger();
    if (version > 39) {
        for (int32_t* v : {&s.OriginX, &s.OriginY, &s.OffsetX, &s.OffsetY, &s.ZoomPos})
            *v = reader.ReadInteger();
        s.ZoomPos = std::clamp(s.ZoomPos, 0, 200);
        s.Zoom = reader.ReadFloat();
        if (!(s.Zoom > 0))
            s.Zoom = 0.5;
        s.Headline = reader.ReadString();
        s.BlackWhite = reader.ReadBoolean();
        s.Centred = reader.ReadBoolean();
        s.Background = reader.ReadBoolean();
        s.PrinterIndex = reader.ReadInteger();
        s.Orientation = reader.ReadInteger();
        const int32_t n = reader.ReadCount("CommentLines");
        for (int32_t i = 0; i < n; ++i)
            s.CommentLines << reader.ReadString();
    }
    Stored = s;
    SetupWindow();
}
