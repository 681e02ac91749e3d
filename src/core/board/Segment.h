#pragma once
// One straight piece of wire. A wire is a chain of segments meeting end to end; junction dots
// mark where branches join. Every component pin also has a zero-length segment of its own (the
// pin segment) that carries the pin's net number and is how wires attach to pins.

#include "core/model/Bauteil.h"

#include <array>

class TBauteilPin;
class TIOBauteil;

class TSegment : public TBauteil {
public:
    TV_CLASS_NAME(TSegment)

    TSegment();
    ~TSegment() override;  // unlinks the segment from its neighbours

    int32_t X1 = 0;  // start point, board units
    int32_t Y1 = 0;
    int32_t X2 = 10;  // end point
    int32_t Y2 = 10;
    int32_t NetNumber = 0;  // assigned when nets are numbered; 0 = not numbered
    std::array<TSegment*, 3> StartLinks{};  // segments joined at the start point
    std::array<TSegment*, 3> EndLinks{};    // segments joined at the end point
    bool EndDot = false;
    bool StartDot = false;
    int32_t DotRadius = 6;
    TIOBauteil* Owner = nullptr;     // pin segments: the component of the pin
    bool InputSide = false;          // pin segments: the pin is an input
    int32_t PinIndex = 0;            // pin segments: index among the owner's inputs or outputs
    TBauteilPin* Driver = nullptr;   // output pin whose value colours the segment
    bool Lit = false;                // drawn as high

    bool IsPinSegment() const { return Owner != nullptr; }
    // Pin segments: the owner's pin at PinIndex on its side; nullptr for a wire or an index
    // outside the owner's pins.
    TBauteilPin* Pin() const;

    void Paint(TCanvas& canvas) override;
    bool HitTest(QPoint devicePoint, TCanvas& canvas) override;
    QPoint* HitEndPoint(QPoint point) override;
    const void* HitAttachPoint(QPoint point) const override;
    void MoveBy(int32_t dx, int32_t dy) override;
    TRect GetBounds() const override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;

    // Swaps the ends of a horizontal or vertical segment that runs right-to-left or
    // bottom-to-top.
    void Normalize();
    bool IsVertical() const { return X1 == X2; }
    // The point lies on the segment's line strictly between its ends.
    bool ContainsInnerPoint(int32_t x, int32_t y) const;
    // Removes this segment from the link arrays of every segment it is linked to.
    void Unlink();

private:
    QPoint m_hitEnd;  // the end point last reported by HitEndPoint
};
