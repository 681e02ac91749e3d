// The numeric and the text input of the front panel: what typing, Enter, the button, leaving
// the edit and hotkeys make of the value and how often it is announced; the range the numeric
// input keeps its values in; records and settings.

#include "EntryTestSupport.h"

#include "components/ComponentTestSupport.h"
#include "frontpanel/elements/NumEingabe.h"
#include "frontpanel/elements/StrEdit.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "widgets/SpeedButton.h"

#include <QLineEdit>
#include <QTemporaryDir>

#include <cfloat>
#include <cstring>

namespace {

using NumericInputTest = EntryTest;
using TextInputTest = EntryTest;

// An element whose announcements are counted.
template <class T>
struct TCounted {
    std::unique_ptr<T> e{NewElement<T>(nullptr)};
    int fired = 0;
    TCounted() { e->OnSetWert = [this] { ++fired; }; }
};

} // namespace

TEST_F(NumericInputTest, TypedSequencesGiveTheValueShownBack)
{
    const struct {
        const char* typed;
        double value;
        const char* shown;
    } cases[] = {
        {"3,5\r", 3.5, " 3,5"},
        {"3.5\r", 3.5, " 3,5"},
        {"-12e3\r", -12000, " -12000"},
        {"1,234567891\r", 1.234567891, " 1,2345679"},
        {"abc\r", 0, " 0"},
        {"\r", 0, " 0"},
        // Values the circuit cannot take are brought into the range of a double.
        {"inf\r", DBL_MAX, nullptr},
        {"-inf\r", -DBL_MAX, nullptr},
        {"nan\r", 0, " 0"},
        {"1e999\r", 0, " 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TCounted<TNumEingabe> in;
        in.e->Wert = 9;
        Type(in.e->Edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(in.e->Wert, c.value);
        if (c.shown) {
            EXPECT_EQ(in.e->EditText(), QString::fromLatin1(c.shown));
        }
        EXPECT_EQ(in.e->EditText(), TNumEingabe::ShownText(in.e->Wert)) << "the edit shows what Wert holds";
        EXPECT_EQ(in.fired, 1);
        EXPECT_TRUE(in.e->Accepted);
        EXPECT_FALSE(in.e->Editing());
    }
}

TEST_F(NumericInputTest, FirstKeyStartsANewNumberShownInverseUntilAccepted)
{
    TCounted<TNumEingabe> in;
    in.e->ZeichenFarbe = 0x00FFFF;
    Type(in.e->Edit, QStringLiteral("12\r"));
    ASSERT_EQ(in.e->Wert, 12.0);
    EXPECT_EQ(in.e->Edit->Color(), in.e->HintergrundFarbe);

    SendKey(in.e->Edit, QEvent::KeyPress, Qt::Key_Shift, QString());
    SendKey(in.e->Edit, QEvent::KeyPress, Qt::Key_Left, QString());
    EXPECT_EQ(in.e->EditText(), QStringLiteral(" 12")) << "modifiers and caret keys keep the value";
    Type(in.e->Edit, QStringLiteral("7"));
    EXPECT_EQ(in.e->EditText(), QStringLiteral("7")) << "the accepted text is cleared by the first key";
    EXPECT_TRUE(in.e->Editing());
    EXPECT_EQ(in.e->Edit->Color(), 0xFF0000) << "inverse of the text colour";
    EXPECT_EQ(in.e->Wert, 12.0) << "nothing reaches the value before it is accepted";
    Type(in.e->Edit, QStringLiteral("5"));
    EXPECT_EQ(in.e->EditText(), QStringLiteral("75")) << "later keys extend the number";
    EXPECT_EQ(in.fired, 1);

    // Leaving the edit, a window losing the focus does not.
    QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(in.e->Edit, &deactivated);
    EXPECT_EQ(in.fired, 1);
    Leave(in.e->Edit);
    EXPECT_EQ(in.e->Wert, 75.0);
    EXPECT_EQ(in.fired, 2);
    EXPECT_EQ(in.e->Edit->Color(), in.e->HintergrundFarbe);

    Type(in.e->Edit, QStringLiteral("8"));
    in.e->AcceptButton->click();
    EXPECT_EQ(in.e->Wert, 8.0);
    EXPECT_EQ(in.fired, 3);
}

TEST_F(NumericInputTest, StartValueHotkeysAndWebAnnounceTwice)
{
    TCounted<TNumEingabe> in;
    in.e->Vorgabe = 2.5;
    std::vector<double> seen;
    in.e->OnSetWert = [&] { seen.push_back(in.e->Wert); };
    in.e->ApplyStartValue();
    EXPECT_EQ(seen, (std::vector<double>{2.5, 2.5})) << "the handler sees Wert already set";

    Type(in.e->Edit, QStringLiteral("9\r"));
    seen.clear();
    PressHotkey(*in.e, 0, 1);  // "= NUL"
    EXPECT_EQ(seen, (std::vector<double>{0, 0}));
    seen.clear();
    PressHotkey(*in.e, 4, 2);  // "= RST"
    EXPECT_EQ(seen, (std::vector<double>{2.5, 2.5}));
    EXPECT_EQ(in.e->EditText(), QStringLiteral(" 2,5"));

    seen.clear();
    in.e->WebSubmit(QStringLiteral("-inf"));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], -DBL_MAX);
    EXPECT_EQ(seen[1], -1.7976931e308) << "then as the edit shows it";
}

TEST_F(NumericInputTest, RecordRoundTripAndOlderBevel)
{
    auto a = std::unique_ptr<TNumEingabe>(NewElement<TNumEingabe>(nullptr));
    a->resize(120, 30);
    a->Vorgabe = -0.125;
    a->ZeichenFarbe = 0x123456;
    a->SetHintergrundFarbe(0x654321);
    a->BevelWidth = 3;
    const QByteArray bytes = Streamed(*a);
    // Start value as 8 raw bytes, then the two colours as 4 raw bytes each, at the end.
    double stored = 0;
    std::memcpy(&stored, bytes.constData() + bytes.size() - 16, 8);
    EXPECT_EQ(stored, -0.125);
    int32_t colours[2];
    std::memcpy(colours, bytes.constData() + bytes.size() - 8, 8);
    EXPECT_EQ(colours[0], 0x654321);
    EXPECT_EQ(colours[1], 0x123456);

    bool usedUp = false;
    auto b = ReadBack<TNumEingabe>(bytes, 44, &usedUp);
    EXPECT_TRUE(usedUp);
    EXPECT_EQ(b->size(), QSize(120, 30));
    EXPECT_EQ(b->Vorgabe, -0.125);
    EXPECT_EQ(b->ZeichenFarbe, 0x123456);
    EXPECT_EQ(b->HintergrundFarbe, 0x654321);
    EXPECT_EQ(b->Edit->Color(), 0x654321);
    EXPECT_EQ(b->EditText(), QStringLiteral(" -0,125"));
    EXPECT_EQ(b->BevelWidth, 3);
    EXPECT_EQ(ReadBack<TNumEingabe>(RecordBefore43(*a), 42)->BevelWidth, 2) << "older projects: one pixel narrower";

    // A stored start value that is no finite number is taken into the range.
    QByteArray odd = bytes;
    const double inf = std::numeric_limits<double>::infinity();
    std::memcpy(odd.data() + odd.size() - 16, &inf, 8);
    EXPECT_EQ(ReadBack<TNumEingabe>(odd)->Vorgabe, DBL_MAX);
}

TEST_F(NumericInputTest, SettingsAcceptInBothModes)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.EST")));
    TCounted<TNumEingabe> in;
    in.e->ElementName = QStringLiteral("NE1");
    Type(in.e->Edit, QStringLiteral("4,75\r"));
    in.e->SaveSettings(ini, QStringLiteral("P"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("P.NE1"), QStringLiteral("Value"), QString()), QStringLiteral(" 4,75"));

    TCounted<TNumEingabe> other;
    other.e->ElementName = QStringLiteral("NE1");
    Type(other.e->Edit, QStringLiteral("1\r"));
    Type(other.e->Edit, QStringLiteral("6"));  // typed, not accepted
    other.fired = 0;
    EXPECT_TRUE(other.e->LoadSettings(ini, QStringLiteral("P"), true));
    EXPECT_EQ(other.e->Wert, 6.0) << "check mode accepts the edit's text";
    EXPECT_EQ(other.fired, 1);
    EXPECT_TRUE(other.e->LoadSettings(ini, QStringLiteral("P"), false));
    EXPECT_EQ(other.e->Wert, 4.75);
    EXPECT_EQ(other.fired, 3);
    EXPECT_FALSE(other.e->LoadSettings(ini, QStringLiteral("Q"), true));

    ini.WriteString(QStringLiteral("P.NE1"), QStringLiteral("Value"), QStringLiteral("-inf"));
    other.e->LoadSettings(ini, QStringLiteral("P"), false);
    EXPECT_EQ(other.e->Wert, -DBL_MAX);
}

TEST_F(NumericInputTest, DialogReReadsTheStartValueEvenOnCancel)
{
    for (int result : {int(mrOk), int(mrCancel)}) {
        TCounted<TNumEingabe> in;
        in.e->Vorgabe = 1.234567891;
        in.e->ZeichenFarbe = 0x111111;
        TScopedDialogResponder responder;
        QStringList captions;
        responder.Answer([&](QDialog& d) {
            captions = RowCaptions(d);
            return result;
        });
        EXPECT_EQ(in.e->EditProperties(), result);
        EXPECT_EQ(in.e->Vorgabe, 1.2345679);
        EXPECT_EQ(responder.Titles(), QStringList{QStringLiteral("Numerische Eingabe")});
        EXPECT_EQ(captions.mid(0, 3), (QStringList{"Farbe", "Hintergrund", "Vorgabe"}));
        EXPECT_EQ(captions.mid(4, 5), (QStringList{"Hotkey 1", "Hotkey 2", "Hotkey 3", "Hotkey 4", "Hotkey 5"}));
        EXPECT_EQ(captions.size(), 11) << captions.join(u'|').toStdString();
    }
}

TEST_F(TextInputTest, TypingEditsTheTextAsItStands)
{
    TCounted<TFP_Str_Edit> in;
    in.e->Vorgabe = QStringLiteral("Hallo");
    in.e->ApplyStartValue();
    EXPECT_EQ(in.e->Wert, QStringLiteral("Hallo"));
    EXPECT_EQ(in.fired, 2);

    in.fired = 0;
    in.e->Edit->SetCaretPos(6);
    Type(in.e->Edit, QStringLiteral(" Welt"));
    EXPECT_EQ(in.e->EditText(), QStringLiteral("Hallo Welt")) << "not cleared first";
    EXPECT_TRUE(in.e->Editing());
    EXPECT_EQ(in.e->Wert, QStringLiteral("Hallo"));
    Leave(in.e->Edit);
    EXPECT_EQ(in.e->Wert, QStringLiteral("Hallo Welt"));
    EXPECT_EQ(in.fired, 1) << "leaving accepts once";

    Type(in.e->Edit, QStringLiteral("!\r"));
    EXPECT_EQ(in.e->Wert, QStringLiteral("Hallo Welt!"));
    EXPECT_EQ(in.fired, 2);

    in.fired = 0;
    PressHotkey(*in.e, 1, 1);  // "= CLR"
    EXPECT_TRUE(in.e->Wert.isEmpty());
    EXPECT_TRUE(in.e->EditText().isEmpty());
    EXPECT_EQ(in.fired, 2);
    PressHotkey(*in.e, 2, 2);  // "= RST"
    EXPECT_EQ(in.e->Wert, QStringLiteral("Hallo"));

    in.e->WebSubmit(QStringLiteral("a&b=c"));
    EXPECT_EQ(in.e->Wert, QStringLiteral("a&b=c"));
}

TEST_F(TextInputTest, SettingsHoldTheAcceptedTextAndRecordTheStartText)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.EST")));
    TCounted<TFP_Str_Edit> in;
    in.e->ElementName = QStringLiteral("$EDT1");
    Type(in.e->Edit, QStringLiteral("abc\r"));
    Type(in.e->Edit, QStringLiteral("d"));  // typed, not accepted
    in.e->SaveSettings(ini, QStringLiteral("P"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("P.$EDT1"), QStringLiteral("Value"), QString()), QStringLiteral("abc"));

    in.fired = 0;
    EXPECT_TRUE(in.e->LoadSettings(ini, QStringLiteral("P"), true));
    EXPECT_EQ(in.e->Wert, QStringLiteral("abcd")) << "check mode accepts the edit's text";
    EXPECT_EQ(in.fired, 1);
    EXPECT_TRUE(in.e->LoadSettings(ini, QStringLiteral("P"), false));
    EXPECT_EQ(in.e->Wert, QStringLiteral("abc"));

    in.e->Vorgabe = QStringLiteral("Größe: 3 m");
    in.e->resize(200, 25);
    in.e->ZeichenFarbe = 0x0000FF;
    in.e->BevelWidth = 1;
    const QByteArray bytes = Streamed(*in.e);
    bool usedUp = false;
    auto b = ReadBack<TFP_Str_Edit>(bytes, 44, &usedUp);
    EXPECT_TRUE(usedUp);
    EXPECT_EQ(b->Vorgabe, QStringLiteral("Größe: 3 m"));
    EXPECT_EQ(b->EditText(), QStringLiteral("Größe: 3 m"));
    EXPECT_EQ(b->size(), QSize(200, 25));
    EXPECT_EQ(b->ZeichenFarbe, 0x0000FF);
    EXPECT_TRUE(b->Wert.isEmpty()) << "the value is not stored";
    EXPECT_EQ(ReadBack<TFP_Str_Edit>(RecordBefore43(*in.e), 42)->BevelWidth, 0);
}

TEST_F(TextInputTest, PublishedFormEscapesTheText)
{
    TCounted<TFP_Str_Edit> in;
    in.e->ElementName = QStringLiteral("$EDT1");
    in.e->QualifiedName = QStringLiteral("MainModul.Frontplatte.$EDT1");
    Type(in.e->Edit, QStringLiteral("<b>\"x\"</b>\r"));
    QStringList lines;
    in.e->WriteWebElement(lines);
    const QString page = lines.join(u'\n');
    EXPECT_TRUE(page.contains(QStringLiteral("type=\"text\" size=\"30\" maxlength=\"30\" Value=\"&lt;b&gt;&quot;x&quot;&lt;/b&gt;\">")))
        << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("<input type=\"submit\" value=\"Absenden\">")));
    EXPECT_FALSE(page.contains(QStringLiteral("<b>")));

    // The snapshot: the picture with one area over the whole element that refreshes it.
    in.e->resize(160, 21);
    lines.clear();
    in.e->WriteWebSnapshot(lines);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("<img src=\"/TempFiles/"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("usemap=\"#")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("<area shape=\"rect\" coords=\"0,0,160,21\"")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("Action=1")));
    EXPECT_EQ(lines[3], QStringLiteral("</map>"));
}
