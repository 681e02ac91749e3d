#include "platform/Context.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/NumberFormatDlg.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>

namespace {

using O = TFormatOption;

template <class T>
T* Child(QDialog& dialog, const char* name)
{
    T* child = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TFormat MakeFormat(TFormatOptions options, int digits, int decimals)
{
    TFormat f;
    f.Options = options;
    f.Digits = digits;
    f.Decimals = decimals;
    f.Prefix = QStringLiteral("U=");
    f.Suffix = QStringLiteral(" V");
    f.ShowPlus = true;
    return f;
}

class NumberFormatDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ResetContext(); }
};

TEST_F(NumberFormatDlgTest, EditRoundTripThroughTheDialog)
{
    struct Case {
        const char* name;
        TFormat before;
        std::function<void(QDialog&)> edit;
        TFormatOptions options;
        int digits;
        int decimals;
    };
    const Case cases[] = {
        {"fixed digits change", MakeFormat({O::Fixed}, 3, 2),
         [](QDialog& d) {
             EXPECT_EQ(Child<QSpinBox>(d, "VK")->value(), 3);
             EXPECT_EQ(Child<QSpinBox>(d, "NK")->value(), 2);
             Child<QSpinBox>(d, "VK")->setValue(5);
             Child<QSpinBox>(d, "NK")->setValue(1);
         },
         {O::Fixed}, 5, 1},
        {"OK without changes keeps NoZero beside the plus sign",
         MakeFormat({O::Fixed, O::NoZero}, 3, 2), [](QDialog&) {}, {O::Fixed, O::NoZero}, 3, 2},
        {"hex after fixed keeps NoZero", MakeFormat({O::Fixed, O::NoZero}, 3, 2),
         [](QDialog& d) {
             EXPECT_TRUE(Child<QCheckBox>(d, "Zero")->isChecked());
             Child<QRadioButton>(d, "HexBtn")->click();
             Child<QSpinBox>(d, "fStellen")->setValue(6);
         },
         {O::Hexadecimal, O::NoZero}, 6, 2},
        {"float to expo", MakeFormat({O::Float}, 7, 1),
         [](QDialog& d) {
             EXPECT_EQ(Child<QSpinBox>(d, "fStellen")->value(), 7);
             Child<QRadioButton>(d, "ExpBtn")->click();
             Child<QSpinBox>(d, "fStellen")->setValue(8);
         },
         {O::Expo}, 8, 1},
        {"unformatted stores no digit counts", MakeFormat({O::Float}, 7, 1),
         [](QDialog& d) {
             Child<QSpinBox>(d, "fStellen")->setValue(9);
             Child<QSpinBox>(d, "VK")->setValue(9);
             Child<QRadioButton>(d, "UnformBtn")->click();
         },
         {O::Unformatted}, 7, 1},
        {"fixed to binary drops NoZero when unchecked", MakeFormat({O::Fixed, O::NoZero}, 4, 3),
         [](QDialog& d) {
             Child<QCheckBox>(d, "Zero")->click();
             Child<QRadioButton>(d, "BinBtn")->click();
         },
         {O::Binary}, 4, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFormat f = c.before;
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            c.edit(d);
            Child<QLineEdit>(d, "PrefixEdit")->setText(QStringLiteral("I="));
            Child<QLineEdit>(d, "SuffixEdit")->setText(QStringLiteral(" mA"));
            Child<QCheckBox>(d, "cbPlus")->setChecked(false);
            return mrOk;
        });
        ASSERT_TRUE(EditFormat(f, QStringLiteral("Anzeigeformat")));
        EXPECT_EQ(responder.Titles(), QStringList{QStringLiteral("Anzeigeformat")});
        EXPECT_EQ(f.Options.ToByte(), c.options.ToByte());
        EXPECT_EQ(f.Digits, c.digits);
        EXPECT_EQ(f.Decimals, c.decimals);
        EXPECT_EQ(f.Prefix, QStringLiteral("I="));
        EXPECT_EQ(f.Suffix, QStringLiteral(" mA"));
        EXPECT_FALSE(f.ShowPlus);
    }
}

TEST_F(NumberFormatDlgTest, CancelLeavesTheFormatAlone)
{
    TFormat f = MakeFormat({O::Fixed}, 3, 2);
    TScopedDialogResponder responder;
    responder.Answer([](QDialog& d) {
        Child<QRadioButton>(d, "FloatBtn")->click();
        Child<QLineEdit>(d, "PrefixEdit")->setText(QStringLiteral("x"));
        return mrCancel;
    });
    EXPECT_FALSE(EditFormat(f, QStringLiteral("Format")));
    EXPECT_EQ(f.Options.ToByte(), TFormatOptions({O::Fixed}).ToByte());
    EXPECT_EQ(f.Prefix, QStringLiteral("U="));
}

TEST_F(NumberFormatDlgTest, ModeButtonsEnableTheirControls)
{
    struct Case {
        const char* button;
        TFormatOption mode;
        bool fixedControls; // Zero, VK, NK
        bool digits;        // fStellen
        bool plus;          // cbPlus
    };
    const Case cases[] = {
        {"FixedBtn", O::Fixed, true, false, true},
        {"FloatBtn", O::Float, false, true, true},
        {"HexBtn", O::Hexadecimal, false, true, false},
        {"BinBtn", O::Binary, false, true, false},
        {"ExpBtn", O::Expo, false, true, true},
        {"UnformBtn", O::Unformatted, false, false, false},
    };
    TFormatDlg dialog;
    dialog.LoadFromFormat(MakeFormat({O::Unformatted, O::NoZero}, 3, 2));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        Child<QRadioButton>(dialog, c.button)->click();
        EXPECT_EQ(dialog.Options.ToByte(), TFormatOptions({c.mode, O::NoZero}).ToByte());
        EXPECT_EQ(dialog.Zero->isEnabled(), c.fixedControls);
        EXPECT_EQ(dialog.VK->isEnabled(), c.fixedControls);
        EXPECT_EQ(dialog.NK->isEnabled(), c.fixedControls);
        EXPECT_EQ(dialog.fStellen->isEnabled(), c.digits);
        EXPECT_EQ(dialog.cbPlus->isEnabled(), c.plus);
    }
}

TEST_F(NumberFormatDlgTest, ExamplesShowSmallestAndLargestText)
{
    struct Case {
        const char* name;
        TFormatOptions options;
        int v, k, n;
        const char* prefix;
        const char* suffix;
        bool plus;
        const char* min;
        const char* max;
    };
    const Case cases[] = {
        {"expo", {O::Expo}, 4, 2, 4, "", "", false, "0,001E-99", "9,999E+99"},
        {"float", {O::Float}, 4, 2, 4, "", "", false, "0,001", "9999"},
        {"fixed", {O::Fixed}, 3, 2, 4, "", "", false, "000,01", "999,99"},
        {"fixed no zero", {O::Fixed, O::NoZero}, 3, 2, 4, "", "", false, "0,01", "999,99"},
        {"fixed no decimals", {O::Fixed}, 3, 0, 4, "", "", false, "000", "999"},
        {"hex", {O::Hexadecimal}, 3, 2, 4, "", "", false, "0000", "FFFF"},
        {"binary", {O::Binary}, 3, 2, 5, "", "", false, "00000", "11111"},
        {"unformatted", {O::Unformatted}, 3, 2, 4, "ab", "", false, "ab\"String\"", "ab\"String\""},
        {"prefix, suffix and signs", {O::Fixed}, 3, 2, 4, "U=", " V", true, "U=-000,01 V",
         "U=+999,99 V"},
        {"no signs in hex", {O::Hexadecimal}, 3, 2, 2, "U=", "", true, "U=00", "U=FF"},
        {"prefix cut to 10", {O::Float}, 3, 2, 2, "ABCDEFGHIJKL", "", false, "ABCDEFGHIJ0,1",
         "ABCDEFGHIJ99"},
        {"10-character prefix leaves no room for the sign", {O::Float}, 3, 2, 2, "ABCDEFGHIJ", "",
         true, "ABCDEFGHIJ0,1", "ABCDEFGHIJ99"},
        {"9-character prefix takes the sign", {O::Float}, 3, 2, 2, "ABCDEFGHI", "", true,
         "ABCDEFGHI-0,1", "ABCDEFGHI+99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFormat f;
        f.Options = c.options;
        f.Digits = c.options.Contains(O::Fixed) ? c.v : c.n;
        f.Decimals = c.k;
        f.Prefix = QString::fromLatin1(c.prefix);
        f.Suffix = QString::fromLatin1(c.suffix);
        f.ShowPlus = c.plus;
        TFormatDlg dialog;
        dialog.LoadFromFormat(f);
        EXPECT_EQ(dialog.von->text(), QString::fromLatin1(c.min));
        EXPECT_EQ(dialog.bis->text(), QString::fromLatin1(c.max));
    }
}

TEST_F(NumberFormatDlgTest, ExamplesFollowEveryChange)
{
    TFormatDlg dialog;
    dialog.LoadFromFormat(MakeFormat({O::Fixed}, 3, 2));
    EXPECT_EQ(dialog.von->text(), QStringLiteral("U=-000,01 V"));
    dialog.Zero->click();
    EXPECT_EQ(dialog.von->text(), QStringLiteral("U=-0,01 V"));
    dialog.NK->setValue(3);
    EXPECT_EQ(dialog.bis->text(), QStringLiteral("U=+999,999 V"));
    dialog.cbPlus->click();
    EXPECT_EQ(dialog.bis->text(), QStringLiteral("U=999,999 V"));
    dialog.PrefixEdit->setText(QString());
    dialog.SuffixEdit->setText(QStringLiteral("%"));
    dialog.HexBtn->click();
    dialog.fStellen->setValue(3);
    EXPECT_EQ(dialog.bis->text(), QStringLiteral("FFF%"));
}

TEST_F(NumberFormatDlgTest, CaptionsFollowTheLanguage)
{
    struct Case {
        uint8_t language;
        const char* cancel;
        const char* zero;
        const char* prefixLabel;
    };
    const Case cases[] = {
        {0, "&Abbrechen", "führende &Nullen unterdrücken", "Prefix:"},
        {1, "&Cancel", "Suppress leading zero", "Prefix:"},
        {2, "&Annuler", "Suppression zéro d´entête", "Préfixe"},
    };
    for (const Case& c : cases) {
        Ctx().CurrentLanguage = c.language;
        TFormatDlg dialog;
        EXPECT_EQ(dialog.Button2->text(), QString::fromUtf8(c.cancel));
        EXPECT_EQ(dialog.Zero->text(), QString::fromUtf8(c.zero));
        EXPECT_EQ(dialog.Label4->text(), QString::fromUtf8(c.prefixLabel));
        // The start values of the digit counts.
        EXPECT_EQ(dialog.VK->value(), 4);
        EXPECT_EQ(dialog.NK->value(), 2);
        EXPECT_EQ(dialog.fStellen->value(), 4);
    }
}

TEST_F(NumberFormatDlgTest, HelpButtonOpensItsTopic)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Ctx().ProgramFolder = dir.path() + u'/';
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("help")));
    QFile page(dir.filePath(QStringLiteral("help/18030.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();

    QList<QUrl> opened;
    SetUrlOpenerForTesting([&](const QUrl& url) {
        opened << url;
        return true;
    });
    TFormatDlg dialog;
    QEvent help(QEvent::EnterWhatsThisMode);
    QCoreApplication::sendEvent(&dialog, &help);
    SetUrlOpenerForTesting({});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.front().toLocalFile().endsWith(QStringLiteral("help/18030.html")));
}

} // namespace
