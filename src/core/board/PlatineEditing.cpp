// Selection and the editing operations on the board's items: selecting, moving the selection,
// ordering, mirroring, copying one item's settings to the other selected items, clean-up of
// loose wires and pin inversion. The interactive tools that call them are in core/editing;
// "screen" points are pixels of the whole board control.
#include "core/board/Platine.h"

#include "core/board/BoardHooks.h"
#include "core/board/Makro.h"
#include "core/board/Segment.h"
#include "core/model/GrundBT.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/Types.h"

#include <QBuffer>

#include <algorithm>
#include <cstring>

bool ShowComponentHints = false;

namespace {

TSegment* AsPinSegment(TBauteil* item)
{
    auto* segment = dynamic_cast<TSegment*>(item);
    return segment && segment->Owner ? segment : nullptr;
}

// Whether the item moves with the selection. A pin segment goes with its component and never
// on its own, so that it always stays on its pin.
bool MovesWithSelection(TBauteil* item)
{
    if (TSegment* pinSegment = AsPinSegment(item))
        return pinSegment->Owner->Selected;
    return item->Selected;
}

// Takes a component's pin-change handlers away for its lifetime and gives them back.
class TPinHandlersPaused {
public:
    explicit TPinHandlersPaused(TIOBauteil& component)
        : m_component(component),
          m_before(std::move(component.OnBeforePinsChange)),
          m_after(std::move(component.OnPinsChanged))
    {
        component.OnBeforePinsChange = nullptr;
        component.OnPinsChanged = nullptr;
    }
    ~TPinHandlersPaused()
    {
        m_component.OnBeforePinsChange = std::move(m_before);
        m_component.OnPinsChanged = std::move(m_after);
    }
    TPinHandlersPaused(const TPinHandlersPaused&) = delete;
    TPinHandlersPaused& operator=(const TPinHandlersPaused&) = delete;

private:
    TIOBauteil& m_component;
    std::function<void(TIOBauteil*)> m_before;
    std::function<void(TIOBauteil*)> m_after;
};

} // namespace

// --- Selection -------------------------------------------------------------------------------

void TPlatine::SelectObject(TBauteil* item, bool flag)
{
    if (!item || item->Selected == flag)
        return;
    item->SetSelected(flag);
    if (auto* component = dynamic_cast<TIOBauteil*>(item)) {
        auto* macro = dynamic_cast<TMakro*>(component);
        const bool front = dynamic_cast<TBTFront*>(component) && component->Link;
        if (front || (macro && macro->Design))
            SyncElementSelection(component, flag);
    }
    InvalidateObject(item);
}

void TPlatine::SyncElementSelection(TIOBauteil* component, bool flag)
{
    if (component)
        FrontPanelHooks().SyncElementSelection(*component, flag);
}

void TPlatine::SelectAll(bool flag)
{
    for (size_t k = 0; k < Items.size(); ++k)
        SelectObject(Items[k].get(), flag);
}

bool TPlatine::HasSelection() const
{
    return std::any_of(Items.begin(), Items.end(), [](const auto& item) {
        return item->Selected && !AsPinSegment(item.get());
    });
}

std::vector<TBauteil*> TPlatine::SelectedItems() const
{
    std::vector<TBauteil*> selected;
    for (const auto& item : Items) {
        if (item->Selected && !AsPinSegment(item.get()))
            selected.push_back(item.get());
    }
    return selected;
}

int TPlatine::SelectedCount() const
{
    return int(std::count_if(Items.begin(), Items.end(), [](const auto& item) {
        return item->Selected && !dynamic_cast<const TSegment*>(item.get());
    }));
}

TBauteil* TPlatine::SingleSelected() const
{
    if (SelectedCount() != 1)
        return nullptr;
    for (const auto& item : Items) {
        if (item->Selected && !dynamic_cast<const TSegment*>(item.get()))
            return item.get();
    }
    return nullptr;
}

bool TPlatine::IsSingleComponent() const
{
    return std::count_if(Items.begin(), Items.end(), [](const auto& item) {
               return item->Selected && dynamic_cast<const TIOBauteil*>(item.get());
           })
        == 1;
}

bool TPlatine::IsSingleMacro() const
{
    if (!IsSingleComponent())
        return false;
    return std::any_of(Items.begin(), Items.end(), [](const auto& item) {
        return item->Selected && dynamic_cast<const TMakro*>(item.get());
    });
}

bool TPlatine::CanPaste() const
{
    return ClipboardStream && ClipboardStream->size() > 0;
}

bool TPlatine::CanEditProperties() const
{
    const int count = SelectedCount();
    if (count == 1) {
        return std::any_of(Items.begin(), Items.end(),
                           [](const auto& item) { return item->Selected && item->Editable; });
    }
    const TBauteil* editable = nullptr;
    for (const auto& item : Items) {
        if (item->Selected && item->Editable)
            editable = item.get();
    }
    if (!editable)
        return false;
    if (count <= 1)
        return true;
    return std::all_of(Items.begin(), Items.end(), [editable](const auto& item) {
        return !item->Selected || dynamic_cast<const TSegment*>(item.get())
            || std::strcmp(item->ClassName(), editable->ClassName()) == 0;
    });
}

void TPlatine::SelectItemsIn(const TRect& area)
{
    for (size_t k = 0; k < Items.size(); ++k) {
        TBauteil* item = Items[k].get();
        if (!AsPinSegment(item) && area.Intersects(item->GetBounds()))
            SelectObject(item, true);
    }
}

std::vector<TBauteil*> TPlatine::ItemsAt(QPoint screenPoint, TCanvas& mapping, bool firstOnly)
{
    std::vector<TBauteil*> hits;
    for (size_t k = 0; k < Items.size(); ++k) {
        TBauteil* item = Items[k].get();
        // Pin segments take their selection from their component.
        if (AsPinSegment(item) || !item->HitTest(screenPoint, mapping))
            continue;
        hits.push_back(item);
        if (firstOnly)
            break;
    }
    return hits;
}

// --- Moving ----------------------------------------------------------------------

TRect TPlatine::GetItemsBounds(bool selectedOnly) const
{
    bool first = true;
    TRect bounds;
    for (const auto& item : Items) {
        if (selectedOnly && !item->Selected)
            continue;
        bounds = first ? item->GetBounds() : bounds.United(item->GetBounds());
        first = false;
    }
    return bounds;
}

void TPlatine::MoveSelectionBy(QPoint delta, const TRect& formerBounds)
{
    for (size_t k = 0; k < Items.size(); ++k) {
        TBauteil* item = Items[k].get();
        if (MovesWithSelection(item))
            item->MoveBy(delta.x(), delta.y());
    }
    const TRect oldArea = formerBounds.Inflated(50);
    const TRect newArea{oldArea.Left + delta.x(), oldArea.Top + delta.y(),
                        oldArea.Right + delta.x(), oldArea.Bottom + delta.y()};
    if (!NoPaint && OnInvalidateRect) {
        OnInvalidateRect(oldArea);
        OnInvalidateRect(newArea);
    }
}

// --- Other editing operations ----------------------------------------------------------------

void TPlatine::EditSelectedProperties()
{
    int firstIndex = -1;
    for (size_t k = 0; k < Items.size(); ++k) {
        if (Items[k]->Selected && Items[k]->Editable) {
            firstIndex = int(k);
            break;
        }
    }
    if (firstIndex < 0)
        return;
    TBauteil* first = Items[size_t(firstIndex)].get();
    if (first->EditProperties() == mrOk && SelectedCount() > 1
        && MessageBoxText(Translate(QStringLiteral("Sämtliche Eigenschaften für gewählte Objekte "
                                                   "übernehmen?")),
                          Translate(QStringLiteral("Eigenschaften")), mbYesNo, mtConfirmation)
            == mrYes) {
        QByteArray data;
        {
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            TWriter writer(buffer);
            first->WriteData(writer);
        }
        std::vector<TBauteil*> targets;
        for (size_t k = size_t(firstIndex) + 1; k < Items.size(); ++k) {
            TBauteil* item = Items[k].get();
            // Only an item of the same class can read the record.
            if (item->Selected && !dynamic_cast<TSegment*>(item)
                && std::strcmp(item->ClassName(), first->ClassName()) == 0)
                targets.push_back(item);
        }
        for (TBauteil* item : targets) {
            auto* component = dynamic_cast<TIOBauteil*>(item);
            const auto& release = BoardServiceHooks().ReleaseHardwareInterface;
            if (component && IsHardwareComponent(*component) && release)
                release(*component);
            const QPoint position(item->X, item->Y);
            QBuffer buffer(&data);
            buffer.open(QIODevice::ReadOnly);
            TReader reader(buffer);
            if (component) {
                // The pins change once, at the component's own place: the record names the
                // first item's place, where no pin segment must be attached.
                BeforePinsChange(component);
                {
                    TPinHandlersPaused paused(*component);
                    component->ReadData(reader, 255);
                }
                component->X = position.x();
                component->Y = position.y();
                component->LayoutPins();
                PinsChanged(component);
            } else {
                item->ReadData(reader, 255);
                item->X = position.x();
                item->Y = position.y();
                InvalidateObject(item);
            }
        }
    }
    NormaliseSelectedWires();
}

void TPlatine::MirrorSelected()
{
    TIOBauteil* component = nullptr;
    for (const auto& item : Items) {
        component = dynamic_cast<TIOBauteil*>(item.get());
        if (component && component->Selected)
            break;
        component = nullptr;
    }
    if (!component)
        return;
    component->SetMirrored(!component->Mirrored);
    RemovePinSegments(component);
    AttachPinSegments(component);
    for (auto& pin : component->Inputs)
        pin->Connected = false;
    for (auto& pin : component->Outputs)
        pin->Connected = false;
    NormaliseSelectedWires();
    Repaint();
}

void TPlatine::BringSelectionToFront()
{
    std::stable_partition(Items.begin(), Items.end(),
                          [](const auto& item) { return !item->Selected; });
    for (const auto& item : Items) {
        if (item->Selected)
            InvalidateObject(item.get());
    }
}

void TPlatine::SendSelectionToBack()
{
    std::vector<std::unique_ptr<TBauteil>> selected, rest;
    for (auto& item : Items)
        (item->Selected ? selected : rest).push_back(std::move(item));
    Items.clear();
    // Each selected item in turn goes to the start: they end there in reverse order.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        Items.push_back(std::move(*it));
    for (auto& item : rest)
        Items.push_back(std::move(item));
    for (const auto& item : Items) {
        if (item->Selected)
            InvalidateObject(item.get());
    }
}

void TPlatine::RemoveDegenerateSegments()
{
    std::vector<TBauteil*> degenerate;
    for (const auto& item : Items) {
        auto* s = dynamic_cast<TSegment*>(item.get());
        if (s && !s->Owner && s->X1 == s->X2 && s->Y1 == s->Y2)
            degenerate.push_back(s);
    }
    for (TBauteil* s : degenerate)
        RemoveObject(s);
}

bool TPlatine::SelectLooseSegment()
{
    RemoveDegenerateSegments();
    std::vector<TSegment*> unselected;
    for (const auto& item : Items) {
        auto* s = dynamic_cast<TSegment*>(item.get());
        if (s && !s->Selected)
            unselected.push_back(s);
    }
    auto meetsOther = [&unselected](const TSegment* s, QPoint p) {
        return std::any_of(unselected.begin(), unselected.end(), [s, p](const TSegment* u) {
            return u != s && (QPoint(u->X1, u->Y1) == p || QPoint(u->X2, u->Y2) == p);
        });
    };
    for (size_t k = Items.size(); k-- > 0;) {
        auto* s = dynamic_cast<TSegment*>(Items[k].get());
        if (!s || s->Owner || s->Selected)
            continue;
        if (!meetsOther(s, QPoint(s->X1, s->Y1)) || !meetsOther(s, QPoint(s->X2, s->Y2))) {
            s->Selected = true;
            InvalidateObject(s);
            return true;
        }
    }
    return false;
}

bool TPlatine::WireEndAt(QPoint boardPoint)
{
    return std::any_of(Items.begin(), Items.end(), [boardPoint](const auto& item) {
        return AsPinSegment(item.get()) && item->HitEndPoint(boardPoint) != nullptr;
    });
}

TSegment* TPlatine::WireAt(QPoint boardPoint) const
{
    for (const auto& item : Items) {
        auto* s = dynamic_cast<TSegment*>(item.get());
        if (!s || s->IsPinSegment())
            continue;
        if (QPoint(s->X1, s->Y1) == boardPoint || QPoint(s->X2, s->Y2) == boardPoint
            || s->ContainsInnerPoint(boardPoint.x(), boardPoint.y()))
            return s;
    }
    return nullptr;
}

TSegment* TPlatine::PinSegmentAt(QPoint boardPoint)
{
    TSegment* found = nullptr;
    for (const auto& item : Items) {
        TSegment* s = AsPinSegment(item.get());
        if (s && s->HitAttachPoint(boardPoint))
            found = s;
    }
    return found;
}

void TPlatine::TogglePinInversion(TSegment* pinSegment)
{
    if (!pinSegment || !pinSegment->Owner)
        return;
    auto& pins = pinSegment->InputSide ? pinSegment->Owner->Inputs : pinSegment->Owner->Outputs;
    if (pinSegment->PinIndex < 0 || size_t(pinSegment->PinIndex) >= pins.size())
        return;
    TBauteilPin& pin = *pins[size_t(pinSegment->PinIndex)];
    pin.SetInverted(!pin.Inverted());
    Repaint();
}
