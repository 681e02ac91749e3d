#include "widgets/Memo.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace {

QString ToDocument(const QString& crlf)
{
    QString s = crlf;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

} // namespace

// ---- lines ---------------------------------------------------------------------------------

QString TWLXMemoStrings::Get(int index) const
{
    const QStringList lines = m_memo->Text().split(QStringLiteral("\r\n"));
    return index >= 0 && index < lines.size() ? lines.at(index) : QString();
}

void TWLXMemoStrings::Put(int index, const QString& s)
{
    if (index < 0 || index >= GetCount())
        return;
    m_memo->ReplaceAt(m_memo->LineStart(index), int(Get(index).size()), s);
}

int TWLXMemoStrings::GetCount() const
{
    return m_memo->document()->blockCount();
}

void TWLXMemoStrings::Insert(int index, const QString& s)
{
    const QString text = m_memo->Text();
    if (text.isEmpty())
        m_memo->ReplaceAt(0, 0, s);
    else if (index <= 0)
        m_memo->ReplaceAt(0, 0, s + QStringLiteral("\r\n"));
    else if (index >= GetCount())
        m_memo->ReplaceAt(int(text.size()), 0, QStringLiteral("\r\n") + s);
    else
        m_memo->ReplaceAt(m_memo->LineStart(index) - 2, 0, QStringLiteral("\r\n") + s);
}

int TWLXMemoStrings::Add(const QString& s)
{
    Insert(GetCount(), s);
    return GetCount();
}

void TWLXMemoStrings::Delete(int index)
{
    const int count = GetCount();
    if (index < 0 || index >= count)
        return;
    const int start = m_memo->LineStart(index);
    // The last line goes up to the text end; the line break before it stays.
    const int end = index == count - 1 ? int(m_memo->Text().size()) : m_memo->LineStart(index + 1);
    m_memo->ReplaceAt(start, end - start, QString());
}

void TWLXMemoStrings::Clear()
{
    m_memo->ReplaceAt(0, int(m_memo->Text().size()), QString());
}

QString TWLXMemoStrings::Text() const
{
    return m_memo->Text();
}

void TWLXMemoStrings::SetText(const QString& text)
{
    m_memo->SetText(text);
}

void TWLXMemoStrings::Assign(const QStringList& list)
{
    m_memo->SetText(list.join(QStringLiteral("\r\n")));
}

// ---- memo ----------------------------------------------------------------------------------

TWLXCustomMemo::TWLXCustomMemo(QWidget* parent)
    : QPlainTextEdit(parent)
    , m_lines(this)
{
    resize(185, 89);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    ApplyWrap();
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        CountRowsChanged();
        if (OnChange)
            OnChange(this);
    });
    connect(this, &QPlainTextEdit::modificationChanged, this, [this] {
        if (OnModified)
            OnModified(this);
    });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (OnCursorPosChanged)
            OnCursorPosChanged(this);
        const int row = CurrentRow();
        if (row != m_lastRow) {
            m_lastRow = row;
            if (OnCurrentRowChanged)
                OnCurrentRowChanged(this);
        }
    });
    auto follow = [this](QScrollBar* qt, TWLXScrollBar* TWLXCustomMemo::*bar) {
        auto sync = [this, qt, bar] {
            TWLXScrollBar* own = this->*bar;
            if (!own || m_syncing)
                return;
            own->SetMin(qt->minimum());
            own->SetMax(qt->maximum());
            own->SetPosition(qt->value());
            if (m_scrollBars == TWLXMemoScrollBarKind::skAuto)
                UpdateBars();
        };
        connect(qt, &QScrollBar::rangeChanged, this, sync);
        connect(qt, &QScrollBar::valueChanged, this, sync);
    };
    follow(verticalScrollBar(), &TWLXCustomMemo::m_vertBar);
    follow(horizontalScrollBar(), &TWLXCustomMemo::m_horizBar);
    m_horizSettings.OnChange = [this](void*) { UpdateBars(); };
    m_vertSettings.OnChange = [this](void*) { UpdateBars(); };
}

TWLXCustomMemo::~TWLXCustomMemo()
{
    // The editor's own teardown must not reach this part of the object.
    disconnect(this, nullptr, this, nullptr);
    verticalScrollBar()->disconnect(this);
    horizontalScrollBar()->disconnect(this);
    m_horizSettings.OnChange = nullptr;
    m_vertSettings.OnChange = nullptr;
    SetScrollBars(TWLXMemoScrollBarKind::skNone);
}

QString TWLXCustomMemo::Text() const
{
    QString s = toPlainText();
    s.replace(u'\n', QStringLiteral("\r\n"));
    return s;
}

void TWLXCustomMemo::SetText(const QString& value)
{
    const QString doc = ToDocument(value);
    if (doc == toPlainText())
        return;
    setPlainText(doc);
}

void TWLXCustomMemo::SetLines(const QStringList& lines)
{
    m_lines.Assign(lines);
}

int TWLXCustomMemo::LineStart(int index) const
{
    const QString text = Text();
    int pos = 0;
    for (int i = 0; i < index; ++i) {
        const int lf = int(text.indexOf(u'\n', pos));
        if (lf < 0)
            return int(text.size());
        pos = lf + 1;
    }
    return pos;
}

void TWLXCustomMemo::ReplaceAt(int position, int count, const QString& text)
{
    // Positions of the CR LF text to positions of the document (one character per break).
    const QString crlf = Text();
    auto toDoc = [&crlf](int p) {
        p = std::clamp(p, 0, int(crlf.size()));
        return p - int(crlf.left(p).count(QStringLiteral("\r\n")));
    };
    QTextCursor c(document());
    c.setPosition(toDoc(position));
    c.setPosition(toDoc(position + count), QTextCursor::KeepAnchor);
    c.insertText(ToDocument(text));
}

int TWLXCustomMemo::RowCount() const
{
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
    int rows = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        if (layout)
            layout->ensureBlockLayout(b);
        rows += b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
    }
    return rows - 1;
}

int TWLXCustomMemo::TopRow() const
{
    const QTextBlock first = firstVisibleBlock();
    int row = 1;
    for (QTextBlock b = document()->begin(); b.isValid() && b != first; b = b.next())
        row += b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
    return row;
}

int TWLXCustomMemo::CurrentRow() const
{
    const QTextCursor c = textCursor();
    const QTextBlock current = c.block();
    int row = 1;
    for (QTextBlock b = document()->begin(); b.isValid() && b != current; b = b.next())
        row += b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
    if (current.layout() && current.layout()->lineCount() > 0)
        row += std::max(0, current.layout()->lineForTextPosition(c.positionInBlock()).lineNumber());
    return row;
}

void TWLXCustomMemo::CountRowsChanged()
{
    const int rows = RowCount();
    if (rows == m_lastRowCount)
        return;
    m_lastRowCount = rows;
    if (OnRowCountChanged)
        OnRowCountChanged(this);
}

void TWLXCustomMemo::ApplyWrap()
{
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Right and centred text always wraps.
    const bool wrap = m_wordWrap || m_alignment != TWLXTextAlignment::taLeftJustify;
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(m_alignment == TWLXTextAlignment::taRightJustify ? Qt::AlignRight
                        : m_alignment == TWLXTextAlignment::taCenter    ? Qt::AlignHCenter
                                                                        : Qt::AlignLeft);
    document()->setDefaultTextOption(option);
    CountRowsChanged();
    UpdateBars();
}

void TWLXCustomMemo::SetWordWrap(bool value)
{
    if (value == m_wordWrap)
        return;
    m_wordWrap = value;
    ApplyWrap();
}

void TWLXCustomMemo::SetAlignment(TWLXTextAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    ApplyWrap();
}

void TWLXCustomMemo::SetWantTabs(bool value)
{
    m_wantTabs = value;
    setTabChangesFocus(!value);
}

void TWLXCustomMemo::SetTabChars(int value)
{
    if (value >= 1 && value <= 128)
        m_tabChars = value;
}

// ---- scroll bars ---------------------------------------------------------------------------

TWLXScrollBar* TWLXCustomMemo::MakeBar(TWLXScrollBarKind kind)
{
    auto* bar = new TWLXScrollBar(this);
    bar->SetKind(kind);
    bar->SetFocusable(false);
    bar->ThumbMode = TWLXThumbMode::tmAuto;
    QScrollBar* qt = kind == TWLXScrollBarKind::skVertical ? verticalScrollBar() : horizontalScrollBar();
    bar->SetMin(qt->minimum());
    bar->SetMax(qt->maximum());
    bar->SetPosition(qt->value());
    bar->OnScroll = [this, qt](void*, int, int& position) {
        m_syncing = true;
        qt->setValue(position);
        m_syncing = false;
    };
    return bar;
}

void TWLXCustomMemo::SetScrollBars(TWLXMemoScrollBarKind value)
{
    if (value == m_scrollBars)
        return;
    m_scrollBars = value;
    const bool vert = value == TWLXMemoScrollBarKind::skVertical || value == TWLXMemoScrollBarKind::skBoth ||
                      value == TWLXMemoScrollBarKind::skAuto;
    const bool horiz = value == TWLXMemoScrollBarKind::skHorizontal || value == TWLXMemoScrollBarKind::skBoth ||
                       value == TWLXMemoScrollBarKind::skAuto;
    if (vert && !m_vertBar)
        m_vertBar = MakeBar(TWLXScrollBarKind::skVertical);
    if (!vert) {
        delete m_vertBar;
        m_vertBar = nullptr;
    }
    if (horiz && !m_horizBar)
        m_horizBar = MakeBar(TWLXScrollBarKind::skHorizontal);
    if (!horiz) {
        delete m_horizBar;
        m_horizBar = nullptr;
    }
    UpdateBars();
}

void TWLXCustomMemo::UpdateBars()
{
    const bool wraps = m_wordWrap || m_alignment != TWLXTextAlignment::taLeftJustify;
    if (m_vertBar) {
        m_vertSettings.ApplyTo(*m_vertBar);
        bool show = true;
        if (m_scrollBars == TWLXMemoScrollBarKind::skAuto)
            show = verticalScrollBar()->maximum() > verticalScrollBar()->minimum();
        m_vertBar->setVisible(show);
    }
    if (m_horizBar) {
        m_horizSettings.ApplyTo(*m_horizBar);
        m_horizBar->setEnabled(!wraps);
        m_horizBar->setVisible(m_scrollBars != TWLXMemoScrollBarKind::skAuto || !wraps);
    }
    LayoutBars();
}

void TWLXCustomMemo::LayoutBars()
{
    const bool vert = m_vertBar && !m_vertBar->isHidden();
    const bool horiz = m_horizBar && !m_horizBar->isHidden();
    const int vw = vert ? m_vertSettings.BarWidth() : 0;
    const int hh = horiz ? m_horizSettings.BarWidth() : 0;
    setViewportMargins(0, 0, vw, hh);
    const QRect inner = contentsRect();
    if (vert)
        m_vertBar->setGeometry(inner.right() + 1 - vw, inner.top(), vw, inner.height() - hh);
    if (horiz)
        m_horizBar->setGeometry(inner.left(), inner.bottom() + 1 - hh, inner.width() - vw, hh);
}

void TWLXCustomMemo::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    LayoutBars();
    CountRowsChanged();
}

// ---- keys and menu -------------------------------------------------------------------------

void TWLXCustomMemo::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (event->key()) {
    case Qt::Key_Insert:
        if (!shift && !ctrl && !alt) {
            Application().SetEditMode(Application().EditModeFlags() ^ emInsert);
            setOverwriteMode(!(Application().EditModeFlags() & emInsert));
            event->accept();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (TabOnEnter && !ctrl) {
            focusNextChild();
            event->accept();
            return;
        }
        break;
    default: break;
    }
    setOverwriteMode(!(Application().EditModeFlags() & emInsert));
    QPlainTextEdit::keyPressEvent(event);
}

void TWLXCustomMemo::focusInEvent(QFocusEvent* event)
{
    setOverwriteMode(!(Application().EditModeFlags() & emInsert));
    QPlainTextEdit::focusInEvent(event);
}

QMenu* TWLXCustomMemo::CreateContextMenu()
{
    QPointer<TWLXCustomMemo> self(this);
    auto run = [self](void (QPlainTextEdit::*action)()) {
        return [self, action] {
            if (self)
                (self.data()->*action)();
        };
    };
    TWLXEditMenuActions a;
    a.canUndo = document()->isUndoAvailable();
    a.selected = textCursor().hasSelection();
    a.readOnly = isReadOnly();
    a.hasText = !document()->isEmpty();
    a.undo = run(&QPlainTextEdit::undo);
    a.cut = run(&QPlainTextEdit::cut);
    a.copy = run(&QPlainTextEdit::copy);
    a.paste = run(&QPlainTextEdit::paste);
    a.clear = [self] {
        if (self && !self->isReadOnly())
            self->textCursor().removeSelectedText();
    };
    a.selectAll = run(&QPlainTextEdit::selectAll);
    return CreateEditContextMenu(this, a);
}

void TWLXCustomMemo::contextMenuEvent(QContextMenuEvent* event)
{
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(this, event->globalPos(), handled);
    if (handled || (Options & eoSuppressDefaultMenu))
        return;
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
