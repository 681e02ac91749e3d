// The settings dialogs of the communication devices, answered through their rows.
#include "comm/CommTestSupport.h"

#include "comm/modbus/ModbusRtu.h"
#include "comm/modbus/ModbusTcp.h"
#include "comm/tcp/PureTcp.h"
#include "comm/tcp/ValueLink.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/framework/PinEdit.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

namespace {

TPropEditor* Row(QDialog& d, const QString& caption)
{
    auto* dialog = dynamic_cast<TDefault_Dlg*>(&d);
    if (!dialog)
        return nullptr;
    for (const auto& binder : dialog->PropScrollbox->Rows())
        if (binder->Caption == caption)
            return binder->Editor;
    return nullptr;
}

QComboBox* Combo(QDialog& d, const QString& caption)
{
    auto* row = dynamic_cast<TComboPropEditor*>(Row(d, caption));
    return row ? row->Combo : nullptr;
}

QLineEdit* Edit(QDialog& d, const QString& caption)
{
    auto* row = dynamic_cast<TEditPropEditor*>(Row(d, caption));
    return row ? row->Edit : nullptr;
}

QSpinBox* Spin(QDialog& d, const QString& caption)
{
    auto* row = dynamic_cast<TSpinPropEditor*>(Row(d, caption));
    return row ? row->Spin : nullptr;
}

class CommDialogTest : public HardwareFixture {};

} // namespace

TEST_F(CommDialogTest, RawTcpRowsFollowModeAndFraming)
{
    std::unique_ptr<TBTHardware> hardware = CreateHardwareComponent(QStringLiteral("TPureTCP"));
    auto& device = static_cast<TPureTCP&>(*hardware->Interface);
    TScopedDialogResponder dialogs;
    TScopedMessageResponder messages;
    dialogs.Answer([&device](QDialog& d) {
        QComboBox* mode = Combo(d, QStringLiteral("Typ"));
        QComboBox* framing = Combo(d, QStringLiteral("Synchronisation"));
        TPropEditor* host = Row(d, QStringLiteral("Host"));
        TPropEditor* delimiter = Row(d, QStringLiteral("Trennzeichen"));
        TPropEditor* fixed = Row(d, QStringLiteral("Fest (n Bytes)"));
        EXPECT_TRUE(mode && framing && host && delimiter && fixed);
        if (!(mode && framing && host && delimiter && fixed))
            return int(mrCancel);
        EXPECT_TRUE(host->isEnabled());
        EXPECT_TRUE(delimiter->isEnabled());
        EXPECT_FALSE(fixed->isEnabled());
        // Each change of the two rows hands the pin-and-port dialog the device's ports again.
        PinPortDlg().PinEdit->SetPortliste(nullptr);
        mode->setCurrentIndex(1);
        EXPECT_EQ(PinPortDlg().PinEdit->Portliste(), &device.Ports);
        PinPortDlg().PinEdit->SetPortliste(nullptr);
        framing->setCurrentIndex(1);
        EXPECT_EQ(PinPortDlg().PinEdit->Portliste(), &device.Ports);
        EXPECT_FALSE(delimiter->isEnabled());
        EXPECT_TRUE(fixed->isEnabled());
        EXPECT_TRUE(host->isEnabled()) << "a server listens on the host's address";
        Edit(d, QStringLiteral("Port [TCP]"))->setText(QStringLiteral("4711"));
        return int(mrOk);
    });
    EXPECT_EQ(hardware->EditProperties(), mrOk);
    EXPECT_EQ(device.Mode, 1);
    EXPECT_EQ(device.FramingMode, 1);
    EXPECT_EQ(device.Port, 4711);
    EXPECT_TRUE(messages.Requests().empty());

    // A port that is no port is refused with a message; the old one stays.
    for (const char* text : {"70000", "0", "12a"}) {
        dialogs.Answer([text](QDialog& d) {
            Edit(d, QStringLiteral("Port [TCP]"))->setText(QString::fromLatin1(text));
            return int(mrOk);
        });
        EXPECT_EQ(hardware->EditProperties(), mrOk);
        EXPECT_EQ(device.Port, 4711) << text;
    }
    EXPECT_EQ(messages.Requests().size(), 3u);
}

TEST_F(CommDialogTest, ValueLinkSignalKindRebuildsThePinsAtOnce)
{
    std::unique_ptr<TBTHardware> hardware = CreateHardwareComponent(QStringLiteral("TTCP"));
    auto& device = static_cast<TTCP&>(*hardware->Interface);
    EXPECT_EQ(hardware->InputCount, 2);
    TScopedDialogResponder dialogs;
    dialogs.Answer([&device](QDialog& d) {
        Combo(d, QStringLiteral("Signal"))->setCurrentIndex(1);
        EXPECT_EQ(device.Ports[0]->Pins.size(), 17u);
        return int(mrCancel);
    });
    EXPECT_EQ(hardware->EditProperties(), mrCancel);
    EXPECT_EQ(device.SignalKind, 0); // Cancel restores the analog pins
    EXPECT_EQ(device.Ports[0]->Pins.size(), 2u);
    dialogs.Answer([](QDialog& d) {
        Combo(d, QStringLiteral("Signal"))->setCurrentIndex(1);
        Spin(d, QStringLiteral("Kanal"))->setValue(42);
        return int(mrOk);
    });
    EXPECT_EQ(hardware->EditProperties(), mrOk);
    EXPECT_EQ(device.SignalKind, 1);
    EXPECT_EQ(device.Channel, 42);
    EXPECT_EQ(hardware->InputCount, 17);
    EXPECT_EQ(hardware->OutputCount, 17);
}

TEST_F(CommDialogTest, ModbusDevicesTakeTheirChannelCount)
{
    for (const char* cls : {"TModbus_ReadCoils", "TModbusRTU_WriteRegs"}) {
        std::unique_ptr<TBTHardware> hardware = CreateHardwareComponent(QString::fromLatin1(cls));
        TScopedDialogResponder dialogs;
        dialogs.Answer([](QDialog& d) {
            Spin(d, QStringLiteral("Kanäle"))->setValue(12);
            Spin(d, QStringLiteral("Start address"))->setValue(65536);
            return int(mrOk);
        });
        EXPECT_EQ(hardware->EditProperties(), mrOk);
        EXPECT_EQ(hardware->Interface->Ports[2]->Pins.size(), 12u) << cls;
        EXPECT_EQ(hardware->Interface->Ports[2]->Pins[11]->PinName.right(2), QStringLiteral("12"));
    }
    // The single writes have one pin and no channel row.
    std::unique_ptr<TBTHardware> single = CreateHardwareComponent(QStringLiteral("TModbus_WriteSingleReg"));
    TScopedDialogResponder dialogs;
    dialogs.Answer([](QDialog& d) {
        EXPECT_EQ(Row(d, QStringLiteral("Kanäle")), nullptr);
        return int(mrOk);
    });
    EXPECT_EQ(single->EditProperties(), mrOk);
    EXPECT_EQ(single->Interface->Ports[2]->Pins.size(), 1u);
    EXPECT_EQ(single->GetTypeName().isEmpty(), false);
}
