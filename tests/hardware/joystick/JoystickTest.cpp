// The joystick device on a fake joystick system.
#include "hardware/HardwareTestSupport.h"

#include "hardware/joystick/Joystick.h"
#include "platform/Joystick.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"

#include <map>

namespace {

class TFakeJoysticks : public IJoystickSystem {
public:
    std::map<int32_t, TJoystickState> Present; // by index
    int Reads = 0;
    int32_t SlotCount() override { return 4; }
    bool Read(int32_t index, TJoystickState& state) override
    {
        ++Reads;
        auto it = Present.find(index);
        if (it == Present.end())
            return false;
        state = it->second;
        return true;
    }
};

class JoystickTest : public HardwareFixture {
protected:
    void SetUp() override
    {
        HardwareFixture::SetUp();
        SetJoystickSystem(&joysticks);
    }
    void TearDown() override
    {
        SetJoystickSystem(nullptr);
        HardwareFixture::TearDown();
    }
    TFakeJoysticks joysticks;
    TScopedMessageResponder messages;
};

} // namespace

TEST_F(JoystickTest, AxesAndButtonsArePolledEvery25Ms)
{
    joysticks.Present[0] = TJoystickState{0, 0, 65535, 0b0101};
    TJoystick device;
    device.BaseAddress = 1;
    device.PropagateAddress();
    device.SimStart();
    fake.clock.AdvanceMs(25);
    device.MachEsJetzt();
    // Inputs: X, Y, Z, B0..B3
    EXPECT_NEAR(double(device.GetInputValue(0)), -100.0, 1e-9);
    EXPECT_NEAR(double(device.GetInputValue(1)), 100.0, 1e-9); // y is negated
    EXPECT_NEAR(double(device.GetInputValue(2)), 100.0, 1e-9);
    const Extended buttons[] = {5.0L, 0.0L, 5.0L, 0.0L};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(device.GetInputValue(3 + k), buttons[k]) << k;
    joysticks.Present[0].X = 65535;
    fake.clock.AdvanceMs(10);
    device.MachEsJetzt(); // within 25 ms: no poll
    EXPECT_NEAR(double(device.GetInputValue(0)), -100.0, 1e-9);
    fake.clock.AdvanceMs(15);
    device.MachEsJetzt();
    EXPECT_NEAR(double(device.GetInputValue(0)), 100.0, 1e-9);
    device.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(JoystickTest, ListOffersThePresentJoysticksByNumber)
{
    joysticks.Present[0] = {};
    joysticks.Present[2] = {};
    TJoystick device;
    device.SettingsDialog = device.CreateDialog();
    device.getKonfigData();
    device.DialogRows()->Clear(); // the rows are bound to this device
    device.RevertSettings();
    device.SettingsDialog = nullptr;
    EXPECT_EQ(device.JoystickList.size(), 3);
    EXPECT_EQ(device.JoystickList[2], QStringLiteral("Joystick #3"));
    EXPECT_EQ(device.JoystickNumbers, (std::vector<int32_t>{0, 1, 3}));
}

TEST_F(JoystickTest, NoJoystickMeansNoCallsAndAnAbsentOneIsReported)
{
    TJoystick none;
    none.SimStart();
    fake.clock.AdvanceMs(100);
    none.MachEsJetzt();
    none.SimStop();
    EXPECT_EQ(joysticks.Reads, 0);
    EXPECT_TRUE(messages.Requests().empty());

    Ctx().CurrentLanguage = 0;
    TJoystick absent;
    absent.BaseAddress = 2;
    absent.PropagateAddress();
    absent.SimStart();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.startsWith(QStringLiteral("Joystick #2 antwortet nicht.")));
    const int reads = joysticks.Reads;
    fake.clock.AdvanceMs(100);
    absent.MachEsJetzt(); // disabled for the run
    EXPECT_EQ(joysticks.Reads, reads);
    absent.SimStop();
}
