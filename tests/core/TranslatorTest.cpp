#include "shell/mainwindow/DlgSprache.h"
#include "core/model/Translator.h"
#include "platform/Context.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <ostream>

// Readable failure messages.
static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

class TranslatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        BuildTranslationTable();
    }
    void TearDown() override { FreeTranslationTable(); }
};

QString U(const char* s)
{
    return QString::fromUtf8(s);
}

} // namespace

TEST_F(TranslatorTest, TableKeepsItsOrderAndDuplicates)
{
    const std::vector<TTranslation>& t = TranslationEntries();
    ASSERT_EQ(t.size(), 278u);
    EXPECT_EQ(t.front().German, U("Abfolgen"));
    EXPECT_EQ(t.front().French, U("Séquences"));
    EXPECT_EQ(t.back().German, U("Kacheln"));
    // Positions are counted from 1.
    EXPECT_EQ(t[123].German, U("Knopf"));
    EXPECT_EQ(t[123].English, U("Knob"));
    EXPECT_EQ(t[240].German, U("Knopf"));
    EXPECT_EQ(t[240].English, U("Button"));
    EXPECT_EQ(t[34].French, U("Ré-écriture fichier"));
    EXPECT_EQ(t[39].German, U("Datei überschreiben"));
    EXPECT_EQ(t[39].French, U("Fichier recouvrir"));

    // Building again replaces the table rather than appending to it.
    BuildTranslationTable();
    EXPECT_EQ(TranslationEntries().size(), 278u);
}

TEST_F(TranslatorTest, EveryEntryIsTranslatedAndItsKeyFindsTheFirstOccurrence)
{
    const std::vector<TTranslation>& t = TranslationEntries();
    for (size_t i = 0; i < t.size(); ++i) {
        EXPECT_FALSE(t[i].English.isEmpty()) << i + 1;
        EXPECT_FALSE(t[i].French.isEmpty()) << i + 1;
        EXPECT_NE(t[i].French, U("???")) << i + 1;
        size_t first = 0;
        while (t[first].German != t[i].German)
            ++first;
        for (uint8_t lang : {0, 1, 2}) {
            Ctx().CurrentLanguage = lang;
            const QString expected =
                lang == 0 ? t[first].German : lang == 1 ? t[first].English : t[first].French;
            EXPECT_EQ(Translate(t[i].German), expected) << "entry " << i + 1;
        }
    }
}

TEST_F(TranslatorTest, LookupIsExactAndCaseSensitive)
{
    struct Case { const char* word; uint8_t language; const char* result; };
    const Case cases[] = {
        {"Knopf", 1, "Knob"},
        {"Knopf", 2, "Bouton"},
        {"Knopf", 0, "Knopf"},
        {"Datei überschreiben", 2, "Ré-écriture fichier"},
        {"Adressbereich", 2, "Gamme d´adress"},
        {"Zur Laufzeit einstellbar", 1, "Editable at run-time"},
        {"Sämtliche Eigenschaften für gewählte Objekte übernehmen?", 2,
         "Assignez toutes les propriétés aux objets choisis?"},
        {"Oben", 2, "Haut"},
        {"Unten", 2, "Bas"},
        {"A/D", 1, "ADC"},
        {"A/D", 2, "CAN"},
        {"Drucken", 1, "Print"},
        {"Drucken", 2, "Imprimer"},
        {"Print", 0, "???"},          // only German keys are looked up
        {"Print", 1, "???"},
        {"Print", 2, "???"},
        {"drucken", 0, "???"},        // case matters
        {"drucken", 1, "???"},
        {"Drucken ", 1, "???"},       // the whole string must match
        {"", 1, "???"},
        {"Drucken", 3, "???"},        // a language number outside 0..2
        {"Knopf", 255, "???"},
    };
    for (const Case& c : cases) {
        Ctx().CurrentLanguage = c.language;
        EXPECT_EQ(Translate(U(c.word)), U(c.result)) << c.word << " / " << int(c.language);
    }
}

TEST_F(TranslatorTest, AddedEntriesAndTheFreedTable)
{
    AddTranslation("Zusatz", "Extra", "Supplément");
    AddTranslation("Knopf", "Late", "Tard");
    Ctx().CurrentLanguage = 1;
    EXPECT_EQ(Translate("Zusatz"), "Extra");
    EXPECT_EQ(Translate("Knopf"), "Knob");
    FreeTranslationTable();
    EXPECT_TRUE(TranslationEntries().empty());
    EXPECT_EQ(Translate("Zusatz"), "???");
    EXPECT_EQ(Translate("Knopf"), "???");
}

namespace {

class LanguageSettingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ASSERT_TRUE(m_dir.isValid());
        Ctx().ProgramFolder = m_dir.path() + "/";
    }
    void WriteFile(const QString& name, const QByteArray& content)
    {
        QFile f(m_dir.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(LanguageSettingTest, MissingFileMeansGerman)
{
    EXPECT_EQ(ReadLanguageSetting(), 0);
}

TEST_F(LanguageSettingTest, ValuesOutsideTheThreeLanguagesFallBackToGerman)
{
    struct Case { const char* content; int language; };
    const Case cases[] = {
        {"[Sprache]\r\nSprache=1\r\n", 1},
        {"[Sprache]\r\nSprache=2\r\n", 2},
        {"[Sprache]\r\nSprache=0\r\n", 0},
        {"[SPRACHE]\r\nsprache=1\r\n", 1},   // sections and keys without regard to case
        {"[Sprache]\r\nSprache=3\r\n", 0},
        {"[Sprache]\r\nSprache=-1\r\n", 0},
        {"[Sprache]\r\nSprache=English\r\n", 0},
        {"[Sprache]\r\nLanguage=1\r\n", 0},
        {"[Language]\r\nSprache=1\r\n", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        WriteFile("SPRACHE.INI", c.content);
        EXPECT_EQ(ReadLanguageSetting(), c.language) << c.content;
    }
}

TEST_F(LanguageSettingTest, FileNameInAnyCaseIsFound)
{
    WriteFile("Sprache.ini", "[Sprache]\r\nSprache=2\r\n");
    EXPECT_EQ(ReadLanguageSetting(), 2);
}

TEST(DlgSprache, OffersTheThreeLanguages)
{
    TDlgSprache dlg;
    EXPECT_EQ(dlg.windowTitle(), "Sprache");
    ASSERT_EQ(dlg.SpracheCombo->count(), 3);
    EXPECT_EQ(dlg.SpracheCombo->itemText(0), "Deutsch");
    EXPECT_EQ(dlg.SpracheCombo->itemText(1), "English");
    EXPECT_EQ(dlg.SpracheCombo->itemText(2), "Francaise");
    EXPECT_EQ(dlg.OKBtn->text(), "&OK");
    EXPECT_EQ(dlg.AbbrechenBtn->text(), "&Abbrechen");
}
