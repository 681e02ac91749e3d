// The selection list, the character display and the keyboard of the front panel: hotkey steps
// through the list, settings and web submissions kept to the entries, the list's height,
// records; the character display's control codes and line limit; the keyboard's code, held
// flag and clearing.

#include "EntryTestSupport.h"

#include "frontpanel/elements/AsciiDisplay.h"
#include "frontpanel/elements/Auswahlliste.h"
#include "frontpanel/elements/Tastatur.h"
#include "platform/Colors.h"
#include "platform/IniFile.h"
#include "widgets/ComboBox.h"
#include "widgets/Memo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>

namespace {

using SelectionListTest = EntryTest;
using TextAreaTest = EntryTest;

std::unique_ptr<TAuswahlliste> ListOf(const QStringList& items)
{
    std::unique_ptr<TAuswahlliste> list(NewElement<TAuswahlliste>(nullptr));
    list->SetItems(items);
    return list;
}

} // namespace

TEST(ListActionIndex, StepsStayInsideTheList)
{
    const struct {
        int action, index, count, start, expected;
    } cases[] = {
        {1, 2, 4, 0, 0},  {2, 0, 4, 0, 3},  {3, 0, 4, 2, 2},  {4, 1, 4, 0, 2},
        {4, 3, 4, 0, 3},  // INC on the last entry keeps it
        {5, 2, 4, 0, 1},
        {5, 0, 4, 0, 0},  // DEC on the first entry keeps it
        {4, -1, 4, 0, 0}, {0, 2, 4, 0, 2}, {1, -1, 0, 0, -1},
        {2, -1, 0, 0, -1},  // MAX on an empty list: nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListActionIndex(c.action, c.index, c.count, c.start), c.expected)
            << c.action << " " << c.index << " " << c.count;
}

TEST_F(SelectionListTest, HotkeysSettingsAndWebKeepToTheEntries)
{
    auto list = ListOf({"rot", "grün", "blau"});
    list->Vorgabe = 1;
    list->ApplyStartValue();
    EXPECT_EQ(list->Auswahl, 1);
    EXPECT_EQ(list->ShownText(), QStringLiteral("grün"));
    PressHotkey(*list, 0, 4);  // INC
    PressHotkey(*list, 0, 4);
    EXPECT_EQ(list->Auswahl, 2);
    PressHotkey(*list, 9, 1);  // MIN
    EXPECT_EQ(list->Auswahl, 0);

    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.EST")));
    list->ElementName = QStringLiteral("LI1");
    list->Select(2);
    list->SaveSettings(ini, QStringLiteral("P"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("P.LI1"), QStringLiteral("Value"), -9), 2);
    list->Select(0);
    EXPECT_TRUE(list->LoadSettings(ini, QStringLiteral("P"), true));
    EXPECT_EQ(list->Auswahl, 0) << "check mode changes nothing";
    EXPECT_TRUE(list->LoadSettings(ini, QStringLiteral("P"), false));
    EXPECT_EQ(list->Auswahl, 2);
    ini.WriteInteger(QStringLiteral("P.LI1"), QStringLiteral("Value"), 7);
    list->LoadSettings(ini, QStringLiteral("P"), false);
    EXPECT_EQ(list->Auswahl, -1) << "an index beyond the entries leaves none";
    EXPECT_TRUE(list->ShownText().isEmpty());

    // Submissions that are no index of an entry are ignored.
    list->Select(1);
    for (const char* bad : {"3", "-1", "x", ""})
        list->WebSubmit(QString::fromLatin1(bad));
    EXPECT_EQ(list->Auswahl, 1);
    list->WebSubmit(QStringLiteral("2"));
    EXPECT_EQ(list->Auswahl, 2);

    // The operator picks in the list itself.
    list->Liste->setCurrentIndex(0);
    EXPECT_EQ(list->Auswahl, 0);
}

TEST_F(SelectionListTest, HeightFollowsTheListAndRecordRoundTrips)
{
    auto list = ListOf({"a", "b"});
    const int h = list->height();
    EXPECT_EQ(h, list->Liste->height() + 2 * list->FrameWidth());
    list->resize(150, h + 40);
    EXPECT_EQ(list->size(), QSize(150, h)) << "only the width may change";
    EXPECT_FALSE(list->GetBisteVSkalierbar());

    list->SetItems({"eins", "zwei", "<drei>"});
    list->SetZeichenFarbe(0x0000FF);
    list->SetHintergrundFarbe(0x00FFFF);
    list->Vorgabe = 2;
    bool usedUp = false;
    auto copy = ReadBack<TAuswahlliste>(Streamed(*list), 44, &usedUp);
    EXPECT_TRUE(usedUp);
    EXPECT_EQ(copy->Items(), (QStringList{"eins", "zwei", "<drei>"}));
    EXPECT_EQ(copy->ZeichenFarbe, 0x0000FF);
    EXPECT_EQ(copy->HintergrundFarbe, 0x00FFFF);
    EXPECT_EQ(copy->Vorgabe, 2);
    EXPECT_EQ(copy->Auswahl, 2) << "reading selects the start entry";

    copy->ElementName = QStringLiteral("LI1");
    QStringList lines;
    copy->WriteWebElement(lines);
    const QString page = lines.join(u'\n');
    EXPECT_TRUE(page.contains(QStringLiteral("color:#FF0000;BACKGROUND-COLOR:#FFFF00\" name=\"")));
    EXPECT_TRUE(page.contains(QStringLiteral("\" Value=\"&lt;drei&gt;\">")));
    EXPECT_TRUE(page.contains(QStringLiteral("<option VALUE=\"2\"selected>&lt;drei&gt;")));
    EXPECT_TRUE(page.contains(QStringLiteral("<option VALUE=\"0\">eins")));
}

TEST_F(TextAreaTest, CharacterDisplayControlCodes)
{
    std::unique_ptr<TASCII_Display> d(NewElement<TASCII_Display>(nullptr));
    const struct {
        std::vector<uint8_t> codes;
        const char* text;  // lines joined by "\n"
    } cases[] = {
        {{'H', 'i', 13, 8}, "Hi\n"},  // 8 on the empty last line changes nothing
        {{'a', 'b', 8, 'c'}, "ac"},
        {{10, 10}, ""},               // a line feed never makes a line
        {{'x', 7, 'y'}, "xy"},        // a beep leaves the text
        {{'a', 13, 'b', 18, 'c'}, "c"},
        {{'\t', 0xE4, 0x80}, "\tä€"},  // Windows-1252
    };
    for (const auto& c : cases) {
        d->ClearText();
        for (uint8_t code : c.codes)
            d->PutChar(code);
        EXPECT_EQ(d->Text(), QString::fromUtf8(c.text)) << c.text;
    }

    d->ClearText();
    d->PutChar('A');
    for (int i = 0; i < 501; ++i)
        d->PutChar(13);
    d->PutChar('Z');
    EXPECT_EQ(d->LineCount(), TASCII_Display::kMaxLines);
    const QStringList lines = d->Text().split(u'\n');
    EXPECT_TRUE(lines.value(0).isEmpty()) << "the oldest line went first";
    EXPECT_EQ(lines.value(499), QStringLiteral("Z"));

    d->ClearText();
    PressHotkey(*d, 0, 1);
    d->PutChar('q');
    PressHotkey(*d, 0, 1);  // "= CLR"
    EXPECT_TRUE(d->Text().isEmpty());
}

// Characters put in a step reach the text area at the next tick, or when the display is
// shown again; a hidden display keeps them until then.
TEST_F(TextAreaTest, CharacterDisplayWritesAtTheTickOrWhenShown)
{
    QWidget page;
    auto* d = NewElement<TASCII_Display>(&page);
    page.show();
    d->PutChar('O');
    d->PutChar('K');
    EXPECT_TRUE(d->Memo->toPlainText().isEmpty()) << "not in the step";
    QElapsedTimer waited;
    waited.start();
    while (d->Memo->toPlainText().isEmpty() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(d->Memo->toPlainText(), QStringLiteral("OK"));

    page.hide();
    d->PutChar('!');
    d->PutChar(13);
    EXPECT_EQ(d->Memo->toPlainText(), QStringLiteral("OK"));
    page.show();
    EXPECT_EQ(d->Memo->toPlainText(), QStringLiteral("OK!\n"));
}

TEST_F(TextAreaTest, KeyboardKeepsCodeAndHeldFlag)
{
    std::unique_ptr<TTastatur> k(NewElement<TTastatur>(nullptr));
    SendKey(k->Field, QEvent::KeyPress, Qt::Key_A, QStringLiteral("A"));
    EXPECT_EQ(k->Zeichen, 65);
    EXPECT_TRUE(k->Gedrueckt);
    SendKey(k->Field, QEvent::KeyRelease, Qt::Key_A, QStringLiteral("A"), true);
    EXPECT_TRUE(k->Gedrueckt) << "the release of an auto-repeat keeps it held";
    SendKey(k->Field, QEvent::KeyRelease, Qt::Key_A, QStringLiteral("A"));
    EXPECT_FALSE(k->Gedrueckt);
    EXPECT_EQ(k->Zeichen, 65);
    SendKey(k->Field, QEvent::KeyPress, Qt::Key_Shift, QString());
    EXPECT_EQ(k->Zeichen, 65) << "a key without a character types nothing";
    EXPECT_FALSE(k->Gedrueckt);

    Type(k->Field, QStringLiteral("ä\r"));
    EXPECT_EQ(k->Zeichen, 13);
    EXPECT_EQ(k->Text(), QStringLiteral("Aä\n"));
    PressHotkey(*k, 3, 1);  // "= CLR"
    EXPECT_TRUE(k->Text().isEmpty());
    EXPECT_EQ(k->Zeichen, 13) << "clearing keeps the last code";

    // The stored code is a byte.
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.EST")));
    k->ElementName = QStringLiteral("KB1");
    k->SaveSettings(ini, QStringLiteral("P"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("P.KB1"), QStringLiteral("Value"), -1), 13);
    for (const auto& [stored, code] : {std::pair{300, 255}, {-4, 0}, {97, 97}}) {
        ini.WriteInteger(QStringLiteral("P.KB1"), QStringLiteral("Value"), stored);
        EXPECT_TRUE(k->LoadSettings(ini, QStringLiteral("P"), false));
        EXPECT_EQ(k->Zeichen, code) << stored;
    }
}

TEST_F(TextAreaTest, RecordsKeepSizeFontAndColours)
{
    std::unique_ptr<TASCII_Display> d(NewElement<TASCII_Display>(nullptr));
    d->resize(200, 90);
    QFont font(QStringLiteral("Courier New"));
    TFP_Element::SetFontHeight(font, -13);
    font.setItalic(true);
    font.setUnderline(true);
    d->Memo->setFont(font);
    d->SetAreaFontColor(0x112233);
    d->SetHintergrundFarbe(0x445566);
    bool usedUp = false;
    auto copy = ReadBack<TASCII_Display>(Streamed(*d), 44, &usedUp);
    EXPECT_TRUE(usedUp);
    EXPECT_EQ(copy->size(), QSize(200, 90));
    EXPECT_EQ(copy->Memo->font().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(TFP_Element::FontHeightOf(copy->Memo->font()), -13);
    EXPECT_TRUE(copy->Memo->font().italic());
    EXPECT_TRUE(copy->Memo->font().underline());
    EXPECT_FALSE(copy->Memo->font().bold());
    EXPECT_EQ(copy->AreaFontColor(), 0x112233);
    EXPECT_EQ(copy->HintergrundFarbe, 0x445566);
    EXPECT_EQ(copy->Memo->palette().color(QPalette::Base), TColorToQColor(0x445566));
    EXPECT_EQ(copy->Memo->palette().color(QPalette::Text), TColorToQColor(0x112233));

    // A system colour (negative) is kept out of the font; the keyboard reads the same record.
    d->SetAreaFontColor(-16);
    auto keyboard = ReadBack<TTastatur>(Streamed(*d));
    EXPECT_EQ(keyboard->AreaFontColor(), 0);
    EXPECT_EQ(keyboard->HintergrundFarbe, 0x445566);
    EXPECT_EQ(keyboard->size(), QSize(200, 90));
}
