// The handshake-line device: its lines in every step, the modem status as inputs, old records,
// and a port that cannot be opened.
#include "hardware/SerialTestSupport.h"

#include "hardware/com/ComLines.h"
#include "platform/Filer.h"

#include <QBuffer>

namespace {

using ComDTest = SerialFixture;

} // namespace

TEST_F(ComDTest, LinesFollowThePinsInEveryStepAndStatusGivesTheInputs)
{
    TPtyPeer peer;
    MapCom(12, peer.Node);
    RecordModemLines();
    TCOM_D device;
    device.BaseAddress = 12;
    device.PropagateAddress();
    device.SimStart();
    ASSERT_TRUE(device.DeviceHandle);
    device.SetValue(0, 5.0L); // DTR
    device.SetValue(1, 0.0L); // RTS
    device.SetValue(2, 0.0L); // TXD
    log.Status = 0x30;
    device.MachEsJetzt();
    device.MachEsJetzt();
    EXPECT_EQ(log.Calls, (std::vector<std::string>{"SETDTR", "CLRRTS", "CLRBREAK", "SETDTR",
                                                   "CLRRTS", "CLRBREAK"}));
    const Extended expected[] = {5.0L, 5.0L, 0.0L, 0.0L}; // CTS DSR RI DCD
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(device.GetInputValue(i), expected[i]) << i;
    device.SimStop();
    EXPECT_FALSE(device.DeviceHandle);

    // Without a COM number nothing is opened and nothing is called.
    log.Calls.clear();
    device.BaseAddress = 0;
    device.PropagateAddress();
    device.SimStart();
    device.MachEsJetzt();
    device.SimStop();
    EXPECT_TRUE(log.Calls.empty());
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(ComDTest, PortThatCannotBeOpenedIsReportedAndTheInputsStay)
{
    MapCom(9, folder.path() + QStringLiteral("/gone"));
    Ctx().CurrentLanguage = 1;
    TCOM_D device;
    device.DlgAddress = 9;
    device.ApplySettings(); // OK outside a run: opens and closes once
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.startsWith(QStringLiteral("COM 9 (")));
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("The port does not exist.")));
    EXPECT_EQ(device.BaseAddress, 9);
    device.SimStart();
    device.MachEsJetzt();
    EXPECT_EQ(device.GetInputValue(0), 0.0L);
    device.SimStop();
}

TEST_F(ComDTest, OldRecordsLoadWithTheComNumberAndTheTransmitPin)
{
    struct TCase {
        uint16_t stored;
        uint16_t com;
    };
    const TCase cases[] = {{0x03F8, 1}, {0x02F8, 2}, {0x03E8, 3}, {0x02E8, 4}, {7, 7}, {0x0300, 0}};
    for (const TCase& c : cases) {
        TCOM_D old;
        old.Ports[0]->Pins.pop_back(); // before TXD existed
        old.BuildPinList();
        old.BaseAddress = c.stored;
        old.PropagateAddress();
        QByteArray data;
        {
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            TWriter writer(buffer);
            old.writeToStream(writer);
        }
        TCOM_D loaded;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        TReader reader(buffer);
        loaded.readFromStream(reader);
        EXPECT_EQ(loaded.BaseAddress, c.com) << c.stored;
        ASSERT_EQ(loaded.Ports[0]->Pins.size(), 3u);
        EXPECT_EQ(loaded.Ports[0]->Pins[2]->PinName, QStringLiteral("TXD"));
        EXPECT_EQ(loaded.OutputCount, 3);
    }
}
