// Board painting, coordinate conversions and zoom. 254 board units show as round(16 x Zoom)
// pixels; the board control is the whole 20000 x 20000 board at that scale, of which the view
// shows the part at the view offset.
#include "core/board/Platine.h"

#include "core/model/Bauteil.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Types.h"

#include <algorithm>

namespace {

constexpr int32_t kBoardBackground = 0xF6FFFF;  // RGB 255, 255, 246
constexpr int32_t kRunBackground = 0xEFECEA;    // RGB 234, 236, 239
constexpr int32_t kGridColor = 0xE6E6E6;        // RGB 230, 230, 230
constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 20.0;

// round(16 x zoom) pixels per 254 board units, as the canvas maps them.
int64_t PixelsPer254(double zoom)
{
    TCanvas canvas;
    canvas.SetMapping(zoom);
    return canvas.LengthToDP(254);
}

} // namespace

// --- Mapping ---------------------------------------------------------------------------------

void TPlatine::SetMapping(TCanvas& canvas) const
{
    canvas.SetMapping(Zoom, QPoint(0, 0));
}

QPoint TPlatine::ScreenToBoard(QPoint p) const
{
    TCanvas canvas;
    SetMapping(canvas);
    return canvas.DPtoLP(p);
}

QPoint TPlatine::BoardToScreen(QPoint p) const
{
    TCanvas canvas;
    SetMapping(canvas);
    return canvas.LPtoDP(p);
}

QPoint TPlatine::BoardToDevice(QPoint p) const
{
    return BoardToScreen(p) - QPoint(ViewOffsetX, ViewOffsetY);
}

TRect TPlatine::BoardRectToScreen(const TRect& r) const
{
    const QPoint a = BoardToScreen(QPoint(r.Left, r.Top));
    const QPoint b = BoardToScreen(QPoint(r.Right, r.Bottom));
    return TRect{a.x(), a.y(), b.x(), b.y()};
}

int32_t TPlatine::ControlWidth() const
{
    return int32_t(int64_t(BoardWidth) * PixelsPer254(Zoom) / 254);
}

int32_t TPlatine::ControlHeight() const
{
    return int32_t(int64_t(BoardHeight) * PixelsPer254(Zoom) / 254);
}

// --- Painting --------------------------------------------------------------------------------

void TPlatine::Paint(TCanvas& canvas)
{
    if (NoPaint)
        return;
    SetMapping(canvas);
    // The top board's flags count everywhere, so an inner board shown during a run looks like
    // the top board: run background and no grid.
    const TPlatine* top = Top();
    canvas.Pen.Mode = TPenMode::Copy;
    canvas.Brush = TCanvasBrush{top->Running ? kRunBackground : kBoardBackground,
                                Qt::SolidPattern};
    canvas.FillRect(0, 0, BoardWidth, BoardHeight);
    if (top->GridVisible && !top->Running)
        PaintGrid(canvas);
    PaintItems(canvas);
}

void TPlatine::PaintItems(TCanvas& canvas)
{
    const TRect clip = TRect::FromQRect(canvas.ClipRect()).Inflated(1);
    for (size_t k = 0; k < Items.size(); ++k) {
        TBauteil* item = Items[k].get();
        item->MonochromePrint = MonochromePrint;
        if (clip.Intersects(item->GetBounds()))
            item->Paint(canvas);
        item->MonochromePrint = false;
    }
}

int32_t TPlatine::GridSpacing() const
{
    TCanvas canvas;
    SetMapping(canvas);
    int32_t g = GridStep > 0 ? GridStep : 20;
    while (g < (1 << 24)) {
        int span = canvas.LPtoDP(QPoint(g, 0)).x() - canvas.LPtoDP(QPoint(0, 0)).x();
        if (span <= 0)
            span = canvas.LPtoDP(QPoint(0, g)).y() - canvas.LPtoDP(QPoint(0, 0)).y();
        if (span >= 10)
            break;
        g *= 2;
    }
    return g;
}

void TPlatine::PaintGrid(TCanvas& canvas)
{
    canvas.Pen = TCanvasPen{kGridColor, 1, Qt::SolidLine, TPenMode::Copy};
    const int32_t g = GridSpacing();
    // Only the lines inside the clip rectangle: the rest would be clipped away anyway.
    const TRect clip = TRect::FromQRect(canvas.ClipRect()).Inflated(g);
    const int32_t left = std::max(0, clip.Left);
    const int32_t top = std::max(0, clip.Top);
    const int32_t right = std::min(BoardWidth, clip.Right);
    const int32_t bottom = std::min(BoardHeight, clip.Bottom);
    if (left > right || top > bottom)
        return;
    for (int32_t k = top / g; k <= std::min(BoardHeight / g, bottom / g); ++k) {
        canvas.MoveTo(left, k * g);
        canvas.LineTo(right, k * g);
    }
    for (int32_t k = left / g; k <= std::min(BoardWidth / g, right / g); ++k) {
        canvas.MoveTo(k * g, top);
        canvas.LineTo(k * g, bottom);
    }
}

void TPlatine::PaintRubberBand(TCanvas& canvas)
{
    canvas.Pen = TCanvasPen{clRed, 3, Qt::SolidLine, TPenMode::Copy};
    for (const TGummibandPoint& p : RubberPoints) {
        canvas.MoveTo(p.AnchorX, p.AnchorY);
        canvas.LineTo(p.EndX, p.EndY);
    }
}

void TPlatine::PaintSelected(TCanvas& canvas)
{
    for (size_t k = 0; k < Items.size(); ++k) {
        TBauteil* item = Items[k].get();
        if (!item->Selected)
            continue;
        item->Selected = false;
        item->Paint(canvas);
        item->Selected = true;
    }
}

// --- Zoom ------------------------------------------------------------------------------------

void TPlatine::SetZoom(double value)
{
    if (value > kMaxZoom)
        value = kMaxZoom;
    if (!(value >= kMinZoom))
        value = kMinZoom;
    Zoom = value;
}

void TPlatine::ClampViewOffset()
{
    const int32_t maxX = std::max(0, ControlWidth() - ViewWidth);
    const int32_t maxY = std::max(0, ControlHeight() - ViewHeight);
    ViewOffsetX = std::clamp(ViewOffsetX, 0, maxX);
    ViewOffsetY = std::clamp(ViewOffsetY, 0, maxY);
}

void TPlatine::CentreOn(QPoint boardPoint)
{
    const QPoint centre(ViewWidth / 2 + ViewOffsetX, ViewHeight / 2 + ViewOffsetY);
    const QPoint q = ScreenToBoard(centre);
    const QPoint shift = BoardToScreen(q - boardPoint);
    ViewOffsetX -= shift.x();
    ViewOffsetY -= shift.y();
    ClampViewOffset();
}

void TPlatine::ZoomToBoard()
{
    SetZoom(std::min(double(ViewWidth) * 15.0 / double(BoardWidth),
                     double(ViewHeight) * 15.0 / double(BoardHeight)));
    ViewOffsetX = 0;
    ViewOffsetY = 0;
    Repaint();
    if (OnChange)
        OnChange(this);
}

void TPlatine::ZoomToObjects(bool selectedOnly)
{
    const bool any = std::any_of(Items.begin(), Items.end(), [selectedOnly](const auto& item) {
        return !selectedOnly || item->Selected;
    });
    if (!any)
        return;
    const TRect b = BoardRectToScreen(GetItemsBounds(selectedOnly));
    const QPoint centre(b.Left + (b.Right - b.Left) / 2, b.Top + (b.Bottom - b.Top) / 2);
    const QPoint p = ScreenToBoard(centre);
    const double w = std::max(1, b.Width());
    const double h = std::max(1, b.Height());
    SetZoom(std::min(double(ViewWidth - 30) / w * Zoom, double(ViewHeight - 30) / h * Zoom));
    CentreOn(p);
    Repaint();
    if (OnChange)
        OnChange(this);
}

void TPlatine::ZoomInAt(QPoint screenPoint)
{
    const QPoint b = ScreenToBoard(screenPoint);
    SetZoom(Zoom * 1.4);
    CentreOn(b);
    if (OnChange)
        OnChange(this);
}

void TPlatine::ZoomOutAt(QPoint screenPoint)
{
    const QPoint b = ScreenToBoard(screenPoint);
    SetZoom(Zoom / 1.4);
    CentreOn(b);
    if (OnChange)
        OnChange(this);
}

void TPlatine::FinishZoomRect(int x, int y)
{
    if (Selector) {
        const TRect r = BoardRectToScreen(Selector->Rect()).Normalized();
        QPoint b;
        if (r.Width() < 5 || r.Height() < 5) {
            b = ScreenToBoard(QPoint(x, y));
            SetZoom(Zoom * 1.4);
        } else {
            b = ScreenToBoard(QPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2));
            SetZoom(std::min(double(ViewWidth) / r.Width() * Zoom,
                             double(ViewHeight) / r.Height() * Zoom));
        }
        CentreOn(b);
        Selector.reset();
    }
    if (OnChange)
        OnChange(this);
    Repaint();
}

void TPlatine::WheelZoom(bool up, QPoint mouse)
{
    const QPoint b = ScreenToBoard(mouse);
    SetZoom(up ? Zoom * 1.1 : Zoom / 1.1);
    CentreOn(b);
    if (OnChange)
        OnChange(this);
    Repaint();
    if (OnMoveCursor)
        OnMoveCursor(BoardToScreen(b));
}
