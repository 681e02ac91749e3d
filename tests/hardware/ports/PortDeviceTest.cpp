// The LPT interface and the port read and write components on the simulated I/O space, placed
// as the palette places them and run in a circuit.
#include "hardware/HardwareTestSupport.h"

#include "core/EngineTestSupport.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/ports/LptInterface.h"
#include "hardware/ports/PortRegister.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"

#include <QBuffer>

namespace {

class DeviceTest : public HardwareFixture {
protected:
    void SetUp() override
    {
        HardwareFixture::SetUp();
        ClassRegistry().RegisterClass<TSimSource>();
        ClassRegistry().RegisterClass<TSimProbe>();
    }
    // A device placed as the palette places it: made by class name, copied through the
    // board's stream.
    TBTHardware* PlaceDevice(TPlatine& board, const char* deviceClass, int column)
    {
        auto made = CreateHardwareComponent(QString::fromLatin1(deviceClass));
        made->X = 1000 + column * 400;
        made->Y = 1000;
        made->LayoutPins();
        TPlatine scratch;
        scratch.AddComponent(std::move(made));
        const int before = int(board.Items.size());
        EXPECT_EQ(ReadBoard(board, WriteBoard(scratch)), 0);
        auto* placed = dynamic_cast<TBTHardware*>(board.Items[size_t(before)].get());
        EXPECT_NE(placed, nullptr);
        return placed;
    }
    void SetAddress(TBTHardware& hardware, uint16_t address)
    {
        hardware.Interface->BaseAddress = address;
        hardware.Interface->PropagateAddress();
    }
    std::vector<uint8_t> Writes(uint16_t port) const
    {
        std::vector<uint8_t> values;
        for (const auto& a : io.Accesses)
            if (a.Write && a.Port == port)
                values.push_back(a.Value);
        return values;
    }
};

} // namespace

TEST_F(DeviceTest, PaletteOffersThePortDevices)
{
    for (const TDeviceDescription* entry : ClassRegistry().Devices()) {
        auto component = CreateHardwareComponent(QString::fromLatin1(entry->Name));
        EXPECT_FALSE(component->GetTypeName().isEmpty()) << entry->Name;
    }
}

TEST_F(DeviceTest, LptWritesDataAndControlAndReadsStatus)
{
    TPlatine board;
    TBTHardware* lpt = PlaceDevice(board, "TLPTInterface", 0);
    EXPECT_EQ(lpt->InputCount, 11);
    EXPECT_EQ(lpt->OutputCount, 5);
    EXPECT_EQ(lpt->Prefix(), QStringLiteral("LPT"));
    EXPECT_EQ(lpt->Outputs[0]->Name(), QStringLiteral("BSY"));
    auto* source = Place<TSimSource>(board, 3);
    source->Value = 5.0L;
    auto* zero = Place<TSimSource>(board, 3, 2);
    zero->Value = 0.0L;
    WirePins(board, *source->Outputs[0], *lpt->Inputs[0]);
    for (int i = 1; i < 11; ++i)
        WirePins(board, *zero->Outputs[0], *lpt->Inputs[size_t(i)], i);
    auto* busy = Place<TSimProbe>(board, 4);
    WirePins(board, *lpt->Outputs[0], *busy->Inputs[0]);
    auto* error = Place<TSimProbe>(board, 4, 2);
    WirePins(board, *lpt->Outputs[4], *error->Inputs[0]);

    SetAddress(*lpt, 0x0378);
    io.Register(0x37A) = 0xE5; // upper bits of the control register survive
    io.Register(0x379) = 0x78;
    board.StartSimulation();
    board.SimStep(); // the sources drive from the end of this step on
    board.SimStep();
    EXPECT_EQ(Writes(0x378), (std::vector<uint8_t>{0x00, 0x01}));
    EXPECT_EQ(Writes(0x37A).back(), 0xEA);
    EXPECT_EQ(error->Last(), 5.0L);
    EXPECT_EQ(busy->Last(), 5.0L); // status bit 7 clear: BUSY high at the connector
    io.Register(0x379) = 0xF8;
    board.SimStep();
    board.SimStep();
    EXPECT_EQ(busy->Last(), 0.0L);
    EXPECT_EQ(error->Last(), 5.0L);
    EXPECT_EQ(io.RefusedAccesses, 0);
    board.EndSimulation();
}

TEST_F(DeviceTest, LptAddressInfoAndOldStrobePin)
{
    TLPTInterface lpt;
    lpt.AddressText = QStringLiteral("378");
    lpt.ApplySettings();
    EXPECT_EQ(lpt.BaseAddress, 0x0378);
    EXPECT_EQ(lpt.Ports[1]->BaseAddress, 0x0378);
    lpt.MakeInfoLines();
    EXPECT_EQ(lpt.InfoLines, QStringList{QStringLiteral("LPT-Port: LPT 1")});
    lpt.BaseAddress = 0x3BC;
    lpt.MakeInfoLines();
    EXPECT_TRUE(lpt.InfoLines.isEmpty());

    // An older record whose output port carries a strobe pin loads with eleven outputs.
    lpt.Ports[0]->AddPin(QStringLiteral("Pin 1 - STROBE"), QStringLiteral("STR"), 0, 5, false);
    lpt.Ports[0]->SetInput(false);
    lpt.BuildPinList();
    QByteArray data;
    {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        lpt.writeToStream(writer);
    }
    TLPTInterface loaded;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    loaded.readFromStream(reader);
    EXPECT_EQ(loaded.Ports[0]->Pins.size(), 11u);
    EXPECT_EQ(loaded.OutputCount, 11);
}

TEST_F(DeviceTest, WritePortWritesOncePerFallingClockEdge)
{
    TPlatine board;
    TBTHardware* write = PlaceDevice(board, "TwPort", 0);
    ASSERT_EQ(write->InputCount, 9);
    EXPECT_EQ(write->Inputs[8]->Name(), QStringLiteral("|CK"));
    std::vector<TSimSource*> data;
    for (int i = 0; i < 8; ++i) {
        auto* s = Place<TSimSource>(board, 2, i);
        s->Value = (0xA5 >> i & 1) ? 5.0L : 0.0L;
        WirePins(board, *s->Outputs[0], *write->Inputs[size_t(i)]);
    }
    auto* clock = Place<TSimSource>(board, 2, 9);
    clock->Value = 5.0L;
    WirePins(board, *clock->Outputs[0], *write->Inputs[8]);
    SetAddress(*write, 0x0300);

    board.StartSimulation();
    board.SimStep(); // the source drives 5 V from here on
    board.SimStep();
    EXPECT_TRUE(Writes(0x300).empty());
    clock->Value = 0.0L;
    board.SimStep(); // source writes 0 V
    board.SimStep(); // the device sees the fall
    board.SimStep();
    EXPECT_EQ(Writes(0x300), std::vector<uint8_t>{0xA5});
    clock->Value = 5.0L;
    board.SimStep();
    board.SimStep();
    EXPECT_EQ(Writes(0x300).size(), 1u); // a rising edge writes nothing
    board.EndSimulation();

    // After saving and reloading the component still has nine inputs.
    TPlatine again;
    ReadBoard(again, WriteBoard(board));
    auto reread = ItemsOf<TBTHardware>(again);
    ASSERT_EQ(reread.size(), 1u);
    EXPECT_EQ(reread[0]->InputCount, 9);
    EXPECT_EQ(reread[0]->Interface->BaseAddress, 0x0300);
}

TEST_F(DeviceTest, ReadPort16ReadsOnTheFallingEdgeAndKeepsItsCounts)
{
    TPlatine board;
    TBTHardware* read = PlaceDevice(board, "TrPort16", 0);
    ASSERT_EQ(read->InputCount, 1);
    ASSERT_EQ(read->OutputCount, 16);
    EXPECT_EQ(read->Inputs[0]->Name(), QStringLiteral("|CK"));
    EXPECT_EQ(read->Outputs[15]->Name(), QStringLiteral("D0"));
    auto* clock = Place<TSimSource>(board, 2);
    clock->Value = 5.0L;
    WirePins(board, *clock->Outputs[0], *read->Inputs[0]);
    SetAddress(*read, 0x0310);
    io.Register(0x310) = 0x01;
    io.Register(0x311) = 0x80;

    board.StartSimulation();
    board.SimStep();
    board.SimStep();
    EXPECT_EQ(read->Outputs[15]->Value.Get(), 0.0L);
    clock->Value = 0.0L;
    board.SimStep();
    board.SimStep();
    EXPECT_EQ(read->Outputs[15]->Value.Get(), 5.0L); // D0
    EXPECT_EQ(read->Outputs[0]->Value.Get(), 5.0L);  // D15
    EXPECT_EQ(read->Outputs[7]->Value.Get(), 0.0L);
    board.EndSimulation();

    TPlatine again;
    ReadBoard(again, WriteBoard(board));
    auto reread = ItemsOf<TBTHardware>(again);
    ASSERT_EQ(reread.size(), 1u);
    EXPECT_EQ(reread[0]->InputCount, 1);
    EXPECT_EQ(reread[0]->OutputCount, 16);
    EXPECT_EQ(reread[0]->Inputs[0]->Name(), QStringLiteral("|CK"));
}

TEST_F(DeviceTest, RefusedPortPermissionIsReportedAndTouchesNoPort)
{
    TScopedMessageResponder boxes;
    TPlatine board;
    TBTHardware* write = PlaceDevice(board, "TwPort", 0);
    SetAddress(*write, 0x0300);
    io.DenyActivation = EPERM;
    board.StartSimulation();
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_TRUE(boxes.Requests()[0].text.contains(QStringLiteral("0300h")));
    EXPECT_TRUE(boxes.Requests()[0].text.contains(QStringLiteral("CAP_SYS_RAWIO")));
    board.SimStep();
    board.EndSimulation();
    EXPECT_TRUE(io.Accesses.empty());

    // Without an address (below 255) the device asks for no ports and stays quiet.
    boxes.Requests();
    SetAddress(*write, 0);
    board.StartSimulation();
    EXPECT_EQ(boxes.Requests().size(), 1u);
    board.EndSimulation();
}
