#include "comm/modbus/ModbusCodec.h"

#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/IoPort.h"
#include "platform/Context.h"

#include <algorithm>
#include <cmath>

namespace modbus {

namespace {

uint16_t Word(const uint8_t* p)
{
    return uint16_t(p[0] << 8 | p[1]);
}

void PutWord(std::vector<uint8_t>& bytes, uint16_t w)
{
    bytes.push_back(uint8_t(w >> 8));
    bytes.push_back(uint8_t(w & 0xFF));
}

int32_t ClampCount(int32_t count)
{
    return std::clamp(count, 1, 64);
}

uint16_t WireAddress(int32_t startAddress)
{
    return uint16_t(std::clamp(startAddress, 1, 65536) - 1);
}

TAnswer Refused(const QString& message)
{
    TAnswer answer;
    answer.Status = kNoAnswer;
    answer.Message = message;
    return answer;
}

QString WrongLength()
{
    return Lang3Q("Modbus-Antwort mit falscher Länge", "Modbus answer with a wrong length",
                    "Réponse Modbus de longueur incorrecte");
}

QString NotMatching()
{
    return Lang3Q("Modbus-Antwort passt nicht zur Anfrage",
                    "Modbus answer does not match the request",
                    "La réponse Modbus ne correspond pas à la requête");
}

} // namespace

bool IsSupportedFunction(uint8_t function)
{
    return (function >= 1 && function <= 6) || function == 15 || function == 16;
}

bool IsReadFunction(uint8_t function)
{
    return function >= 1 && function <= 4;
}

bool IsBitFunction(uint8_t function)
{
    return function == 1 || function == 2 || function == 5 || function == 15;
}

QString FunctionText(uint8_t function)
{
    switch (function) {
    case 1: return QStringLiteral("01 Read Coils");
    case 2: return QStringLiteral("02 Read Discrete Inputs");
    case 3: return QStringLiteral("03 Read Holding Registers");
    case 4: return QStringLiteral("04 Read Input Registers");
    case 5: return QStringLiteral("05 Write Single Coil");
    case 6: return QStringLiteral("06 Write Single Register");
    case 15: return QStringLiteral("15 Write Multiple Coils");
    case 16: return QStringLiteral("16 Write Multiple Registers");
    default: return QStringLiteral("Unsupported function ") + QString::number(function);
    }
}

uint16_t RegisterValue(Extended value)
{
    if (std::isnan(value) || value <= 0.0L)
        return 0;
    if (value >= 65535.0L)
        return 65535;
    return uint16_t(std::nearbyint(double(value)));
}

std::vector<uint8_t> RequestPdu(uint8_t function, int32_t startAddress, int32_t count,
                                const std::vector<Extended>& values)
{
    std::vector<uint8_t> pdu{function};
    PutWord(pdu, WireAddress(startAddress));
    const auto value = [&values](size_t i) { return i < values.size() ? values[i] : 0.0L; };
    count = ClampCount(count);
    switch (function) {
    case 1: case 2: case 3: case 4:
        PutWord(pdu, uint16_t(count));
        break;
    case 5:
        PutWord(pdu, value(0) > 2.5L ? 0xFF00 : 0x0000);
        break;
    case 6:
        PutWord(pdu, RegisterValue(value(0)));
        break;
    case 15: {
        PutWord(pdu, uint16_t(count));
        const size_t bytes = size_t(count + 7) / 8;
        pdu.push_back(uint8_t(bytes));
        const size_t first = pdu.size();
        pdu.resize(first + bytes, 0);
        for (size_t i = 0; i < size_t(count); ++i)
            if (value(i) > 2.5L)
                pdu[first + i / 8] = uint8_t(pdu[first + i / 8] | 1u << (i % 8));
        break;
    }
    case 16:
        PutWord(pdu, uint16_t(count));
        pdu.push_back(uint8_t(2 * count));
        for (size_t i = 0; i < size_t(count); ++i)
            PutWord(pdu, RegisterValue(value(i)));
        break;
    default:
        break;
    }
    return pdu;
}

TAnswer DecodeAnswerPdu(uint8_t function, int32_t startAddress, int32_t count,
                        const uint8_t* pdu, size_t size)
{
    if (size == 0)
        return Refused(Lang3Q("Keine Modbus-Antwort", "No Modbus answer",
                                "Pas de réponse Modbus"));
    count = ClampCount(count);
    TAnswer answer;
    if (pdu[0] == (function | 0x80)) {
        if (size != 2)
            return Refused(WrongLength());
        answer.Status = kException + pdu[1];
        answer.Message = Lang3Q("Modbus-Ausnahme %1", "Modbus exception %1",
                                  "Exception Modbus %1")
                             .arg(pdu[1]);
        return answer;
    }
    if (pdu[0] != function)
        return Refused(Lang3Q("Modbus-Antwort mit falscher Funktion",
                                "Modbus answer with the wrong function",
                                "Réponse Modbus avec une mauvaise fonction"));
    if (IsReadFunction(function)) {
        const size_t expected = IsBitFunction(function) ? size_t(count + 7) / 8
                                                        : size_t(2 * count);
        if (size < 2 || pdu[1] != expected || size != 2 + expected)
            return Refused(WrongLength());
        const uint8_t* data = pdu + 2;
        for (size_t i = 0; i < size_t(count); ++i) {
            if (IsBitFunction(function))
                answer.Values.push_back((data[i / 8] >> (i % 8) & 1) ? 5.0L : 0.0L);
            else
                answer.Values.push_back(Extended(Word(data + 2 * i)));
        }
    } else if (IsSupportedFunction(function)) {
        // Writes echo the address and the value or quantity.
        if (size != 5)
            return Refused(WrongLength());
        if (Word(pdu + 1) != WireAddress(startAddress)
            || ((function == 15 || function == 16) && Word(pdu + 3) != uint16_t(count)))
            return Refused(NotMatching());
    }
    answer.Status = kOk;
    return answer;
}

// --- Modbus/TCP ----------------------------------------------------------------------------------

std::vector<uint8_t> TcpRequest(uint16_t transaction, uint8_t unit,
                                const std::vector<uint8_t>& pdu)
{
    std::vector<uint8_t> adu;
    adu.reserve(kTcpHeaderSize + pdu.size());
    PutWord(adu, transaction);
    PutWord(adu, 0);
    PutWord(adu, uint16_t(pdu.size() + 1));
    adu.push_back(unit);
    adu.insert(adu.end(), pdu.begin(), pdu.end());
    return adu;
}

std::optional<size_t> TcpAnswerSize(const uint8_t* data, size_t size)
{
    if (size < 6)
        return std::nullopt;
    const size_t length = Word(data + 4);
    // Unit, function and at least one byte; at most the largest PDU.
    if (length < 3 || 6 + length > kTcpMaxAdu)
        return size_t(0);
    return 6 + length;
}

TTcpTake TakeTcpAnswer(std::vector<uint8_t>& received, uint16_t transaction, size_t* size)
{
    // Each pass drops one whole answer: the loop ends with the buffer.
    for (;;) {
        const std::optional<size_t> whole = TcpAnswerSize(received.data(), received.size());
        if (!whole)
            return TTcpTake::Incomplete;
        if (*whole == 0)
            return TTcpTake::Unreadable;
        if (received.size() < *whole)
            return TTcpTake::Incomplete;
        if (Word(received.data()) == transaction) {
            *size = *whole;
            return TTcpTake::Answer;
        }
        received.erase(received.begin(), received.begin() + ptrdiff_t(*whole));
    }
}

TAnswer DecodeTcpAnswer(uint16_t transaction, uint8_t unit, uint8_t function,
                        int32_t startAddress, int32_t count, const uint8_t* data, size_t size)
{
    const std::optional<size_t> expected = TcpAnswerSize(data, size);
    if (!expected || *expected == 0 || *expected != size)
        return Refused(WrongLength());
    if (Word(data) != transaction || Word(data + 2) != 0)
        return Refused(Lang3Q("Modbus-Antwort mit falscher Transaktionsnummer",
                                "Modbus answer with the wrong transaction number",
                                "Réponse Modbus avec un mauvais numéro de transaction"));
    if (data[6] != unit)
        return Refused(Lang3Q("Modbus-Antwort von der falschen Unit-ID",
                                "Modbus answer from the wrong unit id",
                                "Réponse Modbus d'une mauvaise unit id"));
    return DecodeAnswerPdu(function, startAddress, count, data + kTcpHeaderSize,
                           size - kTcpHeaderSize);
}

// --- Modbus RTU ----------------------------------------------------------------------------------

uint16_t Crc16(const uint8_t* data, size_t size)
{
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < size; ++i)
        Crc16Step(data[i], crc);
    return crc;
}

std::vector<uint8_t> RtuRequest(uint8_t unit, const std::vector<uint8_t>& pdu)
{
    std::vector<uint8_t> frame;
    frame.reserve(pdu.size() + 3);
    frame.push_back(unit);
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    const uint16_t crc = Crc16(frame.data(), frame.size());
    frame.push_back(uint8_t(crc & 0xFF));
    frame.push_back(uint8_t(crc >> 8));
    return frame;
}

std::optional<size_t> RtuAnswerSize(const uint8_t* data, size_t size)
{
    if (size < 2)
        return std::nullopt;
    const uint8_t function = data[1];
    if (function & 0x80)
        return size_t(5);
    if (function == 5 || function == 6 || function == 15 || function == 16)
        return size_t(8);
    if (IsReadFunction(function)) {
        if (size < 3)
            return std::nullopt;
        return size_t(5) + data[2];
    }
    return size_t(0);
}

TAnswer DecodeRtuAnswer(uint8_t unit, uint8_t function, int32_t startAddress, int32_t count,
                        const uint8_t* data, size_t size)
{
    if (size == 0)
        return DecodeAnswerPdu(function, startAddress, count, data, 0);
    const std::optional<size_t> expected = RtuAnswerSize(data, size);
    if (size < 4 || !expected || *expected != size)
        return Refused(WrongLength());
    const uint16_t crc = Crc16(data, size - 2);
    if (data[size - 2] != (crc & 0xFF) || data[size - 1] != crc >> 8)
        return Refused(Lang3Q("Modbus-Antwort mit falscher Prüfsumme",
                                "Modbus answer with a wrong checksum",
                                "Réponse Modbus avec une somme de contrôle fausse"));
    if (data[0] != unit)
        return Refused(Lang3Q("Modbus-Antwort von der falschen Unit-ID",
                                "Modbus answer from the wrong unit id",
                                "Réponse Modbus d'une mauvaise unit id"));
    return DecodeAnswerPdu(function, startAddress, count, data + 1, size - 3);
}

} // namespace modbus
