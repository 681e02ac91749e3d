#pragma once
// Single-line edits with a browse button at the right that opens a dialog and puts its result
// into the edit: a file to open, a file to save, or a folder. While the edit has no focus a long
// name may be shown shortened to fit (MinimizeName; directories give way to "..."), and a file
// edit may show only the file name (FilenameOnly); the value (Filename, Path) stays whole.
//
// OnBrowse fires twice per click: inside the browse with the dialog as sender, then with the
// edit as sender. OnBeforeBrowse gets the dialog before it opens; OnDlgChange tells of a value
// the dialog delivered.

#include "widgets/BrowseDlg.h"
#include "widgets/Edit.h"

class QFileDialog;

// "Text files|*.txt;*.log|All|*.*" gives the name filters "Text files (*.txt *.log)", "All (*.*)".
QStringList FileDialogFilters(const QString& filter);
// The path shortened (leading folders first replaced by "...") until it is at most width pixels
// wide in the font; the file name always stays.
QString MinimizePathName(const QString& path, const QFont& font, int width);

class TWLXCustomBrowseEdit : public TWLXCustomEdit {
public:
    explicit TWLXCustomBrowseEdit(QWidget* parent = nullptr);

    TNotifyEvent OnDlgChange, OnBeforeBrowse, OnBrowse;
    bool MinimizeName() const { return m_minimizeName; }
    virtual void SetMinimizeName(bool value);
    // The browse button's click: the dialog, then OnBrowse with the edit as sender.
    void BrowseButtonClick();
    TWLXSpecialButton& BrowseButton() { return CustomButtons().Items(0); }
    // After the properties were set from stored data.
    void Loaded();
    // The full text behind a shortened display.
    QString FullText() const { return m_fullText; }

protected:
    virtual void DoBrowse() {}
    virtual bool FilenameOnlyShown() const { return false; }
    // The value: the text while focused or shown in full, else the full text.
    QString Value() const;
    void SetValue(const QString& value);
    void FormatDisplayText();
    // The browse frame: focus; then the subclass's dialog; then OnBrowse with the dialog.
    void BeginBrowse();
    void EndBrowse(void* dialog);
    void TextAssigned() override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString DisplayForm(const QString& full) const;
    bool m_minimizeName = false;
    QString m_fullText;
};

// The options of the file dialogs that have a counterpart in Qt's.
enum TOpenOption : uint32_t {
    ofReadOnly = 1 << 0,
    ofOverwritePrompt = 1 << 1,
    ofHideReadOnly = 1 << 2,
    ofNoChangeDir = 1 << 3,
    ofAllowMultiSelect = 1 << 9,
    ofPathMustExist = 1 << 11,
    ofFileMustExist = 1 << 12,
};
using TOpenOptions = uint32_t;

class TWLXCustomFileEdit : public TWLXCustomBrowseEdit {
public:
    TWLXCustomFileEdit(QWidget* parent, bool saveDialog);

    QString Filename() const { return Value(); }
    void SetFilename(const QString& value) { SetValue(value); }
    bool FilenameOnly() const { return m_filenameOnly; }
    void SetFilenameOnly(bool value);
    TOpenOptions Options = ofHideReadOnly;
    QString Title, InitialDir, Filter, DefaultExt;

protected:
    void DoBrowse() override;
    bool FilenameOnlyShown() const override { return m_filenameOnly; }
    // A confirmed name of the save dialog: the file-name part first, then the whole name.
    void SetFileFromDialog(const QString& name);
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_save;
    bool m_filenameOnly = false;
};

class TWLXFileOpenEdit : public TWLXCustomFileEdit {
public:
    explicit TWLXFileOpenEdit(QWidget* parent = nullptr) : TWLXCustomFileEdit(parent, false) {}
};

class TWLXFileSaveEdit : public TWLXCustomFileEdit {
public:
    explicit TWLXFileSaveEdit(QWidget* parent = nullptr) : TWLXCustomFileEdit(parent, true) {}
};

using TWLXBrowseExecuteEvent = std::function<void(void* sender, TWLXBrowseDlg& dialog)>;

class TWLXBrowseEdit : public TWLXCustomBrowseEdit {
public:
    explicit TWLXBrowseEdit(QWidget* parent = nullptr);

    QString Path() const { return Value(); }
    void SetPath(const QString& value) { SetValue(value); }
    TWLXBrowseDlgOptions Options = doReturnFileSysDirs | doShowPath;
    TWLXSystemFolders StartFolder = TWLXSystemFolders::bfoDesktopExpanded;
    // Open the dialog at the folder in the edit.
    bool StartWithLast = false;
    TWLXBrowseExecuteEvent OnExecute;
    void SetMinimizeName(bool value) override;

protected:
    void DoBrowse() override;
};
