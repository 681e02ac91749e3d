#include "core/board/Platine.h"

#include "core/board/BoardHooks.h"
#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Segment.h"
#include "core/board/Textlabel.h"
#include "core/model/GrundBT.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

bool IsClass(const TBauteil& item, const char* className)
{
    return std::strcmp(item.ClassName(), className) == 0;
}

template <class T>
void Forget(std::vector<T*>& list, const TBauteil* item)
{
    list.erase(std::remove_if(list.begin(), list.end(),
                              [item](const T* entry) {
                                  return static_cast<const TBauteil*>(entry) == item;
                              }),
               list.end());
}

// Sets a flag for the lifetime of the guard and restores its former value.
class TFlagGuard {
public:
    TFlagGuard(bool& flag, bool value) : m_flag(flag), m_old(flag) { m_flag = value; }
    ~TFlagGuard() { m_flag = m_old; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;
    bool Old() const { return m_old; }

private:
    bool& m_flag;
    bool m_old;
};

} // namespace

// --- Construction ----------------------------------------------------------------------------

TPlatine::TPlatine()
{
    TopBoard = this;
}

TPlatine::~TPlatine()
{
    m_destroying = true;
    NoPaint = true;
    ClockedItems.clear();
    SimComponents.clear();
    Macros.clear();
    WireRun.clear();
    WireWork.clear();
    NetSegments.clear();
    Jumps.clear();
    LastSegment = nullptr;
    // Last item first; every component is announced before it goes. Nothing is renumbered
    // and no reference list is searched, so a large board goes in linear time.
    while (!Items.empty()) {
        TBauteil* last = Items.back().get();
        if (auto* component = dynamic_cast<TIOBauteil*>(last); component && OnEntferneBauteil) {
            OnEntferneBauteil(this, component);
            if (Items.empty() || Items.back().get() != last)
                continue; // the handler took it out itself
        }
        Items.pop_back();
    }
}

// --- Adding items ----------------------------------------------------------------------------

TBauteil* TPlatine::AppendItem(std::unique_ptr<TBauteil> item)
{
    TBauteil* raw = item.get();
    if (!raw->Board)
        raw->Board = this;
    Items.push_back(std::move(item));
    return raw;
}

TIOBauteil* TPlatine::AddComponent(std::unique_ptr<TIOBauteil> component)
{
    TIOBauteil* raw = component.get();
    AppendItem(std::move(component));
    BindItem(raw);
    AttachPinSegments(raw);
    RenumberClass(raw->ClassName());
    SetBoardName(BoardName);
    RegisterDdeServers();
    return raw;
}

void TPlatine::BindItem(TBauteil* item)
{
    if (auto* component = dynamic_cast<TIOBauteil*>(item)) {
        component->OnBeforePinsChange = [this](TIOBauteil* c) { BeforePinsChange(c); };
        component->OnPinsChanged = [this](TIOBauteil* c) { PinsChanged(c); };
    }
    if (auto* pin = dynamic_cast<TBTPin*>(item))
        pin->OnNameChanged = [this](TBTPin* p) { MacroPinChanged(p); };
    if (auto* macro = dynamic_cast<TMakro*>(item)) {
        macro->OnReadData = [this](TMakro* m, TReader& r, uint8_t v) { ReadMacroGeometry(m, r, v); };
        macro->OnWriteData = [this](TMakro* m, TWriter& w) { WriteMacroRecord(m, w); };
    }
    if (auto* text = dynamic_cast<TText*>(item)) {
        text->Board = this;
        text->OnNeuZeichnen = [this](TText* t) { InvalidateAndPaint(t); };
    }
}

TPlatine* TPlatine::CreateInnerBoard(TMakro& macro)
{
    auto inner = std::make_unique<TPlatine>();
    inner->ParentBoard = this;
    inner->OwnerMacro = &macro;
    inner->TopBoard = Top();
    inner->ClipboardStream = ClipboardStream;
    inner->OnChange = OnChange;
    inner->OnPopupRequest = OnPopupRequest;
    inner->OnModeChange = OnModeChange;
    inner->OnAktTools = OnAktTools;
    inner->OnNeuesBauteil = OnNeuesBauteil;
    inner->OnEntferneBauteil = OnEntferneBauteil;
    inner->OnWriteFPDaten = OnWriteFPDaten;
    inner->OnNeuesMakro = OnNeuesMakro;
    TPlatine* raw = inner.get();
    macro.SetInnerBoard(std::move(inner));
    return raw;
}

TSegment* TPlatine::AddSegment(QPoint p1, QPoint p2)
{
    auto segment = NewObject<TSegment>();
    segment->X1 = p1.x();
    segment->Y1 = p1.y();
    segment->X2 = p2.x();
    segment->Y2 = p2.y();
    segment->Normalize();
    TSegment* raw = segment.get();
    AppendItem(std::move(segment));
    LastSegment = raw;
    InvalidateObject(raw);
    return raw;
}

// --- Removing items --------------------------------------------------------------------------

void TPlatine::RemoveObject(TBauteil* item)
{
    if (IndexOfItem(item) < 0)
        return;
    auto* component = dynamic_cast<TIOBauteil*>(item);
    std::string className;
    if (component) {
        if (OnEntferneBauteil)
            OnEntferneBauteil(this, component);
        className = component->ClassName();
    }
    const int index = IndexOfItem(item);  // the handler may have changed the list
    if (index < 0)
        return;

    auto forget = [this](TBauteil* gone) {
        Forget(NetSegments, gone);
        Forget(WireWork, gone);
        Forget(ClockedItems, gone);
        Forget(SimComponents, gone);
        Forget(Macros, gone);
        Forget(WireRun, gone);
        Forget(Jumps, gone);
        if (LastSegment == gone)
            LastSegment = nullptr;
    };
    // Takes an item out of the list, frees it and asks for its former area to be redrawn.
    auto takeOut = [this, &forget](size_t at) {
        TBauteil* gone = Items[at].get();
        const TRect bounds = NoPaint ? TRect{} : gone->GetBounds();
        std::unique_ptr<TBauteil> owned = std::move(Items[at]);
        Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(at));
        forget(gone);
        owned.reset();
        if (!NoPaint && OnInvalidateRect)
            OnInvalidateRect(bounds);
    };

    if (auto* segment = dynamic_cast<TSegment*>(item)) {
        // A pin segment going alone: its pin must not keep pointing at it.
        if (TBauteilPin* pin = segment->Pin(); pin && pin->Segment == segment)
            pin->Segment = nullptr;
    }
    if (component) {
        // A component takes its pin segments with it; they mean nothing without it.
        for (size_t k = Items.size(); k-- > 0;) {
            auto* segment = dynamic_cast<TSegment*>(Items[k].get());
            if (segment && segment->Owner == component)
                takeOut(k);
        }
    }
    takeOut(size_t(IndexOfItem(item)));

    if (m_destroying)
        return;
    if (!className.empty())
        RenumberClass(className.c_str());
    SetBoardName(BoardName);
    RegisterDdeServers();
}

void TPlatine::DeleteSelection()
{
    if (Top()->Preparing)
        return;  // the run being prepared holds references into the items
    FrontPanelHooks().StopWebServer();
    if (!NoPaint)
        DetachSelectedWires();
    bool wasNoPaint = false;
    {
        TFlagGuard noPaint(NoPaint, true);
        wasNoPaint = noPaint.Old();
        // Pin segments go with their components, never alone.
        for (TBauteil* item : SelectedItems()) {
            if (IndexOfItem(item) < 0)
                continue;
            TFlagGuard pinFlag(DeletingMacroPin, dynamic_cast<TBTPin*>(item) != nullptr);
            RemoveObject(item);
        }
    }
    if (!wasNoPaint)
        Repaint();
    if (OnAktTools)
        OnAktTools(this);
    FrontPanelHooks().StartWebServer();
}

void TPlatine::RemovePinSegments(TIOBauteil* component)
{
    for (auto& pin : component->Inputs)
        pin->Segment = nullptr;
    for (auto& pin : component->Outputs)
        pin->Segment = nullptr;
    std::vector<TBauteil*> segments;
    for (const auto& item : Items) {
        auto* segment = dynamic_cast<TSegment*>(item.get());
        if (segment && segment->Owner == component)
            segments.push_back(segment);
    }
    for (TBauteil* segment : segments)
        RemoveObject(segment);
}

// --- Numbers and names -----------------------------------------------------------------------

void TPlatine::RenumberClass(const char* className)
{
    TFrontPanelHooks& frontPanel = FrontPanelHooks();
    const TBoardServiceHooks& services = BoardServiceHooks();
    int32_t counter = 0;
    for (const auto& item : Items) {
        auto* component = dynamic_cast<TIOBauteil*>(item.get());
        if (!component || !IsClass(*component, className))
            continue;
        component->SetNumber(++counter);
        InvalidateObject(component);
        if (IsClass(*component, kAnalyserClassName) && services.UpdateAnalyserCaption)
            services.UpdateAnalyserCaption(*component);
        if (auto* macro = dynamic_cast<TMakro*>(component); macro && macro->Design)
            frontPanel.SetGroupCaption(*macro->Design, macro->GroupCaption());
        if (component->Link)
            frontPanel.SetElementName(*component->Link, component->Designator());
    }
}

void TPlatine::SetBoardName(const QString& name)
{
    BoardName = name;
    for (const auto& item : Items) {
        auto* macro = dynamic_cast<TMakro*>(item.get());
        if (macro && macro->InnerBoard())
            macro->InnerBoard()->SetBoardName(name + QLatin1Char('_') + macro->Designator());
    }
    const TBoardServiceHooks& services = BoardServiceHooks();
    if (!services.SetDdeServerTopic)
        return;
    for (const auto& item : Items) {
        auto* component = dynamic_cast<TIOBauteil*>(item.get());
        if (component && IsClass(*component, kDdeServerClassName))
            services.SetDdeServerTopic(*component, name);
    }
}

void TPlatine::RegisterDdeServers()
{
    // An inner board still named "MAIN" has not been named by its holder yet.
    if (IsInnerBoard() && BoardName == QLatin1String("MAIN"))
        return;
    const TBoardServiceHooks& services = BoardServiceHooks();
    for (const auto& item : Items) {
        if (auto* macro = dynamic_cast<TMakro*>(item.get())) {
            if (macro->InnerBoard())
                macro->InnerBoard()->RegisterDdeServers();
        } else if (auto* component = dynamic_cast<TIOBauteil*>(item.get());
                   component && IsClass(*component, kDdeServerClassName)
                   && services.CreateDdeServerItems) {
            services.CreateDdeServerItems(*component);
        }
    }
}

// --- Pin segments and pin-change handlers ----------------------------------------------------

void TPlatine::AttachPinSegments(TIOBauteil* component)
{
    if (!dynamic_cast<TGrundBT*>(component) && !dynamic_cast<TMakro*>(component))
        return;
    auto attach = [this, component](std::vector<std::unique_ptr<TBauteilPin>>& pins, bool input) {
        for (size_t i = 0; i < pins.size(); ++i) {
            TBauteilPin& pin = *pins[i];
            TSegment* segment = AddSegment(QPoint(pin.X, pin.Y), QPoint(pin.X, pin.Y));
            segment->Owner = component;
            segment->InputSide = input;
            segment->Selected = true;
            segment->PinIndex = int32_t(i);
            pin.Segment = segment;
        }
    };
    attach(component->Inputs, true);
    attach(component->Outputs, false);
}

void TPlatine::BeforePinsChange(TIOBauteil*)
{
    DetachSelectedWires();
}

void TPlatine::PinsChanged(TIOBauteil* component)
{
    RemovePinSegments(component);
    AttachPinSegments(component);
    NormaliseSelectedWires();
    if (dynamic_cast<TMakro*>(component))
        InvalidateObject(component);
    else
        Repaint();
}

void TPlatine::MacroPinChanged(TBTPin* pin)
{
    InvalidateObject(pin);
    if (OwnerMacro)
        OwnerMacro->SetPinName(pin->Number, pin->PinName());
}

// --- Queries ---------------------------------------------------------------------------------

void TPlatine::CollectJumps()
{
    Jumps.clear();
    for (const auto& item : Items) {
        auto* component = dynamic_cast<TIOBauteil*>(item.get());
        if (component && IsClass(*component, kJumpClassName))
            Jumps.push_back(component);
    }
}

int32_t TPlatine::MacroPinCount() const
{
    return int32_t(std::count_if(Items.begin(), Items.end(), [](const auto& item) {
        return dynamic_cast<const TBTPin*>(item.get()) != nullptr;
    }));
}

QString TPlatine::MacroPinLabel(int32_t number) const
{
    for (const auto& item : Items) {
        const auto* pin = dynamic_cast<const TBTPin*>(item.get());
        if (pin && pin->Number == number)
            return pin->PinName();
    }
    return QString();
}

int TPlatine::IndexOfItem(const TBauteil* item) const
{
    for (size_t k = 0; k < Items.size(); ++k) {
        if (Items[k].get() == item)
            return int(k);
    }
    return -1;
}

// --- Redraw requests -------------------------------------------------------------------------

void TPlatine::InvalidateObject(TBauteil* item)
{
    if (NoPaint || !OnInvalidateRect || !item)
        return;
    OnInvalidateRect(item->GetBounds());
}

void TPlatine::InvalidateAndPaint(TBauteil* item)
{
    InvalidateObject(item);
}

void TPlatine::Repaint()
{
    if (!NoPaint && OnRepaint)
        OnRepaint();
}
