// What the port cards cost in the step.
//
// StepRate/0: steps per second of a ring of 1 000 mixed components (the board of
// bench/step_rate). StepRate/1: the same board with one of each card on the port-I/O layer
// (8255, ADA8, ADA16-2, PIO32, the LPT relay card, the logic-analyser adapter and the CSI
// 7001), each at an address of its own on an I/O space without access log, so that every step
// drives every card as a run does: port writes, reads, and the converters' conversions timed on
// the program's clock between steps. The goal is at least 0.9 of the rate without the cards.
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_port_cards
//   build/rel/bench_port_cards
// The machines this runs on are shared: read the median of the repetitions together with the
// load average.

#include "BenchBoard.h"

#include "core/model/ClassRegistry.h"
#include "hardware/framework/BtHardware.h"
#include "platform/Context.h"
#include "platform/PortIo.h"
#include "shell/Composition.h"
#include "shell/mainwindow/RegisterClasses.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <array>

namespace {

// Every port allowed, plain registers, nothing recorded: the I/O costs of a card come from its
// driver alone.
class TBenchPortIo : public IPortIo {
public:
    int32_t OpenDevice() override { return 0; }
    void CloseDevice() override {}
    bool DeviceOpen() const override { return true; }
    int32_t GetIopmByte(uint16_t, uint8_t& b) override
    {
        b = 0;
        return 0;
    }
    int32_t SetIopmByte(uint16_t, uint8_t) override { return 0; }
    int32_t ActivateIopm() override { return 0; }
    uint8_t ReadByte(uint16_t port) override { return Registers[port]; }
    void WriteByte(uint16_t port, uint8_t value) override { Registers[port] = value; }
    uint16_t ReadWord(uint16_t port) override
    {
        return uint16_t(Registers[port] | Registers[uint16_t(port + 1)] << 8);
    }
    void WriteWord(uint16_t port, uint16_t value) override
    {
        Registers[port] = uint8_t(value);
        Registers[uint16_t(port + 1)] = uint8_t(value >> 8);
    }
    bool Permitted(uint16_t) const override { return true; }
    std::array<uint8_t, 65536> Registers{};
};

struct TCard {
    const char* device;
    uint16_t base;
};
constexpr TCard kCards[] = {{"T8255Interface", 0x300}, {"TADA8", 0x310},
                            {"TADA162", 0x320},        {"TPIO32", 0x330},
                            {"TRelaiskarte", 1},       {"TELVAnalyser", 0x278},
                            {"TCSI7001", 0x3BC}};

void BM_StepRate(benchmark::State& state)
{
    ResetContext();
    RegisterComponentClasses(ClassRegistry());
    InstallHooks();
    TBenchPortIo io;
    io.Registers[0x322] = 0x05; // the ADA16-2's conversions are finished when asked
    SetPortIo(&io);
    const bool cards = state.range(0) != 0;
    std::unique_ptr<TPlatine> board =
        BuildBoard(1000, TShape::Ring, [&](TPlatine& b, const std::vector<TIOBauteil*>&) {
            if (!cards)
                return;
            int row = 0;
            for (const TCard& card : kCards) {
                std::unique_ptr<TBTHardware> component =
                    CreateHardwareComponent(QString::fromLatin1(card.device));
                component->Interface->BaseAddress = card.base;
                component->Interface->PropagateAddress();
                component->X = 60 + 101 * 199;
                component->Y = 60 + row++ * 600;
                component->LayoutPins();
                TBTHardware* raw = component.get();
                b.AppendItem(std::move(component));
                b.BindItem(raw);
                b.AttachPinSegments(raw);
            }
        });
    for (auto _ : state)
        board->SimStep();
    state.counters["steps/s"] = benchmark::Counter(double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    board->EndSimulation();
    board.reset();
    SetPortIo(nullptr);
}

BENCHMARK(BM_StepRate)->Arg(0)->Arg(1)->Iterations(60000)->Repetitions(7)->Unit(benchmark::kMillisecond);

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
