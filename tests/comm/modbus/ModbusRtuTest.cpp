// Modbus RTU devices on their COM ports, with scripted devices that answer their requests:
// answers in time and in parts, silence, corrupted answers, and two devices that must take
// turns.
#include "comm/CommTestSupport.h"

#include "comm/modbus/ModbusRtu.h"
#include "hardware/transport/SerialTransport.h"
#include "fakes/ScriptedSerialDevice.h"
#include "hardware/transport/SerialInterface.h"
#include "platform/MessageBox.h"

#include <QProcess>

#include <deque>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#ifndef TAVRINOL_MODBUS_SLAVE
#define TAVRINOL_MODBUS_SLAVE "" // libmodbus missing: the slave test fails to start it
#endif

namespace {

// The master side of a pseudo terminal, the other side being the slave's serial line.
class TPtyLine : public IByteTransport {
public:
    TPtyLine()
    {
        m_fd = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_fd < 0 || grantpt(m_fd) != 0 || unlockpt(m_fd) != 0)
            return;
        termios raw{};
        tcgetattr(m_fd, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_fd, TCSANOW, &raw);
        fcntl(m_fd, F_SETFL, O_NONBLOCK);
        Device = QString::fromLatin1(ptsname(m_fd));
    }
    ~TPtyLine() override
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool Connected() override { return m_fd >= 0; }
    int32_t Write(const uint8_t* data, int32_t count) override
    {
        return int32_t(write(m_fd, data, size_t(count)));
    }
    int32_t InQueCount() override
    {
        int n = 0;
        return ioctl(m_fd, FIONREAD, &n) == 0 ? n : -1;
    }
    int32_t Read(uint8_t* data, int32_t count) override
    {
        const ssize_t n = read(m_fd, data, size_t(count));
        return n > 0 ? int32_t(n) : 0;
    }
    void PurgeIn() override
    {
        uint8_t scratch[256];
        while (Read(scratch, sizeof scratch) > 0) {
        }
    }
    int32_t BaudValue() override { return 9600; }
    QString Device;

private:
    int m_fd = -1;
};

std::vector<uint8_t> Hex(const char* text)
{
    const QByteArray bytes = QByteArray::fromHex(QByteArray(text).replace(' ', ""));
    return {bytes.begin(), bytes.end()};
}

class ModbusRtuTest : public HardwareFixture {
protected:
    void SetUp() override
    {
        HardwareFixture::SetUp();
        FreeComTable();
        ports.Attach(1, com1);
        ports.Attach(2, com2);
        SerialTransportOpener() = OpenSerialTransport;
    }
    void TearDown() override
    {
        devices.clear();
        FreeComTable();
        SerialTransportOpener() = nullptr;
        HardwareFixture::TearDown();
    }

    template <class TDevice>
    TModbusRTU& Add(int32_t com, int32_t channels, Extended unit = 1)
    {
        auto device = std::make_unique<TDevice>();
        device->ComNumber = com;
        device->ResponseTimeout = 500;
        device->DataPort().Configure(device->FunctionCode, channels);
        device->BuildPinList();
        SetPinValue(PortPin(*device, 0, 0), unit);
        devices.push_back(std::move(device));
        devices.back()->SimStart();
        return *devices.back();
    }
    // A clock edge and the step that sends.
    static void Send(TModbusRTU& d)
    {
        ClockEdge(d, PortPin(d, 0, 1));
        d.MachEsJetzt();
    }
    static Extended Err(TModbusRTU& d) { return PortPin(d, 1, 0).Value; }
    static Extended Cn(TModbusRTU& d) { return PortPin(d, 1, 1).Value; }
    static Extended Bsy(TModbusRTU& d) { return PortPin(d, 1, 2).Value; }
    static std::vector<Extended> Data(TModbusRTU& d)
    {
        std::vector<Extended> values;
        for (const auto& pin : d.DataPort().Pins)
            values.push_back(pin->Value);
        return values;
    }

    TScriptedSerialDevice com1, com2;
    TScriptedSerialPorts ports;
    std::vector<std::unique_ptr<TModbusRTU>> devices;
};

} // namespace

TEST_F(ModbusRtuTest, AnAnswerFillsThePinsAsSoonAsItIsComplete)
{
    const std::vector<uint8_t> request = Hex("01 03 00 00 00 02 C4 0B");
    const std::vector<uint8_t> answer = modbus::RtuRequest(1, Hex("03 04 00 0A 00 0B"));
    com1.Expect(request).Answer(answer, 30);
    TModbusRTU& read = Add<TModbusRTU_ReadRegs>(1, 2);
    ASSERT_FALSE(com1.Frames.empty());
    EXPECT_EQ(com1.Frames.back().Baud, 9600);
    Send(read);
    EXPECT_EQ(com1.Received, request);
    EXPECT_EQ(Bsy(read), 5.0L);
    EXPECT_EQ(ModbusRtuInFlight(), &read);
    read.MachEsJetzt();
    EXPECT_TRUE(read.Waiting); // the answer is not due yet
    fake.clock.AdvanceMs(30);
    read.MachEsJetzt(); // the first byte ends the wait
    read.MachEsJetzt(); // the answer is read
    EXPECT_TRUE(com1.ScriptDone());
    EXPECT_EQ(Err(read), 0.0L);
    EXPECT_EQ(Cn(read), 5.0L);
    EXPECT_EQ(Bsy(read), 0.0L);
    EXPECT_EQ(Data(read), (std::vector<Extended>{10, 11}));
    EXPECT_EQ(ModbusRtuInFlight(), nullptr);

    // An answer in two parts, 5 ms apart, is one answer.
    SetPinValue(*read.DataPort().Pins[0], 0.0L);
    com1.Expect(request)
        .Answer({answer.begin(), answer.begin() + 3}, 10)
        .Answer({answer.begin() + 3, answer.end()}, 15);
    Send(read);
    fake.clock.AdvanceMs(10);
    read.MachEsJetzt(); // the first part ends the wait
    read.MachEsJetzt(); // the first part is read; the rest is awaited
    EXPECT_EQ(Bsy(read), 5.0L);
    fake.clock.AdvanceMs(5);
    read.MachEsJetzt();
    EXPECT_EQ(Err(read), 0.0L);
    EXPECT_EQ(Data(read), (std::vector<Extended>{10, 11}));

    // An exception answer keeps the data.
    com1.Expect(request).Answer(modbus::RtuRequest(1, Hex("83 02")));
    Send(read);
    read.MachEsJetzt();
    read.MachEsJetzt();
    EXPECT_EQ(Err(read), 258.0L);
    EXPECT_EQ(Data(read), (std::vector<Extended>{10, 11}));
    EXPECT_TRUE(com1.Unexpected.empty());
}

TEST_F(ModbusRtuTest, TheUnitPinIsClampedAndZeroBroadcasts)
{
    TModbusRTU& write = Add<TModbusRTU_WriteSingleReg>(1, 1, 300.0L);
    Send(write);
    EXPECT_EQ(com1.Received.at(0), 255);
    EXPECT_EQ(ModbusRtuInFlight(), &write);
    fake.clock.AdvanceMs(501);
    write.MachEsJetzt();
    write.MachEsJetzt();
    com1.Received.clear();
    SetPinValue(PortPin(write, 0, 0), -1.0L);
    Send(write);
    EXPECT_EQ(com1.Received.at(0), 0);
    EXPECT_EQ(ModbusRtuInFlight(), nullptr); // no answer awaited
    EXPECT_EQ(Err(write), 0.0L);
    EXPECT_EQ(Bsy(write), 0.0L);
}

TEST_F(ModbusRtuTest, ASilentSlaveGivesNoAnswerAfterTheTimeout)
{
    com1.Expect(modbus::RtuRequest(1, Hex("01 00 00 00 04"))); // and no answer
    TModbusRTU& read = Add<TModbusRTU_ReadCoils>(1, 4);
    Send(read);
    EXPECT_TRUE(com1.ScriptDone());
    fake.clock.AdvanceMs(500);
    read.MachEsJetzt();
    EXPECT_TRUE(read.Waiting);
    fake.clock.AdvanceMs(1);
    read.MachEsJetzt();
    EXPECT_FALSE(read.Waiting);
    EXPECT_EQ(Cn(read), 0.0L);
    EXPECT_EQ(Bsy(read), 5.0L);
    read.MachEsJetzt();
    EXPECT_EQ(Err(read), 512.0L);
    EXPECT_EQ(Bsy(read), 0.0L);
    EXPECT_EQ(ModbusRtuInFlight(), nullptr);
}

// Answers to "read 2 holding registers of unit 1" that must not become data.
TEST_F(ModbusRtuTest, CorruptedAnswersLeaveThePinsAndSayWhy)
{
    std::vector<uint8_t> badCrc = modbus::RtuRequest(1, Hex("03 04 00 0A 00 0B"));
    badCrc[4] ^= 0x10;
    std::vector<uint8_t> cut = modbus::RtuRequest(1, Hex("03 04 00 0A 00 0B"));
    cut.pop_back();
    const std::vector<std::vector<uint8_t>> answers = {
        badCrc,
        cut,
        modbus::RtuRequest(7, Hex("03 04 00 0A 00 0B")),
        modbus::RtuRequest(1, Hex("03 02 00 0A")),
        std::vector<uint8_t>(300, 0x01), // longer than any frame
    };
    TModbusRTU& read = Add<TModbusRTU_ReadRegs>(1, 2);
    for (const std::vector<uint8_t>& answer : answers) {
        SetPinValue(*read.DataPort().Pins[0], 1.0L);
        SetPinValue(*read.DataPort().Pins[1], 2.0L);
        com1.Expect(Hex("01 03 00 00 00 02 C4 0B")).Answer(answer);
        Send(read);
        read.MachEsJetzt(); // the first byte ends the wait
        read.MachEsJetzt(); // what is there is read
        // The rest of a frame may follow within 200 bit times; after that it is taken as it is.
        fake.clock.AdvanceMs(21);
        read.MachEsJetzt();
        EXPECT_EQ(ModbusRtuInFlight(), nullptr) << answer.size();
        EXPECT_EQ(Err(read), 512.0L) << answer.size();
        EXPECT_EQ(Bsy(read), 0.0L);
        EXPECT_EQ(Data(read), (std::vector<Extended>{1, 2}));
        EXPECT_FALSE(read.StatusMessage().isEmpty());
    }
    EXPECT_TRUE(com1.ScriptDone());
}

TEST_F(ModbusRtuTest, DevicesOnTwoPortsTakeTurns)
{
    const std::vector<uint8_t> request = modbus::RtuRequest(1, Hex("04 00 00 00 01"));
    com1.Expect(request).Answer(modbus::RtuRequest(1, Hex("04 02 00 2A")), 10);
    com2.Expect(request);
    TModbusRTU& first = Add<TModbusRTU_ReadInputRegs>(1, 1);
    TModbusRTU& second = Add<TModbusRTU_ReadInputRegs>(2, 1);
    for (Extended level : {5.0L, 0.0L, 0.0L}) {
        SetPinValue(PortPin(first, 0, 1), level);
        SetPinValue(PortPin(second, 0, 1), level);
        first.MachEsJetzt();
        second.MachEsJetzt();
    }
    EXPECT_EQ(com1.Received, request);
    EXPECT_TRUE(com2.Received.empty());
    EXPECT_TRUE(second.Pending);
    fake.clock.AdvanceMs(10);
    for (int step = 0; step < 3; ++step) {
        first.MachEsJetzt();
        second.MachEsJetzt();
    }
    EXPECT_EQ(Data(first), (std::vector<Extended>{42}));
    EXPECT_EQ(com2.Received, request);
    EXPECT_EQ(ModbusRtuInFlight(), &second);
}

TEST_F(ModbusRtuTest, WithoutAPortNothingIsSent)
{
    SerialTransportOpener() = [](int32_t, const TSerialLineSettings&) {
        return std::shared_ptr<IByteTransport>();
    };
    TScopedMessageResponder responder;
    TModbusRTU& read = Add<TModbusRTU_ReadRegs>(3, 1);
    ASSERT_EQ(responder.Requests().size(), 1u); // the port that does not open is reported
    Send(read);
    EXPECT_EQ(Err(read), 768.0L);
    EXPECT_EQ(ModbusRtuInFlight(), nullptr);
}

// A libmodbus RTU slave on the other side of a pseudo terminal.
TEST_F(ModbusRtuTest, ALibmodbusSlaveAnswersOverASerialLine)
{
    auto line = std::make_shared<TPtyLine>();
    ASSERT_FALSE(line->Device.isEmpty());
    QProcess slave;
    slave.start(QStringLiteral(TAVRINOL_MODBUS_SLAVE), {QStringLiteral("rtu"), line->Device});
    ASSERT_TRUE(slave.waitForReadyRead(10000));
    ASSERT_TRUE(slave.readAll().contains("ready"));
    SerialTransportOpener() = [line](int32_t, const TSerialLineSettings&) { return line; };
    TModbusRTU& write = Add<TModbusRTU_WriteRegs>(1, 3);
    TModbusRTU& read = Add<TModbusRTU_ReadRegs>(1, 3);
    TModbusRTU& inputs = Add<TModbusRTU_ReadInputRegs>(1, 2);
    for (size_t i = 0; i < 3; ++i)
        SetPinValue(*write.DataPort().Pins[i], Extended(100 * (i + 1)));
    for (TModbusRTU* d : {&write, &read, &inputs}) {
        Send(*d);
        ASSERT_TRUE(StepUntil({d}, [d] { return ModbusRtuInFlight() != d; }))
            << d->Name.toStdString();
        EXPECT_EQ(Err(*d), 0.0L) << d->Name.toStdString();
    }
    EXPECT_EQ(Data(read), (std::vector<Extended>{100, 200, 300}));
    EXPECT_EQ(Data(inputs), (std::vector<Extended>{1000, 1001}));
    slave.kill();
    slave.waitForFinished(5000);
}
