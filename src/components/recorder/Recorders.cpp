#include "components/recorder/Recorders.h"

#include "core/engine/HiTimer.h"
#include "core/model/Translator.h"
#include "frontpanel/elements/RecorderTools.h"
#include "frontpanel/elements/Tabelle.h"
#include "frontpanel/elements/XyRecorder.h"
#include "frontpanel/elements/YtRecorder.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// Input and output indexes of the Y(t) recorder.
constexpr int kInRec = 0, kInStp = 1, kInE1 = 2, kInPly = 6;
constexpr int kOutRec = 0, kOutPly = 1;
// Output of channel k (0..3): O1 is the last output.
constexpr int OutputOfChannel(int k)
{
    return 5 - k;
}

} // namespace

void DrawPlotSymbol(TCanvas& canvas, int cx, int cy, int32_t colour, const QString& caption, int textHeight,
                    QPoint textAt, int xAxisEnd)
{
    canvas.Pen = TCanvasPen{colour, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush.Style = Qt::NoBrush;
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setItalic(true);
    canvas.Font = font;
    canvas.SetFontHeight(textHeight);
    canvas.FontColor = 0x808080;
    canvas.TransparentText = true;
    canvas.TextOut(cx + textAt.x(), cy + textAt.y(), caption);
    canvas.Font.setBold(false);
    canvas.Font.setItalic(false);
    canvas.Pen.Width = 3;
    canvas.MoveTo(cx - 26, cy + 34);
    canvas.LineTo(cx - 26, cy - 36);
    canvas.LineTo(cx - 20, cy - 30);
    canvas.MoveTo(cx - 26, cy - 36);
    canvas.LineTo(cx - 32, cy - 30);
    canvas.MoveTo(cx - 30, cy + 30);
    canvas.LineTo(cx + xAxisEnd, cy + 30);
    canvas.LineTo(cx + xAxisEnd - 6, cy + 36);
    canvas.MoveTo(cx + xAxisEnd, cy + 30);
    canvas.LineTo(cx + xAxisEnd - 6, cy + 24);
}


// --- Y(t) recorder ---------------------------------------------------------------------------

const TComponentDescription TBTGraf::Description{
    .Name = "TBTGraf", .Prefix = {"YT"}, .HelpContext = 18065,
    .TypeName = {"Y(t)-Schreiber", "Y(t)-plotter", "Plotteur Y(t)"}, .Inputs = {6, 6, 7},
    .Outputs = {0, 0, 6}, .InputNames = "|REC |STP E1 E2 E3 E4 |PLY", .OutputNames = "REC PLY O4 O3 O2 O1",
    .Category = TPaletteCategory::Schreiber};

TBTGraf::TBTGraf()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TFPGraf"));
    Editable = true;
}

TFPGraf* TBTGraf::Element() const
{
    return ElementAs<TFPGraf>();
}

void TBTGraf::PrepareElement(TFP_Element& element)
{
    auto* graf = dynamic_cast<TFPGraf*>(&element);
    if (!graf)
        return;
    graf->OnIntervalChange = [this] { IntervalChanged(); };
    graf->OnRecord = [this] { StartRecording(); };
    graf->OnPlay = [this] { StartPlayback(); };
    graf->OnStop = [this] { Stop(); };
}

void TBTGraf::CheckStoredPins(int32_t inputs, int32_t outputs) const
{
    TBTPanelComponent::CheckStoredPins(inputs, outputs);
    // Without playback 6 inputs and no output, with it 7 and 6.
    TReader::CheckCount(outputs, inputs == 7 ? 6 : 0, inputs == 7 ? 6 : 0, "OutputCount");
}

void TBTGraf::NameInputs()
{
    NamePins(Inputs, {"|REC", "|STP", "E1", "E2", "E3", "E4", "|PLY"});
}

void TBTGraf::NameOutputs()
{
    NamePins(Outputs, {"REC", "PLY", "O4", "O3", "O2", "O1"});
}

void TBTGraf::SetAllowPlayback(bool allow)
{
    AllowPlayback = allow;
    if (allow) {
        SetOutputCount(6);
        SetInputCount(7);
    } else {
        SetOutputCount(0);
        SetInputCount(6);
    }
}

void TBTGraf::IntervalChanged()
{
    if (TFPGraf* e = Element())
        IntervalCopy = e->SampleInterval;
    BatchSize = int32_t(RoundHalfEven(0.1 / IntervalCopy));
    if (BatchSize <= 0)
        BatchSize = 1;
    BatchCount = BatchSize - 1;
}

void TBTGraf::StartTimer()
{
    TFPGraf* e = Element();
    if (!e)
        return;
    const double interval = e->SampleInterval;
    e->SampleTimer->SetInterval(interval > 60 ? 60000u : uint32_t(std::max<int64_t>(1, RoundHalfEven(interval * 1000))));
    MinuteTicks = 0;
    e->SampleTimer->SetOnTimer([this](TWLXHiTimer*) { SampleTick(); });
    e->SampleTimer->SetEnabled(true);
}

void TBTGraf::StartRecording()
{
    if (Running)
        Stop();
    SimReset();
    TFPGraf* e = Element();
    if (!e)
        return;
    e->SetStatus(QStringLiteral("REC"), 0x0000FF);
    e->ApplyTimeBase();
    StartTimer();
    Running = true;
    PlayingBack = false;
    PlayIndex = e->FirstVisibleSample();
    e->SetRunning(true);
    e->Chart->SetStartZeit(DateTimeToDays(Clock().LocalTime()));
}

void TBTGraf::StartPlayback()
{
    if (!AllowPlayback || PlayingBack)
        return;
    if (Running)
        Stop();
    TFPGraf* e = Element();
    if (!e)
        return;
    PlayingBack = true;
    e->Playing = true;
    e->SetStatus(QStringLiteral("PLAY"), 0x008000);
    e->ApplyTimeBase();
    StartTimer();
    Running = true;
    PlayIndex = e->FirstVisibleSample();
    e->SetRunning(true);
}

QString TBTGraf::AutoFileName(const QDateTime& now) const
{
    const TFPGraf* e = Element();
    if (!e)
        return QString();
    QString name = e->FixedFileName ? e->FilePrefix : TimeStampedName(e->FilePrefix, now);
    name.replace(u':', u'.');
    return Ctx().ProgramFolder + QStringLiteral("Data/") + name + QStringLiteral(".GRF");
}

void TBTGraf::Stop()
{
    if (!Running)
        return;
    TFPGraf* e = Element();
    if (e) {
        e->SetStatus(QStringLiteral("STOP"), 0x000000);
        e->SetRunning(false);
        e->SampleTimer->SetEnabled(false);
        e->SampleTimer->SetOnTimer(nullptr);
        if (!e->FilePrefix.isEmpty() && !PlayingBack) {
            // The run goes on; a file that cannot be written is reported in the status field.
            QString error;
            if (!e->SaveGRF(AutoFileName(Clock().LocalTime()), &error)) {
                e->SetStatus(Lang3Q("Datei?", "File?", "Fichier?"), 0x0000FF);
                e->StatusLabel->setToolTip(error);
            }
        }
    }
    Running = false;
    PlayingBack = false;
}

void TBTGraf::SampleTick()
{
    TFPGraf* e = Element();
    if (!Running || !e)
        return;
    if (IntervalCopy > 60 && IntervalCopy > (MinuteTicks + 1) * 60.0) {
        ++MinuteTicks;
        return;
    }
    if (PlayingBack) {
        bool any = false;
        for (int i = 0; i < TFPGraf::kChannels; ++i) {
            if (PlayIndex < 0)
                PlayIndex = 0;
            const auto& samples = e->Channels[size_t(i)];
            if (size_t(PlayIndex) < samples.size()) {
                any = true;
                if (OutputCount == 6)
                    SetOutputValue(OutputOfChannel(i), samples[size_t(PlayIndex)].Y);
                if (i == 0)
                    e->Chart->PlayCursorX = e->Chart->Raster.XToPixel(samples[size_t(PlayIndex)].X);
                MinuteTicks = 0;
            }
        }
        e->Chart->update();
        if (!any || e->LastVisibleSample() < PlayIndex) {
            if (e->OnStop)
                e->OnStop();
        }
        ++PlayIndex;
        ++SampleCount;
        return;
    }
    bool stored = false;
    for (int i = 0; i < TFPGraf::kChannels && Running; ++i) {
        if (!ChannelWired[size_t(i)])
            continue;
        const Extended v = GetInputValue(kInE1 + i);
        if (AllowPlayback && OutputCount == 6)
            SetOutputValue(OutputOfChannel(i), v);
        e->AddSample(i, e->SampleInterval * SampleCount, double(v));
        stored = true;
        MinuteTicks = 0;
    }
    ++SampleCount;
    ++BatchCount;
    if (BatchCount >= BatchSize) {
        if (stored && Running)
            e->FollowRecording(BatchSize);
        BatchCount = 0;
    }
}

void TBTGraf::Calculate()
{
    if (AllowPlayback && OutputCount == 6) {
        SetOutputDigital(kOutPly, PlayingBack);
        SetOutputDigital(kOutRec, Running && !PlayingBack);
    }
    const bool a = GetInputDigital(kInRec);
    const bool b = GetInputDigital(kInStp);
    if (Running && !b && LastStp)
        Stop();
    if (!Running && !a && LastRec)
        StartRecording();
    bool c = false;
    if (AllowPlayback && InputCount > kInPly) {
        c = GetInputDigital(kInPly);
        if (!Running && !c && LastPly)
            StartPlayback();
    }
    LastStp = b;
    LastRec = a;
    LastPly = c;
}

void TBTGraf::SimReset()
{
    Stop();
    if (TFPGraf* e = Element(); e && !e->StartFileLoaded) {
        e->SampleInterval = IntervalCopy;
        e->ClearRecording();
    }
    SampleCount = 0;
    MinuteTicks = 0;
    BatchCount = 0;
    for (int k = 0; k < 4; ++k)
        ChannelWired[size_t(k)] = kInE1 + k < InputCount && Inputs[size_t(kInE1 + k)]->Connected;
    LastRec = LastStp = LastPly = false;
}

void TBTGraf::SimPrepare()
{
    TBTPanelComponent::SimPrepare();
    TFPGraf* e = Element();
    if (!e)
        return;
    e->StartFileLoaded = false;
    e->StartFile = FindDataFile(e->StartFile);
    if (!e->StartFile.isEmpty() && QFileInfo(e->StartFile).isFile()) {
        QString error, notice;
        if (e->LoadGRF(e->StartFile, &error, &notice))
            e->StartFileLoaded = true;
        else
            MessageDlg(error, mtError, mbOK);
        if (!notice.isEmpty())
            MessageDlg(notice, mtWarning, mbOK);
    }
    e->SetPlayVisible(AllowPlayback);
}

void TBTGraf::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    DrawPlotSymbol(canvas, cx, cy, MarkColor(), QStringLiteral("Y( t )"), 50, QPoint(-46, -100), 39);
    canvas.Pen = TCanvasPen{0x0000FF, 3, Qt::SolidLine, TPenMode::Copy};
    canvas.MoveTo(cx - 26, cy + 30);
    canvas.LineTo(cx - 6, cy - 10);
    canvas.LineTo(cx + 29, cy - 10);
    canvas.Pen.Color = 0xFF0000;
    canvas.MoveTo(cx - 26, cy + 18);
    canvas.LineTo(cx + 29, cy + 18);
}

void TBTGraf::WriteData(TWriter& writer)
{
    TBTPanelComponent::WriteData(writer);
    writer.WriteBoolean(AllowPlayback);
}

void TBTGraf::ReadData(TReader& reader, uint8_t version)
{
    TBTPanelComponent::ReadData(reader, version);
    if (version >= 40) {
        AllowPlayback = reader.ReadBoolean();
        NameInputs();
        NameOutputs();
    }
}

int TBTGraf::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetLabel());
    dlg.HelpContext = 18065;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    QString label = GetLabel();
    bool playback = AllowPlayback;
    sheet.AddCaptionProp(Translate(QStringLiteral("Optionen")));
    sheet.AddEditProp(Translate(QStringLiteral("Name")), label, 0, 120);
    sheet.AddCheckProp(Translate(QStringLiteral("Wiedergabe")), playback);
    const int result = dlg.Execute();
    if (result == 1) {
        SetLabel(label);
        SetAllowPlayback(playback);
    }
    return result;
}

// --- XY recorder -----------------------------------------------------------------------------

const TComponentDescription TBTXY::Description{
    .Name = "TBTXY", .Prefix = {"XY"}, .HelpContext = 18070,
    .TypeName = {"X/Y-Schreiber", "X/Y plotter", "Plotteur X/Y"}, .Inputs = {4, 3, 4},
    .InputNames = "Xin Yin |Add |RST", .Category = TPaletteCategory::Schreiber};

TBTXY::TBTXY()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TFPXY"));
    Clocked = true;
}

void TBTXY::ReadData(TReader& reader, uint8_t version)
{
    TBTPanelComponent::ReadData(reader, version);
    // An older record has no reset input.
    if (InputCount == 3)
        SetInputCount(4);
}

void TBTXY::AddCurrentPoint()
{
    if (auto* e = ElementAs<TFPXY>())
        e->AddPoint(double(GetInputValue(0)), double(GetInputValue(1)));
}

void TBTXY::Calculate()
{
    const bool add = GetInputDigital(2);
    const bool rst = GetInputDigital(3);
    if (LastRst && !rst)
        if (auto* e = ElementAs<TFPXY>())
            e->ClearPlot();
    if (LastAdd && !add)
        AddCurrentPoint();
    LastAdd = add;
    LastRst = rst;
}

void TBTXY::SimReset()
{
    if (auto* e = ElementAs<TFPXY>())
        e->OnAdd = [this] { AddCurrentPoint(); };
    LastAdd = LastRst = false;
}

void TBTXY::ClockTick()
{
    if (auto* e = ElementAs<TFPXY>())
        e->MovePenMarker(double(GetInputValue(0)), double(GetInputValue(1)));
}

void TBTXY::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    DrawPlotSymbol(canvas, cx, cy, MarkColor(), QStringLiteral("X/Y"), 40, QPoint(-26, -75), 22);
    canvas.Pen = TCanvasPen{0x00FFFF, 3, Qt::SolidLine, TPenMode::Copy};
    canvas.MoveTo(cx - 26, cy + 15);
    canvas.LineTo(cx - 6, cy + 15);
    canvas.LineTo(cx + 9, cy - 25);
}

// --- Value table -----------------------------------------------------------------------------

const TComponentDescription TBTTabelle::Description{
    .Name = "TBTTabelle", .Prefix = {"TAB"}, .HelpContext = 18060,
    .TypeName = {"Tabelle", "Table", "Table"}, .Inputs = {3, 3, 66}, .Category = TPaletteCategory::Schreiber};

TBTTabelle::TBTTabelle()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TTabelle"));
    Editable = true;
    NameInputs();
}

void TBTTabelle::PrepareElement(TFP_Element& element)
{
    if (auto* table = dynamic_cast<TTabelle*>(&element))
        table->SetKanal(int16_t(std::clamp(Channels(), 1, 64)));
}

void TBTTabelle::NameInputs()
{
    QStringList names;
    for (int i = 1; i <= Channels(); ++i)
        names << QStringLiteral("E%1").arg(i);
    names << QStringLiteral("|Add") << QStringLiteral("/RST");
    NamePins(Inputs, names);
}

void TBTTabelle::AddRow()
{
    auto* table = ElementAs<TTabelle>();
    if (!table)
        return;
    const int k = std::min<int>(table->Kanal, Channels());
    if (table->RowCount() >= kMaxRows)
        table->DeleteRow(1);
    if (!table->Cell(0, 1).isEmpty())
        table->AppendRow();
    const int row = table->RowCount() - 1;
    for (int c = 0; c < k; ++c) {
        const TFormat& format = table->Formats[size_t(c)];
        table->SetCell(c, row,
                       format.Options.Contains(TFormatOption::Unformatted)
                           ? format.FormatText(GetInputText(c))
                           : format.FormatValue(double(GetInputValue(c))));
    }
    const QDateTime now = Clock().LocalTime();
    const QLocale locale = QLocale::system();
    table->SetCell(table->Kanal, row, locale.toString(now.time(), QStringLiteral("HH:mm:ss")));
    table->SetCell(table->Kanal + 1, row, locale.toString(now.date(), QLocale::ShortFormat));
    table->ShowLastRow();
}

void TBTTabelle::Calculate()
{
    const int k = Channels();
    const bool add = GetInputDigital(k);
    const bool rst = GetInputDigital(k + 1);
    if (!rst) {
        if (auto* table = ElementAs<TTabelle>())
            table->ClearRows();
    } else if (LastAdd && !add) {
        AddRow();
    }
    LastAdd = add;
}

void TBTTabelle::SimReset()
{
    if (auto* table = ElementAs<TTabelle>()) {
        table->ClearRows();
        table->OnAdd = [this] { AddRow(); };
    }
    LastAdd = false;
}

void TBTTabelle::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    const int left = Body.Left + 20;
    const int right = Body.Right - 20;
    const int half = (Body.Bottom - Body.Top) / 2 - 40;
    const int top = cy - 14 - half;
    const int bottom = cy - 14 + half;
    const int32_t colour = MarkColor();
    canvas.Pen = TCanvasPen{colour, 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{0xFFFFFF, Qt::SolidPattern};
    canvas.Rectangle(left, top, right, bottom);
    canvas.Brush.Color = colour;
    canvas.FillRect(left, top, right, top + 10);
    canvas.Pen = TCanvasPen{0xC0C0C0, 1, Qt::SolidLine, TPenMode::Copy};
    for (int y = top + 20; y < bottom; y += 10) {
        canvas.MoveTo(left + 1, y);
        canvas.LineTo(right - 1, y);
    }
    canvas.MoveTo(cx - 9, top + 10);
    canvas.LineTo(cx - 9, bottom - 1);
    canvas.Pen = TCanvasPen{0x000000, 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Rectangle(left, top, right, bottom);
}

int TBTTabelle::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetTypeName());
    dlg.HelpContext = 18060;
    QStringList entries;
    for (int i = 1; i <= 64; ++i)
        entries << QString::number(i);
    int32_t index = std::clamp(Channels(), 1, 64) - 1;
    dlg.PropScrollbox->AddComboProp(Translate(QStringLiteral("Kanäle")), index, entries, 64);
    const int result = dlg.Execute();
    const int k = std::clamp(index + 1, 1, 64);
    if (auto* table = ElementAs<TTabelle>())
        table->SetKanal(int16_t(k));
    SetInputCount(k + 2);
    return result;
}
