// What the oscilloscope costs.
//
// StepRate/0: steps per second of a ring of 1 000 mixed components (the board of
// bench/step_rate). StepRate/1: the same board with two oscilloscopes (4 channels) wired to four
// of its outputs, trigger off, so that the sweeps follow each other without pause. A fake clock
// moves by one sample interval per step, so every step takes a sample on every channel (the
// worst case: full step rate). StepRate/1 uses 50 ms/div, where every point asks for the repaint
// of its strip; StepRate/2 uses 1 ms/div, where a sweep is stored silently and repainted at its
// end. The elements are shown, so the repaint requests are really queued; the painting itself
// happens at the front panel's tick, outside the step. The goal is at least 0.9 of the rate
// without the oscilloscopes.
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_scope
//   build/rel/bench_scope
// The machines this runs on are shared: read the median of the repetitions together with the
// load average.

#include "BenchBoard.h"

#include "components/scope/Scope.h"
#include "frontpanel/scope/Oscillograph.h"
#include "frontpanel/scope/ScopeElement.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Fonts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>

namespace {

void BM_StepRate(benchmark::State& state)
{
    ResetContext();
    const int mode = int(state.range(0));
    TScopedFakeClock clock;
    std::vector<std::unique_ptr<TFP_Scope>> elements;
    std::vector<TBT_Scope*> scopes;
    std::unique_ptr<TPlatine> board =
        BuildBoard(1000, TShape::Ring, [&](TPlatine& b, const std::vector<TIOBauteil*>& parts) {
            if (mode == 0)
                return;
            for (int s = 0; s < 2; ++s) {
                auto component = NewObject<TBT_Scope>();
                component->X = 60 + 101 * 199;
                component->Y = 60 + s * 400;
                component->LayoutPins();
                TBT_Scope* raw = component.get();
                b.AppendItem(std::move(component));
                b.BindItem(raw);
                b.AttachPinSegments(raw);
                elements.emplace_back(NewElement<TFP_Scope>(nullptr));
                elements.back()->show();
                raw->SetLink(elements.back().get());
                elements.back()->Component = raw;
                for (int i = 0; i < 2; ++i) {
                    Wire(b, *parts[size_t(100 * (2 * s + i) + 99)]->Outputs[0], *raw->Inputs[size_t(i)],
                         3000 + 10 * (2 * s + i));
                    // Marked as the wire editing marks a pin with a wire on it.
                    raw->Inputs[size_t(i)]->Connected = true;
                }
                TOscillograph& w = *elements.back()->Window;
                w.SetTriggerIndex(0);
                w.CB_TimeBase->setCurrentIndex(mode == 1 ? 5 : 0);
                scopes.push_back(raw);
            }
        });
    for (TBT_Scope* s : scopes)
        s->SimReset();
    // One sample interval: a tenth of a division.
    const int64_t stepNs = mode == 1 ? 5000000 : 100000;
    int64_t samples = 0;
    for (auto _ : state) {
        clock.clock.AdvanceNs(stepNs);
        board->SimStep();
    }
    for (TBT_Scope* s : scopes) {
        const TOscillograph& w = *static_cast<TFP_Scope*>(s->Link)->Window;
        if (!w.ChannelShown[0] || !w.ChannelShown[1])
            state.SkipWithError("a channel is not wired");
        samples += 2;
    }
    state.counters["steps/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["channels"] = double(samples);
    board->EndSimulation();
    // The elements outlive the board here: unlink both ways first.
    for (TBT_Scope* s : scopes) {
        s->Link->Component = nullptr;
        s->SetLink(nullptr);
    }
}

BENCHMARK(BM_StepRate)->Arg(0)->Arg(1)->Arg(2)->Iterations(60000)->Repetitions(7)->Unit(benchmark::kMillisecond);

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
