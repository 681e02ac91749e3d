// Wire normalisation. After every change of wires the affected segments are normalised so that connectivity follows from end-point equality alone: touching
// collinear pieces merge, a segment with another segment's end in its interior is split there,
// junction dots mark points where three or more ends meet, and pins with a wire ending on
// their pin segment are marked connected.
#include "core/board/Platine.h"

#include "core/board/Segment.h"
#include "core/model/Iobt.h"
#include "platform/Types.h"

#include <algorithm>

namespace {

QPoint StartOf(const TSegment& s)
{
    return QPoint(s.X1, s.Y1);
}

QPoint EndOf(const TSegment& s)
{
    return QPoint(s.X2, s.Y2);
}

bool Inside(const TSegment& s, QPoint p)
{
    return s.ContainsInnerPoint(p.x(), p.y());
}

std::vector<TSegment*> SelectedSegments(const std::vector<std::unique_ptr<TBauteil>>& items)
{
    std::vector<TSegment*> selected;
    for (const auto& item : items) {
        auto* s = dynamic_cast<TSegment*>(item.get());
        if (s && s->Selected)
            selected.push_back(s);
    }
    return selected;
}

// Empties the work list when a normalisation ends, also when it ends early.
class TWorkListScope {
public:
    explicit TWorkListScope(std::vector<TSegment*>& list) : m_list(list) {}
    ~TWorkListScope() { m_list.clear(); }
    TWorkListScope(const TWorkListScope&) = delete;
    TWorkListScope& operator=(const TWorkListScope&) = delete;

private:
    std::vector<TSegment*>& m_list;
};

void AddUnique(std::vector<TSegment*>& list, TSegment* s)
{
    if (std::find(list.begin(), list.end(), s) == list.end())
        list.push_back(s);
}

} // namespace

// --- Grid ------------------------------------------------------------------------------------

QPoint TPlatine::SnapToGrid(QPoint p) const
{
    const int32_t g = GridStep > 0 ? GridStep : 1;
    auto snap = [g](int v) {
        return int(RoundHalfEven(Extended(v) / Extended(g))) * g;
    };
    return QPoint(snap(p.x()), snap(p.y()));
}

// --- Adding ----------------------------------------------------------------------------------

void TPlatine::AddWire(QPoint p1, QPoint p2)
{
    TWorkListScope scope(WireWork);
    TSegment* segment = AddSegment(p1, p2);
    CollectTouching(segment);
    AddUnique(WireWork, segment);
    MergeWires();
    SplitWires();
    UpdateJunctionDots();
    MarkConnectedPins();
}

// --- Normalisation entry points --------------------------------------------------------------

void TPlatine::NormaliseSelectedWires()
{
    TWorkListScope scope(WireWork);
    for (TSegment* s : SelectedSegments(Items)) {
        AddUnique(WireWork, s);
        CollectTouching(s);
    }
    MergeWires();
    SplitWires();
    UpdateJunctionDots();
    MarkConnectedPins();
}

void TPlatine::NormaliseAllWires()
{
    TWorkListScope scope(WireWork);
    for (const auto& item : Items) {
        if (auto* s = dynamic_cast<TSegment*>(item.get()))
            WireWork.push_back(s);
    }
    MergeWires();
    UpdateJunctionDots();
    SplitWires();
    MarkConnectedPins();
}

void TPlatine::DetachSelectedWires()
{
    TWorkListScope scope(WireWork);
    for (TSegment* s : SelectedSegments(Items)) {
        CollectTouching(s);
        if (s->StartDot || s->EndDot) {
            s->StartDot = false;
            s->EndDot = false;
            InvalidateObject(s);
        }
        if (TBauteilPin* pin = s->Pin()) {
            pin->Connected = false;
            InvalidateObject(s->Owner);
        }
    }
    MergeWires();
    SplitWires();
    UpdateJunctionDots();
    UnmarkFreePins();
}

// --- Building blocks -------------------------------------------------------------------------

bool TPlatine::SegmentsTouch(const TSegment& a, const TSegment& b)
{
    const QPoint as = StartOf(a), ae = EndOf(a), bs = StartOf(b), be = EndOf(b);
    if (as == bs || as == be || ae == bs || ae == be)
        return true;
    return Inside(a, bs) || Inside(a, be) || Inside(b, as) || Inside(b, ae);
}

void TPlatine::CollectTouching(TSegment* segment)
{
    for (const auto& item : Items) {
        auto* other = dynamic_cast<TSegment*>(item.get());
        if (other && other != segment && !other->Selected && SegmentsTouch(*segment, *other))
            AddUnique(WireWork, other);
    }
}

int TPlatine::CountEndsAt(QPoint p) const
{
    int count = 0;
    for (const TSegment* s : WireWork) {
        if (StartOf(*s) == p || EndOf(*s) == p)
            ++count;
    }
    return count;
}

bool TPlatine::CanMergeSegments(const TSegment& a, const TSegment& b) const
{
    if (a.IsPinSegment() || b.IsPinSegment() || a.IsVertical() != b.IsVertical())
        return false;
    auto freeAt = [this](QPoint p) { return CountEndsAt(p) < 3; };
    const QPoint as = StartOf(a), ae = EndOf(a), bs = StartOf(b), be = EndOf(b);
    if (as == be && freeAt(as))
        return true;
    if (ae == bs && freeAt(ae))
        return true;
    if (as == bs && freeAt(as))
        return true;
    if (ae == be && freeAt(ae))
        return true;
    if ((Inside(a, bs) && freeAt(bs)) || (Inside(a, be) && freeAt(be)))
        return true;
    return (Inside(b, as) && freeAt(as)) || (Inside(b, ae) && freeAt(ae));
}

void TPlatine::MergeSegments(TSegment* a, TSegment* b)
{
    InvalidateObject(a);
    // The merged ends keep the dots of the piece they come from.
    if (a->IsVertical()) {
        if (b->Y1 < a->Y1) {
            a->Y1 = b->Y1;
            a->StartDot = b->StartDot;
        }
        if (b->Y2 > a->Y2) {
            a->Y2 = b->Y2;
            a->EndDot = b->EndDot;
        }
    } else {
        if (b->X1 < a->X1) {
            a->X1 = b->X1;
            a->StartDot = b->StartDot;
        }
        if (b->X2 > a->X2) {
            a->X2 = b->X2;
            a->EndDot = b->EndDot;
        }
    }
    RemoveObject(b);
    InvalidateObject(a);
}

void TPlatine::MergeWires()
{
    bool merged = true;
    while (merged) {
        merged = false;
        for (size_t i = 0; i < WireWork.size() && !merged; ++i) {
            for (size_t j = i + 1; j < WireWork.size(); ++j) {
                if (!CanMergeSegments(*WireWork[i], *WireWork[j]))
                    continue;
                TSegment* b = WireWork[j];
                MergeSegments(WireWork[i], b);  // b leaves the board and the work list
                UpdateJunctionDots();
                merged = true;
                break;
            }
        }
    }
}

void TPlatine::SplitSegment(TSegment* segment, QPoint p)
{
    const QPoint formerEnd = EndOf(*segment);
    const bool formerDot = segment->EndDot;
    InvalidateObject(segment);
    if (segment->IsVertical())
        segment->Y2 = p.y();
    else
        segment->X2 = p.x();
    segment->EndDot = false;
    InvalidateObject(segment);
    TSegment* rest = AddSegment(p, formerEnd);
    rest->EndDot = formerDot;
    AddUnique(WireWork, rest);
}

void TPlatine::SplitWires()
{
    // Splits `target` at the first end of `by` that lies inside it.
    auto splitBy = [this](TSegment* target, const TSegment* by) {
        for (const QPoint p : {StartOf(*by), EndOf(*by)}) {
            if (Inside(*target, p)) {
                SplitSegment(target, p);
                return true;
            }
        }
        return false;
    };
    bool split = true;
    while (split) {
        split = false;
        for (size_t i = 0; i < WireWork.size() && !split; ++i) {
            for (size_t j = i + 1; j < WireWork.size(); ++j) {
                TSegment* a = WireWork[i];
                TSegment* b = WireWork[j];
                if (a->Selected && b->Selected)
                    continue;
                const bool first = splitBy(a, b);
                const bool second = splitBy(b, a);
                if (first || second) {
                    split = true;
                    break;
                }
            }
        }
    }
}

void TPlatine::UpdateJunctionDots()
{
    for (TSegment* s : WireWork) {
        bool changed = false;
        auto update = [&](bool& dot, QPoint p) {
            const int n = CountEndsAt(p);
            const bool old = dot;
            if (n > 2)
                dot = true;
            else if (n == 2)
                dot = false;
            changed = changed || dot != old;
        };
        update(s->StartDot, StartOf(*s));
        update(s->EndDot, EndOf(*s));
        if (changed)
            InvalidateObject(s);
    }
}

void TPlatine::MarkConnectedPins()
{
    for (TSegment* s : WireWork) {
        TBauteilPin* pin = s->Pin();
        if (!pin || CountEndsAt(StartOf(*s)) <= 1)
            continue;
        pin->Connected = true;
        InvalidateObject(s->Owner);
    }
}

void TPlatine::UnmarkFreePins()
{
    for (TSegment* s : WireWork) {
        TBauteilPin* pin = s->Pin();
        if (!pin || CountEndsAt(StartOf(*s)) >= 2)
            continue;
        pin->Connected = false;
        InvalidateObject(s->Owner);
    }
}
