#include "frontpanel/elements/AsciiDisplay.h"

#include "frontpanel/web/WebPublishing.h"
#include "platform/Cp1252.h"
#include "widgets/Memo.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

TASCII_Display::TASCII_Display(QWidget* owner)
    : TTextAreaElement(owner)
{
    BevelInner = bvLowered;
    BevelOuter = bvNone;
    BevelWidth = 3;
    BorderWidth = 0;
    Memo = new TWLXMemo(this);
    Memo->SetReadOnly(true);
    Memo->SetWantTabs(true);
    Memo->WantReturns = true;
    Memo->SetScrollBars(TWLXMemoScrollBarKind::skAuto);
    SetArea(Memo);
    SetAreaFontColor(0x808000);  // RGB (0, 128, 128)
    SetHintergrundFarbe(0x09EAB7);  // RGB (183, 234, 9)
    resize(160, 64);
    Hint = QStringLiteral("ASCII-Display");
}

int TASCII_Display::LineCount() const
{
    ApplyPending();
    return Memo->document()->blockCount();
}

void TASCII_Display::PutChar(uint8_t c)
{
    if (c == 7) {
        QApplication::beep();
        return;
    }
    if (c == 10)
        return;
    if (m_pendingCount == int(m_pending.size()))
        ApplyPending();
    m_pending[size_t(m_pendingCount++)] = c;
    if (isVisible())
        RequestRepaintChanged(*this, *this);
}

void TASCII_Display::ClearText()
{
    m_pendingCount = 0;  // cleared with everything before
    TTextAreaElement::ClearText();
}

void TASCII_Display::ApplyPending() const
{
    if (m_pendingCount == 0)
        return;
    const int count = m_pendingCount;
    m_pendingCount = 0;
    QTextDocument* doc = Memo->document();
    for (int k = 0; k < count; ++k) {
        const uint8_t c = m_pending[size_t(k)];
        QTextCursor cursor(doc);
        cursor.movePosition(QTextCursor::End);
        switch (c) {
        case 8:
            if (cursor.positionInBlock() > 0)
                cursor.deletePreviousChar();
            break;
        case 13:
            cursor.insertBlock();
            while (doc->blockCount() > kMaxLines) {
                QTextCursor first(doc);
                first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
                first.removeSelectedText();
            }
            break;
        case 18:
            Memo->clear();
            break;
        default:
            cursor.insertText(FromCp1252(reinterpret_cast<const char*>(&c), 1));
            break;
        }
    }
    // The newest text stays in sight.
    Memo->moveCursor(QTextCursor::End);
    Memo->ensureCursorVisible();
}

void TASCII_Display::showEvent(QShowEvent* event)
{
    ApplyPending();
    TTextAreaElement::showEvent(event);
}

void TASCII_Display::WriteWebElement(QStringList& lines)
{
    WriteWebTitle(lines);
    ApplyPending();
    if (!Memo->document()->isEmpty())
        for (QTextBlock block = Memo->document()->begin(); block.isValid(); block = block.next())
        lines << HtmlText(block.text()) + QStringLiteral("</BR>");
    lines << QStringLiteral("</BR>");
}
