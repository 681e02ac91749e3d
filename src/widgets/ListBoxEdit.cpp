// The list box's in-place item editor: Delete removes the selected items, F2 edits the current
// item, Insert (Ctrl+Insert: after the current item) edits a new empty one. Enter stores the
// text, Esc abandons it (and removes an inserted item); leaving the editor keeps the list as it
// is.

#include "widgets/ListBox.h"

#include <QKeyEvent>

void TWLXCustomListBoxEdit::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown && OnKeyDown(event)) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TWLXCustomListBoxEdit::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    // A context menu of the editor does not end the editing.
    if (event->reason() != Qt::PopupFocusReason && OnExit)
        OnExit();
}

void TWLXCustomListBox::ShowEditor(bool insert, int index)
{
    HideItemHint();
    if (!CanShowEditor())
        return;
    HideEditor();
    auto* editor = new TWLXCustomListBoxEdit(viewport());
    if (m_editOptions & lboNo3DFrame)
        editor->setFrameStyle(QFrame::NoFrame);
    else
        editor->setFrameStyle(QFrame::Box | QFrame::Plain);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->document()->setDocumentMargin(1);
    editor->setFont(font());
    bool cancel = false;
    if (OnEditShow)
        OnEditShow(this, currentRow(), cancel);
    if (cancel) {
        delete editor;
        return;
    }
    m_editor = editor;
    m_editReturnIndex = currentRow();
    if (!insert) {
        m_editIndex = currentRow();
    } else if (index < 0 || index >= count() || m_sorted) {
        // A sorted list takes the new text in order on Enter.
        InsertItem(count(), QString());
        m_editIndex = count() - 1;
    } else {
        InsertItem(index, QString());
        m_editIndex = index;
    }
    clearSelection();
    setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    editor->OnExit = [this] { EditorExit(); };
    editor->OnKeyDown = [this](QKeyEvent* event) { return EditorKeyDown(event); };
    if (insert)
        editor->Tag = m_editIndex + 255;
    if (m_editIndex >= 0) {
        editor->setPlainText(Item(m_editIndex));
        if (!IsItemVisible(m_editIndex))
            SetTopIndex(m_editIndex);
    }
    if (m_editOptions & lboSelectText)
        editor->selectAll();
    else
        editor->moveCursor(QTextCursor::End);
    const TWLXRect r = GetEditRect(m_editIndex);
    int height = r.Bottom - r.Top + 1;
    if (OnEditMeasure)
        OnEditMeasure(this, m_editIndex, height);
    editor->setGeometry(r.Left, r.Top - 1, r.Right, height);
    editor->show();
    editor->setFocus();
}

void TWLXCustomListBox::HideEditor()
{
    if (!m_editor)
        return;
    TWLXCustomListBoxEdit* editor = m_editor;
    m_editor = nullptr;
    editor->OnExit = nullptr;
    editor->OnKeyDown = nullptr;
    editor->hide();
    // The editor may be inside its own key or focus handler.
    editor->deleteLater();
    if (OnEditHide)
        OnEditHide(this);
    if (m_editIndex >= 0 && m_editIndex < count()) {
        if (m_multiSelect) {
            SetSelected(m_editIndex, true);
            setCurrentRow(m_editIndex, QItemSelectionModel::NoUpdate);
        } else {
            SetItemIndex(m_editIndex);
        }
    }
    m_editIndex = -1;
    setFocus();
}

void TWLXCustomListBox::EditorExit()
{
    HideEditor();
}

bool TWLXCustomListBox::EditorKeyDown(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const QString text = m_editor->toPlainText();
        if (m_sorted) {
            if (count() > 0)
                DeleteItem(m_editIndex);
            m_editIndex = AddItem(text);
            if (!IsItemVisible(m_editIndex))
                SetTopIndex(m_editIndex);
        } else if (m_editIndex < 0 || m_editIndex >= count()) {
            m_editIndex = AddItem(text);
        } else {
            SetItem(m_editIndex, text);
        }
        if (OnEditChange)
            OnEditChange(this, m_editIndex);
        HideEditor();
        return true;
    }
    case Qt::Key_Escape:
        if (m_editor->Tag >= 255) {
            // The inserted empty item goes; the item current before the insertion is again.
            DeleteItem(m_editor->Tag - 255);
            m_editIndex = m_editReturnIndex;
        }
        HideEditor();
        return true;
    default:
        return false;
    }
}
