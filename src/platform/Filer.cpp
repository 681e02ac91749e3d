#include "platform/Filer.h"

#include "platform/Context.h"
#include "platform/Cp1252.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <limits>

// ---------------------------------------------------------------------------------------------
// Errors

EFilerError::EFilerError(Kind kind, const QString& message)
    : std::runtime_error(message.toUtf8().toStdString()), m_kind(kind)
{
}

EFilerError EFilerError::streamReadError()
{
    return EFilerError(ReadError,
                       Lang3Q("Stream-Lesefehler", "Stream read error", "Erreur de lecture du flux"));
}

EFilerError EFilerError::invalidPropertyValue()
{
    return EFilerError(InvalidValue, Lang3Q("Ungültiger Eigenschaftswert", "Invalid property value",
                                            "Valeur de propriété incorrecte"));
}

namespace {

EFilerError StreamWriteError()
{
    return EFilerError(EFilerError::WriteError,
                       Lang3Q("Stream-Schreibfehler", "Stream write error", "Erreur d'écriture du flux"));
}

constexpr int kExt80Bias = 16383;
constexpr int kExt80DenormShift = 16382 + 63; // value = mantissa * 2^-16445 when the exponent is 0
constexpr int kReal48Bias = 129;

} // namespace

// ---------------------------------------------------------------------------------------------
// Packed reals

void EncodeExtended80(Extended value, uint8_t out[10])
{
    uint64_t mantissa = 0;
    unsigned exponent = 0;
    const bool negative = std::signbit(value);

    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ULL; // quiet NaN
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ULL;
    } else if (value != 0) {
        const Extended a = std::fabs(value);
        int e = 0;
        const Extended m = std::frexp(a, &e); // a = m * 2^e, m in [0.5, 1)
        const int biased = e - 1 + kExt80Bias;
        if (biased >= 1) {
            exponent = static_cast<unsigned>(biased);
            mantissa = static_cast<uint64_t>(std::ldexp(m, 64));
        } else {
            // Denormal: no integer bit, fixed exponent.
            mantissa = static_cast<uint64_t>(std::ldexp(a, kExt80DenormShift));
        }
    }

    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    const unsigned se = exponent | (negative ? 0x8000u : 0u);
    out[8] = static_cast<uint8_t>(se);
    out[9] = static_cast<uint8_t>(se >> 8);
}

Extended DecodeExtended80(const uint8_t in[10])
{
    uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i)
        mantissa |= static_cast<uint64_t>(in[i]) << (8 * i);
    const unsigned se = in[8] | (static_cast<unsigned>(in[9]) << 8);
    const bool negative = (se & 0x8000u) != 0;
    const int exponent = static_cast<int>(se & 0x7FFFu);

    Extended result;
    if (exponent == 0x7FFF) {
        if ((mantissa & 0x7FFFFFFFFFFFFFFFULL) == 0)
            result = std::numeric_limits<Extended>::infinity();
        else
            result = std::numeric_limits<Extended>::quiet_NaN();
    } else if (exponent == 0) {
        result = std::ldexp(static_cast<Extended>(mantissa), -kExt80DenormShift);
    } else {
        result = std::ldexp(static_cast<Extended>(mantissa), exponent - kExt80Bias - 63);
    }
    return negative ? -result : result;
}

void EncodeReal48(double value, uint8_t out[6])
{
    std::fill(out, out + 6, uint8_t(0));
    // The format has neither NaN nor infinity: NaN is stored as 0, infinity as the largest value.
    if (std::isnan(value) || value == 0)
        return;
    const bool negative = std::signbit(value);
    int biased = 255;
    uint64_t mant = (uint64_t(1) << 40) - 1; // 1 + 39 fraction bits, all set
    if (!std::isinf(value)) {
        int e = 0;
        const double m = std::frexp(std::fabs(value), &e); // |value| = m * 2^e
        biased = e - 1 + kReal48Bias;
        mant = static_cast<uint64_t>(RoundHalfEven(std::ldexp(static_cast<Extended>(m), 40)));
        if (mant >> 40) { // rounding carried into a new bit
            mant >>= 1;
            ++biased;
        }
        if (biased < 1)
            return; // below the smallest value: 0
        if (biased > 255) {
            biased = 255;
            mant = (uint64_t(1) << 40) - 1;
        }
    }
    out[0] = static_cast<uint8_t>(biased);
    const uint64_t bits = (mant & ((uint64_t(1) << 39) - 1)) | (negative ? uint64_t(1) << 39 : 0);
    for (int i = 0; i < 5; ++i)
        out[1 + i] = static_cast<uint8_t>(bits >> (8 * i));
}

double DecodeReal48(const uint8_t in[6])
{
    if (in[0] == 0)
        return 0.0;
    uint64_t bits = 0;
    for (int i = 0; i < 5; ++i)
        bits |= static_cast<uint64_t>(in[1 + i]) << (8 * i);
    const bool negative = (bits >> 39) & 1;
    const uint64_t mant = (bits & ((uint64_t(1) << 39) - 1)) | (uint64_t(1) << 39);
    const double v = std::ldexp(static_cast<double>(mant), int(in[0]) - kReal48Bias - 39);
    return negative ? -v : v;
}

// ---------------------------------------------------------------------------------------------
// Writer

TWriter::TWriter(QIODevice& device, bool isFileStream) : m_device(device), m_isFile(isFileStream)
{
}

void TWriter::WriteBuffer(const void* data, qint64 size)
{
    if (size <= 0)
        return;
    if (m_device.write(static_cast<const char*>(data), size) != size)
        throw StreamWriteError();
}

void TWriter::WriteRawByte(uint8_t b)
{
    WriteBuffer(&b, 1);
}

void TWriter::WriteRawInt16(int16_t v)
{
    uchar buf[2];
    qToLittleEndian(v, buf);
    WriteBuffer(buf, 2);
}

void TWriter::WriteRawInt32(int32_t v)
{
    uchar buf[4];
    qToLittleEndian(v, buf);
    WriteBuffer(buf, 4);
}

void TWriter::WriteRawExtended(Extended v)
{
    uint8_t buf[10];
    EncodeExtended80(v, buf);
    WriteBuffer(buf, 10);
}

void TWriter::WriteRawReal48(double v)
{
    uint8_t buf[6];
    EncodeReal48(v, buf);
    WriteBuffer(buf, 6);
}

void TWriter::WriteRawShortString(const QString& s, int maxLen)
{
    Q_ASSERT(maxLen >= 0 && maxLen <= 255);
    maxLen = std::clamp(maxLen, 0, 255);
    const QByteArray bytes = ToCp1252(s);
    const int len = static_cast<int>(std::min<qsizetype>(bytes.size(), maxLen));
    QByteArray field(1 + maxLen, '\0');
    field[0] = static_cast<char>(len);
    std::copy_n(bytes.constData(), len, field.data() + 1);
    WriteBuffer(field.constData(), field.size());
}

void TWriter::WriteInteger(int32_t value)
{
    if (value >= -128 && value <= 127) {
        WriteRawByte(uint8_t(TValueType::Int8));
        WriteRawByte(static_cast<uint8_t>(static_cast<int8_t>(value)));
    } else if (value >= -32768 && value <= 32767) {
        WriteRawByte(uint8_t(TValueType::Int16));
        WriteRawInt16(static_cast<int16_t>(value));
    } else {
        WriteRawByte(uint8_t(TValueType::Int32));
        WriteRawInt32(value);
    }
}

void TWriter::WriteFloat(Extended value)
{
    WriteRawByte(uint8_t(TValueType::Extended));
    WriteRawExtended(value);
}

void TWriter::WriteBoolean(bool value)
{
    WriteRawByte(uint8_t(value ? TValueType::True : TValueType::False));
}

void TWriter::WriteString(const QString& s)
{
    if (IsSevenBit(s)) {
        const QByteArray bytes = s.toLatin1();
        if (bytes.size() <= 255) {
            WriteRawByte(uint8_t(TValueType::String));
            WriteRawByte(static_cast<uint8_t>(bytes.size()));
        } else {
            if (bytes.size() > std::numeric_limits<int32_t>::max())
                throw StreamWriteError();
            WriteRawByte(uint8_t(TValueType::LString));
            WriteRawInt32(static_cast<int32_t>(bytes.size()));
        }
        WriteBuffer(bytes.constData(), bytes.size());
        return;
    }
    const QByteArray bytes = s.toUtf8();
    if (bytes.size() > std::numeric_limits<int32_t>::max())
        throw StreamWriteError();
    WriteRawByte(uint8_t(TValueType::Utf8String));
    WriteRawInt32(static_cast<int32_t>(bytes.size()));
    WriteBuffer(bytes.constData(), bytes.size());
}

// ---------------------------------------------------------------------------------------------
// Reader

TReader::TReader(QIODevice& device, bool isFileStream) : m_device(device), m_isFile(isFileStream)
{
}

qint64 TReader::BytesLeft() const
{
    return std::max<qint64>(m_device.bytesAvailable(), 0);
}

bool TReader::AtEnd() const
{
    return BytesLeft() <= 0;
}

void TReader::ReadBuffer(void* data, qint64 size)
{
    if (size == 0)
        return;
    if (size < 0 || size > BytesLeft())
        throw EFilerError::streamReadError();
    // The device may still deliver less than it announced.
    if (m_device.read(static_cast<char*>(data), size) != size)
        throw EFilerError::streamReadError();
}

QByteArray TReader::ReadBytes(qint64 size)
{
    // Checked before the buffer is made, so that a damaged length cannot allocate much.
    if (size < 0 || size > BytesLeft())
        throw EFilerError::streamReadError();
    QByteArray out(size, Qt::Uninitialized);
    ReadBuffer(out.data(), size);
    return out;
}

uint8_t TReader::ReadRawByte()
{
    uint8_t b = 0;
    ReadBuffer(&b, 1);
    return b;
}

int16_t TReader::ReadRawInt16()
{
    uchar buf[2];
    ReadBuffer(buf, 2);
    return qFromLittleEndian<int16_t>(buf);
}

int32_t TReader::ReadRawInt32()
{
    uchar buf[4];
    ReadBuffer(buf, 4);
    return qFromLittleEndian<int32_t>(buf);
}

Extended TReader::ReadRawExtended()
{
    uint8_t buf[10];
    ReadBuffer(buf, 10);
    return DecodeExtended80(buf);
}

double TReader::ReadRawReal48()
{
    uint8_t buf[6];
    ReadBuffer(buf, 6);
    return DecodeReal48(buf);
}

QString TReader::ReadRawShortString(int maxLen)
{
    Q_ASSERT(maxLen >= 0 && maxLen <= 255);
    maxLen = std::clamp(maxLen, 0, 255);
    uint8_t field[256];
    ReadBuffer(field, 1 + maxLen);
    // A length beyond the field would show bytes of whatever follows the record.
    const int len = std::min<int>(field[0], maxLen);
    return FromCp1252(reinterpret_cast<const char*>(field + 1), len);
}

uint8_t TReader::readTag()
{
    return ReadRawByte();
}

TValueType TReader::NextValue()
{
    char c = 0;
    if (m_device.peek(&c, 1) != 1)
        throw EFilerError::streamReadError();
    return static_cast<TValueType>(static_cast<uint8_t>(c));
}

int32_t TReader::ReadInteger()
{
    switch (static_cast<TValueType>(readTag())) {
    case TValueType::Int8:
        return static_cast<int8_t>(ReadRawByte());
    case TValueType::Int16:
        return ReadRawInt16();
    case TValueType::Int32:
        return ReadRawInt32();
    default:
        throw EFilerError::invalidPropertyValue();
    }
}

Extended TReader::ReadFloat()
{
    if (NextValue() == TValueType::Extended) {
        readTag();
        return ReadRawExtended();
    }
    return ReadInteger();
}

bool TReader::ReadBoolean()
{
    return static_cast<TValueType>(readTag()) == TValueType::True;
}

QString TReader::ReadString()
{
    switch (static_cast<TValueType>(readTag())) {
    case TValueType::String: {
        const uint8_t len = ReadRawByte();
        return FromCp1252(ReadBytes(len));
    }
    case TValueType::LString: {
        const int32_t len = ReadRawInt32();
        return FromCp1252(ReadBytes(len));
    }
    case TValueType::Utf8String: {
        const int32_t len = ReadRawInt32();
        return QString::fromUtf8(ReadBytes(len));
    }
    case TValueType::WString: {
        const int32_t units = ReadRawInt32();
        const QByteArray bytes = ReadBytes(qint64(units) * 2); // negative counts fail here
        QString out(units, Qt::Uninitialized);
        for (int32_t i = 0; i < units; ++i)
            out[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
        return out;
    }
    default:
        throw EFilerError::invalidPropertyValue();
    }
}

int32_t TReader::ReadCount(const char* what, int bytesEach)
{
    const int32_t value = ReadInteger();
    const qint64 most = std::min<qint64>(BytesLeft() / std::max(1, bytesEach), INT32_MAX);
    return CheckCount(value, 0, int32_t(most), what);
}

int32_t TReader::CheckCount(int32_t value, int32_t min, int32_t max, const char* what)
{
    if (value < min || value > max) {
        throw EFilerError(EFilerError::InvalidData,
                          Lang3Q("Ungültige Anzahl (%1) für %2 im Datenstrom",
                                 "Invalid count (%1) of %2 in the stream",
                                 "Nombre invalide (%1) de %2 dans le flux")
                              .arg(QString::number(value), QString::fromUtf8(what ? what : "")));
    }
    return value;
}
