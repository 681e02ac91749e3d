#include "widgets/BaseEdit.h"

#include "platform/Canvas.h"
#include "platform/Context.h"
#include "widgets/Frames.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>


TWLXBaseEdit::TWLXBaseEdit(QWidget* parent)
    : TWLXCustomBevelPanel(parent)
    , m_caret3(this)
{
    resize(121, 21);
    m_undo.OnDisposeItem = [](TWLXBuffer*, void* item) { delete static_cast<UndoRecord*>(item); };
    SetColor(clWindow);
    setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    Bevel().SetMode(TWLXBevelMode::bmWindows);
    m_font3D.OnChange = [this](void*) { PaintText(-1); };
    m_blink.setInterval(std::max(100, m_caret3.BlinkRate / 2));
    connect(&m_blink, &QTimer::timeout, this, [this] {
        m_blinkOn = !m_blinkOn;
        update();
    });
}

TWLXBaseEdit::~TWLXBaseEdit()
{
    StopAutoScroll();
    m_font3D.OnChange = nullptr;
}

QString TWLXBaseEdit::Text() const
{
    TextRead();
    return m_text;
}

void TWLXBaseEdit::SetText(const QString& value)
{
    if (value == m_text)
        return;
    m_text = MaxLength > 0 ? value.left(MaxLength) : value;
    SetCaretPos(1);
    SetSelLength(0);
    TextAssigned();
}

void TWLXBaseEdit::SetCaretPos(int value)
{
    m_prevCaret = m_caret;
    m_caret = std::clamp(value, 1, int(m_text.size()) + 1);
    UpdateSelection();
    CursorMoved();
}

void TWLXBaseEdit::SetSelLength(int value)
{
    if (value == m_selLength)
        return;
    m_selLength = value;
    if (value == 0)
        m_selStart = m_caret;
    PaintText(-1);
}

void TWLXBaseEdit::SetReadOnly(bool value)
{
    m_readOnly = value;
    update();
}

void TWLXBaseEdit::SetModified(bool value)
{
    if (value == m_modified)
        return;
    m_modified = value;
    if (OnModified)
        OnModified(this);
}

void TWLXBaseEdit::SetAlignment(TWLXTextAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    m_offset = 0;
    AlignmentChanged();
    PaintText(-1);
    UpdateCaret();
}

void TWLXBaseEdit::EndUpdate(bool repaint)
{
    TWLXCustomBevelPanel::EndUpdate(false);
    if (repaint && !IsUpdating())
        PaintText(-1);
}

void TWLXBaseEdit::CursorMoved()
{
    UpdateCaret();
    if (OnCursorPosChanged)
        OnCursorPosChanged(this);
}

void TWLXBaseEdit::TextChanged(int at)
{
    if (IsUpdating())
        return;
    PaintText(m_caret);
    if (!Loading) {
        if (OnTextChangedAt)
            OnTextChangedAt(this, at);
        FireChange();
    }
}

int TWLXBaseEdit::GetTextHeight(const QString& text) const
{
    int h = QFontMetrics(font()).boundingRect(text).height();
    h = std::max(h, QFontMetrics(font()).height());
    switch (m_font3D.Style()) {
    case TWLXThreeDStyle::tdSunkenShadow:
    case TWLXThreeDStyle::tdRaisedShadow:
    case TWLXThreeDStyle::tdShadow: h += m_font3D.ShadowDepth(); break;
    default: break;
    }
    return h;
}

void TWLXBaseEdit::PlaceCaret(int x, int y)
{
    const int qp = GetTextHeight(QStringLiteral("Qp"));
    if (m_caret3.Style == TWLXCaretStyles::csUnder)
        y += qp - 3;
    else if (m_caret3.Style == TWLXCaretStyles::csUnderBlock)
        y += qp - m_caret3.Height() - 2;
    m_caret3.SetPos(x, y);
}

// ---- editing -------------------------------------------------------------------------------

void TWLXBaseEdit::InsertText(QString s)
{
    if (!CanEdit(s))
        return;
    BeforeChange();
    const int oldCaret = m_caret, oldStart = m_selStart, oldLength = m_selLength;
    const int size = int(m_text.size());
    int start = std::clamp(m_selStart, 1, size + 1);
    int length = std::max(0, m_selLength);
    // A CR LF pair is never split.
    if (length > 0 && start + length - 1 <= size) {
        if (CharAt(start + length - 1) == u'\r' && CharAt(start + length) == u'\n')
            ++length;
        if (CharAt(start) == u'\n' && CharAt(start - 1) == u'\r') {
            --start;
            ++length;
        }
    } else {
        if (CharAt(start) == u'\n' && CharAt(start - 1) == u'\r')
            --start;
        // Overwrite mode replaces the character (or pair) under the caret by what is typed.
        if (!(Application().EditModeFlags() & emInsert) && !m_undoing && !s.isEmpty())
            length = CharAt(start) == u'\r' && CharAt(start + 1) == u'\n' ? 2 : 1;
    }
    length = std::min(length, size - start + 1);
    const QString deleted = m_text.mid(start - 1, length);
    BeforeDelete(start, deleted);
    m_text.remove(start - 1, length);
    m_selLength = 0;
    m_selStart = start;
    BeforeInsert(start, s);
    int newCaret = start;
    if (MaxLength == 0 || m_undoing || m_text.size() + s.size() <= MaxLength) {
        m_text.insert(start - 1, s);
        newCaret = start + int(s.size());
    } else {
        s.clear();
    }
    // The step records what really changed, so that Undo restores it exactly.
    if (!m_undoing && (!deleted.isEmpty() || !s.isEmpty())) {
        m_undo.Push(new UndoRecord{s, deleted, oldStart, oldLength, oldCaret, start});
        m_canUndo = true;
    }
    SetModified(true);
    TextChanged(oldStart);
    m_typing = true;   // the caret follows the text; the selection is dropped below
    SetCaretPos(newCaret);
    m_typing = false;
    BeginUpdate();
    m_selLength = 0;
    EndUpdate(true);
    m_selStart = m_caret;
    AfterChange();
}

void TWLXBaseEdit::Undo()
{
    if (!m_canUndo || m_undo.IsEmpty())
        return;
    const std::unique_ptr<UndoRecord> taken(static_cast<UndoRecord*>(m_undo.Pop()));
    const UndoRecord r = *taken;
    m_undoing = true;
    m_selStart = r.changeStart;
    m_selLength = int(r.newText.size());
    InsertText(r.oldText);
    m_undoing = false;
    if (m_undo.IsEmpty())
        m_canUndo = false;
    m_caret = std::clamp(r.caret, 1, int(m_text.size()) + 1);
    m_selStart = r.selStart;
    m_selLength = r.selLength;
    UpdateCaret();
    PaintText(-1);
}

QString TWLXBaseEdit::GetSelText() const
{
    if (m_selLength <= 0)
        return QString();
    return m_text.mid(m_selStart - 1, m_selLength);
}

void TWLXBaseEdit::SelectAll()
{
    if (SelectAllToLineEnd)
        CaretToLineEnd();
    m_selStart = 1;
    m_selLength = int(m_text.size());
    PaintText(-1);
}

void TWLXBaseEdit::Clear()
{
    SelectAll();
    InsertText(QString());
}

void TWLXBaseEdit::CopyToClipboard()
{
    if (CanCopy())
        QApplication::clipboard()->setText(GetSelText());
}

void TWLXBaseEdit::CutToClipboard()
{
    if (!CanCopy())
        return;
    QApplication::clipboard()->setText(GetSelText());
    InsertText(QString());
}

void TWLXBaseEdit::PasteFromClipboard()
{
    if (CanCopy())
        InsertText(QApplication::clipboard()->text());
}

void TWLXBaseEdit::ReplaceRange(int start, int length, const QString& text)
{
    const int keepStart = m_selStart, keepLength = m_selLength;
    m_selStart = start;
    m_selLength = length;
    InsertText(text);
    m_selStart = keepStart;
    m_selLength = keepLength;
}

void TWLXBaseEdit::UpdateSelection()
{
    if (m_typing || m_draggingSelection)
        return;
    if (!SelectionAllowed)
        Application().SetEditMode(Application().EditModeFlags() & uint8_t(~emShift));
    const int p = m_caret, q = m_prevCaret, s = m_selStart, e = m_selStart + m_selLength;
    if ((Application().EditModeFlags() & emShift) || m_extending) {
        if (m_selLength == 0) {
            m_selLength = std::abs(q - p);
            if (p < q)
                m_selStart = p;
        } else if (s < p && p >= e) {
            if (s < q) {
                m_selLength = p - s;
            } else {
                m_selStart = e;
                m_selLength = p - e;
            }
        } else if (s < p && p < e) {
            if (q >= p) {
                m_selLength = p - s;
            } else {
                m_selStart = p;
                m_selLength = e - p;
            }
        } else {
            m_selLength = s != q ? s - p : e - p;
            m_selStart = p;
        }
    } else {
        m_selLength = 0;
        m_selStart = p;
    }
}

void TWLXBaseEdit::SelectWordAtCaret()
{
    if (m_text.isEmpty())
        return;
    int i = std::min(m_caret, int(m_text.size()));
    if (i > 1 && IsDelimiter(i))
        --i;
    while (i > 1 && !IsDelimiter(i))
        --i;
    const int start = IsDelimiter(i) ? i + 1 : 1;
    int end = m_caret;
    while (end <= m_text.size() && !IsDelimiter(end))
        ++end;
    m_selStart = start;
    m_selLength = std::max(0, end - start);
    m_caret = end;
    UpdateCaret();
}

void TWLXBaseEdit::WordLeft()
{
    int v = std::min(m_caret, int(m_text.size()));
    if (v > 1 && IsDelimiter(v))
        --v;
    while (v > 1 && !IsDelimiter(v))
        --v;
    SetCaretPos(v);
}

void TWLXBaseEdit::WordRight()
{
    int v = m_caret;
    if (v < m_text.size() && IsDelimiter(v))
        ++v;
    while (v <= m_text.size() && !IsDelimiter(v))
        ++v;
    SetCaretPos(v);
}

void TWLXBaseEdit::CaretToLineStart()
{
    const int lf = int(m_text.lastIndexOf(u'\n', std::max(0, m_caret - 2)));
    SetCaretPos(m_caret > 1 && lf >= 0 ? lf + 2 : 1);
}

void TWLXBaseEdit::CaretToLineEnd()
{
    const int cr = int(m_text.indexOf(u'\r', m_caret - 1));
    SetCaretPos(cr >= 0 ? cr + 1 : int(m_text.size()) + 1);
}

// ---- keys ----------------------------------------------------------------------------------

void TWLXBaseEdit::ProcessKey(int& key)
{
    if (!isEnabled())
        return;
    const int oldLength = m_selLength;
    const uint8_t mode = Application().EditModeFlags();
    const bool shift = mode & emShift, ctrl = mode & emCtrl, alt = mode & emAlt;
    switch (key) {
    case Qt::Key_Backspace:
        if (m_readOnly || m_selStart < 1)
            break;
        if (m_caret == 1 && m_selStart == 1 && m_selLength == 0)
            return;
        if (m_selLength == 0 || BackspaceExtends()) {
            if (m_caret <= 1 && m_selLength == 0)
                break;
            m_selStart = m_caret - 1;
            ++m_selLength;
        }
        InsertText(QString());
        if (m_text.isEmpty())
            m_offset = 0;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (TabOnEnter && !ctrl)
            focusNextChild();
        break;
    case Qt::Key_Escape: SetSelLength(0); break;
    case Qt::Key_End: CaretToLineEnd(); break;
    case Qt::Key_Home:
        if (ctrl)
            SetCaretPos(1);
        else
            CaretToLineStart();
        break;
    case Qt::Key_Left:
        if (m_caret == 1) {
            if (!shift)
                SetSelLength(0);
        } else {
            SetCaretPos(m_caret - (CharAt(m_caret - 1) == u'\n' ? 2 : 1));
            if (ctrl)
                WordLeft();
        }
        break;
    case Qt::Key_Right:
        if (m_caret <= m_text.size() && !m_text.isEmpty()) {
            int v = m_caret + 1;
            if (CharAt(v) == u'\n')
                ++v;
            SetCaretPos(v);
            if (ctrl)
                WordRight();
        } else if (!shift) {
            SetSelLength(0);
        }
        break;
    case Qt::Key_Insert:
        if (shift)
            PasteFromClipboard();
        else if (ctrl)
            CopyToClipboard();
        else if (!alt)
            Application().SetEditMode(Application().EditModeFlags() ^ emInsert);
        break;
    case Qt::Key_Delete:
        if (shift) {
            CutToClipboard();
        } else if (!m_readOnly && !m_text.isEmpty()) {
            if (m_selLength == 0)
                m_selLength = 1;
            InsertText(QString());
        }
        break;
    case Qt::Key_A:
        if (ctrl) {
            SelectAll();
            key = 0;
        }
        break;
    case Qt::Key_C:
        if (ctrl) {
            CopyToClipboard();
            key = 0;
        }
        break;
    case Qt::Key_V:
        if (ctrl) {
            PasteFromClipboard();
            key = 0;
        }
        break;
    case Qt::Key_X:
        if (ctrl) {
            CutToClipboard();
            key = 0;
        }
        break;
    default: break;
    }
    if (m_selLength != oldLength)
        PaintText(m_caret);
}

void TWLXBaseEdit::TypeChar(QChar c)
{
    if (OnKeyPress)
        OnKeyPress(this, c);
    if (c.unicode() < 32)
        return;
    if (CharCase == TEditCharCase::ecUpperCase)
        c = c.toUpper();
    else if (CharCase == TEditCharCase::ecLowerCase)
        c = c.toLower();
    if (!AcceptTypedChar(c))
        return;
    m_typing = true;
    InsertText(QString(c));
    m_typing = false;
}

void TWLXBaseEdit::RefreshModifierFlags(Qt::KeyboardModifiers modifiers)
{
    uint8_t flags = Application().EditModeFlags() & emInsert;
    if (modifiers & Qt::ShiftModifier)
        flags |= emShift;
    if (modifiers & Qt::ControlModifier)
        flags |= emCtrl;
    if (modifiers & Qt::AltModifier)
        flags |= emAlt;
    Application().SetEditMode(flags);
}

void TWLXBaseEdit::keyPressEvent(QKeyEvent* event)
{
    RefreshModifierFlags(event->modifiers());
    int key = event->key();
    ProcessKey(key);
    const bool consumed = event->key() != 0 && key == 0;
    const QString typed = event->text();
    if (!consumed && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !typed.isEmpty()) {
        for (const QChar c : typed)
            TypeChar(c);
    }
    m_blinkOn = true;
    event->accept();
}

void TWLXBaseEdit::keyReleaseEvent(QKeyEvent* event)
{
    TWLXCustomBevelPanel::keyReleaseEvent(event);
    RefreshModifierFlags(event->modifiers());
}

void TWLXBaseEdit::inputMethodEvent(QInputMethodEvent* event)
{
    for (const QChar c : event->commitString())
        TypeChar(c);
    event->accept();
}

// ---- mouse ---------------------------------------------------------------------------------

void TWLXBaseEdit::mousePressEvent(QMouseEvent* event)
{
    TWLXCustomBevelPanel::mousePressEvent(event);
    if (!isEnabled() || event->button() != Qt::LeftButton)
        return;
    m_buttonDown = true;
    m_lastMouse = event->position().toPoint();
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    RefreshModifierFlags(event->modifiers());
    MouseSelect();
    if (!m_autoScroll) {
        m_autoScroll = std::make_unique<TWLXTimer>(200, UseGlobalTimer, true, [this](void*) {
            if (m_selLength > 0) {
                m_extending = true;
                MouseSelect();
                m_extending = false;
            }
        });
    }
}

void TWLXBaseEdit::MouseSelect()
{
    const int p = CharIndexAt(m_lastMouse);
    if (!m_draggingSelection && m_selStart < p && p < m_selStart + m_selLength) {
        m_draggingSelection = true;
        setCursor(Qt::DragMoveCursor);
    }
    const int oldLength = m_selLength;
    SetCaretPos(p);
    if (m_selLength != oldLength)
        PaintText(m_caret);
}

void TWLXBaseEdit::StopAutoScroll()
{
    m_autoScroll.reset();
}

void TWLXBaseEdit::mouseMoveEvent(QMouseEvent* event)
{
    TWLXCustomBevelPanel::mouseMoveEvent(event);
    if (!isEnabled())
        return;
    m_lastMouse = event->position().toPoint();
    if (event->buttons() == Qt::LeftButton && SelectionAllowed) {
        const int old = m_caret;
        m_extending = true;
        SetCaretPos(CharIndexAt(m_lastMouse));
        m_extending = false;
        if (m_caret != old)
            PaintText(m_caret);
    }
}

void TWLXBaseEdit::mouseReleaseEvent(QMouseEvent* event)
{
    TWLXCustomBevelPanel::mouseReleaseEvent(event);
    if (!isEnabled() || event->button() != Qt::LeftButton)
        return;
    StopAutoScroll();
    m_buttonDown = false;
    if (!m_draggingSelection)
        return;
    setCursor(Qt::IBeamCursor);
    m_draggingSelection = false;
    int v = m_caret;
    const int start = m_selStart, end = m_selStart + m_selLength;
    if (v < start || v > end) {
        // The selected text moves to the drop position.
        QString moved = GetSelText();
        if (moved.endsWith(u'\r')) {
            --m_selLength;
            moved = GetSelText();
        }
        InsertText(QString());
        if (start < v)
            v -= int(moved.size());
        if (CharAt(v) == u'\n')
            --v;
        m_typing = true;
        SetCaretPos(v);
        m_typing = false;
        m_selStart = m_caret;
        m_selLength = 0;
        InsertText(moved);
        PaintText(v);
        m_typing = true;
        SetCaretPos(v);
        m_typing = false;
    } else {
        m_selLength = 0;
        m_selStart = m_caret;
        PaintText(-1);
    }
}

void TWLXBaseEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    TWLXCustomBevelPanel::mouseDoubleClickEvent(event);
    if (!isEnabled() || event->button() != Qt::LeftButton || !SelectionAllowed)
        return;
    BeginUpdate();
    SelectWordAtCaret();
    EndUpdate(true);
    PaintText(m_caret);
}

QMenu* CreateEditContextMenu(QWidget* parent, const TWLXEditMenuActions& a)
{
    auto* menu = new QMenu(parent);
    auto add = [menu](const char* de, const char* en, const char* fr, bool enabled, const std::function<void()>& action) {
        QAction* entry = menu->addAction(Lang3Q(de, en, fr));
        entry->setEnabled(enabled);
        QObject::connect(entry, &QAction::triggered, menu, [action] {
            if (action)
                action();
        });
    };
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    add("&Rückgängig", "&Undo", "&Annuler", a.canUndo, a.undo);
    menu->addSeparator();
    add("&Ausschneiden", "Cu&t", "&Couper", a.selected && !a.readOnly, a.cut);
    add("&Kopieren", "&Copy", "Co&pier", a.selected, a.copy);
    add("&Einfügen", "&Paste", "C&oller", clip && clip->hasText() && !a.readOnly, a.paste);
    add("&Löschen", "&Delete", "&Supprimer", a.selected, a.clear);
    menu->addSeparator();
    add("Alles &markieren", "Select &all", "&Tout sélectionner", a.hasText, a.selectAll);
    return menu;
}

QMenu* TWLXBaseEdit::CreateContextMenu()
{
    QPointer<TWLXBaseEdit> self(this);
    auto run = [self](void (TWLXBaseEdit::*action)()) {
        return [self, action] {
            if (self)
                (self.data()->*action)();
        };
    };
    TWLXEditMenuActions a;
    a.canUndo = m_canUndo;
    a.selected = m_selLength > 0;
    a.readOnly = m_readOnly;
    a.hasText = !m_text.isEmpty();
    a.undo = run(&TWLXBaseEdit::Undo);
    a.cut = run(&TWLXBaseEdit::CutToClipboard);
    a.copy = run(&TWLXBaseEdit::CopyToClipboard);
    a.paste = run(&TWLXBaseEdit::PasteFromClipboard);
    a.clear = run(&TWLXBaseEdit::ClearSelection);
    a.selectAll = run(&TWLXBaseEdit::SelectAll);
    return CreateEditContextMenu(this, a);
}

void TWLXBaseEdit::contextMenuEvent(QContextMenuEvent* event)
{
    if (!isEnabled())
        return;
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(this, event->globalPos(), handled);
    if (handled || (Options & eoSuppressDefaultMenu))
        return;
    if (contextMenuPolicy() == Qt::CustomContextMenu || contextMenuPolicy() == Qt::ActionsContextMenu) {
        TWLXCustomBevelPanel::contextMenuEvent(event);
        return;
    }
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TWLXBaseEdit::enterEvent(QEnterEvent* event)
{
    TWLXCustomBevelPanel::enterEvent(event);
    if (!DesignMode && FocusOnMouseAbove && isEnabled())
        setFocus(Qt::MouseFocusReason);
}

// ---- focus, size, painting -----------------------------------------------------------------

void TWLXBaseEdit::focusInEvent(QFocusEvent* event)
{
    TWLXCustomBevelPanel::focusInEvent(event);
    UpdateRects();
    if (m_caret3.Style == TWLXCaretStyles::csDefault)
        m_caret3.SetWordProp(4, GetTextHeight(QStringLiteral("Qp")));
    m_caret3.CreateShape();
    m_caret3.Show();
    m_blinkOn = true;
    if (m_caret3.BlinkRate > 0)
        m_blink.start();
    m_hideSelectionNow = false;
    if (HideSelection || AutoSelect) {
        if (AutoSelect && !(QApplication::mouseButtons() & Qt::LeftButton))
            SelectAll();
        if (m_selLength > 0)
            PaintText(-1);
    }
    UpdateCaret();
}

void TWLXBaseEdit::focusOutEvent(QFocusEvent* event)
{
    if (HideSelection && m_selLength > 0) {
        m_hideSelectionNow = true;
        PaintText(-1);
    }
    TWLXCustomBevelPanel::focusOutEvent(event);
    m_blink.stop();
    m_caret3.Hide();
    m_caret3.DestroyShape();
}

void TWLXBaseEdit::resizeEvent(QResizeEvent* event)
{
    TWLXCustomBevelPanel::resizeEvent(event);
    UpdateRects();
}

void TWLXBaseEdit::changeEvent(QEvent* event)
{
    TWLXCustomBevelPanel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateRects();
        if (hasFocus()) {
            m_caret3.SetWordProp(4, GetTextHeight(QStringLiteral("Qp")));
            m_caret3.CreateShape();
        }
    } else if (event->type() == QEvent::EnabledChange) {
        PaintText(-1);
    }
}

void TWLXBaseEdit::Paint(TCanvas& canvas)
{
    TWLXCustomBevelPanel::Paint(canvas);
    if (DrawsWindowEdge()) {
        TWLXRect r = ClientRect();
        DrawBorderStyle(canvas, r, TWLXBorderStyle::lsLoweredExt, 0);
    }
}

void TWLXBaseEdit::UpdateRects()
{
    if (Loading)
        return;
    m_frameRect = Bevel().GetInnerRect(ClientRect());
    if (DrawsWindowEdge()) {
        m_frameRect.Left += 2;
        m_frameRect.Top += 2;
        m_frameRect.Right -= 2;
        m_frameRect.Bottom -= 2;
    }
    m_textArea = m_frameRect;
    AdjustTextRect(m_textArea);
    m_textRect = m_textArea;
    const int v = (Options & eoNarrowHeight) ? 0 : 1;
    m_textRect.Left += 1;
    m_textRect.Right -= 1;
    m_textRect.Top += v;
    m_textRect.Bottom -= v;
    AfterRectsUpdated();
}
