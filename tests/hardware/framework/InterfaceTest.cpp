// The interface base, the hardware component and its step, and the older class names.
#include "hardware/HardwareTestSupport.h"

#include "core/EngineTestSupport.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/IoInterface.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"

#include <QBuffer>
#include <QTemporaryDir>

namespace {

// Eight digital outputs, then nine inputs; counts its exchanges and can wait inside them.
class TTestDevice : public TIOInterface {
public:
    TV_CLASS_NAME(TTestDevice)
    TTestDevice()
    {
        Name = QStringLiteral("Test device");
        Ports.push_back(std::make_unique<TDOutPort>());
        auto in = std::make_unique<TDInPort>();
        in->AddPin(QStringLiteral("Bit 8"), QStringLiteral("DI8"), 0.0L, 5.0L, false);
        in->SetInput(true);
        Ports.push_back(std::move(in));
        BuildPinList();
    }
    void MachEsJetzt() override
    {
        TIOInterface::MachEsJetzt();
        if (AnyPortBusy())
            return;
        ++Exchanges;
        // The inputs mirror output 0 at input 8, and input 0 counts the exchanges.
        Ports[1]->SetValue(8, Ports[0]->GetValue(0));
        Ports[1]->SetValue(0, Exchanges);
        if (WaitMs != 0.0)
            Ports[0]->Wait(WaitMs);
        AfterWait = Ports[0]->Running;
    }
    int Exchanges = 0;
    double WaitMs = 0.0;
    bool AfterWait = false;
};

QByteArray ComponentRecord(TBauteil& item)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    item.WriteData(writer);
    return data;
}

class InterfaceTest : public HardwareFixture {
protected:
    void SetUp() override
    {
        HardwareFixture::SetUp();
        ClassRegistry().RegisterClass<TTestDevice>();
    }
};

} // namespace

TEST_F(InterfaceTest, FlatListPutsOutputsFirstAndMapsToPorts)
{
    TTestDevice device;
    EXPECT_EQ(device.OutputCount, 8);
    EXPECT_EQ(device.Pins.size(), 17u);
    EXPECT_EQ(GetInputCount(device), 9);
    const struct {
        QString got;
        const char* expected;
    } labels[] = {
        {device.GetInputLabel(0), "DI0"},
        {device.GetOutputLabel(7), "DO7"},
        {device.GetOutputLabel(20), "!!!"},
        {device.GetInputLabel(9), "!!!"},
        {device.GetInputDescription(8), "Bit 8"},
        {device.GetInputDescription(9), "Pin nicht vorhanden!"},
        {device.GetOutputDescription(-1), "Pin nicht vorhanden!"},
    };
    for (const auto& c : labels)
        EXPECT_EQ(c.got, QString::fromUtf8(c.expected));

    device.SetValue(3, 5.0L);
    EXPECT_EQ(device.Ports[0]->Pins[3]->Value, 5.0L);
    SetPinValue(*device.Ports[1]->Pins[0], 4.0L);
    EXPECT_EQ(device.GetInputValue(0), 4.0L);
    EXPECT_EQ(device.GetInputValue(9), 0.0L);
    device.SetInputUsed(8, true);
    EXPECT_TRUE(device.Ports[1]->Pins[8]->Used);
    device.SetValue(99, 5.0L); // outside the list: no pin, no crash

    device.BaseAddress = 0x0378;
    device.PropagateAddress();
    device.MakeInfoLines();
    EXPECT_EQ(device.InfoLines, QStringList({QStringLiteral("Digitalausgänge: 0378"),
                                             QStringLiteral("Digitaleingänge: 0378")}));
    device.BaseAddress = 0;
    device.PropagateAddress();
    device.MakeInfoLines();
    EXPECT_TRUE(device.InfoLines[1].endsWith(QStringLiteral(": keine")));
}

TEST_F(InterfaceTest, SettingsFileKeysOfTheBase)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("h.ini")));
    TTestDevice device;
    device.BaseAddress = 0x2F8;
    device.writeToIni(ini, QStringLiteral("1.HW1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("1.HW1"), QStringLiteral("Basisadresse"), {}),
              QStringLiteral("02F8"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("1.HW1"), QStringLiteral("Name"), {}),
              QStringLiteral("Test device"));
    device.readFromIni(ini, QStringLiteral("1.HW2")); // no key: address 0
    EXPECT_EQ(device.BaseAddress, 0);
    EXPECT_EQ(device.Ports[1]->BaseAddress, 0);
}

TEST_F(InterfaceTest, ComponentReversesTheDeviceInputsOnItsOutputs)
{
    auto component = TBTHardware::CreateWith(std::make_unique<TTestDevice>());
    EXPECT_EQ(component->InputCount, 8);
    EXPECT_EQ(component->OutputCount, 9);
    EXPECT_EQ(component->Outputs[0]->Name(), QStringLiteral("DI8"));
    EXPECT_EQ(component->Outputs[8]->Name(), QStringLiteral("DI0"));
    EXPECT_EQ(component->Inputs[2]->Name(), QStringLiteral("DO2"));
    EXPECT_EQ(component->Prefix(), QStringLiteral("HW"));
    EXPECT_EQ(component->GetLabel(), QStringLiteral("Test device"));

    component->Interface->BaseAddress = 0x0378;
    EXPECT_TRUE(component->GetHint().endsWith(QStringLiteral("\rPort 0378h ( 888 )")));

    // Unconnected inputs hand 5.0 to the device and count as unused at run start.
    component->SimReset();
    auto* device = static_cast<TTestDevice*>(component->Interface.get());
    EXPECT_FALSE(device->Ports[0]->Pins[0]->Used);
    EXPECT_TRUE(device->Running);
    component->Calculate();
    EXPECT_EQ(device->Ports[0]->Pins[5]->Value, 5.0L);
    EXPECT_EQ(device->Exchanges, 1);
    EXPECT_EQ(component->Outputs[0]->Value.Get(), 5.0L); // device input 8
    EXPECT_EQ(component->Outputs[8]->Value.Get(), 1.0L); // device input 0
    component->SimEnd();
    EXPECT_FALSE(device->Running);
}

TEST_F(InterfaceTest, RecordsRoundTripAndOldClassNamesLoad)
{
    EXPECT_EQ(HardwareDeviceClass(QStringLiteral("tbtcomd")), QStringLiteral("TCOM_D"));
    EXPECT_EQ(HardwareDeviceClass(QStringLiteral("TBTGate")), QString());

    TPlatine board;
    auto placed = TBTHardware::CreateWith(std::make_unique<TTestDevice>());
    placed->Interface->Name = QStringLiteral("Motor");
    placed->SetLabel(QStringLiteral("Motor"));
    placed->Interface->BaseAddress = 0x300;
    board.AddComponent(std::move(placed));
    const QByteArray saved = WriteBoard(board);
    EXPECT_TRUE(saved.contains("TBTHardware"));

    TPlatine loaded;
    EXPECT_EQ(ReadBoard(loaded, saved), 0);
    auto hardware = ItemsOf<TBTHardware>(loaded);
    ASSERT_EQ(hardware.size(), 1u);
    ASSERT_NE(dynamic_cast<TTestDevice*>(hardware[0]->Interface.get()), nullptr);
    EXPECT_EQ(hardware[0]->Interface->BaseAddress, 0x300);
    EXPECT_EQ(hardware[0]->GetLabel(), QStringLiteral("Motor"));
    EXPECT_EQ(hardware[0]->OutputCount, 9);
    EXPECT_EQ(WriteBoard(loaded), saved);

    // An older project stored the component under a per-device name, without a class name.
    auto legacy = TBTHardware::Create(QStringLiteral("tbtport_w"));
    ASSERT_TRUE(legacy->Interface);
    EXPECT_STREQ(legacy->Interface->ClassName(), "TwPort");
    QByteArray record = ComponentRecord(*legacy);
    const QByteArray className = QByteArrayLiteral("\x06\x06TwPort");
    ASSERT_TRUE(record.contains(className));
    record.remove(record.indexOf(className), className.size());
    auto reread = TBTHardware::Create(QStringLiteral("TBTPort_W"));
    QBuffer buffer(&record);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    reread->ReadData(reader, 44);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reread->InputCount, 9);

    // A device class this program does not have is the registry's class-not-found error.
    EXPECT_THROW(TBTHardware::Create(QStringLiteral("TBTNoSuchDevice")), EClassNotFound);
}

TEST_F(InterfaceTest, WaitKeepsTheCircuitSteppingWithoutReenteringTheDevice)
{
    TPlatine board;
    auto owned = TBTHardware::CreateWith(std::make_unique<TTestDevice>());
    owned->X = 1000;
    owned->Y = 1000;
    owned->LayoutPins();
    auto* hardware = static_cast<TBTHardware*>(board.AddComponent(std::move(owned)));
    auto* device = static_cast<TTestDevice*>(hardware->Interface.get());
    auto* probe = Place<TSimProbe>(board, 3);
    WirePins(board, *hardware->Outputs[8], *probe->Inputs[0]);

    board.StartSimulation();
    ASSERT_TRUE(device->StepCallback);
    ASSERT_TRUE(device->Ports[0]->StepCallback);
    device->WaitMs = 5.0;
    // Every step the wait runs moves the fake clock by one millisecond.
    int steps = 0;
    const auto step = device->Ports[0]->StepCallback;
    device->Ports[0]->StepCallback = [&] {
        ++steps;
        fake.clock.AdvanceMs(1);
        step();
    };
    board.SimStep();
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(device->Exchanges, 1); // the steps inside the wait did not drive the device
    EXPECT_EQ(probe->Values.size(), 6u);
    EXPECT_FALSE(device->Ports[0]->Busy);

    // A stop inside the wait ends it, and the device finds its port closed.
    steps = 0;
    device->WaitMs = 1000.0;
    device->Ports[0]->StepCallback = [&] {
        ++steps;
        fake.clock.AdvanceMs(1);
        if (steps == 3)
            hardware->SimEnd();
    };
    board.SimStep();
    EXPECT_EQ(steps, 3);
    EXPECT_FALSE(device->AfterWait);
    board.EndSimulation();
    EXPECT_FALSE(device->StepCallback);
}

TEST_F(InterfaceTest, NegativeWaitRunsNoStepsAndAStoppedWaitReturnsAtOnce)
{
    TTestDevice device;
    TIOPort& port = *device.Ports[0];
    int steps = 0;
    port.StepCallback = [&] { ++steps; };
    port.Running = false;
    port.Wait(50.0);
    EXPECT_EQ(steps, 0);

    // The clock moves by itself (a second device model would); -50 only polls it.
    class TMovingClock : public TFakeClock {
    public:
        int64_t PerformanceCounter() override
        {
            AdvanceMs(1);
            return TFakeClock::PerformanceCounter();
        }
    } moving;
    SetClock(&moving);
    port.Running = true;
    port.Wait(-50.0);
    EXPECT_EQ(steps, 0);
    EXPECT_GE(moving.TickCount(), 50u);
    SetClock(&fake.clock);
}
