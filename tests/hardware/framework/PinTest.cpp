// Pins, pin and port records, the shared helpers and the port permission map.
#include "hardware/HardwareTestSupport.h"

#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/IoInterface.h"
#include "hardware/framework/PortDriver.h"
#include "platform/Filer.h"

#include <QBuffer>

namespace {

QByteArray Record(TIOPort& port)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    port.writeToStream(writer);
    return data;
}

void ReadRecord(TIOPort& port, const QByteArray& data)
{
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    port.readFromStream(reader);
    EXPECT_TRUE(reader.AtEnd());
}

} // namespace

using PinTest = HardwareFixture;

TEST_F(PinTest, HistoryOfThreeGivesTheMedianOtherwiseTheLastValue)
{
    TPin filtered;
    filtered.HistoryLength = 3;
    for (Extended v : {1.0L, 9.0L, 2.0L})
        SetPinValue(filtered, v);
    EXPECT_EQ(GetPinValue(filtered), 2.0L);
    SetPinValue(filtered, 7.0L); // 7, 2, 9
    EXPECT_EQ(GetPinValue(filtered), 7.0L);

    TPin plain;
    for (Extended v : {1.0L, 9.0L, 2.0L})
        SetPinValue(plain, v);
    EXPECT_EQ(GetPinValue(plain), 2.0L);
    EXPECT_TRUE(plain.History.empty());
}

TEST_F(PinTest, DigitalReadsAndConverterCounts)
{
    TPin pin;
    pin.Min = 0.0L;
    pin.Max = 5.0L;
    pin.RawMin = 0;
    pin.RawMax = 255;
    SetPinValue(pin, 2.5L);
    EXPECT_FALSE(GetPinDigital(pin));
    EXPECT_EQ(GetPinRounded(pin), 2); // 2.5 to even

    const struct {
        Extended value;
        int32_t raw;
    } cases[] = {{5.0L, 255}, {6.0L, 255}, {-1.0L, 0}, {2.5L, 128}, {0.0L, 0}};
    for (const auto& c : cases) {
        SetPinValue(pin, c.value);
        EXPECT_EQ(PinValueToRaw(pin), c.raw) << double(c.value);
    }
    PinRawToValue(pin, 51);
    EXPECT_NEAR(double(pin.Value), 1.0, 1e-12);

    // A raw range without width (a damaged record) converts to its minimum, never divides by 0.
    pin.RawMax = pin.RawMin = 7;
    SetPinValue(pin, 3.0L);
    EXPECT_EQ(PinValueToRaw(pin), 7);
    PinRawToValue(pin, 9);
    EXPECT_EQ(pin.Value, 0.0L);
}

TEST_F(PinTest, PortWordsCountOnlyValuesAboveTheThreshold)
{
    TDOutPort port;
    SetPinValue(*port.Pins[0], 2.5L);
    SetPinValue(*port.Pins[1], 2.6L);
    SetPinValue(*port.Pins[7], 5.0L);
    EXPECT_EQ(port.GetPinsAsWord(), 0x82);
    port.SetPinsFromWord(0x0105);
    EXPECT_EQ(port.GetPinsAsLong(), 0x05u); // only eight pins exist
    EXPECT_EQ(port.Pins[2]->Value, 5.0L);
}

TEST_F(PinTest, SharedHelpers)
{
    const struct {
        const char* text;
        uint16_t value;
    } hex[] = {{"", 0},         {"378", 0x0378},  {"0x378", 0x0378}, {"12345", 0x2345},
               {"3G8", 0x0308}, {"ffff", 0xFFFF}, {"10000", 0}};
    for (const auto& c : hex)
        EXPECT_EQ(HexToWord(QString::fromLatin1(c.text)), c.value) << c.text;

    const struct {
        int digits;
        Extended x;
        double expected;
    } round[] = {{3, 0.0123456L, 0.0123}, {2, 987.65L, 990.0}, {0, 3.14159L, 3.14159},
                 {12, 3.14159L, 3.14159}, {3, -2.71828L, -2.72}, {1, 25.0L, 20.0}};
    for (const auto& c : round)
        EXPECT_NEAR(double(RoundSignificant(c.digits, c.x)), c.expected, 1e-12) << c.digits;

    uint16_t crc = 0xFFFF;
    for (uint8_t b : {0x01, 0x03, 0x00, 0x00, 0x00, 0x01})
        Crc16Step(b, crc);
    EXPECT_EQ(crc, 0x0A84);
}

TEST_F(PinTest, PortRangeAccessEditsWholeMapBytes)
{
    TNT40& driver = PortDriver();
    uint8_t b = 0;
    EXPECT_EQ(driver.GetIopmByte(0x6F, b), kPortIoNotOpen); // before the device is open
    EXPECT_TRUE(io.MapReads.empty());

    ASSERT_EQ(driver.OpenDevice(), 0);
    EXPECT_EQ(driver.SetPortRangeAccess(0x378, 0x37A, true), 0);
    EXPECT_EQ(io.MapReads, std::vector<uint16_t>{0x6F});
    EXPECT_EQ(io.MapWrites, std::vector<uint16_t>{0x6F});
    driver.GetIopmByte(0x6F, b);
    EXPECT_EQ(b, 0xF8);

    io.MapReads.clear();
    io.MapWrites.clear();
    EXPECT_EQ(driver.SetPortRangeAccess(0x3F6, 0x3FA, true), 0);
    EXPECT_EQ(io.MapReads, (std::vector<uint16_t>{0x7E, 0x7F}));
    EXPECT_EQ(io.MapWrites, (std::vector<uint16_t>{0x7E, 0x7F}));
    driver.GetIopmByte(0x7E, b);
    EXPECT_EQ(b, 0x3F);
    driver.GetIopmByte(0x7F, b);
    EXPECT_EQ(b, 0xF8);

    io.MapReads.clear();
    EXPECT_EQ(driver.SetPortRangeAccess(0x37A, 0x378, true), 0); // reversed: nothing
    EXPECT_TRUE(io.MapReads.empty());

    // Only activated, granted ports are touched.
    PortWriteByte(0x378, 1);
    EXPECT_EQ(io.RefusedAccesses, 1);
    driver.ActivateIopm();
    PortWriteByte(0x378, 1);
    PortWriteByte(0x37B, 1);
    EXPECT_EQ(io.RefusedAccesses, 2);
    EXPECT_EQ(io.Register(0x378), 1);
    driver.CloseDevice();
}

TEST_F(PinTest, PortRecordListsItsValuesInOrder)
{
    TDOutPort port;
    port.Name = QStringLiteral("Out^put");
    port.BaseAddress = 0x378;
    SetPinValue(*port.Pins[1], 5.0L);
    port.Pins[1]->Params[10] = 77;
    const QByteArray data = Record(port);
    EXPECT_EQ(port.Name, QStringLiteral("Out put")); // the caret is blanked in the port itself

    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TReader r(buffer);
    EXPECT_EQ(r.ReadString(), QStringLiteral("Out put^1"));
    EXPECT_EQ(r.ReadInteger(), 0x378);
    EXPECT_FALSE(r.ReadBoolean());
    EXPECT_EQ(r.ReadInteger(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(r.ReadString(), QStringLiteral("Bit %1^1").arg(i));
        EXPECT_EQ(r.ReadString(), QStringLiteral("DO%1").arg(i));
        EXPECT_EQ(r.ReadInteger(), 0); // port index
        EXPECT_EQ(r.ReadInteger(), 0); // pin index
        EXPECT_EQ(r.ReadFloat(), 0.0L);
        EXPECT_EQ(r.ReadFloat(), 5.0L);
        EXPECT_FALSE(r.ReadBoolean());
        EXPECT_EQ(r.ReadFloat(), i == 1 ? 5.0L : 0.0L);
        EXPECT_EQ(r.ReadInteger(), 0);
        EXPECT_EQ(r.ReadInteger(), 255);
        EXPECT_EQ(r.ReadFloat(), 1.0L);
        EXPECT_EQ(r.ReadFloat(), 0.0L);
        EXPECT_EQ(r.ReadInteger(), 1); // output
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(r.ReadInteger(), 0);
        for (int k = 0; k < 11; ++k)
            EXPECT_EQ(r.ReadInteger(), (i == 1 && k == 10) ? 77 : 0);
    }
    EXPECT_TRUE(r.AtEnd());

    // Read back into a fresh port: the same record again.
    TDOutPort again;
    ReadRecord(again, data);
    EXPECT_EQ(again.Name, QStringLiteral("Digitalausgänge")); // the constructor's name stays
    again.Name = port.Name;
    EXPECT_EQ(Record(again), data);
}

TEST_F(PinTest, OldAndResizedRecords)
{
    // A record without versions: directions follow the port, calibration is neutral.
    QByteArray data;
    {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        TWriter w(buffer);
        w.WriteString(QStringLiteral("Old"));
        w.WriteInteger(0x300);
        w.WriteBoolean(true);
        w.WriteInteger(2);
        for (int i = 0; i < 2; ++i) {
            w.WriteString(QStringLiteral("Line %1").arg(i));
            w.WriteString(QStringLiteral("L%1").arg(i));
            w.WriteInteger(0);
            w.WriteInteger(0);
            w.WriteFloat(-10.0L);
            w.WriteFloat(10.0L);
            w.WriteBoolean(true);
            w.WriteFloat(3.0L);
            w.WriteInteger(0);
            w.WriteInteger(4095);
        }
    }
    TDOutPort port;
    ReadRecord(port, data);
    EXPECT_EQ(port.LoadedVersion, 0);
    ASSERT_EQ(port.Pins.size(), 2u); // the stored count replaces the constructor's pins
    for (const auto& pin : port.Pins) {
        EXPECT_EQ(pin->IsOutput, 0);
        EXPECT_EQ(pin->Factor, 1.0L);
        EXPECT_EQ(pin->Offset, 0.0L);
        EXPECT_EQ(pin->RawMax, 4095);
    }
    EXPECT_EQ(port.Pins[1]->Description, QStringLiteral("Line 1"));
    EXPECT_EQ(port.Pins[1]->Value, 3.0L);
    EXPECT_EQ(port.BaseAddress, 0x300);

    // A library keeps the pin texts of the current language when the count matches.
    TDOutPort english;
    english.Pins[0]->Description = QStringLiteral("Bit zero");
    const QByteArray stored = Record(english);
    Ctx().LibraryLoading = true;
    TDOutPort library;
    ReadRecord(library, stored);
    EXPECT_EQ(library.Pins[0]->Description, QStringLiteral("Bit 0"));
    Ctx().LibraryLoading = false;
    ReadRecord(library, stored);
    EXPECT_EQ(library.Pins[0]->Description, QStringLiteral("Bit zero"));

    // A version that is no number is a stream error, not a crash.
    QByteArray bad;
    {
        QBuffer buffer(&bad);
        buffer.open(QIODevice::WriteOnly);
        TWriter w(buffer);
        w.WriteString(QStringLiteral("Name^x"));
    }
    QBuffer buffer(&bad);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    EXPECT_THROW(port.readFromStream(reader), EFilerError);
}
