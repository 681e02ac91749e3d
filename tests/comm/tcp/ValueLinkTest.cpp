// Two value-link devices in one process over loopback, and a raw peer that sends frames of its
// own.
#include "comm/CommTestSupport.h"

#include "comm/tcp/ValueLink.h"

namespace {

class ValueLinkTest : public HardwareFixture {
protected:
    void TearDown() override
    {
        for (auto& device : devices)
            device->SimStop();
        devices.clear();
        HardwareFixture::TearDown();
    }

    TTCP& Add(int32_t mode, uint16_t port, int32_t channel, int32_t kind = 0,
              const QString& host = QStringLiteral("127.0.0.1"))
    {
        auto device = std::make_unique<TTCP>();
        device->Mode = mode;
        device->Port = port;
        device->Channel = channel;
        device->Host = host;
        device->SetSignalKind(kind);
        devices.push_back(std::move(device));
        devices.back()->SimStart();
        return *devices.back();
    }
    static TPin& Tx(TTCP& d, size_t i = 0) { return PortPin(d, 0, i); }
    static TPin& En(TTCP& d) { return *d.Ports[0]->Pins.back(); }
    static TPin& Rx(TTCP& d, size_t i = 0) { return PortPin(d, 1, i); }
    static TPin& Cn(TTCP& d) { return *d.Ports[1]->Pins.back(); }
    std::vector<TIOInterface*> All() const
    {
        std::vector<TIOInterface*> list;
        for (const auto& device : devices)
            list.push_back(device.get());
        return list;
    }

    std::vector<std::unique_ptr<TTCP>> devices;
};

} // namespace

TEST_F(ValueLinkTest, AnalogValuesTravelBothWays)
{
    const uint16_t port = FreePort();
    TTCP& server = Add(1, port, 7);
    server.MachEsJetzt();
    EXPECT_EQ(Cn(server).Value, 0.0L);
    TTCP& client = Add(0, port, 7);
    ASSERT_TRUE(StepUntil(All(), [&] { return Cn(server).Value == 5.0L; }));
    EXPECT_EQ(Cn(client).Value, 5.0L);

    SetPinValue(Tx(client), 3.25L);
    SetPinValue(En(client), 5.0L);
    ASSERT_TRUE(StepUntil(All(), [&] { return Rx(server).Value == 3.25L; }));
    SetPinValue(Tx(server), -1.5L);
    SetPinValue(En(server), 5.0L);
    ASSERT_TRUE(StepUntil(All(), [&] { return Rx(client).Value == -1.5L; }));
    // With EN low nothing goes out.
    SetPinValue(En(client), 0.0L);
    SetPinValue(Tx(client), 4.0L);
    for (int i = 0; i < 50; ++i)
        for (TIOInterface* d : All())
            d->MachEsJetzt();
    EXPECT_EQ(Rx(server).Value, 3.25L);
}

TEST_F(ValueLinkTest, DigitalWordsArriveWhole)
{
    const uint16_t port = FreePort();
    TTCP& server = Add(1, port, 3, 1);
    TTCP& client = Add(0, port, 3, 1);
    SetPinValue(En(client), 5.0L);
    for (uint16_t word : {uint16_t(0xA5C3), uint16_t(0), uint16_t(65535), uint16_t(1)}) {
        client.Ports[0]->SetPinsFromWord(word);
        SetPinValue(En(client), 5.0L);
        ASSERT_TRUE(StepUntil(All(), [&] { return server.Ports[1]->GetPinsAsWord() == word; }))
            << word;
    }
}

// A client that connects later asks for the current value; the server sends it although it did
// not change. A request for a channel that no device serves does not hold back other channels.
TEST_F(ValueLinkTest, RequestsAreAnsweredAndDoNotBlockOtherChannels)
{
    const uint16_t port = FreePort();
    TTCP& server = Add(1, port, 7);
    SetPinValue(Tx(server), 2.0L);
    SetPinValue(En(server), 5.0L);
    server.MachEsJetzt();
    TTCP& client = Add(0, port, 7);
    SetPinValue(Tx(client), 1.0L);
    SetPinValue(En(client), 5.0L);
    ASSERT_TRUE(StepUntil(All(), [&] { return Rx(client).Value == 2.0L; }));
    EXPECT_EQ(Rx(server).Value, 1.0L);

    TTcpSocket peer;
    ASSERT_TRUE(peer.Connect(QStringLiteral("127.0.0.1"), port, 5000));
    const auto request = valuelink::Encode({valuelink::kRequest, 99, 0.0});
    ASSERT_TRUE(peer.Send(request.data(), request.size()));
    ASSERT_TRUE(StepUntil(All(), [&] { return server.ServerEntry()->RequestedChannel == 99; }));
    SetPinValue(Tx(server), 2.5L);
    std::vector<uint8_t> received;
    ASSERT_TRUE(StepUntil(All(), [&] {
        uint8_t buffer[64];
        const int got = peer.Receive(buffer, sizeof buffer, 0);
        if (got > 0)
            received.insert(received.end(), buffer, buffer + got);
        for (size_t at = 0; at + 16 <= received.size(); at += 16)
            if (auto frame = valuelink::Decode(received.data() + at); frame && frame->Value == 2.5)
                return true;
        return false;
    }));
    EXPECT_TRUE(StepUntil(All(), [&] { return Rx(client).Value == 2.5L; }));
}

TEST_F(ValueLinkTest, ForeignFramesReachOnlyTheirChannel)
{
    const uint16_t port = FreePort();
    TTCP& server = Add(1, port, 7);
    TTcpSocket peer;
    ASSERT_TRUE(peer.Connect(QStringLiteral("127.0.0.1"), port, 5000));
    auto other = valuelink::Encode({valuelink::kValue, 8, 4.0});
    auto unknown = valuelink::Encode({valuelink::kValue, 7, 9.0});
    unknown[10] = 2;
    auto notANumber = valuelink::Encode({valuelink::kValue, 7, 0.0});
    notANumber[9] = 0x7F;
    notANumber[8] = 0xFF;
    notANumber[7] = 0xC0;
    const auto mine = valuelink::Encode({valuelink::kValue, 7, 1.5});
    for (const auto& frame : {other, unknown, notANumber, mine})
        ASSERT_TRUE(peer.Send(frame.data(), frame.size()));
    ASSERT_TRUE(StepUntil(All(), [&] { return Rx(server).Value == 1.5L; }));
    EXPECT_EQ(server.ServerEntry()->Slots.Get(8), 4.0);
    // A frame cut short by the peer's end changes nothing.
    ASSERT_TRUE(peer.Send(valuelink::Encode({valuelink::kValue, 7, 3.0}).data(), 10));
    peer.Close();
    ASSERT_TRUE(StepUntil(All(), [&] { return Cn(server).Value == 0.0L; }));
    EXPECT_EQ(Rx(server).Value, 1.5L);
}

TEST_F(ValueLinkTest, ClientsShareAConnectionPerHostText)
{
    const uint16_t port = FreePort();
    Add(1, port, 0);
    TTCP& a = Add(0, port, 1);
    TTCP& b = Add(0, port, 2);
    TTCP& c = Add(0, port, 3, 0, QStringLiteral("localhost"));
    EXPECT_EQ(a.ClientEntry(), b.ClientEntry());
    EXPECT_NE(a.ClientEntry(), c.ClientEntry());
    EXPECT_EQ(Clients().Count(), 2);
    for (auto& device : devices)
        device->SimStop();
    EXPECT_EQ(Clients().Count(), 0); // every run builds new connections
    EXPECT_EQ(Servers().Count(), 0);
}

TEST_F(ValueLinkTest, AClientWithoutServerRetriesWhenTheMinuteChanges)
{
    const uint16_t port = FreePort();
    TTCP& client = Add(0, port, 0);
    client.MachEsJetzt();
    EXPECT_EQ(Cn(client).Value, 0.0L);
    TTvServer server(port);
    ASSERT_TRUE(server.Listener.Listen(port));
    fake.clock.AdvanceSeconds(59);
    client.MachEsJetzt();
    EXPECT_EQ(Cn(client).Value, 0.0L);
    fake.clock.AdvanceSeconds(1);
    client.MachEsJetzt();
    EXPECT_EQ(Cn(client).Value, 5.0L);
}
