// The simulation engine of the board: run lists, net numbering across the macro tree, sources
// of inputs and wires, shared outputs, the step, the clock tick, live repaints and the end of a
// run.

#include "core/board/Platine.h"

#include "core/board/BoardHooks.h"
#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Segment.h"
#include "core/model/GrundBT.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Progress.h"
#include "platform/Types.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

TSimulationHooks g_simulationHooks;

// Lets pending events run during a long preparation so that the progress window repaints; at
// most every 40 ms, since the walks call it once per item or segment.
void ProcessMessages()
{
    static QElapsedTimer timer;
    if (!timer.isValid()) {
        timer.start();
        return;
    }
    if (timer.elapsed() < 40)
        return;
    timer.restart();
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

// The segment of a pin; pin segments are always wire segments.
inline TSegment* PinSegment(const TBauteilPin& pin)
{
    return static_cast<TSegment*>(pin.Segment);
}

// Net number of a pin's segment; -1 for a pin without one (it is on no net).
inline int32_t NetOf(const TBauteilPin& pin)
{
    const TSegment* segment = PinSegment(pin);
    return segment ? segment->NetNumber : -1;
}

inline uint64_t PointKey(int32_t x, int32_t y)
{
    return (uint64_t(uint32_t(x)) << 32) | uint32_t(y);
}

bool IsDdeClient(const TBauteil& item)
{
    return std::strcmp(item.ClassName(), kDdeClientClassName) == 0;
}

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

// Closes the progress window however the preparation ends.
class TProgressGuard {
public:
    TProgressGuard() { ProgressBegin(QStringLiteral("Start..."), true); }
    ~TProgressGuard() { ProgressEnd(); }
    TProgressGuard(const TProgressGuard&) = delete;
    TProgressGuard& operator=(const TProgressGuard&) = delete;
};

// Nesting of NumberNets calls: the flood indexes live until the outermost call ends.
int g_numberingDepth = 0;

} // namespace

TSimulationHooks& SimulationHooks()
{
    return g_simulationHooks;
}

void ResetSimulationHooks()
{
    g_simulationHooks = TSimulationHooks();
}

// Endpoint index of a board's NetSegments for the flood: segments found by their end points
// instead of by comparing every pair, with the same result.
struct TPlatine::TNetScratch {
    std::vector<std::pair<uint64_t, TSegment*>> Ends;  // sorted by point
    std::vector<TSegment*> Members;                   // sorted by address
    std::vector<TBTPin*> MacroPins;                   // in item order
};

// --- Preparation -----------------------------------------------------------------------------

void TPlatine::StartSimulation()
{
    TProgressGuard progress;
    SelectAll(false);
    PrepareSimulation();  // also sets every net number back to 0
    int32_t counter = 0;
    NumberNets(nullptr, counter);
    ResolveWireNets();
    ConnectDdeClients();
    ClearOutputNets();
    LinkSharedOutputs();
    SimResetAll();
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
    TPlatine* top = Top();
    if (top == this) {
        if (!m_runToken)
            m_runToken = std::make_shared<bool>(false);
        *m_runToken = true;
    }
    for (const auto& item : Items) {
        if (auto* segment = dynamic_cast<TSegment*>(item.get()))
            segment->NetNumber = 0;
    }
    ClockedItems.clear();
    SimComponents.clear();
    Macros.clear();
    WireRun.clear();

    TSimulationHooks& hooks = SimulationHooks();
    std::vector<TBauteil*> hardware;
    TStepCallback step;
    for (const auto& owned : Items) {
        ProcessMessages();
        TBauteil* item = owned.get();
        if (IsHardwareComponent(*item)) {
            if (!step)
                step = MakeStepCallback();
            if (hooks.SetStepCallback)
                hooks.SetStepCallback(*item, step);
            hardware.push_back(item);
        }
        if (auto* component = dynamic_cast<TIOBauteil*>(item)) {
            SimComponents.push_back(component);
            component->SimPrepare();
        }
        if (item->Clocked)
            ClockedItems.push_back(item);
        if (auto* macro = dynamic_cast<TMakro*>(item)) {
            Macros.push_back(macro);
            macro->InputSources.assign(size_t(std::max(macro->InputCount, 0)), nullptr);
            macro->OutputSources.assign(size_t(std::max(macro->OutputCount, 0)), nullptr);
        }
        if (auto* segment = dynamic_cast<TSegment*>(item)) {
            WireRun.push_back(segment);
            segment->Driver = nullptr;
        }
        item->ShowLineStates = top->ShowWireStates;
        item->PinsChanged = false;
    }
    for (TBauteil* item : hardware) {
        if (hooks.PrepareInterface)
            hooks.PrepareInterface(*item);
    }
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->PrepareSimulation();
    }
}

void TPlatine::CollectSegments()
{
    NetSegments.clear();
    for (const auto& item : Items) {
        ProcessMessages();
        if (auto* segment = dynamic_cast<TSegment*>(item.get()))
            NetSegments.push_back(segment);
    }
    m_netScratch.reset();
}

// --- Nets ------------------------------------------------------------------------------------

void TPlatine::NumberNets(TSegment* startSegment, int32_t& counter)
{
    ++g_numberingDepth;
    struct TRelease {
        TPlatine* board;
        ~TRelease()
        {
            if (--g_numberingDepth == 0) {
                TPlatine* top = board;
                while (top->ParentBoard)
                    top = top->ParentBoard;
                top->ReleaseNetScratch();
            }
        }
    } release{this};

    if (startSegment) {
        CollectSegments();
        NumberNetsFrom(startSegment, counter);
        return;
    }
    CollectSegments();
    for (const auto& item : Items) {
        auto* segment = dynamic_cast<TSegment*>(item.get());
        if (!segment || segment->NetNumber != 0)
            continue;
        ++counter;
        NumberNetsFrom(segment, counter);
    }
    for (const auto& item : Items) {
        auto* macro = dynamic_cast<TMakro*>(item.get());
        if (!macro || !macro->InnerBoard())
            continue;
        ProgressSetCaption(macro->MacroName());
        macro->InnerBoard()->NumberNets(nullptr, counter);
    }
}

void TPlatine::ReleaseNetScratch()
{
    m_netScratch.reset();
    for (const auto& item : Items) {
        auto* macro = dynamic_cast<TMakro*>(item.get());
        if (macro && macro->InnerBoard())
            macro->InnerBoard()->ReleaseNetScratch();
    }
}

void TPlatine::NumberNetsFrom(TSegment* startSegment, int32_t counter)
{
    if (!m_netScratch) {
        CollectSegments();
        auto scratch = std::make_shared<TNetScratch>();
        scratch->Ends.reserve(NetSegments.size() * 2);
        for (TSegment* segment : NetSegments) {
            scratch->Ends.emplace_back(PointKey(segment->X1, segment->Y1), segment);
            if (segment->X2 != segment->X1 || segment->Y2 != segment->Y1)
                scratch->Ends.emplace_back(PointKey(segment->X2, segment->Y2), segment);
        }
        std::stable_sort(scratch->Ends.begin(), scratch->Ends.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        scratch->Members = NetSegments;
        std::sort(scratch->Members.begin(), scratch->Members.end());
        for (const auto& item : Items) {
            if (auto* pin = dynamic_cast<TBTPin*>(item.get()))
                scratch->MacroPins.push_back(pin);
        }
        m_netScratch = std::move(scratch);
    }
    // Keeps the index alive while crossings into other boards run.
    const std::shared_ptr<TNetScratch> scratch = m_netScratch;
    if (!startSegment
        || !std::binary_search(scratch->Members.begin(), scratch->Members.end(), startSegment))
        return;
    if (startSegment->NetNumber == counter)
        return;

    // Flood this board's part of the net: every segment sharing an end point with a flooded one.
    std::vector<TSegment*> flooded{startSegment};
    startSegment->NetNumber = counter;
    auto visitPoint = [&](uint64_t key) {
        auto it = std::lower_bound(scratch->Ends.begin(), scratch->Ends.end(), key,
                                   [](const auto& entry, uint64_t k) { return entry.first < k; });
        for (; it != scratch->Ends.end() && it->first == key; ++it) {
            TSegment* other = it->second;
            if (other->NetNumber == counter)
                continue;
            other->NetNumber = counter;
            flooded.push_back(other);
        }
    };
    for (size_t k = 0; k < flooded.size(); ++k) {
        ProcessMessages();
        const TSegment* segment = flooded[k];
        visitPoint(PointKey(segment->X1, segment->Y1));
        if (segment->X2 != segment->X1 || segment->Y2 != segment->Y1)
            visitPoint(PointKey(segment->X2, segment->Y2));
    }

    // Across macro boundaries, for every flooded segment.
    for (TSegment* segment : flooded) {
        // Down: a pin of a macro block on this board continues at the macro pin component of
        // the same number on the block's inner board.
        if (auto* macro = dynamic_cast<TMakro*>(segment->Owner); macro && macro->InnerBoard()) {
            const TBauteilPin* macroPin = segment->Pin();
            if (macroPin && macroPin->Segment == segment) {
                const int32_t index = segment->PinIndex;
                const int32_t number = segment->InputSide ? index + 1 : macro->InputCount + index + 1;
                TPlatine* inner = macro->InnerBoard();
                for (const auto& item : inner->Items) {
                    auto* pin = dynamic_cast<TBTPin*>(item.get());
                    if (!pin || pin->Number != number)
                        continue;
                    TSegment* innerSegment =
                        pin->Inputs.empty() ? nullptr : PinSegment(*pin->Inputs[0]);
                    if (innerSegment && innerSegment->NetNumber == 0)
                        inner->NumberNetsFrom(innerSegment, counter);
                    break;
                }
            }
        }
        // Up: a macro pin component of this inner board continues at its block's pin outside.
        if (!OwnerMacro || !ParentBoard)
            continue;
        for (TBTPin* pin : scratch->MacroPins) {
            const TSegment* own = pin->Inputs.empty() ? nullptr : PinSegment(*pin->Inputs[0]);
            if (!own || own == segment || own->NetNumber != counter)
                continue;
            const int32_t k = pin->Number;
            const TBauteilPin* outer = nullptr;
            if (k >= 1 && k <= OwnerMacro->InputCount) {
                outer = OwnerMacro->Inputs[size_t(k - 1)].get();
            } else {
                const int32_t j = k - OwnerMacro->InputCount - 1;
                if (j >= 0 && j < int32_t(OwnerMacro->Outputs.size()))
                    outer = OwnerMacro->Outputs[size_t(j)].get();
            }
            TSegment* outerSegment = outer ? PinSegment(*outer) : nullptr;
            if (outerSegment && outerSegment->NetNumber == 0)
                ParentBoard->NumberNetsFrom(outerSegment, counter);
        }
    }
}

void TPlatine::CollectLeafComponents(std::vector<TIOBauteil*>& list)
{
    for (const auto& item : Items) {
        auto* component = dynamic_cast<TIOBauteil*>(item.get());
        if (!component || dynamic_cast<TBTPin*>(component))
            continue;
        if (auto* macro = dynamic_cast<TMakro*>(component)) {
            if (macro->InnerBoard())
                macro->InnerBoard()->CollectLeafComponents(list);
            continue;
        }
        list.push_back(component);
    }
}

TBauteilPin* TPlatine::FindNetSource(int32_t net)
{
    TPlatine* top = Top();
    if (const auto& cache = top->m_sourceCache) {
        return net >= 0 && size_t(net) < cache->size() ? (*cache)[size_t(net)] : nullptr;
    }
    std::vector<TIOBauteil*> leaves;
    top->CollectLeafComponents(leaves);
    for (TIOBauteil* component : leaves) {
        for (const auto& pin : component->Outputs) {
            if (NetOf(*pin) == net)
                return pin.get();
        }
    }
    return nullptr;
}

void TPlatine::ResolveWireNets()
{
    // The top board's first call builds the source of every net once for the whole walk.
    TPlatine* top = Top();
    const bool ownsCache = !top->m_sourceCache;
    if (ownsCache) {
        auto cache = std::make_shared<std::vector<TBauteilPin*>>();
        std::vector<TIOBauteil*> leaves;
        top->CollectLeafComponents(leaves);
        for (TIOBauteil* component : leaves) {
            for (const auto& pin : component->Outputs) {
                const int32_t net = NetOf(*pin);
                if (net < 0)
                    continue;
                if (size_t(net) >= cache->size())
                    cache->resize(size_t(net) + 1, nullptr);
                if (!(*cache)[size_t(net)])
                    (*cache)[size_t(net)] = pin.get();
            }
        }
        top->m_sourceCache = std::move(cache);
    }
    struct TDropCache {
        TPlatine* top;
        bool owns;
        ~TDropCache()
        {
            if (owns)
                top->m_sourceCache.reset();
        }
    } dropCache{top, ownsCache};

    QString caption = Lang3Q("Schaltung vorbereiten... ", "Preparing... ", "Préparation... ");
    if (OwnerMacro)
        caption += OwnerMacro->MacroName();
    ProgressSetCaption(caption);

    auto sourceOf = [this](const TBauteilPin& pin) {
        const int32_t net = NetOf(pin);
        return net < 0 ? nullptr : FindNetSource(net);
    };
    for (const auto& item : Items) {
        auto* component = dynamic_cast<TIOBauteil*>(item.get());
        if (!component || dynamic_cast<TBTPin*>(component))
            continue;
        if (auto* macro = dynamic_cast<TMakro*>(component)) {
            macro->InputSources.resize(macro->Inputs.size(), nullptr);
            macro->OutputSources.resize(macro->Outputs.size(), nullptr);
            for (size_t i = 0; i < macro->Inputs.size(); ++i)
                macro->InputSources[i] = sourceOf(*macro->Inputs[i]);
            for (size_t j = 0; j < macro->Outputs.size(); ++j)
                macro->OutputSources[j] = sourceOf(*macro->Outputs[j]);
            continue;
        }
        for (const auto& pin : component->Inputs)
            pin->SetSource(sourceOf(*pin));
    }

    const size_t count = WireRun.size();
    int lastPercent = -1;
    for (size_t i = 0; i < count; ++i) {
        const int percent = int(RoundHalfEven(Extended(i) / Extended(count) * 100.0L));
        if (percent != lastPercent) {
            ProgressSetPosition(percent);
            lastPercent = percent;
        }
        ProcessMessages();
        TSegment* segment = WireRun[i];
        if (!segment->Driver)
            segment->Driver = FindNetSource(segment->NetNumber);
    }

    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->ResolveWireNets();
    }
}

// --- DDE clients -----------------------------------------------------------------------------

void TPlatine::ConnectDdeClients()
{
    const bool wasConnecting = m_ddeConnecting;
    m_ddeConnecting = true;
    struct TClear {
        bool& flag;
        bool old;
        ~TClear() { flag = old; }
    } clear{m_ddeConnecting, wasConnecting};

    TSimulationHooks& hooks = SimulationHooks();
    for (const auto& item : Items) {
        auto* component = dynamic_cast<TIOBauteil*>(item.get());
        if (component && IsDdeClient(*component) && hooks.ConnectDdeClient)
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
    for (const auto& item : Items) {
        auto* component = dynamic_cast<TIOBauteil*>(item.get());
        if (component && IsDdeClient(*component))
            hooks.DdeConversationClosed(*component, conversation);
    }
}

// --- Shared outputs and reset ----------------------------------------------------------------

void TPlatine::ClearOutputNets()
{
    for (const auto& item : Items) {
        auto* component = dynamic_cast<TIOBauteil*>(item.get());
        if (!component || dynamic_cast<TBTPin*>(component))
            continue;
        if (auto* macro = dynamic_cast<TMakro*>(component); macro && macro->InnerBoard())
            macro->InnerBoard()->ClearOutputNets();
        for (auto& pin : component->Outputs)
            pin->SetSameNet({});
    }
}

void TPlatine::LinkSharedOutputs()
{
    TPlatine* top = Top();
    std::vector<TIOBauteil*> leaves;
    top->CollectLeafComponents(leaves);
    // The outputs of every net in leaf order, then each output gets those of its own net.
    std::unordered_map<int32_t, std::vector<TBauteilPin*>> byNet;
    for (TIOBauteil* component : leaves) {
        for (const auto& pin : component->Outputs) {
            const int32_t net = NetOf(*pin);
            if (net >= 0)
                byNet[net].push_back(pin.get());
        }
    }
    for (TIOBauteil* component : leaves) {
        for (const auto& pin : component->Outputs) {
            const int32_t net = NetOf(*pin);
            if (net < 0)
                continue;
            std::vector<TBauteilPin*> list = pin->SameNet();
            for (TBauteilPin* other : byNet[net]) {
                if (std::find(list.begin(), list.end(), other) == list.end())
                    list.push_back(other);
            }
            pin->SetSameNet(std::move(list));
        }
    }
}

void TPlatine::SimResetAll()
{
    for (const auto& item : Items) {
        if (auto* component = dynamic_cast<TIOBauteil*>(item.get()))
            component->SimReset();
    }
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->SimResetAll();
    }
}

// --- The run ---------------------------------------------------------------------------------

namespace {
// Components from which a step's data no longer stays in the processor's nearer caches.
constexpr size_t kPrefetchFrom = 256;
} // namespace

void TPlatine::SimStep()
{
    if (m_stepDepth >= kMaxStepNesting)
        return;
    TDepthGuard depth(m_stepDepth);
    TPlatine* top = Top();
    if (top == this)
        ++StepCount;
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
            inner->SimStep();
    }
    if (!Visible)
        return;
    const bool wires = top->ShowWireStates;
    const bool states = top->ShowComponentStates;
    if (!wires && !states)
        return;
    const int32_t frequency = Ctx().SimFrequency;
    if (frequency <= 60 || top->StepCount % (frequency / 57) != 0)
        return;
    if (wires)
        RefreshWires();
    if (states)
        RefreshLiveDisplays();
}

void TPlatine::TickClockedObjects()
{
    for (TBauteil* item : ClockedItems)
        item->ClockTick();
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->TickClockedObjects();
    }
    if (!Visible)
        return;
    const TPlatine* top = Top();
    if (top->ShowWireStates)
        RefreshWires();
    if (top->ShowComponentStates)
        RefreshLiveDisplays();
}

void TPlatine::RefreshWires()
{
    const auto paint = [this](TCanvas* canvas) {
        for (TSegment* segment : WireRun) {
            const TBauteilPin* source = segment->Driver;
            const bool state = !source || source->Value >= 2.5L;
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
    TSimulationHooks& hooks = SimulationHooks();
    for (const auto& owned : Items) {
        TBauteil* item = owned.get();
        if (auto* component = dynamic_cast<TIOBauteil*>(item))
            component->SimEnd();
        if (IsHardwareComponent(*item) && hooks.SetStepCallback)
            hooks.SetStepCallback(*item, TStepCallback());
    }
    for (TMakro* macro : Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            inner->EndSimulation();
    }
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
