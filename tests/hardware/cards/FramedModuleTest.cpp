// The framed protocol of the PC-IO 16 and CSI 7002 modules as byte tables, and both modules
// against a scripted module on a pty: acknowledged, silent and garbling.
#include "hardware/cards/CardTestSupport.h"

#include "fakes/ScriptedSerialDevice.h"
#include "hardware/cards/FramedModules.h"
#include "hardware/cards/ModuleFrames.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>

using modframe::TModule;
using Frame = std::vector<uint8_t>;

TEST(ModuleFramesTest, FramesEscapeTheControlValuesInDataAndCheck)
{
    struct TCase {
        TModule module;
        uint16_t word;
        Frame frame;
    };
    const TCase cases[] = {
        {TModule::PcIo16, 0x0101, {0x01, 0x43, 0x10, 0x81, 0x10, 0x81, 0x42, 0x04}},
        {TModule::PcIo16, 0x2010, {0x01, 0x43, 0x10, 0x90, 0x20, 0x72, 0x04}},
        {TModule::PcIo16, 0x0000, {0x01, 0x43, 0x00, 0x00, 0x42, 0x04}},
        {TModule::PcIo16, 0x0043, {0x01, 0x43, 0x43, 0x00, 0x10, 0x81, 0x04}}, // check 0x01
        {TModule::Csi7002, 0x10, {0x01, 0x41, 0x10, 0x20, 0x50, 0x04}},
        {TModule::Csi7002, 0x04, {0x01, 0x41, 0x10, 0x14, 0x44, 0x04}},
        {TModule::Csi7002, 0x41, {0x01, 0x41, 0x41, 0x10, 0x11, 0x04}}, // check 0x01
    };
    for (const TCase& c : cases)
        EXPECT_EQ(modframe::SetFrame(c.module, c.word), c.frame) << std::hex << c.word;
    EXPECT_EQ(modframe::RequestFrame(TModule::PcIo16), (Frame{0x01, 'F', 'G', 0x04}));
    EXPECT_EQ(modframe::RequestFrame(TModule::Csi7002), (Frame{0x01, 'D', 'E', 0x04}));
    EXPECT_EQ(modframe::StartFrame(), (Frame{0x01, 'S', 'R', 0x04}));
}

TEST(ModuleFramesTest, AnswersDecodeOrAreRefused)
{
    struct TCase {
        TModule module;
        Frame answer;
        int word; // -1: refused
    };
    const TCase cases[] = {
        {TModule::Csi7002, {0x01, 0x10, 0x14, 0x77, 0x04}, 0x04},
        {TModule::Csi7002, {0x01, 0x80, 0x00, 0x04}, 0x80},
        {TModule::PcIo16, {0x01, 0x10, 0x81, 0x80, 0x33, 0x04}, 0x8001},
        {TModule::PcIo16, {0x01, 0x34, 0x12, 0x10, 0x90, 0x04}, 0x1234},
        {TModule::Csi7002, {0x01, 0x80, 0x04}, -1},              // no check byte
        {TModule::Csi7002, {0x01, 0x80, 0x00, 0x00, 0x04}, -1},  // one byte too many
        {TModule::PcIo16, {0x01, 0x34, 0x00, 0x04}, -1},         // one data byte short
        {TModule::Csi7002, {0x02, 0x80, 0x00, 0x04}, -1},        // no SOH
        {TModule::Csi7002, {0x01, 0x10, 0x55, 0x00, 0x04}, -1},  // unknown escape code
        {TModule::PcIo16, {0x01, 0x10, 0x14, 0x00, 0x00, 0x04}, -1}, // the other module's code
        {TModule::Csi7002, {0x01, 0x80, 0x10, 0x04}, -1},        // escape without its code
        {TModule::Csi7002, {0x04}, -1},
    };
    for (const TCase& c : cases) {
        const std::optional<uint16_t> word = modframe::DecodeAnswer(c.module, c.answer);
        if (c.word < 0)
            EXPECT_FALSE(word) << testing::PrintToString(c.answer);
        else
            EXPECT_EQ(word.value_or(0xFFFF), c.word) << testing::PrintToString(c.answer);
    }
}

namespace {

class FramedModuleTest : public CardFixture {
protected:
    void SetUp() override
    {
        CardFixture::SetUp();
        FreeComTable();
        ports.Attach(5, module);
    }
    void TearDown() override
    {
        FreeComTable();
        CardFixture::TearDown();
    }
    // Steps the device n times, 10 ms apart, and lets reports after the step come.
    void Run(TIOInterface& device, int n)
    {
        Step(device, n, 10.0);
        QCoreApplication::processEvents();
    }

    TScopedMessageResponder messages;
    TScriptedSerialPorts ports;
    TScriptedSerialDevice module;
};

const Frame kAck{0x04};

} // namespace

TEST_F(FramedModuleTest, PcIo16StartsSetsAndPolls)
{
    const Frame start{0x01, 'S', 'R', 0x04};
    const Frame request{0x01, 'F', 'G', 0x04};
    const Frame set{0x01, 0x43, 0x10, 0x81, 0x10, 0x81, 0x42, 0x04};
    module.Expect(start).Answer(kAck, 5);
    module.Expect(request).Answer({0x01, 0x10, 0x81, 0x80, 0x33, 0x04}, 5);
    module.Expect(set).Answer(kAck, 5);
    module.Expect(request).Answer({0x01, 0x00, 0x00, 0x42, 0x04}, 5);
    module.Expect(request);

    TELVInterface pcio;
    EXPECT_EQ(pcio.OutputCount, 16);
    EXPECT_EQ(pcio.GetOutputLabel(8), QStringLiteral("OB0"));
    EXPECT_EQ(pcio.GetOutputDescription(8), QStringLiteral("Ausgang B0 - Pin 15"));
    EXPECT_EQ(pcio.GetInputLabel(15), QStringLiteral("IB7"));
    pcio.SetComPort(5);
    Drive(pcio, 0, 5.0L); // OA0
    Drive(pcio, 8, 5.0L); // OB0
    pcio.SimStart();
    ASSERT_FALSE(module.Frames.empty());
    EXPECT_EQ(module.Frames.back().Baud, 38400);
    EXPECT_EQ(module.Frames.back().StopBits, int(TStopBits::_2));
    EXPECT_EQ(module.Frames.back().Parity, int(TParity::Odd));

    Run(pcio, 10); // acknowledgement, request, answer of six bytes, the set frame
    EXPECT_EQ(pcio.GetInputValue(0), 5.0L);  // IA0
    EXPECT_EQ(pcio.GetInputValue(15), 5.0L); // IB7
    EXPECT_EQ(pcio.GetInputValue(1), 0.0L);
    Run(pcio, 20);
    EXPECT_EQ(pcio.GetInputValue(0), 0.0L);
    EXPECT_TRUE(module.ScriptDone());
    EXPECT_TRUE(module.Unexpected.empty()) << testing::PrintToString(module.Unexpected);
    EXPECT_TRUE(messages.Requests().empty());
    pcio.SimStop();
}

TEST_F(FramedModuleTest, SilentPcIo16SendsNothingButItsStartAndIsToldOnce)
{
    TELVInterface pcio;
    pcio.SetComPort(5);
    Drive(pcio, 0, 5.0L);
    pcio.SimStart();
    Run(pcio, 350); // 3.5 s
    const Frame start{0x01, 'S', 'R', 0x04};
    Frame expected;
    for (int i = 0; i < 4; ++i) // at the start and after each second
        expected.insert(expected.end(), start.begin(), start.end());
    EXPECT_EQ(module.Received, expected);
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("COM 5")));
    EXPECT_EQ(pcio.StatusMessage(), messages.Requests()[0].text);

    // The module wakes up: its acknowledgement lets the polling begin.
    module.Send(kAck);
    Run(pcio, 2);
    EXPECT_EQ(Frame(module.Received.begin() + long(expected.size()), module.Received.end()),
              (Frame{0x01, 'F', 'G', 0x04}));
    pcio.SimStop();
}

TEST_F(FramedModuleTest, Csi7002GarbledAnswersChangeNoPin)
{
    const Frame request{0x01, 'D', 'E', 0x04};
    const Frame set{0x01, 0x41, 0x10, 0x20, 0x50, 0x04};
    module.Expect(set).Answer(kAck, 5);
    module.Expect(request).Answer({0x01, 0x10, 0x14, 0x99, 0x04}, 5); // IN3
    module.Expect(request).Answer({0x01, 0x7F, 0x04}, 5);              // too short
    module.Expect(request).Answer({0xFF, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
                                   0x0A, 0x0B, 0x0C, 0x04}, 5);        // noise
    module.Expect(request).Answer({0x01, 0x10, 0x77, 0x00, 0x04}, 5); // unknown escape
    module.Expect(request);

    TCSI7002 csi;
    csi.SetComPort(5);
    EXPECT_EQ(csi.OutputCount, 8);
    EXPECT_EQ(csi.GetOutputLabel(0), QStringLiteral("R1"));
    EXPECT_EQ(csi.GetInputLabel(2), QStringLiteral("IN3"));
    Drive(csi, 4, 5.0L); // R5: pattern 0x10
    csi.SimStart();
    Run(csi, 8);
    EXPECT_EQ(csi.GetInputValue(2), 5.0L);
    Run(csi, 40);
    EXPECT_TRUE(module.ScriptDone());
    EXPECT_TRUE(module.Unexpected.empty()) << testing::PrintToString(module.Unexpected);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(csi.GetInputValue(k), k == 2 ? 5.0L : 0.0L) << "IN" << k + 1;
    ASSERT_EQ(messages.Requests().size(), 1u); // told once, however often
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("ELV-CSI 7002")));

    // The record keeps the COM number as its last byte.
    const QByteArray record = StoreRecord(csi);
    EXPECT_EQ(record.back(), char(5));
    csi.SimStop();
    TCSI7002 loaded;
    LoadRecord(loaded, record);
    EXPECT_EQ(loaded.ComNumber, 5);
}
