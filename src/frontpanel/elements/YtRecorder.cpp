#include "frontpanel/elements/YtRecorder.h"

#include "core/engine/HiTimer.h"
#include "core/model/Translator.h"
#include "frontpanel/chart/GrfFile.h"
#include "frontpanel/elements/RecorderTools.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "ui/Formats.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>
#include <QDir>
#include <QContextMenuEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kHotkeyCount = 10;
constexpr int kToolBarHeight = 45;
constexpr int kSpeedbarWidth = 224;

enum : int {
    cmRecord = 1, cmStop = 2, cmClear = 3, cmZoomAll = 5, cmPrint = 6, cmSave = 7, cmLoad = 8,
    cmSettings = 9, cmClipboard = 10, cmZoomYIn = 11, cmZoomYOut = 12, cmPlay = 13,
    cmZoomReset = 14, cmPageBack = 15, cmPageForward = 16, cmZoomXIn = 17, cmZoomXOut = 18
};

QStringList HotkeyActions()
{
    return {QStringLiteral(" ---"),  QStringLiteral("= REC"), QStringLiteral("= STP"),
            QStringLiteral("= PLY"), QStringLiteral("= CPY"), QStringLiteral("= PRT"),
            QStringLiteral("= ZM+"), QStringLiteral("= ZM-"), QStringLiteral("= ZMA"),
            QStringLiteral("= ZMR"), QStringLiteral("= SC+"), QStringLiteral("= SC-"),
            QStringLiteral("= TB+"), QStringLiteral("= TB-")};
}

int ClampInt(Extended v)
{
    return int(std::clamp<int64_t>(RoundHalfEven(v), INT32_MIN / 2, INT32_MAX / 2));
}

} // namespace

const double TFPGraf::kTimeBases[20] = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1,  0.2, 0.5,  1,
                                        2,     5,     10,    30,   60,   120,  300,  600, 1200, 1800};

QStringList TFPGraf::TimeBaseNames()
{
    return {QStringLiteral("1 ms"),   QStringLiteral("2 ms"),   QStringLiteral("5 ms"),
            QStringLiteral("10 ms"),  QStringLiteral("20 ms"),  QStringLiteral("50 ms"),
            QStringLiteral("100 ms"), QStringLiteral("200 ms"), QStringLiteral("500 ms"),
            QStringLiteral("1 s"),    QStringLiteral("2 s"),    QStringLiteral("5 s"),
            QStringLiteral("10 s"),   QStringLiteral("30 s"),   QStringLiteral("1 min"),
            QStringLiteral("2 min"),  QStringLiteral("5 min"),  QStringLiteral("10 min"),
            QStringLiteral("20 min"), QStringLiteral("30 min")};
}

TFPGraf::TFPGraf(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvLowered;
    BevelWidth = 1;
    BackgroundFromPanel = false;
    HintergrundFarbe = 0xFFFFFF;
    Hint = Lang3Q("Y(t)-Schreiber", "Y(t)-Plotter", "Plotteur-Y(t)");

    Chart = new TGraf(this);
    Chart->SetTimeMode(tmZeit);
    Chart->BorderWidth = 0;
    Chart->Bevels = false;
    Chart->OnZoomChanged = [this] { RebuildCurves(); };
    Chart->OnReadout = [this] { ShowReadout(); };
    Chart->SetStartZeit(DateTimeToDays(Clock().LocalTime()));
    Chart->Print.Zoom = 0.5;
    Chart->Print.ZoomPos = 120;
    Chart->Print.Centred = true;
    Chart->Print.PrinterIndex = -1;
    for (int32_t colour : {0x0000FF, 0xFF0000, 0x008000, 0xFF00FF})
        Chart->AddCurve().CurveColor = colour;
    Chart->Raster.YMin = YRangeLow;
    Chart->Raster.YMax = YRangeHigh;
    Chart->YUnit = Unit;

    SampleTimer = new TWLXHiTimer(this);
    SampleTimer->SetUseThread(false);
    SampleTimer->SetInterval(10);

    BuildToolBar();
    Popup = BuildRecorderMenu(this, {{cmRecord, Lang3Q("Aufnahme", "Record", "Record")},
                                     {cmPlay, Lang3Q("Wiedergabe", "Play", "Play")},
                                     {cmStop, QStringLiteral("Stop")},
                                     {0, QString()},
                                     {cmSettings, Lang3Q("Einstellungen...", "Settings...", "Setup...")},
                                     {0, QString()},
                                     {cmZoomAll, Lang3Q("Zoom alles", "Zoom all", "Zoomer tout")},
                                     {cmZoomReset, QStringLiteral("Zoom reset")},
                                     {0, QString()},
                                     {cmLoad, Lang3Q("Laden...", "Load...", "Charger...")},
                                     {cmSave, Lang3Q("Speichern...", "Save...", "Sauver...")},
                                     {cmPrint, Lang3Q("Drucken...", "Print...", "Imprimer...")},
                                     {cmClipboard, Lang3Q("Zwischenablage", "Clipboard", "Presse-papiers")}},
                              [this](int tag) { Command(tag); });
    for (int i = 0; i < kHotkeyCount; ++i) {
        THotkey& hotkey = AddHotkey();
        hotkey.OnPress = [this](THotkey* sender) { HotkeyPressed(sender->Action); };
        hotkey.OnRelease = [this](THotkey* sender) { HotkeyReleased(sender->Action); };
    }
    resize(320, 192);
    setMinimumSize(kSpeedbarWidth, 2 * kToolBarHeight);
    Layout();
    FollowRecording(1);
}

TFPGraf::~TFPGraf()
{
    SampleTimer->SetEnabled(false);
}

// --- Tool bar --------------------------------------------------------------------------------

void TFPGraf::BuildToolBar()
{
    ToolBar = new QFrame(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setFrameShape(QFrame::Panel);
    ToolBar->setFrameShadow(QFrame::Sunken);
    ToolBar->setAutoFillBackground(true);
    struct TDef {
        int tag, row, column;
        TRecorderGlyph glyph;
        const char* name;
        QString hint;
    };
    const QString props = Translate(QStringLiteral("Eigenschaften"));
    const TDef defs[] = {
        {cmRecord, 0, 0, TRecorderGlyph::Record, "SB_Start", Lang3Q("Aufnahme", "Record", "Rec")},
        {cmStop, 0, 1, TRecorderGlyph::Stop, "SB_Stop", QStringLiteral("Stop")},
        {cmPrint, 0, 2, TRecorderGlyph::Print, "SB_Print", Lang3Q("Drucken", "Print", "Imprimer")},
        {cmLoad, 0, 3, TRecorderGlyph::Open, "SB_Load", Lang3Q("Laden", "Load", "Charger")},
        {cmSave, 0, 4, TRecorderGlyph::Save, "SB_Save", Lang3Q("Speichern", "Save", "Sauver")},
        {cmClipboard, 0, 5, TRecorderGlyph::Copy, "SB_Clipboard",
         Lang3Q("Zwischenablage", "Clipboard", "Presse-papiers")},
        {cmZoomYIn, 1, 0, TRecorderGlyph::ZoomYIn, "SB_ZoomPlus", Lang3Q("Zoom Y+", "Zoom +", "Zoomer +")},
        {cmZoomYOut, 1, 1, TRecorderGlyph::ZoomYOut, "SB_ZoomMinus", Lang3Q("Zoom Y-", "Zoom -", "Zoomer -")},
        {cmZoomXIn, 1, 2, TRecorderGlyph::ZoomXIn, "sb_ZoomXPlus", QStringLiteral("Zoom X+")},
        {cmZoomXOut, 1, 3, TRecorderGlyph::ZoomXOut, "sb_ZoomXMinus", QStringLiteral("Zoom X-")},
        {cmZoomAll, 1, 4, TRecorderGlyph::ZoomAll, "SB_ZoomAll", Lang3Q("Zoom Alles", "Zoom all", "Zoomer tout")},
        {cmZoomReset, 1, 5, TRecorderGlyph::ZoomReset, "sb_ZoomReset",
         Lang3Q("Zoom Reset", "Zoom Reset", "Zoomer reset")},
        {cmPageBack, 1, 6, TRecorderGlyph::None, "sb_PageMinus",
         Lang3Q("Vorherige Seite", "Previous page", "Page précédente")},
        {cmPageForward, 1, 7, TRecorderGlyph::None, "sb_PagePlus",
         Lang3Q("Nächste Seite", "Next page", "Page suivante")},
        {cmSettings, 1, 8, TRecorderGlyph::Settings, "SB_YRange", props},
        {cmPlay, 1, 9, TRecorderGlyph::Play, "SB_Play", Lang3Q("Wiedergabe", "Play", "Play")},
    };
    for (const TDef& d : defs) {
        auto* b = new QToolButton(ToolBar);
        b->setObjectName(QString::fromLatin1(d.name));
        b->setAutoRaise(true);
        b->setGeometry(2 + d.column * 22, 2 + d.row * 21, 22, 21);
        b->setToolTip(d.hint);
        if (d.glyph == TRecorderGlyph::None)
            b->setText(d.tag == cmPageBack ? QStringLiteral("<") : QStringLiteral(">"));
        else
            b->setIcon(RecorderGlyph(d.glyph));
        b->setIconSize(QSize(16, 16));
        connect(b, &QToolButton::clicked, this, [this, tag = d.tag] { Command(tag); });
        m_buttons[size_t(d.tag)] = b;
    }
    SB_Play = m_buttons[cmPlay];
    TB_Combo = new QComboBox(ToolBar);
    TB_Combo->setObjectName(QStringLiteral("TB_Combo"));
    TB_Combo->addItems(TimeBaseNames());
    TB_Combo->setMaxVisibleItems(32);
    TB_Combo->setGeometry(2 + 6 * 22 + 4, 1, 82, 20);
    TB_Combo->setToolTip(Translate(QStringLiteral("Abtastrate")));
    TB_Combo->setStyleSheet(QStringLiteral("QComboBox { background: black; color: aqua; }"));
    connect(TB_Combo, &QComboBox::activated, this, [this](int index) { TimeBaseChanged(index); });
    QFont small = font();
    small.setPixelSize(11);
    auto label = [&](const char* name) {
        auto* l = new QLabel(ToolBar);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(small);
        return l;
    };
    StatusLabel = label("StatusLabel");
    StatusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    xPosLabel = label("xPosLabel");
    yPosLabel = label("yPosLabel");
    ToggleButton = new QToolButton(this);
    ToggleButton->setObjectName(QStringLiteral("ToggleButton"));
    ToggleButton->setAutoRaise(true);
    ToggleButton->setFixedSize(15, 15);
    ToggleButton->setIconSize(QSize(11, 11));
    connect(ToggleButton, &QToolButton::clicked, this, [this] { SetBedienteilSichtbar(!BedienteilSichtbar); });
    SetBedienteilSichtbar(true);
}

QToolButton* TFPGraf::Button(int tag) const
{
    return tag >= 0 && tag < int(m_buttons.size()) ? m_buttons[size_t(tag)] : nullptr;
}

void TFPGraf::Layout()
{
    const int frame = FrameWidth();
    const QRect inner = rect().adjusted(frame, frame, -frame, -frame);
    const int bar = BedienteilSichtbar ? kToolBarHeight : 0;
    Chart->setGeometry(inner.left(), inner.top(), inner.width(), std::max(1, inner.height() - bar));
    ToolBar->setGeometry(inner.left(), inner.bottom() + 1 - kToolBarHeight, inner.width(), kToolBarHeight);
    const int statusLeft = kSpeedbarWidth;
    const int statusWidth = std::max(10, inner.width() - statusLeft - 4);
    StatusLabel->setGeometry(statusLeft, 1, statusWidth, 14);
    xPosLabel->setGeometry(statusLeft, 15, statusWidth, 14);
    yPosLabel->setGeometry(statusLeft, 29, statusWidth, 14);
    ToggleButton->move(Chart->x() + 1, Chart->y() + Chart->height() - 16);
    ToggleButton->raise();
}

void TFPGraf::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    if (Chart)
        Layout();
}

void TFPGraf::SetBedienteilSichtbar(bool visible)
{
    BedienteilSichtbar = visible;
    ToolBar->setVisible(visible);
    ToggleButton->setIcon(RecorderGlyph(visible ? TRecorderGlyph::Hide : TRecorderGlyph::Show));
    ToolBar->raise();
    Layout();
}

void TFPGraf::SetPlayVisible(bool visible)
{
    SB_Play->setVisible(visible);
    if (const auto actions = Popup->actions(); actions.size() > 1)
        actions.at(1)->setVisible(visible);
}

void TFPGraf::contextMenuEvent(QContextMenuEvent* event)
{
    if (!ElementEnabled())
        return;
    for (QAction* a : Popup->actions()) {
        const int tag = a->data().toInt();
        if (tag == cmZoomAll || tag == cmSave || tag == cmLoad || tag == cmSettings)
            a->setEnabled(!Recording);
    }
    Popup->popup(event->globalPos());
}

void TFPGraf::SetStatus(const QString& text, int32_t color)
{
    StatusLabel->setText(text);
    QPalette pal = StatusLabel->palette();
    pal.setColor(QPalette::WindowText, TColorToQColor(color));
    StatusLabel->setPalette(pal);
}

void TFPGraf::ShowReadout()
{
    xPosLabel->setText(Chart->XReadout);
    yPosLabel->setText(Chart->YReadout + u' ' + Unit);
}

void TFPGraf::Repaint()
{
    Chart->update();
}

// --- Recording -------------------------------------------------------------------------------

void TFPGraf::AddSample(int channel, double time, double value)
{
    if (channel < 0 || channel >= kChannels)
        return;
    auto& samples = Channels[size_t(channel)];
    // A recording never grows past the limit, also when no component ends it.
    if (Recording && samples.size() >= kMaxSamples)
        return;
    samples.push_back(TChartSample{time, value});
    if (Recording && !Playing && samples.size() >= kMaxSamples) {
        if (OnStop)
            OnStop();
        SetStatus(Lang3Q("VOLL", "FULL", "PLEIN"), 0x0000FF);
    }
}

void TFPGraf::FollowRecording(int n)
{
    if (Chart->AutoZoom) {
        ZoomAll();
        return;
    }
    size_t count = 0;
    for (const auto& c : Channels)
        count = std::max(count, c.size());
    const double tEnd = SampleInterval * double(count);
    const double full = SampleInterval * Chart->Raster.W;
    const TRasterMap& r = Chart->Raster;
    if (TimeWindow > 0) {
        Chart->SetRange(tEnd - TimeWindow, tEnd, r.YMin, r.YMax);
        const int64_t now = Clock().PerformanceCounter();
        const double elapsed = double(now - LastPaintCount) / double(Clock().PerformanceFrequency());
        if (elapsed >= TimeWindow / std::max(1, Chart->PlotRect().width())) {
            Chart->update();
            LastPaintCount = now;
        }
        return;
    }
    Chart->SetRange(tEnd - full, tEnd - SampleInterval, r.YMin, r.YMax);
    if (count >= 2)
        Chart->ScrollBy(n);
    else
        Chart->update();
}

int TFPGraf::FirstVisibleSample() const
{
    return ClampInt(Chart->Raster.XMin / SampleInterval);
}

int TFPGraf::LastVisibleSample() const
{
    return ClampInt(Chart->Raster.XMax / SampleInterval);
}

void TFPGraf::ApplyTimeBase()
{
    if (TimeBaseIndex < 0 || TimeBaseIndex > 19)
        return;
    SetSampleInterval(kTimeBases[TimeBaseIndex]);
    TB_Combo->setCurrentIndex(TimeBaseIndex);
}

void TFPGraf::SetSampleInterval(double seconds)
{
    SampleInterval = seconds;
    if (OnIntervalChange)
        OnIntervalChange();
    const bool running = Recording;
    const bool wasPlaying = Playing;
    // A running recording is finished (and written) before its samples go.
    if (running && OnStop)
        OnStop();
    if (!wasPlaying)
        ClearRecording();
    if (running) {
        if (wasPlaying) {
            if (OnPlay)
                OnPlay();
        } else if (OnRecord) {
            OnRecord();
        }
    }
}

void TFPGraf::SetRunning(bool on)
{
    Recording = on;
    Chart->RangeLocked = on;
    Chart->Locked = on;
    Chart->XUnitVisible = !on;
    xPosLabel->clear();
    yPosLabel->clear();
    TB_Combo->setEnabled(!on);
    if (!on)
        Playing = false;
    Chart->PlayCursorVisible = Playing;
    Chart->update();
}

void TFPGraf::ClearRecording()
{
    for (auto& c : Channels)
        c.clear();
    for (auto& curve : Chart->Curves)
        curve->Points.clear();
    Chart->ClearComments();
    const TRasterMap& r = Chart->Raster;
    if (TimeWindow > 0)
        Chart->SetRange(0, TimeWindow, YRangeLow, YRangeHigh);
    else
        Chart->SetRange(r.XMin, r.XMax, YRangeLow, YRangeHigh);
    FollowRecording(1);
    Chart->update();
}

void TFPGraf::RebuildCurves()
{
    const TRasterMap& r = Chart->Raster;
    for (int ch = 0; ch < kChannels && ch < int(Chart->Curves.size()); ++ch) {
        const auto& samples = Channels[size_t(ch)];
        TKurve& curve = *Chart->Curves[size_t(ch)];
        // Never left pointing into an earlier recording.
        curve.Points.clear();
        const int count = int(std::min<size_t>(samples.size(), INT32_MAX / 2));
        if (count <= 1)
            continue;
        const int first = std::max(0, FirstVisibleSample());
        const int last = std::min(LastVisibleSample(), count - 1);
        if (first >= last)
            continue;
        // Samples per pixel column; a view far wider than the recording gives a huge stride.
        const double d = std::max(1.0, double((r.XMax - r.XMin) / SampleInterval) / r.W);
        int i = first > 0 ? first - 1 : first;
        int64_t k = 0;
        do {
            curve.Points.push_back(&samples[size_t(i)]);
            ++k;
            // Halves to even (the default rounding mode) in double precision: this runs for
            // every point of every curve whenever a recording scrolls.
            const double next = double(first) + std::nearbyint(double(k) * d);
            i = next <= double(count - 1) ? int(next) : count;
        } while (i <= last);
        if (i <= count - 1)
            curve.Points.push_back(&samples[size_t(i)]);
    }
}

// --- Zoom and paging -------------------------------------------------------------------------

void TFPGraf::ZoomAll()
{
    if (Recording && !Chart->AutoZoom)
        return;
    double tMin = 1e30, tMax = -1e30, vMin = 1e30, vMax = -1e30;
    for (const auto& c : Channels)
        for (const TChartSample& s : c) {
            tMin = std::min(tMin, s.X);
            tMax = std::max(tMax, s.X);
            vMin = std::min(vMin, s.Y);
            vMax = std::max(vMax, s.Y);
        }
    if (vMin == vMax) {
        vMin -= 100000;
        vMax += 100000;
    }
    Chart->SetRange(tMin, tMax, vMin, vMax);
    Chart->update();
}

void TFPGraf::ZoomReset()
{
    if (TimeWindow > 0)
        Chart->SetRange(0, TimeWindow, YRangeLow, YRangeHigh);
    else
        Chart->SetRange(Chart->Raster.XMin, Chart->Raster.XMax, YRangeLow, YRangeHigh);
    Chart->update();
}

void TFPGraf::PageForward()
{
    const TRasterMap& r = Chart->Raster;
    const Extended w = r.XMax - r.XMin;
    Chart->SetRange(r.XMin + w, r.XMax + w, YRangeLow, YRangeHigh);
    Chart->update();
}

void TFPGraf::PageBack()
{
    const TRasterMap& r = Chart->Raster;
    const Extended w = r.XMax - r.XMin;
    Chart->SetRange(r.XMin - w, r.XMax - w, YRangeLow, YRangeHigh);
    Chart->update();
}

// --- Commands and hotkeys --------------------------------------------------------------------

void TFPGraf::Command(int tag)
{
    const QString filter = QStringLiteral("Graph (*.GRF)");
    switch (tag) {
    case cmRecord:
        ClearRecording();
        if (OnRecord)
            OnRecord();
        break;
    case cmStop:
        if (OnStop)
            OnStop();
        Chart->update();
        break;
    case cmClear: ClearRecording(); break;
    case cmZoomAll: ZoomAll(); break;
    case cmPrint: Chart->PrintPreview(); break;
    case cmSave: {
        const QString file = AskRecorderFile(this, true, filter, QStringLiteral("GRF"));
        QString error;
        if (!file.isEmpty() && !SaveGRF(file, &error))
            MessageDlg(error, mtError, mbOK);
        break;
    }
    case cmLoad: {
        const QString file = AskRecorderFile(this, false, filter, QStringLiteral("GRF"));
        QString error, notice;
        if (!file.isEmpty() && !LoadGRF(file, &error, &notice))
            MessageDlg(error, mtError, mbOK);
        else if (!notice.isEmpty())
            MessageDlg(notice, mtWarning, mbOK);
        break;
    }
    case cmSettings: EditProperties(); break;
    case cmClipboard: Chart->CopyToClipboard(); break;
    case cmZoomYIn: Chart->ZoomYIn(); break;
    case cmZoomYOut: Chart->ZoomYOut(); break;
    case cmPlay:
        if (OnPlay)
            OnPlay();
        break;
    case cmZoomReset: ZoomReset(); break;
    case cmPageBack: PageBack(); break;
    case cmPageForward: PageForward(); break;
    case cmZoomXIn: Chart->ZoomXIn(); break;
    case cmZoomXOut: Chart->ZoomXOut(); break;
    default: break;
    }
}

void TFPGraf::TimeBaseChanged(int index)
{
    TimeBaseIndex = index;
}

void TFPGraf::HotkeyPressed(int32_t action)
{
    switch (action) {
    case 1: Command(cmRecord); break;
    case 2: Command(cmStop); break;
    case 3:
        if (OnPlay)
            OnPlay();
        break;
    case 4: Chart->CopyToClipboard(); break;
    case 6: Chart->ZoomYIn(); break;
    case 7: Chart->ZoomYOut(); break;
    case 8: ZoomAll(); break;
    case 9: ZoomReset(); break;
    case 10: PageForward(); break;
    case 11: PageBack(); break;
    case 12:
        if (TB_Combo->isEnabled() && TB_Combo->currentIndex() < TB_Combo->count() - 1) {
            TB_Combo->setCurrentIndex(TB_Combo->currentIndex() + 1);
            TimeBaseChanged(TB_Combo->currentIndex());
        }
        break;
    case 13:
        if (TB_Combo->isEnabled() && TB_Combo->currentIndex() > 0) {
            TB_Combo->setCurrentIndex(TB_Combo->currentIndex() - 1);
            TimeBaseChanged(TB_Combo->currentIndex());
        }
        break;
    default: break;
    }
}

void TFPGraf::HotkeyReleased(int32_t action)
{
    if (action == 5)
        Chart->PrintDirect();
}

// --- Files -----------------------------------------------------------------------------------

TGrfData TFPGraf::ToGrf() const
{
    TGrfData d;
    const TRasterMap& r = Chart->Raster;
    d.TimeBaseIndex = TimeBaseIndex;
    d.XUnit = Chart->XUnit;
    d.YUnit = Chart->YUnit;
    d.ViewXMin = double(r.XMin);
    d.ViewXMax = double(r.XMax);
    d.ViewYMin = double(r.YMin);
    d.ViewYMax = double(r.YMax);
    d.XMinLimit = Chart->XMinLimit;
    d.XMaxLimit = Chart->XMaxLimit;
    d.YMinLimit = Chart->YMinLimit;
    d.YMaxLimit = Chart->YMaxLimit;
    d.Headline = Chart->Headline;
    d.TimeMode = Chart->TimeMode();
    d.StartZeit = Chart->StartZeit;
    d.CommentLines = Chart->CommentLines;
    for (size_t i = 0; i < Chart->Curves.size(); ++i) {
        const TKurve& k = *Chart->Curves[i];
        TGrfData::Curve c{k.CurveText, k.CurveName, k.CurveColor, {}};
        if (i < Channels.size())
            c.Samples.assign(Channels[i].begin(), Channels[i].end());
        d.Curves.push_back(std::move(c));
    }
    for (const TKommentar* k : Chart->Comments)
        d.Comments.push_back({k->text(), double(k->AnchorX), double(k->AnchorY), double(k->PointX),
                              double(k->PointY)});
    return d;
}

bool TFPGraf::SaveGRF(const QString& fileName, QString* error)
{
    return EnsureFolderFor(fileName, error) && WriteWholeFile(fileName, WriteGrf(ToGrf()), error);
}

bool TFPGraf::LoadGRF(const QString& fileName, QString* error, QString* notice)
{
    QByteArray bytes;
    TGrfData data;
    if (!ReadWholeFile(fileName, 1024LL * 1024 * 1024, &bytes, error))
        return false;
    QString why;
    if (!ParseGrf(bytes, data, &why)) {
        if (error)
            *error = QDir::toNativeSeparators(fileName) + QStringLiteral(":\n") + why;
        return false;
    }
    ApplyGrf(data);
    if (data.Cut && notice)
        *notice = QDir::toNativeSeparators(fileName) + QStringLiteral(":\n") + GrfCutNotice();
    return true;
}

void TFPGraf::ApplyGrf(const TGrfData& d)
{
    ClearRecording();
    TimeBaseIndex = d.TimeBaseIndex;
    ApplyTimeBase();
    Chart->XUnit = d.XUnit;
    Chart->YUnit = d.YUnit;
    Chart->XMinLimit = d.XMinLimit;
    Chart->XMaxLimit = d.XMaxLimit;
    Chart->YMinLimit = d.YMinLimit;
    Chart->YMaxLimit = d.YMaxLimit;
    Chart->Headline = d.Headline;
    if (d.HasTimeMode()) {
        Chart->SetTimeMode(TTimeMode(std::clamp(d.TimeMode, 0, 2)));
        Chart->SetStartZeit(d.StartZeit);
    }
    Chart->SetRange(d.ViewXMin, d.ViewXMax, d.ViewYMin, d.ViewYMax);
    Chart->CommentLines = d.CommentLines;
    // Curves beyond the chart's four are read and left aside.
    for (size_t i = 0; i < d.Curves.size() && i < Chart->Curves.size(); ++i) {
        TKurve& k = *Chart->Curves[i];
        k.CurveText = d.Curves[i].Text;
        k.CurveName = d.Curves[i].Name;
        k.CurveColor = d.Curves[i].Color;
        for (const TChartSample& s : d.Curves[i].Samples)
            AddSample(int(i), s.X, s.Y);
    }
    for (const TGrfData::Comment& c : d.Comments) {
        TKommentar* k = Chart->AddComment(0, 0);
        k->setText(c.Text);
        k->adjustSize();
        k->AnchorX = c.AnchorX;
        k->AnchorY = c.AnchorY;
        k->PointX = c.PointX;
        k->PointY = c.PointY;
    }
    Chart->RasterChanged();
}

// --- Element data ----------------------------------------------------------------------------

void TFPGraf::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt16(int16_t(std::clamp(width(), -32768, 32767)));
    writer.WriteRawInt16(int16_t(std::clamp(height(), -32768, 32767)));
    writer.WriteRawReal48(SampleInterval);
    writer.WriteRawReal48(YRangeLow);
    writer.WriteRawReal48(YRangeHigh);
    writer.WriteRawShortString(Unit, 10);
    writer.WriteRawByte(Chart->SoftScroll ? 1 : 0);
    writer.WriteRawInt16(int16_t(TimeBaseIndex));
    writer.WriteBoolean(Chart->AutoZoom);
    for (const auto& curve : Chart->Curves)
        writer.WriteInteger(curve->CurveColor);
    writer.WriteInteger(Chart->GridColor);
    writer.WriteInteger(Chart->AxisColor);
    writer.WriteInteger(Chart->UnitColor);
    for (const auto& curve : Chart->Curves)
        writer.WriteInteger(curve->PenWidth);
    writer.WriteString(FilePrefix);
    writer.WriteString(StartFile);
    writer.WriteBoolean(FixedFileName);
    writer.WriteBoolean(BedienteilSichtbar);
    writer.WriteInteger(Chart->TimeMode());
    WriteChartPrintSettings(writer, *Chart);
    writer.WriteFloat(TimeWindow);
}

void TFPGraf::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int w = reader.ReadRawInt16();
    const int h = reader.ReadRawInt16();
    SampleInterval = reader.ReadRawReal48();
    if (!(SampleInterval > 0))
        SampleInterval = 0.1;
    YRangeLow = reader.ReadRawReal48();
    YRangeHigh = reader.ReadRawReal48();
    Unit = reader.ReadRawShortString(10);
    Chart->SoftScroll = reader.ReadRawByte() != 0;
    TimeBaseIndex = reader.ReadRawInt16();
    Chart->YUnit = Unit;
    if (version < 3)
        TimeBaseIndex += 6;
    ApplyTimeBase();
    resize(std::max(w, minimumWidth()), std::max(h, minimumHeight()));
    Layout();
    if (version >= 40) {
        Chart->AutoZoom = reader.ReadBoolean();
        for (auto& curve : Chart->Curves)
            curve->CurveColor = reader.ReadInteger();
        Chart->GridColor = reader.ReadInteger();
        Chart->AxisColor = reader.ReadInteger();
        Chart->UnitColor = reader.ReadInteger();
        Chart->ScaleFontColor = Chart->UnitColor;
        for (auto& curve : Chart->Curves)
            curve->PenWidth = std::clamp(reader.ReadInteger(), 0, 10);
        FilePrefix = reader.ReadString();
        StartFile = FindDataFile(reader.ReadString());
        FixedFileName = reader.ReadBoolean();
        SetBedienteilSichtbar(reader.ReadBoolean());
        Chart->SetTimeMode(TTimeMode(std::clamp(reader.ReadInteger(), 0, 2)));
        ReadChartPrintSettings(reader, *Chart);
    }
    if (version >= 41)
        TimeWindow = std::max(0.0, double(reader.ReadFloat()));
    ZoomReset();
}

int TFPGraf::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 0;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    auto tr = [](const char* s) { return Translate(QString::fromUtf8(s)); };
    QString low = FloatToText(YRangeLow), high = FloatToText(YRangeHigh), unit = Unit;
    sheet.AddCaptionProp(tr("Bereich"));
    sheet.AddRangeProp(tr("Bereich"), low, high);
    sheet.AddEditProp(tr("Einheit"), unit, 10, 64);
    sheet.AddCaptionProp(tr("Zeitbasis"));
    int32_t timeBase = TimeBaseIndex;
    sheet.AddComboProp(tr("Abtastrate"), timeBase, TimeBaseNames(), 120);
    int32_t display = int32_t(Chart->TimeMode()) - 1;
    sheet.AddComboProp(tr("Anzeige"), display, {tr("Relativ"), tr("Absolut")}, 120);
    QString window = FloatToText(TimeWindow);
    sheet.AddEditProp(tr("Zeitfenster") + QStringLiteral(" [s]"), window, 10, 64);
    std::array<int32_t, kChannels> colours{}, pens{};
    sheet.AddCaptionProp(tr("Farbe"));
    for (int i = 0; i < kChannels; ++i) {
        colours[size_t(i)] = Chart->Curves[size_t(i)]->CurveColor;
        sheet.AddColorProp(tr("Kanal") + QStringLiteral(" %1").arg(i + 1), colours[size_t(i)]);
    }
    sheet.AddCaptionProp(tr("Stiftbreite"));
    for (int i = 0; i < kChannels; ++i) {
        pens[size_t(i)] = Chart->Curves[size_t(i)]->PenWidth;
        sheet.AddSpinProp(tr("Kanal") + QStringLiteral(" %1").arg(i + 1), pens[size_t(i)], 0, 10, 64);
    }
    int32_t background = HintergrundFarbe, grid = Chart->GridColor, axis = Chart->AxisColor,
            text = Chart->UnitColor;
    sheet.AddCaptionProp(tr("Farbe"));
    sheet.AddColorProp(tr("Hintergrund"), background);
    sheet.AddColorProp(tr("Raster"), grid);
    sheet.AddColorProp(tr("Nulllinien"), axis);
    sheet.AddColorProp(tr("Text"), text);
    QString prefix = FilePrefix, startFile = StartFile;
    bool fixed = FixedFileName;
    sheet.AddCaptionProp(tr("Export"));
    sheet.AddEditProp(tr("Dateipräfix"), prefix, 0, 120);
    sheet.AddCheckProp(tr("Datei überschreiben"), fixed);
    sheet.AddCaptionProp(tr("Import"));
    sheet.AddFileProp(tr("Datei"), startFile, 0, 200, QStringLiteral("Graph (*.GRF)"), QStringLiteral("GRF"));
    sheet.AddCaptionProp(tr("Hotkeys"));
    const QStringList actions = HotkeyActions();
    for (size_t i = 0; i < Hotkeys.size(); ++i)
        sheet.AddHotkeyProp(tr("Hotkey") + QStringLiteral(" %1").arg(i + 1), *Hotkeys[i], &actions);
    bool soft = Chart->SoftScroll, autoZoom = Chart->AutoZoom;
    sheet.AddCaptionProp(tr("Optionen"));
    sheet.AddCheckProp(QStringLiteral("Soft-Scrolling"), soft);
    sheet.AddCheckProp(QStringLiteral("Auto-Zoom"), autoZoom);
    sheet.AddEditProp(tr("Hinweistext"), Hint, 0, 200);
    const int result = dlg.Execute();
    if (result == 1) {
        Chart->SetTimeMode(TTimeMode(std::clamp(display + 1, 0, 2)));
        for (int i = 0; i < kChannels; ++i) {
            Chart->Curves[size_t(i)]->CurveColor = colours[size_t(i)];
            Chart->Curves[size_t(i)]->PenWidth = pens[size_t(i)];
        }
        SetHintergrundFarbe(background);
        Chart->GridColor = grid;
        Chart->AxisColor = axis;
        Chart->UnitColor = text;
        Chart->ScaleFontColor = text;
        FilePrefix = prefix;
        FixedFileName = fixed;
        StartFile = startFile;
        Chart->SoftScroll = soft;
        Chart->AutoZoom = autoZoom;
        Unit = unit.left(10);
        YRangeLow = double(TextToFloat(low));
        YRangeHigh = double(TextToFloat(high));
        TimeWindow = std::max(0.0, double(TextToFloat(window)));
        Chart->YUnit = Unit;
        if (timeBase != TimeBaseIndex) {
            TimeBaseIndex = timeBase;
            ApplyTimeBase();
        }
        ZoomReset();
    }
    update();
    return result;
}

void TFPGraf::SetHintergrundFarbe(int32_t color)
{
    TFP_Element::SetHintergrundFarbe(color);
    Chart->PlotColor = color;
    Chart->update();
}

// --- Settings --------------------------------------------------------------------------------

void TFPGraf::SaveSettings(TIniFile& ini, const QString& path)
{
    const QString section = path + u'.' + ElementName;
    ini.WriteFloat(section, QStringLiteral("yRangeLow"), YRangeLow);
    ini.WriteFloat(section, QStringLiteral("yRangeHigh"), YRangeHigh);
    ini.WriteString(section, QStringLiteral("yRangeUnit"), Unit);
    ini.WriteInteger(section, QStringLiteral("TimebaseIndex"), TimeBaseIndex);
    ini.WriteBool(section, QStringLiteral("Softscroll"), Chart->SoftScroll);
    ini.WriteBool(section, QStringLiteral("Autozoom"), Chart->AutoZoom);
    ini.WriteBool(section, QStringLiteral("Controls"), BedienteilSichtbar);
}

bool TFPGraf::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + u'.' + ElementName;
    if (checkOnly) {
        for (const char* key : {"yRangeLow", "yRangeHigh", "yRangeUnit", "TimebaseIndex", "Softscroll",
                                "Autozoom", "Controls"})
            if (!ini.ValueExists(section, QString::fromLatin1(key)))
                return false;
        return true;
    }
    if (StartFileLoaded) {
        // A recording loaded at this run's start keeps what it brought.
        StartFileLoaded = false;
        return true;
    }
    YRangeLow = ini.ReadFloat(section, QStringLiteral("yRangeLow"), YRangeLow);
    YRangeHigh = ini.ReadFloat(section, QStringLiteral("yRangeHigh"), YRangeHigh);
    Unit = ini.ReadString(section, QStringLiteral("yRangeUnit"), Unit).left(10);
    TimeBaseIndex = ini.ReadInteger(section, QStringLiteral("TimebaseIndex"), TimeBaseIndex);
    Chart->SoftScroll = ini.ReadBool(section, QStringLiteral("Softscroll"), Chart->SoftScroll);
    Chart->AutoZoom = ini.ReadBool(section, QStringLiteral("Autozoom"), Chart->AutoZoom);
    SetBedienteilSichtbar(ini.ReadBool(section, QStringLiteral("Controls"), BedienteilSichtbar));
    ApplyTimeBase();
    Chart->YUnit = Unit;
    Chart->SetRange(Chart->Raster.XMin, Chart->Raster.XMax, YRangeLow, YRangeHigh);
    Chart->update();
    return true;
}

// --- Web -------------------------------------------------------------------------------------

void TFPGraf::WriteWebElement(QStringList& lines)
{
    WriteWebTitle(lines);
    lines << QStringLiteral("</BR>");
    lines << QStringLiteral("<form action=\"%1/Submit\">").arg(WebState().BaseAddress);
    WriteWebClientSelect(lines, TB_Combo, u'T');
    lines << QStringLiteral("</BR>");
    lines << QStringLiteral("<input type=\"submit\" value=\"") + HtmlText(Translate(QStringLiteral("Absenden"))) +
                 QStringLiteral("\">");
    lines << QStringLiteral("</form>");
}

void TFPGraf::WebSubmit(const QString& value)
{
    if (value.startsWith(u'T')) {
        const int index = value.mid(1).toInt();
        if (index >= 0 && index < TB_Combo->count()) {
            TB_Combo->setCurrentIndex(index);
            TimeBaseChanged(index);
        }
    }
    update();
}

void TFPGraf::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TFPGraf::WriteWebImageMap(QStringList& lines)
{
    WriteWebImageMapHead(*this, lines);
    if (BedienteilSichtbar) {
        const std::pair<int, int> areas[] = {{cmRecord, 6},    {cmStop, 7},      {cmPlay, 13},
                                             {cmZoomYIn, 4},   {cmZoomYOut, 5},  {cmZoomReset, 3},
                                             {cmZoomAll, 11},  {cmPageForward, 10}, {cmPageBack, 9},
                                             {cmZoomXIn, 14},  {cmZoomXOut, 15}};
        for (const auto& [tag, action] : areas)
            if (QToolButton* b = Button(tag); b && b->isVisible())
                lines << WriteWebAreaRect(action, ControlRectInElement(b), b->toolTip());
    }
    lines << WriteWebAreaRect(16, ControlRectInElement(ToggleButton), Hint);
    lines << WriteWebAreaRect(kWebActionRefresh, rect(), Hint);
    lines << QStringLiteral("</map>");
}

void TFPGraf::WebAction(int32_t action)
{
    static const std::pair<int, int> actions[] = {{3, cmZoomReset},   {4, cmZoomYIn},      {5, cmZoomYOut},
                                                  {6, cmRecord},      {7, cmStop},         {9, cmPageBack},
                                                  {10, cmPageForward}, {11, cmZoomAll},    {13, cmPlay},
                                                  {14, cmZoomXIn},    {15, cmZoomXOut}};
    for (const auto& [web, tag] : actions)
        if (web == action) {
            Command(tag);
            return;
        }
    if (action == 16) {
        SetBedienteilSichtbar(!BedienteilSichtbar);
        return;
    }
    TFP_Element::WebAction(action);
}
