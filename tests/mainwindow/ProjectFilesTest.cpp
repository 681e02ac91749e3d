// Project files: header, save/open round trip with elements and a macro, damaged files, failed
// and cancelled saves, the save question, the backup and the history.

#include "common/FullDisk.h"
#include "core/board/BoardClasses.h"
#include "shell/Composition.h"
#include "core/board/BoardHooks.h"
#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "core/model/ClassRegistry.h"
#include "core/model/GrundBT.h"
#include "frontpanel/Design.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/FrontPanel.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTabBar>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <memory>

namespace {

bool g_failWrite = false;

class TPfGate : public TGrundBT {
public:
    TV_CLASS_NAME(TPfGate)
    TPfGate()
    {
        SetInputCount(2);
        SetOutputCount(1);
        SetPrefix(QStringLiteral("G"));
    }
    void WriteData(TWriter& writer) override
    {
        if (g_failWrite)
            throw EFilerError(EFilerError::WriteError, QStringLiteral("disk full"));
        TGrundBT::WriteData(writer);
    }
};

class TPfLampElement : public TFP_Element {
public:
    FP_CLASS_NAME(TPfLampElement)
    explicit TPfLampElement(QWidget* owner = nullptr) : TFP_Element(owner) { resize(30, 30); }
};

class TPfLamp : public TGrundBT {
public:
    TV_CLASS_NAME(TPfLamp)
    TPfLamp()
    {
        SetInputCount(1);
        SetPrefix(QStringLiteral("L"));
        SetElementClass(QStringLiteral("TPfLampElement"));
    }
};

QByteArray ReadAll(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

template <class T>
std::vector<T*> Of(const TPlatine& board)
{
    std::vector<T*> out;
    for (const auto& item : board.Items)
        if (auto* t = dynamic_cast<T*>(item.get()))
            out.push_back(t);
    return out;
}

template <class T>
T* Place(TPlatine& board, int x)
{
    auto item = NewObject<T>();
    item->X = x;
    item->Y = 200;
    item->LayoutPins();
    return static_cast<T*>(board.AddComponent(std::move(item)));
}

class ProjectFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetFrontPanelState();
        ResetBoardHooks();
        g_failWrite = false;
        RegisterCoreBaseClasses(ClassRegistry());
        RegisterBoardClasses(ClassRegistry());
        ClassRegistry().RegisterClass<TPfGate>();
        ClassRegistry().RegisterClass<TPfLamp>();
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("prog/Settings"));
        Ctx().ProgramFolder = dir.filePath(QStringLiteral("prog")) + u'/';
        InstallHooks();
        window = std::make_unique<TFrontplatte>();
        ElementRegistry().RegisterElement<TPfLampElement>();
        board = std::make_unique<TPlatine>();
        files.MainBoard = board.get();
        files.FrontPanel = window.get();
        files.BindBoard(*board);
        files.AskSaveFileName = [this](const QString&) { return saveAsAnswer; };
    }
    void TearDown() override
    {
        board.reset();
        window.reset();
        g_failWrite = false;
        ResetBoardHooks();
        ResetFrontPanelState();
        ResetContext();
    }

    // Two gates, a lamp with its element at (50, 60), a macro holding a macro pin and a gate.
    void BuildProject()
    {
        Place<TPfGate>(*board, 100);
        Place<TPfGate>(*board, 400);
        TPfLamp* lamp = Place<TPfLamp>(*board, 700);
        auto* element = window->RootDesign->AddElement(QStringLiteral("TPfLampElement"));
        element->ElementName = QStringLiteral("L1");
        element->Component = lamp;
        lamp->SetLink(element);
        element->move(50, 60);
        TMakro* macro = Place<TMakro>(*board, 1000);
        macro->SetMacroName(QStringLiteral("Zähler"));
        TPlatine* inner = board->CreateInnerBoard(*macro);
        Place<TBTPin>(*inner, 100)->SetPinName(QStringLiteral("EN"));
        Place<TPfGate>(*inner, 400);
        macro->TakePinsFromBoard(*inner);
    }
    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    std::unique_ptr<TFrontplatte> window;
    std::unique_ptr<TPlatine> board;
    TProjectFiles files;
    TScopedMessageResponder messages;
    QString saveAsAnswer;
};

TEST_F(ProjectFilesTest, SaveThenOpenRestoresCircuitElementsAndMacro)
{
    BuildProject();
    const QString name = File("anlage.prj");
    ASSERT_TRUE(files.SaveProject(name));
    EXPECT_EQ(files.ProjectFileName, name);
    EXPECT_EQ(files.History[0], name);
    EXPECT_EQ(ReadAll(name).left(5), QByteArray("\x02\x00\x00\x2c\x00", 5));

    files.NewProject();
    EXPECT_TRUE(board->Items.empty());
    EXPECT_TRUE(window->RootDesign->Elements.empty());
    EXPECT_TRUE(files.ProjectFileName.isEmpty());

    ASSERT_TRUE(files.OpenProject(name));
    EXPECT_TRUE(messages.Requests().empty());
    EXPECT_EQ(files.ProjectFileName, name);
    EXPECT_EQ(Of<TPfGate>(*board).size(), 2u);
    const auto lamps = Of<TPfLamp>(*board);
    ASSERT_EQ(lamps.size(), 1u);
    ASSERT_NE(lamps[0]->Link, nullptr);
    EXPECT_EQ(lamps[0]->Link->Component, lamps[0]);
    EXPECT_EQ(lamps[0]->Link->ElementName, QStringLiteral("L1"));
    EXPECT_EQ(lamps[0]->Link->OwnerDesign, window->RootDesign);
    EXPECT_EQ(lamps[0]->Link->pos(), QPoint(50, 60));
    EXPECT_EQ(window->RootDesign->Elements.size(), 1u);
    for (TPfGate* gate : Of<TPfGate>(*board))
        EXPECT_EQ(gate->Link, nullptr);  // stored false: no element
    const auto macros = Of<TMakro>(*board);
    ASSERT_EQ(macros.size(), 1u);
    EXPECT_EQ(macros[0]->MacroName(), QStringLiteral("Zähler"));
    ASSERT_NE(macros[0]->InnerBoard(), nullptr);
    EXPECT_EQ(Of<TPfGate>(*macros[0]->InnerBoard()).size(), 1u);
    EXPECT_EQ(Of<TBTPin>(*macros[0]->InnerBoard()).size(), 1u);

    // A project read back writes what it read (the window's place may have moved when it
    // was shown, so the second generation is compared).
    const QString second = File("second.prj");
    const QString third = File("third.prj");
    ASSERT_TRUE(files.SaveProject(second));
    messages.Answer(mrNo);
    ASSERT_TRUE(files.OpenProject(second));
    ASSERT_TRUE(files.SaveProject(third));
    EXPECT_EQ(ReadAll(third), ReadAll(second));
    EXPECT_EQ(ReadAll(third).size(), ReadAll(name).size());
}

TEST_F(ProjectFilesTest, HeaderVersionIsByteThreeAlone)
{
    BuildProject();
    const QString name = File("v.prj");
    ASSERT_TRUE(files.SaveProject(name));
    QByteArray bytes = ReadAll(name);
    bytes[4] = 1;  // version word 44 + 256
    WriteAll(name, bytes);
    files.NewProject();
    ASSERT_TRUE(files.OpenProject(name));
    EXPECT_EQ(files.FileVersion, 44);
    EXPECT_EQ(Of<TPfGate>(*board).size(), 2u);
}

TEST_F(ProjectFilesTest, DamagedFileIsReportedAndThePreviousProjectStays)
{
    BuildProject();
    const QString good = File("good.prj");
    ASSERT_TRUE(files.SaveProject(good));
    const QByteArray bytes = ReadAll(good);

    struct Case {
        const char* what;
        QByteArray content;
        bool bodyRead;  // the header passes and the body fails
    } cases[] = {
        {"cut in the middle of the circuit", bytes.left(bytes.size() / 2), true},
        {"cut after the header", bytes.left(5), true},
        {"not a project file", QByteArray("PK\x03\x04 hello", 10), false},
        {"newer version", QByteArray("\x02\x00\x00\x2d\x00", 5) + bytes.mid(5), false},
        {"too short", QByteArray("\x02\x00", 2), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString bad = File("bad.prj");
        WriteAll(bad, c.content);
        TPfGate* gateBefore = Of<TPfGate>(*board).front();
        messages.Clear();
        messages.Answer(mrNo);  // the save question
        EXPECT_FALSE(files.OpenProject(bad));
        ASSERT_EQ(messages.Requests().size(), 2u);
        EXPECT_EQ(messages.Requests()[1].type, mtError);
        EXPECT_TRUE(messages.Requests()[1].text.contains(QStringLiteral("bad.prj")));
        EXPECT_EQ(files.ProjectFileName, good);
        EXPECT_EQ(files.History[0], good);
        EXPECT_EQ(Of<TPfGate>(*board).size(), 2u);
        EXPECT_EQ(Of<TMakro>(*board).size(), 1u);
        ASSERT_EQ(Of<TPfLamp>(*board).size(), 1u);
        EXPECT_NE(Of<TPfLamp>(*board)[0]->Link, nullptr);
        EXPECT_EQ(window->RootDesign->Elements.size(), 1u);
        if (!c.bodyRead) {  // a bad header discards nothing at all
            EXPECT_EQ(Of<TPfGate>(*board).front(), gateBefore);
        }
    }
    // The restored project saves to the same bytes as before.
    const QString again = File("again.prj");
    ASSERT_TRUE(files.SaveProject(again));
    EXPECT_EQ(ReadAll(again), bytes);
}

TEST_F(ProjectFilesTest, FailedSaveKeepsTheOldFileAndTheName)
{
    BuildProject();
    const QString name = File("keep.prj");
    ASSERT_TRUE(files.SaveProject(name));
    const QByteArray before = ReadAll(name);
    Place<TPfGate>(*board, 1300);

    struct Case {
        const char* what;
        QString target;
        bool failWrite;
    } cases[] = {
        {"error while the circuit is written", name, true},
        {"folder does not exist", File("missing/other.prj"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_failWrite = c.failWrite;
        messages.Clear();
        EXPECT_FALSE(files.SaveProject(c.target));
        g_failWrite = false;
        ASSERT_EQ(messages.Requests().size(), 1u);
        EXPECT_EQ(messages.Requests()[0].type, mtError);
        EXPECT_EQ(files.ProjectFileName, name);
        EXPECT_EQ(ReadAll(name), before);
        EXPECT_FALSE(QFile::exists(File("missing/other.prj")));
        EXPECT_EQ(files.History[1], QString());
    }
    // No temporary file is left beside the project.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.prj")});
}

TEST_F(ProjectFilesTest, AFullDiskKeepsProjectAndBackup)
{
    TFullDisk disk;
    if (!disk.Mount())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    BuildProject();
    Ctx().ProgramFolder = disk.Path(QString()) + u'/';
    const QString name = disk.Path(QStringLiteral("anlage.prj"));
    const QString backup = files.BackupFileName();
    ASSERT_TRUE(files.SaveProject(name));
    ASSERT_TRUE(files.SaveBackup());
    const QByteArray project = ReadAll(name);
    ASSERT_FALSE(project.isEmpty());
    disk.Fill();

    // Enough new content not to fit into what the old files leave.
    for (int x = 1300; x < 1300 + 40 * 300; x += 300)
        Place<TPfGate>(*board, x);
    messages.Clear();
    EXPECT_FALSE(files.SaveProject(name));
    EXPECT_EQ(messages.Requests().size(), 1u);
    messages.Clear();
    EXPECT_FALSE(files.SaveBackup());
    EXPECT_EQ(messages.Requests().size(), 1u);

    EXPECT_EQ(ReadAll(name), project);
    EXPECT_EQ(ReadAll(backup), project);
}

TEST_F(ProjectFilesTest, FilesThatCannotBeReadWholeAreRefusedAndNothingChanges)
{
    BuildProject();
    const QString good = File("good.prj");
    ASSERT_TRUE(files.SaveProject(good));
    ASSERT_EQ(::mkfifo(QFile::encodeName(File("pipe.prj")).constData(), 0600), 0);
    QFile huge(File("huge.prj"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(TProjectFiles::kMaxFileSize + 1));
    huge.close();
    struct Case {
        QString name;
        const char* why;
    } const cases[] = {
        {QStringLiteral("/dev/zero"), "keine gewöhnliche Datei"},
        {File("pipe.prj"), "keine gewöhnliche Datei"},
        {File("huge.prj"), "zu groß"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        messages.Clear();
        messages.Answer(mrNo); // the save question
        EXPECT_FALSE(files.OpenProject(c.name));
        ASSERT_EQ(messages.Requests().size(), 2u);
        EXPECT_TRUE(messages.Requests()[1].text.contains(QString::fromUtf8(c.why)))
            << messages.Requests()[1].text.toStdString();
        EXPECT_EQ(files.ProjectFileName, good);
        EXPECT_EQ(Of<TPfGate>(*board).size(), 2u);
    }
}

TEST_F(ProjectFilesTest, MacroFilesAreKnownByTheirSuffixInAnyCase)
{
    BuildProject();
    TMakro* macro = Of<TMakro>(*board).front();
    files.CurrentBoard = macro->InnerBoard();
    QStringList macroFiles;
    files.OnMacroFileSaved = [&](const QString& name) { macroFiles.append(name); };
    ASSERT_TRUE(files.SaveProject(File("teil.mak")));
    const QByteArray macroBytes = ReadAll(File("teil.mak"));
    struct Case {
        const char* name;
        bool macro;
    } const cases[] = {{"upper.MAK", true}, {"mixed.Mak", true}, {"whole.prj", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        macroFiles.clear();
        ASSERT_TRUE(files.SaveProject(File(c.name)));
        EXPECT_EQ(macroFiles.size(), c.macro ? 1 : 0);
        EXPECT_EQ(ReadAll(File(c.name)) == macroBytes, c.macro);
    }
}

TEST_F(ProjectFilesTest, ThePageShownBeforeASaveIsShownAfterIt)
{
    BuildProject();
    auto* group = static_cast<TDesign*>(window->RootDesign->AddElement(QStringLiteral("TDesign")));
    group->ElementName = QStringLiteral("M1");
    window->ActivateDesign(group);
    ASSERT_EQ(window->ActiveDesign, group);
    ASSERT_TRUE(files.SaveProject(File("seite.prj")));
    EXPECT_EQ(window->ActiveDesign, group);
    ASSERT_TRUE(files.SaveBackup());
    EXPECT_EQ(window->ActiveDesign, group);
}

TEST_F(ProjectFilesTest, BackupOfAnEmptyBoardKeepsTheLastGoodBackup)
{
    BuildProject();
    ASSERT_TRUE(files.SaveBackup());
    const QByteArray good = ReadAll(files.BackupFileName());
    files.NewProject();
    messages.Clear();
    EXPECT_TRUE(files.SaveBackup());
    EXPECT_TRUE(messages.Requests().empty());
    EXPECT_EQ(ReadAll(files.BackupFileName()), good);
}

TEST_F(ProjectFilesTest, SaveQuestionCountsACancelledOrFailedSaveAsCancel)
{
    struct Case {
        const char* what;
        int answer;
        QString saveAs;  // the Save-as dialog's answer (empty: cancelled)
        bool expected;
    } cases[] = {
        {"yes, dialog cancelled", mrYes, QString(), false},
        {"yes, save fails", mrYes, QStringLiteral("missing/x.prj"), false},
        {"yes, saved", mrYes, QStringLiteral("saved.prj"), true},
        {"no", mrNo, QString(), true},
        {"cancel", mrCancel, QString(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files.SetProjectName(QString());
        board->Items.clear();
        Place<TPfGate>(*board, 100);
        saveAsAnswer = c.saveAs.isEmpty() ? QString() : File(c.saveAs.toLatin1().constData());
        messages.Clear();
        messages.Answer(c.answer);
        EXPECT_EQ(files.NewCommand(), c.expected);
        EXPECT_EQ(messages.Requests()[0].caption, QStringLiteral("Tavrinol"));
        EXPECT_EQ(messages.Requests()[0].text,
                  QString::fromUtf8("Möchten Sie die aktuelle Schaltung speichern?"));
        // The circuit is discarded only when the answer allows it.
        EXPECT_EQ(board->Items.empty(), c.expected);
    }
    // An empty board asks nothing.
    board->Items.clear();
    messages.Clear();
    EXPECT_TRUE(files.AskSaveChanges());
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(ProjectFilesTest, BackupKeepsNameAndHistory)
{
    BuildProject();
    const QString name = File("projekt.prj");
    ASSERT_TRUE(files.SaveProject(name));
    ASSERT_TRUE(files.SaveBackup());
    EXPECT_EQ(files.ProjectFileName, name);
    EXPECT_EQ(files.History[0], name);
    EXPECT_EQ(files.History[1], QString());
    EXPECT_EQ(ReadAll(Ctx().ProgramFolder + QStringLiteral("Backup.prj")), ReadAll(name));

    // A program folder that cannot be written: reported, nothing else changes.
    Ctx().ProgramFolder = File("gone") + u'/';
    messages.Clear();
    EXPECT_FALSE(files.SaveBackup());
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(files.ProjectFileName, name);
    EXPECT_EQ(files.History[0], name);
}

TEST_F(ProjectFilesTest, HistoryKeepsFourProjectsWithoutDuplicates)
{
    files.HistoryIniFile = File("hist.ini");
    const char* names[] = {"a.prj", "b.prj", "A.PRJ", "c.mak", "c.prj", "d.prj", "e.prj"};
    for (const char* n : names)
        files.AddToHistory(QString::fromLatin1(n));
    EXPECT_EQ(files.History[0], QStringLiteral("e.prj"));
    EXPECT_EQ(files.History[1], QStringLiteral("d.prj"));
    EXPECT_EQ(files.History[2], QStringLiteral("c.prj"));
    EXPECT_EQ(files.History[3], QStringLiteral("b.prj"));
    TProjectFiles other;
    other.HistoryIniFile = files.HistoryIniFile;
    other.ReadHistory();
    EXPECT_EQ(other.History, files.History);
}

TEST_F(ProjectFilesTest, RemovingAComponentDeletesItsElement)
{
    BuildProject();
    TPfLamp* lamp = Of<TPfLamp>(*board).front();
    ASSERT_EQ(window->RootDesign->Elements.size(), 1u);
    board->RemoveObject(lamp);
    EXPECT_TRUE(window->RootDesign->Elements.empty());
}

}  // namespace

// An element whose page the file holds no tab for is not given hundreds of new tabs while the
// file is read: it lands on the file's last tab.
TEST_F(ProjectFilesTest, APageTheFileHoldsNoTabForGoesToTheLastTab)
{
    BuildProject();
    window->TabControl1->addTab(QStringLiteral("2"));
    window->TabControl1->addTab(QStringLiteral("3"));
    TFP_Element* lamp = window->RootDesign->Elements.front();
    lamp->SetFrontplattenNR(1997);
    const QString name = File("anlage.prj");
    ASSERT_TRUE(files.SaveProject(name));
    files.NewProject();
    ASSERT_TRUE(files.OpenProject(name));
    EXPECT_EQ(window->TabControl1->count(), 3);
    ASSERT_FALSE(window->RootDesign->Elements.empty());
    for (const TFP_Element* e : window->RootDesign->Elements)
        EXPECT_LT(e->FrontplattenNR, 3) << qPrintable(e->ElementName);
}
