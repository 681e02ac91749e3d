// What the Y(t) recorder costs.
//
// StepRate/0: steps per second of a ring of 1 000 mixed components (the board of
// bench/step_rate). StepRate/1: the same board with two Y(t) recorders (8 channels) wired to
// eight of its outputs, each recording one sample per channel after every step (the sampling
// clock's worst case: a tick per step), batches following the recording as at 1 ms. The goal
// is at least 0.9 of the rate without them. Each repetition records 60 000 steps, below the
// limit of a recording.
//
// PaintMillionPoints: one repaint of an 800 x 400 chart whose curve holds 1 000 000 points
// (goal: under 20 ms; the curve is drawn with at most a min/max stroke per pixel column).
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_recorder
//   build/rel/bench_recorder
// The machines this runs on are shared: read the median of the repetitions together with the
// load average.

#include "BenchBoard.h"

#include "components/recorder/Recorders.h"
#include "frontpanel/chart/Chart.h"
#include "frontpanel/elements/YtRecorder.h"
#include "core/engine/HiTimer.h"
#include "platform/Context.h"
#include "platform/Fonts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <cmath>

namespace {

void BM_StepRate(benchmark::State& state)
{
    ResetContext();
    const bool withRecorders = state.range(0) != 0;
    std::vector<std::unique_ptr<TFPGraf>> elements;
    std::vector<TBTGraf*> recorders;
    std::unique_ptr<TPlatine> board =
        BuildBoard(1000, TShape::Ring, [&](TPlatine& b, const std::vector<TIOBauteil*>& parts) {
            if (!withRecorders)
                return;
            for (int r = 0; r < 2; ++r) {
                auto component = NewObject<TBTGraf>();
                component->X = 60 + 101 * 199;
                component->Y = 60 + r * 400;
                component->LayoutPins();
                TBTGraf* raw = component.get();
                b.AppendItem(std::move(component));
                b.BindItem(raw);
                b.AttachPinSegments(raw);
                elements.emplace_back(NewElement<TFPGraf>(nullptr));
                raw->SetLink(elements.back().get());
                elements.back()->Component = raw;
                for (int i = 0; i < 4; ++i)
                    Wire(b, *parts[size_t(100 * (4 * r + i) + 99)]->Outputs[0], *raw->Inputs[size_t(2 + i)],
                         3000 + 10 * (4 * r + i));
                recorders.push_back(raw);
            }
        });
    for (TBTGraf* r : recorders) {
        r->StartRecording();
        // Every channel records in every step.
        r->ChannelWired.fill(true);
        // The benchmark ticks the recorders itself, once per step.
        static_cast<TFPGraf*>(r->Link)->SampleTimer->SetEnabled(false);
    }
    for (auto _ : state) {
        board->SimStep();
        for (TBTGraf* r : recorders)
            r->SampleTick();
    }
    for (TBTGraf* r : recorders) {
        const auto& channels = static_cast<TFPGraf*>(r->Link)->Channels;
        for (const auto& channel : channels)
            if (channel.size() != size_t(state.iterations()))
                state.SkipWithError("a recorder missed samples");
        r->Stop();
    }
    state.counters["steps/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["channels"] = double(4 * recorders.size());
    board->EndSimulation();
    // The elements outlive the board here: unlink both ways first.
    for (TBTGraf* r : recorders) {
        r->Link->Component = nullptr;
        r->SetLink(nullptr);
    }
}

BENCHMARK(BM_StepRate)->Arg(0)->Arg(1)->Iterations(60000)->Repetitions(7)->Unit(benchmark::kMillisecond);

void BM_PaintMillionPoints(benchmark::State& state)
{
    TGraf chart;
    chart.resize(800, 400);
    chart.SetTimeMode(tmNone);
    std::vector<TChartSample> samples(1000000);
    uint32_t noise = 12345;
    for (size_t i = 0; i < samples.size(); ++i) {
        noise = noise * 1103515245u + 12345u;
        const double t = double(i) / double(samples.size());
        samples[i] = {t, std::sin(t * 60) + double(noise >> 16) / 65536.0 * 0.2};
    }
    TKurve& curve = chart.AddCurve();
    curve.Points.reserve(samples.size());
    for (const TChartSample& s : samples)
        curve.Points.push_back(&s);
    chart.SetRange(0, 1, -1.5, 1.5);
    QImage image(chart.size(), QImage::Format_RGB32);
    for (auto _ : state)
        chart.render(&image);
    state.counters["points"] = double(samples.size());
}

BENCHMARK(BM_PaintMillionPoints)->Repetitions(5)->Unit(benchmark::kMillisecond);

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
