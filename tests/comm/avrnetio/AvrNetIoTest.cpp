// The AVR-NET-IO board's commands and answers as tables, and the device against a scripted
// board on 127.0.0.1: one port per step, changed outputs only, answers that are nonsense, a
// board that stays silent and one that cannot be reached.
#include "comm/CommTestSupport.h"

#include "comm/avrnetio/AvrNetIo.h"
#include "comm/avrnetio/AvrNetIoProtocol.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>

#include <cmath>
#include <functional>
#include <mutex>

namespace {

using namespace avrnetio;

// The board: every piece of text that arrives is one command; the script gives the answer line
// (nothing: the board stays silent).
class TScriptedBoard {
public:
    using TScript = std::function<std::optional<std::string>(const std::string& command)>;

    explicit TScriptedBoard(TScript script)
        : m_script(std::move(script)),
          m_listener([this](TTcpSocket& connection, std::vector<uint8_t>& pending) {
              if (pending.empty())
                  return true;
              const std::string command(pending.begin(), pending.end());
              pending.clear();
              std::optional<std::string> answer;
              {
                  std::lock_guard<std::mutex> guard(m_lock);
                  m_commands.push_back(command);
                  answer = m_script(command);
              }
              if (answer) {
                  const std::string line = *answer + "\r\n";
                  connection.Send(reinterpret_cast<const uint8_t*>(line.data()), line.size());
              }
              return true;
          })
    {
        port = FreePort();
        EXPECT_TRUE(m_listener.Listen(port));
    }
    ~TScriptedBoard() { m_listener.Stop(); }

    // The commands received since the last call.
    std::vector<std::string> Take()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return std::exchange(m_commands, {});
    }
    void SetScript(TScript script)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_script = std::move(script);
    }

    uint16_t port = 0;

private:
    std::mutex m_lock;
    TScript m_script;
    std::vector<std::string> m_commands;
    TTcpListener m_listener;
};

// A board whose inputs read: ADC k gives 100 x k, input k is high for odd k.
std::optional<std::string> GoodBoard(const std::string& command)
{
    if (command.rfind("GETADC ", 0) == 0)
        return std::to_string(100 * std::stoi(command.substr(7)));
    if (command.rfind("GETPORT ", 0) == 0)
        return std::stoi(command.substr(8)) % 2 ? "1" : "0";
    if (command.rfind("SETPORT ", 0) == 0)
        return "ACK";
    return "?";
}

class AvrNetIoTest : public HardwareFixture {
protected:
    void TearDown() override
    {
        device.reset();
        HardwareFixture::TearDown();
    }
    TNetAVRTCP& Make(uint16_t port)
    {
        device = std::make_unique<TNetAVRTCP>();
        device->Host = QStringLiteral("127.0.0.1");
        device->Port = port;
        device->ReadTimeout = 200;
        return *device;
    }
    TPin& Analog(int n) { return *device->AnalogPort().Pins[size_t(n)]; }
    TPin& Output(int n) { return *device->OutputPort().Pins[size_t(n)]; }
    TPin& Input(int n) { return *device->InputPort().Pins[size_t(n)]; }

    std::unique_ptr<TNetAVRTCP> device;
    TScopedMessageResponder messages;
};

} // namespace

TEST(AvrNetIoProtocol, CommandsAndAnswers)
{
    EXPECT_EQ(SetPortCommand(3, true), "SETPORT 3.1");
    EXPECT_EQ(SetPortCommand(8, false), "SETPORT 8.0");
    EXPECT_EQ(GetPortCommand(4), "GETPORT 4");
    EXPECT_EQ(GetAdcCommand(1), "GETADC 1");

    const std::pair<const char*, std::optional<bool>> digital[] = {
        {"1", true}, {"0", false}, {"1\r", true}, {"0 ", false}, {"", std::nullopt},
        {"x1", std::nullopt}, {" 1", std::nullopt}};
    for (const auto& [line, level] : digital)
        EXPECT_EQ(DigitalAnswer(line), level) << line;

    const std::pair<const char*, std::optional<int>> adc[] = {
        {"512", 512}, {"0", 0}, {"1023\r", 1023}, {" 7 ", 7}, {"1024", std::nullopt},
        {"12.5", std::nullopt}, {"-1", std::nullopt}, {"", std::nullopt}, {"abc", std::nullopt},
        {"00512", std::nullopt}};
    for (const auto& [line, count] : adc)
        EXPECT_EQ(AdcAnswer(line), count) << line;

    const struct {
        int count, vref;
        double volts;
    } volts[] = {{512, 5000, 2.502}, {512, 2560, 1.281}, {1023, 5000, 5.0}, {0, 5000, 0.0}};
    for (const auto& v : volts)
        EXPECT_NEAR(double(AdcVolts(v.count, v.vref)), v.volts, 0.0005) << v.count << " " << v.vref;
}

TEST_F(AvrNetIoTest, EachStepServesTheNextPortAndOutputsSendOnlyChanges)
{
    TScriptedBoard board(GoodBoard);
    TNetAVRTCP& d = Make(board.port);
    EXPECT_EQ(d.Ports.size(), 3u);
    EXPECT_EQ(d.OutputCount, 8);
    SetPinValue(Output(0), 5.0L);
    d.SimStart();
    ASSERT_TRUE(d.ClientEntry() && d.ClientEntry()->Socket.Connected());

    struct Step {
        int phase; // served in this step
        std::vector<std::string> commands;
    } steps[] = {
        {0, {"GETADC 1", "GETADC 1", "GETADC 2", "GETADC 3", "GETADC 4"}},
        // The first exchange of the outputs sends every level.
        {1, {"SETPORT 1.1", "SETPORT 2.0", "SETPORT 3.0", "SETPORT 4.0", "SETPORT 5.0",
             "SETPORT 6.0", "SETPORT 7.0", "SETPORT 8.0"}},
        {2, {"GETPORT 1", "GETPORT 2", "GETPORT 3", "GETPORT 4"}},
        {0, {"GETADC 1", "GETADC 1", "GETADC 2", "GETADC 3", "GETADC 4"}},
        {1, {}}, // nothing changed
    };
    for (const Step& s : steps) {
        EXPECT_EQ(d.Phase(), s.phase);
        d.MachEsJetzt();
        EXPECT_EQ(board.Take(), s.commands) << s.phase;
    }
    // DO2 rising: one command.
    SetPinValue(Output(2), 5.0L);
    d.MachEsJetzt(); // inputs
    board.Take();
    d.MachEsJetzt(); // analog
    board.Take();
    d.MachEsJetzt(); // outputs
    EXPECT_EQ(board.Take(), std::vector<std::string>({"SETPORT 3.1"}));

    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(double(Analog(k).Value), 100.0 * (k + 1) * 5.0 / 1023.0, 1e-9) << k;
        EXPECT_EQ(GetPinDigital(Input(k)), k % 2 == 0) << k; // inputs 1 and 3 are high
    }
    d.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(AvrNetIoTest, RequestDelayPacesTheExchanges)
{
    TScriptedBoard board(GoodBoard);
    TNetAVRTCP& d = Make(board.port);
    d.RequestDelay = 300; // one port per 100 ms
    d.SimStart();
    d.MachEsJetzt();
    EXPECT_TRUE(board.Take().empty());
    fake.clock.AdvanceMs(99);
    d.MachEsJetzt();
    EXPECT_TRUE(board.Take().empty());
    fake.clock.AdvanceMs(1);
    d.MachEsJetzt();
    EXPECT_EQ(board.Take().size(), 5u); // the analog inputs
    d.MachEsJetzt();
    EXPECT_TRUE(board.Take().empty());
    d.SimStop();
}

TEST_F(AvrNetIoTest, NonsenseAnswersLeaveThePinsAndAreToldOnce)
{
    TScriptedBoard board(GoodBoard);
    TNetAVRTCP& d = Make(board.port);
    d.SimStart();
    for (int i = 0; i < 3; ++i)
        d.MachEsJetzt(); // a good cycle first
    board.SetScript([](const std::string& command) -> std::optional<std::string> {
        if (command == "GETADC 2")
            return "ERROR";
        if (command == "GETPORT 1")
            return "?";
        return GoodBoard(command);
    });
    const Extended analog = Analog(1).Value;
    for (int i = 0; i < 6; ++i)
        d.MachEsJetzt();
    EXPECT_EQ(Analog(1).Value, analog);
    EXPECT_TRUE(GetPinDigital(Input(0)));
    EXPECT_NEAR(double(Analog(2).Value), 300.0 * 5.0 / 1023.0, 1e-9);
    EXPECT_TRUE(d.ClientEntry()->Socket.Connected()); // nonsense is no broken connection
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("ERROR")));
    EXPECT_FALSE(d.StatusMessage().isEmpty());
    d.SimStop();
}

TEST_F(AvrNetIoTest, ASilentBoardIsLeftAndTriedAgainAtTheHalfMinute)
{
    TScriptedBoard board([](const std::string&) { return std::nullopt; });
    TNetAVRTCP& d = Make(board.port);
    d.SimStart();
    SetPinValue(Analog(0), 1.5L);
    d.MachEsJetzt(); // waits 200 ms for the first answer, then gives up
    EXPECT_FALSE(d.ClientEntry()->Socket.Connected());
    EXPECT_EQ(Analog(0).Value, 1.5L);
    EXPECT_EQ(board.Take().size(), 1u);

    // Not before second 30 of the minute.
    fake.clock.AdvanceMs(1000);
    board.SetScript(GoodBoard);
    d.MachEsJetzt();
    EXPECT_FALSE(d.ClientEntry()->Socket.Connected());
    fake.clock.AdvanceMs(29000);
    d.MachEsJetzt();
    ASSERT_TRUE(d.ClientEntry()->Socket.Connected());
    d.MachEsJetzt();
    EXPECT_NEAR(double(Analog(0).Value), 100.0 * 5.0 / 1023.0, 1e-9);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.Requests().size(), 1u);
    d.SimStop();
}

TEST_F(AvrNetIoTest, AnUnreachableBoardIsToldOnceAndTheRunGoesOn)
{
    TNetAVRTCP& d = Make(FreePort());
    d.SimStart();
    EXPECT_TRUE(d.Running);
    SetPinValue(Input(0), 5.0L);
    for (int i = 0; i < 5; ++i) {
        d.MachEsJetzt();
        fake.clock.AdvanceMs(10000);
    }
    EXPECT_TRUE(GetPinDigital(Input(0)));
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("127.0.0.1")));
    d.SimStop();
}
