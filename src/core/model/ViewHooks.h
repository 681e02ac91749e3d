#pragma once
// What the circuit model needs of the board view: a component whose selection changed hands
// over each of its pin segments, and the view repaints it. The program shell installs it at
// start-up (see the composition in src/shell); empty: nothing is repainted.

#include <functional>

class TBauteil;

struct TBoardViewHooks {
    std::function<void(TBauteil& segment)> RepaintSegment;
};

TBoardViewHooks& BoardViewHooks();
