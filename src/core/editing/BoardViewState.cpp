#include "core/editing/BoardViewState.h"

#include "core/board/Platine.h"
#include "platform/Canvas.h"

#include <algorithm>

namespace {

// round(16 x zoom) pixels per 254 board units, as the canvas maps them.
int64_t PixelsPer254(double zoom)
{
    TCanvas canvas;
    canvas.SetMapping(zoom);
    return canvas.LengthToDP(254);
}

} // namespace

void TBoardViewState::SetZoom(double value)
{
    if (value > kMaxZoom)
        value = kMaxZoom;
    if (!(value >= kMinZoom))
        value = kMinZoom;
    Zoom = value;
}

void TBoardViewState::SetMapping(TCanvas& canvas) const
{
    canvas.SetMapping(Zoom, QPoint(0, 0));
}

QPoint TBoardViewState::ScreenToBoard(QPoint p) const
{
    TCanvas canvas;
    SetMapping(canvas);
    return canvas.DPtoLP(p);
}

QPoint TBoardViewState::BoardToScreen(QPoint p) const
{
    TCanvas canvas;
    SetMapping(canvas);
    return canvas.LPtoDP(p);
}

QPoint TBoardViewState::BoardToDevice(QPoint p) const
{
    return BoardToScreen(p) - QPoint(ViewOffsetX, ViewOffsetY);
}

TRect TBoardViewState::BoardRectToScreen(const TRect& r) const
{
    const QPoint a = BoardToScreen(QPoint(r.Left, r.Top));
    const QPoint b = BoardToScreen(QPoint(r.Right, r.Bottom));
    return TRect{a.x(), a.y(), b.x(), b.y()};
}

int32_t TBoardViewState::ControlWidth() const
{
    return int32_t(int64_t(m_board.BoardWidth) * PixelsPer254(Zoom) / 254);
}

int32_t TBoardViewState::ControlHeight() const
{
    return int32_t(int64_t(m_board.BoardHeight) * PixelsPer254(Zoom) / 254);
}

int32_t TBoardViewState::GridSpacing() const
{
    TCanvas canvas;
    SetMapping(canvas);
    return m_board.GridSpacing(canvas);
}

void TBoardViewState::ClampViewOffset()
{
    const int32_t maxX = std::max(0, ControlWidth() - ViewWidth);
    const int32_t maxY = std::max(0, ControlHeight() - ViewHeight);
    ViewOffsetX = std::clamp(ViewOffsetX, 0, maxX);
    ViewOffsetY = std::clamp(ViewOffsetY, 0, maxY);
}

QPoint TBoardViewState::ViewCentre() const
{
    return QPoint(ViewOffsetX + ViewWidth / 2, ViewOffsetY + ViewHeight / 2);
}

void TBoardViewState::CentreOn(QPoint boardPoint)
{
    const QPoint q = ScreenToBoard(ViewCentre());
    const QPoint shift = BoardToScreen(q - boardPoint);
    ViewOffsetX -= shift.x();
    ViewOffsetY -= shift.y();
    ClampViewOffset();
}
