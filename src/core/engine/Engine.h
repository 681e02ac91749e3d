#pragma once
// The run of one board: its run lists, rebuilt by each preparation, and the operations of a
// run over them and over the boards below: preparation of the components, the step, the clock
// tick, the reset and the end. Every board owns one; the board's simulation members forward
// here. Painting is no part of it: the run control repaints live states between steps.

#include <cstddef>
#include <vector>

class TBauteil;
class TEventPump;
class TIOBauteil;
class TMakro;
class TPlatine;
class TSegment;

class TEngine {
public:
    // Deepest nesting of steps run from inside a step (a waiting device steps the circuit
    // through its step callback); a step asked for deeper than that returns without stepping.
    static constexpr int kMaxStepNesting = 16;

    // Run lists: references into the board's items, in item order.
    std::vector<TIOBauteil*> SimComponents;  // every component, macro blocks and pins included
    std::vector<TBauteil*> ClockedItems;     // items with the Clocked flag
    std::vector<TMakro*> Macros;             // macro blocks
    std::vector<TSegment*> WireRun;          // every wire segment, pin segments included

    // Run lists and SimPrepare of every component of board, then the boards below. Every
    // segment's net number goes back to 0 and its driver to none.
    void Prepare(TPlatine& board, TEventPump& pump);
    // One step: every component's Calculate in list order, then the boards below. The top
    // board counts it. Re-entrant up to kMaxStepNesting.
    void Step(TPlatine& board);
    // ClockTick of every clocked item, then the boards below.
    void Tick();
    // SimReset of every component, then the boards below.
    void Reset();
    // SimEnd of every component and the step callbacks of hardware cleared, then the boards
    // below.
    void End(TPlatine& board);
    // Steps running at the moment (1 inside a step, more while nested).
    int Depth() const { return m_depth; }

private:
    int m_depth = 0;
};
