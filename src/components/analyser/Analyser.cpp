#include "components/analyser/Analyser.h"

#include "components/recorder/Recorders.h"
#include "frontpanel/analyser/AnalyserElement.h"
#include "frontpanel/analyser/AnalyserWindow.h"
#include "frontpanel/elements/PenPlotter.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kInTrg = 8, kInExt = 9;
constexpr int kBlockSize = 260;
constexpr int kNameCapacity = 30;

} // namespace

// --- Logic analyser --------------------------------------------------------------------------

const TComponentDescription TBT_Analyser::Description{
    .Name = "TBT_Analyser", .Prefix = {"AN"}, .HelpContext = 18080,
    .TypeName = {"8-Kanal-Analyser", "Logic analyser", "Analyseur\rlogique"},
    .Caption = {"Logik-Analyser", "Logic analyser", "Analyseur logique"}, .Inputs = {10, 10, 10},
    .InputNames = "D0..7 |Trg |Ext", .Category = TPaletteCategory::Schreiber};

TBT_Analyser::TBT_Analyser()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TFP_Analyser"));
    Clocked = true;
    for (int i = 0; i < 8; ++i)
        ChannelNames[size_t(i)] = QStringLiteral("Data ") + QString::number(i);
    TraceColors.fill(0x00FF00);
    Print.Zoom = 0.5;
    Print.ZoomPos = 120;
    Print.Centred = true;
    Print.PrinterIndex = -1;
}

TBT_Analyser::~TBT_Analyser() = default;

TMyAnalyser* TBT_Analyser::Window() const
{
    return m_window.data();
}

void TBT_Analyser::PrepareElement(TFP_Element& element)
{
    CreateWindow(element);
}

void TBT_Analyser::CreateWindow(TFP_Element& element)
{
    auto* frame = dynamic_cast<TFP_Analyser*>(&element);
    if (!frame)
        return;
    if (frame->Window()) {
        m_window = frame->Window();
    } else {
        m_window = new TMyAnalyser(frame);
        frame->SetWindow(m_window);
    }
    UpdateWindowCaption();
    SetupWindow();
    frame->SetWindow(m_window);
}

void TBT_Analyser::UpdateWindowCaption()
{
    if (TMyAnalyser* w = Window())
        w->setWindowTitle(Lang3Q("8-Kanal-Analyser [", "Logic analyser [", "Analyseur logique [") +
                          QString::number(Number) + u']');
}

void TBT_Analyser::SetupWindow()
{
    TMyAnalyser* w = Window();
    if (!w)
        return;
    auto* frame = dynamic_cast<TFP_Analyser*>(Link);
    if (frame)
        w->OnDisplayDoubleClick = [frame] { frame->DblClickEdit(); };
    for (int i = 0; i < 8; ++i) {
        w->Labels[size_t(i)]->setText(ChannelNames[size_t(i)]);
        w->SetChannelColor(i, TraceColors[size_t(i)]);
    }
    if (ModeSys)
        w->RB_System->setChecked(true);
    if (ModeTime)
        w->RB_Time->setChecked(true);
    if (ModeExt)
        w->RB_Ext->setChecked(true);
    if (SysClockIndex >= 0 && SysClockIndex < w->CB_Systemtakt->count())
        w->CB_Systemtakt->setCurrentIndex(SysClockIndex);
    if (TimeClockIndex >= 0 && TimeClockIndex < w->CB_TimeBase->count())
        w->CB_TimeBase->setCurrentIndex(TimeClockIndex);
    w->FillTriggerList();
    w->SetTriggerIndex(std::clamp(TriggerIndex, -1, w->TriggerCombo->count() - 1));
    // The window fills its element; the stored size is kept for the stream.
    if (!frame)
        w->resize(std::max(WindowWidth, w->minimumWidth()), std::max(WindowHeight, w->minimumHeight()));
    w->cb_Fill->setChecked(FillFlag);
    w->ApplyFill();
    w->SetTriggerPositiv(RisingEdge);
    w->Relayout();
    w->Print = Print;
    w->Headline = Headline;
    w->Comments = Comments;
}

void TBT_Analyser::TakeFromWindow()
{
    const TMyAnalyser* w = Window();
    if (!w)
        return;
    for (int i = 0; i < 8; ++i) {
        ChannelNames[size_t(i)] = w->Labels[size_t(i)]->text().left(kNameCapacity);
        TraceColors[size_t(i)] = w->Channels[size_t(i)]->TraceColor;
    }
    ModeSys = w->RB_System->isChecked();
    ModeTime = w->RB_Time->isChecked();
    ModeExt = w->RB_Ext->isChecked();
    SysClockIndex = int16_t(w->CB_Systemtakt->currentIndex());
    TimeClockIndex = int16_t(w->CB_TimeBase->currentIndex());
    WindowLeft = int16_t(std::clamp(w->x(), -32768, 32767));
    WindowTop = int16_t(std::clamp(w->y(), -32768, 32767));
    WindowWidth = w->width();
    WindowHeight = w->height();
    TriggerIndex = w->TriggerIndex;
    FillFlag = w->cb_Fill->isChecked();
    Print = w->Print;
    Headline = w->Headline;
    Comments = w->Comments;
}

void TBT_Analyser::Calculate()
{
    TMyAnalyser* w = m_window.data();
    if (!w)
        return;
    const bool trg = GetInputDigital(kInTrg);
    const bool ext = GetInputDigital(kInExt);
    uint8_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= uint8_t(GetInputDigital(i)) << i;
    const int k = w->TriggerIndex;
    // The level of the trigger source (an edge is a change of it against the last step).
    bool level = PrevTriggerLevel;
    bool edgeSource = false;
    if (k == 2) {
        level = trg;
        edgeSource = true;
    } else if (k >= 3 && k <= 10) {
        level = (bits >> (k - 3)) & 1;
        edgeSource = true;
    }
    bool triggered = false;
    if (k == 0)
        triggered = w->StartRequest;
    else if (k == 1)
        triggered = true;
    else if (edgeSource)
        triggered = w->TriggerPositiv ? (level && !PrevTriggerLevel) : (!level && PrevTriggerLevel);

    if (triggered && !w->Aufnahme) {
        if (w->RB_System->isChecked())
            ClockMode = 0;
        else if (w->RB_Time->isChecked())
            ClockMode = 1;
        else if (w->RB_Ext->isChecked())
            ClockMode = 2;
        StepDividerRun = w->StepDivider();
        TickDividerRun = w->TickDivider();
        w->SetAufnahme(true);
        w->StartRequest = false;
        SampleCounter = 0;
    }

    if (w->Aufnahme) {
        bool due = false;
        switch (ClockMode) {
        case 0:
            if (StepCounter >= StepDividerRun) {
                due = true;
                StepCounter = 0;
            } else {
                ++StepCounter;
            }
            break;
        case 1:
            if (TickCounter >= TickDividerRun) {
                due = true;
                TickCounter = 0;
            }
            break;
        default: due = !ext && PrevExt; break;
        }
        if (due) {
            uint8_t now = 0;
            for (int i = 0; i < 8; ++i)
                now |= uint8_t(GetInputDigital(i)) << i;
            w->StoreSample(SampleCounter, now);
            if (++SampleCounter >= kAnalyserSamples) {
                w->SetAufnahme(false);
                SampleCounter = 0;
                w->RefreshChannels();
            }
        }
    }
    PrevExt = ext;
    if (edgeSource)
        PrevTriggerLevel = level;
}

void TBT_Analyser::ClockTick()
{
    if (const TMyAnalyser* w = Window(); w && w->Aufnahme)
        ++TickCounter;
}

void TBT_Analyser::SimReset()
{
    PrevExt = false;
    PrevTriggerLevel = false;
    if (TMyAnalyser* w = Window())
        w->SetAufnahme(false);
    SampleCounter = StepCounter = TickCounter = 0;
}

void TBT_Analyser::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), SymbolColor);
}

void TBT_Analyser::WriteData(TWriter& writer)
{
    TBTPanelComponent::WriteData(writer);
    WriteSettings(writer);
}

void TBT_Analyser::ReadData(TReader& reader, uint8_t version)
{
    TBTPanelComponent::ReadData(reader, version);
    ReadSettings(reader, version);
}

void TBT_Analyser::WriteSettings(TWriter& writer)
{
    TakeFromWindow();
    for (const QString& name : ChannelNames)
        writer.WriteRawShortString(name.left(kNameCapacity), kNameCapacity);
    writer.WriteRawByte(ModeSys ? 1 : 0);
    writer.WriteRawByte(ModeTime ? 1 : 0);
    writer.WriteRawByte(ModeExt ? 1 : 0);
    writer.WriteRawInt16(SysClockIndex);
    writer.WriteRawInt16(TimeClockIndex);
    writer.WriteRawByte(0);
    writer.WriteRawInt16(WindowLeft);
    writer.WriteRawInt16(WindowTop);
    writer.WriteInteger(TriggerIndex);
    writer.WriteInteger(WindowWidth);
    writer.WriteInteger(WindowHeight);
    writer.WriteBoolean(FillFlag);
    for (int32_t colour : TraceColors)
        writer.WriteRawInt32(colour);
    WritePrintSettings(writer, Print, Headline, Comments);
}

void TBT_Analyser::ReadSettings(TReader& reader, uint8_t version)
{
    for (QString& name : ChannelNames)
        name = reader.ReadRawShortString(kNameCapacity);
    ModeSys = reader.ReadRawByte() != 0;
    ModeTime = reader.ReadRawByte() != 0;
    ModeExt = reader.ReadRawByte() != 0;
    SysClockIndex = reader.ReadRawInt16();
    TimeClockIndex = reader.ReadRawInt16();
    reader.ReadRawByte();
    WindowLeft = reader.ReadRawInt16();
    WindowTop = reader.ReadRawInt16();
    static_assert(8 * (kNameCapacity + 1) + 12 == kBlockSize);
    if (version >= 3) {
        TriggerIndex = reader.ReadInteger();
        WindowWidth = reader.ReadInteger();
        WindowHeight = reader.ReadInteger();
        FillFlag = reader.ReadBoolean();
        for (int32_t& colour : TraceColors)
            colour = reader.ReadRawInt32();
    } else {
        TriggerIndex = 0;
        FillFlag = false;
        WindowWidth = 300;
        WindowHeight = 165;
        TraceColors.fill(0x00FF00);
    }
    if (version >= 40)
        ReadPrintSettings(reader, Print, Headline, Comments);
    SetupWindow();
}

// --- Pen plotter -----------------------------------------------------------------------------

const TComponentDescription TBTStiftplotter::Description{
    .Name = "TBTStiftplotter", .Prefix = {"PLOT"}, .HelpContext = 18081,
    .TypeName = {"Stiftplotter", "Pen plotter", "Plotteur"}, .Inputs = {14, 14, 14},
    .InputNames = "X Y OX OY RX RY D/U PW R G B FAD CRS |RST", .Category = TPaletteCategory::Schreiber};

TBTStiftplotter::TBTStiftplotter()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TStiftplotter"));
    Clocked = true;
}

TStiftplotter* TBTStiftplotter::Element() const
{
    return ElementAs<TStiftplotter>();
}

namespace {

// Values below a (and a value that is no number) become a, values above b become b.
double Clamp(double x, double a, double b)
{
    if (!(x >= a))
        return a;
    return x > b ? b : x;
}

} // namespace

void TBTStiftplotter::Calculate()
{
    TStiftplotter* e = Element();
    if (!e)
        return;
    const double ox = double(GetInputValue(2)), oy = double(GetInputValue(3));
    e->PenX = double(GetInputValue(0));
    e->PenY = double(GetInputValue(1));
    double rx = double(GetInputValue(4)), ry = double(GetInputValue(5));
    if (rx == 0)
        rx = 1;
    if (ry == 0)
        ry = 1;
    e->XMin = -10 * rx - ox;
    e->XMax = 10 * rx - ox;
    e->YMin = -10 * ry - oy;
    e->YMax = 10 * ry - oy;
    e->PenDown = GetInputDigital(6);
    e->SetMarkerVisible(GetInputDigital(12));
    const auto byte = [this](int input) {
        return uint8_t(RoundHalfEven(Clamp(double(GetInputValue(input)) / 5 * 255, 0, 255)));
    };
    e->PenRed = byte(8);
    e->PenGreen = byte(9);
    e->PenBlue = byte(10);
    e->FadeStrength = int(RoundHalfEven(Clamp(double(GetInputValue(11)) / 5 * 255, 0, 254)));
    e->PenWidth = int(RoundHalfEven(Clamp(double(GetInputValue(7)), 0, 50)));
    e->MovePen();
    const bool reset = GetInputDigital(13);
    if (PrevReset && !reset)
        e->ClearPlot();
    PrevReset = reset;
}

void TBTStiftplotter::SimReset()
{
    if (TStiftplotter* e = Element()) {
        e->PenX = e->PenY = 0;
        e->PenDown = false;
        e->MovePen();
        e->ClearPlot();
        e->Saving = false;
    }
    PrevReset = true;
}

void TBTStiftplotter::ClockTick()
{
    if (TStiftplotter* e = Element())
        e->Fade();
}

void TBTStiftplotter::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    DrawPlotSymbol(canvas, cx, cy, MarkColor(), QStringLiteral("X/Y"), 40, QPoint(-26, -75), 22);
    // A red ellipse of 60 x 40 around the origin.
    canvas.Pen = TCanvasPen{0x0000FF, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Ellipse(cx - 56, cy + 10, cx + 4, cy + 50);
}
