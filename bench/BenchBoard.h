#pragma once
// The benchmark board: n mixed gates and arithmetic blocks (in every ten: AND, OR, NAND, NOR,
// EXOR, inverter, and the four arithmetic blocks) in rows of 100, wired with real wire
// segments in a chain (the first component's inputs open) or a ring (the last output feeds
// the first component), prepared through TPlatine::StartSimulation.

#include "BenchWire.h"
#include "components/analog/Arithmetic.h"
#include "components/digital/Gates.h"
#include "core/board/Platine.h"
#include "core/board/Segment.h"
#include "core/model/Iobt.h"

#include <QPoint>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

enum class TShape { Chain, Ring };

std::unique_ptr<TIOBauteil> MakeComponent(int k)
{
    switch (k % 10) {
    case 0: return NewObject<TBTAnd>();
    case 1: return NewObject<TBTAdd>();
    case 2: return NewObject<TBTOr>();
    case 3: return NewObject<TBTMul>();
    case 4: return NewObject<TBTNand>();
    case 5: return NewObject<TBTSub>();
    case 6: return NewObject<TBTNor>();
    case 7: return NewObject<TBTDiv>();
    case 8: return NewObject<TBTExor>();
    default: return NewObject<TBTInverter>();
    }
}

// n components in rows of 100; every input of component k is wired to the output of
// component k - 1 (for the ring, the first component's to the last one's).
// beforeStart may add items of its own (it gets the board and the n components).
std::unique_ptr<TPlatine> BuildBoard(
    int n, TShape shape,
    const std::function<void(TPlatine&, const std::vector<TIOBauteil*>&)>& beforeStart = {})
{
    auto board = std::make_unique<TPlatine>();
    std::vector<TIOBauteil*> parts;
    parts.reserve(size_t(n));
    for (int k = 0; k < n; ++k) {
        std::unique_ptr<TIOBauteil> component = MakeComponent(k);
        component->X = 60 + (k % 100) * 199;
        component->Y = 60 + (k / 100) * 197;
        component->LayoutPins();
        TIOBauteil* raw = component.get();
        board->AppendItem(std::move(component));
        board->BindItem(raw);
        board->AttachPinSegments(raw);
        parts.push_back(raw);
    }
    for (const char* cls : {"TBTAnd", "TBTAdd", "TBTOr", "TBTMul", "TBTNand", "TBTSub", "TBTNor",
                            "TBTDiv", "TBTExor", "TBTInverter"})
        board->RenumberClass(cls);
    for (int k = 0; k < n; ++k) {
        if (k == 0 && shape == TShape::Chain)
            continue;
        TIOBauteil* source = parts[size_t(k == 0 ? n - 1 : k - 1)];
        TIOBauteil* sink = parts[size_t(k)];
        for (int i = 0; i < sink->InputCount; ++i)
            Wire(*board, *source->Outputs[0], *sink->Inputs[size_t(i)], (k == 0 ? 1000 : 0) + 2 * i);
    }
    if (beforeStart)
        beforeStart(*board, parts);
    board->StartSimulation();

    // The circuit must be what it claims to be: every wired input driven by its predecessor.
    for (int k = 0; k < n; ++k) {
        const TBauteilPin* expected =
            (k == 0 && shape == TShape::Chain) ? nullptr
                                                : parts[size_t(k == 0 ? n - 1 : k - 1)]->Outputs[0].get();
        for (const auto& pin : parts[size_t(k)]->Inputs) {
            if (pin->Source() != expected) {
                std::fprintf(stderr, "bench: component %d is not wired as built\n", k);
                std::abort();
            }
        }
    }
    return board;
}

} // namespace
