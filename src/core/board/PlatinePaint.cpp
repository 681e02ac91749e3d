// Board painting: background, grid and items on a canvas that the caller has mapped (a board
// view at its zoom and offset, a printer page). 254 board units show as round(16 x Zoom)
// pixels; the view state in core/editing keeps the zoom and the offset.
#include "core/board/Platine.h"

#include "core/model/Bauteil.h"
#include "platform/Canvas.h"

#include <algorithm>

namespace {

constexpr int32_t kBoardBackground = 0xF6FFFF;  // RGB 255, 255, 246
constexpr int32_t kRunBackground = 0xEFECEA;    // RGB 234, 236, 239
constexpr int32_t kGridColor = 0xE6E6E6;        // RGB 230, 230, 230

} // namespace

// --- Painting --------------------------------------------------------------------------------

void TPlatine::Paint(TCanvas& canvas, bool gridVisible)
{
    if (NoPaint)
        return;
    // The top board's flags count everywhere, so an inner board shown during a run looks like
    // the top board: run background and no grid.
    const TPlatine* top = Top();
    canvas.Pen.Mode = TPenMode::Copy;
    canvas.Brush = TCanvasBrush{top->Running ? kRunBackground : kBoardBackground,
                                Qt::SolidPattern};
    canvas.FillRect(0, 0, BoardWidth, BoardHeight);
    if (gridVisible && !top->Running)
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

int32_t TPlatine::GridSpacing(const TCanvas& canvas) const
{
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
    const int32_t g = GridSpacing(canvas);
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
