// Component state file: its name beside the project, one section per component and board,
// written at the end of a run and read back at the next start.
#include "core/EngineTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class StateFileTest : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        ASSERT_TRUE(folder.isValid());
        Ctx().ProgramFolder = folder.path() + u'/';
    }
    QTemporaryDir folder;
};

TEST_F(StateFileTest, FileNameStandsBesideTheProject)
{
    struct Case {
        const char* project;
        const char* expected;  // "~/" stands for the program folder
    };
    const Case cases[] = {
        {"/data/projects/Anlage.prj", "/data/projects/ANLAGE_Default.set"},
        {"/data/projects/Kühlung 2.prj", "/data/projects/KÜHLUNG 2_Default.set"},
        {"/data/v1.2/test.backup.prj", "/data/v1.2/TEST.BACKUP_Default.set"},
        {"/data/noext", "/data/NOEXT_Default.set"},
        {"relative.prj", "RELATIVE_Default.set"},
        {"C:\\Projekte\\Ofen.PRJ", "C:\\Projekte\\OFEN_Default.set"},
        {"", "~/UNSAVED_Default.set"},
    };
    for (const Case& c : cases) {
        QString expected = QString::fromUtf8(c.expected);
        expected.replace(QStringLiteral("~/"), Ctx().ProgramFolder);
        EXPECT_EQ(ComponentStateFileName(QString::fromUtf8(c.project)), expected) << c.project;
    }
}

TEST_F(StateFileTest, SectionsCarryTheBoardNameAndTheDesignator)
{
    TPlatine top;
    auto* first = Place<TSimState>(top, 0);
    auto* second = Place<TSimState>(top, 1);
    TMakro* macro = PlaceMacro(top, 2, 1, 1);
    TMakro* macro2 = PlaceMacro(top, 3, 1, 1);
    auto* inner = Place<TSimState>(*macro->InnerBoard(), 0);
    TMakro* nested = PlaceMacro(*macro2->InnerBoard(), 0, 1, 1);
    auto* deep = Place<TSimState>(*nested->InnerBoard(), 0);
    first->State = 11;
    second->State = 22;
    inner->State = 33;
    deep->State = 44;

    const QString project = folder.path() + QStringLiteral("/Anlage.prj");
    ASSERT_TRUE(SaveComponentStateFile(top, project));

    const QString fileName = folder.path() + QStringLiteral("/ANLAGE_Default.set");
    ASSERT_TRUE(QFile::exists(fileName));
    {
        TIniFile ini(fileName);
        // Equal designators on different boards get sections of their own; a macro block
        // writes nothing itself.
        EXPECT_EQ(ini.ReadSections(),
                  (QStringList{"MAIN.ST1", "MAIN.ST2", "MAIN_MCR1.ST1", "MAIN_MCR2_MCR1.ST1"}));
        EXPECT_EQ(ini.ReadInteger("MAIN_MCR2_MCR1.ST1", "Value", 0), 44);
    }

    for (TSimState* s : {first, second, inner, deep})
        s->State = 0;
    LoadComponentStateFile(top, project);
    EXPECT_EQ(first->State, 11);
    EXPECT_EQ(second->State, 22);
    EXPECT_EQ(inner->State, 33);
    EXPECT_EQ(deep->State, 44);
}

TEST_F(StateFileTest, UnnamedProjectUsesTheProgramFolder)
{
    TPlatine top;
    Place<TSimState>(top, 0)->State = 5;
    ASSERT_TRUE(SaveComponentStateFile(top, QString()));
    EXPECT_TRUE(QFile::exists(folder.path() + QStringLiteral("/UNSAVED_Default.set")));

    // Missing file: every component reads its default.
    TPlatine other;
    auto* fresh = Place<TSimState>(other, 0);
    LoadComponentStateFile(other, folder.path() + QStringLiteral("/Neu.prj"));
    EXPECT_EQ(fresh->State, -1);
    TIniFile empty{QString()};
    EXPECT_EQ(other.LoadComponentStates(empty, false), 0);
}

} // namespace
