#pragma once
// Tagged binary value streams: the byte format of project, macro, library and clipboard data.
// Every value is one tag byte followed by its little-endian payload. Records that bypass the
// tags (fixed packed records) use the raw operations.

#include "platform/Types.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

class QIODevice;

// Tags of the value format.
enum class TValueType : uint8_t {
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    False = 8,
    True = 9,
    LString = 12,
    WString = 18, // read only
    Utf8String = 20,
};

// A failure while reading or writing a stream. The message is in the current language;
// Kind tells the cause without parsing text.
class EFilerError : public std::runtime_error {
public:
    enum Kind { ReadError, InvalidValue, WriteError, InvalidData };
    EFilerError(Kind kind, const QString& message);
    Kind kind() const { return m_kind; }
    QString message() const { return QString::fromUtf8(what()); }

    // "Stream-Lesefehler": the stream ended before the value did.
    static EFilerError streamReadError();
    // "Ungültiger Eigenschaftswert": a tag that does not fit the expected kind of value.
    static EFilerError invalidPropertyValue();

private:
    Kind m_kind;
};

// Decoding and encoding of the two packed real formats (portable, independent of the host).
void EncodeExtended80(Extended value, uint8_t out[10]);
Extended DecodeExtended80(const uint8_t in[10]);
void EncodeReal48(double value, uint8_t out[6]);
double DecodeReal48(const uint8_t in[6]);

class TWriter {
public:
    // The device must be open for writing; isFileStream tells readers of board data whether
    // file-only parts (print settings) belong in the stream.
    explicit TWriter(QIODevice& device, bool isFileStream = false);

    bool IsFileStream() const { return m_isFile; }
    QIODevice& Device() { return m_device; }

    void WriteInteger(int32_t value);   // smallest of tags 2, 3, 4
    void WriteFloat(Extended value);    // tag 5
    void WriteBoolean(bool value);      // tag 8 or 9
    void WriteString(const QString& s); // 6, 12 (7-bit text) or 20 (UTF-8)

    // Raw access for records that bypass the tags.
    void WriteBuffer(const void* data, qint64 size);
    void WriteRawByte(uint8_t b);
    void WriteRawInt16(int16_t v);
    void WriteRawInt32(int32_t v);
    void WriteRawExtended(Extended v);  // exactly 10 bytes
    void WriteRawReal48(double v);      // exactly 6 bytes
    // A ShortString[maxLen] field: one length byte and maxLen bytes (Windows-1252, zero-filled).
    // Longer text is cut to maxLen.
    void WriteRawShortString(const QString& s, int maxLen);

private:
    QIODevice& m_device;
    bool m_isFile;
};

class TReader {
public:
    // Reads from the device's current position to its end.
    explicit TReader(QIODevice& device, bool isFileStream = false);

    bool IsFileStream() const { return m_isFile; }
    QIODevice& Device() { return m_device; }
    bool AtEnd() const;
    qint64 BytesLeft() const;

    // Tag of the next value without consuming it; throws "Stream-Lesefehler" at the end.
    TValueType NextValue();

    int32_t ReadInteger();   // tags 2, 3, 4
    Extended ReadFloat();    // tag 5, or an integer tag
    bool ReadBoolean();      // consumes the tag byte; true only for tag 9
    QString ReadString();    // tags 6, 12, 18, 20

    // Raw access; every read that would pass the end throws "Stream-Lesefehler".
    void ReadBuffer(void* data, qint64 size);
    QByteArray ReadBytes(qint64 size);
    uint8_t ReadRawByte();
    int16_t ReadRawInt16();
    int32_t ReadRawInt32();
    Extended ReadRawExtended();
    double ReadRawReal48();
    // A ShortString[maxLen] field; a length byte above maxLen is cut to maxLen.
    QString ReadRawShortString(int maxLen);

    // Checks a count read from the stream before it is used to build objects; throws an
    // EFilerError (InvalidData) naming what was counted when it lies outside [min, max].
    static int32_t CheckCount(int32_t value, int32_t min, int32_t max, const char* what);
    // Reads the count of items that follow, each taking at least bytesEach bytes of the
    // stream: a count below 0 or above what the rest of the stream can hold throws as above.
    int32_t ReadCount(const char* what, int bytesEach = 2);

private:
    uint8_t readTag();
    QIODevice& m_device;
    bool m_isFile;
};
