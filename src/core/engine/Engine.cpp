#include "core/engine/Engine.h"

#include "core/board/BoardHooks.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "core/board/Segment.h"
#include "core/engine/EventPump.h"
#include "core/model/Iobt.h"

#include <algorithm>

namespace {

// Restores the step depth when a step ends, also by an exception out of a component.
class TDepthGuard {
public:
    explicit TDepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~TDepthGuard() { --m_depth; }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;

private:
    int& m_depth;
};

// Components from which a step's data no longer stays in the processor's nearer caches.
constexpr size_t kPrefetchFrom = 256;

} // namespace

void TEngine::Prepare(TPlatine& board, TEventPump& pump)
{
    TPlatine* top = board.Top();
    ClockedItems.clear();
    SimComponents.clear();
    Macros.clear();
    WireRun.clear();

    // One walk sorts the items into the run lists and prepares them in item order.
    TSimulationHooks& hooks = SimulationHooks();
    std::vector<TBauteil*> hardware;
    TStepCallback step;
    for (const auto& owned : board.Items) {
        pump.Pump();
        TBauteil* item = owned.get();
        if (IsHardwareComponent(*item)) {
            if (!step)
                step = board.MakeStepCallback();
            if (hooks.SetStepCallback)
                hooks.SetStepCallback(*item, step);
            hardware.push_back(item);
        }
        if (auto* segment = dynamic_cast<TSegment*>(item)) {
            WireRun.push_back(segment);
            segment->NetNumber = 0;
            segment->Driver = nullptr;
        } else if (auto* component = dynamic_cast<TIOBauteil*>(item)) {
            SimComponents.push_back(component);
            component->SimPrepare();
            if (auto* macro = dynamic_cast<TMakro*>(component)) {
                Macros.push_back(macro);
                macro->InputSources.assign(size_t(std::max(macro->InputCount, 0)), nullptr);
                macro->OutputSources.assign(size_t(std::max(macro->OutputCount, 0)), nullptr);
            }
        }
        if (item->Clocked)
            ClockedItems.push_back(item);
        item->ShowLineStates = top->ShowWireStates;
        item->PinsChanged = false;
    }
    for (TBauteil* item : hardware) {
        if (hooks.PrepareInterface)
            hooks.PrepareInterface(*item);
    }
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->Engine.Prepare(*inner, pump);
    }
}

void TEngine::Step(TPlatine& board)
{
    if (m_depth >= kMaxStepNesting)
        return;
    TDepthGuard depth(m_depth);
    if (board.Top() == &board)
        ++board.StepCount;
    // Components in list order. On a board too large for the processor's caches the ones a few
    // places ahead are fetched meanwhile; on a small one that would only cost time.
    TIOBauteil* const* list = SimComponents.data();
    const size_t count = SimComponents.size();
    if (count < kPrefetchFrom) {
        for (size_t k = 0; k < count; ++k)
            list[k]->Calculate();
    } else {
        size_t k = 0;
        for (; k + 8 < count; ++k) {
            const TIOBauteil* ahead = list[k + 8];
            __builtin_prefetch(ahead);
            __builtin_prefetch(reinterpret_cast<const char*>(ahead) + 64);
            list[k + 4]->PrefetchPins();
            list[k]->Calculate();
        }
        for (; k < count; ++k)
            list[k]->Calculate();
    }
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->Engine.Step(*inner);
    }
}

void TEngine::Tick()
{
    for (TBauteil* item : ClockedItems)
        item->ClockTick();
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->Engine.Tick();
    }
}

void TEngine::Reset()
{
    for (TIOBauteil* component : SimComponents)
        component->SimReset();
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->Engine.Reset();
    }
}

void TEngine::End(TPlatine& board)
{
    TSimulationHooks& hooks = SimulationHooks();
    for (const auto& owned : board.Items) {
        TBauteil* item = owned.get();
        if (auto* component = dynamic_cast<TIOBauteil*>(item))
            component->SimEnd();
        if (IsHardwareComponent(*item) && hooks.SetStepCallback)
            hooks.SetStepCallback(*item, TStepCallback());
    }
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->Engine.End(*inner);
    }
}
