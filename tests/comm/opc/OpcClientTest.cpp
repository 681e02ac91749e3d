// The OPC DA client devices, their dialog and the server list against fake servers: reads at
// most once per update period, writes on the enable edge and then on change, item types that
// name the pins, and a server that cannot be reached, refuses or does not know items.
#include "comm/CommTestSupport.h"

#include "fakes/FakeOpcServer.h"

#include "comm/opc/OpcClientDlg.h"
#include "comm/opc/OpcDevices.h"
#include "comm/opc/OpcServerList.h"
#include "hardware/framework/BtHardware.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QBuffer>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include <map>

namespace {

// A connection to one of the test's servers, which outlive the devices' connections.
class TOpcConnection : public IOpcServer {
public:
    explicit TOpcConnection(TFakeOpcServer& server) : m_server(server) {}
    bool AddGroup(const QString& name, bool active, int32_t rate) override
    {
        return m_server.AddGroup(name, active, rate);
    }
    void RemoveGroup() override { m_server.RemoveGroup(); }
    std::optional<TOpcItem> AddItem(const QString& id) override { return m_server.AddItem(id); }
    std::optional<TOpcReading> ReadItem(uint32_t h) override { return m_server.ReadItem(h); }
    bool WriteItem(uint32_t h, const QVariant& v) override { return m_server.WriteItem(h, v); }
    QStringList BrowseItemIds() override { return m_server.BrowseItemIds(); }

private:
    TFakeOpcServer& m_server;
};

class OpcTest : public HardwareFixture {
protected:
    void SetUp() override
    {
        HardwareFixture::SetUp();
        SetOpcBackend({[this](const QString& host, const QString& progId,
                              QString* error) -> std::unique_ptr<IOpcServer> {
                           connects.push_back(host + QLatin1Char('/') + progId);
                           const auto it = servers.find(progId);
                           if (it == servers.end()) {
                               *error = QStringLiteral("no such server");
                               return nullptr;
                           }
                           return std::make_unique<TOpcConnection>(it->second);
                       },
                       [this](const QString& host) {
                           hostsListed << host;
                           return host == QLatin1String("unreachable") ? std::vector<TOpcServerInfo>()
                                                                       : registry;
                       }});
    }
    void TearDown() override
    {
        SetOpcBackend({});
        HardwareFixture::TearDown();
    }
    // The dialog's values applied to a device as OK applies them.
    static void Apply(TOPC_DA2_Client& device, const QString& progId, const QStringList& ids,
                      int rate)
    {
        TOPCclientDlg& dialog = OPCclientDlg();
        device.SettingsDialog = device.CreateDialog();
        device.getKonfigData();
        dialog.SetHost(QString());
        dialog.SetServer(progId);
        dialog.SetUpdateRate(rate);
        dialog.SetSelectedItems(ids);
        device.ApplySettings();
        device.SettingsDialog = nullptr;
    }
    template <class T>
    std::unique_ptr<T> Configured(const QString& progId, const QStringList& ids, int rate = 500)
    {
        auto device = std::make_unique<T>();
        Apply(*device, progId, ids, rate);
        return device;
    }
    void StepAt(TIOInterface& device, int64_t ms)
    {
        fake.clock.AdvanceMs(ms - (int64_t(fake.clock.TickCount()) - m_start));
        device.MachEsJetzt();
    }
    void Start(TIOInterface& device)
    {
        m_start = fake.clock.TickCount();
        device.SimStart();
    }

    std::map<QString, TFakeOpcServer> servers;
    std::vector<TOpcServerInfo> registry;
    QStringList connects;
    QStringList hostsListed;
    TScopedMessageResponder messages;

private:
    int64_t m_start = 0;
};

QStringList PinNames(const TIOPort& port)
{
    QStringList names;
    for (const auto& pin : port.Pins)
        names << pin->PinName;
    return names;
}

} // namespace

TEST_F(OpcTest, ReadClientReadsEveryUpdatePeriodAndTakesTrueAsFive)
{
    TFakeOpcServer& server = servers[QStringLiteral("Plant.Server")];
    server.Items = {{"Tank.Level", "12,5"}, {"Pump.On", "TRUE"}, {"Hex", "$1F"}};
    auto device = Configured<TOPC_DA2_ReadClient>(QStringLiteral("Plant.Server"),
                                                  {"Tank.Level", "Pump.On", "Hex"});
    EXPECT_EQ(device->Name, QStringLiteral("Plant.Server"));
    EXPECT_EQ(PinNames(device->Port()), QStringList({"$R0", "$R1", "$R2"}));
    EXPECT_EQ(device->Port().Pins[1]->Description, QStringLiteral("Pump.On"));
    EXPECT_TRUE(device->Port().IsInput);
    server.Reads = 0;

    Start(*device);
    EXPECT_EQ(server.Group, QString::fromLatin1(TOPC_DA2_Client::kGroupName));
    EXPECT_EQ(server.UpdateRate, 500);
    struct Step {
        int64_t at;   // ms after the start
        int reads;    // reads so far
    } steps[] = {{0, 0}, {499, 0}, {500, 3}, {999, 3}, {1000, 6}, {1200, 6}};
    for (const Step& s : steps) {
        StepAt(*device, s.at);
        EXPECT_EQ(server.Reads, s.reads) << s.at;
    }
    const auto& pins = device->Port().Pins;
    EXPECT_EQ(pins[0]->Value, 12.5L);
    EXPECT_EQ(pins[1]->Value, 5.0L);
    EXPECT_EQ(pins[1]->Text, QStringLiteral("TRUE"));
    EXPECT_EQ(pins[2]->Value, 31.0L);

    // Between two periods the pins keep their values.
    server.Items["Tank.Level"] = QStringLiteral("7");
    StepAt(*device, 1499);
    EXPECT_EQ(pins[0]->Value, 12.5L);
    StepAt(*device, 1500);
    EXPECT_EQ(pins[0]->Value, 7.0L);

    // Settings applied during the run take effect at once; the device keeps running.
    Apply(*device, QStringLiteral("Plant.Server"), {"Hex"}, 500);
    EXPECT_TRUE(device->Running);
    ASSERT_EQ(device->Port().Pins.size(), 1u);
    StepAt(*device, 2000);
    EXPECT_EQ(device->Port().Pins[0]->Value, 31.0L);
    device->SimStop();
    EXPECT_TRUE(server.Group.isEmpty());
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(OpcTest, WriteClientWritesOnTheEnableEdgeThenOnlyChanges)
{
    TFakeOpcServer& server = servers[QStringLiteral("Plant.Server")];
    server.Items = {{"Set.Point", "0"}, {"Label", ""}};
    server.Types = {{"Label", kOpcTypeString}};
    auto device = Configured<TOPC_DA2_WriteClient>(QStringLiteral("Plant.Server"),
                                                   {"Set.Point", "Label"}, 100);
    // Applying the dialog connected once to learn the types.
    EXPECT_EQ(PinNames(device->Port()), QStringList({"W0", "$W1", "EN"}));
    EXPECT_FALSE(device->Port().IsInput);
    EXPECT_EQ(device->Port().Pins[0]->Description, QStringLiteral("Set.Point"));
    TPin& value = *device->Port().Pins[0];
    TPin& text = *device->Port().Pins[1];
    TPin& enable = *device->Port().Pins[2];

    Start(*device);
    SetPinValue(value, 2.5L);
    text.Text = QStringLiteral("A");
    struct Step {
        double en;
        Extended value;
        const char* text;
        std::vector<QVariant> writes; // written in this period, in item order
    } steps[] = {
        {0.0, 2.5L, "A", {}},                          // EN low: nothing
        {5.0, 2.5L, "A", {2.5, QStringLiteral("A")}},  // rising EN: every item once
        {5.0, 2.5L, "A", {}},                          // unchanged: nothing
        {5.0, 3.0L, "A", {3.0}},                       // a changed value alone
        {5.0, 3.0L, "B", {QStringLiteral("B")}},       // a changed text alone
        {0.0, 4.0L, "C", {}},                          // EN low again: nothing
        {5.0, 4.0L, "C", {4.0, QStringLiteral("C")}},  // rising again: every item
    };
    int64_t at = 0;
    for (const Step& s : steps) {
        SetPinValue(enable, s.en);
        SetPinValue(value, s.value);
        text.Text = QString::fromLatin1(s.text);
        server.Writes.clear();
        at += 100;
        StepAt(*device, at - 1); // not yet a period
        EXPECT_TRUE(server.Writes.empty()) << at;
        StepAt(*device, at);
        std::vector<QVariant> written;
        for (const auto& [id, v] : server.Writes)
            written.push_back(v);
        EXPECT_EQ(written, s.writes) << at;
    }
    device->SimStop();
}

TEST_F(OpcTest, ServersThatCannotServeAreToldOnceAndTheDeviceStaysIdle)
{
    TFakeOpcServer& refusing = servers[QStringLiteral("Refusing")];
    refusing.Items = {{"A", "1"}};
    TFakeOpcServer& partial = servers[QStringLiteral("Partial")];
    partial.Items = {{"A", "1"}};
    struct Case {
        const char* progId;
        bool refuseGroup;
        bool running;
        const char* told;
    } cases[] = {
        {"Missing", false, false, "no such server"},
        {"Refusing", true, false, "Refusing"},
        {"Partial", false, true, "Unknown.Item"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.progId);
        auto device = std::make_unique<TOPC_DA2_ReadClient>();
        device->ProgId = QString::fromLatin1(c.progId);
        device->Items = {TItemData{QStringLiteral("A")}, TItemData{QStringLiteral("Unknown.Item")}};
        device->Port().Configure(2, true);
        device->BuildPinList();
        refusing.RefuseGroup = c.refuseGroup;
        messages.Clear();
        Start(*device);
        device->SimStart();
        EXPECT_EQ(device->Running, c.running);
        for (int64_t at = 0; at <= 2000; at += 500)
            StepAt(*device, at); // never throws, never reads without a group
        device->SimStop();
        ASSERT_EQ(messages.Requests().size(), 1u);
        EXPECT_TRUE(messages.Requests()[0].text.contains(QLatin1String(c.told)))
            << qPrintable(messages.Requests()[0].text);
    }
    EXPECT_EQ(partial.Reads, 4); // the known item, every period
}

TEST_F(OpcTest, WithoutABackendTheRealSystemSaysSoAndTheSettingsStay)
{
    SetOpcBackend({});
    Ctx().CurrentLanguage = 1;
    // The dialog shows why no server can be reached; applying it says nothing more.
    auto device = Configured<TOPC_DA2_WriteClient>(QStringLiteral("Plant.Server"), {"Set.Point"});
    EXPECT_TRUE(messages.Requests().empty());
    EXPECT_EQ(PinNames(device->Port()), QStringList({"W0", "EN"}));
    device->Host = QStringLiteral("plant-pc");
    for (int run = 0; run < 2; ++run) {
        messages.Clear();
        device->SimStart();
        device->MachEsJetzt();
        EXPECT_FALSE(device->Running);
        device->SimStop();
        ASSERT_EQ(messages.Requests().size(), 1u); // once in every run
        EXPECT_EQ(messages.Requests()[0].text, OpcUnavailableText());
    }

    // The record comes back as it was written.
    QByteArray data;
    {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        device->writeToStream(writer);
    }
    TOPC_DA2_WriteClient loaded;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    loaded.readFromStream(reader);
    EXPECT_EQ(loaded.Host, device->Host);
    EXPECT_EQ(loaded.ProgId, device->ProgId);
    EXPECT_EQ(loaded.UpdateRate, 500);
    ASSERT_EQ(loaded.Items.size(), 1u);
    EXPECT_EQ(loaded.Items[0].ItemId, QStringLiteral("Set.Point"));
    EXPECT_EQ(PinNames(loaded.Port()), QStringList({"W0", "EN"}));
}

TEST_F(OpcTest, ServerListHasEachClassOnceSortedByProgId)
{
    registry = {{"Vendor.Server.2", "{B}", "Second", "Vendor"},
                {"Vendor.Server", "{B}", "Same class", "Vendor"},
                {"Another.Server", "{A}", "", ""},
                {"No.Class", "", "Not registered", ""}};
    TOPCServerList local(QString(), true);
    local.Update();
    EXPECT_EQ(local.Items(), QStringList({"Another.Server", "Vendor.Server.2"}));
    EXPECT_EQ(local.GetCLSID(1), QStringLiteral("{B}"));
    EXPECT_EQ(local.GetCLSID(2), QString());

    TOPCServerList remote(QStringLiteral("unreachable"), true);
    remote.Update();
    EXPECT_EQ(remote.Count(), 0);
    TOPCServerList unscanned(QString(), false);
    unscanned.Update();
    EXPECT_EQ(unscanned.Count(), 0);
    EXPECT_EQ(hostsListed, QStringList({"", "unreachable"}));
}

TEST_F(OpcTest, DialogListsServersBrowsesItemsAndOrdersTheSelection)
{
    registry = {{"Plant.Server", "{P}", "", ""}, {"Other.Server", "{O}", "", ""}};
    servers[QStringLiteral("Plant.Server")].Items = {{"A", "1"}, {"B", "2"}, {"C", "3"}};
    servers[QStringLiteral("Other.Server")].Items = {{"X", "1"}};
    TOPCclientDlg dialog;
    dialog.SetHost(QStringLiteral("plant-pc"));
    dialog.SetServer(QStringLiteral("Plant.Server"));
    dialog.SetSelectedItems({"C", "A"});

    // Opening lists the host's servers, browses the chosen one and keeps the selection.
    dialog.FormShow();
    EXPECT_EQ(hostsListed, QStringList({"plant-pc"}));
    EXPECT_EQ(connects.last(), QStringLiteral("plant-pc/Plant.Server"));
    EXPECT_EQ(dialog.cbServers->count(), 2);
    EXPECT_EQ(dialog.Server(), QStringLiteral("Plant.Server"));
    EXPECT_EQ(dialog.AvailableItems(), QStringList({"A", "B", "C"}));
    EXPECT_EQ(dialog.SelectedItems(), QStringList({"C", "A"}));

    // The buttons follow the selection.
    struct Case {
        int available, selected;
        bool add, del, clear, up, down;
    } cases[] = {
        {-1, -1, false, false, true, false, false},
        {1, 0, true, true, true, false, true},
        {1, 1, true, true, true, true, false},
    };
    for (const Case& c : cases) {
        dialog.lbItems->setCurrentRow(c.available);
        dialog.lbUsedItems->setCurrentRow(c.selected);
        EXPECT_EQ(dialog.AddBtn->isEnabled(), c.add) << c.selected;
        EXPECT_EQ(dialog.DelBtn->isEnabled(), c.del) << c.selected;
        EXPECT_EQ(dialog.ClearBtn->isEnabled(), c.clear) << c.selected;
        EXPECT_EQ(dialog.UpBtn->isEnabled(), c.up) << c.selected;
        EXPECT_EQ(dialog.DownBtn->isEnabled(), c.down) << c.selected;
    }
    dialog.lbItems->setCurrentRow(1);
    dialog.AddBtnClick();
    EXPECT_EQ(dialog.SelectedItems(), QStringList({"C", "A", "B"}));
    dialog.lbUsedItems->setCurrentRow(2);
    dialog.UpBtnClick();
    EXPECT_EQ(dialog.SelectedItems(), QStringList({"C", "B", "A"}));
    dialog.lbUsedItems->setCurrentRow(0);
    dialog.DownBtnClick();
    EXPECT_EQ(dialog.SelectedItems(), QStringList({"B", "C", "A"}));
    dialog.DelBtnClick(); // the moved item stays selected
    EXPECT_EQ(dialog.SelectedItems(), QStringList({"B", "A"}));

    // Another server from the box empties the selection and browses it.
    dialog.cbServers->setCurrentIndex(dialog.cbServers->findText(QStringLiteral("Other.Server")));
    EXPECT_TRUE(dialog.SelectedItems().isEmpty());
    EXPECT_EQ(dialog.AvailableItems(), QStringList({"X"}));
    EXPECT_FALSE(dialog.ClearBtn->isEnabled());

    // A server that cannot be browsed leaves the list empty and says why.
    dialog.SetServer(QStringLiteral("Gone.Server"));
    dialog.ListItems();
    EXPECT_TRUE(dialog.AvailableItems().isEmpty());
    EXPECT_EQ(dialog.BrowseError(), QStringLiteral("no such server"));
}

TEST_F(OpcTest, SettingsAreEditedInTheDialogAndCancelKeepsThem)
{
    registry = {{"Plant.Server", "{P}", "", ""}};
    servers[QStringLiteral("Plant.Server")].Items = {{"A", "1"}, {"B", "2"}};
    TPlatine board;
    auto component = CreateHardwareComponent(QStringLiteral("TOPC_DA2_ReadClient"));
    TBTHardware* hardware = component.get();
    board.AddComponent(std::move(component));
    TScopedDialogResponder dialogs;
    dialogs.Answer([](QDialog& d) {
        auto& dialog = dynamic_cast<TOPCclientDlg&>(d);
        dialog.SetServer(QStringLiteral("Plant.Server"));
        dialog.FormShow();
        dialog.SetSelectedItems({"B", "A"});
        dialog.SetUpdateRate(250);
        return int(mrOk);
    });
    EXPECT_EQ(hardware->EditProperties(), mrOk);
    auto& device = dynamic_cast<TOPC_DA2_ReadClient&>(*hardware->Interface);
    EXPECT_EQ(device.UpdateRate, 250);
    EXPECT_EQ(hardware->OutputCount, 2);
    EXPECT_EQ(device.Port().Pins[0]->Description, QStringLiteral("B"));

    dialogs.Answer([](QDialog& d) {
        auto& dialog = dynamic_cast<TOPCclientDlg&>(d);
        dialog.SetSelectedItems({"A"});
        return int(mrCancel);
    });
    EXPECT_EQ(hardware->EditProperties(), mrCancel);
    EXPECT_EQ(device.Items.size(), 2u);
    EXPECT_EQ(hardware->OutputCount, 2);
}
