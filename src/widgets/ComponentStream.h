#pragma once
// The component stream of the class library, as the widget library's components are kept in a
// form: a component is its class name and its name (each a length byte and the characters), its
// properties (the name likewise, then one tagged value) closed by a zero byte, its child
// components, and a zero byte. A stand-alone stream begins with the signature "TPF0".
//
// The tagged values are those of the project files (platform/Filer.h) plus lists, identifiers
// and binary data. The reader skips the properties a component does not know and never reads
// past the end of its stream.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

class TReader;
class TWriter;

// Value tags beyond those of the project files.
constexpr uint8_t kValueNull = 0;      // end of a property list, a list or the children
constexpr uint8_t kValueList = 1;
constexpr uint8_t kValueIdent = 7;
constexpr uint8_t kValueBinary = 10;

class TWLXComponentWriter {
public:
    explicit TWLXComponentWriter(TWriter& writer) : m_writer(writer) {}
    TWriter& Writer() { return m_writer; }

    void WriteSignature();
    // Class name and name of a component; its properties follow.
    void BeginComponent(const QString& className, const QString& name);
    // Closes the property list; the children follow.
    void EndProperties();
    // Closes the children (and so the component).
    void EndComponent();

    void WriteInteger(const QString& name, int32_t value);
    void WriteBoolean(const QString& name, bool value);
    void WriteString(const QString& name, const QString& value);
    void WriteIdent(const QString& name, const QString& ident);
    // Binary data: Int32 size and the bytes that `write` produces.
    void WriteBinary(const QString& name, const std::function<void(TWriter&)>& write);
    // A list property: its name, then the values that `write` puts, then the end of the list.
    void WriteList(const QString& name, const std::function<void(TWriter&)>& write);

    // A name or identifier: a length byte and at most 255 characters.
    static void WriteShortName(TWriter& writer, const QString& name);

private:
    TWriter& m_writer;
};

class TWLXComponentReader {
public:
    explicit TWLXComponentReader(TReader& reader) : m_reader(reader) {}
    TReader& Reader() { return m_reader; }

    // Refuses a stream without the signature.
    void ReadSignature();
    // True (and the zero byte consumed) at the end of a property list, a list or the children.
    bool AtListEnd();
    void ReadComponentHeader(QString* className, QString* name);
    // The next property's name; false at the end of the property list.
    bool NextProperty(QString* name);

    int32_t ReadInteger();
    bool ReadBoolean();
    QString ReadString();
    QString ReadIdent();
    // Binary data of at most maxBytes.
    QByteArray ReadBinary(qint64 maxBytes);
    void ReadListBegin();
    // Passes over any one value.
    void SkipValue();
    // Passes over a whole component with its children.
    void SkipComponent();

    QString ReadShortName() { return ReadShortName(m_reader); }
    // A name written by TWLXComponentWriter::WriteShortName.
    static QString ReadShortName(TReader& reader);

private:
    TReader& m_reader;
    int m_depth = 0;
};
