// The listening socket of the TCP servers: one thread however many peers, the most peers and
// the refusal beyond them, a pause instead of a busy loop when no descriptor is left, and the
// address it listens on.
#include "comm/CommTestSupport.h"

#include "comm/tcp/Socket.h"

#include <QDir>

#include <atomic>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>

namespace {

int ThreadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// A plain peer: a blocking socket connected to address:port, or -1.
int Peer(const char* address, uint16_t port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    inet_pton(AF_INET, address, &to.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool WaitUntil(const std::function<bool()>& done)
{
    return StepUntil({}, done);
}

// Counts the bytes every connection brought.
struct TCounting {
    std::atomic<int> Bytes{0};
    TTcpListener::THandler Handler()
    {
        return [this](TTcpSocket&, std::vector<uint8_t>& pending) {
            Bytes += int(pending.size());
            pending.clear();
            return true;
        };
    }
};

} // namespace

TEST(TcpListenerTest, ManyPeersAreServedByOneThread)
{
    TCounting counting;
    TTcpListener listener(counting.Handler(), TTcpListenerLimits{200, 4096});
    const uint16_t port = FreePort();
    const int before = ThreadCount();
    ASSERT_TRUE(listener.Listen(port));
    std::vector<int> peers;
    for (int i = 0; i < 100; ++i) {
        peers.push_back(Peer("127.0.0.1", port));
        ASSERT_GE(peers.back(), 0);
        ASSERT_EQ(send(peers.back(), "x", 1, MSG_NOSIGNAL), 1);
    }
    ASSERT_TRUE(WaitUntil([&] { return counting.Bytes == 100 && listener.ConnectionCount() == 100; }));
    EXPECT_EQ(ThreadCount(), before + 1);
    for (int fd : peers)
        close(fd);
    EXPECT_TRUE(WaitUntil([&] { return listener.ConnectionCount() == 0; }));
    listener.Stop();
    EXPECT_EQ(ThreadCount(), before);
}

TEST(TcpListenerTest, BeyondTheMostPeersANewOneIsRefusedAndTheOthersStay)
{
    TCounting counting;
    TTcpListener listener(counting.Handler(), TTcpListenerLimits{4, 4096});
    const uint16_t port = FreePort();
    ASSERT_TRUE(listener.Listen(port));
    std::vector<int> peers;
    for (int i = 0; i < 4; ++i)
        peers.push_back(Peer("127.0.0.1", port));
    ASSERT_TRUE(WaitUntil([&] { return listener.ConnectionCount() == 4; }));
    const int refused = Peer("127.0.0.1", port);
    ASSERT_GE(refused, 0);
    ASSERT_TRUE(WaitUntil([&] { return listener.RefusedCount() == 1; }));
    char byte = 0;
    EXPECT_EQ(recv(refused, &byte, 1, 0), 0) << "the refused peer sees its connection end";
    for (int fd : peers)
        ASSERT_EQ(send(fd, "y", 1, MSG_NOSIGNAL), 1);
    EXPECT_TRUE(WaitUntil([&] { return counting.Bytes == 4; }));
    EXPECT_EQ(listener.ConnectionCount(), 4);
    for (int fd : peers)
        close(fd);
    close(refused);
}

// With no descriptor left a waiting peer cannot be accepted: the listener pauses, longer each
// time, instead of trying again at once; with descriptors back the peer is taken.
TEST(TcpListenerTest, NoDescriptorLeftPausesTheAccepting)
{
    TCounting counting;
    TTcpListener listener(counting.Handler());
    const uint16_t port = FreePort();
    ASSERT_TRUE(listener.Listen(port));
    const int peer = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(peer, 0);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
    int highest = 0;
    for (const QString& name : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System))
        highest = std::max(highest, name.toInt());
    rlimit none = old;
    none.rlim_cur = rlim_t(highest + 1);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    std::vector<int> fillers;  // the free numbers below the limit taken too
    for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
        fillers.push_back(fd);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = connect(peer, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const int failures = listener.AcceptFailures();
    for (int fd : fillers)
        close(fd);
    setrlimit(RLIMIT_NOFILE, &old);
    ASSERT_TRUE(connected);
    EXPECT_GE(failures, 1);
    EXPECT_LE(failures, 10) << "a busy loop would have tried thousands of times";
    EXPECT_TRUE(WaitUntil([&] { return listener.ConnectionCount() == 1; }));
    close(peer);
}

TEST(TcpListenerTest, ItListensOnTheAddressGiven)
{
    TCounting counting;
    TTcpListener loopback(counting.Handler());
    TTcpListener every(counting.Handler());
    const uint16_t one = FreePort();
    ASSERT_TRUE(loopback.Listen(one, QStringLiteral("127.0.0.1")));
    const uint16_t two = FreePort();
    ASSERT_TRUE(every.Listen(two, QStringLiteral("*")));
    // 127.0.0.2 is this machine too, but not the address the first one listens on.
    EXPECT_EQ(Peer("127.0.0.2", one), -1);
    const int reached = Peer("127.0.0.2", two);
    EXPECT_GE(reached, 0);
    if (reached >= 0)
        close(reached);
    // Why a port cannot be listened on: an address of another machine, a port taken.
    TTcpListener nowhere(counting.Handler());
    TTcpListener::TFailure why{};
    EXPECT_FALSE(nowhere.Listen(FreePort(), QStringLiteral("192.0.2.1"), &why));
    EXPECT_EQ(why, TTcpListener::TFailure::NotThisMachine);
    TTcpListener taken(counting.Handler());
    EXPECT_FALSE(taken.Listen(one, QStringLiteral("127.0.0.1"), &why));
    EXPECT_EQ(why, TTcpListener::TFailure::InUse);
    // No address given: this machine alone.
    TTcpListener unnamed(counting.Handler());
    const uint16_t three = FreePort();
    ASSERT_TRUE(unnamed.Listen(three, QString()));
    EXPECT_EQ(Peer("127.0.0.2", three), -1);
    const int local = Peer("127.0.0.1", three);
    EXPECT_GE(local, 0);
    if (local >= 0)
        close(local);
}
