#pragma once
// Containers: non-visual components that own a list of items (image strips, bitmaps, sounds,
// texts) and tell their clients when they change. What all of them share: item ownership, the
// item header (compressed flag, description, identifier), saving every item into one stream
// with an optional table of item offsets, the container file (that save behind a signature
// naming the container type) and the component stream in which a form keeps them.
//
// Item header: a flag byte (bit 0 compressed, bit 1 a description follows, bit 2 an identifier
// follows, bit 3 and bits 4..7 for the concrete items), the description as a length byte and at
// most 255 characters, the identifier as Int32.
//
// Container file: the signature as a length byte 8 and eight characters, Int32 count, count x
// Int32 absolute offsets of the items, the items' data.

#include "widgets/WLXObject.h"
#include "widgets/WLXTypes.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TReader;
class TWriter;
class TWLXComponentReader;
class TWLXComponentWriter;
class TWLXCustomContainer;

// Header flags.
constexpr uint8_t kItemCompressed = 0x01;
constexpr uint8_t kItemHasDescription = 0x02;
constexpr uint8_t kItemHasIdent = 0x04;
constexpr uint8_t kItemHasData = 0x08;

// Container types: the index of their file signature and extension.
enum TWLXContainerType : uint8_t {
    ctImageList, ctBitmapList, ctWaveList, ctStringList, ctGlyphList, ctRichTextList,
    ctUnknown
};

class TWLXListItem : public TWLXCustomComponent {
public:
    TWLXListItem() = default;

    QString Description;
    uint16_t Ident = 0;
    bool Compressed = false;

    // The container that owns the item (set when it is added).
    TWLXCustomContainer* Owner() const { return m_owner; }

    virtual QString ClassName() const = 0;
    virtual void ClearData() {}
    virtual bool IsEmpty() const { return false; }
    virtual void LoadData(TReader& reader) { Q_UNUSED(reader); }
    virtual void SaveData(TWriter& writer) const { Q_UNUSED(writer); }
    virtual uint8_t GetHeaderFlags() const;
    // Copies the header fields; the concrete items add their data.
    virtual void Assign(const TWLXListItem& source);

    void WriteHeader(TWriter& writer) const;
    // Reads a header into the item and gives its flag byte.
    uint8_t ReadHeader(TReader& reader);

    // The item's own change, then the container's event with the item as sender and its
    // links, so that controls showing the item's pictures repaint.
    void Change() override;

    // The item as a child component of its container: the published properties and the
    // binary property "Internal" with the item's data.
    void WriteComponent(TWLXComponentWriter& writer) const;
    virtual void WriteProperties(TWLXComponentWriter& writer) const;
    // Takes one property; false for a property the item does not know.
    virtual bool ReadProperty(const QString& name, TWLXComponentReader& reader);

private:
    friend class TWLXCustomContainer;
    TWLXCustomContainer* m_owner = nullptr;
};

class TWLXCustomContainer : public TWLXBaseController {
public:
    explicit TWLXCustomContainer(TWLXContainerType type) : m_type(type) {}
    ~TWLXCustomContainer() override;

    QString Name;
    bool DefaultCompressed = false;
    TWLXPathPrefix FilePrefix = TWLXPathPrefix::ppProgram;
    // Where the items come from: 0 the form stream; the bitmap list knows more.
    uint8_t Source = 0;
    QString FileName;

    TWLXContainerType ContainerType() const { return m_type; }
    virtual QString ClassName() const = 0;
    // A new item of the container's item class.
    virtual std::unique_ptr<TWLXListItem> NewItem() const = 0;

    int Count() const { return int(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    TWLXListItem* Items(int index) const { return m_items.at(size_t(index)).get(); }

    // Appends the item (a new one of the item class without one); gives its index.
    int AddItem(std::unique_ptr<TWLXListItem> item = nullptr);
    void Clear();
    // A copy of every item of the other container, one change at the end.
    void AddItemsFrom(const TWLXCustomContainer& other);
    // From a container of the same class: its items and DefaultCompressed. Another class
    // raises EInvalidOperation.
    virtual void Assign(const TWLXCustomContainer& source);

    // Int32 count, with index a table of the items' absolute offsets, the items' data. The
    // device must be able to seek when indexed.
    void SaveToStream(TWriter& writer, bool indexed) const;
    void LoadFromStream(TReader& reader, bool indexed);

    // The container file: the type's signature and an indexed save. False with *error when
    // it cannot be written.
    bool SaveToFile(const QString& fileName, QString* error = nullptr) const;

    // The container with its items as child components.
    void WriteComponent(TWLXComponentWriter& writer) const;
    // Reads a component written by WriteComponent (its header included); items of another
    // class are passed over.
    void ReadComponent(TWLXComponentReader& reader);
    virtual void WriteProperties(TWLXComponentWriter& writer) const;
    virtual bool ReadProperty(const QString& name, TWLXComponentReader& reader);

private:
    friend class TWLXListItem;
    void ItemChanged(TWLXListItem* item);
    TWLXContainerType m_type;
    std::vector<std::unique_ptr<TWLXListItem>> m_items;
};

// "iml", "bmp", "wav", "txt", "*", "rtf" by type, with a dot in front when asked; empty for
// other types.
QString ContainerFileExtension(int type, bool withDot);
// The signature of a type as stored: length byte 8 and "WLXIML30" ...
QByteArray ContainerSignature(int type);

// The type of a container file (ctUnknown when its signature is none of the six), its count
// (-1 when the type is unknown) and, for a known type, its item offsets. A file that cannot be
// read raises EWLXError; an index that does not fit the file raises EDamagedData.
TWLXContainerType ReadContainerIndex(const QString& fileName, int* count,
                                     std::vector<int32_t>* offsets);
// Reads item number index of a container file into item. Without offsets the file's index is
// read and its type must be expectedType (else EWLXError "Datei ... kann nicht geöffnet
// werden"); given offsets are used as they are.
bool LoadItemFromFile(const QString& fileName, TWLXContainerType expectedType,
                      const std::vector<int32_t>* offsets, TWLXListItem& item, int index);
// True when the named shared library can be loaded (it is released at once).
bool ProbeLibrary(const QString& fileName);

// The largest container file read.
constexpr qint64 kMaxContainerFile = 256 * 1024 * 1024;
