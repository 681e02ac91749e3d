#pragma once
// The multi-line edit. Its content is one text with CR LF between lines; Lines gives line-wise
// access (Get, Put, Insert, Add, Delete, Clear). Qt's plain-text editor lays the rows out (word
// wrap at blanks, a long word broken inside), scrolls and moves the caret between rows; the
// library's own scroll bars, the process-wide overwrite mode, Enter and Tab handling and the
// three-language context menu are added here.

#include "widgets/BaseEdit.h"
#include "widgets/ScrollBar.h"

#include <QPlainTextEdit>

class TWLXCustomMemo;

// Stored in form data: keep the order.
enum class TWLXMemoScrollBarKind : uint8_t { skHorizontal, skVertical, skBoth, skAuto, skNone };

// Line access to a memo's text; lines are counted from 0 by their line breaks.
class TWLXMemoStrings : public TWLXObject {
public:
    explicit TWLXMemoStrings(TWLXCustomMemo* memo) : m_memo(memo) {}
    QString Get(int index) const;
    void Put(int index, const QString& s);
    // The number of lines (also with word wrap; the memo's RowCount counts display rows).
    int GetCount() const;
    void Insert(int index, const QString& s);
    int Add(const QString& s);
    void Delete(int index);
    void Clear();
    QString Text() const;
    void SetText(const QString& text);
    void Assign(const QStringList& list);

private:
    TWLXCustomMemo* m_memo;
};

class TWLXCustomMemo : public QPlainTextEdit {
public:
    explicit TWLXCustomMemo(QWidget* parent = nullptr);
    ~TWLXCustomMemo() override;

    // The text with CR LF line breaks; bare LF breaks are made CR LF when the text is set.
    QString Text() const;
    void SetText(const QString& value);
    TWLXMemoStrings& Lines() { return m_lines; }
    void SetLines(const QStringList& lines);

    // Display rows less one: the line breaks plus the wrapped row breaks.
    int RowCount() const;
    // The first visible row (from 1) and the caret's row (from 1).
    int TopRow() const;
    int CurrentRow() const;

    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);
    bool WantTabs() const { return m_wantTabs; }
    void SetWantTabs(bool value);
    bool WantReturns = true;   // stored; Enter always breaks the line
    bool TabOnEnter = false;
    bool AskForLoop = true;
    int TabChars() const { return m_tabChars; }
    void SetTabChars(int value);   // 1 .. 128; others are ignored
    TWLXTextAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TWLXTextAlignment value);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }
    int MaxLength = 0;   // stored

    TWLXMemoScrollBarKind ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TWLXMemoScrollBarKind value);
    TWLXScrollBarObject& HorizScrollBar() { return m_horizSettings; }
    TWLXScrollBarObject& VertScrollBar() { return m_vertSettings; }
    void SetHorizScrollBar(const TWLXScrollBarObject& value) { m_horizSettings.Assign(value); }
    void SetVertScrollBar(const TWLXScrollBarObject& value) { m_vertSettings.Assign(value); }
    TWLXScrollBar* HorizBar() const { return m_horizBar; }
    TWLXScrollBar* VertBar() const { return m_vertBar; }

    TNotifyEvent OnChange, OnModified, OnCursorPosChanged, OnRowCountChanged, OnCurrentRowChanged;
    TWLXContextPopupEvent OnContextPopup;
    uint8_t Options = 0;

    // Positions of the line starts (0-based, in the CR LF text) for the line operations.
    int LineStart(int index) const;
    // Replaces count characters at the 0-based position of the CR LF text.
    void ReplaceAt(int position, int count, const QString& text);
    QMenu* CreateContextMenu();
    // Applies the bar settings and the bars' visibility and range.
    void UpdateBars();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyWrap();
    void CountRowsChanged();
    void LayoutBars();
    TWLXScrollBar* MakeBar(TWLXScrollBarKind kind);

    TWLXMemoStrings m_lines;
    bool m_wordWrap = true;
    bool m_wantTabs = false;
    int m_tabChars = 8;
    TWLXTextAlignment m_alignment = TWLXTextAlignment::taLeftJustify;
    TWLXMemoScrollBarKind m_scrollBars = TWLXMemoScrollBarKind::skNone;
    TWLXScrollBarObject m_horizSettings, m_vertSettings;
    TWLXScrollBar* m_horizBar = nullptr;
    TWLXScrollBar* m_vertBar = nullptr;
    int m_lastRowCount = 0;
    int m_lastRow = 1;
    bool m_syncing = false;
};

class TWLXMemo : public TWLXCustomMemo {
public:
    using TWLXCustomMemo::TWLXCustomMemo;
};
