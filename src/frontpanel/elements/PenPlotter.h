#pragma once
// The X/Y pen plotter: a drawing surface on which a pen moves to the point the component sets,
// drawing a line while the pen is down. The drawing is kept in a picture of the plot's size:
// the lines of the pen's moves are drawn into it at the repaint tick, which repaints only the
// rectangle they cover; an afterglow fades the picture towards the background every 50-ms tick. Grid (none, Cartesian,
// polar), centre lines and range labels; copy, save (JPEG or BMP) and print.

#include "frontpanel/FP_Element.h"
#include "frontpanel/chart/Chart.h"
#include "frontpanel/elements/PanelRepaint.h"

#include <QImage>

#include <array>
#include <vector>

class QDateTime;
class QMenu;

class TStiftplotter : public TFP_Element, public TTickRepaint {
public:
    FP_CLASS_NAME(TStiftplotter)

    explicit TStiftplotter(QWidget* owner = nullptr);
    ~TStiftplotter() override;

    // Set by the component in every step.
    double PenX = 0, PenY = 0;
    bool PenDown = false;
    uint8_t PenRed = 0, PenGreen = 0, PenBlue = 0;
    int PenWidth = 0;       // 0..50 pixels
    int FadeStrength = 0;   // 0..254; 0 keeps the drawing
    double XMin = -10, XMax = 10, YMin = -10, YMax = 10;

    QPoint LastPixel;
    bool Connected = false;
    int GridType = 1;       // 0 none, 1 Cartesian, 2 polar
    bool CentreLineX = true, CentreLineY = true;
    bool GridInFront = false;
    int32_t GridColor = 12632256;
    int32_t TextColor = 0;
    QString XUnit = QStringLiteral("V"), YUnit = QStringLiteral("V");
    // Range labels: X minimum, X maximum, Y minimum, Y maximum.
    std::array<QString, 4> Labels;
    bool LabelTop = true, LabelBottom = true, LabelRight = true, LabelLeft = true;
    int ExportFormat = 0;   // 0 JPEG, 1 BMP
    TChartPrintSettings Print;
    QString Headline;
    QStringList Comments;
    bool Saving = false;
    std::function<void(QPrinter&)> OnSetupPrinter;

    QWidget* PaintBox = nullptr;   // fills the client area and shows the plot picture
    QWidget* PenMarker = nullptr;
    QMenu* Popup = nullptr;
    // The drawing, the paint box's size, with every line drawn so far.
    const QImage& Plot();

    // The pen to (PenX, PenY): a line from the last pixel while the pen is down; a position
    // outside the ranges lifts the pen for the next line. New range labels clear the drawing
    // when there is no afterglow. The step only notes the line (and the clearing): it is
    // drawn at the next repaint tick, or when the drawing is painted or asked for.
    void MovePen();
    void ClearPlot();
    // One afterglow step: every pixel blended towards the background by FadeStrength.
    void Fade();
    void DrawGrid();
    void SetMarkerVisible(bool visible);
    // The plot picture as it is shown (with the grid in front when asked for).
    QImage Snapshot();
    void CopyToClipboard();
    // Writes the snapshot as JPEG or BMP (by ExportFormat); false when the file cannot be written.
    bool SaveImage(const QString& fileName);
    // The automatic file of "= SAV": the hint with date and time in the program's data folder.
    QString AutoFileName(const QDateTime& now) const;
    void SaveAs();
    void PrintPreview();
    bool PrintNow();
    void PaintPrintPage(QPainter& painter, const TPageOptions& options);
    void HotkeyPressed(int32_t action);
    void HotkeyReleased(int32_t action);
    void Command(int tag);
    // The plot pixel of a point inside the ranges.
    QPoint PixelOf(double x, double y) const;

    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SetHintergrundFarbe(int32_t color) override;
    // At the tick: the clearing and the lines since the last one, drawn and repainted.
    void RepaintChanged() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TPrintJob PrintJob();
    void FitPaintBox();
    // What the steps left to draw: the clearing, then the lines.
    void DrawPending();
    QSize m_lastClientSize;
    QColor m_markerFill;
    QImage m_plot;
    struct TPenLine {
        QPoint from, to;
        QRgb colour;
        int width;
        bool operator==(const TPenLine&) const = default;
    };
    // Lines not yet drawn into m_plot (the list keeps its memory) and the area they cover.
    std::vector<TPenLine> m_lines;
    QRect m_linesArea;
    bool m_clearDue = false;  // cleared since last drawn
    // The ranges and units the labels were made for.
    std::array<double, 4> m_labelRange{};
    QString m_labelXUnit, m_labelYUnit;
    bool m_labelsMade = false;
};
