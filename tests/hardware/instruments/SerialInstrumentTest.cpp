// The thermometer, the two power supplies and the frequency readout against scripted devices
// on a pty: line settings, requests and their rates, answers split over reads, silence and
// garbage.
#include "hardware/SerialTestSupport.h"

#include "fakes/ScriptedSerialDevice.h"
#include "hardware/instruments/DostmannP500.h"
#include "hardware/instruments/MotechLps.h"
#include "hardware/instruments/VoltcraftDigi35.h"
#include "hardware/instruments/VoltcraftMxg.h"

#include <cstring>

namespace {

constexpr int kCom = 4;

class SerialInstrumentTest : public SerialFixture {
protected:
    // Attaches the device to COM kCom; every step inside a wait moves the clock by stepMs
    // and steps the device again, as the circuit would.
    void Start(TSerialInstrument& device, int32_t stepMs = 5)
    {
        ports.Attach(kCom, instrument);
        device.SetComPort(kCom);
        device.PropagateAddress();
        for (auto& port : device.Ports)
            port->StepCallback = [this, &device, stepMs] {
                fake.clock.AdvanceMs(stepMs);
                device.MachEsJetzt();
            };
        device.SimStart();
        ASSERT_TRUE(device.GetCate().Connected());
    }
    // What the program wrote since the last call.
    std::string Written()
    {
        std::string text(instrument.Received.begin() + long(m_seen), instrument.Received.end());
        m_seen = instrument.Received.size();
        return text;
    }
    // What the program wrote since the last call, without the status port's queries, which go
    // out whenever a command's pause steps the circuit.
    std::string Commands()
    {
        std::string text = Written();
        for (const char* query : {"VOUT1\r", "VOUT2\r", "STATUS\r"})
            for (size_t at; (at = text.find(query)) != std::string::npos;)
                text.erase(at, std::strlen(query));
        return text;
    }
    static Extended Input(TIOInterface& device, int32_t index) { return device.GetInputValue(index); }

    TScriptedSerialPorts ports;
    TScriptedSerialDevice instrument;

private:
    size_t m_seen = 0;
};

} // namespace

TEST_F(SerialInstrumentTest, ThermometerAsksOnceASecondAndReadsItsLines)
{
    TP500 device;
    Start(device);
    ASSERT_FALSE(instrument.Frames.empty());
    EXPECT_EQ(instrument.Frames.back().Baud, 2400);
    EXPECT_EQ(instrument.Frames.back().StopBits, 2);
    EXPECT_EQ(instrument.ModemCalls, (std::vector<std::string>{"SETRTS", "CLRDTR"}));

    instrument.Expect(Bytes("A")).Answer(Bytes("23."), 50).Answer(Bytes("4\r\n"), 120);
    device.MachEsJetzt();
    EXPECT_EQ(Written(), "A");
    fake.clock.AdvanceMs(60);
    device.MachEsJetzt(); // half a line: nothing yet
    EXPECT_EQ(Input(device, 0), 0.0L);
    fake.clock.AdvanceMs(60);
    device.MachEsJetzt();
    EXPECT_NEAR(double(Input(device, 0)), 23.4, 1e-12);
    EXPECT_EQ(Written(), ""); // the next request waits for the second to end

    struct TCase {
        const char* answer;
        double value;
    };
    const TCase answers[] = {{"21,5\r\n", 21.5}, {"garbage\r\n", 21.5}, {"-3.0 C\r\n", -3.0}};
    for (const TCase& c : answers) {
        instrument.Expect(Bytes("A")).Answer(Bytes(c.answer), 100);
        fake.clock.AdvanceMs(1000);
        device.MachEsJetzt();
        EXPECT_EQ(Written(), "A");
        fake.clock.AdvanceMs(100);
        device.MachEsJetzt();
        EXPECT_NEAR(double(Input(device, 0)), c.value, 1e-12) << c.answer;
    }
    // A device that streams without ever ending a line does not grow a buffer: the next line
    // after the garbage is read.
    instrument.Send(std::vector<uint8_t>(5000, '7'));
    for (int i = 0; i < 100; ++i)
        device.MachEsJetzt();
    instrument.Send(Bytes("\n19.0\r\n"));
    device.MachEsJetzt();
    EXPECT_NEAR(double(Input(device, 0)), 19.0, 1e-12);
    device.SimStop();
    EXPECT_TRUE(instrument.Unexpected.empty());
}

TEST_F(SerialInstrumentTest, StoredRecordEndsWithTheComNumber)
{
    TP500 device;
    device.SetComPort(7);
    const QByteArray data = StoreRecord(device);
    ASSERT_FALSE(data.isEmpty());
    EXPECT_EQ(uint8_t(data.back()), 7);
    TP500 loaded;
    LoadRecord(loaded, data);
    EXPECT_EQ(loaded.ComNumber, 7);
    EXPECT_EQ(loaded.GetCate().BaudRate(), TBaudRate::Baud2400);
    EXPECT_EQ(loaded.GetCate().Stopbits(), TStopBits::_2);
}

TEST_F(SerialInstrumentTest, PowerSupplySendsChangedSettings)
{
    TMotech_LPS305 device;
    auto& control = *device.Ports[0];
    control.SetValue(0, 12.5L); // V1+
    const uint32_t before = fake.clock.TickCount();
    Start(device);
    EXPECT_EQ(instrument.Frames.back().Baud, 2400);
    EXPECT_EQ(instrument.Frames.back().StopBits, 0); // one
    EXPECT_EQ(instrument.ModemCalls, (std::vector<std::string>{"CLRDTR"}));
    // The run start sends every setting, each followed by the supply's pause.
    EXPECT_EQ(Commands(), "VSET1 12.5\rVSET2 0\rOUT0\rISET1 0\rISET2 0\rTRACK0\rVDD0\rBEEP0\r"
                         "LOWA0\r");
    EXPECT_GE(fake.clock.TickCount() - before, 4 * 100u + 5 * 80u);

    // Only what changed goes out; switching the outputs on repeats the digital setting.
    struct TCase {
        std::vector<std::pair<int32_t, Extended>> pins;
        const char* sent;
    };
    const TCase cases[] = {
        {{}, ""},
        {{{2, 5.0L}}, "OUT1\rVDD0\r"},
        {{{5, 5.0L}, {6, 5.0L}}, "TRACK0\r"}, // both tracking pins high
        {{{5, 0.0L}}, "TRACK2\r"},
        {{{7, 5.0L}}, "VDD3\r"},
        {{{1, 1e30L}}, ""}, // a value no supply reads is not sent
        {{{3, 0.25L}, {10, 5.0L}}, "ISET1 0.25\rLOWA1\r"},
    };
    for (const TCase& c : cases) {
        for (const auto& [pin, value] : c.pins)
            control.SetValue(pin, value);
        control.MachEsJetzt();
        EXPECT_EQ(Commands(), c.sent);
    }
    device.SimStop();
}

TEST_F(SerialInstrumentTest, PowerSupplyStatusIsPolledInTurn)
{
    TMotech_LPS305 device;
    Start(device);
    Written();
    instrument.Unexpected.clear(); // the settings of the run start
    auto& status = *device.Ports[1];
    const auto pin = [&status](int32_t i) { return double(status.Pins[size_t(i)]->Value); };
    instrument.Expect(Bytes("VOUT1\r")).Answer(Bytes("12.5"), 20).Answer(Bytes("00\r\n"), 300);
    status.MachEsJetzt();
    EXPECT_EQ(pin(0), 0.0); // half an answer
    instrument.Expect(Bytes("VOUT1\r")).Answer(Bytes("OK\r\n"), 10);
    status.MachEsJetzt(); // the rest came: the same query was sent again, the answer joined
    EXPECT_EQ(pin(0), 12.5);
    instrument.Expect(Bytes("VOUT2\r")).Answer(Bytes("ERROR\r\n"), 10);
    status.MachEsJetzt(); // refused: the same query again
    instrument.Expect(Bytes("VOUT2\r")).Answer(Bytes("3,3\r\n"), 10);
    status.MachEsJetzt();
    EXPECT_EQ(pin(1), 3.3);
    instrument.Expect(Bytes("STATUS\r")).Answer(Bytes("76\r\n"), 10);
    status.MachEsJetzt();
    // V1+ V2- CC1 CC2 TR1 TR2 VDE VD3 OE DOL FAN BPE CCC
    const double expected[] = {12.5, 3.3, 0, 0, 0, 5, 0, 0, 5, 0, 0, 0, 0};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(pin(int32_t(i)), expected[i]) << i;
    instrument.Expect(Bytes("VOUT1\r"));
    status.MachEsJetzt(); // silent: nothing changes, the next pass asks again
    EXPECT_EQ(pin(0), 12.5);
    EXPECT_TRUE(instrument.ScriptDone());
    EXPECT_TRUE(instrument.Unexpected.empty());
    device.SimStop();
}

TEST_F(SerialInstrumentTest, PowerSupplyStepsItsPortsAlternately)
{
    TMotech_LPS305 device;
    Start(device);
    Written();
    instrument.Expect(Bytes("VOUT1\r"));
    device.MachEsJetzt(); // control port: nothing changed
    EXPECT_EQ(Written(), "");
    device.MachEsJetzt(); // status port
    EXPECT_EQ(Written(), "VOUT1\r");
    device.SimStop();
}

TEST_F(SerialInstrumentTest, FrequencyReadoutRequestsReadsAtMost5TimesASecond)
{
    TVoltcraft_MXG9810A device;
    Start(device);
    EXPECT_EQ(instrument.Frames.back().Baud, 9600);
    EXPECT_EQ(instrument.ModemCalls, (std::vector<std::string>{"SETDTR"}));
    const std::string line = "  1.234567" "KHz" "A" " " "10" "FRQ" "H" " " " " "\r";
    fake.clock.AdvanceMs(1000);
    instrument.Expect(Bytes("D")).Answer(Bytes(line), 0);
    device.MachEsJetzt();
    EXPECT_EQ(Written(), "D");
    EXPECT_DOUBLE_EQ(double(Input(device, 0)), 1234.567);
    EXPECT_EQ(Input(device, 1), 10.0L);
    EXPECT_EQ(Input(device, 2), 5.0L);
    EXPECT_EQ(Input(device, 3), 5.0L);
    EXPECT_EQ(Input(device, 4), 0.0L);

    // The next request goes out at once, its answer is read 200 ms after the last read.
    const std::string period = "   12.3400" " Hz" "B" " " " 1" "PER" " " " " " " "\r";
    instrument.Expect(Bytes("D")).Answer(Bytes(period), 0);
    device.MachEsJetzt();
    EXPECT_EQ(Written(), "D");
    fake.clock.AdvanceMs(199);
    device.MachEsJetzt();
    EXPECT_EQ(Written(), "");
    fake.clock.AdvanceMs(1);
    device.MachEsJetzt(); // another mode: no pin changes, but the next request is free
    EXPECT_DOUBLE_EQ(double(Input(device, 0)), 1234.567);
    instrument.Expect(Bytes("D")).Answer(Bytes("short\r"), 0);
    device.MachEsJetzt();
    EXPECT_EQ(Written(), "D");
    fake.clock.AdvanceMs(200);
    device.MachEsJetzt(); // a line of another length: still awaiting
    EXPECT_EQ(Written(), "");
    // Silence: asked again after a second.
    instrument.Expect(Bytes("D")).Answer(Bytes("   50.0000" "MHz" "B" " " " 1" "FRQ" " " " " "B" "\r"), 0);
    fake.clock.AdvanceMs(800);
    device.MachEsJetzt();
    EXPECT_EQ(Written(), "D");
    fake.clock.AdvanceMs(200);
    device.MachEsJetzt();
    EXPECT_DOUBLE_EQ(double(Input(device, 0)), 50e6);
    EXPECT_EQ(Input(device, 2), 0.0L);
    EXPECT_EQ(Input(device, 4), 5.0L);
    device.SimStop();
}

TEST_F(SerialInstrumentTest, CpuSupplySendsLimitedSettingsAndUnlocksAtTheEnd)
{
    TVoltcraft_Digi35CPU device;
    auto& port = *device.Ports[0];
    port.SetValue(0, 5.0L);
    port.SetValue(1, 0.5L);
    Start(device);
    EXPECT_EQ(instrument.Frames.back().Baud, 9600);
    EXPECT_EQ(instrument.ModemCalls, (std::vector<std::string>{"CLRRTS", "CLRDTR"}));
    EXPECT_EQ(Written(), "V050\r\nC050\r\nL\r");
    struct TCase {
        int32_t pin;
        Extended value;
        const char* sent;
    };
    const TCase cases[] = {{0, 12.34L, "V123\r\n"}, {0, 40.0L, "V350\r\n"}, {0, 40.0L, ""},
                           {0, 41.0L, "V350\r\n"},  {1, 0.05L, "C005\r\n"}, {2, 5.0L, "E\r"}};
    for (const TCase& c : cases) {
        port.SetValue(c.pin, c.value);
        port.MachEsJetzt();
        EXPECT_EQ(Written(), c.sent);
    }
    port.SetValue(2, 0.0L);
    port.MachEsJetzt();
    EXPECT_EQ(Written(), "L\r");
    device.SimStop();
    EXPECT_EQ(Written(), "E\r");
}

TEST_F(SerialInstrumentTest, MissingPortLeavesPinsAndRunsOn)
{
    TMotech_LPS305 device;
    device.SetComPort(9); // nothing attached
    device.PropagateAddress();
    device.SimStart();
    for (int i = 0; i < 4; ++i)
        device.MachEsJetzt();
    EXPECT_EQ(device.Ports[1]->Pins[0]->Value, 0.0L);
    EXPECT_EQ(messages.Requests().size(), 1u); // told once
    device.SimStop();
}
