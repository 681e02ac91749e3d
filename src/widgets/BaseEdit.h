#pragma once
// The root of the library's own-drawn text editors. It keeps the text itself (positions are
// 1-based: position p lies before character p, the caret runs from 1 to length + 1), and every
// change goes through InsertText, which keeps CR LF pairs whole, honours MaxLength and the
// process-wide overwrite mode and records an undo step. Carets move through SetCaretPos, which
// extends the selection while Shift is held. The key table, typing, mouse selection with
// drag-and-drop of the selected text, the clipboard and the three-language context menu are here;
// the single-line edit supplies the drawing, caret placement and hit testing.

#include "widgets/Buffer.h"
#include "widgets/Caption3D.h"
#include "widgets/Caret.h"
#include "widgets/Panels.h"
#include "widgets/TimerPool.h"

#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

class QMenu;

// The application object's edit-mode flags, shared by every edit of the process: insert mode
// (cleared: overwrite mode) belongs to the user and survives focus changes; the modifier flags
// are refreshed at every key.
enum TWLXEditModeFlag : uint8_t { emInsert = 1, emShift = 2, emCtrl = 4, emAlt = 8 };

// Stored in form data: keep the order.
enum class TWLXTextAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
enum TWLXEditOption : uint8_t { eoNarrowHeight = 1, eoSuppressDefaultMenu = 2 };

// The edits' built-in context menu (Undo, Cut, Copy, Paste, Delete, Select all) in the current
// language; each entry enabled by the state given and running its action.
struct TWLXEditMenuActions {
    bool canUndo = false, selected = false, readOnly = false, hasText = false;
    std::function<void()> undo, cut, copy, paste, clear, selectAll;
};
QMenu* CreateEditContextMenu(QWidget* parent, const TWLXEditMenuActions& actions);

using TWLXTextChangeEvent = std::function<void(void* sender, int at)>;
using TWLXContextPopupEvent = std::function<void(void* sender, QPoint screenPos, bool& handled)>;
using TWLXKeyPressEvent = std::function<void(void* sender, QChar& key)>;

class TWLXBaseEdit : public TWLXCustomBevelPanel {
public:
    explicit TWLXBaseEdit(QWidget* parent = nullptr);
    ~TWLXBaseEdit() override;

    // Assigning the same text does nothing; a longer text than MaxLength is cut. No undo step,
    // Modified stays.
    QString Text() const;
    void SetText(const QString& value);

    int CaretPos() const { return m_caret; }
    void SetCaretPos(int value);
    int SelStart() const { return m_selStart; }
    void SetSelStart(int value) { m_selStart = value; }
    int SelLength() const { return m_selLength; }
    void SetSelLength(int value);
    int ScrollOffset() const { return m_offset; }

    int MaxLength = 0;   // 0: unlimited; the text is not shortened when it is set
    // The auto-scroll timer comes from the application's timer pool.
    bool UseGlobalTimer = false;
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value);
    bool Modified() const { return m_modified; }
    void SetModified(bool value);
    bool CanUndo() const { return m_canUndo; }
    bool HideSelection = true;
    bool AutoSelect = false;
    bool OEMConvert = false;   // stored; there is no OEM code page to round-trip through
    bool FocusOnMouseAbove = false;
    bool TabOnEnter = false;
    bool AskForLoop = true;
    uint8_t Options = 0;
    TEditCharCase CharCase = TEditCharCase::ecNormal;
    int32_t HighlightBack = clHighlight;
    int32_t HighlightText = clHighlightText;
    TWLXTextAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TWLXTextAlignment value);
    TWLX3DCaption& Font3D() { return m_font3D; }
    TWLXCaret& Caret() { return m_caret3; }
    QString WordDelimiters = QStringLiteral(" ");
    // Cleared by edits that must not select (Shift, mouse extension and double click do nothing).
    bool SelectionAllowed = true;

    TNotifyEvent OnChange, OnModified, OnCursorPosChanged;
    TWLXTextChangeEvent OnTextChangedAt;
    TWLXContextPopupEvent OnContextPopup;
    // May change or cancel (set to a null character) a typed character.
    TWLXKeyPressEvent OnKeyPress;

    // Replaces the selection; an empty text deletes it.
    void InsertText(QString s);
    QString GetSelText() const;
    void SelectAll();
    void ClearSelection() { InsertText(QString()); }
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    void ClearUndo() { m_undo.Clear(); }
    void ReplaceRange(int start, int length, const QString& text);
    QString GetTextRange(int start, int count) const { return m_text.mid(start - 1, count); }
    virtual void Clear();
    void SelectWordAtCaret();
    void WordLeft();
    void WordRight();
    void CaretToLineStart();
    void CaretToLineEnd();

    // The key table (Qt key codes); a handled shortcut sets key to 0.
    virtual void ProcessKey(int& key);
    // A typed character: below 32 nothing, otherwise converted by CharCase and inserted.
    void TypeChar(QChar c);
    // The built-in context menu, for the caller to show (and free).
    QMenu* CreateContextMenu();

    TWLXRect TextAreaRect() const { return m_textArea; }
    TWLXRect TextRect() const { return m_textRect; }
    void UpdateRects();
    // The panel, and the sunken window edge that the window-style bevel leaves to the window.
    void Paint(TCanvas& canvas) override;
    void BeginUpdate() { TWLXCustomBevelPanel::BeginUpdate(); }
    void EndUpdate(bool repaint) override;

protected:
    // Operations the descendants fill in.
    virtual void UpdateCaret() {}
    virtual bool BackspaceExtends() const { return false; }
    virtual void FireChange() { if (OnChange) OnChange(this); }
    virtual void TextAssigned() {}
    virtual void TextRead() const {}
    virtual void PaintText(int from) { Q_UNUSED(from); update(); }
    virtual int CharIndexAt(QPoint p) { Q_UNUSED(p); return m_caret; }
    virtual void CursorMoved();
    virtual void TextChanged(int at);
    virtual void BeforeChange() {}
    virtual void AfterChange() {}
    virtual void BeforeInsert(int position, QString& text) { Q_UNUSED(position); Q_UNUSED(text); }
    virtual void BeforeDelete(int position, const QString& deleted) { Q_UNUSED(position); Q_UNUSED(deleted); }
    virtual bool CanEdit(const QString& text) const { Q_UNUSED(text); return !m_readOnly; }
    // A typed character after OnKeyPress: false keeps it out of the text (the edit may have
    // handled it itself).
    virtual bool AcceptTypedChar(QChar c) { Q_UNUSED(c); return true; }
    virtual bool CanCopy() const { return true; }
    virtual void AlignmentChanged() {}
    virtual void AdjustTextRect(TWLXRect& rect) { Q_UNUSED(rect); }
    virtual void AfterRectsUpdated() {}
    // Text height on the control's font, grown by the shadow of the shadowed 3D styles.
    virtual int GetTextHeight(const QString& text) const;
    // Caret placement for the bar-below styles.
    void PlaceCaret(int x, int y);
    bool HideSelectionNow() const { return m_hideSelectionNow; }
    bool Typing() const { return m_typing; }
    bool SelectAllToLineEnd = false;
    void SetScrollOffset(int value) { m_offset = value; }
    QString& TextRef() { return m_text; }
    // Caret blink phase for painting.
    bool CaretVisiblePhase() const { return m_blinkOn; }

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    bool DrawsWindowEdge() const { return Bevel().Mode() == TWLXBevelMode::bmWindows; }
    struct UndoRecord {
        QString newText, oldText;
        int selStart, selLength, caret;
        int changeStart;
    };
    void UpdateSelection();
    void MouseSelect();
    void StopAutoScroll();
    void RefreshModifierFlags(Qt::KeyboardModifiers modifiers);
    QChar CharAt(int p) const { return p >= 1 && p <= m_text.size() ? m_text.at(p - 1) : QChar(); }
    bool IsDelimiter(int p) const { return WordDelimiters.contains(CharAt(p)); }

    QString m_text;
    int m_caret = 1, m_prevCaret = 1, m_selStart = 1, m_selLength = 0, m_offset = 0;
    bool m_readOnly = false, m_modified = false, m_canUndo = true;
    bool m_undoing = false, m_typing = false, m_hideSelectionNow = true;
    bool m_buttonDown = false, m_draggingSelection = false, m_extending = false;
    bool m_blinkOn = true;
    TWLXTextAlignment m_alignment = TWLXTextAlignment::taLeftJustify;
    TWLX3DCaption m_font3D;
    TWLXCaret m_caret3;
    // The undo steps; the stack owns them.
    TWLXDynLIFOBuffer m_undo;
    TWLXRect m_frameRect, m_textArea{-1, -1, -1, -1}, m_textRect;
    QPoint m_lastMouse;
    std::unique_ptr<TWLXTimer> m_autoScroll;
    QTimer m_blink;
};
