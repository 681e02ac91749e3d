#include "frontpanel/elements/PenPlotter.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/PanelRepaint.h"
#include "frontpanel/elements/RecorderTools.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ValueText.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QLocale>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kHotkeyCount = 10;
enum : int { cmCopy = 1, cmReset = 2, cmSave = 3, cmPrint = 4 };

int Round(double v)
{
    return int(RoundHalfEven(v));
}

QString FloatText(double v)
{
    return GeneralText(v, 15, 15, 2, QLocale::system().decimalPoint().at(0));
}

// Shows the plot picture.
class TPlotBox : public QWidget {
public:
    TPlotBox(QWidget* parent, TStiftplotter& plotter) : QWidget(parent), m_plotter(plotter)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const QImage& plot = m_plotter.Plot();
        if (m_plotter.GridInFront)
            m_plotter.DrawGrid();
        QPainter p(this);
        p.drawImage(event->rect().topLeft(), plot, event->rect());
    }

private:
    TStiftplotter& m_plotter;
};

// The pen marker: a 7 x 7 circle in the pen's colour (yellow at first).
class TPenDot : public QWidget {
public:
    explicit TPenDot(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(7, 7);
    }
    QColor Fill = QColor(255, 255, 0);

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::black);
        p.setBrush(Fill);
        p.drawEllipse(QRectF(0.5, 0.5, 6, 6));
    }
};

QStringList ActionNames()
{
    return {QStringLiteral(" ---"), QStringLiteral("= RST"), QStringLiteral("= SAV"), QStringLiteral("= PRT"),
            QStringLiteral("= CPY")};
}

} // namespace

TStiftplotter::TStiftplotter(QWidget* owner)
    : TFP_Element(owner)
{
    BevelInner = bvLowered;
    BevelOuter = bvNone;
    BevelWidth = 1;
    BorderWidth = 0;
    BackgroundFromPanel = false;
    HintergrundFarbe = 0xFFFFFF;
    Hint = Lang3Q("Stiftplotter", "Pen plotter", "Plotteur");
    setFocusPolicy(Qt::NoFocus);
    Print.Zoom = 0.5;
    Print.ZoomPos = 120;
    Print.Centred = true;
    Print.PrinterIndex = -1;
    PaintBox = new TPlotBox(this, *this);
    PenMarker = new TPenDot(PaintBox);
    PenMarker->move(1, 1);
    PenMarker->hide();
    Popup = BuildRecorderMenu(this,
                              {{cmCopy, Translate(QStringLiteral("Kopieren"))},
                               {cmReset, QStringLiteral("Reset")},
                               {cmSave, Lang3Q("Speichern als...", "Save as...", "Sauvegarder...")},
                               {cmPrint, Translate(QStringLiteral("Drucken")) + QStringLiteral("...")}},
                              [this](int tag) { Command(tag); });
    for (int i = 0; i < kHotkeyCount; ++i) {
        THotkey& hotkey = AddHotkey();
        hotkey.OnPress = [this](THotkey* sender) { HotkeyPressed(sender->Action); };
        hotkey.OnRelease = [this](THotkey* sender) { HotkeyReleased(sender->Action); };
    }
    resize(192, 192);
    FitPaintBox();
}

TStiftplotter::~TStiftplotter() = default;

void TStiftplotter::FitPaintBox()
{
    const int f = FrameWidth();
    const QRect inside = rect().adjusted(f, f, -f, -f);
    if (PaintBox->geometry() != inside)
        PaintBox->setGeometry(inside);
    if (inside.size() != m_lastClientSize) {
        m_lastClientSize = inside.size();
        ClearPlot();
    }
}

void TStiftplotter::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    FitPaintBox();
}

QPoint TStiftplotter::PixelOf(double x, double y) const
{
    const double w = m_plot.width(), h = m_plot.height();
    return QPoint(Round(w * (x - XMin) / (XMax - XMin)), Round(h - h * (y - YMin) / (YMax - YMin)));
}

void TStiftplotter::MovePen()
{
    if (!(PenX >= XMin && PenY >= YMin && PenX <= XMax && PenY <= YMax)) {
        Connected = false;
    } else {
        const QPoint p = PixelOf(PenX, PenY);
        const QRgb colour = qRgb(PenRed, PenGreen, PenBlue);
        if (p != LastPixel) {
            if (PenDown && Connected && !m_plot.isNull()) {
                const TPenLine line{LastPixel, p, colour, PenWidth};
                // A pen going to and fro over the same lines in one colour adds nothing.
                const size_t n = m_lines.size();
                const bool again = n >= 2 && (m_lines[n - 1] == line || m_lines[n - 2] == line) &&
                                   m_lines[n - 1].colour == colour && m_lines[n - 1].width == PenWidth &&
                                   m_lines[n - 2].colour == colour && m_lines[n - 2].width == PenWidth;
                if (!again) {
                    // Bounded while the page is hidden and no tick draws them.
                    if (m_lines.size() >= 4096)
                        DrawPending();
                    m_lines.push_back(line);
                    const int grow = 1 + PenWidth / 2;
                    m_linesArea |= QRect(LastPixel, p).normalized().adjusted(-grow, -grow, grow, grow);
                    RequestRepaintChanged(*PaintBox, *this);
                }
            }
            if (PenMarker->isVisible())
                PenMarker->setGeometry(p.x() - 3, p.y() - 3, 7, 7);
            LastPixel = p;
            Connected = true;
        }
        if (PenMarker->isVisible() && static_cast<TPenDot*>(PenMarker)->Fill != QColor(colour)) {
            static_cast<TPenDot*>(PenMarker)->Fill = QColor(colour);
            RequestRepaint(*PenMarker);
        }
    }
    // The labels are texts of the ranges: made again only when a range or unit changed.
    const std::array<double, 4> range{XMin, XMax, YMin, YMax};
    if (m_labelsMade && std::memcmp(range.data(), m_labelRange.data(), sizeof range) == 0 && XUnit == m_labelXUnit &&
        YUnit == m_labelYUnit)
        return;
    m_labelRange = range;
    m_labelXUnit = XUnit;
    m_labelYUnit = YUnit;
    m_labelsMade = true;
    const std::array<QString, 4> labels{FloatText(XMin) + XUnit, FloatText(XMax) + XUnit, FloatText(YMin) + YUnit,
                                        FloatText(YMax) + YUnit};
    if (labels != Labels) {
        Labels = labels;
        if (FadeStrength == 0)
            ClearPlot();
    }
}

void TStiftplotter::DrawPending()
{
    if (m_clearDue) {
        m_clearDue = false;
        m_plot.fill(Qt::black);
        QPainter p(&m_plot);
        p.setPen(QPen(TColorToQColor(GridColor), 2));
        p.setBrush(TColorToQColor(HintergrundFarbe));
        p.drawRect(QRect(QPoint(1, 1), QPoint(m_plot.width() - 1, m_plot.height() - 1)));
        p.end();
        DrawGrid();
        PaintBox->update();
    }
    if (m_lines.empty())
        return;
    QPainter painter(&m_plot);
    for (const TPenLine& line : m_lines) {
        painter.setPen(QPen(QColor(line.colour), line.width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(line.from, line.to);
    }
    painter.end();
    m_lines.clear();
    const QRect area = m_linesArea;
    m_linesArea = QRect();
    PaintBox->update(area);
}

void TStiftplotter::RepaintChanged()
{
    DrawPending();
}

const QImage& TStiftplotter::Plot()
{
    DrawPending();
    return m_plot;
}

void TStiftplotter::SetMarkerVisible(bool visible)
{
    if (PenMarker->isVisible() != visible)
        PenMarker->setVisible(visible);
}

void TStiftplotter::ClearPlot()
{
    // A range input that changes in every step clears in every step: the picture is cleared
    // when it is drawn next (at the tick, or when it is painted or asked for).
    m_lines.clear();
    m_linesArea = QRect();
    const QSize size = PaintBox->size().expandedTo(QSize(1, 1));
    if (m_plot.size() != size)
        m_plot = QImage(size, QImage::Format_RGB32);
    Connected = false;
    m_clearDue = true;
    RequestRepaintChanged(*PaintBox, *this);
}

void TStiftplotter::DrawGrid()
{
    if (m_plot.isNull())
        return;
    QPainter p(&m_plot);
    const QColor grid = TColorToQColor(GridColor);
    const int W = m_plot.width(), H = m_plot.height();
    const int w = W - 1, h = H - 1;
    if (CentreLineY) {
        p.setPen(QPen(grid, 2));
        p.drawLine(Round(w / 2.0), 0, Round(w / 2.0), h);
    }
    if (CentreLineX) {
        p.setPen(QPen(grid, 2));
        p.drawLine(0, Round(h / 2.0), w, Round(h / 2.0));
    }
    p.setPen(QPen(grid, 0));
    if (GridType == 1) {
        for (int i = 0; i <= 20; ++i) {
            const int x = Round(w * i / 20.0), y = Round(h * i / 20.0);
            p.drawLine(x, 0, x, h);
            p.drawLine(0, y, w, y);
        }
    } else if (GridType == 2) {
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i <= 10; ++i)
            p.drawEllipse(QRect(QPoint(Round(w * i / 20.0), Round(h * i / 20.0)),
                                QPoint(Round(w - w * i / 20.0), Round(h - h * i / 20.0))));
    }
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    p.setFont(font);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(TColorToQColor(HintergrundFarbe));
    p.setPen(TColorToQColor(TextColor));
    const QFontMetrics m = p.fontMetrics();
    const auto text = [&](int x, int y, const QString& s) { p.drawText(x, y + m.ascent(), s); };
    if (LabelLeft)
        text(3, H / 2 + 3, Labels[0]);
    if (LabelRight)
        text(W - m.horizontalAdvance(Labels[1]) - 3, H / 2 + 3, Labels[1]);
    if (LabelTop)
        text(W / 2 + 3, 3, Labels[3]);
    if (LabelBottom)
        text(W / 2 + 3, H - m.height() - 3, Labels[2]);
}

void TStiftplotter::Fade()
{
    if (FadeStrength == 0 || m_plot.isNull())
        return;
    DrawPending();
    QPainter p(&m_plot);
    QColor veil = TColorToQColor(HintergrundFarbe);
    veil.setAlpha(FadeStrength);
    p.fillRect(m_plot.rect(), veil);
    p.end();
    DrawGrid();
    RequestRepaint(*PaintBox);
}

void TStiftplotter::SetHintergrundFarbe(int32_t color)
{
    TFP_Element::SetHintergrundFarbe(color);
    ClearPlot();
}

QImage TStiftplotter::Snapshot()
{
    DrawPending();
    if (GridInFront)
        DrawGrid();
    return m_plot.copy();
}

void TStiftplotter::CopyToClipboard()
{
    QApplication::clipboard()->setImage(Snapshot());
}

bool TStiftplotter::SaveImage(const QString& fileName)
{
    Saving = true;
    QString reason;
    const bool ok = EnsureFolderFor(fileName, &reason) &&
                    WriteImageFile(fileName, Snapshot(), ExportFormat == 0 ? "JPG" : "BMP", &reason);
    Saving = false;
    if (!ok)
        MessageDlg(Lang3Q("Das Bild kann nicht gespeichert werden:", "The picture cannot be saved:",
                          "Impossible d'enregistrer l'image :") +
                       u'\n' + QDir::toNativeSeparators(fileName) + QStringLiteral("\n") + reason,
                   mtError, mbOK);
    return ok;
}

QString TStiftplotter::AutoFileName(const QDateTime& now) const
{
    return Ctx().ProgramFolder + QStringLiteral("Data/") + TimeStampedName(Hint, now) +
           (ExportFormat == 0 ? QStringLiteral(".JPG") : QStringLiteral(".BMP"));
}

void TStiftplotter::SaveAs()
{
    const QString file = ExportFormat == 0 ? AskRecorderFile(this, true, QStringLiteral("JPEG (*.JPG)"), QStringLiteral("JPG"))
                                           : AskRecorderFile(this, true, QStringLiteral("Bitmap (*.BMP)"), QStringLiteral("BMP"));
    if (!file.isEmpty())
        SaveImage(file);
}

void TStiftplotter::Command(int tag)
{
    switch (tag) {
    case cmCopy: CopyToClipboard(); break;
    case cmReset: ClearPlot(); break;
    case cmSave: SaveAs(); break;
    case cmPrint: PrintPreview(); break;
    default: break;
    }
}

void TStiftplotter::contextMenuEvent(QContextMenuEvent* event)
{
    if (ElementEnabled())
        Popup->popup(event->globalPos());
}

void TStiftplotter::HotkeyPressed(int32_t action)
{
    switch (action) {
    case 1: ClearPlot(); break;
    case 2: SaveImage(AutoFileName(Clock().LocalTime())); break;
    case 4: CopyToClipboard(); break;
    default: break;
    }
}

void TStiftplotter::HotkeyReleased(int32_t action)
{
    if (action == 3)
        PrintNow();
}

// --- Printing --------------------------------------------------------------------------------

TPrintJob TStiftplotter::PrintJob()
{
    TPrintJob job{Print, Headline, Comments, {}, {}};
    job.OnSetupPrinter = OnSetupPrinter;
    job.PaintPage = [this](QPainter& painter, const TPageOptions& o) { PaintPrintPage(painter, o); };
    return job;
}

void TStiftplotter::PrintPreview()
{
    TPrintJob job = PrintJob();
    RunPrintPreview(this, job);
}

bool TStiftplotter::PrintNow()
{
    TPrintJob job = PrintJob();
    return PrintPageDirect(job);
}

void TStiftplotter::PaintPrintPage(QPainter& painter, const TPageOptions& o)
{
    if (!BeginInstrumentPage(painter, o, size(), Print.Origin))
        return;
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int headWidth = painter.fontMetrics().horizontalAdvance(o.Headline);
    painter.drawText(QPoint((width() - headWidth) / 2, -Round(1.5 * 12) + painter.fontMetrics().ascent()), o.Headline);
    font.setBold(false);
    font.setPixelSize(10);
    painter.setFont(font);
    for (int i = 0; i < o.Comments.size(); ++i)
        painter.drawText(QPoint(0, height() + 10 * i + painter.fontMetrics().ascent()), o.Comments.at(i));
    painter.drawImage(QPoint(0, 0), Snapshot());
    painter.restore();
}

// --- Element data ----------------------------------------------------------------------------

void TStiftplotter::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt16(int16_t(std::clamp(width(), -32768, 32767)));
    writer.WriteRawInt16(int16_t(std::clamp(height(), -32768, 32767)));
    writer.WriteBoolean(GridInFront);
    writer.WriteBoolean(CentreLineX);
    writer.WriteBoolean(CentreLineY);
    writer.WriteRawInt32(TextColor);
    writer.WriteRawInt32(HintergrundFarbe);
    writer.WriteRawInt32(GridColor);
    for (const QString& label : Labels)
        writer.WriteString(label);
    writer.WriteString(XUnit);
    writer.WriteString(YUnit);
    writer.WriteInteger(GridType);
    writer.WriteInteger(ExportFormat);
    writer.WriteBoolean(LabelTop);
    writer.WriteBoolean(LabelBottom);
    writer.WriteBoolean(LabelRight);
    writer.WriteBoolean(LabelLeft);
    WritePrintSettings(writer, Print, Headline, Comments);
}

void TStiftplotter::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int w = reader.ReadRawInt16();
    const int h = reader.ReadRawInt16();
    GridInFront = reader.ReadBoolean();
    CentreLineX = reader.ReadBoolean();
    CentreLineY = reader.ReadBoolean();
    TextColor = reader.ReadRawInt32();
    HintergrundFarbe = reader.ReadRawInt32();
    GridColor = reader.ReadRawInt32();
    for (QString& label : Labels)
        label = reader.ReadString();
    XUnit = reader.ReadString();
    YUnit = reader.ReadString();
    const int grid = reader.ReadInteger();
    GridType = grid >= 0 && grid <= 2 ? grid : 1;
    ExportFormat = reader.ReadInteger() == 1 ? 1 : 0;
    LabelTop = reader.ReadBoolean();
    LabelBottom = reader.ReadBoolean();
    LabelRight = reader.ReadBoolean();
    LabelLeft = reader.ReadBoolean();
    ReadPrintSettings(reader, Print, Headline, Comments);
    setGeometry(x(), y(), std::max(0, w), std::max(0, h));
    FitPaintBox();
    ClearPlot();
}

int TStiftplotter::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18081;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    const auto tr = [](const char* s) { return Translate(QString::fromUtf8(s)); };
    QString xUnit = XUnit, yUnit = YUnit;
    sheet.AddEditProp(tr("Einheit") + QStringLiteral(" [X]"), xUnit, 0, 64);
    sheet.AddEditProp(tr("Einheit") + QStringLiteral(" [Y]"), yUnit, 0, 64);
    sheet.AddCaptionProp(tr("Bereich"));
    sheet.AddCheckProp(tr("Oben"), LabelTop);
    sheet.AddCheckProp(tr("Unten"), LabelBottom);
    sheet.AddCheckProp(tr("Links"), LabelLeft);
    sheet.AddCheckProp(tr("Rechts"), LabelRight);
    sheet.AddCaptionProp(tr("Raster"));
    int32_t grid = GridType;
    sheet.AddComboProp(tr("Raster"), grid, {tr("Kein"), tr("Kartesisch"), tr("Polar")}, 120);
    sheet.AddCheckProp(tr("Mittellinie") + QStringLiteral(" [X]"), CentreLineX);
    sheet.AddCheckProp(tr("Mittellinie") + QStringLiteral(" [Y]"), CentreLineY);
    sheet.AddCheckProp(tr("Raster im Vordergrund"), GridInFront);
    sheet.AddCaptionProp(tr("Farbe"));
    int32_t background = HintergrundFarbe;
    sheet.AddColorProp(tr("Raster"), GridColor);
    sheet.AddColorProp(tr("Text"), TextColor);
    sheet.AddColorProp(tr("Hintergrund"), background);
    sheet.AddCaptionProp(tr("Export"));
    int32_t format = ExportFormat;
    sheet.AddComboProp(tr("Format"), format, {QStringLiteral("JPEG (*.JPG)"), QStringLiteral("BITMAP (*.BMP)")}, 120);
    sheet.AddCaptionProp(tr("Hotkeys"));
    const QStringList actions = ActionNames();
    for (size_t i = 0; i < Hotkeys.size(); ++i)
        sheet.AddHotkeyProp(tr("Hotkey") + QStringLiteral(" %1").arg(i + 1), *Hotkeys[i], &actions);
    sheet.AddCaptionProp(tr("Optionen"));
    sheet.AddEditProp(tr("Hinweistext"), Hint, 0, 120);
    if (userEdit)
        sheet.AddCheckProp(tr("Zur Laufzeit einstellbar"), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        XUnit = xUnit;
        YUnit = yUnit;
        GridType = std::clamp(grid, 0, 2);
        ExportFormat = format == 1 ? 1 : 0;
        HintergrundFarbe = background;
        ClearPlot();
    }
    update();
    return result;
}
