#pragma once
// The value table element: one column per channel of its component, then a time and a date
// column, one row per recorded line below the heading. The component adds and clears rows;
// the element lets the user name, size and format the columns and exports the rows as a
// ";"-separated text file or to the clipboard (tab-separated).

#include "frontpanel/FP_Element.h"
#include "ui/Formats.h"

#include <array>
#include <functional>

class QMenu;
class QTableView;
class TTableModel;

class TTabelle : public TFP_Element {
public:
    FP_CLASS_NAME(TTabelle)

    explicit TTabelle(QWidget* owner = nullptr);
    ~TTabelle() override;

    int16_t Kanal = 1;  // channel columns
    QTableView* Grid = nullptr;
    std::array<TFormat, 65> Formats;  // format of channel column i
    QString WordTemplate, ExcelTemplate;
    int32_t HeadingColor = 0xC0C0C0;
    QMenu* Popup = nullptr;
    std::function<void()> OnAdd;

    // Rows as the grid counts them: the heading row is row 0, data rows follow.
    int RowCount() const;
    QString Cell(int column, int row) const;  // row 0: the heading
    void SetCell(int column, int row, const QString& text);
    void AppendRow();
    void DeleteRow(int row);
    // Scrolls so that the last row is visible.
    void ShowLastRow();

    void SetKanal(int16_t channels);
    // Back to the heading row and one empty row.
    void ClearRows();
    // The heading line and every row, cells joined by separator; decimal points of channel and
    // time cells become the system's separator.
    QStringList BuildLines(QChar separator) const;
    // The ";"-separated text file (CR LF, the 8-bit code page); false with *error.
    bool ExportText(const QString& fileName, QString* error = nullptr);
    void CopyToClipboard();
    void Command(int tag);
    void HotkeyPressed(int32_t action);
    void HotkeyReleased(int32_t action);

    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SetHintergrundFarbe(int32_t color) override;
    void WriteWebElement(QStringList& lines) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TTableModel* m_model = nullptr;
    void ApplyGridFont(const QFont& font);
    void ApplyHeadingColor();
};
