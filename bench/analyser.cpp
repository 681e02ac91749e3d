// What the logic analyser costs.
//
// StepRate/0: steps per second of a ring of 1 000 mixed components (the board of
// bench/step_rate). StepRate/1: the same board with a logic analyser whose eight data inputs
// are wired to eight of its outputs, triggered in a loop with the "Max" system clock, so that
// it takes a sample of all eight channels in every step (a recording of 100 samples, then at
// once the next). The goal is at least 0.9 of the rate without it. The step only stores the
// samples; the window's repaints wait for the front panel's tick, which does not run here.
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_analyser
//   build/rel/bench_analyser
// The machines this runs on are shared: read the median of the repetitions together with the
// load average.

#include "BenchBoard.h"

#include "components/analyser/Analyser.h"
#include "frontpanel/analyser/AnalyserElement.h"
#include "frontpanel/analyser/AnalyserWindow.h"
#include "platform/Context.h"
#include "platform/Fonts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>

namespace {

void BM_StepRate(benchmark::State& state)
{
    ResetContext();
    const bool withAnalyser = state.range(0) != 0;
    std::unique_ptr<TFP_Analyser> element;
    TBT_Analyser* analyser = nullptr;
    std::unique_ptr<TPlatine> board =
        BuildBoard(1000, TShape::Ring, [&](TPlatine& b, const std::vector<TIOBauteil*>& parts) {
            if (!withAnalyser)
                return;
            auto component = NewObject<TBT_Analyser>();
            component->X = 60 + 101 * 199;
            component->Y = 60;
            component->LayoutPins();
            analyser = component.get();
            b.AppendItem(std::move(component));
            b.BindItem(analyser);
            b.AttachPinSegments(analyser);
            element.reset(NewElement<TFP_Analyser>(nullptr));
            analyser->SetLink(element.get());
            element->Component = analyser;
            for (int i = 0; i < 8; ++i)
                Wire(b, *parts[size_t(100 * i + 99)]->Outputs[0], *analyser->Inputs[size_t(i)], 3000 + 10 * i);
        });
    if (analyser) {
        TMyAnalyser& w = *analyser->Window();
        w.CB_Systemtakt->setCurrentIndex(0);  // "Max": a sample in every step
        w.SetTriggerIndex(1);                 // loop
    }
    int64_t samples = 0;
    for (auto _ : state) {
        board->SimStep();
        if (analyser)
            samples += analyser->Window()->Aufnahme ? 1 : 0;
    }
    if (analyser && samples < state.iterations() * 9 / 10)
        state.SkipWithError("the analyser missed samples");
    state.counters["steps/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["channels"] = analyser ? 8 : 0;
    board->EndSimulation();
    // The element outlives the board here: unlink both ways first.
    if (analyser) {
        element->Component = nullptr;
        analyser->SetLink(nullptr);
    }
}

BENCHMARK(BM_StepRate)->Arg(0)->Arg(1)->Iterations(60000)->Repetitions(7)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
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
