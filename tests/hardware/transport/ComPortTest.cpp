// The serial-port object on real pseudo-terminal pairs: opening by COM number, exclusive use,
// the frames a Linux line takes, reads and writes with their limits, events in the GUI thread,
// and a device that goes away.
#include "hardware/SerialTestSupport.h"

#include "hardware/transport/ComPort.h"

#include <termios.h>

namespace {

using ComPortTest = SerialFixture;

std::vector<uint8_t> Bytes(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

} // namespace

TEST_F(ComPortTest, PortNamesAndRates)
{
    EXPECT_EQ(ComPortName(0), QStringLiteral("NoPort"));
    EXPECT_EQ(ComPortName(3), QStringLiteral("COM3"));
    EXPECT_EQ(ComPortName(12), QStringLiteral("COM12"));
    EXPECT_EQ(BaudValue(TBaudRate::Baud110), 110);
    EXPECT_EQ(BaudValue(TBaudRate::Baud56000), 56000);
    EXPECT_EQ(BaudValue(TBaudRate::Baud256000), 256000);
    EXPECT_EQ(BaudList().size(), 15);
    EXPECT_EQ(ComDeviceNode(1), QStringLiteral("/dev/ttyS0"));
    MapCom(5, QStringLiteral("/dev/serial/by-id/usb-adapter"));
    EXPECT_EQ(ComDeviceNode(5), QStringLiteral("/dev/serial/by-id/usb-adapter"));
}

TEST_F(ComPortTest, WritesReadsAndKeepsWhatWasNotAskedFor)
{
    TPtyPeer peer;
    MapCom(3, peer.Node);
    TCate cate;
    cate.SetBaudRate(TBaudRate::Baud19200); // stored while closed, applied at opening
    EXPECT_EQ(cate.Write("x", 1), 0);
    EXPECT_EQ(cate.InQueCount(), -1);
    cate.SetPort(3);
    ASSERT_TRUE(cate.Connected());
    termios tio{};
    ASSERT_EQ(tcgetattr(peer.SlaveDescriptor(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B19200));
    EXPECT_EQ(tio.c_lflag & ICANON, 0u); // raw

    EXPECT_EQ(cate.Write("HELLO\r\n", 7), 7);
    EXPECT_EQ(peer.Receive(7), Bytes("HELLO\r\n"));

    char buffer[8] = {};
    EXPECT_EQ(cate.Read(buffer, 3), 0); // nothing waiting: at once
    peer.Send("12345");
    ASSERT_TRUE(WaitForQueue([&] { return cate.InQueCount(); }, 5));
    EXPECT_EQ(cate.Read(buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 3), "123");
    EXPECT_EQ(cate.InQueCount(), 2);
    cate.PurgeIn();
    EXPECT_EQ(cate.InQueCount(), 0);

    // Queue sizes take effect at the next opening: the same value passes, another is refused.
    EXPECT_NO_THROW(cate.SetReadBufferSize(cate.ReadBufferSize()));
    try {
        cate.SetReadBufferSize(100);
        FAIL() << "no error";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), "Port already assigned (open) (Error: -1) ");
    }
    cate.SetPort(0);
    EXPECT_FALSE(cate.Connected());
    EXPECT_NO_THROW(cate.SetReadBufferSize(100));
}

TEST_F(ComPortTest, SecondOpeningOfAPortFailsAndMissingPortStaysClosed)
{
    TPtyPeer peer;
    MapCom(4, peer.Node);
    MapCom(6, peer.Node);
    TCate first;
    first.SetPort(4);
    ASSERT_TRUE(first.Connected());
    TCate second; // the same device under another number
    second.SetPort(6);
    EXPECT_FALSE(second.Connected());
    EXPECT_EQ(second.LastError(), EWOULDBLOCK);
    first.SetPort(0);
    second.SetPort(6);
    EXPECT_TRUE(second.Connected());

    MapCom(7, folder.path() + QStringLiteral("/no-such-tty"));
    TCate missing;
    missing.SetPort(7);
    EXPECT_FALSE(missing.Connected());
    EXPECT_EQ(missing.LastError(), ENOENT);
    Ctx().CurrentLanguage = 0;
    EXPECT_EQ(SerialErrorText(missing.LastError()), QStringLiteral("Die Schnittstelle gibt es nicht."));
    Ctx().CurrentLanguage = 1;
    EXPECT_EQ(SerialErrorText(missing.LastError()), QStringLiteral("The port does not exist."));
    EXPECT_EQ(missing.Read(nullptr, 0), 0);
    EXPECT_FALSE(missing.GetModemSignal(msCts));
    EXPECT_NO_THROW(missing.SetDTR(true));
    EXPECT_THROW(missing.EscapeFunction(TModemLine::Dtr, true), ECommError);
}

TEST_F(ComPortTest, FramesALinuxLineTakes)
{
    TPtyPeer peer;
    MapCom(2, peer.Node);
    RecordModemLines(); // records the frames too (a pty itself keeps 8 bits without parity)
    TCate cate;
    cate.SetPort(2);
    ASSERT_TRUE(cate.Connected());
    struct TCase {
        TDataBits bits;
        TParity parity;
        TStopBits stop;
        tcflag_t size;
        tcflag_t parityBits;
        bool twoStop;
    };
    const TCase cases[] = {
        {TDataBits::_8, TParity::None, TStopBits::_1, CS8, 0, false},
        {TDataBits::_7, TParity::Even, TStopBits::_2, CS7, PARENB, true},
        {TDataBits::_6, TParity::Odd, TStopBits::_1, CS6, PARENB | PARODD, false},
        {TDataBits::_7, TParity::Mark, TStopBits::_1, CS7, PARENB | PARODD | CMSPAR, false},
        {TDataBits::_8, TParity::Space, TStopBits::_1, CS8, PARENB | CMSPAR, false},
        {TDataBits::_5, TParity::None, TStopBits::_1_5, CS5, 0, true},
    };
    for (const TCase& c : cases) {
        cate.SetDatabits(c.bits);
        cate.SetParity(c.parity);
        cate.SetStopbits(c.stop);
        const uint32_t bits = FrameControlBits(log.Frames.back());
        EXPECT_EQ(bits & CSIZE, c.size) << int(c.bits);
        EXPECT_EQ(bits & (PARENB | PARODD | CMSPAR), c.parityBits) << int(c.parity);
        EXPECT_EQ((bits & CSTOPB) != 0, c.twoStop) << int(c.stop);
    }
    // Every rate of the list is taken (rates without a termios code are set by number).
    for (int rate = 0; rate <= int(TBaudRate::Baud256000); ++rate) {
        EXPECT_NO_THROW(cate.SetBaudRate(TBaudRate(rate))) << BaudValue(TBaudRate(rate));
        EXPECT_EQ(log.Frames.back().Baud, BaudValue(TBaudRate(rate)));
    }
    EXPECT_EQ(FrameControlBits({9600, 8, 0, 0}) & CBAUD, tcflag_t(B9600));
    EXPECT_EQ(FrameControlBits({14400, 8, 0, 0}) & CBAUD, 0x1000u); // the kernel's BOTHER
    // No tty has four data bits: refused, and the port keeps its settings.
    try {
        cate.SetDatabits(TDataBits::_4);
        FAIL() << "no error";
    } catch (const ECommError& e) {
        EXPECT_EQ(e.ErrorCode, kSerialDataBitsRefused);
    }
    EXPECT_EQ(cate.Databits(), TDataBits::_5);
    EXPECT_TRUE(cate.Connected());
}

TEST_F(ComPortTest, LineControlBitsAtOpening)
{
    TPtyPeer peer;
    MapCom(1, peer.Node);
    RecordModemLines();
    struct TCase {
        bool multimeter, gdm;
        std::vector<std::string> calls;
    };
    const TCase cases[] = {
        {true, false, {"SETDTR", "CLRRTS"}},
        {false, true, {"SETRTS", "CLRDTR"}},
        {true, true, {"SETRTS", "CLRDTR"}},
        {false, false, {}},
    };
    for (const TCase& c : cases) {
        log.Calls.clear();
        TCate cate;
        cate.Multimeter = c.multimeter;
        cate.BisteGDM = c.gdm;
        cate.SetPort(1);
        ASSERT_TRUE(cate.Connected());
        EXPECT_EQ(log.Calls, c.calls);
        log.Status = kModemCts | kModemRlsd;
        EXPECT_TRUE(cate.GetModemSignal(msCts));
        EXPECT_FALSE(cate.GetModemSignal(msDsr));
        EXPECT_TRUE(cate.GetModemSignal(msRlsd));
    }
}

TEST_F(ComPortTest, EventsRunInTheGuiThreadInOrder)
{
    TPtyPeer peer;
    MapCom(8, peer.Node);
    TCate cate;
    std::vector<std::string> order;
    cate.OnRxChar = [&](int32_t n) {
        order.push_back("rx" + std::to_string(n));
        char b[16];
        cate.Read(b, n);
    };
    cate.OnReceive = [&] { order.push_back("receive"); };
    cate.OnRxFlag = [&] { order.push_back("flag"); };
    cate.SetPort(8);
    ASSERT_TRUE(cate.Connected());
    peer.Send("ABCD");
    ASSERT_TRUE(WaitForQueue([&] { return cate.InQueCount(); }, 4));
    for (int i = 0; i < 200 && order.empty(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(order, std::vector<std::string>{"rx4"});

    order.clear();
    peer.Send("WXYZ");
    ASSERT_TRUE(WaitForQueue([&] { return cate.InQueCount(); }, 4));
    cate.HandleEvents(evRxChar | evRxFlag);
    EXPECT_EQ(order, (std::vector<std::string>{"rx4", "receive", "flag"}));
}

TEST_F(ComPortTest, WriteThatNobodyTakesEndsAfterItsTimeout)
{
    TPtyPeer peer; // never reads
    MapCom(9, peer.Node);
    TCate cate;
    cate.SetPort(9);
    ASSERT_TRUE(cate.Connected());
    cate.WriteTimeout = 50;
    const std::vector<uint8_t> big(1 << 20, 0x55);
    const int32_t written = cate.Write(big.data(), int32_t(big.size()));
    EXPECT_GT(written, 0);
    EXPECT_LT(written, int32_t(big.size()));
    EXPECT_TRUE(cate.Connected());
}

TEST_F(ComPortTest, DeviceThatGoesAwayClosesThePortAndIsReportedOnce)
{
    TPtyPeer peer;
    MapCom(10, peer.Node);
    TCate cate;
    cate.SetPort(10);
    ASSERT_TRUE(cate.Connected());
    peer.Vanish();
    char b[4];
    EXPECT_EQ(cate.Read(b, 4), 0);
    EXPECT_FALSE(cate.Connected());
    EXPECT_EQ(cate.Read(b, 4), 0);
    EXPECT_EQ(cate.Write("x", 1), 0);
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_TRUE(lost[0].startsWith(QStringLiteral("COM10: ")));
    EXPECT_EQ(cate.LastError(), kSerialHungUp);
}
