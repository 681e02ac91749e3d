// The byte-sequence dialog: its grid, the preview of the current row, and the language texts.
#include "hardware/HardwareTestSupport.h"

#include "hardware/com/ByteDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

using ByteDlgTest = HardwareFixture;

QStringList Entries()
{
    QStringList entries{QStringLiteral(" Definition")};
    for (int i = 0; i < 256; ++i)
        entries << QString();
    entries[1] = QStringLiteral("\"HALLO\" 13 10");
    entries[3] = QStringList(QStringList(86, QStringLiteral("$41"))).join(QLatin1Char(' '));
    return entries;
}

void TypeInto(QWidget* editor, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(editor, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(editor, &release);
    }
}

} // namespace

TEST_F(ByteDlgTest, PreviewFollowsTheCurrentRow)
{
    TByte_Dlg dialog;
    dialog.SetSequences(Entries());
    EXPECT_EQ(dialog.Grid->rowCount(), 256);
    EXPECT_EQ(dialog.Grid->verticalHeaderItem(255)->text(), QStringLiteral(" $FF"));
    dialog.setMonitor();
    EXPECT_EQ(dialog.MonitorMemo->toPlainText(), QStringLiteral(" 48 41 4C 4C 4F 0D 0A"));
    dialog.Grid->setCurrentCell(1, 0); // an empty row
    EXPECT_EQ(dialog.MonitorMemo->toPlainText(), QString());
    dialog.Grid->setCurrentCell(2, 0); // 86 bytes: 85 shown
    EXPECT_EQ(dialog.MonitorMemo->toPlainText().size(), 255);
    dialog.Grid->item(1, 0)->setText(QStringLiteral("$0D")); // typing in a row
    dialog.Grid->setCurrentCell(1, 0);
    EXPECT_EQ(dialog.MonitorMemo->toPlainText(), QStringLiteral(" 0D"));
    QStringList expected = Entries();
    expected[2] = QStringLiteral("$0D");
    EXPECT_EQ(dialog.Sequences(), expected);
}

TEST_F(ByteDlgTest, PreviewFollowsTypingInACell)
{
    TByte_Dlg dialog;
    dialog.SetSequences(Entries());
    dialog.show();
    dialog.Grid->setCurrentCell(1, 0);
    dialog.Grid->editItem(dialog.Grid->item(1, 0));
    auto* editor = dialog.Grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    TypeInto(editor, QStringLiteral("$4"));
    // The cell still holds the old text; the preview shows what is typed.
    EXPECT_EQ(dialog.Grid->item(1, 0)->text(), QString());
    EXPECT_EQ(dialog.MonitorMemo->toPlainText(), QStringLiteral(" 04"));
    TypeInto(editor, QStringLiteral("1"));
    EXPECT_EQ(dialog.MonitorMemo->toPlainText(), QStringLiteral(" 41"));

    // The corner above the numbers is their column's caption.
    auto* corner = dialog.Grid->findChild<QAbstractButton*>();
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->text(), QStringLiteral(" Nr."));
}

TEST_F(ByteDlgTest, TextsInTheCurrentLanguage)
{
    struct TCase {
        uint8_t language;
        const char* caption;
        const char* preview;
        const char* cancel;
    };
    const TCase cases[] = {{0, "Bytefolgen definieren", "Übertragungsvorschau (HEX)", "&Abbrechen"},
                           {1, "Byte sequences", "Preview [HEX]", "&Cancel"},
                           {2, "Séquence d´octets", "Pré-visualisation [HEX]", "&Annuler"}};
    for (const TCase& c : cases) {
        Ctx().CurrentLanguage = c.language;
        TByte_Dlg dialog;
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(dialog.Monitor->text(), QString::fromUtf8(c.preview));
        EXPECT_EQ(dialog.Button1->text(), QString::fromUtf8(c.cancel));
        EXPECT_EQ(dialog.Memo1->toPlainText().split(QLatin1Char('\n')).size(), 7);
    }
}
