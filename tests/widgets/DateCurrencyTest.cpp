#include "platform/Clock.h"
#include "platform/LocaleFormats.h"
#include "widgets/CurrencySettings.h"
#include "widgets/DateFormat.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class DateFormatTest : public ::testing::Test {
protected:
    TScopedFakeClock clock;   // "this year" is 2026
};

std::unique_ptr<TWLXDateFormat> Custom(const char* format, int yearDelta = -1)
{
    auto f = std::make_unique<TWLXDateFormat>();
    f->SetFormat(TWLXDateFormats::dfCustom);
    f->SetFormatStr(QString::fromUtf8(format));
    f->YearDelta = yearDelta;
    return f;
}

} // namespace

TEST_F(DateFormatTest, ShowsDatesInTheLocalesAndCustomFormats)
{
    struct Case {
        const char* locale;
        TWLXDateFormats kind;
        const char* format;
        QDate date;
        const char* shown;
        const char* fixed;
    } cases[] = {
        {"de_DE", TWLXDateFormats::dfCustom, "dd/mm/yyyy", {2026, 12, 9}, "09.12.2026", "09.12.2026"},
        {"en_US", TWLXDateFormats::dfCustom, "d. mmmm yy", {2026, 12, 9}, "9. December 26", "9 . December  26"},
        {"en_US", TWLXDateFormats::dfCustom, "ddd d/m/y t", {2026, 12, 9}, "Wed 9/12/2026 T", "Wed 9 /12/2026 t"},
        {"de_DE", TWLXDateFormats::dfCustom, "d. mmmm yyyy", {2026, 5, 9}, "9. Mai 2026", "9 . Mai       2026"},
        {"de_DE", TWLXDateFormats::dfCustom, "ddddd.mmmmm.yyy", {2026, 5, 9}, "..", "9 .5 .2026"},
        {"de_DE", TWLXDateFormats::dfShortSystem, "", {2026, 1, 31}, "31.01.2026", "31.01.2026"},
        {"de_DE", TWLXDateFormats::dfLongSystem, "", {2026, 12, 9}, "Mittwoch, 9. Dezember 2026",
         "Mittwoch  , 9 . Dezember  2026"},
        {"en_US", TWLXDateFormats::dfShortSystem, "", {2026, 12, 9}, "12/9/2026", "12/9 /2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        TScopedLocaleFormats locale{QString::fromLatin1(c.locale)};
        const auto f = Custom(c.format);
        f->SetFormat(c.kind);
        EXPECT_EQ(f->FormatDateText(c.date), QString::fromUtf8(c.shown));
        EXPECT_EQ(f->FormatDateFixed(c.date), QString::fromUtf8(c.fixed));
    }
}

TEST_F(DateFormatTest, ReadsDatesWithTheYearWindowAndPullsFebruaryBack)
{
    TScopedLocaleFormats locale{QStringLiteral("de_DE")};
    struct Case {
        const char* format;
        int window;
        const char* text;
        QDate date;
    } cases[] = {
        {"d.m.yy", 50, "1.1.30", {2030, 1, 1}},
        {"d.m.yy", 50, "1.1.70", {1970, 1, 1}},
        {"d.m.yy", 20, "1.1.30", {1930, 1, 1}},
        {"dd.mm.yyyy", -1, "31.02.2025", {2025, 2, 28}},
        {"dd.mm.yyyy", -1, "30.02.2024", {2024, 2, 29}},
        {"dd.mm.yyyy", -1, " 9 . 12.2026", {2026, 12, 9}},
        {"d. mmmm yyyy", -1, "9. März 2026", {2026, 3, 9}},
        {"d. mmm yyyy", -1, "9. dez 2026", {2026, 12, 9}},
        {"dddd, d.m.yyyy", -1, "Montag, 4.5.2026", {2026, 5, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Custom(c.format, c.window)->TextToDate(QString::fromUtf8(c.text)), c.date);
    }
    for (const char* bad : {"31.04.2025", "1.13.2025", "1.1.", "x"}) {
        SCOPED_TRACE(bad);
        try {
            Custom("dd.mm.yyyy")->TextToDate(QString::fromUtf8(bad));
            ADD_FAILURE() << "no error";
        } catch (const EWLXDateError& e) {
            EXPECT_STREQ(e.what(), "Invalid date format!");
        }
    }
}

TEST_F(DateFormatTest, FieldMapWalksTheShownText)
{
    TScopedLocaleFormats locale{QStringLiteral("de_DE")};
    const auto owned = Custom("dd.mm.yyyy");
    const TWLXDateFormat& numbers = *owned;
    const QString text = QStringLiteral("09.12.2026");
    struct Field {
        int kind, start, end;
    } expected[] = {{2, 1, 3}, {12, 4, 6}, {24, 7, 11}, {0, 0, 0}};
    for (int n = 1; n <= 4; ++n) {
        const TWLXDateField f = numbers.FieldInfo(n, text);
        EXPECT_EQ(f.kind, expected[n - 1].kind) << n;
        EXPECT_EQ(f.start, expected[n - 1].start) << n;
        EXPECT_EQ(f.end, expected[n - 1].end) << n;
    }
    struct Query {
        int pos, at, start, length, prev, next;
    } queries[] = {
        {1, 1, 1, 2, 1, 4}, {3, 1, 1, 2, 1, 4}, {5, 2, 4, 2, 1, 7}, {11, 3, 7, 4, 4, 7}, {12, 0, 0, 0, 1, 7},
    };
    for (const Query& q : queries) {
        SCOPED_TRACE(q.pos);
        EXPECT_EQ(numbers.FieldAt(q.pos, text), q.at);
        EXPECT_EQ(numbers.FieldStart(q.pos, text), q.start);
        EXPECT_EQ(numbers.FieldLength(q.pos, text), q.length);
        EXPECT_EQ(numbers.PrevFieldStart(q.pos, text), q.prev);
        EXPECT_EQ(numbers.NextFieldStart(q.pos, text), q.next);
    }
    // Names are found in the padded editing form; the blanks after them belong to no field.
    const auto ownedNames = Custom("d. mmmm yyyy");
    const TWLXDateFormat& names = *ownedNames;
    const QString fixed = names.FormatDateFixed(QDate(2026, 5, 9));
    EXPECT_EQ(names.FieldInfo(2, fixed).kind, 14);
    EXPECT_EQ(names.FieldLength(5, fixed), 3);
    EXPECT_EQ(names.FieldAt(10, fixed), -1);
    EXPECT_EQ(names.FieldKind(fixed.size() - 1, fixed), 24);
}

TEST(DateFormat, NotifiesChangesOfTheFormatInUse)
{
    TWLXDateFormat f;
    int changes = 0, changing = 0;
    f.OnChange = [&](void*) { ++changes; };
    f.OnChanging = [&](void*) { ++changing; };
    f.SetFormatStr(QStringLiteral("d.m.y"));   // not in use yet
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(changing, 1);
    f.SetFormat(TWLXDateFormats::dfCustom);
    f.SetFormat(TWLXDateFormats::dfCustom);
    f.SetFormatStr(QStringLiteral("d.m.yy"));
    EXPECT_EQ(changes, 2);
    TWLXDateFormat copy;
    copy.Assign(f);
    EXPECT_EQ(copy.GetFormatString(), QStringLiteral("d.m.yy"));
}

TEST(CurrencySettings, FormatsAmountsByPatternCuttingDecimals)
{
    TScopedLocaleFormats locale{QStringLiteral("en_US")};
    TWLXCurrencySettings user;
    user.SetSystemDefaults(TWLXCurrencyMode::cmUser);
    user.DecimalDigits = 2;
    user.GroupSize = 3;
    user.ThousandSeparator = u'.';
    user.DecimalSeparator = u',';
    user.SetPositiveFormatStr(QStringLiteral("1,1"));
    user.SetNegativeFormatStr(QStringLiteral("-1,1"));
    EXPECT_EQ(user.FormatCurrency(12345678), QStringLiteral("1.234,56"));
    EXPECT_EQ(user.FormatCurrency(-12345678), QStringLiteral("-1.234,56"));
    EXPECT_EQ(user.FormatCurrency(1234567890000), QStringLiteral("123.456.789,00"));
    user.DecimalDigits = 0;
    EXPECT_EQ(user.FormatCurrency(19999), QStringLiteral("1"));

    struct Case {
        const char* locale;
        int64_t value;
        bool negativeZero;
        const char* text;
        int numberAt;
    } cases[] = {
        {"de_DE", 12345600, false, "1.234,56 €", 1},
        {"de_DE", -5000, false, "-0,50 €", 2},
        {"de_DE", 0, false, "0,00 €", 1},
        {"de_DE", 0, true, "-0,00 €", 1},
        {"en_US", -12345600, false, "($1,234.56)", 3},
        {"en_US", 10000, false, "$1.00", 2},
        {"en_GB", -10000, false, "-£1.00", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TScopedLocaleFormats in{QString::fromLatin1(c.locale)};
        TWLXCurrencySettings s;
        const QString text = s.FormatCurrency(c.value, c.negativeZero);
        EXPECT_EQ(text, QString::fromUtf8(c.text));
        EXPECT_EQ(s.TextToCurrency(text), c.value);
        EXPECT_EQ(s.NumberPosition(c.value), c.numberAt);
    }
}

TEST(CurrencySettings, ReadsAmountsAndNeverFails)
{
    TScopedLocaleFormats locale{QStringLiteral("de_DE")};
    TWLXCurrencySettings s;
    struct Case {
        const char* text;
        int64_t value;
    } cases[] = {
        {"", 0}, {"abc", 0}, {"€", 0}, {"12", 120000}, {"1.234,5", 12345000}, {"--3", 30000},
        {"-3 €", -30000}, {"(3)", -30000}, {"99999999999999999999", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(s.TextToCurrency(QString::fromUtf8(c.text)), c.value);
    }
}

TEST(CurrencySettings, FollowsTheLocaleUntilSetByTheUser)
{
    TScopedLocaleFormats locale{QStringLiteral("de_DE")};
    TWLXCurrencySettings a;
    int changes = 0;
    a.OnChange = [&](void*) { ++changes; };
    a.SetSymbol(QStringLiteral("EUR"));
    EXPECT_EQ(a.SystemDefaults(), TWLXCurrencyMode::cmSystem);   // a setter does not switch it
    a.SetSystemDefaults(TWLXCurrencyMode::cmUser);
    a.SetSystemDefaults(TWLXCurrencyMode::cmSystem);
    EXPECT_EQ(a.Symbol(), QStringLiteral("€"));
    EXPECT_EQ(changes, 2);

    TWLXCurrencySettings user;
    user.SetSystemDefaults(TWLXCurrencyMode::cmUser);
    user.SetSymbol(QStringLiteral("CHF"));
    user.GroupSize = 4;
    a.Assign(user);
    EXPECT_EQ(a.Symbol(), QStringLiteral("CHF"));
    EXPECT_EQ(a.GroupSize, 3);   // the group size is not taken
}
