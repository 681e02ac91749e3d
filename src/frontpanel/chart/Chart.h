#pragma once
// The recorder chart: a y scale on the left, the plot grid with its curves, an x scale below
// it, two unit labels, a playback cursor and comments pinned to points. It maps chart values
// (x, y) to pixels, draws grid, scales and curves, lets the user read values, zoom and pan
// with the mouse and pin comments, scrolls cheaply while a recording grows, and prints or
// copies itself. It knows nothing of recording: the owner keeps the samples and the curves
// only point at them.
//
// The pieces are painted by the one widget, each in its own rectangle; the mapping of each
// piece (grid, curves, scales) is a value type of its own so that it can be used and tested
// without a window.

#include "platform/Types.h"

#include <QFont>
#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;

// One sample: x (time in seconds, or the X value) and y, 16 bytes.
struct TChartSample {
    double X = 0;
    double Y = 0;
};
static_assert(sizeof(TChartSample) == 16);

enum TTimeMode : int32_t { tmNone = 0, tmZeit = 1, tmUhrzeit = 2 };

// Pixel positions out of the 32-bit range become these.
constexpr int kChartSentinelX = 2147482646;
constexpr int kChartSentinelY = 2147482647;

// Ranges and mapping of the plot grid. W and H are the grid's size in pixels.
struct TRasterMap {
    Extended XMin = -1.2L, XMax = 11.2L, YMin = -1.5L, YMax = 11.2L;
    Extended XStep = 2.0L, YStep = 5.0L;
    int W = 1, H = 1;
    TTimeMode TimeMode = tmZeit;

    int XToPixel(Extended x) const;
    int YToPixel(Extended y) const;
    Extended PixelToX(Extended px) const;
    Extended PixelToY(Extended py) const;
    // Stores a range (pairs swapped, absurd spans ignored, a minimum width enforced) and
    // recomputes the grid steps. False when the range was ignored.
    bool SetRange(Extended xMin, Extended xMax, Extended yMin, Extended yMax);
    void CalcGridSteps();
};

// Mapping of a curve and of the x scale (both place x one pixel left of the grid).
struct TCurveMap {
    double XMin = 0, XMax = 1, YMin = 0, YMax = 1;
    int W = 1, H = 1;
    int XToPixel(double x) const;
    int YToPixel(double y) const;
};

// The line a curve's samples draw in grid pixels: consecutive samples in one pixel column
// become the column's entry point, its lowest and highest pixel and its exit point, so that a
// long recording costs a few points per column however many samples it holds.
std::vector<QPoint> CurvePolyline(const std::vector<const TChartSample*>& points, const TCurveMap& map);

// Mapping of the y scale: its pixels leave room for the x scale below the grid.
struct TYScaleMap {
    double YMin = 0, YMax = 1;
    int H = 1;
    int YToPixel(double y) const;
};

// Tick step of the x scale (the grid's x rule without its final halving) and of the y scale.
Extended XScaleStep(const TCurveMap& map, TTimeMode mode);
Extended YScaleStep(const TYScaleMap& map);
// Label texts of the scales and the read-out.
QString XScaleLabel(double x, double xMin, double xMax, TTimeMode mode, double startZeit);
QString YScaleLabel(double y, double yMin, double yMax);
QString ChartNumber(Extended value);  // general format, 4 significant digits

// A curve: its own copy of the ranges, its look and pointers to samples it does not own.
struct TKurve {
    double XMin = 0, XMax = 1, YMin = 0, YMax = 1;
    QString CurveName = QStringLiteral("Kurve");
    QString CurveText;
    int32_t CurveColor = 0x0000FF;
    int32_t PenWidth = 0;
    std::vector<const TChartSample*> Points;
};

class TGraf;

// A comment pinned to a point of the chart: a label the user can drag, edit and delete.
class TKommentar : public QLabel {
public:
    explicit TKommentar(TGraf& chart);
    Extended AnchorX = 0, AnchorY = 0;  // the label's top-left corner in chart values
    Extended PointX = 0, PointY = 0;    // the commented point
    bool Deleted = false;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TGraf& m_chart;
    bool m_dragging = false;
    bool m_skipMove = false;
    QPoint m_origin;
};

// Print settings of a chart (kept with the recorder's data).
struct TChartPrintSettings {
    double Zoom = 1.0;          // size factor of the printout
    int32_t ZoomPos = 100;      // position of the preview's size bar, 0..200
    bool BlackWhite = false;
    bool Centred = true;
    bool Background = false;
    int32_t PrinterIndex = -1;  // -1: the default printer
    int32_t Orientation = 0;    // 0 portrait, 1 landscape
    QPoint Origin;              // top-left corner on the page, chart pixels before scaling
    QPoint PreviewOffset;       // the same corner in preview pixels
};

// Print zoom of the size bar's position: 10 at the top (0), 1 in the middle, 0.1 at the bottom.
double PrintZoomForPosition(int position);

enum class TPaintTarget { Printer, Bitmap, Preview };

// What a page painter is asked to paint: the target and its size, the preview's check boxes,
// its drag offset (updated when centred), the zoom and the texts as currently edited.
struct TPageOptions {
    TPaintTarget Target = TPaintTarget::Bitmap;
    QSize Page;
    bool BlackWhite = false;
    bool Background = false;
    QPoint* Offset = nullptr;
    bool Centred = false;
    double Zoom = 1.0;
    const QString& Headline;
    const QStringList& Comments;
};

// One printable picture: its print settings and texts (kept by the owner) and its painter.
struct TPrintJob {
    TChartPrintSettings& Print;
    QString& Headline;
    QStringList& Comments;
    std::function<void(QPainter&, const TPageOptions&)> PaintPage;
    std::function<void(QPrinter&)> OnSetupPrinter;
};

// The shared print preview: for any result but Cancel the settings and texts are kept, for
// "Drucken" the page is printed.
void RunPrintPreview(QWidget* owner, TPrintJob& job);
// Prints at once with the stored settings (document "Plot"); false (with a message) when no
// printer takes it.
bool PrintPageDirect(TPrintJob& job);
// Scale and origin of a content of `content` pixels with `commentLines` lines below it: on
// the printer the page width fits (or the height with the lines) and the stored origin stays;
// in the preview the box fits, the origin follows the drag offset or the centre (which
// updates the offset); a bitmap is 1:1 at (0, 0). Returns the scale (0: nothing to paint).
double PlacePage(const TPageOptions& options, QSize content, int commentLines, QPoint& origin);
// Starts the page of an instrument window of `content` pixels: a white preview, the content
// placed from `storedOrigin` (which keeps where the preview moved it), and the painter saved,
// scaled and moved there; the caller restores it. False (painter untouched) when there is
// nothing to paint.
bool BeginInstrumentPage(QPainter& painter, const TPageOptions& options, QSize content,
                         QPoint& storedOrigin);

class TGraf : public QWidget {
public:
    explicit TGraf(QWidget* parent = nullptr);
    ~TGraf() override;

    // --- Fields the owners use ---------------------------------------------------------------
    TRasterMap Raster;
    TCurveMap XScale;           // the x scale maps like a curve
    TYScaleMap YScale;
    Extended XTickStep = 10, YTickStep = 5;
    std::vector<std::unique_ptr<TKurve>> Curves;
    std::vector<TKommentar*> Comments;  // child labels, owned by the widget
    QString XUnit = QStringLiteral("t");
    QString YUnit = QStringLiteral("mAh");
    int32_t UnitColor = 0x808080;       // font colour of the unit labels
    int32_t ScaleFontColor = 0;         // font colour of both scales
    int32_t GridColor = 0xC0C0C0;
    int32_t AxisColor = 0x000000;
    int32_t PlotColor = 0xFFFFFF;       // background of the plot and of the y scale
    int32_t BorderWidth = 4;            // frame: border and two bevels of one pixel
    bool Bevels = true;
    bool XUnitVisible = true;
    double StartZeit = 0;               // date-time (days since 1899-12-30) of x = 0
    double XMinLimit = -1e33, XMaxLimit = 1e33, YMinLimit = -1e20, YMaxLimit = 1e20;
    bool RangeLocked = false;  // recording or playing: scale dragging off
    bool Locked = false;       // no read-out, comments or box zoom
    bool NoZoomBox = false;
    bool AutoZoom = false;
    bool SoftScroll = true;
    QString Headline;
    QStringList CommentLines;
    TChartPrintSettings Print;
    QString XReadout, YReadout;
    bool PlayCursorVisible = false;
    int PlayCursorX = 10;  // in grid pixels

    std::function<void()> OnZoomChanged;  // after every accepted change of the ranges
    std::function<void()> OnReadout;      // after each mouse read-out
    // Printer selection for tests and the preview's set-up button (optional).
    std::function<void(QPrinter&)> OnSetupPrinter;

    TTimeMode TimeMode() const { return Raster.TimeMode; }
    void SetTimeMode(TTimeMode mode) { Raster.TimeMode = mode; }
    void SetStartZeit(double t) { StartZeit = t; }

    TKurve& AddCurve();
    // The only way owners change the visible ranges: limits, swap, absurd spans ignored
    // (no event), minimum width; then grid, scales and curves take them and OnZoomChanged fires.
    void SetRange(Extended xMin, Extended xMax, Extended yMin, Extended yMax);
    // SetRange with the grid's current ranges, then repaint.
    void RasterChanged();
    void ZoomYIn();
    void ZoomYOut();
    void ZoomXIn();
    void ZoomXOut();
    // The plot moved n pixels to the left after n new samples.
    void ScrollBy(int n);
    // Frees every comment.
    void ClearComments();
    // A comment at grid pixel (px, py) with the default text.
    TKommentar* AddComment(int px, int py);
    // Comment label moved: its anchor follows.
    void CommentMoved(TKommentar& comment);
    // Comment label asked to be deleted: freed on the next event-loop turn, never inside its
    // own handler.
    void DeleteComment();
    // Opens the comment dialog for a label.
    void EditComment(TKommentar& comment);

    // --- Geometry (widget pixels) ----------------------------------------------------------
    QRect ContentRect() const;
    QRect YScaleRect() const;
    QRect PlotRect() const;   // the plot panel: grid and x scale
    QRect GridRect() const;
    QRect XScaleRect() const;
    // Grid pixel of a widget point and back.
    QPoint ToGrid(QPoint widgetPoint) const { return widgetPoint - GridRect().topLeft(); }

    // --- Printing and copying ---------------------------------------------------------------
    // The preview dialog; for any result but Cancel the settings are kept, for "Drucken"
    // the chart is printed.
    void PrintPreview();
    // Prints at once with the stored settings; false (with a message) when no printer takes it.
    bool PrintDirect();
    void CopyToClipboard();
    QImage ChartImage();
    using TPaintTarget = ::TPaintTarget;
    // The chart on a page: scale factor and origin by target, headline, comment lines,
    // scales, grid, comments, curves and unit labels. For the preview `offset` is the
    // dialog's drag offset and is updated when centred.
    void PaintChart(QPainter& painter, TPaintTarget target, QSize page, bool blackWhite,
                    bool background, QPoint* offset = nullptr, bool centred = false,
                    double zoom = 1.0);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TPrintJob ChartJob();
    void ApplySizes();
    void UpdateScales();
    void PlaceComments();
    void PaintYScale(QPainter& p, const QRect& r);
    void PaintXScale(QPainter& p, const QRect& r);
    void PaintGrid(QPainter& p, const QRect& r);
    void PaintCurve(QPainter& p, const TKurve& curve, const QRect& r) const;
    void PaintUnits(QPainter& p);
    QString CommentText(Extended x, Extended y) const;
    QFont UnitFont() const;

    enum class TDrag { None, Box, XScale, YScale };
    TDrag m_drag = TDrag::None;
    QPoint m_dragStart, m_dragLast;
    QTimer m_deleteTimer;
};

class TReader;
class TWriter;
// The print settings, headline and comment lines in a recorder's element data: print origin,
// preview offset, zoom position and factor, headline, black-and-white, centred, background,
// printer index, orientation, comment lines.
void WriteChartPrintSettings(TWriter& writer, const TGraf& chart);
void ReadChartPrintSettings(TReader& reader, TGraf& chart);
// The same block for any owner of print settings.
void WritePrintSettings(TWriter& writer, const TChartPrintSettings& print, const QString& headline,
                        const QStringList& comments);
void ReadPrintSettings(TReader& reader, TChartPrintSettings& print, QString& headline, QStringList& comments);
