#include "comm/opc/OpcDevices.h"

#include "comm/opc/OpcClientDlg.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/ValueText.h"

#include <QListWidget>
#include <QStringList>

#include <algorithm>

namespace {

constexpr int32_t kHelpContext = 36006;
constexpr int32_t kMinRate = 10;
constexpr int32_t kMaxRate = 100000;
constexpr int32_t kMaxItems = 1000; // more pins than a component can show

QString ItemsUnknownText(const QStringList& ids)
{
    return Lang3Q("Der OPC-Server kennt diese Werte nicht; sie bleiben in diesem Lauf "
                  "unverbunden:\n%1",
                  "The OPC server does not know these items; they stay unconnected in this "
                  "run:\n%1",
                  "Le serveur OPC ne connaît pas ces éléments ; ils restent non connectés "
                  "pendant cette exécution :\n%1")
        .arg(ids.join(QLatin1Char('\n')));
}

QString GroupRefusedText(const QString& progId)
{
    return Lang3Q("Der OPC-Server \"%1\" hat keine Gruppe angelegt. Das Gerät bleibt in diesem "
                  "Lauf untätig.",
                  "The OPC server \"%1\" did not make a group. The device stays idle in this "
                  "run.",
                  "Le serveur OPC \"%1\" n'a pas créé de groupe. L'appareil reste inactif "
                  "pendant cette exécution.")
        .arg(progId);
}

} // namespace

// --- Port ----------------------------------------------------------------------------------------

TOPC_DA2_Client_Port::TOPC_DA2_Client_Port()
{
    Name = QStringLiteral("Read items");
}

void TOPC_DA2_Client_Port::Configure(int32_t count, bool read)
{
    ClearPins();
    Name = read ? QStringLiteral("Read items") : QStringLiteral("Write items");
    for (int32_t i = 0; i < count; ++i) {
        if (read)
            AddPin(QStringLiteral("Read Item %1").arg(i), QStringLiteral("$R%1").arg(i), 0.0L,
                   5.0L, false);
        else
            AddPin(QStringLiteral("Write Item %1").arg(i), QStringLiteral("W%1").arg(i), 0.0L,
                   5.0L, false);
    }
    if (!read)
        AddPin(QStringLiteral("Write Enable"), QStringLiteral("EN"), 0.0L, 5.0L, false);
    SetInput(read);
}

// --- Device base ---------------------------------------------------------------------------------

TOPC_DA2_Client::TOPC_DA2_Client()
{
    HelpContext = kHelpContext;
    Ports.push_back(std::make_unique<TOPC_DA2_Client_Port>());
}

TOPC_DA2_Client::~TOPC_DA2_Client() = default;

TOPC_DA2_Client_Port& TOPC_DA2_Client::Port() const
{
    return static_cast<TOPC_DA2_Client_Port&>(*Ports[0]);
}

QDialog* TOPC_DA2_Client::CreateDialog()
{
    return &OPCclientDlg();
}

void TOPC_DA2_Client::getKonfigData()
{
    TIOInterface::getKonfigData();
    auto* dialog = dynamic_cast<TOPCclientDlg*>(SettingsDialog);
    if (!dialog)
        return;
    QStringList ids;
    for (const TItemData& item : Items)
        ids << item.ItemId;
    dialog->SetSelectedItems(ids);
    dialog->SetHost(Host);
    dialog->SetServer(ProgId);
    dialog->SetUpdateRate(UpdateRate);
}

void TOPC_DA2_Client::ApplySettings()
{
    TIOInterface::ApplySettings();
    auto* dialog = dynamic_cast<TOPCclientDlg*>(SettingsDialog);
    if (!dialog)
        return;
    dialog->setWindowTitle(Name);
    if (dialog->Server() != ProgId)
        Disconnect();
    Host = dialog->Host().trimmed();
    ProgId = dialog->Server().trimmed();
    UpdateRate = std::clamp(dialog->UpdateRate(), kMinRate, kMaxRate);
    if (!ProgId.isEmpty())
        Name = ProgId;
    Items.clear();
    for (const QString& id : dialog->SelectedItems().mid(0, kMaxItems))
        Items.push_back(TItemData{id});
    Port().Configure(int32_t(Items.size()), IsReader());
    // Connecting tells the items' types, which name the write client's pins. Outside a run the
    // connection ends again (the dialog showed already why a server cannot be reached); during
    // a run the device goes on with the new settings.
    const bool running = Running;
    if (Connect(running))
        NamePins();
    if (!running)
        Disconnect();
    BuildPinList();
}

bool TOPC_DA2_Client::Connect(bool tell)
{
    Disconnect();
    const auto fail = [&](const QString& reason) {
        if (tell)
            CheckService(false, reason);
    };
    QString reason;
    m_server = ConnectOpcServer(Host, ProgId, &reason);
    if (!m_server) {
        fail(reason);
        return false;
    }
    if (!m_server->AddGroup(QString::fromLatin1(kGroupName), true, UpdateRate)) {
        m_server.reset();
        fail(GroupRefusedText(ProgId));
        return false;
    }
    QStringList unknown;
    for (TItemData& item : Items) {
        item.Handle = m_server->AddItem(item.ItemId);
        item.SentText.reset();
        item.SentValue.reset();
        if (!item.Handle)
            unknown << item.ItemId;
    }
    if (!unknown.isEmpty())
        fail(ItemsUnknownText(unknown));
    return true;
}

void TOPC_DA2_Client::Disconnect()
{
    if (m_server)
        m_server->RemoveGroup();
    m_server.reset();
    for (TItemData& item : Items)
        item.Handle.reset();
}

void TOPC_DA2_Client::NamePins()
{
    TOPC_DA2_Client_Port& port = Port();
    for (size_t i = 0; i < Items.size() && i < port.Pins.size(); ++i) {
        TPin& pin = *port.Pins[i];
        pin.Description = Items[i].ItemId;
        if (!IsReader()) {
            const bool text = Items[i].Handle && Items[i].Handle->CanonicalType == kOpcTypeString;
            pin.PinName = (text ? QStringLiteral("$W%1") : QStringLiteral("W%1")).arg(i);
        }
    }
}

void TOPC_DA2_Client::SimStart()
{
    if (Running)
        return;
    if (!Connect(true))
        return;
    TDriverDevice::SimStart();
    m_lastTransfer = Clock().TickCount();
}

void TOPC_DA2_Client::SimStop()
{
    const bool running = Running;
    TDriverDevice::SimStop();
    if (running || m_server)
        Disconnect();
}

void TOPC_DA2_Client::MachEsJetzt()
{
    if (!Running || !m_server)
        return;
    const uint32_t now = Clock().TickCount();
    if (now - m_lastTransfer < uint32_t(UpdateRate))
        return;
    m_lastTransfer = now;
    Transfer();
}

void TOPC_DA2_Client::writeToStream(TWriter& writer)
{
    TIOInterface::writeToStream(writer);
    writer.WriteString(Host);
    writer.WriteString(ProgId);
    writer.WriteInteger(UpdateRate);
    writer.WriteInteger(int32_t(Items.size()));
    for (const TItemData& item : Items)
        writer.WriteString(item.ItemId);
}

void TOPC_DA2_Client::readFromStream(TReader& reader)
{
    TIOInterface::readFromStream(reader);
    Host = reader.ReadString();
    ProgId = reader.ReadString();
    UpdateRate = std::clamp(reader.ReadInteger(), kMinRate, kMaxRate);
    const int32_t count = reader.ReadInteger();
    if (count < 0 || count > kMaxItems)
        throw EFilerError::invalidPropertyValue();
    Items.clear();
    for (int32_t i = 0; i < count; ++i)
        Items.push_back(TItemData{reader.ReadString()});
}

// --- Read client ---------------------------------------------------------------------------------

const TDeviceDescription TOPC_DA2_ReadClient::Description{
    .Name = "TOPC_DA2_ReadClient",
    .Ports = {ClassEntry<TOPC_DA2_Client_Port>()},
    .Prefix = {"OPCR-"},
    .PaletteName = {"OPC DA V2 Client\r(READ)"},
    .Caption = {"OPC"},
    .HelpContext = kHelpContext,
    .Category = TPaletteCategory::OPC};

TOPC_DA2_ReadClient::TOPC_DA2_ReadClient()
{
    Describe(Description);
    Name = QStringLiteral("OPC Data Access V2 Client (Read)");
    Port().Configure(0, true);
    BuildPinList();
}

void TOPC_DA2_ReadClient::Transfer()
{
    TOPC_DA2_Client_Port& port = Port();
    for (size_t i = 0; i < Items.size() && i < port.Pins.size(); ++i) {
        TItemData& item = Items[i];
        if (!item.Handle)
            continue;
        if (const std::optional<TOpcReading> reading = m_server->ReadItem(item.Handle->ServerHandle)) {
            item.LastText = reading->Text;
            item.Quality = reading->Quality;
        }
        TPin& pin = *port.Pins[i];
        SetPinValue(pin, ParseValue(item.LastText));
        pin.Text = item.LastText;
    }
}

// --- Write client --------------------------------------------------------------------------------

const TDeviceDescription TOPC_DA2_WriteClient::Description{
    .Name = "TOPC_DA2_WriteClient",
    .Ports = {ClassEntry<TOPC_DA2_Client_Port>()},
    .Prefix = {"OPCW-"},
    .PaletteName = {"OPC DA V2 Client\r(WRITE)"},
    .Caption = {"OPC"},
    .HelpContext = kHelpContext,
    .Category = TPaletteCategory::OPC};

TOPC_DA2_WriteClient::TOPC_DA2_WriteClient()
{
    Describe(Description);
    Name = QStringLiteral("OPC Data Access V2 Client (Write)");
    Port().Configure(0, false);
    BuildPinList();
}

void TOPC_DA2_WriteClient::SimStart()
{
    // EN high at the start is a rising edge: every item is written once.
    if (!Running)
        m_enabled = false;
    TOPC_DA2_Client::SimStart();
}

void TOPC_DA2_WriteClient::Transfer()
{
    TOPC_DA2_Client_Port& port = Port();
    if (port.Pins.empty())
        return;
    const bool enabled = GetPinDigital(*port.Pins.back());
    const bool edge = enabled != m_enabled;
    m_enabled = enabled;
    if (!enabled)
        return;
    for (size_t i = 0; i < Items.size() && i + 1 < port.Pins.size(); ++i) {
        TItemData& item = Items[i];
        if (!item.Handle)
            continue;
        const TPin& pin = *port.Pins[i];
        if (item.Handle->CanonicalType == kOpcTypeString) {
            if (!edge && item.SentText == pin.Text)
                continue;
            item.SentText = pin.Text;
            m_server->WriteItem(item.Handle->ServerHandle, QVariant(pin.Text));
        } else {
            const Extended value = GetPinValue(pin);
            if (!edge && item.SentValue == value)
                continue;
            item.SentValue = value;
            // A number goes as a number: the server converts it, whatever the locale.
            m_server->WriteItem(item.Handle->ServerHandle, QVariant(double(value)));
        }
    }
}
