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
    return Memo->document()->blockCount();
}

void TASCII_Display::PutChar(uint8_t c)
{
    QTextDocument* doc = Memo->document();
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    switch (c) {
    case 7:
        QApplication::beep();
        return;
    case 8:
        if (cursor.positionInBlock() > 0)
            cursor.deletePreviousChar();
        break;
    case 10:
        return;
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
        return;
    default:
        cursor.insertText(FromCp1252(reinterpret_cast<const char*>(&c), 1));
        break;
    }
    // The newest text stays in sight.
    Memo->moveCursor(QTextCursor::End);
    Memo->ensureCursorVisible();
}

void TASCII_Display::WriteWebElement(QStringList& lines)
{
    WriteWebTitle(lines);
    if (!Memo->document()->isEmpty())
        for (QTextBlock block = Memo->document()->begin(); block.isValid(); block = block.next())
        lines << HtmlText(block.text()) + QStringLiteral("</BR>");
    lines << QStringLiteral("</BR>");
}
