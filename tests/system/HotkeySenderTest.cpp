#include "components/ComponentTestSupport.h"
#include "components/system/HotkeySender.h"
#include "components/system/RegisterSystem.h"
#include "frontpanel/FrontPanel.h"

namespace {

using THotkeySenderTest = TComponentTest<RegisterSystemComponents, true>;

TEST_F(THotkeySenderTest, HoldsTheKeyWhileTheInputIsLow)
{
    auto panel = std::make_unique<TFrontplatte>();
    panel->RunMode = true;
    std::vector<std::string> log;
    panel->HotkeyReceiversDown = [&](uint16_t key, uint8_t shift) {
        log.push_back("down " + std::to_string(key) + " " + std::to_string(shift));
    };
    panel->HotkeyReceiversUp = [&](uint16_t key) { log.push_back("up " + std::to_string(key)); };

    auto c = Create<TBTHotkey_Senden>();
    c->Hotkey->Key = 'K';
    c->Hotkey->ShiftState = hsCtrl | hsShift;
    TInputs in(*c);
    // Unconnected reads high: the first step of the first run releases the key once.
    in.Unconnect(0);
    c->Calculate();
    c->Calculate();
    EXPECT_EQ(log, std::vector<std::string>({"up 75"}));
    log.clear();
    // Low for three steps: pressed at the first, released at the fourth.
    for (Extended v : {0.0L, 0.0L, 0.0L, 5.0L, 5.0L}) {
        in.Set(0, v);
        c->Calculate();
    }
    EXPECT_EQ(log, std::vector<std::string>({"down 75 5", "up 75"}));
    // The level is kept over a new run: no new release.
    log.clear();
    c->SimReset();
    c->Calculate();
    EXPECT_TRUE(log.empty());
}

TEST_F(THotkeySenderTest, RecordCarriesTheHotkey)
{
    auto c = Create<TBTHotkey_Senden>();
    c->Hotkey->Key = '7';
    c->Hotkey->ShiftState = hsAlt;
    auto copy = Create<TBTHotkey_Senden>();
    ASSERT_TRUE(Read(*copy, Write(*c)));
    EXPECT_EQ(copy->Hotkey->Key, '7');
    EXPECT_EQ(copy->Hotkey->ShiftState, hsAlt);
    EXPECT_EQ(PinNames(copy->Inputs), QStringList({"|SND"}));
}

} // namespace
