#include "core/board/Segment.h"

#include "core/board/Makro.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Filer.h"

#include <cstdlib>
#include <utility>

namespace {

// Half-width of the square around a pin's connection point that catches the mouse.
constexpr int32_t kPinCatch = 10;

bool WithinSquare(QPoint p, int32_t cx, int32_t cy, int32_t half)
{
    return std::abs(p.x() - cx) <= half && std::abs(p.y() - cy) <= half;
}

void DropLink(std::array<TSegment*, 3>& links, const TSegment* segment)
{
    for (TSegment*& link : links) {
        if (link == segment)
            link = nullptr;
    }
}

} // namespace

TSegment::TSegment() = default;

TSegment::~TSegment()
{
    Unlink();
}

TBauteilPin* TSegment::Pin() const
{
    if (!Owner || PinIndex < 0)
        return nullptr;
    const auto& pins = InputSide ? Owner->Inputs : Owner->Outputs;
    return size_t(PinIndex) < pins.size() ? pins[size_t(PinIndex)].get() : nullptr;
}

void TSegment::Paint(TCanvas& canvas)
{
    if (Owner)
        return;
    const bool red = Selected || (ShowLineStates && Lit);
    canvas.Pen = TCanvasPen{red ? clRed : clBlack, 3, Qt::SolidLine, TPenMode::Copy};
    canvas.MoveTo(X1, Y1);
    canvas.LineTo(X2, Y2);
    canvas.Pen.Width = 1;
    canvas.Brush = TCanvasBrush{canvas.Pen.Color, Qt::SolidPattern};
    const int32_t r = DotRadius;
    if (StartDot)
        canvas.Ellipse(X1 - r, Y1 - r, X1 + r + 1, Y1 + r + 1);
    if (EndDot)
        canvas.Ellipse(X2 - r, Y2 - r, X2 + r + 1, Y2 + r + 1);
}

bool TSegment::HitTest(QPoint devicePoint, TCanvas& canvas)
{
    const TRect b = GetBounds();
    const QPoint a = canvas.LPtoDP(QPoint(b.Left, b.Top));
    const QPoint c = canvas.LPtoDP(QPoint(b.Right, b.Bottom));
    return TRect{a.x(), a.y(), c.x(), c.y()}.Normalized().Contains(devicePoint);
}

QPoint* TSegment::HitEndPoint(QPoint point)
{
    if (!Owner)
        return nullptr;
    m_hitEnd = InputSide ? QPoint(X1, Y1) : QPoint(X2, Y2);
    if (!WithinSquare(point, m_hitEnd.x(), m_hitEnd.y(), kPinCatch))
        return nullptr;
    return &m_hitEnd;
}

const void* TSegment::HitAttachPoint(QPoint point) const
{
    if (!Owner || dynamic_cast<const TMakro*>(Owner))
        return nullptr;
    const bool leftSide = InputSide != Owner->Mirrored;
    const int32_t x = leftSide ? Owner->Body.Left : Owner->Body.Right;
    const int32_t y = leftSide ? Y1 : Y2;
    return WithinSquare(point, x, y, kPinCatch) ? this : nullptr;
}

void TSegment::MoveBy(int32_t dx, int32_t dy)
{
    X1 += dx;
    Y1 += dy;
    X2 += dx;
    Y2 += dy;
}

TRect TSegment::GetBounds() const
{
    const int32_t d = DotRadius + 2;
    return TRect{X1 - d, Y1 - d, X2 + d, Y2 + d};
}

void TSegment::WriteData(TWriter& writer)
{
    TBauteil::WriteData(writer);
    writer.WriteInteger(X1);
    writer.WriteInteger(Y1);
    writer.WriteInteger(X2);
    writer.WriteInteger(Y2);
    writer.WriteBoolean(StartDot);
    writer.WriteBoolean(EndDot);
}

void TSegment::ReadData(TReader& reader, uint8_t version)
{
    TBauteil::ReadData(reader, version);
    X1 = reader.ReadInteger();
    Y1 = reader.ReadInteger();
    X2 = reader.ReadInteger();
    Y2 = reader.ReadInteger();
    StartDot = reader.ReadBoolean();
    EndDot = reader.ReadBoolean();
}

void TSegment::Normalize()
{
    const bool reversed = (Y1 == Y2 && X2 < X1) || (X1 == X2 && Y2 < Y1);
    if (!reversed)
        return;
    std::swap(X1, X2);
    std::swap(Y1, Y2);
}

bool TSegment::ContainsInnerPoint(int32_t x, int32_t y) const
{
    if (IsVertical())
        return x == X1 && Y1 < y && y < Y2;
    return y == Y1 && X1 < x && x < X2;
}

void TSegment::Unlink()
{
    auto unlinkFrom = [this](std::array<TSegment*, 3>& links) {
        for (TSegment*& other : links) {
            if (!other || other == this)
                continue;
            DropLink(other->StartLinks, this);
            DropLink(other->EndLinks, this);
            other = nullptr;
        }
    };
    unlinkFrom(StartLinks);
    unlinkFrom(EndLinks);
}
