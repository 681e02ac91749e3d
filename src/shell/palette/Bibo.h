#pragma once
// The component palette beside the board: the entries of one library (a category or the
// macro palette), each drawn with its own symbol and its type name, with a "?" box for help and,
// for hardware components, an "i" box for the maker's information. A left press on an entry
// hands its one-component circuit stream to the main window, which pastes it for placing.
//
// Palette units: the board mapping at the fixed zoom 5.0 (254 units = 80 pixels), origin at the
// control's top-left corner.

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class TIOBauteil;
class TMakro;
class TReader;

class TBibo : public QWidget {
public:
    static constexpr double kZoom = 5.0;
    static constexpr qint64 kMaxLibraryFileSize = 64 * 1024 * 1024;

    explicit TBibo(QWidget* parent = nullptr);
    ~TBibo() override;

    // Per entry the y (palette units) of the bottom of its slot.
    std::vector<int32_t> Rows;
    std::vector<std::unique_ptr<TIOBauteil>> Entries;
    // A left press on an entry: the stream holds that one entry and lives only during the call.
    std::function<void(QIODevice& stream)> OnComponentDrag;
    std::function<void(QIODevice& stream)> OnMacroDrag;
    // Reads the library's file header and gives its format version.
    std::function<uint8_t(TReader& reader)> OnReadHeader;
    // The "i" box of a hardware entry.
    std::function<void(TIOBauteil& entry)> OnShowInfo;
    bool NoPaint = false;        // set while the main window changes categories
    uint8_t Version = 0;         // format version of the loaded library
    bool TextOnly = false;       // names only
    QString FileName;            // library loaded last
    TMakro* DraggedMacro = nullptr;  // macro entry pressed last

    // Loads a library file; a file that cannot be read (missing, not a regular file, larger than
    // kMaxLibraryFileSize) gives an empty palette.
    void LoadBiboFile(const QString& fileName);
    // Loads a library from its bytes (name kept for the record).
    void LoadLibrary(const QByteArray& bytes, const QString& name);
    void ReadLibrary(QIODevice& stream);
    void Relayout();

    // Hit tests at a point of the control (pixels).
    TIOBauteil* EntryAt(QPoint point) const;
    bool HelpBoxAt(QPoint point) const;
    bool InfoBoxAt(QPoint point) const;
    // Height the entries take, in pixels.
    int ContentHeight() const;

    // The type name with its first line break replaced by a blank.
    static QString OneLineCaption(const TIOBauteil& entry);
    // The one-component stream of an entry: count 1, class name, the entry's data written at
    // position (0, 0), no front-panel element.
    static QByteArray DragStream(TIOBauteil& entry);

    QPoint PaletteToDevice(QPoint p) const;
    QPoint DeviceToPalette(QPoint p) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ClearEntries();
    void LayoutEntry(TIOBauteil& entry);
    int32_t WidthUnits() const;
    void UpdateHeight();
    int32_t m_cursor = 0;  // layout cursor, palette units
};
