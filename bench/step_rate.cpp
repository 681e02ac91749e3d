// Steps per second of the simulation engine, and ticks of the 1-ms high-resolution timer.
//
// Boards of N = 100, 1 000 and 10 000 mixed gates and arithmetic blocks (in every ten: AND, OR,
// NAND, NOR, EXOR, inverter, and the four arithmetic blocks), wired with real wire
// segments to the components' pin segments, in a chain (the first component's inputs open) or
// a ring (the last output feeds the first component). Each board is prepared through
// TPlatine::StartSimulation; the loop times TPlatine::SimStep of the top board. The counter
// "steps/s" is the step rate.
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_step_rate
//   build/rel/bench_step_rate --benchmark_filter=StepRate
//   build/rel/bench_step_rate --benchmark_filter=HiTimer    (3 s of the 1-ms timer)
//   build/rel/bench_step_rate --benchmark_filter=Bare       (the bare-loop reference)
// The machines this runs on are shared: take several repetitions
// (--benchmark_repetitions=9) and read the best and the median.

#include "BenchBoard.h"

#include "components/digital/Gates.h"
#include "core/board/Platine.h"
#include "core/board/Segment.h"
#include "core/engine/HiTimer.h"
#include "core/model/Iobt.h"
#include "platform/Context.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPoint>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

void StepRate(benchmark::State& state, TShape shape)
{
    ResetContext();
    const int n = int(state.range(0));
    std::unique_ptr<TPlatine> board = BuildBoard(n, shape);
    for (auto _ : state)
        board->SimStep();
    state.counters["steps/s"] = benchmark::Counter(double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    state.counters["components"] = double(n);
    board->EndSimulation();
}

void BM_StepRateChain(benchmark::State& state)
{
    StepRate(state, TShape::Chain);
}

void BM_StepRateRing(benchmark::State& state)
{
    StepRate(state, TShape::Ring);
}

BENCHMARK(BM_StepRateChain)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepRateRing)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Reference for the figures above: a bare loop of virtual calls over N heap objects of a
// gate's size in the same mix and order, each computing its 80-bit value from its
// predecessor's (the logic ones through the 2.5 threshold), with no pins, nets or engine
// (second argument 1); or each from its own value of the step before, so that no object waits
// for another (second argument 0). The step rates of the boards are best read against it on
// the machine at hand.
class TBareItem {
public:
    virtual ~TBareItem() = default;
    virtual void Step() = 0;
    Extended Value = 0.0L;
    const TBareItem* Prev = nullptr;
};

template <int Kind>
class TBareKind final : public TBareItem {
public:
    void Step() override
    {
        const Extended in = Prev->Value;
        const bool high = in >= 2.5L;
        switch (Kind) {
        case 0: Value = high ? 5.0L : 0.0L; break;         // AND of one net
        case 1: Value = in + in; break;                    // ADD
        case 2: Value = high ? 5.0L : 0.0L; break;         // OR
        case 3: Value = in * in; break;                    // MUL
        case 4: Value = high ? 0.0L : 5.0L; break;         // NAND
        case 5: Value = in - in; break;                    // SUB
        case 6: Value = high ? 0.0L : 5.0L; break;         // NOR
        case 7: Value = in == 0.0L ? 0.0L : in / in; break; // DIV
        case 8: Value = 0.0L; break;                       // EXOR of one net
        default: Value = high ? 0.0L : 5.0L; break;        // inverter
        }
    }

private:
    char m_rest[sizeof(TBTAnd) - sizeof(TBareItem)] = {};
};

std::unique_ptr<TBareItem> MakeBare(int k)
{
    switch (k % 10) {
    case 0: return std::make_unique<TBareKind<0>>();
    case 1: return std::make_unique<TBareKind<1>>();
    case 2: return std::make_unique<TBareKind<2>>();
    case 3: return std::make_unique<TBareKind<3>>();
    case 4: return std::make_unique<TBareKind<4>>();
    case 5: return std::make_unique<TBareKind<5>>();
    case 6: return std::make_unique<TBareKind<6>>();
    case 7: return std::make_unique<TBareKind<7>>();
    case 8: return std::make_unique<TBareKind<8>>();
    default: return std::make_unique<TBareKind<9>>();
    }
}

void BM_BareVirtualLoop(benchmark::State& state)
{
    const int n = int(state.range(0));
    std::vector<std::unique_ptr<TBareItem>> items;
    for (int k = 0; k < n; ++k)
        items.push_back(MakeBare(k));
    const bool chained = state.range(1) != 0;
    for (int k = 0; k < n; ++k) {
        items[size_t(k)]->Prev = chained ? items[size_t(k == 0 ? n - 1 : k - 1)].get()
                                         : items[size_t(k)].get();
    }
    std::vector<TBareItem*> list;
    for (const auto& item : items)
        list.push_back(item.get());
    for (auto _ : state) {
        for (TBareItem* item : list)
            item->Step();
        benchmark::ClobberMemory();
    }
    state.counters["steps/s"] = benchmark::Counter(double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    state.counters["components"] = double(n);
}

BENCHMARK(BM_BareVirtualLoop)
    ->ArgsProduct({{100, 1000, 10000}, {1, 0}})
    ->Unit(benchmark::kMicrosecond);

// Ticks of the program's 1-ms timer (deadline thread posting to the GUI thread) in 3 s of the
// event loop; 3000 is the ideal.
void BM_HiTimer1ms(benchmark::State& state)
{
    int64_t ticks = 0;
    double seconds = 0;
    for (auto _ : state) {
        THiTimer timer;
        timer.SetUseThread(false);
        timer.SetInterval(1);
        int64_t count = 0;
        timer.SetOnTimer([&count](TWLXHiTimer*) { ++count; });
        QElapsedTimer clock;
        clock.start();
        timer.SetEnabled(true);
        QTimer::singleShot(3000, Qt::PreciseTimer, QCoreApplication::instance(),
                           [] { QCoreApplication::quit(); });
        QCoreApplication::exec();
        timer.SetEnabled(false);
        seconds += double(clock.nsecsElapsed()) / 1e9;
        ticks += count;
    }
    state.counters["ticks"] = double(ticks);
    state.counters["ticks/s"] = seconds > 0 ? double(ticks) / seconds : 0.0;
}

BENCHMARK(BM_HiTimer1ms)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

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
