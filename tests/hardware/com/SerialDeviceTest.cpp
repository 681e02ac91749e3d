// The shared COM table and the COM send and receive devices against a scripted device on a pty.
#include "hardware/SerialTestSupport.h"

#include "core/EngineTestSupport.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/com/ComDevices.h"
#include "platform/Filer.h"

#include <QBuffer>

#include <atomic>
#include <thread>

namespace {

class SerialDeviceTest : public SerialFixture {
protected:
    // Drives device output pin index (the circuit's side) and steps the device once.
    static void Drive(TIOInterface& device, int32_t index, Extended value)
    {
        device.SetValue(index, value);
    }
    static void Step(TIOInterface& device) { device.MachEsJetzt(); }
    // Sets the data pins 0..7 to the bits of b.
    static void DriveByte(TIOInterface& device, uint8_t b)
    {
        for (int i = 0; i < 8; ++i)
            Drive(device, i, (b >> i & 1) ? 5.0L : 0.0L);
    }
    // A falling edge of the send pin, one step each level.
    static void SendEdge(TIOInterface& device, int32_t sendPin)
    {
        Drive(device, sendPin, 5.0L);
        Step(device);
        Drive(device, sendPin, 0.0L);
        Step(device);
    }
    std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
};

} // namespace

TEST_F(SerialDeviceTest, DevicesOnOneNumberShareOnePort)
{
    TPtyPeer peer;
    MapCom(3, peer.Node);
    TComByteSenden a, b;
    a.SetComPort(3);
    b.SetComPort(3);
    a.PropagateAddress();
    b.PropagateAddress();
    a.SimStart();
    TCate* shared = &a.GetCate();
    ASSERT_TRUE(shared->Connected());
    b.SimStart(); // finds it open: not reopened
    EXPECT_EQ(&b.GetCate(), shared);
    EXPECT_TRUE(shared->Connected());
    a.SimStop(); // the first stop closes it for both
    EXPECT_FALSE(shared->Connected());
    b.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(SerialDeviceTest, MovingADeviceTakesTheSettingsAndLeavesOthersValid)
{
    TComByteSenden mover, stayer;
    mover.SetComPort(2);
    stayer.SetComPort(2);
    stayer.PropagateAddress();
    mover.GetCate().SetBaudRate(TBaudRate::Baud57600);
    std::shared_ptr<TCate> held = static_cast<TSerialPort&>(*stayer.Ports[0]).Comm;
    mover.SetComPort(5);
    EXPECT_EQ(mover.GetCate().BaudRate(), TBaudRate::Baud57600);
    EXPECT_EQ(mover.BaseAddress, 5);
    EXPECT_FALSE(ComTableHas(2));
    // The other device's port still holds a usable (closed) object ...
    EXPECT_EQ(held->Write("x", 1), 0);
    // ... and takes a fresh default one at its next PropagateAddress.
    stayer.PropagateAddress();
    EXPECT_EQ(stayer.GetCate().BaudRate(), TBaudRate::Baud9600);

    TIniFile ini(folder.path() + QStringLiteral("/hw.ini"));
    ini.WriteInteger(QStringLiteral("S"), QStringLiteral("COM"), 0);
    mover.readFromIni(ini, QStringLiteral("S"));
    EXPECT_EQ(mover.BaseAddress, 0);
    EXPECT_EQ(mover.GetCate().BaudRate(), TBaudRate::Baud57600);
    mover.SetComPort(101); // outside the table
    EXPECT_EQ(mover.ComNumber, 0);

    Ctx().CurrentLanguage = 1;
    TSerialInterface english;
    english.SetComPort(4);
    english.MakeInfoLines();
    EXPECT_EQ(english.InfoLines, QStringList{QStringLiteral("Serial interface: Com 4")});
    english.SetComPort(0);
    english.MakeInfoLines();
    EXPECT_EQ(english.InfoLines, QStringList{QStringLiteral("Serial interface: keine")});
}

TEST_F(SerialDeviceTest, MissingPortIsReportedInTheCurrentLanguageAndTheRunGoesOn)
{
    struct TCase {
        uint8_t language;
        const char* start;
    };
    const TCase cases[] = {{0, "COM 7 ("}, {1, "COM 7 ("}};
    const char* reasons[] = {"Die Schnittstelle gibt es nicht.", "The port does not exist."};
    MapCom(7, folder.path() + QStringLiteral("/gone"));
    for (const TCase& c : cases) {
        Ctx().CurrentLanguage = c.language;
        messages.Clear();
        TComByteSenden a, b;
        a.SetComPort(7);
        b.SetComPort(7);
        a.SimStart();
        b.SimStart(); // the same port: reported once per run
        ASSERT_EQ(messages.Requests().size(), 1u);
        EXPECT_TRUE(messages.Requests()[0].text.startsWith(QString::fromLatin1(c.start)));
        EXPECT_TRUE(messages.Requests()[0].text.contains(QString::fromUtf8(reasons[c.language])));
        DriveByte(a, 0x41);
        SendEdge(a, 8); // idle, no failure
        a.SimStop();
        b.SimStop();
    }
}

TEST_F(SerialDeviceTest, SendersWriteOnTheFallingEdgeOnly)
{
    TPtyPeer peer;
    MapCom(3, peer.Node);

    TComByteSenden byte;
    byte.SetComPort(3);
    byte.SimStart();
    DriveByte(byte, 0x05);
    SendEdge(byte, 8);
    Step(byte);
    Step(byte); // SND stays low: nothing more
    EXPECT_EQ(peer.Receive(1), std::vector<uint8_t>{0x05});
    EXPECT_TRUE(peer.Pending().empty());
    byte.SimStop();

    TComBytefolgeSenden sequence;
    auto& port = static_cast<TComBytefolgeOutPort&>(*sequence.Ports[0]);
    EXPECT_EQ(port.Pins[0]->PinName, QStringLiteral("DS0"));
    port.Sequences[1] = QStringLiteral("\"AB\" 13");
    port.Sequences[256] = QStringLiteral("$FF");
    sequence.SetComPort(3);
    sequence.DlgComNumber = 3; // the dialog's COM row
    sequence.ApplySettings(); // parses the frame (default suffix 13 10)
    sequence.SimStart();
    DriveByte(sequence, 0);
    SendEdge(sequence, 8);
    DriveByte(sequence, 0xFF);
    SendEdge(sequence, 8);
    EXPECT_EQ(peer.Receive(8), (std::vector<uint8_t>{0x41, 0x42, 0x0D, 0x0D, 0x0A, 0xFF, 0x0D, 0x0A}));
    sequence.SimStop();

    TComZahlSenden number;
    number.SetComPort(3);
    number.DlgComNumber = 3; // the dialog's COM row
    number.PrefixText = QStringLiteral("\"V=\"");
    number.ApplySettings();
    number.SimStart();
    Drive(number, 0, 3.14159L);
    SendEdge(number, 1);
    const QString formatted = static_cast<TComZahlOutPort&>(*number.Ports[0])
                                  .NumberFormat.FormatValue(3.14159);
    const std::string expected = "V=" + formatted.toStdString() + "\r\n";
    EXPECT_EQ(peer.Receive(expected.size()), Bytes(expected));
    number.SimStop();

    TComStringSenden text;
    text.SetComPort(3);
    text.DlgComNumber = 3; // the dialog's COM row
    text.ApplySettings();
    text.SimStart();
    text.SetText(0, QStringLiteral("Grüße"));
    SendEdge(text, 1);
    EXPECT_EQ(peer.Receive(7), (std::vector<uint8_t>{'G', 'r', 0xFC, 0xDF, 'e', 0x0D, 0x0A}));
    text.SimStop();
}

TEST_F(SerialDeviceTest, ReceiversDeliverOneDatumPerArming)
{
    TPtyPeer peer;
    MapCom(4, peer.Node);

    TComZahlEmpfangen number;
    number.SetComPort(4);
    GetInputCount(number); // as the component counts its outputs
    number.SimStart();
    const int32_t value = 0, busy = 1; // device inputs: Z, BSY
    EXPECT_EQ(number.GetInputValue(busy), 0.0L);
    number.SetValue(0, 5.0L);
    Step(number);
    number.SetValue(0, 0.0L); // arms; this step does not receive
    peer.Send("12.5\r7");
    ASSERT_TRUE(WaitForQueue([&] { return number.GetCate().InQueCount(); }, 6));
    Step(number);
    EXPECT_EQ(number.GetInputValue(busy), 5.0L);
    Step(number);
    EXPECT_EQ(number.GetInputValue(value), 12.5L);
    EXPECT_EQ(number.GetInputValue(busy), 0.0L);
    EXPECT_EQ(number.GetCate().InQueCount(), 1); // the 7 waits for the next arming
    number.SetValue(0, 5.0L);
    number.SetValue(0, 0.0L);
    Step(number);
    Step(number);
    EXPECT_EQ(number.GetInputValue(busy), 5.0L); // 7 without CR: still waiting
    number.SetValue(0, 5.0L);
    number.SetValue(0, 0.0L); // an edge while armed changes nothing
    peer.Send("\r");
    ASSERT_TRUE(WaitForQueue([&] { return number.GetCate().InQueCount(); }, 1));
    Step(number);
    EXPECT_EQ(number.GetInputValue(value), 7.0L);
    number.SimStop();

    TComStringEmpfangen text;
    auto& port = static_cast<TComStringInPort&>(*text.Ports[0]);
    port.SetSyncString(QStringLiteral("13 10"));
    text.SetComPort(4);
    GetInputCount(text); // as the component counts its outputs
    text.SimStart();
    text.SetValue(0, 5.0L);
    text.SetValue(0, 0.0L);
    Step(text);
    peer.Send("AB\r\n");
    ASSERT_TRUE(WaitForQueue([&] { return text.GetCate().InQueCount(); }, 4));
    Step(text);
    EXPECT_EQ(text.GetInputText(0), QStringLiteral("AB"));
    EXPECT_EQ(text.GetInputValue(1), 0.0L);
    // A sequence that begins with a zero byte never matches; only the last 250 bytes are kept.
    port.SetSyncString(QStringLiteral("0 13"));
    text.SetValue(0, 5.0L);
    text.SetValue(0, 0.0L);
    Step(text);
    peer.Send(std::string(300, 'x') + "\r");
    ASSERT_TRUE(WaitForQueue([&] { return text.GetCate().InQueCount(); }, 301));
    Step(text);
    EXPECT_EQ(text.GetInputValue(1), 5.0L);
    EXPECT_LE(port.RxText.size(), 251);
    text.SimStop();

    TComByteEmpfangen byte;
    byte.SetComPort(4);
    GetInputCount(byte); // as the component counts its outputs
    byte.SimStart();
    byte.SetValue(0, 5.0L);
    byte.SetValue(0, 0.0L);
    Step(byte);
    peer.Send(std::vector<uint8_t>{0xA5, 0x01});
    ASSERT_TRUE(WaitForQueue([&] { return byte.GetCate().InQueCount(); }, 2));
    Step(byte);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(byte.GetInputValue(i), (0xA5 >> i & 1) ? 5.0L : 0.0L) << i;
    EXPECT_EQ(byte.GetInputValue(8), 0.0L);
    EXPECT_EQ(byte.GetCate().InQueCount(), 1); // one byte per arming
    byte.SimStop();
}

// A peer that sends without end and never the end-of-data sequence: every step comes back
// while it still sends, the receiver keeps only the last 250 bytes, and once the sequence comes
// the text before it is delivered.
TEST_F(SerialDeviceTest, APeerThatSendsWithoutEndNeverHoldsTheStep)
{
    TPtyPeer peer;
    MapCom(6, peer.Node);
    TComStringEmpfangen text;
    auto& port = static_cast<TComStringInPort&>(*text.Ports[0]);
    text.SetComPort(6);
    GetInputCount(text); // as the component counts its outputs
    text.SimStart();
    text.SetValue(0, 5.0L);
    text.SetValue(0, 0.0L);
    Step(text); // the arming step
    std::atomic<bool> stop{false};
    std::atomic<bool> gaveUp{false};
    std::thread flood([&] {
        const std::vector<uint8_t> chunk(4096, 'x');
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!stop && std::chrono::steady_clock::now() < end)
            if (peer.SendSome(chunk) == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
        gaveUp = !stop;
    });
    ASSERT_TRUE(WaitForQueue([&] { return text.GetCate().InQueCount(); }, 1));
    bool heldTheStep = false;
    for (int step = 0; step < 50 && !heldTheStep; ++step) {
        Step(text);
        heldTheStep = gaveUp;
    }
    stop = true;
    flood.join();
    EXPECT_FALSE(heldTheStep) << "a step waited until the peer gave up";
    EXPECT_EQ(text.GetInputValue(1), 5.0L); // still waiting for the sequence
    EXPECT_LE(port.RxText.size(), 250);
    // The flood is worked off over the next steps; then the sequence ends the text.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (text.GetCate().InQueCount() > 0 && std::chrono::steady_clock::now() < end)
        Step(text);
    peer.Send("TAIL\r");
    while (text.GetInputValue(1) != 0.0L && std::chrono::steady_clock::now() < end) {
        Step(text);
        QThread::usleep(100);
    }
    EXPECT_EQ(text.GetInputText(0), QString(246, QLatin1Char('x')) + QStringLiteral("TAIL"));
    text.SimStop();
}

TEST_F(SerialDeviceTest, PeerThatVanishesMidRunIsReportedAndTheRunGoesOn)
{
    TPtyPeer peer;
    MapCom(5, peer.Node);
    TComZahlEmpfangen device;
    device.SetComPort(5);
    GetInputCount(device); // as the component counts its outputs
    device.SimStart();
    device.SetValue(0, 5.0L);
    device.SetValue(0, 0.0L);
    Step(device);
    peer.Send("1");
    ASSERT_TRUE(WaitForQueue([&] { return device.GetCate().InQueCount(); }, 1));
    Step(device);
    peer.Vanish();
    for (int i = 0; i < 5; ++i)
        Step(device);
    EXPECT_EQ(lost.size(), 1u);
    EXPECT_FALSE(device.GetCate().Connected());
    EXPECT_EQ(device.GetInputValue(1), 5.0L); // still waiting, without a port
    device.SimStop();
}

TEST_F(SerialDeviceTest, RtsDtrAreSetInEveryStep)
{
    TPtyPeer peer;
    MapCom(6, peer.Node);
    RecordModemLines();
    TComControl control;
    control.SetComPort(6);
    control.SimStart();
    log.Calls.clear();
    Drive(control, 0, 0.0L); // RTS
    Drive(control, 1, 5.0L); // DTR
    Step(control);
    Step(control);
    EXPECT_EQ(log.Calls, (std::vector<std::string>{"CLRRTS", "SETDTR", "CLRRTS", "SETDTR"}));
    control.SimStop();
}

TEST_F(SerialDeviceTest, RecordsKeepKindSettingsAndFormat)
{
    TComZahlSenden number;
    number.SetComPort(12);
    number.GetCate().SetBaudRate(TBaudRate::Baud115200);
    number.GetCate().SetParity(TParity::Even);
    number.PrefixText = QStringLiteral("$02");
    auto& port = static_cast<TComZahlOutPort&>(*number.Ports[0]);
    port.NumberFormat.Options = TFormatOptions{TFormatOption::Fixed};
    port.NumberFormat.Digits = 4;
    port.NumberFormat.Decimals = 1;
    const QByteArray stored = StoreRecord(number);
    FreeComTable();

    TComInterface loaded; // the kind comes from the record
    LoadRecord(loaded, stored);
    EXPECT_EQ(loaded.Kind, 2);
    EXPECT_EQ(loaded.ComNumber, 12);
    EXPECT_EQ(loaded.GetCate().BaudRate(), TBaudRate::Baud115200);
    EXPECT_EQ(loaded.GetCate().Parity(), TParity::Even);
    EXPECT_EQ(loaded.PrefixBytes, std::vector<uint8_t>{0x02});
    EXPECT_EQ(loaded.SuffixBytes, (std::vector<uint8_t>{13, 10}));
    const auto& format = static_cast<TComZahlOutPort&>(*loaded.Ports[0]).NumberFormat;
    EXPECT_EQ(format.Options, TFormatOptions{TFormatOption::Fixed});
    EXPECT_EQ(format.Digits, 4);
    EXPECT_EQ(format.Decimals, 1);

    // An old record: a marker other than 255 is the decimals of the legacy format, which is
    // built from the legacy fields; no format record follows.
    QByteArray old;
    {
        QBuffer buffer(&old);
        buffer.open(QIODevice::WriteOnly);
        TWriter w(buffer);
        w.WriteInteger(2);
        number.TIOPort::writeToStream(w);
        port.TIOPort::writeToStream(w);
        w.WriteInteger(0);
        w.WriteRawByte(4); // options: Float
        w.WriteInteger(7); // float digits
        w.WriteInteger(5); // digits
        w.WriteInteger(2); // the marker: decimals
        w.WriteInteger(12);
        for (int i = 0; i < 4; ++i)
            w.WriteInteger(0);
        w.WriteString(QString());
        w.WriteString(QStringLiteral("13"));
    }
    TComInterface legacy;
    LoadRecord(legacy, old);
    const auto& legacyFormat = static_cast<TComZahlOutPort&>(*legacy.Ports[0]).NumberFormat;
    EXPECT_EQ(legacyFormat.Options, TFormatOptions{TFormatOption::Float});
    EXPECT_EQ(legacyFormat.Digits, 7);
    EXPECT_EQ(legacyFormat.Decimals, 2);
    EXPECT_EQ(legacy.SuffixBytes, std::vector<uint8_t>{13});
}

TEST_F(SerialDeviceTest, ReceiverOnTheBoardHasAClockInputAndItsDataOutputs)
{
    for (const char* name : {"TComByteEmpfangen", "TComZahlEmpfangen", "TComStringEmpfangen"}) {
        auto component = CreateHardwareComponent(QString::fromLatin1(name));
        ASSERT_EQ(component->InputCount, 1) << name;
        EXPECT_EQ(component->Inputs[0]->Name(), QStringLiteral("|CK")) << name;
        EXPECT_EQ(component->Outputs[0]->Name(), QStringLiteral("BSY")) << name;
    }
    auto sender = CreateHardwareComponent(QStringLiteral("TComByteSenden"));
    EXPECT_EQ(sender->InputCount, 9);
    EXPECT_EQ(sender->Inputs[8]->Name(), QStringLiteral("|SND"));
    EXPECT_EQ(sender->OutputCount, 0);
}
