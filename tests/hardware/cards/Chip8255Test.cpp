// The 8255 card against a model of the chip: the control word at run start, the port
// directions, the bit set/reset commands of port C, the dialog's live directions.
#include "hardware/cards/CardModels.h"
#include "hardware/cards/CardTestSupport.h"

#include "hardware/cards/Chip8255.h"
#include "hardware/framework/BtHardware.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>

namespace {

class Chip8255Test : public CardFixture {
protected:
    TPpi8255Model chip{0x300};
    void SetUp() override
    {
        CardFixture::SetUp();
        io.Attach(0x300, 0x303, &chip);
    }
};

} // namespace

TEST_F(Chip8255Test, NewDeviceProgramsTheChipAndServesEachPortItsWay)
{
    T8255Interface device;
    EXPECT_EQ(device.OutputCount, 12); // A0..A7, C0..C3
    EXPECT_EQ(device.GetPinCount(), 24);
    EXPECT_EQ(device.Ports[1]->Name, QStringLiteral("8255 Port B als Eingang"));
    Place(device, 0x300);
    device.SimStart();
    ASSERT_FALSE(io.Accesses.empty());
    EXPECT_EQ(io.Accesses.front(), W(0x303, 0x8A));
    EXPECT_EQ(chip.Control, 0x8A);

    DriveBits(device, 0xA5, 8);    // A0..A7
    Drive(device, 8, 5.0L);        // C0 high, C1..C3 low
    chip.External = {0x00, 0x3C, 0x90};
    const size_t mark = io.Accesses.size();
    Step(device);
    EXPECT_EQ(Since(mark), (std::vector<TSimulatedPortIo::TAccess>{
                               W(0x300, 0xA5), R(0x301, 0x3C), W(0x303, 0x01), W(0x303, 0x02),
                               W(0x303, 0x04), W(0x303, 0x06), R(0x302, 0x91)}));
    EXPECT_EQ(chip.Latch[0], 0xA5);
    EXPECT_EQ(chip.Latch[2] & 0x0F, 0x01);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(device.GetInputValue(k), (0x3C >> k & 1) ? 5.0L : 0.0L) << "B" << k;
    const Extended upper[] = {5.0L, 0.0L, 0.0L, 5.0L}; // C4..C7 from 0x9_
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(device.GetInputValue(8 + k), upper[k]) << "C" << 4 + k;
    EXPECT_EQ(chip.Violations, 0);
    device.SimStop();
}

TEST_F(Chip8255Test, DirectionsMakeTheControlWord)
{
    struct TCase {
        int32_t a, b, cl, ch; // 1: output
        uint8_t control;
        int32_t outputs;
    };
    const TCase cases[] = {{0, 0, 0, 0, 0x9B, 0},  {1, 1, 1, 1, 0x80, 24},
                           {1, 0, 1, 0, 0x8A, 12}, {0, 1, 0, 1, 0x91, 12}};
    for (const TCase& c : cases) {
        T8255Interface device;
        device.AddressText = QStringLiteral("300");
        device.DirA = c.a;
        device.DirB = c.b;
        device.DirCL = c.cl;
        device.DirCH = c.ch;
        device.ApplySettings();
        EXPECT_EQ(device.ControlWord, c.control);
        EXPECT_EQ(device.OutputCount, c.outputs);
        EXPECT_EQ(device.Ports[3]->BaseAddress, 0x303);
        EXPECT_EQ(device.Ports[0]->Name, c.a ? QStringLiteral("8255 Port A als Ausgang")
                                             : QStringLiteral("8255 Port A als Eingang"));

        // The record keeps the word and the directions.
        T8255Interface loaded;
        LoadRecord(loaded, StoreRecord(device));
        EXPECT_EQ(loaded.ControlWord, c.control);
        EXPECT_EQ(loaded.OutputCount, c.outputs);
        EXPECT_EQ(loaded.BaseAddress, 0x300);
    }
}

TEST_F(Chip8255Test, BaseBelowThePortRangeTouchesNothing)
{
    for (uint16_t base : {uint16_t(0), uint16_t(0x0010), uint16_t(0x00FE)}) {
        T8255Interface device;
        Place(device, base);
        device.SimStart();
        DriveBits(device, 0xFF, 12);
        Step(device, 3);
        device.SimStop();
    }
    EXPECT_TRUE(io.Accesses.empty());
    EXPECT_TRUE(io.MapWrites.empty());
}

TEST_F(Chip8255Test, DialogShowsNewDirectionsAtOnceAndCancelTakesThemBack)
{
    auto component = CreateHardwareComponent(QStringLiteral("T8255Interface"));
    auto& device = static_cast<T8255Interface&>(*component->Interface);
    TScopedDialogResponder dialogs;
    QString liveName;
    dialogs.Answer([&](QDialog& d) {
        const auto combos = d.findChildren<QComboBox*>();
        EXPECT_EQ(combos.size(), 4);
        if (combos.size() == 4)
            combos[1]->setCurrentIndex(1); // port B to output
        liveName = device.Ports[1]->Name;
        return int(mrCancel);
    });
    component->EditProperties();
    EXPECT_EQ(liveName, QStringLiteral("8255 Port B als Ausgang"));
    EXPECT_TRUE(device.Ports[1]->IsInput);
    EXPECT_EQ(device.ControlWord, 0x8A);
    EXPECT_EQ(device.OutputCount, 12);

    // OK during a run offers no directions and keeps them.
    Ctx().SimRunning = true;
    dialogs.Answer([&](QDialog& d) {
        EXPECT_TRUE(d.findChildren<QComboBox*>().isEmpty());
        return int(mrOk);
    });
    component->EditProperties();
    EXPECT_EQ(device.ControlWord, 0x8A);
    EXPECT_TRUE(device.Ports[1]->IsInput);
    EXPECT_FALSE(device.Ports[0]->IsInput);
    Ctx().SimRunning = false;

    // OK in the editor applies the choice.
    dialogs.Answer([&](QDialog& d) {
        const auto combos = d.findChildren<QComboBox*>();
        if (combos.size() == 4)
            combos[0]->setCurrentIndex(0); // port A to input
        return int(mrOk);
    });
    component->EditProperties();
    EXPECT_EQ(device.ControlWord, 0x9A);
    EXPECT_EQ(component->InputCount, 4);
    EXPECT_EQ(component->OutputCount, 20);
}
