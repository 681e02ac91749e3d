// A device on a maker's ActiveX control in its role: the fake control drives a small device
// through a run, and without the control the device tells the user once and stays idle.
#include "hardware/HardwareTestSupport.h"

#include "fakes/FakeActiveXControls.h"
#include "hardware/transport/ActiveXDevice.h"
#include "hardware/transport/LibadxPool.h"
#include "platform/MessageBox.h"

namespace {

// Analog input 0 and the eight digital outputs of an AD-USB module, exchanged in every step.
class TAdUsbProbe : public TActiveXDevice<IAdUsbControl> {
public:
    TV_CLASS_NAME(TAdUsbProbe)
    TAdUsbProbe() : TActiveXDevice(kAdUsb3ClassId)
    {
        Name = QStringLiteral("AD-USB probe");
        Ports.push_back(std::make_unique<TDOutPort>());
        auto in = std::make_unique<TAInPort>();
        in->AddPin(QStringLiteral("AI 0"), QStringLiteral("AI0"), -10.0L, 10.0L, false);
        in->SetInput(true);
        Ports.push_back(std::move(in));
        BuildPinList();
    }
    void SimStart() override
    {
        m_opened = CheckControl() && Control->OpenModule(int16_t(BaseAddress));
        if (m_opened)
            TActiveXDevice::SimStart();
    }
    void MachEsJetzt() override
    {
        if (!m_opened)
            return;
        Ports[1]->Pins[0]->Value = Control->AnalogValue(int16_t(BaseAddress), 0);
        int16_t bits = 0;
        for (int i = 0; i < 8; ++i)
            if (Ports[0]->Pins[size_t(i)]->Value > 2.5L)
                bits = int16_t(bits | 1 << i);
        Control->SetDigitalByte(int16_t(BaseAddress), bits);
    }
    void SimStop() override
    {
        TActiveXDevice::SimStop();
        if (m_opened)
            Control->CloseModule();
        m_opened = false;
    }

private:
    bool m_opened = false;
};

using ActiveXDeviceTest = HardwareFixture;

} // namespace

TEST_F(ActiveXDeviceTest, FakeControlDrivesTheDeviceThroughARun)
{
    TAdUsbModule module;
    module.Present = 5;
    module.Inputs[0] = -3.25;
    TScopedActiveXControl registered(QStringLiteral("{3fa65aad-3df5-4d30-8fa7-799205b01c91}"), [&] {
        return std::make_unique<TFakeAdUsbControl>(module);
    });
    TScopedMessageResponder messages;
    TAdUsbProbe probe;
    ASSERT_TRUE(probe.Control);
    probe.BaseAddress = 5;
    probe.SimStart();
    probe.SetValue(2, 5.0L);
    probe.SetValue(7, 5.0L);
    probe.MachEsJetzt();
    EXPECT_EQ(probe.GetInputValue(0), -3.25L);
    EXPECT_EQ(module.DigitalOutputs, 0x84);
    probe.SimStop();
    EXPECT_FALSE(module.Open);
    EXPECT_EQ(module.Calls, (std::vector<std::string>{"OpenModule 5", "AnalogValue 5 0",
                                                      "SetDigitalByte 5 132", "CloseModule"}));

    // A module that does not open leaves the device idle for the run, and nothing is told.
    module.Calls.clear();
    probe.BaseAddress = 6;
    probe.SimStart();
    probe.MachEsJetzt();
    probe.SimStop();
    EXPECT_EQ(module.Calls, std::vector<std::string>{"OpenModule 6"});
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(ActiveXDeviceTest, MissingControlIsToldOncePerRunAndTheDeviceStaysIdle)
{
    TScopedMessageResponder messages;
    Ctx().CurrentLanguage = 0;
    TAdUsbProbe probe; // no control of that class on this system
    EXPECT_FALSE(probe.Control);
    for (int run = 1; run <= 2; ++run) {
        probe.SimStart();
        probe.CheckControl();
        probe.MachEsJetzt();
        EXPECT_FALSE(probe.Running);
        probe.SimStop();
        ASSERT_EQ(messages.Requests().size(), size_t(run));
    }
    EXPECT_EQ(messages.Requests()[0].caption, QStringLiteral("AD-USB probe"));
    EXPECT_TRUE(messages.Requests()[0].text.startsWith(
        QString::fromUtf8("Für dieses Gerät ist der Treiber des Herstellers erforderlich.")));
    EXPECT_FALSE(probe.CheckControlForDialog());
    EXPECT_EQ(messages.Requests().size(), 3u);

    // A control registered for another role is not handed out in this one.
    TScopedActiveXControl other(kAdUsb3ClassId, [] { return std::make_unique<IActiveXControl>(); });
    EXPECT_FALSE(CreateActiveXControl<IAdUsbControl>(kAdUsb3ClassId));
    EXPECT_TRUE(CreateActiveXControl(kAdUsb3ClassId));
}

TEST_F(ActiveXDeviceTest, DevicesOnOneLibadxAddressShareOneControl)
{
    TLibadxDevice device;
    device.Address = QStringLiteral("usbbase");
    device.Analog[1] = 2.5f;
    TScopedActiveXControl registered(kLibadxClassId,
                                     [&] { return std::make_unique<TFakeLibadxControl>(device); });
    TLibadxPool pool;
    ILibadxControl* first = pool.Acquire(QStringLiteral("usbbase"));
    ILibadxControl* second = pool.Acquire(QStringLiteral("usbbase"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(device.Created, 1);
    EXPECT_EQ(first->AnalogIn(1, 3), 2.5f);
    EXPECT_NE(pool.Acquire(QStringLiteral("UsbBase")), first); // the text counts exactly
    pool.Release(QStringLiteral("UsbBase"));
    device.Calls.clear();
    pool.Release(QStringLiteral("usbbase")); // the first to stop does not close it
    EXPECT_TRUE(device.Calls.empty());
    EXPECT_EQ(pool.UseCount(QStringLiteral("usbbase")), 1);
    pool.Release(QStringLiteral("usbbase"));
    EXPECT_EQ(device.Calls, std::vector<std::string>{"Close"});
    EXPECT_EQ(pool.UseCount(QStringLiteral("usbbase")), 0);
    pool.Release(QStringLiteral("usbbase")); // no longer held: nothing

    // Without the control the address is still counted, and releasing it calls nothing.
    RegisterActiveXControl(kLibadxClassId, {});
    EXPECT_FALSE(pool.Acquire(QStringLiteral("im:10.0.0.2")));
    EXPECT_EQ(pool.UseCount(QStringLiteral("im:10.0.0.2")), 1);
    pool.Release(QStringLiteral("im:10.0.0.2"));
    EXPECT_EQ(pool.UseCount(QStringLiteral("im:10.0.0.2")), 0);
}
