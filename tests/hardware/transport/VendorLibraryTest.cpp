// Makers' libraries loaded through the program's own loading path: a fake FTDI library named
// in the settings file drives a small device, a missing library is told once and leaves the
// device idle while the circuit runs, and a missing entry point is never called.
#include "hardware/VendorLibraryTestSupport.h"

#include "core/EngineTestSupport.h"
#include "fakes/FakeFtdi.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/transport/Ftd2xxLibrary.h"
#include "hardware/transport/VendorLibraryDevice.h"
#include "platform/DynamicLibrary.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

// One analog input read from an FTDI device that answers STX "1" ETX with STX, four digits of
// millivolts and ETX, in the manner of the makers' A/D modules.
class TFtdiProbe : public TVendorLibraryDevice {
public:
    TV_CLASS_NAME(TFtdiProbe)
    TFtdiProbe() : TVendorLibraryDevice(Ftd2xx())
    {
        Name = QStringLiteral("FTDI probe");
        auto in = std::make_unique<TAInPort>();
        in->AddPin(QStringLiteral("AD 0"), QStringLiteral("AD0"), 0.0L, 2.5L, false);
        in->SetInput(true);
        Ports.push_back(std::move(in));
        OutputCount = 0;
        BuildPinList();
    }
    void SimStart() override
    {
        if (!CheckLibrary())
            return; // stays unopened for the run
        if (Ftd2xx().DeviceCount() > 0)
            Ftd2xx().FT_Open.Call(0, &m_handle);
        TVendorLibraryDevice::SimStart();
        if (m_handle) {
            Ftd2xx().FT_SetBaudRate.Call(m_handle, 38400);
            Ftd2xx().FT_SetDataCharacteristics.Call(m_handle, 8, 0, 2);
        }
    }
    void MachEsJetzt() override
    {
        if (!Running || !m_handle)
            return;
        uint8_t request[] = {0x02, '1', 0x03};
        uint32_t count = 0;
        Ftd2xx().FT_Write.Call(m_handle, request, sizeof request, &count);
        uint32_t waiting = 0;
        const auto status = Ftd2xx().FT_GetQueueStatus.Call(m_handle, &waiting);
        if (!status || waiting < 6)
            return;
        uint8_t answer[6] = {};
        Ftd2xx().FT_Read.Call(m_handle, answer, 6, &count);
        if (count == 6 && answer[0] == 0x02 && answer[5] == 0x03)
            Ports[0]->Pins[0]->Value =
                QByteArray(reinterpret_cast<const char*>(answer + 1), 4).toInt() / 1000.0L;
    }
    void SimStop() override
    {
        TVendorLibraryDevice::SimStop();
        if (m_handle && LibraryReady())
            Ftd2xx().FT_Close.Call(m_handle);
        m_handle = nullptr;
    }
    Extended Reading() const { return Ports[0]->Pins[0]->Value; }

private:
    FT_HANDLE m_handle = nullptr;
};

class VendorLibraryTest : public VendorLibraryFixture {
protected:
    void SetUp() override
    {
        VendorLibraryFixture::SetUp();
        Releases.push_back([] { Ftd2xx().Free(); });
    }
};

} // namespace

TEST_F(VendorLibraryTest, FakeLibraryNamedInTheSettingsFileDrivesTheDevice)
{
    TFakeFtdi fake;
    fake.AddDevice("ELV USB-AD-Wandler");
    fake.AddAnswer("\x02" "1\x03", "\x02" "1234\x03");
    UseLibraryFile(QStringLiteral("ftd2xx.DLL"), fake.File); // the key without regard to case

    EXPECT_EQ(Ftd2xx().Candidates(),
              (QStringList{fake.File, QStringLiteral("libftd2xx.so"), QStringLiteral("libftd2xx.so.1")}));
    ASSERT_TRUE(Ftd2xx().Load());
    EXPECT_EQ(Ftd2xx().LoadedFrom(), fake.File);
    for (size_t i = 0; i < Ftd2xx().EntryNames().size(); ++i)
        EXPECT_TRUE(Ftd2xx().HasEntry(i)) << Ftd2xx().EntryNames()[i];
    EXPECT_EQ(Ftd2xx().Description(0), QStringLiteral("ELV USB-AD-Wandler"));
    EXPECT_EQ(Ftd2xx().Description(1), QString());

    TFtdiProbe probe;
    probe.SimStart();
    probe.MachEsJetzt();
    EXPECT_EQ(probe.Reading(), 1.234L);
    probe.SimStop();
    EXPECT_EQ(fake.Calls(),
              (std::vector<std::string>{"FT_ListDevices 0", "FT_ListDevices 1",
                                        "FT_ListDevices count", "FT_Open 0",
                                        "FT_SetBaudRate 38400", "FT_SetDataCharacteristics 8 0 2",
                                        "FT_Write 02 31 03", "FT_GetQueueStatus", "FT_Read 6",
                                        "FT_Close"}));
    EXPECT_TRUE(messages.Requests().empty());

    // A bare file name is looked for in the program folder first, then in the system's.
    Ftd2xx().Free();
    UseLibraryFile(QStringLiteral("FTD2XX.dll"), QStringLiteral("libvendor.so"));
    EXPECT_EQ(Ftd2xx().Candidates().mid(0, 2),
              (QStringList{Ctx().ProgramFolder + QStringLiteral("libvendor.so"),
                           QStringLiteral("libvendor.so")}));
}

TEST_F(VendorLibraryTest, MissingLibraryIsToldOncePerRunAndTheDeviceStaysIdleWhileTheCircuitRuns)
{
    NoLibraries();
    Ctx().CurrentLanguage = 1;
    TPlatine board;
    auto owned = TBTHardware::CreateWith(std::make_unique<TFtdiProbe>());
    owned->X = 1000;
    owned->Y = 1000;
    owned->LayoutPins();
    auto* hardware = static_cast<TBTHardware*>(board.AddComponent(std::move(owned)));
    auto* probe = static_cast<TFtdiProbe*>(hardware->Interface.get());
    auto* source = Place<TSimSource>(board, 2);
    auto* copy = Place<TSimCopy>(board, 3);
    WirePins(board, *source->Outputs[0], *copy->Inputs[0]);
    source->Value = 3.0L;

    for (int run = 1; run <= 2; ++run) {
        board.StartSimulation();
        EXPECT_FALSE(probe->Running);
        probe->CheckLibrary(); // asked again within the run: not told again
        for (int step = 0; step < 5; ++step)
            board.SimStep();
        EXPECT_EQ(copy->Calls, 5 * run);
        EXPECT_EQ(copy->Outputs[0]->Value.Get(), 3.0L);
        EXPECT_EQ(probe->Reading(), 0.0L);
        board.EndSimulation();
        ASSERT_EQ(messages.Requests().size(), size_t(run)) << "once per run";
    }
    const TMessageRequest& told = messages.Requests().back();
    EXPECT_EQ(told.caption, QStringLiteral("FTDI probe"));
    EXPECT_TRUE(told.text.startsWith(QStringLiteral("This device needs a device driver.")));
    EXPECT_EQ(told.type, mtWarning);
    EXPECT_TRUE(probe->StatusMessage().contains(QStringLiteral("not found")));

    // The settings dialog tells it each time it asks.
    EXPECT_FALSE(probe->CheckLibraryForDialog());
    EXPECT_FALSE(probe->CheckLibraryForDialog());
    EXPECT_EQ(messages.Requests().size(), 4u);

    // Once the library is there, the next use loads it.
    SetLibraryLoader({});
    TFakeFtdi fake;
    UseLibraryFile(QStringLiteral("FTD2XX.dll"), fake.File);
    EXPECT_TRUE(probe->CheckLibrary());
    EXPECT_TRUE(probe->StatusMessage().isEmpty());
}

TEST_F(VendorLibraryTest, MissingEntryPointIsLeftEmptyAndNeverCalled)
{
    TFakeFtdi fake(FAKE_FTDI_PARTIAL_LIBRARY);
    fake.AddDevice("ELV USB-AD-Wandler");
    fake.AddAnswer("\x02" "1\x03", "\x02" "1234\x03");
    UseLibraryFile(QStringLiteral("FTD2XX.dll"), fake.File);
    ASSERT_TRUE(Ftd2xx().Load());
    EXPECT_FALSE(Ftd2xx().FT_GetQueueStatus.Present());
    EXPECT_TRUE(Ftd2xx().FT_Read.Present());
    uint32_t waiting = 7;
    EXPECT_FALSE(Ftd2xx().FT_GetQueueStatus.Call(nullptr, &waiting));
    EXPECT_EQ(waiting, 7u);

    TFtdiProbe probe;
    probe.SimStart();
    for (int step = 0; step < 3; ++step)
        probe.MachEsJetzt(); // requests go out; the answer cannot be asked for
    probe.SimStop();
    EXPECT_EQ(probe.Reading(), 0.0L);
    const std::vector<std::string> calls = fake.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "FT_Write 02 31 03"), 3);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "FT_Read 6"), 0);
    EXPECT_TRUE(messages.Requests().empty());

    // A library that is freed empties every entry: nothing is called after that.
    Ftd2xx().Free();
    EXPECT_FALSE(Ftd2xx().FT_Write.Present());
    FT_HANDLE handle = nullptr;
    EXPECT_FALSE(Ftd2xx().FT_Open.Call(0, &handle));
}
