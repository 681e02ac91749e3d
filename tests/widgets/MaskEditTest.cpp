#include "platform/Clock.h"
#include "platform/LocaleFormats.h"
#include "widgets/MaskEdit.h"

#include "FocusForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

// A mask edit in the given locale in the year 2026, shown and focused, counting its validation
// errors.
struct Form {
    TScopedLocaleFormats locale;
    TScopedFakeClock clock;
    TFocusForm<TWLXMaskEdit> form;
    TWLXMaskEdit* edit;
    int errors = 0;
    explicit Form(TWLXMaskType kind, const char* localeName = "en_US")
        : locale(QString::fromLatin1(localeName))
        , edit(form.edit)
    {
        edit->setGeometry(5, 5, 160, 21);
        edit->OnValidationError = [this](void*) { ++errors; };
        edit->SetMaskType(kind);
        Focus();
    }
    void Focus() { form.Focus(); }
    void Leave() { form.Leave(); }
};

class MaskEditTest : public ::testing::Test {
protected:
    void SetUp() override { Application().SetEditMode(emInsert); }
    void TearDown() override { Application().SetEditMode(emInsert); }
};

} // namespace

TEST_F(MaskEditTest, NumberKindsFilterWhatIsTyped)
{
    struct Case {
        const char* name;
        TWLXMaskType kind;
        int radix;
        const char* start;
        const char* typed;
        const char* result;
    } cases[] = {
        {"hex digits in either case", TWLXMaskType::mkInteger, 16, "", "afFg1", "afF1"},
        {"minus toggles the sign", TWLXMaskType::mkInteger, 10, "", "12-", "-12"},
        {"minus twice", TWLXMaskType::mkInteger, 10, "", "1--", "1"},
        {"binary", TWLXMaskType::mkUnsigned, 2, "", "10-21", "101"},
        {"a second separator jumps behind the first", TWLXMaskType::mkFloat, 10, "", "1.5.2x", "1.25"},
        {"float minus", TWLXMaskType::mkFloat, 10, "", "2.5-", "-2.5"},
        {"text takes everything", TWLXMaskType::mkText, 10, "", "a-1.", "a-1."},
        {"time digits and separator", TWLXMaskType::mkTime, 10, "", "12:3a0", "12:30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form f(c.kind);
        f.edit->SetRadix(c.radix);
        f.edit->SetText(QString::fromLatin1(c.start));
        QTest::keyClicks(f.edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(f.edit->Text(), QString::fromLatin1(c.result));
    }
}

TEST_F(MaskEditTest, ValuesConvertInTheRadixAndWrongKindsThrow)
{
    Form f(TWLXMaskType::mkInteger);
    f.edit->SetRadix(16);
    f.edit->SetText(QStringLiteral("ff"));
    EXPECT_EQ(f.edit->AsInteger(), 255);
    f.edit->SetValueText(-255);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("-FF"));
    f.edit->SetText(QStringLiteral("fg"));
    EXPECT_EQ(f.edit->AsInteger(), 0);
    EXPECT_EQ(f.errors, 1);

    EXPECT_EQ(RadixTextToInt(QStringLiteral("1z1"), 2), 5);   // a non-digit counts as 0
    EXPECT_EQ(RadixFloatToText(10.05, 16, u'.'), QStringLiteral("A.05"));
    EXPECT_DOUBLE_EQ(RadixTextToFloat(QStringLiteral("A.8"), 16, u'.'), 10.5);
    EXPECT_DOUBLE_EQ(RadixTextToFloat(QStringLiteral("-"), 16, u'.'), 0.0);

    struct Ask {
        TWLXMaskType kind;
        const char* message;
        std::function<void(TWLXMaskEdit&)> ask;
    } asks[] = {
        {TWLXMaskType::mkText, "No integer entered", [](TWLXMaskEdit& e) { e.AsInteger(); }},
        {TWLXMaskType::mkInteger, "No float entered", [](TWLXMaskEdit& e) { e.AsFloat(); }},
        {TWLXMaskType::mkInteger, "No date entered", [](TWLXMaskEdit& e) { e.AsDate(); }},
        {TWLXMaskType::mkDate, "No time entered", [](TWLXMaskEdit& e) { e.AsTime(); }},
    };
    for (const Ask& a : asks) {
        TWLXMaskEdit e;
        e.SetMaskType(a.kind);
        try {
            a.ask(e);
            ADD_FAILURE() << a.message;
        } catch (const EWLXWrongDataType& x) {
            EXPECT_STREQ(x.what(), a.message);
        }
    }
}

TEST_F(MaskEditTest, FixedDecimalsKeepTheirSeparator)
{
    Form f(TWLXMaskType::mkFixed);
    f.edit->SetDecimals(2);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("0.00"));
    // Delete on the separator steps over it, Backspace behind it steps in front of it.
    f.edit->SetCaretPos(2);
    QTest::keyClick(f.edit, Qt::Key_Delete);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("0.00"));
    EXPECT_EQ(f.edit->CaretPos(), 3);
    QTest::keyClick(f.edit, Qt::Key_Backspace);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("0.00"));
    EXPECT_EQ(f.edit->CaretPos(), 2);
    // Typing reformats; a third decimal is dropped; minus keeps a negative zero.
    f.edit->SetCaretPos(1);
    QTest::keyClicks(f.edit, QStringLiteral("12"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("120.00"));
    f.edit->SetCaretPos(5);
    QTest::keyClicks(f.edit, QStringLiteral("5"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("120.50"));
    EXPECT_DOUBLE_EQ(f.edit->AsFloat(), 120.5);
    f.edit->SetText(QStringLiteral("0"));
    QTest::keyClicks(f.edit, QStringLiteral("-"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("-0.00"));
    // Deleting a separator that follows no number puts a zero in front.
    f.edit->SetText(QStringLiteral(".50"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("0.50"));

    Form n(TWLXMaskType::mkNumber, "de_DE");
    n.edit->SetDecimals(2);
    n.edit->SetValueText(1234567.891);
    EXPECT_EQ(n.edit->Text(), QStringLiteral("1.234.567,89"));
    EXPECT_DOUBLE_EQ(n.edit->AsFloat(), 1234567.89);
}

TEST_F(MaskEditTest, CurrencyTakesTheSignAndKeepsTheCaret)
{
    Form f(TWLXMaskType::mkCurrency, "de_DE");
    EXPECT_EQ(f.edit->Text(), QStringLiteral("0,00 €"));
    f.edit->SetValueText(1234.5);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("1.234,50 €"));
    f.edit->SetCaretPos(4);   // behind "1.2"
    QTest::keyClicks(f.edit, QStringLiteral("-"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("-1.234,50 €"));
    EXPECT_EQ(f.edit->CaretPos(), 5);   // still behind "1.2"
    EXPECT_DOUBLE_EQ(f.edit->AsCurrency(), -1234.5);
    QTest::keyClicks(f.edit, QStringLiteral("-"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("1.234,50 €"));

    Form us(TWLXMaskType::mkCurrency, "en_US");
    us.edit->SetValueText(-2);
    EXPECT_EQ(us.edit->Text(), QStringLiteral("($2.00)"));
    us.Leave();
    us.Focus();
    EXPECT_DOUBLE_EQ(us.edit->AsCurrency(), -2.0);   // parentheses read as negative
}

TEST_F(MaskEditTest, SuffixStaysBehindTheValue)
{
    Form f(TWLXMaskType::mkInteger);
    f.edit->SetSuffix(QStringLiteral(" ms"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("0 ms"));
    f.edit->SetCaretPos(2);
    QTest::keyClicks(f.edit, QStringLiteral("5"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("05 ms"));
    f.edit->SetCaretPos(5);
    QTest::keyClicks(f.edit, QStringLiteral("7"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("05 ms"));
    f.edit->SelectAll();
    QTest::keyClick(f.edit, Qt::Key_Delete);
    EXPECT_EQ(f.edit->Text(), QStringLiteral(" ms"));
    QTest::keyClicks(f.edit, QStringLiteral("-"));
    f.Leave();
    EXPECT_EQ(f.edit->Text(), QStringLiteral(" ms"));   // a lone minus is cleared
    f.edit->SetSuffix(QStringLiteral(" s"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral(" s"));
}

TEST_F(MaskEditTest, DateFieldsAreTypedAndSteppedOneByOne)
{
    Form f(TWLXMaskType::mkDate, "de_DE");
    f.edit->DateFormat().SetFormat(TWLXDateFormats::dfCustom);
    f.edit->DateFormat().SetFormatStr(QStringLiteral("dd.mm.yyyy"));
    f.Leave();
    f.edit->SetDateValue(QDate(2026, 1, 31));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("31.01.2026"));
    f.Focus();
    f.edit->SetCaretPos(1);
    EXPECT_EQ(f.edit->SelLength(), 2);   // the day field is selected
    QTest::keyClicks(f.edit, QStringLiteral("35"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("5 .01.2026"));   // 35 is no day
    QTest::keyClick(f.edit, Qt::Key_Right);
    EXPECT_EQ(f.edit->SelStart(), 4);
    QTest::keyClicks(f.edit, QStringLiteral("12"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("5 .12.2026"));
    QTest::keyClicks(f.edit, QStringLiteral("."));
    EXPECT_EQ(f.edit->SelStart(), 7);
    QTest::keyClicks(f.edit, QStringLiteral("2027"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("05.12.2027"));
    EXPECT_EQ(f.edit->SelStart(), 7);
    EXPECT_EQ(f.edit->SelLength(), 4);
    // Up in December's month field gives January of the same year.
    f.edit->SetCaretPos(4);
    QTest::keyClick(f.edit, Qt::Key_Up);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("05.01.2027"));
    QTest::keyClick(f.edit, Qt::Key_Down);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("05.12.2027"));
    QTest::keyClick(f.edit, Qt::Key_Backspace);
    QTest::keyClick(f.edit, Qt::Key_Delete);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("05.12.2027"));
    f.Leave();
    EXPECT_EQ(f.edit->AsDate(), QDate(2027, 12, 5));
    EXPECT_EQ(f.errors, 0);

    // The 31st of January has no month after it: an error, the text stays.
    f.edit->SetDateValue(QDate(2026, 1, 31));
    f.Focus();
    f.edit->SetCaretPos(4);
    QTest::keyClick(f.edit, Qt::Key_Up);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("31.01.2026"));
    EXPECT_EQ(f.errors, 1);
    // The wheel steps the day.
    f.edit->SetCaretPos(1);
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.edit, &wheel);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("01.02.2026"));
}

TEST_F(MaskEditTest, MonthNamesAreTypedAsNumbers)
{
    Form f(TWLXMaskType::mkDate, "de_DE");
    f.edit->DateFormat().SetFormat(TWLXDateFormats::dfCustom);
    f.edit->DateFormat().SetFormatStr(QStringLiteral("d. mmm yyyy"));
    f.Leave();
    f.edit->SetDateValue(QDate(2026, 5, 9));
    f.Focus();
    f.edit->SetCaretPos(5);
    QTest::keyClicks(f.edit, QStringLiteral("12"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("9 . Dez 2026"));
    QTest::keyClicks(f.edit, QStringLiteral("0"));   // no month 0: the field stays
    EXPECT_EQ(f.edit->Text(), QStringLiteral("9 . Dez 2026"));
    f.Leave();
    EXPECT_EQ(f.edit->Text(), QStringLiteral("9. Dez 2026"));
}

TEST_F(MaskEditTest, EditMaskAcceptsItsClassesAndKeepsRequiredPositions)
{
    Form f(TWLXMaskType::mkMask);
    f.edit->SetMask(QStringLiteral("\\(!999\\)\\ 999\\-9999"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("(___) ___-____"));
    f.edit->SetCaretPos(2);
    QTest::keyClicks(f.edit, QStringLiteral("a0"));   // a letter and a zero do not fit a 9
    EXPECT_EQ(f.edit->Text(), QStringLiteral("(___) ___-____"));
    QTest::keyClicks(f.edit, QStringLiteral("12"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("(12_) ___-____"));
    QTest::keyClick(f.edit, Qt::Key_Backspace);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("(1__) ___-____"));
    f.edit->SetText(QStringLiteral("(1x2"));
    EXPECT_EQ(f.edit->Text(), QStringLiteral("(1__) ___-____"));   // rolled back
    // Leaving with the required position empty takes the focus back and selects it.
    f.edit->SetText(QStringLiteral("(___) 555-1234"));
    f.Leave();
    EXPECT_TRUE(f.edit->hasFocus());
    EXPECT_EQ(f.edit->SelStart(), 2);
    EXPECT_EQ(f.edit->SelLength(), 1);

    TWLXEditMask classes(QStringLiteral("0981#*vaAbcxr\\Ly"));
    struct Case {
        int position;
        const char* accepted;
        const char* refused;
    } cases[] = {
        {0, "09", "a+"}, {1, "19", "0"}, {2, "1 ", "x"}, {3, "01", "2"}, {4, "0+-", "a"}, {5, "1-", "0"},
        {6, "+-", "1"}, {7, "a", "A1"}, {8, "A", "a"}, {9, "aZ", "1"}, {10, "a1", "-"}, {11, "x1", "-"},
        {12, "", "a1"}, {13, "L", "l"}, {14, "y", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        for (QChar ch : QString::fromLatin1(c.accepted))
            EXPECT_TRUE(classes.Accepts(c.position, ch, u'_', {})) << ch.toLatin1();
        for (QChar ch : QString::fromLatin1(c.refused))
            EXPECT_FALSE(classes.Accepts(c.position, ch, u'_', {})) << ch.toLatin1();
        EXPECT_TRUE(classes.Accepts(c.position, u'_', u'_', {}));
    }
    EXPECT_TRUE(classes.Accepts(12, u'q', u'_', [](int, QChar ch) { return ch == u'q'; }));
}
