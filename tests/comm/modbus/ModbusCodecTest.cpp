// Modbus requests, answers and the RTU checksum, byte for byte; malformed and random answers
// must be refused without reading past their end.
#include "comm/modbus/ModbusCodec.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <random>

using namespace modbus;

namespace {

std::vector<uint8_t> Hex(const char* text)
{
    const QByteArray bytes = QByteArray::fromHex(QByteArray(text).replace(' ', ""));
    return {bytes.begin(), bytes.end()};
}

QString ToHex(const std::vector<uint8_t>& bytes)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()))
            .toHex(' ')
            .toUpper());
}

} // namespace

TEST(ModbusCodec, RequestsCarryTheFunctionsFields)
{
    struct Case {
        uint8_t Function;
        int32_t Start;
        int32_t Count;
        std::vector<Extended> Values;
        const char* Tcp; // transaction 0, unit 255
    };
    const Case cases[] = {
        {3, 1, 2, {}, "00 00 00 00 00 06 FF 03 00 00 00 02"},
        {1, 65536, 1, {}, "00 00 00 00 00 06 FF 01 FF FF 00 01"},
        {5, 1, 1, {3.0L}, "00 00 00 00 00 06 FF 05 00 00 FF 00"},
        {5, 1, 1, {2.0L}, "00 00 00 00 00 06 FF 05 00 00 00 00"},
        {6, 10, 1, {1234.4L}, "00 00 00 00 00 06 FF 06 00 09 04 D2"},
        // Ten coils: two data bytes, the six unused bits of the second one clear.
        {15, 1, 10, {5, 0, 5, 0, 0, 0, 0, 0, 5, 5},
         "00 00 00 00 00 09 FF 0F 00 00 00 0A 02 05 03"},
        // Below 0, above 65535, and halves rounded to even.
        {16, 1, 4, {-3.0L, 70000.0L, 2.5L, 3.5L},
         "00 00 00 00 00 0F FF 10 00 00 00 04 08 00 00 FF FF 00 02 00 04"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToHex(TcpRequest(0, 255, RequestPdu(c.Function, c.Start, c.Count, c.Values))),
                  QString::fromLatin1(c.Tcp))
            << int(c.Function);
}

TEST(ModbusCodec, RtuFramesEndInTheCrcLowByteFirst)
{
    EXPECT_EQ(ToHex(RtuRequest(1, RequestPdu(3, 1, 2, {}))),
              QStringLiteral("01 03 00 00 00 02 C4 0B"));
    // Nine coils: byte count 2, the seven unused bits clear.
    const std::vector<uint8_t> coils =
        RtuRequest(1, RequestPdu(15, 1, 9, {5, 5, 5, 5, 5, 5, 5, 5, 5}));
    EXPECT_EQ(ToHex({coils.begin(), coils.end() - 2}),
              QStringLiteral("01 0F 00 00 00 09 02 FF 01"));

    struct Case {
        const char* Bytes;
        uint16_t Crc;
    };
    for (const Case& c : {Case{"", 0xFFFF}, Case{"01 03 00 00 00 02", 0x0BC4},
                          Case{"11 03 00 6B 00 03", 0x8776}, Case{"01 04 02 FF FF", 0x80B8}}) {
        const std::vector<uint8_t> bytes = Hex(c.Bytes);
        EXPECT_EQ(Crc16(bytes.data(), bytes.size()), c.Crc) << c.Bytes;
    }
}

TEST(ModbusCodec, GoodAnswersFillTheChannels)
{
    struct Case {
        uint8_t Function;
        int32_t Count;
        const char* Tcp; // transaction 7, unit 1
        int32_t Status;
        std::vector<Extended> Values;
    };
    const Case cases[] = {
        {3, 2, "00 07 00 00 00 07 01 03 04 00 0A FF FF", kOk, {10, 65535}},
        {1, 10, "00 07 00 00 00 05 01 01 02 05 02", kOk, {5, 0, 5, 0, 0, 0, 0, 0, 0, 5}},
        {3, 2, "00 07 00 00 00 03 01 83 02", kException + 2, {}},
        {16, 3, "00 07 00 00 00 06 01 10 00 00 00 03", kOk, {}},
        {5, 1, "00 07 00 00 00 06 01 05 00 00 FF 00", kOk, {}},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = Hex(c.Tcp);
        ASSERT_EQ(TcpAnswerSize(bytes.data(), bytes.size()), bytes.size());
        const TAnswer answer = DecodeTcpAnswer(7, 1, c.Function, 1, c.Count, bytes.data(),
                                               bytes.size());
        EXPECT_EQ(answer.Status, c.Status) << c.Tcp;
        EXPECT_EQ(answer.Values, c.Values) << c.Tcp;
    }
    const std::vector<uint8_t> rtu = RtuRequest(1, Hex("04 04 03 E8 03 E9"));
    const TAnswer answer = DecodeRtuAnswer(1, 4, 1, 2, rtu.data(), rtu.size());
    EXPECT_EQ(answer.Status, kOk);
    EXPECT_EQ(answer.Values, (std::vector<Extended>{1000, 1001}));
}

// Answers to "read 2 holding registers from address 1 of unit 1, transaction 7" and to
// "write 3 registers at address 1": each one wrong in one field.
TEST(ModbusCodec, MalformedAnswersAreRefusedWithAMessage)
{
    struct Case {
        uint8_t Function;
        const char* Tcp;
    };
    const Case tcp[] = {
        {3, "00 08 00 00 00 07 01 03 04 00 0A 00 0B"},       // transaction
        {3, "00 07 00 01 00 07 01 03 04 00 0A 00 0B"},       // protocol
        {3, "00 07 00 00 00 07 02 03 04 00 0A 00 0B"},       // unit
        {3, "00 07 00 00 00 07 01 04 04 00 0A 00 0B"},       // function
        {3, "00 07 00 00 00 06 01 03 03 00 0A 00"},          // byte count too small
        {3, "00 07 00 00 00 07 01 03 06 00 0A 00 0B"},       // byte count beyond the data
        {3, "00 07 00 00 00 09 01 03 04 00 0A 00 0B 00 00"}, // data beyond the byte count
        {3, "00 07 00 00 00 04 01 83 02 00"},                // exception with a tail
        {3, "00 07 00 00 00 03 01 84 02"},                   // exception of another function
        {3, "00 07 00 00 00 02 01 03"},                      // nothing after the function
        {16, "00 07 00 00 00 06 01 10 00 05 00 03"},         // echo of another address
        {16, "00 07 00 00 00 06 01 10 00 00 00 02"},         // echo of another quantity
        {16, "00 07 00 00 00 04 01 10 00 00"},               // echo cut short
    };
    for (const Case& c : tcp) {
        const std::vector<uint8_t> bytes = Hex(c.Tcp);
        const int32_t count = c.Function == 3 ? 2 : 3;
        const TAnswer answer = DecodeTcpAnswer(7, 1, c.Function, 1, count, bytes.data(),
                                               bytes.size());
        EXPECT_EQ(answer.Status, kNoAnswer) << c.Tcp;
        EXPECT_TRUE(answer.Values.empty()) << c.Tcp;
        EXPECT_FALSE(answer.Message.isEmpty()) << c.Tcp;
    }
    // Length fields no answer can have.
    for (const char* header : {"00 07 00 00 00 00", "00 07 00 00 00 02", "00 07 00 00 FF FF",
                               "00 07 00 00 00 FF"})
        EXPECT_EQ(TcpAnswerSize(Hex(header).data(), 6), size_t(0)) << header;

    const std::vector<uint8_t> good = RtuRequest(1, Hex("03 04 00 0A 00 0B"));
    std::vector<uint8_t> badCrc = good;
    badCrc.back() ^= 1;
    std::vector<uint8_t> tail = good;
    tail.push_back(0);
    const std::vector<std::vector<uint8_t>> rtu = {
        badCrc,
        tail,
        {good.begin(), good.end() - 1},
        RtuRequest(2, Hex("03 04 00 0A 00 0B")), // another unit
        RtuRequest(1, Hex("03 02 00 0A")),       // byte count of one register
        RtuRequest(1, Hex("83")),                // exception without its code
        {},
        std::vector<uint8_t>(kRtuMaxFrame, 0x03),
    };
    for (const std::vector<uint8_t>& bytes : rtu) {
        const TAnswer answer = DecodeRtuAnswer(1, 3, 1, 2, bytes.data(), bytes.size());
        EXPECT_EQ(answer.Status, kNoAnswer) << ToHex(bytes).toStdString();
        EXPECT_FALSE(answer.Message.isEmpty());
    }
}

// Random bytes, and random changes of good answers, never decode into more channels than asked
// for (the sanitizers watch the reads).
TEST(ModbusCodec, RandomAnswersAreDecodedWithinTheirBytes)
{
    std::mt19937 random(20261211);
    const std::vector<uint8_t> goodTcp = Hex("00 07 00 00 00 07 01 03 04 00 0A 00 0B");
    const std::vector<uint8_t> goodRtu = RtuRequest(1, Hex("03 04 00 0A 00 0B"));
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bytes;
        if (round % 2 == 0) {
            bytes.resize(random() % 300);
            for (uint8_t& b : bytes)
                b = uint8_t(random());
        } else {
            bytes = round % 4 == 1 ? goodTcp : goodRtu;
            bytes[random() % bytes.size()] = uint8_t(random());
            bytes.resize(random() % (bytes.size() + 2));
        }
        const uint8_t function = uint8_t(std::array{1, 2, 3, 4, 5, 6, 15, 16}[random() % 8]);
        const int32_t count = int32_t(random() % 64) + 1;
        const std::optional<size_t> size = TcpAnswerSize(bytes.data(), bytes.size());
        if (size && *size != 0 && *size <= bytes.size()) {
            const TAnswer answer =
                DecodeTcpAnswer(7, 1, function, 1, count, bytes.data(), *size);
            EXPECT_TRUE(answer.Values.empty() || answer.Values.size() == size_t(count));
        }
        const TAnswer rtu = DecodeRtuAnswer(1, function, 1, count, bytes.data(), bytes.size());
        EXPECT_TRUE(rtu.Values.empty() || rtu.Values.size() == size_t(count));
        if (rtu.Status != kOk) {
            EXPECT_TRUE(rtu.Values.empty());
        }
    }
}
