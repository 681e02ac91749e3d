#include "hardware/usbio/K8056.h"

#include "core/model/Translator.h"
#include "hardware/usbio/SerialLineSettings.h"
#include "hardware/usbio/UsbIoProtocol.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

namespace {

// The card takes a command in about this time; the circuit keeps stepping meanwhile.
constexpr double kCommandTimeMs = 400.0;

} // namespace

TK8056OutPort::TK8056OutPort()
{
    Name = Lang3Q("Relais", "Relays", "Relais");
    for (int n = 1; n <= 8; ++n)
        AddPin(Lang3Q("Relais %1", "Relay %1", "Relais %1").arg(n), QStringLiteral("R%1").arg(n),
               0.0L, 5.0L, false);
    SetInput(false);
}

void TK8056OutPort::SimStart()
{
    TSerialPort::SimStart();
    m_lastStatus = 0x100;
}

void TK8056OutPort::MachEsJetzt()
{
    if (!Comm || Comm->Port() == 0)
        return;
    const uint8_t status = usbio::K8056Status(GetPinsAsWord());
    if (status == m_lastStatus)
        return;
    try {
        Comm->SetBaudRate(TBaudRate::Baud2400);
    } catch (const ECommError&) {
        return; // the line refuses; tried again at the next step
    }
    const auto frame = usbio::K8056Frame(CardNumber, status);
    Comm->Write(frame.data(), int32_t(frame.size()));
    m_lastStatus = status;
    Wait(kCommandTimeMs);
}

const TDeviceDescription TK8056::Description{
    .Name = "TK8056",
    .Ports = {ClassEntry<TK8056OutPort>()},
    .Prefix = {"VREL"},
    .PaletteName = {"Velleman K8056\rRelaiskarte", "Velleman K8056\rRelay card",
                    "Carte relais\rVelleman K8056"},
    .Caption = {"Velleman K8056"},
    .HelpContext = 37000,
    .Category = TPaletteCategory::Velleman};

TK8056::TK8056()
{
    Describe(Description);
    ClearPorts();
    Name = QStringLiteral("Velleman K8056");
    auto port = std::make_unique<TK8056OutPort>();
    m_port = port.get();
    Ports.push_back(std::move(port));
    BaseAddress = 0;
    BuildPinList();
    PropagateAddress();
}

void TK8056::SetKartenAdresse(int32_t value)
{
    m_kartenAdresse = usbio::K8056CardNumber(value);
    m_port->CardNumber = uint8_t(m_kartenAdresse);
}

void TK8056::PreparePort()
{
    TCate& cate = *ComTableEntry(ComNumber);
    if (cate.Port() != 0)
        cate.SetPort(0);
    SetSerial8N1(cate, TBaudRate::Baud2400);
}

void TK8056::getKonfigData()
{
    TSerialInterface::getKonfigData();
    DlgKartenAdresse = m_kartenAdresse;
    if (TPropScrollbox* rows = DialogRows())
        rows->AddSpinProp(Translate(QStringLiteral("Adresse")) + QStringLiteral(" (")
                              + Translate(QStringLiteral("Karte")) + QLatin1Char(')'),
                          DlgKartenAdresse, 1, 255, 90);
}

void TK8056::ApplySettings()
{
    TSerialInterface::ApplySettings();
    SetKartenAdresse(DlgKartenAdresse);
    PropagateAddress();
}

void TK8056::SimStart()
{
    SetKartenAdresse(m_kartenAdresse);
    TSerialInterface::SimStart();
}

void TK8056::writeToStream(TWriter& writer)
{
    writer.WriteInteger(m_kartenAdresse);
    TSerialInterface::writeToStream(writer);
    writer.WriteInteger(ComNumber);
}

void TK8056::readFromStream(TReader& reader)
{
    SetKartenAdresse(reader.ReadInteger());
    TSerialInterface::readFromStream(reader);
    SetComPort(reader.ReadInteger());
    PropagateAddress();
}
