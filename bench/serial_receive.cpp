// Serial reception in a running circuit, through a pseudo-terminal pair.
//
// The circuit: a COM string receiver (end-of-data sequence CR) on COM 1, whose clock input is
// driven by a component that toggles its output in every step (so the receiver is armed every
// second step), and 1 000 further gates that are calculated in every step. A thread of the
// benchmark plays the device on the other end of the pty:
//   BM_ComReceiveThroughput   sends lines "0123456789" CR as fast as the pty takes them; the
//                             counter "bytes/s" is what the circuit consumed.
//   BM_StepRateQuiet          the step rate without serial traffic;
//   BM_StepRate10kBs          the step rate while the device sends 10 kB/s (100-byte bursts
//                             every 10 ms). Goal: at least 0.9 of the quiet step rate.
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_serial_receive
//   build/rel/bench_serial_receive --benchmark_repetitions=5
// The machines this runs on are shared: read the load average beside the figures.

#include "components/digital/Gates.h"
#include "core/board/Platine.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Iobt.h"
#include "hardware/RegisterHardware.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/com/ComDevices.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <pty.h>
#include <thread>
#include <unistd.h>

namespace {

// Toggles its output in every step.
class TToggle : public TGrundBT {
public:
    TToggle()
    {
        SetOutputCount(1);
        SetPrefix(QStringLiteral("TGL"));
    }
    QString GetTypeName() const override { return QStringLiteral("Toggle"); }
    void Calculate() override
    {
        m_level = !m_level;
        SetOutputDigital(0, m_level);
    }

private:
    bool m_level = false;
};

// The device end of a pty pair, mapped to COM 1 of a private program folder.
class TPeer {
public:
    TPeer()
    {
        char name[256] = {};
        openpty(&m_master, &m_slave, name, nullptr, nullptr);
        Ctx().ProgramFolder = m_folder.path() + QLatin1Char('/');
        QDir().mkpath(m_folder.path() + QStringLiteral("/Settings"));
        TIniFile table(ProgramPath(QStringLiteral("Settings\\COMPORTS.INI")));
        table.WriteString(QStringLiteral("Ports"), QStringLiteral("COM1"), QString::fromLatin1(name));
        table.UpdateFile();
    }
    ~TPeer()
    {
        Stop();
        ::close(m_master);
        ::close(m_slave);
    }
    // Sends lines as fast as the pty takes them (bytesPerSecond 0) or paced in bursts.
    void Start(int bytesPerSecond)
    {
        m_run = true;
        m_thread = std::thread([this, bytesPerSecond] {
            const char line[] = "0123456789\r";
            std::string burst;
            while (burst.size() < 100)
                burst += line;
            burst.resize(100);
            auto next = std::chrono::steady_clock::now();
            while (m_run) {
                if (bytesPerSecond == 0) {
                    const ssize_t n = ::write(m_master, line, sizeof line - 1);
                    if (n > 0)
                        Sent += uint64_t(n);
                    continue;
                }
                const ssize_t n = ::write(m_master, burst.data(), burst.size());
                if (n > 0)
                    Sent += uint64_t(n);
                next += std::chrono::microseconds(100 * 1000000LL / bytesPerSecond);
                std::this_thread::sleep_until(next);
            }
        });
    }
    void Stop()
    {
        m_run = false;
        if (m_thread.joinable()) {
            // A writer blocked on a full pty wakes up when the circuit drains it.
            char drain[4096];
            ::fcntl(m_slave, F_SETFL, O_NONBLOCK);
            while (m_thread.joinable()) {
                while (::read(m_slave, drain, sizeof drain) > 0) {
                }
                m_thread.join();
            }
        }
    }
    std::atomic<uint64_t> Sent{0};

private:
    QTemporaryDir m_folder;
    int m_master = -1;
    int m_slave = -1;
    std::atomic<bool> m_run{false};
    std::thread m_thread;
};

struct TCircuit {
    TPlatine Board;
    TBTHardware* Receiver = nullptr;
    const TBauteilPin* Clock = nullptr;
};

std::unique_ptr<TCircuit> BuildCircuit()
{
    static const bool registered = [] {
        RegisterHardwareClasses(ClassRegistry());
        return true;
    }();
    (void)registered;
    auto circuit = std::make_unique<TCircuit>();
    TPlatine& board = circuit->Board;
    auto toggle = std::make_unique<TToggle>();
    toggle->X = 100;
    toggle->Y = 100;
    toggle->LayoutPins();
    TIOBauteil* clock = board.AddComponent(std::move(toggle));
    auto made = CreateHardwareComponent(QStringLiteral("TComStringEmpfangen"));
    auto* device = static_cast<TComInterface*>(made->Interface.get());
    device->SetComPort(1);
    device->PropagateAddress();
    made->X = 400;
    made->Y = 300;
    made->LayoutPins();
    circuit->Receiver = static_cast<TBTHardware*>(board.AddComponent(std::move(made)));
    const TBauteilPin& from = *clock->Outputs[0];
    circuit->Clock = &from;
    const TBauteilPin& to = *circuit->Receiver->Inputs[0];
    // A wire of two segments, bent between the pins.
    const QPoint bend((from.X + to.X) / 2 + 1, (from.Y + to.Y) / 2 + 2);
    board.AddSegment(QPoint(from.X, from.Y), bend);
    board.AddSegment(bend, QPoint(to.X, to.Y));
    for (int k = 0; k < 1000; ++k) {
        auto gate = NewObject<TBTAnd>();
        gate->X = 60 + (k % 100) * 199;
        gate->Y = 600 + (k / 100) * 197;
        gate->LayoutPins();
        board.AddComponent(std::move(gate));
    }
    board.StartSimulation();
    return circuit;
}

void RunSteps(benchmark::State& state, TPeer& peer, int bytesPerSecond)
{
    auto circuit = BuildCircuit();
    if (circuit->Receiver->Inputs[0]->Source() != circuit->Clock) {
        state.SkipWithError("clock not wired");
        return;
    }
    if (bytesPerSecond >= 0)
        peer.Start(bytesPerSecond);
    TCate& cate = static_cast<TComInterface&>(*circuit->Receiver->Interface).GetCate();
    if (!cate.Connected()) {
        state.SkipWithError("COM 1 did not open");
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    int64_t steps = 0;
    for (auto _ : state) {
        circuit->Board.SimStep();
        ++steps;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int32_t waiting = std::max(cate.InQueCount(), 0);
    peer.Stop();
    circuit->Board.EndSimulation();
    state.counters["steps/s"] = double(steps) / seconds;
    if (bytesPerSecond >= 0)
        state.counters["bytes/s"] = double(peer.Sent.load() - uint64_t(waiting)) / seconds;
}

void BM_ComReceiveThroughput(benchmark::State& state)
{
    TPeer peer;
    RunSteps(state, peer, 0);
}
BENCHMARK(BM_ComReceiveThroughput)->MinTime(2.0)->UseRealTime();

void BM_StepRateQuiet(benchmark::State& state)
{
    TPeer peer;
    RunSteps(state, peer, -1);
}
BENCHMARK(BM_StepRateQuiet)->MinTime(2.0)->UseRealTime();

void BM_StepRate10kBs(benchmark::State& state)
{
    TPeer peer;
    RunSteps(state, peer, 10000);
}
BENCHMARK(BM_StepRate10kBs)->MinTime(2.0)->UseRealTime();

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
