#pragma once
// The wiring of a run, built from the board tree: the items of every board sorted by kind, the
// electrical nets numbered across macro boundaries, the driving output of every net and the
// outputs that share a net. Everything is computed in the builder first and then written into
// the segments, pins and macro blocks by its Apply operations.
//
// Net rule: segments that share an end point form a net; a macro block's pin and the macro pin
// component of the matching number on its inner board continue one net. The source of a net
// is the first output pin of the leaf components in depth-first order (a macro block stands for
// the leaves of its inner board; macro blocks and macro pin components are never leaves).

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class TBauteil;
class TBauteilPin;
class TBTPin;
class TEventPump;
class TIOBauteil;
class TMakro;
class TPlatine;
class TSegment;

// The items of one board by kind, each list in item order.
struct TBoardItems {
    std::vector<TSegment*> Segments;       // every wire segment, pin segments included
    std::vector<TIOBauteil*> Leaves;       // components other than macro blocks and macro pins
    std::vector<TMakro*> Macros;           // macro blocks
    std::vector<TBTPin*> MacroPins;        // macro pin components
    // Every component in item order: a leaf, or a macro block (by index into Macros, as
    // -1 - index), macro pins left out. The depth-first order of the sources walks this.
    std::vector<int32_t> Order;
};
TBoardItems SortItems(const TPlatine& board);

class TNetlistBuilder {
public:
    // Gathers every board of the tree that holds board, from its root down.
    TNetlistBuilder(TPlatine& board, TEventPump& pump);
    ~TNetlistBuilder();
    TNetlistBuilder(const TNetlistBuilder&) = delete;
    TNetlistBuilder& operator=(const TNetlistBuilder&) = delete;

    // --- Nets (start from the segments' net numbers at construction) --------------------------
    // Without a start segment: numbers every net of board and of the boards below whose
    // segments have no number yet, counting on from counter. With one: floods the start
    // segment's net with counter, across macro boundaries.
    void NumberNets(TPlatine& board, TSegment* start, int32_t& counter);
    // Writes the net number of every segment of the tree.
    void ApplyNets();

    // --- Sources and shared outputs (from the nets as the builder holds them) ------------------
    // The first output on the net in depth-first leaf order; nullptr when none.
    TBauteilPin* SourceOf(int32_t net);
    // Inputs of board's leaves, the source lists of its macro blocks and the drivers of its
    // segments that have none, then the same for the boards below.
    void ApplySources(TPlatine& board);
    // Every output of the tree's leaves lists every output on its net (itself included),
    // appended to what it listed before.
    void ApplySharedOutputs();
    // Leaves of board and of the boards below in depth-first order.
    std::vector<TIOBauteil*> LeafOrder(TPlatine& board);

private:
    struct TBoard;
    TBoard* BoardOf(const TPlatine* board) const;
    TBoard& Gather(TPlatine& board);
    int32_t IndexOf(const TBauteil* segment) const;  // -1 when not a segment of the tree
    int32_t NetOf(const TBauteilPin& pin) const;     // -1 for a pin without a segment
    void NumberAll(TBoard& board, int32_t& counter);
    void Flood(TBoard& board, int32_t segment, int32_t counter);
    void CollectLeaves(const TBoard& board, std::vector<TIOBauteil*>& list) const;
    void BuildSources();

    TEventPump& m_pump;
    std::vector<std::unique_ptr<TBoard>> m_boards;  // the root first, then depth-first
    std::unordered_map<const TPlatine*, TBoard*> m_boardOf;
    std::unordered_map<const TBauteil*, TBoard*> m_innerOf;  // macro block -> its inner board
    std::unordered_map<const TBauteil*, int32_t> m_segmentIndex;
    std::vector<TSegment*> m_segments;  // every segment of the tree, board by board
    std::vector<int32_t> m_nets;        // net number per segment
    std::vector<TBauteilPin*> m_sources;  // by net, built on first use
    bool m_sourcesBuilt = false;
};
