// The Modbus RTU devices' byte stream on the serial driver: a COM number's shared port with the
// device's line settings, bytes both ways through a pty peer, and the ports it cannot give.
#include "hardware/SerialTestSupport.h"

#include "hardware/transport/SerialTransport.h"

#include <chrono>

namespace {

using RtuTransportTest = SerialFixture;

// Waits (at most 5 s) until the transport has count bytes waiting.
bool WaitForBytes(IByteTransport& transport, int32_t count)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (transport.InQueCount() < count && std::chrono::steady_clock::now() < end)
        QThread::msleep(5);
    return transport.InQueCount() >= count;
}

TEST_F(RtuTransportTest, BytesGoBothWaysAndDevicesOnOneComShareThePort)
{
    TPtyPeer peer;
    MapCom(3, peer.Node);
    TSerialLineSettings line;
    line.Baud = 8;  // 19200
    std::shared_ptr<IByteTransport> first = OpenSerialTransport(3, line);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->Connected());
    EXPECT_EQ(first->BaudValue(), 19200);

    const uint8_t request[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B};
    EXPECT_EQ(first->Write(request, 8), 8);
    EXPECT_EQ(peer.Receive(8), std::vector<uint8_t>(request, request + 8));

    std::shared_ptr<IByteTransport> second = OpenSerialTransport(3, line);
    ASSERT_TRUE(second);
    peer.Send(std::vector<uint8_t>{0x01, 0x03, 0x04});
    ASSERT_TRUE(WaitForBytes(*second, 3));
    uint8_t answer[8] = {};
    EXPECT_EQ(first->Read(answer, 8), 3);  // one port: what one device reads is gone for both
    EXPECT_EQ(answer[2], 0x04);
    EXPECT_EQ(second->InQueCount(), 0);

    peer.Send(std::vector<uint8_t>{0xAA});
    ASSERT_TRUE(WaitForBytes(*first, 1));
    first->PurgeIn();
    EXPECT_EQ(first->InQueCount(), 0);
}

TEST_F(RtuTransportTest, NoPortForAMissingDeviceOrAFrameTheLineCannotDo)
{
    MapCom(4, QStringLiteral("/dev/tavrinol-no-such-port"));
    EXPECT_FALSE(OpenSerialTransport(4, TSerialLineSettings()));
    EXPECT_FALSE(OpenSerialTransport(0, TSerialLineSettings()));

    TPtyPeer peer;
    MapCom(5, peer.Node);
    TSerialLineSettings fourBits;
    fourBits.DataBits = 0;  // 4 data bits: no tty has them
    EXPECT_FALSE(OpenSerialTransport(5, fourBits));
}

} // namespace
