// The board's side of a run: the preparation in its order (run lists, nets, sources, DDE
// clients, shared outputs, reset), forwarding to the engine and the netlist builder, the live
// repaints of wire colours and pin states, and the end of a run.

#include "core/board/Platine.h"

#include "core/board/BoardHooks.h"
#include "core/board/Makro.h"
#include "core/board/Segment.h"
#include "core/engine/EventPump.h"
#include "core/engine/Netlist.h"
#include "core/model/GrundBT.h"
#include "platform/Canvas.h"
#include "platform/Progress.h"

#include <QScopedValueRollback>

#include <cstring>

namespace {

TSimulationHooks g_simulationHooks;

bool IsDdeClient(const TBauteil& item)
{
    return std::strcmp(item.ClassName(), kDdeClientClassName) == 0
           || std::strcmp(item.ClassName(), kDdePokeClassName) == 0;
}

// Closes the progress window however the preparation ends.
class TProgressGuard {
public:
    TProgressGuard() { ProgressBegin(QStringLiteral("Start..."), true); }
    ~TProgressGuard() { ProgressEnd(); }
    TProgressGuard(const TProgressGuard&) = delete;
    TProgressGuard& operator=(const TProgressGuard&) = delete;
};

} // namespace

TSimulationHooks& SimulationHooks()
{
    return g_simulationHooks;
}

void ResetSimulationHooks()
{
    g_simulationHooks = TSimulationHooks();
}

// --- Preparation -----------------------------------------------------------------------------

void TPlatine::StartSimulation()
{
    if (Preparing)
        return;
    const QScopedValueRollback preparing(Preparing, true);
    TProgressGuard progress;
    TEventPump pump;
    SelectAll(false);
    PrepareRun(pump);  // also sets every net number back to 0
    TNetlistBuilder netlist(*this, pump);
    int32_t counter = 0;
    netlist.NumberNets(*this, nullptr, counter);
    netlist.ApplyNets();
    netlist.ApplySources(*this);
    ConnectDdeClients();
    ClearOutputNets();
    netlist.ApplySharedOutputs();
    Engine.Reset();
}

TStepCallback TPlatine::MakeStepCallback()
{
    TPlatine* top = Top();
    if (!top->m_runToken)
        top->m_runToken = std::make_shared<bool>(false);
    std::weak_ptr<bool> token = top->m_runToken;
    return [top, token]() {
        const std::shared_ptr<bool> live = token.lock();
        if (live && *live)
            top->SimStep();
    };
}

void TPlatine::PrepareSimulation()
{
    TEventPump pump;
    PrepareRun(pump);
}

void TPlatine::PrepareRun(TEventPump& pump)
{
    if (Top() == this) {
        if (!m_runToken)
            m_runToken = std::make_shared<bool>(false);
        *m_runToken = true;
    }
    Engine.Prepare(*this, pump);
}

void TPlatine::CollectSegments()
{
    NetSegments = SortItems(*this).Segments;
}

// --- Nets ------------------------------------------------------------------------------------

void TPlatine::NumberNets(TSegment* startSegment, int32_t& counter)
{
    CollectSegments();
    TEventPump pump;
    TNetlistBuilder netlist(*this, pump);
    netlist.NumberNets(*this, startSegment, counter);
    netlist.ApplyNets();
}

void TPlatine::CollectLeafComponents(std::vector<TIOBauteil*>& list)
{
    TEventPump pump;
    const std::vector<TIOBauteil*> leaves = TNetlistBuilder(*this, pump).LeafOrder(*this);
    list.insert(list.end(), leaves.begin(), leaves.end());
}

TBauteilPin* TPlatine::FindNetSource(int32_t net)
{
    TEventPump pump;
    return TNetlistBuilder(*this, pump).SourceOf(net);
}

void TPlatine::ResolveWireNets()
{
    CollectSegments();
    TEventPump pump;
    TNetlistBuilder(*this, pump).ApplySources(*this);
}

// --- DDE clients -----------------------------------------------------------------------------

void TPlatine::ConnectDdeClients()
{
    const QScopedValueRollback connecting(m_ddeConnecting, true);
    TSimulationHooks& hooks = SimulationHooks();
    for (TIOBauteil* component : SimComponents) {
        if (IsDdeClient(*component) && hooks.ConnectDdeClient)
            hooks.ConnectDdeClient(*component, *this);
    }
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->ConnectDdeClients();
    }
}

void TPlatine::DdeConversationClosed(const void* conversation)
{
    if (m_ddeConnecting)
        return;
    TSimulationHooks& hooks = SimulationHooks();
    if (!hooks.DdeConversationClosed)
        return;
    for (TIOBauteil* component : SimComponents) {
        if (IsDdeClient(*component))
            hooks.DdeConversationClosed(*component, conversation);
    }
}

// --- Shared outputs and reset ----------------------------------------------------------------

void TPlatine::ClearOutputNets()
{
    const TBoardItems items = SortItems(*this);
    for (TMakro* macro : items.Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->ClearOutputNets();
        for (auto& pin : macro->Outputs)
            pin->SetSameNet({});
    }
    for (TIOBauteil* component : items.Leaves) {
        for (auto& pin : component->Outputs)
            pin->SetSameNet({});
    }
}

void TPlatine::LinkSharedOutputs()
{
    TEventPump pump;
    TNetlistBuilder(*this, pump).ApplySharedOutputs();
}

void TPlatine::SimResetAll()
{
    Engine.Reset();
}

// --- The run ---------------------------------------------------------------------------------

void TPlatine::SimStep()
{
    Engine.Step(*this);
}

void TPlatine::TickClockedObjects()
{
    Engine.Tick();
}

void TPlatine::RepaintLiveStates()
{
    const TPlatine* top = Top();
    if (Visible) {
        if (top->ShowWireStates)
            RefreshWires();
        if (top->ShowComponentStates)
            RefreshLiveDisplays();
    }
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->RepaintLiveStates();
    }
}

bool TPlatine::WireLit(const TSegment& segment)
{
    const TBauteilPin* source = segment.Driver;
    return !source || source->Value >= 2.5L;
}

void TPlatine::RefreshWires()
{
    const auto paint = [this](TCanvas* canvas) {
        for (TSegment* segment : WireRun) {
            const bool state = WireLit(*segment);
            if (state == segment->Lit)
                continue;
            segment->Lit = state;
            if (canvas)
                segment->Paint(*canvas);
            if (segment->Owner) {
                segment->Owner->PinsChanged = true;
                segment->Owner->StateChanged = true;
            }
        }
        for (TIOBauteil* component : SimComponents) {
            if (!component->PinsChanged)
                continue;
            if (canvas) {
                if (auto* symbol = dynamic_cast<TGrundBT*>(component))
                    symbol->RepaintPins(*canvas);
                else if (auto* macro = dynamic_cast<TMakro*>(component))
                    macro->RepaintPinLines(*canvas);
            }
            component->PinsChanged = false;
        }
    };
    if (OnLivePaint)
        OnLivePaint([&paint](TCanvas& canvas) { paint(&canvas); });
    else
        paint(nullptr);
}

void TPlatine::RefreshLiveDisplays()
{
    const auto paint = [this](TCanvas* canvas) {
        for (TIOBauteil* component : SimComponents) {
            if (canvas) {
                if (auto* symbol = dynamic_cast<TGrundBT*>(component))
                    symbol->PaintPinStates(*canvas);
                else if (auto* macro = dynamic_cast<TMakro*>(component))
                    macro->PaintPinStates(*canvas);
            }
            component->StateChanged = false;
        }
    };
    if (OnLivePaint)
        OnLivePaint([&paint](TCanvas& canvas) { paint(&canvas); });
    else
        paint(nullptr);
}

void TPlatine::EndSimulation()
{
    TPlatine* top = Top();
    if (top == this && m_runToken)
        *m_runToken = false;
    Engine.End(*this);
    TSimulationHooks& hooks = SimulationHooks();
    if (top == this && hooks.ReleaseDdeConversations)
        hooks.ReleaseDdeConversations();
}

void TPlatine::SetShowWireStates(bool flag)
{
    for (const auto& item : Items) {
        item->ShowLineStates = flag;
        item->PinsChanged = false;
        if (Visible)
            InvalidateObject(item.get());
    }
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->SetShowWireStates(flag);
    }
}

void TPlatine::SetShowComponentStates(bool flag)
{
    for (const auto& item : Items) {
        item->ShowStates = flag;
        item->StateChanged = false;
        if (Visible)
            InvalidateObject(item.get());
    }
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->SetShowComponentStates(flag);
    }
}
