// Modbus/TCP devices against a libmodbus slave on 127.0.0.1, and against peers that answer
// late, never, or with broken answers.
#include "comm/CommTestSupport.h"

#include "comm/modbus/ModbusTcp.h"

#include <QByteArray>

#ifndef TAVRINOL_MODBUS_SLAVE
#define TAVRINOL_MODBUS_SLAVE "" // libmodbus missing: the slave tests fail to start it
#endif

namespace {

class ModbusTcpTest : public HardwareFixture {
protected:
    void TearDown() override
    {
        devices.clear();
        if (slave.state() != QProcess::NotRunning) {
            slave.kill();
            slave.waitForFinished(5000);
        }
        HardwareFixture::TearDown();
    }

    uint16_t StartSlave()
    {
        const uint16_t port = FreePort();
        slave.start(QStringLiteral(TAVRINOL_MODBUS_SLAVE), {QString::number(port)});
        EXPECT_TRUE(slave.waitForReadyRead(10000));
        EXPECT_TRUE(slave.readAll().contains("ready"));
        return port;
    }

    template <class TDevice>
    TModbusTCP& Add(uint16_t port, int32_t start, int32_t channels)
    {
        auto device = std::make_unique<TDevice>();
        device->Port = port;
        device->UnitId = 1;
        device->StartAddress = start;
        device->DataPort().Configure(device->FunctionCode, channels);
        device->BuildPinList();
        devices.push_back(std::move(device));
        devices.back()->SimStart();
        return *devices.back();
    }

    static Extended Err(TModbusTCP& d) { return PortPin(d, 1, 0).Value; }
    static Extended Cn(TModbusTCP& d) { return PortPin(d, 1, 1).Value; }
    static Extended Bsy(TModbusTCP& d) { return PortPin(d, 1, 2).Value; }
    static bool Idle(TModbusTCP& d) { return !d.Pending && ModbusTcpInFlight() != &d; }

    // One request from a clock edge to its answer or failure.
    bool Request(TModbusTCP& d)
    {
        ClockEdge(d, PortPin(d, 0, 0));
        return StepUntil({&d}, [&d] { return Idle(d); });
    }

    static void SetData(TModbusTCP& d, const std::vector<Extended>& values)
    {
        for (size_t i = 0; i < values.size(); ++i)
            SetPinValue(*d.DataPort().Pins.at(i), values[i]);
    }
    static std::vector<Extended> Data(TModbusTCP& d)
    {
        std::vector<Extended> values;
        for (const auto& pin : d.DataPort().Pins)
            values.push_back(pin->Value);
        return values;
    }

    QProcess slave;
    std::vector<std::unique_ptr<TModbusTCP>> devices;
};

} // namespace

TEST_F(ModbusTcpTest, WritesReachTheSlaveAndReadsComeBack)
{
    const uint16_t port = StartSlave();
    TModbusTCP& writeRegs = Add<TModbus_WriteRegs>(port, 1, 3);
    TModbusTCP& writeReg = Add<TModbus_WriteSingleReg>(port, 4, 1);
    TModbusTCP& readRegs = Add<TModbus_ReadRegs>(port, 1, 4);
    TModbusTCP& readInputs = Add<TModbus_ReadInputRegs>(port, 3, 2);
    TModbusTCP& writeCoils = Add<TModbus_WriteCoils>(port, 1, 10);
    TModbusTCP& writeCoil = Add<TModbus_WriteSingleCoil>(port, 12, 1);
    TModbusTCP& readCoils = Add<TModbus_ReadCoils>(port, 1, 12);
    TModbusTCP& readDiscrete = Add<TModbus_ReadDiscreteInputs>(port, 1, 4);
    // Every device names the same host and port: one connection.
    for (auto& device : devices)
        EXPECT_EQ(device->ClientEntry(), writeRegs.ClientEntry());
    EXPECT_EQ(Cn(readRegs), 0.0L);

    SetData(writeRegs, {7, 70000, 2.5L});
    SetData(writeReg, {1234});
    SetData(writeCoils, {5, 0, 5, 0, 0, 0, 0, 0, 5, 5});
    SetData(writeCoil, {4});
    for (TModbusTCP* d : {&writeRegs, &writeReg, &writeCoils, &writeCoil, &readRegs, &readInputs,
                          &readCoils, &readDiscrete}) {
        ASSERT_TRUE(Request(*d)) << d->Name.toStdString();
        EXPECT_EQ(Err(*d), 0.0L) << d->Name.toStdString();
        EXPECT_EQ(Bsy(*d), 0.0L);
        EXPECT_TRUE(d->StatusMessage().isEmpty());
    }
    EXPECT_EQ(Data(readRegs), (std::vector<Extended>{7, 65535, 2, 1234}));
    EXPECT_EQ(Data(readInputs), (std::vector<Extended>{1002, 1003}));
    EXPECT_EQ(Data(readCoils), (std::vector<Extended>{5, 0, 5, 0, 0, 0, 0, 0, 5, 5, 0, 5}));
    EXPECT_EQ(Data(readDiscrete), (std::vector<Extended>{0, 5, 0, 5}));
    EXPECT_EQ(Cn(readRegs), 5.0L);
}

TEST_F(ModbusTcpTest, AnExceptionAnswerKeepsTheData)
{
    const uint16_t port = StartSlave();
    TModbusTCP& read = Add<TModbus_ReadRegs>(port, 200, 2);
    SetData(read, {11, 12});
    ASSERT_TRUE(Request(read));
    EXPECT_EQ(Err(read), 258.0L); // illegal data address
    EXPECT_EQ(Data(read), (std::vector<Extended>{11, 12}));
    EXPECT_FALSE(read.StatusMessage().isEmpty());
}

TEST_F(ModbusTcpTest, DevicesClockedInOneStepTakeTurns)
{
    const uint16_t port = StartSlave();
    TModbusTCP& first = Add<TModbus_ReadInputRegs>(port, 1, 1);
    TModbusTCP& second = Add<TModbus_ReadInputRegs>(port, 2, 1);
    for (Extended level : {5.0L, 0.0L}) {
        SetPinValue(PortPin(first, 0, 0), level);
        SetPinValue(PortPin(second, 0, 0), level);
        first.MachEsJetzt();
        second.MachEsJetzt();
    }
    first.MachEsJetzt();
    second.MachEsJetzt();
    EXPECT_EQ(ModbusTcpInFlight(), &first);
    EXPECT_TRUE(second.Pending);
    ASSERT_TRUE(StepUntil({&first, &second}, [&] { return Idle(first) && Idle(second); }));
    EXPECT_EQ(first.DataPort().Pins[0]->Value, 1000.0L);
    EXPECT_EQ(second.DataPort().Pins[0]->Value, 1001.0L);
}

TEST_F(ModbusTcpTest, ASilentPeerFailsAfterTheResponseTimeout)
{
    TTcpListener silent([](TTcpSocket&, std::vector<uint8_t>& pending) {
        pending.clear();
        return true;
    });
    const uint16_t port = FreePort();
    ASSERT_TRUE(silent.Listen(port));
    TModbusTCP& read = Add<TModbus_ReadRegs>(port, 1, 1);
    read.ReadTimeout = 500;
    ClockEdge(read, PortPin(read, 0, 0));
    read.MachEsJetzt();
    ASSERT_EQ(ModbusTcpInFlight(), &read);
    EXPECT_EQ(Bsy(read), 5.0L);
    for (int64_t ms : {0, 250, 250}) {
        fake.clock.AdvanceMs(ms);
        read.MachEsJetzt();
        EXPECT_EQ(ModbusTcpInFlight(), &read) << ms;
    }
    fake.clock.AdvanceMs(1);
    read.MachEsJetzt();
    EXPECT_EQ(ModbusTcpInFlight(), nullptr);
    EXPECT_EQ(Err(read), 5.0L);
    EXPECT_EQ(Bsy(read), 0.0L);
    EXPECT_FALSE(read.StatusMessage().isEmpty());
}

// A peer that answers each request of "read 2 holding registers" with the given bytes (the
// request's transaction number in front), in two pieces when split is set.
TEST_F(ModbusTcpTest, BrokenAnswersLeaveThePinsAndSayWhy)
{
    struct Case {
        const char* Answer; // after the transaction number
        bool Split; // in two pieces, 30 ms apart
        bool Close; // the peer closes the connection after answering
        int32_t Err;
        std::vector<Extended> Data;
    };
    const Case cases[] = {
        {"00 00 00 07 01 03 04 00 0A 00 0B", false, false, 0, {10, 11}},
        {"00 00 00 07 01 03 04 00 0A 00 0B", true, false, 0, {10, 11}},
        {"00 00 00 07 01 03 04 00 0A 00", true, true, 5, {1, 2}}, // one byte short
        {"00 00 FF FF 01 03 04 00 0A 00 0B", false, false, 512, {1, 2}},
        {"00 00 00 07 09 03 04 00 0A 00 0B", false, false, 512, {1, 2}},
        {"00 00 00 05 01 03 02 00 0A", false, false, 512, {1, 2}},
        {"00 00 00 03 01 90 01", false, false, 512, {1, 2}},
    };
    for (const Case& c : cases) {
        const QByteArray tail = QByteArray::fromHex(QByteArray(c.Answer).replace(' ', ""));
        TTcpListener peer([&](TTcpSocket& connection, std::vector<uint8_t>& pending) {
            if (pending.size() < 12)
                return true;
            std::vector<uint8_t> answer{pending[0], pending[1]};
            answer.insert(answer.end(), tail.begin(), tail.end());
            pending.clear();
            const size_t first = c.Split ? 5 : answer.size();
            connection.Send(answer.data(), first);
            if (c.Split) {
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                connection.Send(answer.data() + first, answer.size() - first);
            }
            return !c.Close;
        });
        const uint16_t port = FreePort();
        ASSERT_TRUE(peer.Listen(port));
        TModbusTCP& read = Add<TModbus_ReadRegs>(port, 1, 2);
        SetData(read, {1, 2});
        ASSERT_TRUE(Request(read)) << c.Answer;
        EXPECT_EQ(Err(read), Extended(c.Err)) << c.Answer;
        EXPECT_EQ(Data(read), c.Data) << c.Answer;
        EXPECT_EQ(read.StatusMessage().isEmpty(), c.Err == 0) << c.Answer;
        devices.clear();
    }
}

TEST_F(ModbusTcpTest, WithoutAServerItRetriesAtSecondsZeroAndThirty)
{
    const uint16_t port = FreePort();
    TModbusTCP& read = Add<TModbus_ReadRegs>(port, 1, 1);
    read.MachEsJetzt();
    EXPECT_EQ(Err(read), 768.0L);
    EXPECT_EQ(Cn(read), 0.0L);
    TTcpListener server([](TTcpSocket&, std::vector<uint8_t>& pending) {
        pending.clear();
        return true;
    });
    ASSERT_TRUE(server.Listen(port));
    fake.clock.AdvanceSeconds(10);
    read.MachEsJetzt();
    EXPECT_EQ(Cn(read), 0.0L);
    fake.clock.AdvanceSeconds(20);
    read.MachEsJetzt();
    EXPECT_EQ(Cn(read), 5.0L);
}

// A late answer to an earlier request arrives in front of the answer to this one: it is passed
// over, and the right answer is taken.
TEST_F(ModbusTcpTest, ALateAnswerInFrontOfTheRightOneIsPassedOver)
{
    TTcpListener peer([](TTcpSocket& connection, std::vector<uint8_t>& pending) {
        if (pending.size() < 12)
            return true;
        const uint16_t transaction = uint16_t(pending[0] << 8 | pending[1]);
        const uint16_t late = uint16_t(transaction - 1);
        std::vector<uint8_t> answers = {uint8_t(late >> 8), uint8_t(late), 0, 0, 0, 7, 1, 3, 4,
                                        0, 99, 0, 99};
        const std::vector<uint8_t> right = {pending[0], pending[1], 0, 0, 0, 7, 1, 3, 4,
                                            0, 10, 0, 11};
        answers.insert(answers.end(), right.begin(), right.end());
        pending.clear();
        return connection.Send(answers);
    });
    const uint16_t port = FreePort();
    ASSERT_TRUE(peer.Listen(port));
    TModbusTCP& read = Add<TModbus_ReadRegs>(port, 1, 2);
    for (int i = 0; i < 2; ++i) {
        SetData(read, {1, 2});
        ASSERT_TRUE(Request(read));
        EXPECT_EQ(Err(read), 0.0L) << read.StatusMessage().toStdString();
        EXPECT_EQ(Data(read), (std::vector<Extended>{10, 11}));
    }
}

// A peer that sends without end, late answers or bytes that are no answer: every step comes
// back while it still sends, the request fails after its time-out or as unreadable, and the
// run goes on.
TEST_F(ModbusTcpTest, APeerThatKeepsSendingNeverHoldsTheStep)
{
    const std::vector<uint8_t> late = {0xFF, 0xFF, 0, 0, 0, 5, 1, 3, 2, 0, 10};
    const std::vector<uint8_t> noise(4096, 0x00);
    for (const std::vector<uint8_t>& chunk : {late, noise}) {
        TFloodingPeer peer(chunk);
        TModbusTCP& read = Add<TModbus_ReadRegs>(peer.Port, 1, 1);
        read.ReadTimeout = 100;
        ASSERT_TRUE(read.ClientEntry()->Socket.Connected());
        // The peer has filled what the connection holds and keeps sending.
        ASSERT_TRUE(StepUntil({}, [&] { return peer.Sent() > 256 * 1024; }));
        ClockEdge(read, PortPin(read, 0, 0));
        // The request's step drops a bounded share of what came before it, not all of it.
        peer.Pause();
        const int fd = read.ClientEntry()->Socket.Descriptor();
        ASSERT_GT(WaitingBytes(fd), int(2 * TTcpSocket::kPurgeBytes));
        read.MachEsJetzt();
        EXPECT_EQ(ModbusTcpInFlight(), &read);
        EXPECT_GT(WaitingBytes(fd), 0) << "the step read all the peer had sent";
        peer.Resume();
        for (int step = 0; step < 20 && !Idle(read); ++step) {
            read.MachEsJetzt();
            ASSERT_TRUE(peer.StillSending()) << "a step waited until the peer gave up";
            fake.clock.AdvanceMs(10);
        }
        EXPECT_TRUE(Idle(read));
        // No answer in time, or bytes that are no answer (the purge before the request may
        // leave the peer's stream cut in the middle of one of its late answers).
        EXPECT_TRUE(Err(read) == 5.0L || Err(read) == 512.0L) << double(Err(read));
        EXPECT_EQ(Bsy(read), 0.0L);
        EXPECT_GT(peer.Sent(), 0);
        devices.clear();
    }
}
