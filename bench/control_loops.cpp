// Steps per second of closed control loops: N PID controllers, each driving a PT2 plant whose
// output is fed back to the controller's "X-". The components are the real classes, connected
// through their pins (each input's Source set to the driving output, as the wire nets of a run
// would set it); setpoint and gains come from shared constant output pins. A step calls
// Calculate of every component in list order (controller, plant, controller, plant ...), after
// the run start of every component (SimPrepare, SimReset). Time is the real clock.
//
// The counter "steps/s" is the rate of whole steps over all N loops; "loops" is N.
//
// Run (Release build):
//   cmake -S . -B build/h18rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/h18rel --target bench_control_loops
//   build/h18rel/bench_control_loops

#include "components/analog/Controllers.h"
#include "components/analog/TransferElements.h"
#include "core/model/Iobt.h"
#include "platform/Context.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct TLoops {
    // Constant sources: setpoint, KP, KI, KD, plant gain, plant 1/T, plant damping.
    TBauteilPin setpoint, kp, ki, kd, gain, omega, damping;
    std::vector<std::unique_ptr<TIOBauteil>> components; // PID, PT2, PID, PT2 ...

    explicit TLoops(int n, bool filtered)
    {
        setpoint.Value = 1.0L;
        kp.Value = 2.0L;
        ki.Value = 1.0L;
        kd.Value = 0.05L;
        gain.Value = 1.0L;
        omega.Value = 10.0L;
        damping.Value = 0.7L;
        components.reserve(size_t(2 * n));
        for (int k = 0; k < n; ++k) {
            auto pid = NewObject<TBT_PID_Regler>();
            auto plant = NewObject<TBTPT2>();
            pid->Filter.Active = filtered;
            // PID: "X+", "X-", "KP", "KI", "KD"; "/RST" open (never resets).
            pid->Inputs[0]->SetSource(&setpoint);
            pid->Inputs[1]->SetSource(plant->Outputs[0].get());
            pid->Inputs[2]->SetSource(&kp);
            pid->Inputs[3]->SetSource(&ki);
            pid->Inputs[4]->SetSource(&kd);
            // PT2: "X", "P", "1/T", "D"; "/RST" open.
            plant->Inputs[0]->SetSource(pid->Outputs[0].get());
            plant->Inputs[1]->SetSource(&gain);
            plant->Inputs[2]->SetSource(&omega);
            plant->Inputs[3]->SetSource(&damping);
            components.push_back(std::move(pid));
            components.push_back(std::move(plant));
        }
        for (auto& c : components)
            c->SimPrepare();
        for (auto& c : components)
            c->SimReset();
    }

    void Step()
    {
        for (auto& c : components)
            c->Calculate();
    }

    void End()
    {
        for (auto& c : components)
            c->SimEnd();
    }
};

void ControlLoops(benchmark::State& state, bool filtered)
{
    ResetContext();
    const int n = int(state.range(0));
    TLoops loops(n, filtered);
    for (auto _ : state)
        loops.Step();
    // The loops must really run: every plant output is a finite value driven by its loop.
    const Extended y = loops.components[1]->Outputs[0]->Value;
    if (!std::isfinite(static_cast<double>(y)) || y == 0.0L) {
        std::fprintf(stderr, "bench: the control loops did not run\n");
        std::abort();
    }
    state.counters["steps/s"] = benchmark::Counter(double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    state.counters["loops"] = double(n);
    loops.End();
}

void BM_PidPt2Loops(benchmark::State& state)
{
    ControlLoops(state, false);
}

void BM_PidPt2LoopsFiltered(benchmark::State& state)
{
    ControlLoops(state, true);
}

BENCHMARK(BM_PidPt2Loops)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PidPt2LoopsFiltered)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
