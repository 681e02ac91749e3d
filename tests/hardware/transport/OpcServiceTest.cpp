// A device on a service this system may lack (OPC DA): without a backend the user is told why,
// once per run, in the current language, and the device stays idle; with a fake server the
// device reads its item.
#include "hardware/HardwareTestSupport.h"

#include "fakes/FakeOpcServer.h"

#include "hardware/transport/DriverDevice.h"
#include "platform/MessageBox.h"
#include "platform/OpcClient.h"

namespace {

// Reads one item into one input in every step.
class TOpcProbe : public TDriverDevice {
public:
    TV_CLASS_NAME(TOpcProbe)
    TOpcProbe()
    {
        Name = QStringLiteral("OPC probe");
        auto in = std::make_unique<TAInPort>();
        in->AddPin(QStringLiteral("Item"), QStringLiteral("R0"), 0.0L, 5.0L, false);
        in->SetInput(true);
        Ports.push_back(std::move(in));
        OutputCount = 0;
        BuildPinList();
    }
    void SimStart() override
    {
        QString reason;
        m_server = ConnectOpcServer(QString(), QStringLiteral("Fake.Server"), &reason);
        if (!CheckService(m_server != nullptr, reason))
            return;
        m_server->AddGroup(QStringLiteral("VoziZore"), true, 500);
        m_item = m_server->AddItem(QStringLiteral("Tank.Level")).value_or(TOpcItem{});
        TDriverDevice::SimStart();
    }
    void MachEsJetzt() override
    {
        if (!Running)
            return;
        if (const auto reading = m_server->ReadItem(m_item.ServerHandle))
            Ports[0]->Pins[0]->Value = reading->Text.toDouble();
    }
    void SimStop() override
    {
        TDriverDevice::SimStop();
        m_server.reset();
    }

private:
    std::unique_ptr<IOpcServer> m_server;
    TOpcItem m_item;
};

class OpcServiceTest : public HardwareFixture {
protected:
    void TearDown() override
    {
        SetOpcBackend({});
        HardwareFixture::TearDown();
    }
    TScopedMessageResponder messages;
};

} // namespace

TEST_F(OpcServiceTest, WithoutABackendTheUserIsToldWhyOncePerRunAndTheDeviceStaysIdle)
{
    struct TCase {
        uint8_t language;
        const char* start;
    };
    const TCase cases[] = {{0, "OPC-DA-Server sind nur über Windows-COM/DCOM erreichbar"},
                           {1, "OPC DA servers are reached only through Windows COM/DCOM"}};
    for (const TCase& c : cases) {
        Ctx().CurrentLanguage = c.language;
        messages.Clear();
        TOpcProbe probe;
        probe.SimStart();
        probe.MachEsJetzt();
        probe.SimStart(); // asked again in the same run
        EXPECT_FALSE(probe.Running);
        probe.SimStop();
        ASSERT_EQ(messages.Requests().size(), 1u);
        EXPECT_TRUE(messages.Requests()[0].text.startsWith(QString::fromUtf8(c.start)));
        EXPECT_EQ(messages.Requests()[0].caption, QStringLiteral("OPC probe"));
    }
    EXPECT_TRUE(ListOpcServers(QString()).empty());
}

TEST_F(OpcServiceTest, FakeServerIsReadThroughTheRole)
{
    SetOpcBackend({[](const QString& host, const QString& progId, QString*) -> std::unique_ptr<IOpcServer> {
                       if (!host.isEmpty() || progId != QStringLiteral("Fake.Server"))
                           return nullptr;
                       auto server = std::make_unique<TFakeOpcServer>();
                       server->Items[QStringLiteral("Tank.Level")] = QStringLiteral("12.5");
                       return server;
                   },
                   [](const QString&) {
                       return std::vector<TOpcServerInfo>{{QStringLiteral("Fake.Server"), QStringLiteral("{1}"), {}, {}}};
                   }});
    TOpcProbe probe;
    probe.SimStart();
    probe.MachEsJetzt();
    EXPECT_EQ(probe.GetInputValue(0), 12.5L);
    probe.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
    ASSERT_EQ(ListOpcServers(QString()).size(), 1u);
    EXPECT_EQ(ListOpcServers(QString())[0].ProgId, QStringLiteral("Fake.Server"));
}
