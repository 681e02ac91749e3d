#include "core/engine/Netlist.h"

#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "core/board/Segment.h"
#include "core/engine/EventPump.h"
#include "core/model/Iobt.h"
#include "platform/Context.h"
#include "platform/Progress.h"
#include "platform/Types.h"

#include <algorithm>

namespace {

inline uint64_t PointKey(int32_t x, int32_t y)
{
    return (uint64_t(uint32_t(x)) << 32) | uint32_t(y);
}

// The pin segment of a macro pin component's one pin; nullptr when it has none.
inline const TBauteil* OwnSegment(const TBTPin& pin)
{
    return pin.Inputs.empty() ? nullptr : pin.Inputs[0]->Segment;
}

} // namespace

TBoardItems SortItems(const TPlatine& board)
{
    TBoardItems items;
    for (const auto& owned : board.Items) {
        TBauteil* item = owned.get();
        if (auto* segment = dynamic_cast<TSegment*>(item)) {
            items.Segments.push_back(segment);
        } else if (auto* pin = dynamic_cast<TBTPin*>(item)) {
            items.MacroPins.push_back(pin);
        } else if (auto* macro = dynamic_cast<TMakro*>(item)) {
            items.Order.push_back(-1 - int32_t(items.Macros.size()));
            items.Macros.push_back(macro);
        } else if (auto* component = dynamic_cast<TIOBauteil*>(item)) {
            items.Order.push_back(int32_t(items.Leaves.size()));
            items.Leaves.push_back(component);
        }
    }
    return items;
}

// One board of the tree: its sorted items, where its segments start in the tree's numbering,
// and the index of its segments' end points for the flood.
struct TNetlistBuilder::TBoard {
    TPlatine* Board = nullptr;
    TBoardItems Items;
    int32_t FirstSegment = 0;
    std::vector<std::pair<uint64_t, int32_t>> Ends;  // point -> segment, sorted by point
    bool Owns(int32_t segment) const
    {
        return segment >= FirstSegment && segment < FirstSegment + int32_t(Items.Segments.size());
    }
};

TNetlistBuilder::TNetlistBuilder(TPlatine& board, TEventPump& pump) : m_pump(pump)
{
    TPlatine* root = &board;
    while (root->ParentBoard)
        root = root->ParentBoard;
    Gather(*root);
    m_nets.reserve(m_segments.size());
    for (const TSegment* segment : m_segments)
        m_nets.push_back(segment->NetNumber);
}

TNetlistBuilder::~TNetlistBuilder() = default;

TNetlistBuilder::TBoard& TNetlistBuilder::Gather(TPlatine& board)
{
    m_boards.push_back(std::make_unique<TBoard>());
    TBoard& b = *m_boards.back();
    b.Board = &board;
    b.Items = SortItems(board);
    b.FirstSegment = int32_t(m_segments.size());
    m_boardOf[&board] = &b;
    b.Ends.reserve(b.Items.Segments.size() * 2);
    for (TSegment* segment : b.Items.Segments) {
        m_pump.Pump();
        const int32_t index = int32_t(m_segments.size());
        m_segmentIndex[segment] = index;
        m_segments.push_back(segment);
        b.Ends.emplace_back(PointKey(segment->X1, segment->Y1), index);
        if (segment->X2 != segment->X1 || segment->Y2 != segment->Y1)
            b.Ends.emplace_back(PointKey(segment->X2, segment->Y2), index);
    }
    std::stable_sort(b.Ends.begin(), b.Ends.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    for (TMakro* macro : b.Items.Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            m_innerOf[macro] = &Gather(*inner);
    }
    return b;
}

TNetlistBuilder::TBoard* TNetlistBuilder::BoardOf(const TPlatine* board) const
{
    const auto it = m_boardOf.find(board);
    return it == m_boardOf.end() ? nullptr : it->second;
}

int32_t TNetlistBuilder::IndexOf(const TBauteil* segment) const
{
    if (!segment)
        return -1;
    const auto it = m_segmentIndex.find(segment);
    return it == m_segmentIndex.end() ? -1 : it->second;
}

int32_t TNetlistBuilder::NetOf(const TBauteilPin& pin) const
{
    if (!pin.Segment)
        return -1;
    const int32_t index = IndexOf(pin.Segment);
    return index >= 0 ? m_nets[size_t(index)] : static_cast<const TSegment*>(pin.Segment)->NetNumber;
}

// --- Nets ------------------------------------------------------------------------------------

void TNetlistBuilder::NumberNets(TPlatine& board, TSegment* start, int32_t& counter)
{
    TBoard* b = BoardOf(&board);
    if (!b)
        return;
    m_sourcesBuilt = false;
    if (start)
        Flood(*b, IndexOf(start), counter);
    else
        NumberAll(*b, counter);
}

void TNetlistBuilder::NumberAll(TBoard& board, int32_t& counter)
{
    for (size_t k = 0; k < board.Items.Segments.size(); ++k) {
        const int32_t segment = board.FirstSegment + int32_t(k);
        if (m_nets[size_t(segment)] != 0)
            continue;
        ++counter;
        Flood(board, segment, counter);
    }
    for (TMakro* macro : board.Items.Macros) {
        const auto inner = m_innerOf.find(macro);
        if (inner == m_innerOf.end())
            continue;
        ProgressSetCaption(macro->MacroName());
        NumberAll(*inner->second, counter);
    }
}

void TNetlistBuilder::Flood(TBoard& board, int32_t start, int32_t counter)
{
    if (!board.Owns(start) || m_nets[size_t(start)] == counter)
        return;

    // This board's part of the net: every segment sharing an end point with a flooded one.
    std::vector<int32_t> flooded{start};
    m_nets[size_t(start)] = counter;
    auto visitPoint = [&](uint64_t key) {
        auto it = std::lower_bound(board.Ends.begin(), board.Ends.end(), key,
                                   [](const auto& entry, uint64_t k) { return entry.first < k; });
        for (; it != board.Ends.end() && it->first == key; ++it) {
            int32_t& net = m_nets[size_t(it->second)];
            if (net == counter)
                continue;
            net = counter;
            flooded.push_back(it->second);
        }
    };
    for (size_t k = 0; k < flooded.size(); ++k) {
        m_pump.Pump();
        const TSegment* segment = m_segments[size_t(flooded[k])];
        visitPoint(PointKey(segment->X1, segment->Y1));
        if (segment->X2 != segment->X1 || segment->Y2 != segment->Y1)
            visitPoint(PointKey(segment->X2, segment->Y2));
    }

    // Across macro boundaries, for every flooded segment.
    const TMakro* ownerMacro = board.Board->OwnerMacro;
    TBoard* parent = ownerMacro ? BoardOf(board.Board->ParentBoard) : nullptr;
    for (const int32_t index : flooded) {
        const TSegment* segment = m_segments[size_t(index)];
        // Down: a pin of a macro block continues at the macro pin component of the same number
        // on the block's inner board.
        if (const auto inner = m_innerOf.find(segment->Owner); inner != m_innerOf.end()) {
            const auto* macro = static_cast<const TMakro*>(segment->Owner);
            const TBauteilPin* macroPin = segment->Pin();
            if (macroPin && macroPin->Segment == segment) {
                const int32_t number = segment->InputSide ? segment->PinIndex + 1
                                                          : macro->InputCount + segment->PinIndex + 1;
                TBoard& innerBoard = *inner->second;
                for (const TBTPin* pin : innerBoard.Items.MacroPins) {
                    if (pin->Number != number)
                        continue;
                    const int32_t innerSegment = IndexOf(OwnSegment(*pin));
                    if (innerSegment >= 0 && m_nets[size_t(innerSegment)] == 0)
                        Flood(innerBoard, innerSegment, counter);
                    break;
                }
            }
        }
        // Up: a macro pin component of this inner board continues at its block's pin outside.
        if (!parent)
            continue;
        for (const TBTPin* pin : board.Items.MacroPins) {
            const int32_t own = IndexOf(OwnSegment(*pin));
            if (own < 0 || own == index || m_nets[size_t(own)] != counter)
                continue;
            const int32_t k = pin->Number;
            const TBauteilPin* outer = nullptr;
            if (k >= 1 && k <= ownerMacro->InputCount) {
                outer = ownerMacro->Inputs[size_t(k - 1)].get();
            } else {
                const int32_t j = k - ownerMacro->InputCount - 1;
                if (j >= 0 && j < int32_t(ownerMacro->Outputs.size()))
                    outer = ownerMacro->Outputs[size_t(j)].get();
            }
            const int32_t outerSegment = outer ? IndexOf(outer->Segment) : -1;
            if (outerSegment >= 0 && m_nets[size_t(outerSegment)] == 0)
                Flood(*parent, outerSegment, counter);
        }
    }
}

void TNetlistBuilder::ApplyNets()
{
    for (size_t k = 0; k < m_segments.size(); ++k)
        m_segments[k]->NetNumber = m_nets[k];
}

// --- Sources and shared outputs ----------------------------------------------------------------

void TNetlistBuilder::CollectLeaves(const TBoard& board, std::vector<TIOBauteil*>& list) const
{
    for (const int32_t entry : board.Items.Order) {
        if (entry >= 0) {
            list.push_back(board.Items.Leaves[size_t(entry)]);
            continue;
        }
        const auto inner = m_innerOf.find(board.Items.Macros[size_t(-1 - entry)]);
        if (inner != m_innerOf.end())
            CollectLeaves(*inner->second, list);
    }
}

std::vector<TIOBauteil*> TNetlistBuilder::LeafOrder(TPlatine& board)
{
    std::vector<TIOBauteil*> list;
    if (const TBoard* b = BoardOf(&board))
        CollectLeaves(*b, list);
    return list;
}

void TNetlistBuilder::BuildSources()
{
    m_sources.clear();
    for (const TIOBauteil* component : LeafOrder(*m_boards.front()->Board)) {
        for (const auto& pin : component->Outputs) {
            const int32_t net = NetOf(*pin);
            if (net < 0)
                continue;
            if (size_t(net) >= m_sources.size())
                m_sources.resize(size_t(net) + 1, nullptr);
            if (!m_sources[size_t(net)])
                m_sources[size_t(net)] = pin.get();
        }
    }
    m_sourcesBuilt = true;
}

TBauteilPin* TNetlistBuilder::SourceOf(int32_t net)
{
    if (!m_sourcesBuilt)
        BuildSources();
    return net >= 0 && size_t(net) < m_sources.size() ? m_sources[size_t(net)] : nullptr;
}

void TNetlistBuilder::ApplySources(TPlatine& board)
{
    TBoard* b = BoardOf(&board);
    if (!b)
        return;
    QString caption = Lang3Q("Schaltung vorbereiten... ", "Preparing... ", "Préparation... ");
    if (board.OwnerMacro)
        caption += board.OwnerMacro->MacroName();
    ProgressSetCaption(caption);

    auto sourceOf = [this](const TBauteilPin& pin) {
        const int32_t net = NetOf(pin);
        return net < 0 ? nullptr : SourceOf(net);
    };
    for (TMakro* macro : b->Items.Macros) {
        macro->InputSources.resize(macro->Inputs.size(), nullptr);
        macro->OutputSources.resize(macro->Outputs.size(), nullptr);
        for (size_t i = 0; i < macro->Inputs.size(); ++i)
            macro->InputSources[i] = sourceOf(*macro->Inputs[i]);
        for (size_t j = 0; j < macro->Outputs.size(); ++j)
            macro->OutputSources[j] = sourceOf(*macro->Outputs[j]);
    }
    for (TIOBauteil* component : b->Items.Leaves) {
        for (const auto& pin : component->Inputs)
            pin->SetSource(sourceOf(*pin));
    }

    const size_t count = b->Items.Segments.size();
    int lastPercent = -1;
    for (size_t i = 0; i < count; ++i) {
        const int percent = int(RoundHalfEven(Extended(i) / Extended(count) * 100.0L));
        if (percent != lastPercent) {
            ProgressSetPosition(percent);
            lastPercent = percent;
        }
        m_pump.Pump();
        TSegment* segment = b->Items.Segments[i];
        if (!segment->Driver)
            segment->Driver = SourceOf(m_nets[size_t(b->FirstSegment) + i]);
    }

    for (TMakro* macro : b->Items.Macros) {
        if (TPlatine* inner = macro->InnerBoard())
            ApplySources(*inner);
    }
}

void TNetlistBuilder::ApplySharedOutputs()
{
    const std::vector<TIOBauteil*> leaves = LeafOrder(*m_boards.front()->Board);
    // The outputs of every net in leaf order; then each output gets those of its own net.
    std::unordered_map<int32_t, std::vector<TBauteilPin*>> byNet;
    for (const TIOBauteil* component : leaves) {
        for (const auto& pin : component->Outputs) {
            const int32_t net = NetOf(*pin);
            if (net >= 0)
                byNet[net].push_back(pin.get());
        }
    }
    for (const TIOBauteil* component : leaves) {
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
