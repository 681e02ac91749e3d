// Eight multimeters on eight pseudo-terminal pairs in a running circuit.
//
// The board: the ring of 1 000 mixed components of bench/step_rate. One run measures, in
// alternating 50-ms slices, the step rate of the board alone and of the same board with eight
// meter components (two each of VC 920, UT803, UT70B and VC 850), each on its own COM port, while a
// thread of the benchmark plays the meters: every meter sends a frame every 500 ms (the rate
// of these meters), each frame with a new reading. The event loop runs after every 17th step, as
// in the program, so the meters' frame windows and watchdogs run as they do there.
//   steps/s alone, steps/s meters, ratio   goal: ratio at least 0.9
//   frames sent, frames seen               goal: equal (a frame is seen when the meter's
//                                          channel takes its reading during the run)
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_meters
//   build/rel/bench_meters
// The machines this runs on are shared: read the load average beside the figures.

#include "BenchBoard.h"

#include "core/model/ClassRegistry.h"
#include "hardware/RegisterHardware.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/meters/DmmInterface.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <atomic>
#include <chrono>
#include <pty.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr int Meters = 8;
constexpr auto FramePeriod = std::chrono::milliseconds(500);

struct TMeterType {
    const char* Name;
    // The frame carrying reading k (four digits) and the value the meter reads from it.
    std::string (*Frame)(const std::string& digits);
    double (*Value)(int k);
};

std::string Digits(int k)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04d", k % 10000);
    return text;
}

const TMeterType Types[4] = {
    {"VC 920",
     [](const std::string& d) { return d + "0" + std::string("\x32\x31\x30\x30\x30\x30\x30\r\n"); },
     [](int k) { return k * 10 / 1000.0; }},
    {"UT803", [](const std::string& d) { return "\x32" + d + "3\x30\x30\x30\r\n"; },
     [](int k) { return k * 10.0; }},
    {"UT70B", [](const std::string& d) { return "\x30" + d + "2\x30\x30\x30\r\n\x30"; },
     [](int k) { return k * 1.0; }},
    {"VC 850",
     [](const std::string& d) {
         return "+" + d + " " + std::string("\x32\x01\x00\x40\x00\x00\r\n", 8);
     },
     [](int k) { return k / 100.0 * 1e-3; }},
};

// The device ends of eight pty pairs, mapped to COM 1..8 of a private program folder, and the
// thread that plays the meters.
class TMeterPeers {
public:
    TMeterPeers()
    {
        Ctx().ProgramFolder = m_folder.path() + QLatin1Char('/');
        QDir().mkpath(m_folder.path() + QStringLiteral("/Settings"));
        TIniFile table(ProgramPath(QStringLiteral("Settings\\COMPORTS.INI")));
        for (int m = 0; m < Meters; ++m) {
            char name[256] = {};
            openpty(&m_master[m], &m_slave[m], name, nullptr, nullptr);
            table.WriteString(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(m + 1),
                              QString::fromLatin1(name));
        }
        table.UpdateFile();
    }
    ~TMeterPeers()
    {
        Stop();
        for (int m = 0; m < Meters; ++m) {
            ::close(m_master[m]);
            ::close(m_slave[m]);
        }
    }
    void Start()
    {
        m_run = true;
        m_thread = std::thread([this] {
            auto next = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
            int k = 1;
            while (m_run) {
                std::this_thread::sleep_until(next);
                for (int m = 0; m < Meters && m_run; ++m) {
                    const std::string frame = Types[m % 4].Frame(Digits(1000 + k));
                    if (::write(m_master[m], frame.data(), frame.size()) == ssize_t(frame.size()))
                        ++Sent[m];
                    // The meters' frames are spread over the period.
                    std::this_thread::sleep_for(FramePeriod / (2 * Meters));
                }
                ++k;
                next += FramePeriod;
            }
        });
    }
    void Stop()
    {
        m_run = false;
        if (m_thread.joinable())
            m_thread.join();
    }
    std::array<std::atomic<int>, Meters> Sent{};

private:
    QTemporaryDir m_folder;
    std::array<int, Meters> m_master{};
    std::array<int, Meters> m_slave{};
    std::atomic<bool> m_run{false};
    std::thread m_thread;
};

// Steps for the given time with the event loop after every 17th step, as the run control runs
// it; calls after() after each run of the event loop. Returns the steps and the seconds.
std::pair<int64_t, double> Steps(TPlatine& board, double seconds,
                                 const std::function<void()>& after = {})
{
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    int64_t steps = 0;
    while (std::chrono::steady_clock::now() < end) {
        board.SimStep();
        if (++steps % 17 != 0)
            continue;
        // The meters take their frames only here, so a new reading shows after this.
        QCoreApplication::processEvents();
        if (after)
            after();
    }
    return {steps, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

void BM_EightMeters(benchmark::State& state)
{
    static const bool registered = [] {
        RegisterHardwareClasses(ClassRegistry());
        return true;
    }();
    (void)registered;
    TMeterPeers peers;
    for (auto _ : state) {
        // Both boards run side by side and take turns in short slices, so that a change of the
        // machine's load falls on both alike.
        auto alone = BuildBoard(1000, TShape::Ring);
        std::vector<TDMMInterface*> meters;
        auto board = BuildBoard(1000, TShape::Ring, [&](TPlatine& b, const auto&) {
            for (int m = 0; m < Meters; ++m) {
                auto made = CreateHardwareComponent(QStringLiteral("TDMMInterface"));
                auto* dmm = static_cast<TDMMInterface*>(made->Interface.get());
                dmm->Name = QString::fromLatin1(Types[m % 4].Name);
                dmm->SetDeviceType(dmm->NameToType(dmm->Name));
                dmm->SetComPort(m + 1);
                made->X = 60 + m * 199;
                made->Y = 60 + 11 * 197;
                made->LayoutPins();
                meters.push_back(dmm);
                b.AddComponent(std::move(made));
            }
        });
        for (TDMMInterface* dmm : meters)
            if (!dmm->Meter().Port().Connected()) {
                state.SkipWithError("a meter's port did not open");
                return;
            }
        std::array<double, Meters> last{};
        std::array<int, Meters> seen{};
        int wrong = 0;
        const auto watch = [&] {
            for (int m = 0; m < Meters; ++m) {
                const double v = double(meters[size_t(m)]->GetInputValue(0));
                if (v == last[size_t(m)])
                    continue;
                last[size_t(m)] = v;
                ++seen[size_t(m)];
                // Readings come in order: the k-th reading of a meter is its k-th frame.
                const double expected = Types[m % 4].Value(1000 + seen[size_t(m)]);
                if (std::abs(v - expected) > 1e-9 * std::abs(expected))
                    ++wrong;
            }
        };
        peers.Start();
        int64_t stepsAlone = 0, stepsMeters = 0;
        double timeAlone = 0, timeMeters = 0;
        for (int slice = 0; slice < 60; ++slice) {
            const auto [n, t] = Steps(*alone, 0.05);
            stepsAlone += n;
            timeAlone += t;
            const auto [m, u] = Steps(*board, 0.05, watch);
            stepsMeters += m;
            timeMeters += u;
        }
        peers.Stop();
        // The last frames sent may still be in their 200-ms window: let them end.
        Steps(*board, 0.5, watch);
        board->EndSimulation();
        alone->EndSimulation();
        int sent = 0;
        int got = 0;
        for (int m = 0; m < Meters; ++m) {
            sent += peers.Sent[size_t(m)];
            got += seen[size_t(m)];
        }
        state.counters["steps/s alone"] = double(stepsAlone) / timeAlone;
        state.counters["steps/s meters"] = double(stepsMeters) / timeMeters;
        state.counters["ratio"] = (double(stepsMeters) / timeMeters) / (double(stepsAlone) / timeAlone);
        state.counters["frames sent"] = sent;
        state.counters["frames seen"] = got;
        state.counters["wrong readings"] = wrong;
    }
}
BENCHMARK(BM_EightMeters)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

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
