// Modbus/TCP read requests per second from a running circuit, against the libmodbus slave of
// the tests on 127.0.0.1, and the step rate of that circuit.
//
// The circuit: an inverter whose output feeds its own input (it toggles every step) drives the
// clock input "|CLK" of a Modbus/TCP "03 Read Holding Registers" device (8 channels) placed as
// a hardware component. Every second step has a falling clock edge, so a new request is asked
// for as soon as the last one is answered: the device is never idle. The loop times
// TPlatine::SimStep of the board. Counters: "steps/s" (the step rate while every step sends a
// request or polls for its answer), "requests/s" (answers received per second) and
// "steps/request".
//
// BM_ModbusIdleCircuit is the same board without a server, for comparison (the device then
// only reports "not connected").
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_modbus
//   build/rel/bench_modbus --benchmark_repetitions=5
// The machines this runs on are shared: read the figures together with the load average.

#include "comm/modbus/ModbusTcp.h"
#include "components/digital/Gates.h"
#include "core/board/Platine.h"
#include "hardware/framework/BtHardware.h"
#include "platform/Fonts.h"

#include "BenchDevices.h"
#include "BenchWire.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProcess>

#include <cstdio>

namespace {

struct TCircuit {
    std::unique_ptr<TPlatine> Board;
    TModbusTCP* Device = nullptr;
};

TCircuit BuildCircuit(uint16_t port)
{
    TCircuit circuit;
    circuit.Board = std::make_unique<TPlatine>();
    TPlatine& board = *circuit.Board;
    std::unique_ptr<TBTHardware> hardware = CreateHardwareComponent(QStringLiteral("TModbus_ReadRegs"));
    auto* device = static_cast<TModbusTCP*>(hardware->Interface.get());
    device->Port = port;
    device->UnitId = 1;
    device->DataPort().Configure(3, 8);
    device->BuildPinList();
    hardware->SetInterface(std::move(hardware->Interface));
    hardware->X = 600;
    hardware->Y = 200;
    hardware->LayoutPins();
    TBTHardware* placed = hardware.get();
    board.AppendItem(std::move(hardware));
    board.BindItem(placed);
    board.AttachPinSegments(placed);

    auto inverter = NewObject<TBTInverter>();
    inverter->X = 200;
    inverter->Y = 200;
    inverter->LayoutPins();
    TIOBauteil* clock = inverter.get();
    board.AppendItem(std::move(inverter));
    board.BindItem(clock);
    board.AttachPinSegments(clock);
    Wire(board, *clock->Outputs[0], *clock->Inputs[0], 18);
    Wire(board, *clock->Outputs[0], *placed->Inputs[0], 58);
    board.StartSimulation();
    circuit.Device = static_cast<TModbusTCP*>(placed->Interface.get());
    return circuit;
}

void Run(benchmark::State& state, bool withServer)
{
    TDeviceEnvironment environment;
    QProcess slave;
    const uint16_t port = FreePort();
#ifdef TAVRINOL_MODBUS_SLAVE
    if (withServer) {
        slave.start(QStringLiteral(TAVRINOL_MODBUS_SLAVE), {QString::number(port)});
        if (!slave.waitForReadyRead(10000)) {
            state.SkipWithError("the Modbus slave did not start");
            return;
        }
    }
#else
    if (withServer) {
        state.SkipWithError("built without libmodbus");
        return;
    }
#endif
    TCircuit circuit = BuildCircuit(port);
    if (withServer && circuit.Device->ClientEntry()
        && !circuit.Device->ClientEntry()->Socket.Connected()) {
        state.SkipWithError("no connection to the slave");
        return;
    }
    const uint16_t first = circuit.Device->ClientEntry() ? circuit.Device->ClientEntry()->Transaction : 0;
    for (auto _ : state)
        circuit.Board->SimStep();
    const double requests =
        double(uint16_t(circuit.Device->ClientEntry()->Transaction - first));
    state.counters["steps/s"] = benchmark::Counter(double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    state.counters["requests/s"] = benchmark::Counter(requests, benchmark::Counter::kIsRate);
    state.counters["steps/request"] = requests > 0 ? double(state.iterations()) / requests : 0.0;
    circuit.Board->EndSimulation();
    if (slave.state() != QProcess::NotRunning) {
        slave.kill();
        slave.waitForFinished(5000);
    }
}

void BM_ModbusTcpReadRequests(benchmark::State& state)
{
    Run(state, true);
}

void BM_ModbusIdleCircuit(benchmark::State& state)
{
    Run(state, false);
}

// Transaction numbers are 16 bits: a run of at most 60000 steps keeps the count exact.
BENCHMARK(BM_ModbusTcpReadRequests)->Iterations(60000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ModbusIdleCircuit)->Iterations(60000)->Unit(benchmark::kMicrosecond)->UseRealTime();

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
