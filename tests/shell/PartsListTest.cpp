// The parts list of a known board, built through the main window's command.

#include "mainwindow/MainWindowTestSupport.h"

#include "common/FullDisk.h"
#include "platform/MessageBox.h"

#include "components/digital/Gates.h"
#include "core/board/Makro.h"
#include "shell/palette/Bibo.h"
#include "shell/palette/PaletteCategories.h"
#include "shell/tools/PartsList.h"

#include <QCheckBox>
#include <QPlainTextEdit>

namespace {

template <class T>
T* Add(TPlatine& board, int column, int inputs = 0)
{
    std::unique_ptr<T> c = NewObject<T>();
    if (inputs > 0)
        c->SetInputCount(inputs);
    c->MoveBy(500 * column, 0);
    return static_cast<T*>(board.AddComponent(std::move(c)));
}

TMakro* AddMacro(TPlatine& board, const QString& name, int column)
{
    TMakro* macro = Add<TMakro>(board, column);
    macro->SetMacroName(name);
    TPlatine* inner = board.CreateInnerBoard(*macro);
    Add<TBTOr>(*inner, 0);
    return macro;
}

QString PaletteName(std::unique_ptr<TIOBauteil> entry)
{
    return TBibo::OneLineCaption(*entry);
}

class PartsListTest : public MainWindowFixture {
protected:
    QStringList ListWith(bool groups, bool macros)
    {
        f->SB_SListClick();  // makes the window
        f->SList->CB_Gruppen->setChecked(groups);
        f->SList->CB_Makros->setChecked(macros);
        f->SB_SListClick();
        return f->SList->Memo->toPlainText().split(u'\n');
    }
    TForm1* f = nullptr;
};

} // namespace

// Gates are listed by input count; macros of one name count together; each class is listed
// once although two palette categories share the digital library.
TEST_F(PartsListTest, CountsGatesByInputsAndMacrosByName)
{
    f = &Make();
    TPlatine& board = *f->MainBoard;
    for (int i = 0; i < 3; ++i)
        Add<TBTAnd>(board, i, 2);
    Add<TBTAnd>(board, 3, 4);
    AddMacro(board, QStringLiteral("Zähler"), 4);
    AddMacro(board, QStringLiteral("Regler"), 5);
    AddMacro(board, QStringLiteral("Zähler"), 6);
    const QString andName = PaletteName(NewObject<TBTAnd>());
    const QString orName = PaletteName(NewObject<TBTOr>());

    EXPECT_EQ(ListWith(false, false),
              (QStringList{QStringLiteral("Stückliste"), QString(),
                           QStringLiteral("3x ") + andName + QStringLiteral(", 2 Eingänge"),
                           QStringLiteral("1x ") + andName + QStringLiteral(", 4 Eingänge"),
                           QStringLiteral("2x Zähler"), QStringLiteral("1x Regler")}));

    // Broken down: the inside of each macro name once, indented by three, then an empty line.
    const QStringList detailed = ListWith(false, true);
    const QString orInside = orName + QStringLiteral(", 2 Eingänge");
    EXPECT_EQ(detailed.mid(4),
              (QStringList{QStringLiteral("2x Zähler"), QStringLiteral("   1x ") + orInside, QString(),
                           QStringLiteral("1x Regler"), QStringLiteral("   1x ") + orInside,
                           QString()}));
}

TEST_F(PartsListTest, GroupHeadingsAndAnEmptyMacroHeadingRemoved)
{
    WriteFile(QStringLiteral("SPRACHE.INI"), "[Sprache]\r\nSprache=1\r\n");
    f = &Make();
    Add<TBTAnd>(*f->MainBoard, 0, 2);
    const QStringList lines = ListWith(true, false);
    ASSERT_EQ(lines.size(), 5) << qPrintable(lines.join(u'|'));
    EXPECT_EQ(lines[0], QStringLiteral("Components list"));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("--- ")) && lines[3].endsWith(QStringLiteral(" ---")))
        << qPrintable(lines[3]);
    // The count words stay German in every language.
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral(", 2 Eingänge"))) << qPrintable(lines[4]);
    EXPECT_FALSE(lines.contains(QStringLiteral("--- Macros ---")));

    AddMacro(*f->MainBoard, QStringLiteral("Mixer"), 2);
    const QStringList withMacro = ListWith(true, false);
    EXPECT_EQ(withMacro.mid(withMacro.size() - 3),
              (QStringList{QString(), QStringLiteral("--- Macros ---"), QStringLiteral("1x Mixer")}));
}

// A category list with one class in two libraries and one library named twice: every class
// once, under the first category that has it.
TEST_F(PartsListTest, EachLibraryAndClassCountedOnce)
{
    Make();  // registers the classes
    TPlatine board;
    Add<TBTAnd>(board, 0, 2);
    Add<TBTOr>(board, 1, 2);
    const QByteArray gates = BuildCategoryLibrary(2);
    TPartsLister lister;
    lister.Library = [&](int row) { return row == 2 || row == 5 || row == 9 ? gates : QByteArray(); };
    // Rows 2 and 5 name one file; row 9 another file with the same classes.
    lister.LibraryName = [](int row) { return row == 9 ? QStringLiteral("b.bib") : QStringLiteral("a.bib"); };
    const QStringList lines = lister.List(board);
    EXPECT_EQ(lines.size(), 2) << qPrintable(lines.join(u'|'));
}

// Saving the list on a full disk keeps the older list file whole and says which file failed.
TEST_F(PartsListTest, SaveOnAFullDiskKeepsTheOldFile)
{
    TFullDisk disk;
    if (!disk.Mount())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    f = &Make();
    for (int i = 0; i < 40; ++i)
        AddMacro(*f->MainBoard, QStringLiteral("Makro mit einem langen Namen %1").arg(i), i);
    ListWith(false, false);
    const QString file = disk.Path(QStringLiteral("liste.txt"));
    f->SList->AskFileName = [&](bool) { return file; };
    f->SList->SB_SaveClick();
    const QByteArray before = [&] {
        QFile old(file);
        return old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray();
    }();
    ASSERT_FALSE(before.isEmpty());
    disk.Fill();
    f->SList->Memo->setPlainText(QString(8000, u'x'));  // within a write buffer
    TScopedMessageResponder messages;
    f->SList->SB_SaveClick();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("liste.txt")));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), before);
}

// The list is saved as its lines, each ended by a line break, and loads back as it was.
TEST_F(PartsListTest, SavedListLoadsBack)
{
    TSList list;
    const QString file = dir.filePath(QStringLiteral("liste.txt"));
    list.AskFileName = [&file](bool) { return file; };
    list.Memo->setPlainText(QStringLiteral("2 x Und\n1 x Zähler"));
    list.SB_SaveClick();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("2 x Und\n1 x Z\xC3\xA4hler\n"));
    list.Memo->clear();
    list.SB_LoadClick();
    EXPECT_EQ(list.Memo->toPlainText(), QStringLiteral("2 x Und\n1 x Zähler\n"));
}
