#include "components/ComponentTestSupport.h"
#include "components/system/ProgramStart.h"
#include "components/system/RegisterSystem.h"
#include "platform/MessageBox.h"
#include "textfile/TextTestSupport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

using TProgramStartTest = TComponentTest<RegisterSystemComponents, true>;

// Records the requests instead of starting anything, and answers with `result`.
struct TRecordingLauncher {
    std::vector<TLaunchRequest> requests;
    TLaunchResult result = TLaunchResult::Done;

    TRecordingLauncher()
    {
        SetLauncher([this](const TLaunchRequest& r) {
            requests.push_back(r);
            return result;
        });
    }
    ~TRecordingLauncher() { SetLauncher(nullptr); }
};

// Runs the steps with "|E" at these levels ('-' unconnected, 'H' high, 'L' low), then lets
// the event loop carry the starts out.
void RunTrigger(TIOBauteil& c, int trigger, const char* levels)
{
    TInputs in(c);
    c.SimReset();
    for (const char* l = levels; *l; ++l) {
        if (*l == '-')
            in.Unconnect(trigger);
        else
            in.Set(trigger, *l == 'H' ? 5.0L : 0.0L);
        c.Calculate();
    }
    QCoreApplication::processEvents();
}

TEST_F(TProgramStartTest, StartsOnFallingEdgesOnly)
{
    struct Case {
        const char* levels;
        size_t starts;
    } cases[] = {
        {"----", 0},    // unconnected reads high
        {"HHHH", 0},
        {"LLLL", 0},    // low from the start: no edge
        {"LHHL", 1},    // a switch that closes and opens again
        {"HLLHL", 2},
        {"HLHLHL", 3},
        {"-L", 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.levels);
        TRecordingLauncher launcher;
        auto exe = Create<TBTEXE>();
        exe->File = QStringLiteral("tool");
        RunTrigger(*exe, 0, k.levels);
        EXPECT_EQ(launcher.requests.size(), k.starts);
    }
}

TEST_F(TProgramStartTest, SettingsAndInputsMakeTheRequest)
{
    TRecordingLauncher launcher;
    auto exe = Create<TBTEXE>();
    exe->File = QStringLiteral("/opt/viewer");
    exe->Parameters = QStringLiteral("-a \"b c\"");
    exe->Action = QStringLiteral("PRINT");
    RunTrigger(*exe, 0, "HL");
    ASSERT_EQ(launcher.requests.size(), 1u);
    EXPECT_EQ(launcher.requests[0].File, QStringLiteral("/opt/viewer"));
    EXPECT_EQ(launcher.requests[0].Parameters, QStringLiteral("-a \"b c\""));
    EXPECT_EQ(launcher.requests[0].Operation, QStringLiteral("PRINT"));
    EXPECT_TRUE(launcher.requests[0].Folder.isEmpty());

    auto exec = Create<TBTEXEPARAM>();
    EXPECT_EQ(PinNames(exec->Inputs),
              QStringList({"$PRG", "$PAR", "$DIR", "$ACT", "WS", "|E"}));
    TTextInputs texts(*exec);
    texts.SetAll({"t:prog", "t:-x", "t:/tmp", "t:EXPLORE", "n:3"});
    RunTrigger(*exec, TBTEXEPARAM::InTrigger, "HL");
    ASSERT_EQ(launcher.requests.size(), 2u);
    const TLaunchRequest& r = launcher.requests[1];
    EXPECT_EQ(r.File, QStringLiteral("prog"));
    EXPECT_EQ(r.Parameters, QStringLiteral("-x"));
    EXPECT_EQ(r.Folder, QStringLiteral("/tmp"));
    EXPECT_EQ(r.Operation, QStringLiteral("EXPLORE"));
}

TEST_F(TProgramStartTest, AFailedStartIsToldOncePerEdgeInTheCurrentLanguage)
{
    Ctx().CurrentLanguage = 1;
    TRecordingLauncher launcher;
    launcher.result = TLaunchResult::NotFound;
    TScopedMessageResponder boxes;
    auto exe = Create<TBTEXE>();
    exe->File = QStringLiteral("no-such-program");
    RunTrigger(*exe, 0, "HLLLL");
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("\"no-such-program\" was not found."));
    RunTrigger(*exe, 0, "HLHL");
    EXPECT_EQ(boxes.Requests().size(), 3u);
}

TEST_F(TProgramStartTest, SystemLauncherResults)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    struct Case {
        const char* operation;
        QString file;
        TLaunchResult result;
    } cases[] = {
        {"", missing, TLaunchResult::NotFound},
        {"OPEN", QStringLiteral("no-such-program-anywhere"), TLaunchResult::NotFound},
        {"explore", missing, TLaunchResult::NotFound},
        {"PRINT", missing, TLaunchResult::NotFound},
        {"PRINT", dir.path(), TLaunchResult::NotFound},  // a folder is not printed
        {"RUNAS", dir.path(), TLaunchResult::Unsupported},
        {"", QString(), TLaunchResult::NotFound},
        {"", QStringLiteral("true"), TLaunchResult::Done},  // found on the search path
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.operation) + " " + k.file.toStdString());
        EXPECT_EQ(SystemLaunch({QString::fromLatin1(k.operation), k.file, {}, {}}), k.result);
    }
}

TEST_F(TProgramStartTest, RecordsOfEveryVersionRead)
{
    auto exe = Create<TBTEXE>();
    exe->File = QStringLiteral("/bin/prog");
    exe->Parameters = QStringLiteral("-v");
    exe->WindowState = 1;
    exe->Action = QStringLiteral("OPEN");
    auto copy = Create<TBTEXE>();
    ASSERT_TRUE(Read(*copy, Write(*exe)));
    EXPECT_EQ(copy->File, exe->File);
    EXPECT_EQ(copy->Parameters, exe->Parameters);
    EXPECT_EQ(copy->WindowState, 1);
    EXPECT_EQ(copy->Action, QStringLiteral("OPEN"));

    const auto record = [](int dataVersion, const QByteArray& rest) {
        QByteArray part = ComponentPart(1, 0, 44);
        part[1] = char(dataVersion);  // the data version, stored first
        return part + rest;
    };
    const auto strings = [](std::initializer_list<QString> texts, int windowState = -1) {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        TWriter w(buffer);
        for (const QString& t : texts)
            w.WriteString(t);
        if (windowState >= 0)
            w.WriteInteger(windowState);
        return data;
    };
    // Below 5: '"file" parameters' in one string, the window maximised.
    auto old = Create<TBTEXE>();
    ASSERT_TRUE(Read(*old, record(4, strings({"\"/bin/edit\" notes.txt"}))));
    EXPECT_EQ(old->File, QStringLiteral("/bin/edit"));
    EXPECT_EQ(old->Parameters, QStringLiteral("notes.txt"));
    EXPECT_EQ(old->WindowState, 2);
    ASSERT_TRUE(Read(*old, record(4, strings({"/bin/edit"}))));
    EXPECT_EQ(old->File, QStringLiteral("/bin/edit"));
    EXPECT_TRUE(old->Parameters.isEmpty());
    // 5: parameters and window state, no action.
    auto five = Create<TBTEXE>();
    five->Action = QStringLiteral("PRINT");
    ASSERT_TRUE(Read(*five, record(5, strings({"/bin/a", "-b"}, 0))));
    EXPECT_EQ(five->Parameters, QStringLiteral("-b"));
    EXPECT_EQ(five->WindowState, 0);
    EXPECT_TRUE(five->Action.isEmpty());
    EXPECT_EQ(five->DataVersion, TBTEXE::CurrentDataVersion);
}

} // namespace
