#include "widgets/Wave.h"

#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/Filer.h"
#include "widgets/Compression.h"
#include "widgets/WLXErrors.h"

#include <QtEndian>

namespace {

constexpr int kHeaderSize = 34;

QString NotAWaveText(const QString& source)
{
    return QStringLiteral("TWLXWave: ") + CannotOpenFileText(source);
}

QString StreamName()
{
    return Lang3Q("(Datenstrom)", "(stream)", "(flux)");
}

} // namespace

EInvalidWave::EInvalidWave(const QString& message) : std::runtime_error(message.toStdString())
{
}

bool CheckWaveData(const QByteArray& data, TWaveInfo* info)
{
    if (data.size() < kHeaderSize)
        return false;
    const char* p = data.constData();
    TWaveInfo read;
    read.RiffSize = qFromLittleEndian<uint32_t>(p + 4);
    const int formatTag = qFromLittleEndian<uint16_t>(p + 20);
    const int channels = qFromLittleEndian<uint16_t>(p + 22);
    read.Pcm = formatTag == 1;
    read.Channels = channels == 1 || channels == 2 ? channels : 0;
    read.SampleRate = qFromLittleEndian<uint32_t>(p + 24);
    read.BlockAlign = qFromLittleEndian<uint16_t>(p + 32);
    if (info)
        *info = read;
    return data.startsWith("RIFF") && data.mid(8, 4) == "WAVE" && data.mid(12, 4) == "fmt ";
}

void TWLXWave::SetData(const QByteArray& data)
{
    m_data = data;
    Change();
}

void TWLXWave::Assign(const TWLXWave& source)
{
    if (&source != this)
        SetData(source.m_data);
}

void TWLXWave::LoadBytes(const QByteArray& bytes, const QString& source)
{
    if (bytes.isEmpty()) {
        Clear();
        return;
    }
    if (!CheckWaveData(bytes, nullptr))
        throw EInvalidWave(NotAWaveText(source));
    SetData(bytes);
}

void TWLXWave::LoadFromFile(const QString& fileName)
{
    QByteArray bytes;
    QString error;
    if (!ReadWholeFile(fileName, kMaxItemData, &bytes, &error))
        throw EInvalidWave(error);
    LoadBytes(bytes, fileName);
}

bool TWLXWave::SaveToFile(const QString& fileName, QString* error) const
{
    return WriteWholeFile(fileName, m_data, error);
}

void TWLXWave::LoadFromStream(TReader& reader)
{
    if (reader.BytesLeft() > kMaxItemData)
        throw EDamagedData();
    LoadBytes(reader.ReadBytes(reader.BytesLeft()), StreamName());
}

void TWLXWave::SaveToStream(TWriter& writer) const
{
    writer.WriteBuffer(m_data.constData(), m_data.size());
}

void TWLXWave::ReadData(TReader& reader)
{
    ReadItem(reader, false);
}

void TWLXWave::WriteData(TWriter& writer) const
{
    WriteItem(writer, false);
}

void TWLXWave::WriteItem(TWriter& writer, bool compressed) const
{
    WriteItemData(writer, m_data, compressed);
}

void TWLXWave::ReadItem(TReader& reader, bool compressed)
{
    LoadBytes(ReadItemData(reader, compressed, kMaxItemData), StreamName());
}
