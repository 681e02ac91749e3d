// The communication devices against hostile peers on this machine.
//
//   BM_ServerThousandPeers  1 000 peers connect to one raw TCP server device. Counters:
//                           "threads" (threads the process gained while they were connected),
//                           "served" and "refused" peers.
//   BM_ModbusFloodingPeer   a Modbus/TCP "03" device clocked every second step while its peer
//                           sends late answers without pause for 5 s. Counters: "longest step
//                           ms" (the longest single step), "steps" and "requests" finished
//                           within 2 s of stepping.
//   BM_SerialFloodingPeer   an armed COM string receiver (end-of-data sequence CR) while its
//                           peer on a pty sends 10 MB without a CR. Counters: "longest step ms",
//                           "bytes kept" (what the receiver holds at the end) and "seconds"
//                           until the 10 MB were taken.
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_hostile_peers
//   build/rel/bench_hostile_peers
// The machines this runs on are shared: read the figures together with the load average.

#include "comm/modbus/ModbusTcp.h"
#include "comm/tcp/PureTcp.h"
#include "hardware/com/ComDevices.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include "BenchDevices.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using TSteady = std::chrono::steady_clock;

int ThreadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

double Ms(TSteady::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void BM_ServerThousandPeers(benchmark::State& state)
{
    TDeviceEnvironment environment;
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    rlimit raised = limit;
    raised.rlim_cur = std::max<rlim_t>(limit.rlim_cur, std::min<rlim_t>(limit.rlim_max, 8192));
    setrlimit(RLIMIT_NOFILE, &raised);
    for (auto _ : state) {
        const int before = ThreadCount();
        TPureTCP server;
        server.Mode = 1;
        server.Port = FreePort();
        server.SimStart();
        std::vector<int> peers;
        for (int i = 0; i < 1000; ++i) {
            const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(server.Port);
            to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0)
                peers.push_back(fd);
            else if (fd >= 0)
                close(fd);
            server.MachEsJetzt();
        }
        // Time for the server to take or refuse them all.
        const auto end = TSteady::now() + std::chrono::seconds(2);
        while (TSteady::now() < end) {
            server.MachEsJetzt();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        int refused = 0;
        for (int fd : peers) {
            pollfd p{fd, POLLIN, 0};
            char byte = 0;
            if (poll(&p, 1, 0) == 1 && recv(fd, &byte, 1, MSG_DONTWAIT) == 0)
                ++refused;
        }
        state.counters["threads"] = ThreadCount() - before;
        state.counters["served"] = server.ServerEntry()->Listener.ConnectionCount();
        state.counters["refused"] = refused;
        for (int fd : peers)
            close(fd);
        server.SimStop();
    }
    setrlimit(RLIMIT_NOFILE, &limit);
}
BENCHMARK(BM_ServerThousandPeers)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Sends the same bytes in 64 KB pieces, as fast as they are taken, for five seconds.
class TFlood {
public:
    explicit TFlood(const std::vector<uint8_t>& chunk)
    {
        m_listen = ListenLoopback(Port);
        std::vector<uint8_t> piece;
        while (piece.size() < 65536)
            piece.insert(piece.end(), chunk.begin(), chunk.end());
        m_thread = std::thread([this, piece] {
            const int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            const auto end = TSteady::now() + std::chrono::seconds(5);
            while (!m_stop && TSteady::now() < end)
                if (send(fd, piece.data(), piece.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0
                    && errno == EAGAIN) {
                    pollfd p{fd, POLLOUT, 0};
                    poll(&p, 1, 10);
                }
            close(fd);
        });
    }
    ~TFlood()
    {
        m_stop = true;
        m_thread.join();
        close(m_listen);
    }
    uint16_t Port = 0;

private:
    int m_listen = -1;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void BM_ModbusFloodingPeer(benchmark::State& state)
{
    TDeviceEnvironment environment;
    for (auto _ : state) {
        TFlood peer({0xFF, 0xFF, 0, 0, 0, 5, 1, 3, 2, 0, 10});
        TModbus_ReadRegs device;
        device.Port = peer.Port;
        device.UnitId = 1;
        device.ReadTimeout = 100;
        device.SimStart();
        TPin& clock = *device.Ports.at(0)->Pins.at(0);
        TSteady::duration longest{};
        int64_t steps = 0;
        const uint16_t first = device.ClientEntry()->Transaction;
        const auto end = TSteady::now() + std::chrono::seconds(2);
        while (TSteady::now() < end) {
            SetPinValue(clock, steps % 2 ? 0.0L : 5.0L);
            const auto start = TSteady::now();
            device.MachEsJetzt();
            longest = std::max(longest, TSteady::now() - start);
            ++steps;
        }
        state.counters["longest step ms"] = Ms(longest);
        state.counters["steps"] = double(steps);
        state.counters["requests"] = double(uint16_t(device.ClientEntry()->Transaction - first));
        device.SimStop();
    }
}
BENCHMARK(BM_ModbusFloodingPeer)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SerialFloodingPeer(benchmark::State& state)
{
    TDeviceEnvironment environment;
    QTemporaryDir folder;
    int master = -1, slave = -1;
    char name[256] = {};
    openpty(&master, &slave, name, nullptr, nullptr);
    Ctx().ProgramFolder = folder.path() + QLatin1Char('/');
    QDir().mkpath(folder.path() + QStringLiteral("/Settings"));
    {
        TIniFile table(ProgramPath(QStringLiteral("Settings\\COMPORTS.INI")));
        table.WriteString(QStringLiteral("Ports"), QStringLiteral("COM1"),
                          QString::fromLatin1(name));
        table.UpdateFile();
    }
    for (auto _ : state) {
        TComStringEmpfangen device;
        auto& port = static_cast<TComStringInPort&>(*device.Ports[0]);
        device.SetComPort(1);
        GetInputCount(device);
        device.SimStart();
        device.SetValue(0, 5.0L);
        device.SetValue(0, 0.0L);
        device.MachEsJetzt(); // the arming step
        constexpr int64_t kTotal = 10 * 1000 * 1000;
        std::atomic<int64_t> sent{0};
        std::thread writer([&] {
            const std::vector<char> chunk(4096, 'x');
            const auto end = TSteady::now() + std::chrono::seconds(60);
            while (sent < kTotal && TSteady::now() < end) {
                const ssize_t n = write(master, chunk.data(),
                                        size_t(std::min<int64_t>(4096, kTotal - sent)));
                if (n > 0)
                    sent += n;
            }
        });
        TSteady::duration longest{};
        const auto begin = TSteady::now();
        const auto end = begin + std::chrono::seconds(60);
        while (TSteady::now() < end
               && (sent < kTotal || device.GetCate().InQueCount() > 0)) {
            const auto start = TSteady::now();
            device.MachEsJetzt();
            longest = std::max(longest, TSteady::now() - start);
        }
        const double seconds = std::chrono::duration<double>(TSteady::now() - begin).count();
        writer.join();
        state.counters["longest step ms"] = Ms(longest);
        state.counters["bytes kept"] = double(port.RxText.size());
        state.counters["seconds"] = seconds;
        device.SimStop();
    }
    close(master);
    close(slave);
}
BENCHMARK(BM_SerialFloodingPeer)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

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
