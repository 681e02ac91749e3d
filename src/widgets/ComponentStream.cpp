#include "widgets/ComponentStream.h"

#include "platform/Cp1252.h"
#include "platform/Filer.h"
#include "widgets/Compression.h"

#include <QBuffer>

namespace {

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};
// Deeper nesting than any form holds is taken for damage.
constexpr int kMaxDepth = 32;

enum : uint8_t {
    kInt8 = 2, kInt16 = 3, kInt32 = 4, kExtended = 5, kString = 6, kFalse = 8, kTrue = 9,
    kSet = 11, kLString = 12, kNil = 13, kCollection = 14, kSingle = 15, kCurrency = 16,
    kDate = 17, kWString = 18, kInt64 = 19, kUtf8String = 20
};

} // namespace

// ---- writer -------------------------------------------------------------------------------

void TWLXComponentWriter::WriteShortName(TWriter& writer, const QString& name)
{
    const QByteArray bytes = ToCp1252(name).left(255);
    writer.WriteRawByte(uint8_t(bytes.size()));
    writer.WriteBuffer(bytes.constData(), bytes.size());
}

void TWLXComponentWriter::WriteSignature()
{
    m_writer.WriteBuffer(kSignature, 4);
}

void TWLXComponentWriter::BeginComponent(const QString& className, const QString& name)
{
    WriteShortName(m_writer, className);
    WriteShortName(m_writer, name);
}

void TWLXComponentWriter::EndProperties()
{
    m_writer.WriteRawByte(kValueNull);
}

void TWLXComponentWriter::EndComponent()
{
    m_writer.WriteRawByte(kValueNull);
}

void TWLXComponentWriter::WriteInteger(const QString& name, int32_t value)
{
    WriteShortName(m_writer, name);
    m_writer.WriteInteger(value);
}

void TWLXComponentWriter::WriteBoolean(const QString& name, bool value)
{
    WriteShortName(m_writer, name);
    m_writer.WriteBoolean(value);
}

void TWLXComponentWriter::WriteString(const QString& name, const QString& value)
{
    WriteShortName(m_writer, name);
    m_writer.WriteString(value);
}

void TWLXComponentWriter::WriteIdent(const QString& name, const QString& ident)
{
    WriteShortName(m_writer, name);
    m_writer.WriteRawByte(kValueIdent);
    WriteShortName(m_writer, ident);
}

void TWLXComponentWriter::WriteBinary(const QString& name,
                                      const std::function<void(TWriter&)>& write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TWriter data(buffer);
    write(data);
    WriteShortName(m_writer, name);
    m_writer.WriteRawByte(kValueBinary);
    m_writer.WriteRawInt32(int32_t(buffer.data().size()));
    m_writer.WriteBuffer(buffer.data().constData(), buffer.data().size());
}

void TWLXComponentWriter::WriteList(const QString& name, const std::function<void(TWriter&)>& write)
{
    WriteShortName(m_writer, name);
    m_writer.WriteRawByte(kValueList);
    write(m_writer);
    m_writer.WriteRawByte(kValueNull);
}

// ---- reader -------------------------------------------------------------------------------

void TWLXComponentReader::ReadSignature()
{
    char signature[4];
    m_reader.ReadBuffer(signature, 4);
    if (QByteArray(signature, 4) != QByteArray(kSignature, 4))
        throw EDamagedData();
}

bool TWLXComponentReader::AtListEnd()
{
    if (uint8_t(m_reader.NextValue()) != kValueNull)
        return false;
    m_reader.ReadRawByte();
    return true;
}

QString TWLXComponentReader::ReadShortName(TReader& reader)
{
    const uint8_t length = reader.ReadRawByte();
    return FromCp1252(reader.ReadBytes(length));
}

void TWLXComponentReader::ReadComponentHeader(QString* className, QString* name)
{
    *className = ReadShortName();
    *name = ReadShortName();
}

bool TWLXComponentReader::NextProperty(QString* name)
{
    if (AtListEnd())
        return false;
    *name = ReadShortName();
    return true;
}

int32_t TWLXComponentReader::ReadInteger()
{
    return m_reader.ReadInteger();
}

bool TWLXComponentReader::ReadBoolean()
{
    const uint8_t tag = m_reader.ReadRawByte();
    if (tag != kTrue && tag != kFalse)
        throw EFilerError::invalidPropertyValue();
    return tag == kTrue;
}

QString TWLXComponentReader::ReadString()
{
    return m_reader.ReadString();
}

QString TWLXComponentReader::ReadIdent()
{
    const uint8_t tag = m_reader.ReadRawByte();
    if (tag == kFalse || tag == kTrue || tag == kNil)
        return tag == kFalse ? QStringLiteral("False") : tag == kTrue ? QStringLiteral("True")
                                                                      : QStringLiteral("nil");
    if (tag != kValueIdent)
        throw EFilerError::invalidPropertyValue();
    return ReadShortName();
}

QByteArray TWLXComponentReader::ReadBinary(qint64 maxBytes)
{
    if (m_reader.ReadRawByte() != kValueBinary)
        throw EFilerError::invalidPropertyValue();
    const int32_t size = m_reader.ReadRawInt32();
    if (size < 0 || size > maxBytes)
        throw EDamagedData();
    return m_reader.ReadBytes(size);
}

void TWLXComponentReader::ReadListBegin()
{
    if (m_reader.ReadRawByte() != kValueList)
        throw EFilerError::invalidPropertyValue();
}

void TWLXComponentReader::SkipValue()
{
    if (++m_depth > kMaxDepth) {
        m_depth = 0;
        throw EDamagedData();
    }
    const uint8_t tag = m_reader.ReadRawByte();
    auto skip = [this](qint64 n) {
        if (n < 0 || n > m_reader.BytesLeft())
            throw EFilerError::streamReadError();
        m_reader.ReadBytes(n);
    };
    switch (tag) {
    case kValueNull: case kFalse: case kTrue: case kNil: break;
    case kValueList:
        while (!AtListEnd())
            SkipValue();
        break;
    case kInt8: skip(1); break;
    case kInt16: skip(2); break;
    case kInt32: case kSingle: skip(4); break;
    case kExtended: skip(10); break;
    case kCurrency: case kDate: case kInt64: skip(8); break;
    case kString: case kValueIdent: skip(m_reader.ReadRawByte()); break;
    case kValueBinary: case kLString: case kUtf8String: skip(m_reader.ReadRawInt32()); break;
    case kWString: skip(qint64(m_reader.ReadRawInt32()) * 2); break;
    case kSet:
        // Element names up to an empty one.
        for (uint8_t length = m_reader.ReadRawByte(); length != 0; length = m_reader.ReadRawByte())
            skip(length);
        break;
    case kCollection:
        while (!AtListEnd()) {
            const uint8_t next = uint8_t(m_reader.NextValue());
            if (next == kInt8 || next == kInt16 || next == kInt32)
                m_reader.ReadInteger();
            ReadListBegin();
            QString property;
            while (NextProperty(&property))
                SkipValue();
        }
        break;
    default:
        throw EFilerError::invalidPropertyValue();
    }
    --m_depth;
}

void TWLXComponentReader::SkipComponent()
{
    if (++m_depth > kMaxDepth) {
        m_depth = 0;
        throw EDamagedData();
    }
    QString className, name, property;
    ReadComponentHeader(&className, &name);
    while (NextProperty(&property))
        SkipValue();
    while (!AtListEnd())
        SkipComponent();
    --m_depth;
}
