#pragma once
// The property sheet: the rows of nearly every settings dialog. A caller adds rows through
// the adders of TPropScrollbox, each bound to one of its variables by address; the hosting
// dialog shows the sheet modally, lets every row write its value back on OK (WriteBack) and
// frees the rows when it closes (Clear). Rows of the format, sync, dialog and frame kinds
// write at once from their "..." action.

#include "ui/ScrollBoxEx.h"
#include "widgets/BrowseEdit.h"
#include "widgets/BitmapList.h"
#include "widgets/FontCombo.h"
#include "widgets/ImageComboBox.h"

#include <QFrame>
#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialog;
class QFont;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class TFormat;
class THotkey;
class TOrvinButton;
class TPropScrollbox;

// --- Building blocks -------------------------------------------------------------------------

// A panel with a background colour of its own, an optional centred caption, a click handler,
// and at most one child kept at its right edge over the full height.
class TSheetPanel : public QFrame {
public:
    explicit TSheetPanel(QWidget* parent);

    void SetColor(int32_t color);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    // The child kept at the right edge (nullptr: none).
    void SetRightChild(QWidget* child);
    void PlaceRightChild();

    std::function<void()> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_caption;
    QWidget* m_rightChild = nullptr;
};

// A label that reports clicks.
class TClickLabel : public QLabel {
public:
    explicit TClickLabel(QWidget* parent);
    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A one-line text wider than the label ends in an ellipsis instead of being cut.
    void paintEvent(QPaintEvent* event) override;
};

// Limits what the user types into the edit to maxLength characters (0: no limit). A longer
// text that the program sets is shown and kept whole; the user can only shorten it.
void SetEditLimit(QLineEdit* edit, int maxLength);

// The file rows' edit: the library's file-open or file-save edit, whose button opens the dialog
// that fills it.
class TFileEdit : public QWidget {
public:
    TFileEdit(QWidget* parent, bool saveDialog);

    QString Text() const;
    // Stores the text, cut to the maximum length when one is set.
    void SetText(const QString& text);
    void SetMaxLength(int length); // 0: no limit
    // Filter in the "Description|*.ext;*.ext2|..." form.
    void SetFilter(const QString& filter, const QString& defaultExt);
    // Shows the file dialog; on OK the chosen file becomes the text.
    void Browse();

    TWLXCustomFileEdit* Edit = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// The font sizes a font-name row offers and accepts.
constexpr int kDefaultFontSize = 8;

// --- Rows ------------------------------------------------------------------------------------

// One row: the caption column on the left (NamePanel with NameLabel) and the value area
// (PropPanel) holding the value controls and the "..." button.
class TPropEditor : public QFrame {
public:
    static constexpr int kRowHeight = 25;
    static constexpr int kMinWidth = 180;
    static constexpr int kNameWidth = 150;

    explicit TPropEditor(QWidget* parent);

    QLabel* NameLabel = nullptr;
    TSheetPanel* NamePanel = nullptr;
    TSheetPanel* PropPanel = nullptr;
    QPushButton* ChangeBtn = nullptr;

    int NameWidth() const { return m_nameWidth; }
    void SetNameWidth(int width);
    // Geometry in the sheet; the panels follow at once, shown or not.
    void SetBounds(int left, int top, int width, int height);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    // Places NamePanel and PropPanel in the row.
    void LayoutPanels();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Sizes the value controls to the value panel (called after the panels are placed).
    virtual void LayoutValue() {}

private:
    int m_nameWidth = kNameWidth;
};

class TColorPropEditor : public TPropEditor {
public:
    explicit TColorPropEditor(QWidget* parent);
    TOrvinButton* ColorBtn = nullptr;
};

// Font-name list with a linked size box.
class TFontNamePropEditor : public TPropEditor {
public:
    explicit TFontNamePropEditor(QWidget* parent);
    TWLXFontComboBox* FontCombo = nullptr;
    TWLXFontSizeComboBox* SizeCombo = nullptr;
    QFont* EditedFont = nullptr;

    // Fills both lists and shows the edited font (when the hosting dialog is shown).
    void FillLists();
    // The font list, with the shown name reselected.
    void RefreshFonts();
    // Sizes of the font in FontCombo.
    void RefreshSizes();
    // Selects the item equal to `name` ignoring case; none when absent.
    void SetFontName(const QString& name);
    QString FontName() const;
    // Outside 1..999 the default size.
    void SetFontSize(int size);
    // The size box's text as a number; -1 when empty or not a number.
    int FontSize() const;
    // The font's size in points (pixel sizes converted at 96 dpi).
    static int PointSizeOf(const QFont& font);
};

class TFontStylePropEditor : public TPropEditor {
public:
    explicit TFontStylePropEditor(QWidget* parent);
    QToolButton* BoldBtn = nullptr;
    QToolButton* ItalicBtn = nullptr;
    QToolButton* StrikeBtn = nullptr;
    QToolButton* UnderBtn = nullptr;
    QFont* EditedFont = nullptr;
};

class THotkeyPropEditor : public TPropEditor {
public:
    explicit THotkeyPropEditor(QWidget* parent);
    QComboBox* KeyCombo = nullptr;
    QToolButton* CtrlBtn = nullptr;
    QToolButton* AltBtn = nullptr;
    QToolButton* ShiftBtn = nullptr;
    QComboBox* ActionCombo = nullptr;
    THotkey* EditedHotkey = nullptr;
    bool HasActionNames = false;
    QStringList ActionNames;

    // Fills both lists from the hotkey (when the hosting dialog is shown).
    void FillLists();
};

class TComboPropEditor : public TPropEditor {
public:
    explicit TComboPropEditor(QWidget* parent);
    QComboBox* Combo = nullptr;
};

// The combo shows a picture beside each entry (item i: picture i).
class TImageComboPropEditor : public TComboPropEditor {
public:
    explicit TImageComboPropEditor(QWidget* parent);
    ~TImageComboPropEditor() override;
    TWLXImageComboBox* ImageCombo = nullptr;
    // The pictures the combo draws from.
    void SetImages(const QList<QPixmap>& images);

private:
    std::unique_ptr<TWLXBitmapList> m_images;
};

// The combo takes free text too.
class TEditComboPropEditor : public TComboPropEditor {
public:
    explicit TEditComboPropEditor(QWidget* parent);
};

// A group band: its click folds or unfolds the rows up to the next band.
class TCaptionPropEditor : public TPropEditor {
public:
    explicit TCaptionPropEditor(QWidget* parent);
    bool Folded = false;
};

// A text row; its "..." button (in the caption column) opens a link, a mail address or a
// file named by the text.
class TEditPropEditor : public TPropEditor {
public:
    explicit TEditPropEditor(QWidget* parent);
    QLineEdit* Edit = nullptr;

    // Shows the link button when the text is a web address, a mail address or an existing
    // file; runs on every change of the text.
    void EditChange();
    void OpenLink();
    // A text with an "@" after its first character and a "." at least two places after it.
    static bool IsMailAddress(const QString& text);
    // What OpenLink opens for this text.
    static QUrl LinkUrl(const QString& text);
};

class TMemoPropEditor : public TPropEditor {
public:
    explicit TMemoPropEditor(QWidget* parent);
    QPlainTextEdit* Memo = nullptr;

    QStringList Lines() const;
    void SetLines(const QStringList& lines);
};

class TCheckPropEditor : public TPropEditor {
public:
    explicit TCheckPropEditor(QWidget* parent);
    QCheckBox* Check = nullptr;
};

class TFilePropEditor : public TPropEditor {
public:
    explicit TFilePropEditor(QWidget* parent, bool saveDialog = false);
    TFileEdit* FileEdit = nullptr;
};

class TSaveFilePropEditor : public TFilePropEditor {
public:
    explicit TSaveFilePropEditor(QWidget* parent);
};

class TSpinPropEditor : public TPropEditor {
public:
    explicit TSpinPropEditor(QWidget* parent);
    QSpinBox* Spin = nullptr;
    // Set once the spin's value changes after the row was filled.
    bool Edited = false;
};

class TRangePropEditor : public TPropEditor {
public:
    explicit TRangePropEditor(QWidget* parent);
    QLineEdit* MinEdit = nullptr;
    QLineEdit* MaxEdit = nullptr;
};

class TDayTimePropEditor : public TPropEditor {
public:
    explicit TDayTimePropEditor(QWidget* parent);
    QSpinBox* HourSpin = nullptr;
    QSpinBox* MinuteSpin = nullptr;
    QSpinBox* SecondSpin = nullptr;
};

// Rows whose value is a label and whose "..." button edits it in a dialog of its own.
class TValueLabelPropEditor : public TPropEditor {
public:
    TValueLabelPropEditor(QWidget* parent, const QString& initialText);
    TClickLabel* ValueLabel = nullptr;
    // Shows text; the label is as wide as the text needs (the value column fits it).
    void SetValueText(const QString& text);

protected:
    void LayoutValue() override;
};

class TFormatPropEditor : public TValueLabelPropEditor {
public:
    explicit TFormatPropEditor(QWidget* parent);
};

// Also the row of frame binders.
class TSyncPropEditor : public TValueLabelPropEditor {
public:
    explicit TSyncPropEditor(QWidget* parent);
};

class TDialogPropEditor : public TValueLabelPropEditor {
public:
    explicit TDialogPropEditor(QWidget* parent);
};

// --- Binders ---------------------------------------------------------------------------------

// Remembers a row's caption, the row and the caller's variable; WriteBack is the row's part
// of the hosting dialog's OK, ChangeBtnClick the action of its "..." button.
class TProp {
public:
    virtual ~TProp() = default;
    QString Caption;
    TPropEditor* Editor = nullptr;

    virtual void ChangeBtnClick() {}
    virtual void WriteBack() {}
};

// A binder of one row kind and one variable kind.
template <class TRow, class TValue>
class TPropFor : public TProp {
public:
    TValue* Target = nullptr;
    TRow* Row() const { return static_cast<TRow*>(Editor); }
};

class TColorProp : public TPropFor<TColorPropEditor, int32_t> {
public:
    void ChangeBtnClick() override;
    void WriteBack() override;
};

class TFontNameProp : public TPropFor<TFontNamePropEditor, QFont> {
public:
    void WriteBack() override;
};

class TFontStyleProp : public TPropFor<TFontStylePropEditor, QFont> {
public:
    void WriteBack() override;
};

class THotkeyProp : public TPropFor<THotkeyPropEditor, THotkey> {
public:
    void WriteBack() override;
};

class TComboProp : public TPropFor<TComboPropEditor, int32_t> {
public:
    void WriteBack() override;
};

class TImageComboProp : public TPropFor<TImageComboPropEditor, int32_t> {
public:
    void WriteBack() override;
};

class TEditComboProp : public TPropFor<TEditComboPropEditor, QString> {
public:
    void WriteBack() override;
};

class TCaptionProp : public TProp {
public:
    TCaptionPropEditor* Row() const { return static_cast<TCaptionPropEditor*>(Editor); }
};

class TEditProp : public TPropFor<TEditPropEditor, QString> {
public:
    void WriteBack() override;
};

class TMemoProp : public TPropFor<TMemoPropEditor, QStringList> {
public:
    void WriteBack() override;
};

class TCheckProp : public TPropFor<TCheckPropEditor, bool> {
public:
    void WriteBack() override;
};

class TFileProp : public TPropFor<TFilePropEditor, QString> {
public:
    void WriteBack() override;
};

class TSaveFileProp : public TFileProp {};

class TSpinProp : public TPropFor<TSpinPropEditor, int32_t> {
public:
    void WriteBack() override;
};

// Target: the minimum text.
class TRangeProp : public TPropFor<TRangePropEditor, QString> {
public:
    QString* Target2 = nullptr; // maximum text
    void WriteBack() override;
};

// Target: days since 1899-12-30, time as the fraction.
class TDayTimeProp : public TPropFor<TDayTimePropEditor, double> {
public:
    void WriteBack() override;
};

class TFormatProp : public TPropFor<TFormatPropEditor, TFormat> {
public:
    void ChangeBtnClick() override;
};

class TSyncProp : public TPropFor<TSyncPropEditor, QString> {
public:
    void ChangeBtnClick() override;
};

class TDialogProp : public TPropFor<TDialogPropEditor, int32_t> {
public:
    QDialog* Dialog = nullptr; // the caller's form; not owned
    void ChangeBtnClick() override;
};

// Target: the prefix.
class TFrameProp : public TPropFor<TSyncPropEditor, QString> {
public:
    QString* Target2 = nullptr; // suffix
    void ChangeBtnClick() override;
};

// --- The sheet -------------------------------------------------------------------------------

class TPropScrollbox : public TScrollBoxEx {
public:
    using TNotifyEvent = std::function<void(QObject* Sender)>;

    explicit TPropScrollbox(QWidget* parent = nullptr);
    ~TPropScrollbox() override;

    // Top of the next row; after restacking, the height of the visible rows.
    int32_t TotalHeight = 0;
    // Fired after a band folded or unfolded its group.
    TNotifyEvent OnRowsChanged;

    // The binders in the order the rows were added.
    const std::vector<std::unique_ptr<TProp>>& Rows() const { return m_rows; }
    // The widget that holds the rows.
    QWidget* Content() const { return m_content; }

    // Adders, in display order. Every bound variable must outlive the hosting dialog's use.
    void AddColorProp(const QString& caption, int32_t& Color);
    TFontNamePropEditor* AddFontNameProp(const QString& caption, QFont& Font);
    TFontStylePropEditor* AddFontStyleProp(const QString& caption, QFont& Font);
    // Without action names (nullptr) the action list stays hidden and empty.
    void AddHotkeyProp(const QString& caption, THotkey& Hotkey,
                       const QStringList* ActionNames = nullptr);
    void AddComboProp(const QString& caption, int32_t& ItemIndex, const QStringList& Items,
                      int Width);
    void AddImageComboProp(const QString& caption, int32_t& ItemIndex, const QStringList& Items,
                           int Width, const QList<QPixmap>& Images);
    void AddEditComboProp(const QString& caption, QString& Text, const QStringList& Items,
                          int Width);
    void AddCaptionProp(const QString& caption);
    // MaxLength 0: no limit.
    void AddEditProp(const QString& caption, QString& Text, int MaxLength, int Width);
    void AddMemoProp(const QString& caption, QStringList& Lines, int Width, int Height);
    void AddCheckProp(const QString& caption, bool& Checked);
    void AddFileProp(const QString& caption, QString& FileName, int MaxLength, int Width,
                     const QString& Filter, const QString& DefaultExt);
    void AddSaveFileProp(const QString& caption, QString& FileName, int MaxLength, int Width,
                         const QString& Filter, const QString& DefaultExt);
    void AddSpinProp(const QString& caption, int32_t& Value, int Min, int Max, int Width);
    // The last integer is not used.
    void AddRangeProp(const QString& caption, QString& MinText, QString& MaxText, int Unused = 0);
    void AddDayTimeProp(const QString& caption, double& Time);
    void AddFormatProp(const QString& caption, TFormat& Format);
    void AddSyncProp(const QString& caption, QString& SyncText);
    void AddDialogProp(const QString& caption, int32_t& Value, QDialog& Dialog);
    void AddFrameProp(const QString& caption, QString& Prefix, QString& Suffix);

    // Restacks the rows: hidden rows take no room.
    void ArrangeRows();
    // The caption column: widest caption + 10, at least 100.
    void FitNameColumn();
    // The value column: rightmost visible value control + 4, at least 100; rows at least 180.
    void FitValueColumn();
    // Click of a band: folds or unfolds the rows up to the next band.
    void ToggleGroup(QWidget* clicked);

    // Fills the font-name and hotkey rows' lists (when the hosting dialog is shown).
    void FillRows();
    // OK: every row writes its value into its variable, in row order.
    void WriteBack();
    // Frees every row and binder; TotalHeight 0.
    void Clear();

private:
    // The common start of an adder: binder, caption, place and hidden "..." button.
    template <class TBinder>
    TBinder* NewRow(const QString& caption, TPropEditor* row);
    // The common end: the next row goes below this one.
    void EndRow(TPropEditor* row);
    // Wires the "..." button, the value area and `extra` to the binder's action.
    void WireChange(TProp* binder, QWidget* extra);
    void UpdateContentSize();

    QWidget* m_content;
    std::vector<std::unique_ptr<TProp>> m_rows;
};
