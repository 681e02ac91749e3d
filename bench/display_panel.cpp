// Steps per second of a board whose displays are painted while it runs: 200 counters, each
// counting the edges of an inverter that feeds itself (it toggles in every step, so the count
// changes every second step), each driving a numeric display with its count. Counters and
// displays own their front-panel elements (counter and numeric display), which repaint the
// cells whose digit changed.
//
// The loop is the fast loop's: one step per iteration, the events (and with them the paints)
// run every 17th step. Argument 0: the front-panel page with the 400 elements is hidden, so
// nothing is painted; argument 1: the page is shown (offscreen), so every change is painted.
// Argument 2 is the same board without the numeric displays (inverters and counters with
// their elements, page hidden): what the displays cost is the difference.
// Goals: the page shown at least 0.9 of the steps per second of the page hidden, and the
// hidden page at least 0.5 of the board without displays.
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_display_panel
//   build/rel/bench_display_panel --benchmark_repetitions=5
// The machines this runs on are shared: read the medians, and note the load average.

#include "components/digital/Gates.h"
#include "components/display/Displays.h"
#include "core/board/Platine.h"
#include "core/model/Iobt.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/elements/Counter.h"
#include "frontpanel/elements/NumDisplay.h"
#include "platform/Context.h"
#include "platform/Fonts.h"

#include "BenchWire.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPoint>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kDisplays = 200;

template <class T>
T* Place(TPlatine& board, int x, int y)
{
    std::unique_ptr<T> component = NewObject<T>();
    component->X = x;
    component->Y = y;
    component->LayoutPins();
    T* raw = component.get();
    board.AppendItem(std::move(component));
    board.BindItem(raw);
    board.AttachPinSegments(raw);
    return raw;
}

template <class E>
void Link(TIOBauteil& component, QWidget& page, int x, int y)
{
    E* element = NewElement<E>(&page);
    element->move(x, y);
    element->ElementName = component.Designator();
    component.SetLink(element);
    element->Component = &component;
}

struct TPanelBoard {
    std::unique_ptr<TPlatine> board = std::make_unique<TPlatine>();
    QWidget page;
    TIOBauteil* lastCounter = nullptr;
    TIOBauteil* lastDisplay = nullptr;
};

// One row per display: inverter (its output on its own input), counter, numeric display (the
// display left out without `withDisplays`).
std::unique_ptr<TPanelBoard> BuildBoard(bool withDisplays)
{
    auto b = std::make_unique<TPanelBoard>();
    TPlatine& board = *b->board;
    b->page.resize(10 * 170, (kDisplays / 10) * 80);
    std::vector<TIOBauteil*> clocks, counters, displays;
    for (int k = 0; k < kDisplays; ++k) {
        const int y = 60 + k * 300;
        clocks.push_back(Place<TBTInverter>(board, 60, y));
        counters.push_back(Place<TBTCounter>(board, 600, y));
        const int px = (k % 10) * 170;
        const int py = (k / 10) * 80;
        Link<TCounter>(*counters.back(), b->page, px, py);
        if (withDisplays) {
            displays.push_back(Place<TBTNumDisplay>(board, 1200, y));
            Link<TNumDisplay>(*displays.back(), b->page, px, py + 34);
        }
    }
    for (int k = 0; k < kDisplays; ++k) {
        Wire(board, *clocks[k]->Outputs[0], *clocks[k]->Inputs[0], 40);
        Wire(board, *clocks[k]->Outputs[0], *counters[k]->Inputs[0], 0);
        if (withDisplays)
            Wire(board, *counters[k]->Outputs[0], *displays[k]->Inputs[0], 0);
    }
    b->lastCounter = counters.back();
    b->lastDisplay = withDisplays ? displays.back() : nullptr;
    board.StartSimulation();
    for (int k = 0; k < kDisplays; ++k) {
        const bool wired = clocks[k]->Inputs[0]->Source() == clocks[k]->Outputs[0].get() &&
                           counters[k]->Inputs[0]->Source() == clocks[k]->Outputs[0].get() &&
                           (!withDisplays || displays[k]->Inputs[0]->Source() == counters[k]->Outputs[0].get());
        if (!wired) {
            std::fprintf(stderr, "bench: row %d is not wired as built\n", k);
            std::abort();
        }
    }
    return b;
}

void BM_DisplayPanel(benchmark::State& state)
{
    ResetContext();
    ResetFrontPanelState();
    const bool shown = state.range(0) == 1;
    const bool withDisplays = state.range(0) != 2;
    std::unique_ptr<TPanelBoard> b = BuildBoard(withDisplays);
    if (shown)
        b->page.show();
    QApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        b->board->SimStep();
        if (++step % 17 == 0)
            QApplication::processEvents();
    }
    QApplication::processEvents();
    // The display must have followed its counter (it reads the count of this or the last step).
    const auto* counter = dynamic_cast<const TCounter*>(b->lastCounter->Link);
    const auto* display = withDisplays ? dynamic_cast<const TNumDisplay*>(b->lastDisplay->Link) : nullptr;
    if (!counter || (withDisplays && (!display || std::abs(display->NDValue - counter->GetCZaehlerstand()) > 1))) {
        std::fprintf(stderr, "bench: the displays do not follow their counters\n");
        std::abort();
    }
    state.counters["steps/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["panel shown"] = shown ? 1 : 0;
    state.counters["displays"] = withDisplays ? 1 : 0;
    b->board->EndSimulation();
}

BENCHMARK(BM_DisplayPanel)->Arg(0)->Arg(1)->Arg(2)->MinTime(3.0)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    SetUpFonts(TFontScope::StandInsOnly);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
