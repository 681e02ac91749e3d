// The raw TCP device as server and as client, with a peer played by the test.
#include "comm/CommTestSupport.h"

#include "comm/tcp/PureTcp.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>

namespace {

QByteArray Bytes(const std::vector<uint8_t>& v)
{
    return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

class PureTcpTest : public HardwareFixture {
protected:
    void TearDown() override
    {
        devices.clear();
        HardwareFixture::TearDown();
    }
    TPureTCP& Add(int32_t mode, uint16_t port)
    {
        auto device = std::make_unique<TPureTCP>();
        device->Mode = mode;
        device->Port = port;
        devices.push_back(std::move(device));
        return *devices.back();
    }
    static TPin& Tx(TPureTCP& d) { return PortPin(d, 0, 0); }
    static TPin& Snd(TPureTCP& d) { return PortPin(d, 0, 1); }
    static TPin& Rec(TPureTCP& d) { return PortPin(d, 0, 2); }
    static TPin& Rx(TPureTCP& d) { return PortPin(d, 1, 0); }
    static TPin& Cn(TPureTCP& d) { return PortPin(d, 1, 1); }
    static TPin& Bsy(TPureTCP& d) { return PortPin(d, 1, 2); }
    // A REC edge, then steps until the message is shown.
    bool Receive(TPureTCP& d)
    {
        ClockEdge(d, Rec(d));
        EXPECT_EQ(Bsy(d).Value, 5.0L);
        return StepUntil({&d}, [&d] { return Bsy(d).Value == 0.0L; });
    }

    std::vector<std::unique_ptr<TPureTCP>> devices;
};

} // namespace

TEST(PureTcpFraming, MessagesAreCutByDelimiterOrLength)
{
    struct Case {
        TFraming Framing;
        const char* Input;
        std::vector<QByteArray> Messages;
        const char* Left;
    };
    const Case cases[] = {
        {{0, {13}, 1}, "abc\rdef\rgh", {"abc", "def"}, "gh"},
        {{0, {13, 10}, 1}, "a\r\nb\r", {"a"}, "b\r"},
        {{0, {}, 1}, "xy", {"x", "y"}, ""},
        {{1, {}, 4}, "abcdefg", {"abcd"}, "efg"},
        {{2, {13}, 4}, "abc\r", {}, "abc\r"},
    };
    for (const Case& c : cases) {
        const QByteArray input(c.Input);
        std::vector<uint8_t> pending(input.begin(), input.end());
        std::vector<QByteArray> messages;
        while (std::optional<QByteArray> m = TakeMessage(pending, c.Framing))
            messages.push_back(*m);
        EXPECT_EQ(messages, c.Messages) << c.Input;
        EXPECT_EQ(Bytes(pending), QByteArray(c.Left)) << c.Input;
    }
    // A delimiter that never comes does not let a message grow without end.
    std::vector<uint8_t> flood(kMaxDelimitedMessage + 5, 'x');
    EXPECT_EQ(TakeMessage(flood, {0, {13}, 1})->size(), qsizetype(kMaxDelimitedMessage));
    EXPECT_EQ(flood.size(), 5u);
}

TEST_F(PureTcpTest, AServerTakesOneMessagePerReceiveClock)
{
    const uint16_t port = FreePort();
    TPureTCP& server = Add(1, port);
    server.SimStart();
    server.MachEsJetzt();
    EXPECT_EQ(Cn(server).Value, 0.0L);
    TTcpSocket peer;
    ASSERT_TRUE(peer.Connect(QStringLiteral("127.0.0.1"), port, 5000));
    ASSERT_TRUE(StepUntil({&server}, [&] { return Cn(server).Value == 5.0L; }));
    const QByteArray text("abc\rdef\r");
    ASSERT_TRUE(peer.Send(reinterpret_cast<const uint8_t*>(text.data()), size_t(text.size())));
    ASSERT_TRUE(Receive(server));
    EXPECT_EQ(Rx(server).Text, QStringLiteral("abc"));
    ASSERT_TRUE(Receive(server));
    EXPECT_EQ(Rx(server).Text, QStringLiteral("def"));
}

TEST_F(PureTcpTest, AFixedLengthWaitsForItsLastByte)
{
    const uint16_t port = FreePort();
    TPureTCP& server = Add(1, port);
    server.FramingMode = 1;
    server.FixedLength = 4;
    server.SimStart();
    TTcpSocket peer;
    ASSERT_TRUE(peer.Connect(QStringLiteral("127.0.0.1"), port, 5000));
    const uint8_t bytes[] = {'1', '2', '3', '4'};
    ASSERT_TRUE(peer.Send(bytes, 3));
    ClockEdge(server, Rec(server));
    for (int i = 0; i < 20; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        server.MachEsJetzt();
    }
    EXPECT_EQ(Bsy(server).Value, 5.0L);
    ASSERT_TRUE(peer.Send(bytes + 3, 1));
    ASSERT_TRUE(StepUntil({&server}, [&] { return Bsy(server).Value == 0.0L; }));
    EXPECT_EQ(Rx(server).Text, QStringLiteral("1234"));
}

TEST_F(PureTcpTest, MessagesGoOutFramedToEveryPeer)
{
    const uint16_t port = FreePort();
    TPureTCP& server = Add(1, port);
    server.PrefixText = QStringLiteral("$02");
    server.SuffixText = QStringLiteral("3");
    server.SimStart();
    TTcpSocket first, second;
    ASSERT_TRUE(first.Connect(QStringLiteral("127.0.0.1"), port, 5000));
    ASSERT_TRUE(second.Connect(QStringLiteral("127.0.0.1"), port, 5000));
    ASSERT_TRUE(StepUntil({&server}, [&] {
        return server.ServerEntry()->Listener.ConnectionCount() == 2;
    }));
    Tx(server).Text = QString(2000, QLatin1Char('t')); // longer than any one buffer
    fake.clock.AdvanceMs(1);
    SetPinValue(Snd(server), 5.0L);
    server.MachEsJetzt();
    // Within the same millisecond the edge waits.
    SetPinValue(Snd(server), 0.0L);
    server.MachEsJetzt();
    fake.clock.AdvanceMs(1);
    server.MachEsJetzt();
    const QByteArray expected = '\2' + QByteArray(2000, 't') + '\3';
    for (TTcpSocket* peer : {&first, &second}) {
        QByteArray got;
        ASSERT_TRUE(StepUntil({}, [&] {
            uint8_t buffer[4096];
            const int n = peer->Receive(buffer, sizeof buffer, 0);
            if (n > 0)
                got.append(reinterpret_cast<const char*>(buffer), n);
            return got.size() >= expected.size();
        }));
        EXPECT_EQ(got, expected);
    }
}

TEST_F(PureTcpTest, AClientReceivesAsTheServerDoes)
{
    const uint16_t port = FreePort();
    TPureTCP& server = Add(1, port);
    server.SuffixText = QStringLiteral("13");
    server.SimStart();
    TPureTCP& client = Add(0, port);
    client.SimStart();
    ASSERT_TRUE(StepUntil({&server, &client}, [&] {
        return Cn(server).Value == 5.0L && Cn(client).Value == 5.0L;
    }));
    ClockEdge(client, Rec(client));
    EXPECT_EQ(Bsy(client).Value, 5.0L);
    Tx(server).Text = QStringLiteral("hello");
    for (Extended level : {5.0L, 0.0L}) {
        fake.clock.AdvanceMs(1);
        SetPinValue(Snd(server), level);
        server.MachEsJetzt();
    }
    ASSERT_TRUE(StepUntil({&client}, [&] { return Bsy(client).Value == 0.0L; }));
    EXPECT_EQ(Rx(client).Text, QStringLiteral("hello"));
}

TEST_F(PureTcpTest, TextsTravelInWindows1252BothWays)
{
    const uint16_t port = FreePort();
    TPureTCP& server = Add(1, port);
    server.SimStart();
    TTcpSocket peer;
    ASSERT_TRUE(peer.Connect(QStringLiteral("127.0.0.1"), port, 5000));
    ASSERT_TRUE(StepUntil({&server}, [&] { return Cn(server).Value == 5.0L; }));
    // Bytes 0x80 .. 0x9F are printable characters there, not control characters.
    const QByteArray bytes("\x80\x84\x93\x99 \xFC\xB0");
    const QString text = QString::fromUtf8("€„“™ ü°");
    const QByteArray framed = bytes + '\r';
    ASSERT_TRUE(peer.Send(reinterpret_cast<const uint8_t*>(framed.data()), size_t(framed.size())));
    ASSERT_TRUE(Receive(server));
    EXPECT_EQ(Rx(server).Text, text);

    Tx(server).Text = text;
    for (Extended level : {5.0L, 0.0L}) {
        fake.clock.AdvanceMs(1);
        SetPinValue(Snd(server), level);
        server.MachEsJetzt();
    }
    QByteArray got;
    ASSERT_TRUE(StepUntil({}, [&] {
        uint8_t buffer[64];
        const int n = peer.Receive(buffer, sizeof buffer, 0);
        if (n > 0)
            got.append(reinterpret_cast<const char*>(buffer), n);
        return got.size() >= bytes.size();
    }));
    EXPECT_EQ(got, bytes);
}

// However many peers come, a server serves at most its most connections, refuses the others at
// once and tells the user once; it listens only at the address of its settings.
TEST_F(PureTcpTest, AServerRefusesPeersBeyondItsMostAndListensWhereTold)
{
    TScopedMessageResponder messages;
    const uint16_t port = FreePort();
    TPureTCP& server = Add(1, port); // the host stays 127.0.0.1
    server.SimStart();
    const int most = TTcpListenerLimits().MostConnections;
    std::vector<std::unique_ptr<TTcpSocket>> peers;
    for (int i = 0; i < most + 3; ++i) {
        peers.push_back(std::make_unique<TTcpSocket>());
        ASSERT_TRUE(peers.back()->Connect(QStringLiteral("127.0.0.1"), port, 5000));
    }
    const auto ended = [&] {
        int count = 0;
        for (auto& peer : peers) {
            uint8_t byte = 0;
            if (peer->Connected())
                peer->Receive(&byte, 1, 0);
            count += peer->Connected() ? 0 : 1;
        }
        return count;
    };
    ASSERT_TRUE(StepUntil({&server}, [&] { return ended() == 3; }));
    for (int i = 0; i < 5; ++i)
        server.MachEsJetzt();
    QCoreApplication::processEvents(); // the message comes after the step
    EXPECT_EQ(server.ServerEntry()->Listener.ConnectionCount(), most);
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QString::number(most)));
    TTcpSocket* served = nullptr;
    for (auto& peer : peers)
        if (peer->Connected())
            served = peer.get();
    ASSERT_NE(served, nullptr);
    const uint8_t line[] = {'o', 'k', '\r'};
    ASSERT_TRUE(served->Send(line, sizeof line));
    ASSERT_TRUE(Receive(server));
    EXPECT_EQ(Rx(server).Text, QStringLiteral("ok"));

    // 127.0.0.2 is this machine too, but not the address of the settings; "*" takes it.
    TTcpSocket stranger;
    EXPECT_FALSE(stranger.Connect(QStringLiteral("127.0.0.2"), port, 2000));
    const uint16_t everyPort = FreePort();
    TPureTCP& every = Add(1, everyPort);
    every.Host = QStringLiteral("*");
    every.SimStart();
    EXPECT_TRUE(stranger.Connect(QStringLiteral("127.0.0.2"), everyPort, 2000));
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.Requests().size(), 1u);
}
