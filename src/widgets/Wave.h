#pragma once
// One sound kept in memory as the complete image of a RIFF WAVE file, so that it can be stored
// in a form or a container. Whatever is loaded must begin like a wave file ("RIFF", size,
// "WAVE", a "fmt " chunk with at least the format tag, channels, rates and block alignment);
// anything else is refused with EInvalidWave and the wave keeps what it held.

#include "widgets/WLXObject.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

class TReader;
class TWriter;

class EInvalidWave : public std::runtime_error {
public:
    explicit EInvalidWave(const QString& message);
};

struct TWaveInfo {
    uint32_t RiffSize = 0;
    bool Pcm = false;          // format tag 1
    int Channels = 0;          // 1 or 2, else 0
    uint32_t SampleRate = 0;
    int BlockAlign = 0;
};

// True when the data begin like a wave file; fills info from the header. Data too short for
// the header are refused (false).
bool CheckWaveData(const QByteArray& data, TWaveInfo* info);

class TWLXWave : public TWLXObject {
public:
    TWLXWave() = default;

    bool IsEmpty() const { return m_data.isEmpty(); }
    qint64 DataSize() const { return m_data.size(); }
    const QByteArray& Data() const { return m_data; }

    // Takes checked wave bytes (empty bytes empty the wave); Change.
    void SetData(const QByteArray& data);
    void Clear() { SetData(QByteArray()); }
    void Assign(const TWLXWave& source);

    // The whole file; errors name the file.
    void LoadFromFile(const QString& fileName);
    // False with *error when the file cannot be written.
    bool SaveToFile(const QString& fileName, QString* error = nullptr) const;
    // From the reader's position to its end.
    void LoadFromStream(TReader& reader);
    // The bytes without their size.
    void SaveToStream(TWriter& writer) const;
    // The binary property "Data": Int32 size and the bytes.
    void ReadData(TReader& reader);
    void WriteData(TWriter& writer) const;
    // In a container item: a block stream when compressed, else Int32 size and the bytes.
    void WriteItem(TWriter& writer, bool compressed) const;
    void ReadItem(TReader& reader, bool compressed);

private:
    // Checks and takes bytes; `source` names them in an error.
    void LoadBytes(const QByteArray& bytes, const QString& source);
    QByteArray m_data;
};
