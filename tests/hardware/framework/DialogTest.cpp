// The settings round trip of a device, the pin and port editor, the hardware settings file and
// the hardware dialog.
#include "hardware/HardwareTestSupport.h"

#include "core/EngineTestSupport.h"
#include "core/board/Makro.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/framework/HardwareDlg.h"
#include "widgets/ColumnListBox.h"
#include "hardware/framework/HardwareSettings.h"
#include "hardware/framework/PinEdit.h"
#include "hardware/ports/LptInterface.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/SettingsDialog.h"

#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>

namespace {

QByteArray RecordOf(TBauteil& item)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    item.WriteData(writer);
    return data;
}

QLineEdit* EditWithText(QDialog& dialog, const QString& text)
{
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        if (edit->text() == text)
            return edit;
    return nullptr;
}

using DialogTest = HardwareFixture;

} // namespace

TEST_F(DialogTest, CancelRestoresTheDeviceAndOkAppliesIt)
{
    auto lpt = CreateHardwareComponent(QStringLiteral("TLPTInterface"));
    const QByteArray before = RecordOf(*lpt);
    TScopedDialogResponder dialogs;
    QStringList pinCaptions;
    dialogs.Answer([&](QDialog& d) {
        // Change the address, rename a pin in the pin editor, then cancel.
        QLineEdit* address = EditWithText(d, QStringLiteral("0000"));
        EXPECT_NE(address, nullptr);
        if (address)
            address->setText(QStringLiteral("278"));
        if (auto* dialog = dynamic_cast<TDefault_Dlg*>(&d))
            dialog->PinBtn->click();
        return int(mrCancel);
    });
    dialogs.Answer([&](QDialog& d) {
        pinCaptions << d.windowTitle();
        auto* pins = dynamic_cast<TPinPortDlg*>(&d);
        EXPECT_NE(pins, nullptr);
        if (pins) {
            pins->PinEdit->PinGrid->item(0, 1)->setText(QStringLiteral("Motor"));
            SetModalResult(*pins, mrOk);
        }
        return int(mrOk);
    });
    EXPECT_EQ(lpt->EditProperties(), mrCancel);
    EXPECT_EQ(pinCaptions, QStringList{QStringLiteral("LPT-Port")});
    EXPECT_EQ(RecordOf(*lpt), before);
    EXPECT_FALSE(lpt->Interface->HasSnapshot());
    EXPECT_EQ(lpt->Inputs[0]->Name(), QStringLiteral("D0"));

    dialogs.Answer([](QDialog& d) {
        QLineEdit* address = EditWithText(d, QStringLiteral("0000"));
        EXPECT_NE(address, nullptr);
        if (address)
            address->setText(QStringLiteral("378"));
        return int(mrOk);
    });
    EXPECT_EQ(lpt->EditProperties(), mrOk);
    EXPECT_EQ(lpt->Interface->BaseAddress, 0x0378);
    EXPECT_EQ(lpt->Interface->Ports[1]->BaseAddress, 0x0378);
    EXPECT_NE(RecordOf(*lpt), before);
}

TEST_F(DialogTest, PinEditorKeepsDescriptionsAndConfiguresPins)
{
    Ctx().CurrentLanguage = 1;
    TPortList ports;
    ports.push_back(std::make_unique<TDOutPort>());
    auto analog = std::make_unique<TAOutPort>();
    analog->AddPin(QStringLiteral("Channel 0"), QStringLiteral("AO0"), -10.0L, 10.0L, true);
    analog->AddPin(QStringLiteral("Channel 1"), QStringLiteral("AO1"), 0.0L, 5.0L, true);
    analog->SetInput(false);
    analog->Pins[1]->Option3 = 1;
    ports.push_back(std::move(analog));

    TPinEdit editor;
    editor.SetPortliste(&ports);
    ASSERT_EQ(editor.PortListBox->count(), 2);
    EXPECT_EQ(editor.PortListBox->item(1)->text(), QStringLiteral("Analogue outputs"));
    EXPECT_EQ(editor.PinGrid->rowCount(), 8);
    EXPECT_FALSE(editor.ConfigButton->isEnabled());

    editor.PinGrid->item(2, 1)->setText(QStringLiteral("Pump"));
    editor.PortListBox->setCurrentRow(1);
    EXPECT_EQ(ports[0]->Pins[2]->Description, QStringLiteral("Pump"));
    EXPECT_EQ(editor.PinGrid->rowCount(), 2);
    EXPECT_EQ(editor.RangeLabel->text(), QStringLiteral("-10.000 ... 10.000 (output)"));
    EXPECT_EQ(editor.PinBox->title(), QStringLiteral("Channel 0 [AO0]"));
    EXPECT_TRUE(editor.ConfigButton->isEnabled());

    TScopedDialogResponder dialogs;
    // Text that is no number resets the range to 0 ... 5.
    dialogs.Answer([](QDialog& d) {
        const auto edits = d.findChildren<QLineEdit*>();
        EXPECT_EQ(edits.size(), 2);
        if (edits.size() == 2) {
            EXPECT_EQ(edits[1]->text(), QStringLiteral("10"));
            edits[0]->setText(QStringLiteral("abc"));
        }
        return int(mrOk);
    });
    editor.ConfigureClick();
    EXPECT_EQ(ports[1]->Pins[0]->Min, 0.0L);
    EXPECT_EQ(ports[1]->Pins[0]->Max, 5.0L);
    EXPECT_EQ(editor.RangeLabel->text(), QStringLiteral("0.000 ... 5.000 (output)"));

    // A pin whose direction the user chooses shows the direction instead of the range.
    editor.PinGrid->setCurrentCell(1, 1);
    dialogs.Answer([](QDialog& d) {
        EXPECT_TRUE(d.findChildren<QLineEdit*>().isEmpty());
        const auto combos = d.findChildren<QComboBox*>();
        EXPECT_EQ(combos.size(), 1);
        if (combos.size() == 1) {
            EXPECT_EQ(combos[0]->itemText(0), QStringLiteral("Input"));
            combos[0]->setCurrentIndex(0);
        }
        return int(mrOk);
    });
    editor.ConfigureClick();
    EXPECT_EQ(ports[1]->Pins[1]->IsOutput, 0);
    EXPECT_TRUE(editor.RangeLabel->text().endsWith(QStringLiteral("(input)")));

    // The device rebuilds its ports while the editor shows them: the editor shows the new ones.
    ports.pop_back();
    ports.push_back(std::make_unique<TAInPort>());
    ports.back()->AddPin(QStringLiteral("New"), QStringLiteral("AI0"), 0, 1, false);
    editor.Refresh();
    EXPECT_EQ(editor.CurrentPort, 1);
    EXPECT_EQ(editor.PinGrid->item(0, 0)->text(), QStringLiteral("AI0"));
    EXPECT_EQ(editor.SelectedPin(), ports[1]->Pins[0].get());
    editor.SetPortliste(nullptr);
}

TEST_F(DialogTest, ALanguageOutsideTheThreeShowsTheGermanTexts)
{
    Ctx().CurrentLanguage = 3;
    TPinEdit editor;
    EXPECT_EQ(editor.PinGrid->horizontalHeaderItem(0)->text(), QStringLiteral("Anschluss"));
    THardware_Dlg dialog;
    EXPECT_EQ(dialog.CancelBtn->text(), QStringLiteral("&Abbrechen"));
}

TEST_F(DialogTest, SettingsFileNumbersBoardsDepthFirst)
{
    TPlatine top;
    auto add = [](TPlatine& board, const char* deviceClass, uint16_t address) {
        auto hardware = CreateHardwareComponent(QString::fromLatin1(deviceClass));
        hardware->Interface->BaseAddress = address;
        auto* placed = static_cast<TBTHardware*>(board.AddComponent(std::move(hardware)));
        board.RenumberClass(placed->ClassName());
        return placed;
    };
    add(top, "TLPTInterface", 0x378);
    TMakro* first = PlaceMacro(top, 1, 0, 0);
    TMakro* inner = PlaceMacro(*first->InnerBoard(), 1, 0, 0);
    add(*inner->InnerBoard(), "TwPort", 0x300);
    TMakro* second = PlaceMacro(top, 2, 0, 0);
    add(*second->InnerBoard(), "TrPort", 0x301);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("HARDWARE.INI"));
    {
        TIniFile ini(fileName);
        int32_t number = 1;
        SaveHardwareSettings(top, ini, number);
        EXPECT_EQ(number, 4);
        ASSERT_TRUE(ini.UpdateFile());
    }
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(file.readAll()),
              QStringLiteral("[1.LPT1]\r\nName=LPT-Port\r\nBasisadresse=0378\r\n"
                             "[3.WPort8-1]\r\nName=8-Bit-Register (write)\r\nBasisadresse=0300\r\n"
                             "[4.RPort8-1]\r\nName=8-Bit-Register (read)\r\nBasisadresse=0301\r\n"));

    // Edited addresses come back into the devices; a missing section reads the defaults.
    {
        TIniFile ini(fileName);
        ini.WriteString(QStringLiteral("1.LPT1"), QStringLiteral("Basisadresse"),
                        QStringLiteral("0278"));
        ini.EraseSection(QStringLiteral("4.RPort8-1"));
        int32_t number = 1;
        LoadHardwareSettings(top, ini, number);
    }
    EXPECT_EQ(ItemsOf<TBTHardware>(top)[0]->Interface->BaseAddress, 0x0278);
    EXPECT_EQ(ItemsOf<TBTHardware>(*second->InnerBoard())[0]->Interface->BaseAddress, 0);
}

TEST_F(DialogTest, HardwareDialogChangesValuesOfOneKind)
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("TEMP.INI"));
    {
        TIniFile ini(fileName);
        ini.WriteString(QStringLiteral("1.HW1"), QStringLiteral("Name"), QStringLiteral("Card"));
        ini.WriteString(QStringLiteral("1.HW1"), QStringLiteral("Basisadresse"), QStringLiteral("0300"));
        ini.WriteString(QStringLiteral("2.COM1"), QStringLiteral("Name"), QStringLiteral("Relay"));
        ini.WriteString(QStringLiteral("2.COM1"), QStringLiteral("COM"), QStringLiteral("1"));
        ini.WriteString(QStringLiteral("2.COM2"), QStringLiteral("Name"), QStringLiteral("Meter"));
        ini.WriteString(QStringLiteral("2.COM2"), QStringLiteral("COM"), QStringLiteral("x"));
        ASSERT_TRUE(ini.UpdateFile());
    }
    THardware_Dlg& dialog = Hardware_Dlg();
    dialog.LoadHardwareIni(fileName);
    const auto field = [&](int row, int column) {
        return TWLXListBox::SplitFields(dialog.NewGrid->List().Item(row), dialog.NewGrid->Delimiter()).value(column);
    };
    ASSERT_EQ(dialog.NewGrid->List().Count(), 3);
    EXPECT_EQ(dialog.NewGrid->Header().SectionText(2), QStringLiteral("Verbindung"));
    EXPECT_EQ(field(1, 2), QStringLiteral("COM"));

    auto select = [&](std::initializer_list<int> rows) {
        dialog.NewGrid->List().clearSelection();
        for (int row : rows)
            dialog.NewGrid->List().SetSelected(row, true);
    };
    select({0, 1});
    EXPECT_FALSE(dialog.ChangeBtn->isEnabled());

    select({1, 2});
    ASSERT_TRUE(dialog.ChangeBtn->isEnabled());
    TScopedDialogResponder dialogs;
    dialogs.Answer([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("COM"));
        const auto combos = d.findChildren<QComboBox*>();
        EXPECT_EQ(combos.size(), 1);
        if (combos.size() == 1) {
            EXPECT_EQ(combos[0]->count(), 100);
            EXPECT_EQ(combos[0]->currentIndex(), 1);
            combos[0]->setCurrentIndex(3);
        }
        return int(mrOk);
    });
    dialog.ChangeSelected();
    EXPECT_EQ(dialog.Grid[1].Value, QStringLiteral("3"));
    EXPECT_EQ(dialog.Grid[2].Value, QStringLiteral("3"));

    select({0});
    dialogs.Answer([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Card"));
        QLineEdit* edit = EditWithText(d, QStringLiteral("0300"));
        EXPECT_NE(edit, nullptr);
        if (edit)
            edit->setText(QStringLiteral("378"));
        return int(mrOk);
    });
    dialog.ChangeSelected();
    EXPECT_EQ(dialog.Grid[0].Value, QStringLiteral("0378"));

    dialog.SaveHardwareIni(fileName);
    TIniFile saved(fileName);
    EXPECT_EQ(saved.ReadString(QStringLiteral("1.HW1"), QStringLiteral("Basisadresse"), {}),
              QStringLiteral("0378"));
    EXPECT_EQ(saved.ReadString(QStringLiteral("2.COM2"), QStringLiteral("COM"), {}),
              QStringLiteral("3"));
    EXPECT_FALSE(saved.ValueExists(QStringLiteral("1.HW1"), QStringLiteral("COM")));

    // A project without hardware shows one row and no list to choose from.
    const QString empty = dir.filePath(QStringLiteral("EMPTY.INI"));
    dialog.LoadHardwareIni(empty);
    ASSERT_EQ(dialog.NewGrid->List().Count(), 1);
    EXPECT_EQ(field(0, 1), QStringLiteral("Projekt verwendet keine Hardware"));
    EXPECT_FALSE(dialog.NewGrid->isEnabled());
}

TEST_F(DialogTest, HardwareCommandWritesTheEditedAddressesBack)
{
    TPlatine top;
    auto hardware = CreateHardwareComponent(QStringLiteral("TLPTInterface"));
    auto* lpt = static_cast<TBTHardware*>(top.AddComponent(std::move(hardware)));
    top.RenumberClass(lpt->ClassName());
    TScopedDialogResponder dialogs;
    dialogs.Answer([](QDialog& d) {
        auto& hw = dynamic_cast<THardware_Dlg&>(d);
        EXPECT_EQ(hw.Grid.size(), 1u);
        if (!hw.Grid.empty()) {
            EXPECT_EQ(hw.Grid[0].Section, QStringLiteral("1.LPT1"));
            hw.Grid[0].Value = QStringLiteral("0278");
        }
        return int(mrOk);
    });
    EXPECT_EQ(EditHardwareConnections(top), mrOk);
    EXPECT_EQ(lpt->Interface->BaseAddress, 0x0278);

    dialogs.Answer([](QDialog& d) {
        dynamic_cast<THardware_Dlg&>(d).Grid[0].Value = QStringLiteral("0378");
        return int(mrCancel);
    });
    EXPECT_EQ(EditHardwareConnections(top), mrCancel);
    EXPECT_EQ(lpt->Interface->BaseAddress, 0x0278);
}
