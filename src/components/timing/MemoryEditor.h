#pragma once
// The memory editor of the RAM and the ROM: shows and edits a copy of the memory in
// hexadecimal, binary or decimal, sets the size, fills, loads and saves the contents as a
// hexadecimal text file, and holds the option to read that file at every run start. The
// component takes the copy back only on OK.

#include <QAbstractTableModel>
#include <QDialog>
#include <QTableView>

#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class THexEditor;
class TWLXFileOpenEdit;

// The grid's cells: 8 columns; a row per 8 bytes (hexadecimal, decimal) or per byte (binary,
// one bit per column, column 0 is bit 0).
class THexGridModel : public QAbstractTableModel {
public:
    explicit THexGridModel(THexEditor& editor);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Stores a typed text through the editor; false (after the warning) when it is invalid.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    void Rebuild();
    void CellsChanged();

private:
    THexEditor& m_editor;
};

// The grid refuses to leave a cell whose typed text is invalid; in binary view a double click
// inverts the bit.
class THexGrid : public QTableView {
public:
    explicit THexGrid(THexEditor& editor);
    using QTableView::edit;
    // Stores the text of an open cell editor (the warning when it is invalid); true when there
    // was none or it was stored.
    bool StoreOpenEditor();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    THexEditor& m_editor;
    QPersistentModelIndex m_editing;  // cell of the open cell editor
    QPersistentModelIndex m_refused;  // cell whose text was just refused
};

class THexEditor : public QDialog {
public:
    enum TMode : uint8_t { Hex = 0, Binary = 1, Decimal = 2 };

    explicit THexEditor(QWidget* parent = nullptr);
    ~THexEditor() override;

    THexGrid* HexGrid;
    QGroupBox* GroupBox1;
    QRadioButton* RB_Hex;
    QRadioButton* RB_Bin;
    QRadioButton* RB_Dez;
    QPushButton* Button1;  // OK
    QPushButton* Button2;  // Cancel
    QPushButton* Button3;  // load
    QPushButton* Button4;  // save
    QPushButton* Button5;  // fill
    QSpinBox* SE_Fill;
    QLabel* Label2;
    QGroupBox* GroupBox2;
    QCheckBox* CB_AutoLoad;
    TWLXFileOpenEdit* E_Datei;   // the file loaded at the start of a run
    QLabel* Label1;
    QComboBox* cb_Groesse;
    QLabel* L_Bin;
    QCheckBox* cb_RuntimeEdit;

    bool Busy = false;
    int32_t TopAddress = 0;  // first address shown when the grid is rebuilt
    int32_t Size = 1024;     // bytes shown and edited
    uint8_t Mode = Hex;
    std::vector<uint8_t> Memory;  // 65536 bytes, the copy being edited
    int32_t HelpContext = 0;

    // Checks the radio button of a mode, which rebuilds the grid at the same place.
    void SetMode(uint8_t mode);
    void SetSize(int32_t size);
    void FillGrid();
    // Checks and normalises a cell text of the mode ("7" becomes "07" in hexadecimal).
    static bool ValidateCell(uint8_t mode, QString& text);
    // The text of the cell (column 0 .. 7, grid row 0 ..) in the current mode.
    QString CellText(int column, int row) const;
    // Validates and stores a cell's text; on an invalid text shows the warning and keeps the
    // memory as it was.
    bool StoreCell(int column, int row, QString text);
    // Binary view: inverts the bit of the cell.
    void ToggleBit(int column, int row);
    // Reads a memory file into the copy; the count read, or -1 after a message when the file
    // cannot be read (the copy then stays).
    int LoadFile(const QString& name);
    // Writes the bytes in use; false after a message when the file cannot be written (an old
    // file then stays).
    bool SaveFile(const QString& name);
    // Fills the bytes in use with the fill byte after asking.
    void FillClick();
    void LoadClick();
    void SaveClick();
    // Stores the cell being typed in before the component takes the copy.
    void FormClose();
    void TranslateCaptions();
    // The address of the first visible row.
    int32_t TopVisibleAddress() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ModeClicked();
    THexGridModel* m_model;
};
