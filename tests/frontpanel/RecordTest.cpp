// The front panel's persistent data: the window record in the project, settings files
// (*.EST) and the front panel's part of the component state file.

#include "DesignTestSupport.h"
#include "shell/Composition.h"

#include "core/board/BoardHooks.h"
#include "frontpanel/FrontPanel.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>

#include <vector>

namespace {

class RecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetFrontPanelState();
        BuildTranslationTable();
        RegisterTestElements();
        ASSERT_TRUE(dir.isValid());
        Ctx().ProgramFolder = dir.path() + u'/';
        InstallHooks();
        NewWindow();
    }
    void TearDown() override
    {
        window.reset();
        EstKeepWindow() = false;
        ResetBoardHooks();
        ResetFrontPanelState();
        ResetContext();
    }

    void NewWindow()
    {
        window.reset();
        window = std::make_unique<TFrontplatte>();
        root = window->RootDesign;
        s1 = AddSwitch(root, QStringLiteral("S1"));
        group = static_cast<TDesign*>(root->AddElement(QStringLiteral("TDesign")));
        group->ElementName = QStringLiteral("M1");
        inner = AddSwitch(group, QStringLiteral("S1"));
    }
    static TTestSwitchElement* AddSwitch(TDesign* page, const QString& name)
    {
        auto* e = static_cast<TTestSwitchElement*>(page->AddElement(QStringLiteral("TTestSwitchElement")));
        e->ElementName = name;
        return e;
    }
    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    std::unique_ptr<TFrontplatte> window;
    TDesign* root = nullptr;
    TDesign* group = nullptr;
    TTestSwitchElement* s1 = nullptr;
    TTestSwitchElement* inner = nullptr;
};

// A window record in the layout of `version`, with recognisable values: neighbouring fields of
// one kind differ, so that fields read in the wrong order show.
QByteArray RecordOfVersion(uint8_t version)
{
    return BytesOf([version](TWriter& w) {
        for (int16_t v : {11, 22, 500, 300})
            w.WriteRawInt16(v);
        w.WriteRawShortString(QStringLiteral("Alt"), 50);
        if (version < 3)
            return;
        w.WriteInteger(2);
        w.WriteString(QStringLiteral("Eins"));
        w.WriteString(QStringLiteral("Zwei"));
        w.WriteInteger(1);
        for (bool b : {true, false, true, false, true, false, false})  // DlgBtn .. AutoSave
            w.WriteBoolean(b);
        w.WriteString(QStringLiteral("hilfe.pdf"));
        w.WriteBoolean(false);                       // hints off
        for (bool b : {true, false, true})           // HintBtn, PrintBtn, CopyBtn
            w.WriteBoolean(b);
        w.WriteString(QString());                    // no icon
        w.WriteBoolean(true);                        // HWBtn
        w.WriteRawInt32(0x00112233);
        if (version < 40)
            return;
        w.WriteBoolean(true);                        // InternalBtn
        for (int32_t v : {1, 2, 3, 4})
            w.WriteInteger(v);
        w.WriteInteger(80);
        w.WriteFloat(1.5L);
        w.WriteString(QStringLiteral("Kopf"));
        for (bool b : {false, true, false})          // hidden, centred, background
            w.WriteBoolean(b);
        w.WriteInteger(-1);
        w.WriteInteger(0);                           // portrait
        w.WriteInteger(1);
        w.WriteString(QStringLiteral("Zeile"));
        w.WriteInteger(2);                           // ToolbarMode
        if (version < 43)
            return;
        w.WriteString(QStringLiteral("/srv/web"));
        w.WriteInteger(0);
        w.WriteInteger(9);
        if (version < 44)
            return;
        w.WriteInteger(0);
        w.WriteBoolean(false);
    });
}

int CountRequests(const TScopedMessageResponder& boxes)
{
    return static_cast<int>(boxes.Requests().size());
}

} // namespace

TEST_F(RecordTest, WindowRecordRoundTripsByteForByte)
{
    window->setGeometry(12, 34, 640, 480);
    window->Title = QString(60, u'T');
    window->TabControl1->setTabText(0, QStringLiteral("Kessel"));
    window->NeueFrontplatte1Click();
    window->NeueFrontplatte1Click();
    window->TabControl1->setTabText(1, QString::fromUtf8("Pumpen ü"));
    window->ActivatePageRequest(3);
    // Neighbouring flags differ, so that two fields read in each other's place show.
    window->Options.DlgBtn = true;
    window->Options.OpenBtn = false;
    window->Options.SaveBtn = true;
    window->Options.HelpBtn = false;
    window->Options.ToolTitel = true;
    window->Options.Skalierbar = false;
    window->Options.AutoSave = true;
    window->HelpFile = QStringLiteral("doc.pdf");
    window->ShowHints = false;
    window->Options.HintBtn = true;
    window->Options.PrintBtn = false;
    window->Options.CopyBtn = true;
    window->Options.HWBtn = false;
    window->Options.InternalBtn = true;
    FPState().DesignPanelColor = 0x00AABBCC;
    window->Print.PrintPosition = QPoint(7, 8);
    window->Print.PreviewOffset = QPoint(9, 10);
    window->Print.Hidden = true;
    window->Print.Centered = false;
    window->Print.Background = true;
    window->Print.PrinterIndex = 3;
    window->Print.Zoom = 120;
    window->Print.PrintScale = PrintScaleForZoom(120);
    window->Print.Headline = QStringLiteral("Anlage");
    window->Print.Comment = QStringList{QStringLiteral("a"), QStringLiteral("b")};
    window->Print.Orientation = 1;
    window->ToolbarMode = 2;
    window->WebServerPath = QStringLiteral("/opt/web");
    window->PublishMode = 1;
    window->WebRefreshSeconds = 30;

    const QByteArray bytes = BytesOf([&](TWriter& w) { window->WritePanelData(w); });
    ASSERT_GT(bytes.size(), 60);
    EXPECT_EQ(bytes.left(8), QByteArray::fromHex("0c0022008002e001"));
    EXPECT_EQ(uint8_t(bytes[8]), 50) << "a title of 60 characters is stored as its first 50";
    EXPECT_EQ(bytes.mid(9, 50), QByteArray(50, 'T'));

    NewWindow();
    EXPECT_EQ(ReadBytes(bytes, [&](TReader& r) { window->ReadPanelData(r, kPanelRecordVersion); }), 0);
    EXPECT_EQ(window->Title, QString(50, u'T'));
    EXPECT_EQ(root->ElementName, window->Title);
    EXPECT_EQ(FPState().RootDesignName, window->Title);
    EXPECT_EQ(window->TabControl1->count(), 3);
    EXPECT_EQ(window->TabControl1->tabText(1), QString::fromUtf8("Pumpen ü"));
    EXPECT_EQ(window->TabControl1->currentIndex(), 2);
    EXPECT_EQ(root->AktiveFrontplatte, 2);
    EXPECT_EQ(window->SavedBounds, QRect(12, 34, 640, 480));
    EXPECT_FALSE(window->HintBtn->isChecked()) << "the hint button follows the hint display";
    EXPECT_EQ(FPState().DesignPanelColor, 0x00AABBCC);
    EXPECT_EQ(window->Print.Comment, (QStringList{"a", "b"}));
    EXPECT_EQ(window->PublishMode, 1);
    EXPECT_EQ(BytesOf([&](TWriter& w) { window->WritePanelData(w); }), bytes);
}

TEST_F(RecordTest, StoredWindowBoundsFitTheScreen)
{
    // A damaged or hostile record must not make a window of thousands of screens.
    const QRect screen = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    QByteArray bytes = RecordOfVersion(kPanelRecordVersion);
    struct Case {
        int16_t left, top, width, height;
    } const cases[] = {{32767, 32767, 32767, 32767}, {-32768, -32768, 32767, 32767},
                       {-500, 20, 100, 50}};
    for (const Case& c : cases) {
        NewWindow();
        const QByteArray head = BytesOf([&](TWriter& w) {
            for (int16_t v : {c.left, c.top, c.width, c.height})
                w.WriteRawInt16(v);
        });
        bytes.replace(0, 8, head);
        EXPECT_EQ(ReadBytes(bytes, [&](TReader& r) { window->ReadPanelData(r, kPanelRecordVersion); }), 0);
        EXPECT_TRUE(screen.contains(window->SavedBounds)) << c.left << " " << c.width;
        EXPECT_TRUE(screen.contains(window->geometry())) << c.left << " " << c.width;
    }
}

TEST_F(RecordTest, OlderWindowRecordsGetDefaults)
{
    struct Case {
        uint8_t version;
        int tabs;
        bool autoSave, skalierbar, openBtn, internalBtn;
        QString headline;     // print settings read from 40 on
        QString webPath;
    };
    const QString defaultWeb = Ctx().ProgramFolder + QStringLiteral("TvWebServer\\TvWebServer10.exe");
    const Case cases[] = {
        {2, 1, true, true, false, false, QStringLiteral("vorher"), QStringLiteral("vorher")},
        {39, 2, false, false, false, false, QStringLiteral("vorher"), QStringLiteral("vorher")},
        {42, 2, false, false, false, true, QStringLiteral("Kopf"), defaultWeb},
        {43, 2, false, false, false, true, QStringLiteral("Kopf"), QStringLiteral("/srv/web")},
        {44, 2, false, false, false, true, QStringLiteral("Kopf"), QStringLiteral("/srv/web")},
    };
    for (const Case& c : cases) {
        NewWindow();
        window->Print.Headline = QStringLiteral("vorher");
        window->WebServerPath = QStringLiteral("vorher");
        window->WebRefreshSeconds = 77;
        const QByteArray bytes = RecordOfVersion(c.version);
        EXPECT_EQ(ReadBytes(bytes, [&](TReader& r) { window->ReadPanelData(r, c.version); }), 0)
            << int(c.version);
        EXPECT_EQ(window->Title, QStringLiteral("Alt"));
        EXPECT_EQ(window->TabControl1->count(), c.tabs) << int(c.version);
        EXPECT_EQ(window->Options.AutoSave, c.autoSave) << int(c.version);
        EXPECT_EQ(window->Options.Skalierbar, c.skalierbar) << int(c.version);
        EXPECT_EQ(window->Options.OpenBtn, c.openBtn) << int(c.version);
        EXPECT_EQ(window->Options.InternalBtn, c.internalBtn) << int(c.version);
        EXPECT_EQ(window->Print.Headline, c.headline) << int(c.version);
        EXPECT_EQ(window->WebServerPath, c.webPath) << int(c.version);
        if (c.version == 42) {
            EXPECT_EQ(window->WebRefreshSeconds, 5);
            EXPECT_EQ(window->PublishMode, 0);
        }
        if (c.version >= 43) {
            EXPECT_EQ(window->WebRefreshSeconds, 9);
            EXPECT_EQ(window->WindowStateCode(), 0);
            EXPECT_FALSE(window->Options.FullScreen);
        }
        if (c.version >= 3) {
            const TFrontPanelOptions& o = window->Options;
            EXPECT_EQ((std::vector<bool>{o.DlgBtn, o.SaveBtn, o.HelpBtn, o.ToolTitel, o.HintBtn,
                                         o.PrintBtn, o.CopyBtn, o.HWBtn}),
                      (std::vector<bool>{true, true, false, true, true, false, true, true}))
                << int(c.version);
        }
        if (c.version >= 40) {
            EXPECT_EQ((std::vector<bool>{window->Print.Hidden, window->Print.Centered,
                                         window->Print.Background}),
                      (std::vector<bool>{false, true, false}));
            EXPECT_EQ(window->Print.Orientation, 0);
            EXPECT_EQ(window->Print.Comment, QStringList{QStringLiteral("Zeile")});
        }
        if (c.version == 2) {
            EXPECT_EQ(window->TabControl1->tabText(0), QStringLiteral("Frontplatte 1"));
            EXPECT_FALSE(window->Options.PrintBtn);
            EXPECT_EQ(FPState().DesignPanelColor, 14215660);
        } else {
            EXPECT_EQ(FPState().DesignPanelColor, 0x00112233);
            EXPECT_EQ(window->TabControl1->currentIndex(), 1);
        }
    }
}

TEST_F(RecordTest, SettingsFileRoundTripsStatesAndOptions)
{
    s1->Status = 3;
    inner->Status = 5;
    window->Options.HelpBtn = true;
    window->ToolbarMode = 2;
    const QString est = File("Stellung.EST");
    {
        TIniFile old(est);
        old.WriteString(QStringLiteral("Alt"), QStringLiteral("x"), QStringLiteral("1"));
        ASSERT_TRUE(old.UpdateFile());
    }
    window->ProjectFileNameHook = [this] { return File("Anlage.prj"); };
    ASSERT_TRUE(window->SaveEstFile(est));
    {
        TIniFile ini(est);
        EXPECT_FALSE(ini.SectionExists(QStringLiteral("Alt"))) << "old sections are erased";
        EXPECT_EQ(ini.ReadString(QStringLiteral("Tavrinol"), QStringLiteral("Project"), QString()),
                  QStringLiteral("ANLAGE"));
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("MainModul.Frontplatte.S1"), QStringLiteral("Status"), -1), 3);
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("MainModul.Frontplatte.M1.S1"), QStringLiteral("Status"), -1), 5);
        EXPECT_FALSE(ini.ValueExists(QStringLiteral("Tavrinol"), QStringLiteral("DlgBtn")));
    }

    s1->Status = inner->Status = 0;
    window->Options.HelpBtn = false;
    window->ToolbarMode = 0;
    TScopedMessageResponder boxes;
    window->LoadEstFile(est);
    EXPECT_EQ(CountRequests(boxes), 0) << "a matching file loads without a question";
    EXPECT_EQ(s1->Status, 3);
    EXPECT_EQ(inner->Status, 5);
    EXPECT_TRUE(window->Options.HelpBtn);
    EXPECT_EQ(window->ToolbarMode, 2);
}

TEST_F(RecordTest, SettingsFilesThatDoNotFitAskFirst)
{
    const QString est = File("Fremd.EST");
    s1->Status = 4;
    inner->Status = 6;
    window->ProjectFileNameHook = [] { return QStringLiteral("/x/Anderes.prj"); };
    ASSERT_TRUE(window->SaveEstFile(est));
    {
        TIniFile ini(est);
        ini.WriteInteger(QStringLiteral("MainModul.Frontplatte.S9"), QStringLiteral("Status"), 1);
        ASSERT_TRUE(ini.UpdateFile());
    }
    s1->Status = inner->Status = 0;

    TScopedMessageResponder boxes;
    boxes.Answer(mrNo);
    window->LoadEstFile(est);
    ASSERT_EQ(CountRequests(boxes), 1);
    EXPECT_EQ(boxes.Requests()[0].caption, QStringLiteral("Warnung"));
    EXPECT_EQ(boxes.Requests()[0].buttons, mbYesNo);
    EXPECT_EQ(s1->Status, 0) << "No: nothing is loaded";

    boxes.Clear();
    boxes.Answer(mrYes);
    window->LoadEstFile(est);
    ASSERT_EQ(CountRequests(boxes), 2);
    EXPECT_EQ(boxes.Requests()[1].caption, QStringLiteral("Hinweis"));
    EXPECT_EQ(s1->Status, 4);
    EXPECT_EQ(inner->Status, 6);

    // Not a settings file at all.
    const QString other = File("anders.ini");
    {
        TIniFile ini(other);
        ini.WriteInteger(QStringLiteral("MainModul.Frontplatte.S1"), QStringLiteral("Status"), 9);
        ASSERT_TRUE(ini.UpdateFile());
    }
    boxes.Clear();
    Ctx().CurrentLanguage = 1;
    window->LoadEstFile(other);
    ASSERT_EQ(CountRequests(boxes), 1);
    EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("No valid setting found in this file!"));
    EXPECT_EQ(s1->Status, 4);
}

TEST_F(RecordTest, KeepWindowLeavesPlaceSizeAndState)
{
    window->SetRunMode(true);  // the settings-list element loads during a run
    window->SetWindowBounds(QRect(10, 20, 600, 400));
    const QString est = File("Fenster.EST");
    ASSERT_TRUE(window->SaveEstFile(est));
    window->SetWindowBounds(QRect(50, 60, 700, 500));
    window->Options.FullScreen = true;
    EstKeepWindow() = true;
    window->LoadEstFile(est);
    EXPECT_EQ(window->geometry(), QRect(50, 60, 700, 500));
    EXPECT_TRUE(window->Options.FullScreen);
    EstKeepWindow() = false;
    window->LoadEstFile(est);
    EXPECT_EQ(window->geometry(), QRect(10, 20, 600, 400));
    EXPECT_EQ(window->SavedBounds, QRect(10, 20, 600, 400));
    EXPECT_FALSE(window->Options.FullScreen);
}

TEST_F(RecordTest, MaximizedWindowStoresNoBounds)
{
    window->SetRunMode(true);  // edit mode always shows the normal window
    window->SavedBounds = QRect(1, 2, 300, 200);
    window->setWindowState(Qt::WindowMaximized);
    TIniFile ini(File("max.ini"));
    window->WriteWindowOptions(ini);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Tavrinol"), QStringLiteral("Window state"), -1), 2);
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Tavrinol"), QStringLiteral("Left")));
    window->ReadWindowOptions(ini);
    EXPECT_EQ(window->SavedBounds, QRect(1, 2, 300, 200));
    EXPECT_EQ(window->WindowStateCode(), 2);
}

TEST_F(RecordTest, AutoSaveStatesGoIntoTheStateFileBesideTheProject)
{
    const QString project = File("Anlage.prj");
    const QString stateFile = File("ANLAGE_Default.set");
    EXPECT_EQ(StateFileName(project), stateFile);
    {
        TIniFile ini(stateFile);  // the components' own part stays
        ini.WriteInteger(QStringLiteral("MainModul.Board.Z1"), QStringLiteral("Count"), 12);
        ASSERT_TRUE(ini.UpdateFile());
    }
    s1->Status = 8;
    inner->Status = 9;
    window->Options.AutoSave = true;
    TScopedMessageResponder boxes;
    ASSERT_TRUE(window->SaveDefaultSettings(project));

    NewWindow();
    EXPECT_FALSE(window->Options.AutoSave);
    window->LoadDefaultSettings(project);
    EXPECT_TRUE(window->Options.AutoSave);
    EXPECT_EQ(s1->Status, 8);
    EXPECT_EQ(inner->Status, 9);
    TIniFile ini(stateFile);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MainModul.Board.Z1"), QStringLiteral("Count"), -1), 12);
    EXPECT_EQ(CountRequests(boxes), 0);
}

TEST_F(RecordTest, StateFileOfAnUnsavedProjectCreatesItsFolder)
{
    Ctx().ProgramFolder = dir.path() + QStringLiteral("/neu/tiefer/");
    EXPECT_EQ(StateFileName(QString()), dir.path() + QStringLiteral("/neu/tiefer/UNSAVED_Default.set"));
    TScopedMessageResponder boxes;
    s1->Status = 2;
    EXPECT_TRUE(window->SaveDefaultSettings(QString()));
    EXPECT_TRUE(QFileInfo::exists(dir.path() + QStringLiteral("/neu/tiefer/UNSAVED_Default.set")));
    EXPECT_EQ(CountRequests(boxes), 0);
}

TEST_F(RecordTest, FailedWritesAreReportedOnceInTheCurrentLanguage)
{
    // A folder that cannot be made: a plain file stands where it should be.
    QFile blocker(File("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Ctx().ProgramFolder = File("blocker") + QStringLiteral("/sub/");
    Ctx().CurrentLanguage = 1;

    TScopedMessageResponder boxes;
    EXPECT_FALSE(window->SaveDefaultSettings(QString()));
    ASSERT_EQ(CountRequests(boxes), 1);
    EXPECT_EQ(boxes.Requests()[0].type, mtError);
    EXPECT_TRUE(boxes.Requests()[0].text.contains(QStringLiteral("cannot"))) << boxes.Requests()[0].text.toStdString();

    boxes.Clear();
    EXPECT_FALSE(window->SaveEstFile(File("blocker") + QStringLiteral("/x.EST")));
    EXPECT_EQ(CountRequests(boxes), 1);

    boxes.Clear();
    EXPECT_FALSE(window->SaveDefaultWindowOptions(QString()));
    EXPECT_EQ(CountRequests(boxes), 1);
}

TEST_F(RecordTest, RunStartAndStopKeepStatesOnlyWithAutoSave)
{
    const QString project = File("Kessel.prj");
    s1->StartValue = 1;
    inner->StartValue = 1;

    // Without AutoSave every run starts and ends with the start values.
    window->RunStarting(project);
    window->SetRunMode(true);
    EXPECT_EQ(s1->Status, 1);
    s1->Status = 5;
    window->RunStopped(project);
    EXPECT_FALSE(window->RunMode);
    EXPECT_EQ(s1->Status, 1);
    EXPECT_FALSE(QFileInfo::exists(StateFileName(project)));

    // With AutoSave the states of a stop come back at the next start; the first start without
    // a state file keeps the window's options.
    window->Options.AutoSave = true;
    window->Options.OpenBtn = true;
    window->RunStarting(project);
    EXPECT_TRUE(window->Options.AutoSave);
    EXPECT_TRUE(window->Options.OpenBtn);
    window->SetRunMode(true);
    s1->Status = 6;
    inner->Status = 7;
    window->RunStopped(project);
    EXPECT_EQ(s1->Status, 6) << "no start values with AutoSave";
    EXPECT_TRUE(QFileInfo::exists(StateFileName(project)));

    s1->Status = inner->Status = 0;
    window->RunStarting(project);
    EXPECT_EQ(s1->Status, 6);
    EXPECT_EQ(inner->Status, 7);
    EXPECT_TRUE(window->Options.AutoSave);
}
