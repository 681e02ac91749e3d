// The settings list on a front-panel window: picking an entry loads that settings file into
// the front panel while the window keeps its place; a file that cannot be read is reported in
// the current language and leaves the list as it was.

#include "EntryTestSupport.h"

#include "core/board/BoardHooks.h"
#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/FrontPanelRecord.h"
#include "frontpanel/elements/NumEingabe.h"
#include "frontpanel/elements/Setliste.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "shell/Composition.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class SettingsListTest : public EntryTest {
protected:
    void SetUp() override
    {
        EntryTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        Ctx().ProgramFolder = dir.path() + u'/';
        Ctx().ProjectFolder = dir.path() + u'/';
        InstallHooks();
        window = std::make_unique<TFrontplatte>();
        window->SetRunMode(true);
        input = static_cast<TNumEingabe*>(window->RootDesign->AddElement(QStringLiteral("TNumEingabe")));
        input->ElementName = QStringLiteral("NE1");
        list = static_cast<TSetliste*>(window->RootDesign->AddElement(QStringLiteral("TSetliste")));
        list->ElementName = QStringLiteral("SL1");
    }
    void TearDown() override
    {
        window.reset();
        EstKeepWindow() = false;
        ResetBoardHooks();
        EntryTest::TearDown();
    }

    // Saves the front panel with the numeric input showing `value`.
    void SaveWith(const char* name, const char* value)
    {
        Type(input->Edit, QString::fromLatin1(value) + u'\r');
        ASSERT_TRUE(window->SaveEstFile(dir.filePath(QString::fromLatin1(name))));
    }

    QTemporaryDir dir;
    std::unique_ptr<TFrontplatte> window;
    TNumEingabe* input = nullptr;
    TSetliste* list = nullptr;
};

} // namespace

TEST_F(SettingsListTest, PickingAnEntryLoadsItAndKeepsTheWindow)
{
    SaveWith("Hoch.EST", "100");
    window->SetWindowBounds(QRect(10, 20, 600, 400));
    SaveWith("Tief.EST", "-5");
    window->SetWindowBounds(QRect(50, 60, 700, 500));
    list->FillList();
    ASSERT_EQ(list->Count(), 2);

    TScopedMessageResponder boxes;
    list->Select(0);
    list->LoadSelected();
    EXPECT_EQ(input->Wert, 100.0);
    EXPECT_EQ(window->geometry(), QRect(50, 60, 700, 500)) << "the window keeps its place and size";
    EXPECT_FALSE(EstKeepWindow());
    EXPECT_EQ(list->ItemIndex(), 0) << "the entry stays selected after the list is filled again";

    PressHotkey(*list, 0, 4);  // "= INC" loads the next file
    EXPECT_EQ(input->Wert, -5.0);
    PressHotkey(*list, 0, 4);  // on the last entry it loads the last again
    EXPECT_EQ(list->ItemIndex(), 1);
    input->WebSubmit(QStringLiteral("3"));
    list->WebSubmit(QStringLiteral("0"));
    EXPECT_EQ(input->Wert, 100.0);
    list->WebSubmit(QStringLiteral("2"));  // no such entry: ignored
    EXPECT_EQ(input->Wert, 100.0);
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(SettingsListTest, AFileThatCannotBeReadLeavesTheListAsItWas)
{
    SaveWith("Alt.EST", "1");
    SaveWith("Weg.EST", "2");
    {
        // Larger than any settings file the front panel reads.
        QFile big(dir.filePath(QStringLiteral("Gross.EST")));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(TIniFile::kMaxIniFileSize + 1));
    }
    list->FillList();
    ASSERT_EQ(list->Count(), 3);
    Type(input->Edit, QStringLiteral("7\r"));
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("Weg.EST"))));

    const struct {
        uint8_t language;
        const char* entry;
        const char* text;
    } cases[] = {
        {0, "Weg", "Die Einstellungsdatei \"%1\" kann nicht gelesen werden."},
        {1, "Weg", "The settings file \"%1\" cannot be read."},
        {2, "Gross", "Le fichier de réglages \"%1\" ne peut pas être lu."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        Ctx().CurrentLanguage = c.language;
        const int index = c.entry == std::string("Weg") ? 2 : 1;
        ASSERT_EQ(list->Liste->item(index)->text(), QString::fromLatin1(c.entry));
        TScopedMessageResponder boxes;
        list->Select(index);
        list->LoadSelected();
        ASSERT_EQ(boxes.Requests().size(), 1u);
        const QString file = QDir::toNativeSeparators(dir.filePath(QString::fromLatin1(c.entry) + QStringLiteral(".EST")));
        EXPECT_EQ(boxes.Requests()[0].text, QString::fromUtf8(c.text).arg(file));
        EXPECT_EQ(list->Count(), 3) << "the list is not filled again";
        EXPECT_EQ(list->ItemIndex(), index);
        EXPECT_EQ(input->Wert, 7.0) << "nothing was loaded";
    }
}

TEST_F(SettingsListTest, WithoutSettingsFilesHotkeysLoadNothing)
{
    list->FillList();
    EXPECT_EQ(list->Count(), 0);
    TScopedMessageResponder boxes;
    for (int32_t action = 0; action <= 5; ++action)
        PressHotkey(*list, 0, action);
    list->WebSubmit(QStringLiteral("0"));
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_TRUE(boxes.Requests().empty());
}
