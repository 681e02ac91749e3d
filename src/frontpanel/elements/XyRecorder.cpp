#include "frontpanel/elements/XyRecorder.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/RecorderTools.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kHotkeyCount = 10;
enum : int { cmReset = 1, cmPrint = 2, cmClipboard = 3, cmProperties = 4 };

// The yellow circle that shows where the inputs point.
class TPenMarker : public QWidget {
public:
    explicit TPenMarker(QWidget* parent)
        : QWidget(parent)
    {
        resize(8, 8);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::black);
        p.setBrush(QColor(255, 255, 0));
        p.drawEllipse(QRectF(0.5, 0.5, 7, 7));
    }
};

} // namespace

TFPXY::TFPXY(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvLowered;
    BevelWidth = 1;
    Popup = BuildRecorderMenu(this, {{cmReset, QStringLiteral("Reset")},
                                     {0, QString()},
                                     {cmProperties, Translate(QStringLiteral("Eigenschaften")) + QStringLiteral("...")},
                                     {0, QString()},
                                     {cmPrint, Lang3Q("Drucken...", "Print...", "Imprimer...")},
                                     {cmClipboard, Lang3Q("Zwischenablage", "Clipboard", "Presse-papiers")}},
                              [this](int tag) { Command(tag); });
    Chart = new TGraf(this);
    Chart->SetTimeMode(tmNone);
    Chart->NoZoomBox = true;
    Chart->AddCurve().CurveColor = 0x0000FF;
    Chart->Raster.XMin = XLow;
    Chart->Raster.XMax = XHigh;
    Chart->Raster.YMin = YLow;
    Chart->Raster.YMax = YHigh;
    Chart->YUnit = YUnit;
    Chart->XUnit = XUnit;
    Chart->BorderWidth = 0;
    Chart->Bevels = false;
    Chart->SetStartZeit(DateTimeToDays(Clock().LocalTime()));
    Chart->Print.Zoom = 0.5;
    Chart->Print.ZoomPos = 120;
    Chart->Print.Centred = true;
    Chart->Print.PrinterIndex = -1;
    setMinimumSize(115, 92);
    PenMarker = new TPenMarker(Chart);
    PenMarker->raise();
    resize(320, 192);
    Hint = Lang3Q("XY-Schreiber", "XY-Plotter", "Plotteur-XY");
    BackgroundFromPanel = false;
    TFPXY::SetHintergrundFarbe(0xFFFFFF);
    for (int i = 0; i < kHotkeyCount; ++i) {
        THotkey& hotkey = AddHotkey();
        hotkey.OnPress = [this](THotkey* sender) { HotkeyPressed(sender->Action); };
        hotkey.OnRelease = [this](THotkey* sender) { HotkeyReleased(sender->Action); };
    }
    ApplyRanges();
    ClearPlot();
}

TFPXY::~TFPXY() = default;

void TFPXY::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    if (Chart)
        LayoutChart();
}

// The chart fills the element; also done at once for a hidden element, whose resize events
// wait until it is shown.
void TFPXY::LayoutChart() const
{
    const int frame = FrameWidth();
    const QRect inside = rect().adjusted(frame, frame, -frame, -frame);
    if (Chart->geometry() != inside)
        Chart->setGeometry(inside);
}

int TFPXY::PlotWidth() const
{
    LayoutChart();
    return std::max(1, Chart->PlotRect().width());
}

int TFPXY::ColumnOfX(double x) const
{
    if (!(x >= XLow && x <= XHigh))
        return -1;
    const double step = (XHigh - XLow) / PlotWidth();
    if (!(step > 0))
        return -1;
    return int(RoundHalfEven((x - XLow) / step));
}

double TFPXY::XAtColumn(int i) const
{
    return XLow + i * (XHigh - XLow) / PlotWidth();
}

void TFPXY::AddPoint(double x, double y)
{
    const int w = PlotWidth();
    if (int(Slots.size()) != w)
        ClearPlot();
    const int c = ColumnOfX(x);
    if (c < 0 || c >= w)
        return;
    if (SlotSet[size_t(c)] && Slots[size_t(c)].Y == y)
        return;
    Slots[size_t(c)] = TChartSample{x, y};
    SlotSet[size_t(c)] = true;
    RebuildCurve();
    Chart->update();
}

void TFPXY::ClearPlot()
{
    const int w = PlotWidth();
    Slots.assign(size_t(w), TChartSample{});
    SlotSet.assign(size_t(w), false);
    for (int i = 0; i < w; ++i)
        Slots[size_t(i)].X = XAtColumn(i);
    Chart->ClearComments();
    RebuildCurve();
    ApplyRanges();
}

void TFPXY::RebuildCurve()
{
    TKurve& curve = *Chart->Curves.front();
    curve.Points.clear();
    for (size_t i = 0; i < Slots.size(); ++i)
        if (SlotSet[i])
            curve.Points.push_back(&Slots[i]);
}

void TFPXY::MovePenMarker(double x, double y)
{
    LayoutChart();
    const QPoint grid = Chart->GridRect().topLeft();
    const int px = Chart->Raster.XToPixel(x);
    const int py = Chart->Raster.YToPixel(y);
    PenMarker->move(grid.x() + px - PenMarker->width() / 2 + 2, grid.y() + py - PenMarker->height() / 2 + 2);
}

void TFPXY::ApplyRanges()
{
    Chart->YUnit = YUnit;
    Chart->XUnit = XUnit;
    Chart->SetRange(XLow, XHigh, YLow, YHigh);
    Chart->update();
}

void TFPXY::Command(int tag)
{
    switch (tag) {
    case cmReset: ClearPlot(); break;
    case cmPrint: Chart->PrintPreview(); break;
    case cmClipboard: Chart->CopyToClipboard(); break;
    case cmProperties: EditProperties(); break;
    default: break;
    }
}

void TFPXY::contextMenuEvent(QContextMenuEvent* event)
{
    if (ElementEnabled())
        Popup->popup(event->globalPos());
}

void TFPXY::HotkeyPressed(int32_t action)
{
    switch (action) {
    case 1: ClearPlot(); break;
    case 2:
        if (OnAdd)
            OnAdd();
        break;
    case 3: Chart->CopyToClipboard(); break;
    default: break;
    }
}

void TFPXY::HotkeyReleased(int32_t action)
{
    if (action == 4)
        Chart->PrintDirect();
}

void TFPXY::SimStopped()
{
    ClearPlot();
}

void TFPXY::SetHintergrundFarbe(int32_t color)
{
    TFP_Element::SetHintergrundFarbe(color);
    Chart->PlotColor = color;
    Chart->update();
}

void TFPXY::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt16(int16_t(std::clamp(width(), -32768, 32767)));
    writer.WriteRawInt16(int16_t(std::clamp(height(), -32768, 32767)));
    writer.WriteRawReal48(YLow);
    writer.WriteRawReal48(YHigh);
    writer.WriteRawShortString(YUnit, 10);
    writer.WriteRawReal48(XLow);
    writer.WriteRawReal48(XHigh);
    writer.WriteRawShortString(XUnit, 10);
    writer.WriteInteger(Chart->GridColor);
    writer.WriteInteger(Chart->AxisColor);
    writer.WriteInteger(Chart->UnitColor);
    WriteChartPrintSettings(writer, *Chart);
}

void TFPXY::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int w = reader.ReadRawInt16();
    const int h = reader.ReadRawInt16();
    YLow = reader.ReadRawReal48();
    YHigh = reader.ReadRawReal48();
    YUnit = reader.ReadRawShortString(10);
    XLow = reader.ReadRawReal48();
    XHigh = reader.ReadRawReal48();
    XUnit = reader.ReadRawShortString(10);
    resize(std::max(w, minimumWidth()), std::max(h, minimumHeight()));
    if (version > 39) {
        Chart->GridColor = reader.ReadInteger();
        Chart->AxisColor = reader.ReadInteger();
        Chart->UnitColor = reader.ReadInteger();
        Chart->ScaleFontColor = Chart->UnitColor;
        ReadChartPrintSettings(reader, *Chart);
    }
    ClearPlot();
}

int TFPXY::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 0;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    auto tr = [](const char* s) { return Translate(QString::fromUtf8(s)); };
    QString xLow = FloatToText(XLow), xHigh = FloatToText(XHigh), xUnit = XUnit;
    QString yLow = FloatToText(YLow), yHigh = FloatToText(YHigh), yUnit = YUnit;
    sheet.AddCaptionProp(tr("Bereich") + QStringLiteral(" X"));
    sheet.AddRangeProp(tr("Bereich"), xLow, xHigh);
    sheet.AddEditProp(tr("Einheit"), xUnit, 10, 64);
    sheet.AddCaptionProp(tr("Bereich") + QStringLiteral(" Y"));
    sheet.AddRangeProp(tr("Bereich"), yLow, yHigh);
    sheet.AddEditProp(tr("Einheit"), yUnit, 10, 64);
    int32_t background = HintergrundFarbe, grid = Chart->GridColor, axis = Chart->AxisColor,
            text = Chart->UnitColor;
    sheet.AddCaptionProp(tr("Farbe"));
    sheet.AddColorProp(tr("Hintergrund"), background);
    sheet.AddColorProp(tr("Raster"), grid);
    sheet.AddColorProp(tr("Nulllinien"), axis);
    sheet.AddColorProp(tr("Text"), text);
    sheet.AddCaptionProp(tr("Hotkeys"));
    const QStringList actions{QStringLiteral(" ---"), QStringLiteral("= RST"), QStringLiteral("= ADD"),
                              QStringLiteral("= CPY"), QStringLiteral("= PRT")};
    for (size_t i = 0; i < Hotkeys.size(); ++i)
        sheet.AddHotkeyProp(tr("Hotkey") + QStringLiteral(" %1").arg(i + 1), *Hotkeys[i], &actions);
    sheet.AddCaptionProp(tr("Optionen"));
    sheet.AddEditProp(tr("Hinweistext"), Hint, 0, 140);
    const int result = dlg.Execute();
    if (result == 1) {
        XUnit = xUnit.left(10);
        YUnit = yUnit.left(10);
        XLow = double(TextToFloat(xLow));
        XHigh = double(TextToFloat(xHigh));
        YLow = double(TextToFloat(yLow));
        YHigh = double(TextToFloat(yHigh));
        SetHintergrundFarbe(background);
        Chart->GridColor = grid;
        Chart->AxisColor = axis;
        Chart->UnitColor = text;
        Chart->ScaleFontColor = text;
        ApplyRanges();
        ClearPlot();
    }
    return result;
}

void TFPXY::SaveSettings(TIniFile& ini, const QString& path)
{
    const QString section = path + u'.' + ElementName;
    ini.WriteFloat(section, QStringLiteral("yRangeLow"), YLow);
    ini.WriteFloat(section, QStringLiteral("yRangeHigh"), YHigh);
    ini.WriteString(section, QStringLiteral("yRangeUnit"), YUnit);
    ini.WriteFloat(section, QStringLiteral("xRangeLow"), XLow);
    ini.WriteFloat(section, QStringLiteral("xRangeHigh"), XHigh);
    ini.WriteString(section, QStringLiteral("xRangeUnit"), XUnit);
}

bool TFPXY::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + u'.' + ElementName;
    if (checkOnly) {
        for (const char* key : {"yRangeLow", "yRangeHigh", "yRangeUnit", "xRangeLow", "xRangeHigh", "xRangeUnit"})
            if (!ini.ValueExists(section, QString::fromLatin1(key)))
                return false;
        return true;
    }
    YLow = ini.ReadFloat(section, QStringLiteral("yRangeLow"), YLow);
    YHigh = ini.ReadFloat(section, QStringLiteral("yRangeHigh"), YHigh);
    YUnit = ini.ReadString(section, QStringLiteral("yRangeUnit"), YUnit).left(10);
    XLow = ini.ReadFloat(section, QStringLiteral("xRangeLow"), XLow);
    XHigh = ini.ReadFloat(section, QStringLiteral("xRangeHigh"), XHigh);
    XUnit = ini.ReadString(section, QStringLiteral("xRangeUnit"), XUnit).left(10);
    ApplyRanges();
    return true;
}
