// The compile command: the folder and name it proposes, the files it writes, the data files of
// one name, a failed "comp.mod", and the compiled program started on its own.

#include "mainwindow/MainWindowTestSupport.h"

#include "common/FullDisk.h"

#include "comm/dde/DdeClient.h"
#include "comm/dde/DdeServer.h"
#include "platform/DdeConversation.h"

#include "components/core/SimulationStop.h"
#include "components/digital/Gates.h"
#include "components/signal/Sound.h"
#include "components/signal/ValueBlocks.h"
#include "core/board/Makro.h"
#include "frontpanel/FrontPanel.h"
#include "hardware/framework/BtHardware.h"
#include "platform/MessageBox.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/tools/CompileCommand.h"
#include "ui/CompileWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

class CompileTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(out.isValid());
        f = &Make();
        window = std::make_unique<TCompiler>();
        command = std::make_unique<TCompileCommand>(*window, *f->Projects, *f->MainBoard);
        // A stand-in for the running program.
        WriteFile(QStringLiteral("tavrinol40"), QByteArray("#!/bin/sh\n"));
        QFile::setPermissions(dir.filePath(QStringLiteral("tavrinol40")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        command->ExecutableFile = dir.filePath(QStringLiteral("tavrinol40"));
        command->ProgramFolder = Ctx().ProgramFolder;
    }
    void TearDown() override
    {
        command.reset();
        window.reset();
        MainWindowFixture::TearDown();
    }
    // A sound component with this file on a board.
    TBTSound* AddSound(TPlatine& board, const QString& file, int column)
    {
        auto sound = NewObject<TBTSound>();
        sound->FileName = file;
        sound->MoveBy(500 * column, 0);
        return static_cast<TBTSound*>(board.AddComponent(std::move(sound)));
    }
    QString Target(const char* name) const { return out.filePath(QString::fromLatin1(name)); }
    // Starts a compiled program in its folder, headless.
    static void Start(QProcess& program, const QString& folder, const QString& file)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(folder);
        program.start(folder + u'/' + file, {});
    }
    bool Compile(const QString& folder, const QString& program)
    {
        window->CompilePath->setText(folder);
        window->FileEdit->setText(program);
        return command->CompileButtonClick(false);
    }

    TForm1* f = nullptr;
    QTemporaryDir out;
    std::unique_ptr<TCompiler> window;
    std::unique_ptr<TCompileCommand> command;
    TScopedMessageResponder messages;
};

// A device that needs two files of its maker beside the program.
class TMakerFilesDevice : public TIOInterface {
public:
    TV_CLASS_NAME(TMakerFilesDevice)
    static const TDeviceDescription Description;
    TMakerFilesDevice() { Describe(Description); }
};
const TDeviceDescription TMakerFilesDevice::Description{
    .Name = "TMakerFilesDevice", .Prefix = {"MF"}, .PaletteName = {"Maker files"},
    .Caption = {"MF"}, .MakerFiles = {"MAKER.DLL", "maker-driver.bin"}};

bool HasError(const QStringList& lines)
{
    return lines.filter(QStringLiteral("FEHLER")).size() > 0;
}

} // namespace

TEST_F(CompileTest, ProposesFolderAndNameFromTheProject)
{
    Ctx().ProjectFolder = QStringLiteral("/Work/");
    command->Prepare();
    EXPECT_EQ(window->CompilePath->text(), QStringLiteral("/work/compilation_/"));
    EXPECT_EQ(window->FileEdit->text(), QStringLiteral("compilation"));
    EXPECT_EQ(window->FolderName, QStringLiteral("Compilation_"));

    f->Projects->SetProjectName(QStringLiteral("/Work/Oven.prj"));
    command->Prepare();
    EXPECT_EQ(window->CompilePath->text(), QStringLiteral("/work/compilation_oven/"));
    EXPECT_EQ(window->FileEdit->text(), QStringLiteral("oven"));
}

// The program, the project as comp.mod, the settings, the device settings and the data files
// of components inside macros; the project keeps its name and ordinary saves their format.
TEST_F(CompileTest, WritesTheProgramFolderAndKeepsTheProject)
{
    WriteFile(QStringLiteral("SPRACHE.INI"), "[Sprache]\r\nSprache=1\r\n");
    WriteFile(QStringLiteral("sounds/ping.wav"), "RIFF");
    TPlatine& board = *f->MainBoard;
    board.AddComponent(NewObject<TBTAnd>());
    auto macro = NewObject<TMakro>();
    macro->SetMacroName(QStringLiteral("Glocke"));
    TMakro* m = static_cast<TMakro*>(board.AddComponent(std::move(macro)));
    AddSound(*board.CreateInnerBoard(*m), dir.filePath(QStringLiteral("sounds/ping.wav")), 0);
    const QString project = dir.filePath(QStringLiteral("Oven.prj"));
    ASSERT_TRUE(f->Projects->SaveProject(project));

    ASSERT_TRUE(Compile(Target("dist/"), QStringLiteral("oven")));
    const QStringList lines = command->StatusLines();
    EXPECT_FALSE(HasError(lines)) << qPrintable(lines.join(u'\n'));
    EXPECT_EQ(lines.last(), QStringLiteral("Fertig."));
    for (const char* file : {"dist/oven", "dist/comp.mod", "dist/Sprache.ini",
                             "dist/Settings/HARDWARE.INI", "dist/ping.wav"})
        EXPECT_TRUE(QFileInfo(Target(file)).isFile()) << file;
    EXPECT_TRUE(QFileInfo(Target("dist/Data")).isDir());
    EXPECT_TRUE(QFileInfo(Target("dist/oven")).isExecutable());

    EXPECT_EQ(f->Projects->ProjectFileName, project);
    EXPECT_FALSE(f->Projects->CompiledCopy);
    EXPECT_EQ(f->Projects->History[0], project);

    // comp.mod reads back as the compiled program reads it.
    TProjectFiles reader;
    TPlatine loaded;
    reader.MainBoard = &loaded;
    reader.BindBoard(loaded);
    reader.CompiledCopy = true;
    ASSERT_TRUE(reader.OpenProject(Target("dist/comp.mod")));
    TMakro* bell = nullptr;
    for (const auto& item : loaded.Items)
        if (auto* m2 = dynamic_cast<TMakro*>(item.get()))
            bell = m2;
    ASSERT_NE(bell, nullptr);
    EXPECT_EQ(bell->MacroName(), QStringLiteral("Glocke"));
    ASSERT_NE(bell->InnerBoard(), nullptr);
    bool soundFound = false;
    for (const auto& item : bell->InnerBoard()->Items)
        if (auto* sound = dynamic_cast<TBTSound*>(item.get()))
            soundFound = sound->FileName.endsWith(QStringLiteral("ping.wav"));
    EXPECT_TRUE(soundFound);

    // Compiling again asks before it overwrites; No writes nothing.
    messages.Clear();
    messages.Answer(mrNo);
    EXPECT_FALSE(Compile(Target("dist/"), QStringLiteral("oven")));
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].caption, QStringLiteral("Compiler"));
    EXPECT_TRUE(command->StatusLines().last().endsWith(QStringLiteral(" ... *** NICHT ERSTELLT ***")));
}

// Two different files of one name cannot both lie in the program folder: the first is copied,
// the second refused with its line marked and a message naming both.
TEST_F(CompileTest, DataFilesOfOneNameAreNotOverwritten)
{
    WriteFile(QStringLiteral("a/signal.wav"), "first");
    WriteFile(QStringLiteral("b/signal.wav"), "second");
    AddSound(*f->MainBoard, dir.filePath(QStringLiteral("a/signal.wav")), 0);
    AddSound(*f->MainBoard, dir.filePath(QStringLiteral("b/signal.wav")), 1);
    AddSound(*f->MainBoard, dir.filePath(QStringLiteral("a/signal.wav")), 2);  // the same file again

    ASSERT_TRUE(Compile(Target("dist/"), QStringLiteral("anlage")));
    QFile copy(Target("dist/signal.wav"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), QByteArray("first"));
    const QStringList lines = command->StatusLines();
    EXPECT_EQ(lines.filter(QStringLiteral("signal.wav ... OK")).size(), 1);
    EXPECT_EQ(lines.filter(QStringLiteral("signal.wav ... *** FEHLER ***")).size(), 1);
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].type, mtWarning);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("signal.wav")));
}

TEST_F(CompileTest, TheMakerFilesOfADeviceGoBesideTheProgramWhereThereAreAny)
{
    WriteFile(QStringLiteral("MAKER.DLL"), "library");
    f->MainBoard->AddComponent(TBTHardware::CreateWith(std::make_unique<TMakerFilesDevice>()));

    ASSERT_TRUE(Compile(Target("dist/"), QStringLiteral("anlage")));
    QFile copy(Target("dist/MAKER.DLL"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), QByteArray("library"));
    // A file the program folder does not hold is no error: the system may provide it.
    EXPECT_FALSE(QFile::exists(Target("dist/maker-driver.bin")));
    EXPECT_FALSE(HasError(command->StatusLines()));
}

// comp.mod that cannot be written stops the compile with a message; the project's name and the
// format of later saves are untouched.
TEST_F(CompileTest, FailedProjectWriteStopsTheCompile)
{
    f->MainBoard->AddComponent(NewObject<TBTAnd>());
    const QString project = dir.filePath(QStringLiteral("Oven.prj"));
    ASSERT_TRUE(f->Projects->SaveProject(project));
    QDir().mkpath(Target("dist/comp.mod/blocked"));  // a folder where the file should go
    messages.Answer(mrYes);  // the folder exists: go on

    EXPECT_FALSE(Compile(Target("dist/"), QStringLiteral("oven")));
    const QStringList lines = command->StatusLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("comp.mod ... *** FEHLER ***"))) << qPrintable(lines.join(u'\n'));
    EXPECT_FALSE(lines.contains(QStringLiteral("Fertig.")));
    EXPECT_FALSE(QFileInfo::exists(Target("dist/Settings/HARDWARE.INI")));
    ASSERT_EQ(messages.Requests().size(), 2u);
    EXPECT_EQ(messages.Requests()[1].type, mtError);
    EXPECT_EQ(f->Projects->ProjectFileName, project);
    EXPECT_FALSE(f->Projects->CompiledCopy);
}

// A front panel published on the web takes the web-server program along; one that is not
// published does not.
TEST_F(CompileTest, APublishedFrontPanelTakesTheWebServerAlong)
{
    WriteFile(QStringLiteral("tvwebserver"), QByteArray("#!/bin/sh\n"));
    QFile::setPermissions(dir.filePath(QStringLiteral("tvwebserver")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    TFrontplatte panel;
    command->FrontPanel = &panel;
    for (const int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        panel.PublishMode = mode;
        const QString folder = QStringLiteral("pub%1").arg(mode);
        ASSERT_TRUE(Compile(out.filePath(folder) + u'/', QStringLiteral("panel")));
        const QFileInfo server(out.filePath(folder + QStringLiteral("/tvwebserver")));
        EXPECT_EQ(server.isFile(), mode != 0);
        EXPECT_EQ(server.isExecutable(), mode != 0);
    }
    command->FrontPanel = nullptr;
}

// A full disk: an earlier compiled program and its comp.mod stay whole, the compile says it
// failed and names the file, and Compile and Start starts nothing.
TEST_F(CompileTest, AFullDiskKeepsTheEarlierProgram)
{
    TFullDisk disk;
    if (!disk.Mount(256))
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    f->MainBoard->AddComponent(NewObject<TBTAnd>());
    ASSERT_TRUE(f->Projects->SaveProject(dir.filePath(QStringLiteral("Oven.prj"))));
    const QString folder = disk.Path(QStringLiteral("dist/"));
    ASSERT_TRUE(Compile(folder, QStringLiteral("oven")));
    const auto contents = [&](const char* name) {
        QFile file(folder + QString::fromLatin1(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    const QByteArray program = contents("oven");
    const QByteArray project = contents("comp.mod");
    // A bigger program that no longer fits.
    WriteFile(QStringLiteral("tavrinol40"), QByteArray(200000, '#'));
    disk.Fill();
    bool started = false;
    command->StartProgram = [&](const QString&) { return started = true; };
    messages.Clear();
    messages.Answer(mrYes);  // the folder exists: go on

    EXPECT_FALSE(command->CompileButtonClick(true));
    EXPECT_FALSE(started);
    const QStringList lines = command->StatusLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("oven ... *** FEHLER ***"))) << qPrintable(lines.join(u'\n'));
    EXPECT_FALSE(lines.contains(QStringLiteral("Fertig.")));
    ASSERT_EQ(messages.Requests().size(), 2u);
    EXPECT_EQ(messages.Requests()[1].type, mtError);
    EXPECT_TRUE(messages.Requests()[1].text.contains(QStringLiteral("oven"))) << qPrintable(messages.Requests()[1].text);
    EXPECT_EQ(contents("oven"), program);
    EXPECT_EQ(contents("comp.mod"), project);
}

#ifdef TAVRINOL_PROGRAM
// The real program compiled from a project whose stop component ends the run: started on its
// own it opens comp.mod, runs without the editor, and ends by itself, leaving the run's state
// file and its device settings behind.
TEST_F(CompileTest, CompiledProgramRunsOnItsOwn)
{
    TPlatine& board = *f->MainBoard;
    auto* inverter = static_cast<TIOBauteil*>(board.AddComponent(NewObject<TBTInverter>()));
    auto* stop = static_cast<TIOBauteil*>(board.AddComponent(NewObject<TBTStop>()));
    stop->MoveBy(600, 0);
    const QPoint out(inverter->Outputs[0]->X, inverter->Outputs[0]->Y);
    const QPoint in(inverter->Inputs[0]->X, inverter->Inputs[0]->Y);
    const QPoint stopIn(stop->Inputs[0]->X, stop->Inputs[0]->Y);
    ASSERT_EQ(out.y(), stopIn.y());
    const int lane = out.x() + 40;
    board.AddWire(out, QPoint(lane, out.y()));
    board.AddWire(QPoint(lane, out.y()), stopIn);
    board.AddWire(QPoint(lane, out.y()), QPoint(lane, out.y() - 200));
    board.AddWire(QPoint(lane, out.y() - 200), QPoint(in.x() - 40, out.y() - 200));
    board.AddWire(QPoint(in.x() - 40, out.y() - 200), QPoint(in.x() - 40, in.y()));
    board.AddWire(QPoint(in.x() - 40, in.y()), in);
    ASSERT_TRUE(f->Projects->SaveProject(dir.filePath(QStringLiteral("Blink.prj"))));

    command->ExecutableFile = QStringLiteral(TAVRINOL_PROGRAM);
    ASSERT_TRUE(Compile(Target("blink/"), QStringLiteral("blink")));
    ASSERT_FALSE(HasError(command->StatusLines())) << qPrintable(command->StatusLines().join(u'\n'));
    QFile::remove(Target("blink/Settings/HARDWARE.INI"));

    // The folder runs wherever it is moved: the program needs no library of the build.
    ASSERT_TRUE(QDir().mkpath(Target("elsewhere")));
    ASSERT_TRUE(QDir().rename(Target("blink"), Target("elsewhere/blink")));
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), Target("elsewhere/blink/blink")});
    if (readelf.waitForFinished(30000) && readelf.exitCode() == 0) {
        const QString dynamic = QString::fromLocal8Bit(readelf.readAllStandardOutput());
        EXPECT_TRUE(dynamic.contains(QStringLiteral("NEEDED")));
        EXPECT_FALSE(dynamic.contains(QStringLiteral("libtavrinol"))) << qPrintable(dynamic);
    }

    QProcess program;
    Start(program, Target("elsewhere/blink"), QStringLiteral("blink"));
    ASSERT_TRUE(program.waitForStarted(30000));
    if (!program.waitForFinished(120000)) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the compiled program did not end: " << program.readAllStandardError().constData();
    }
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();
    EXPECT_TRUE(QFileInfo::exists(Target("elsewhere/blink/COMP_Default.set")));
    EXPECT_TRUE(QFileInfo::exists(Target("elsewhere/blink/Settings/HARDWARE.INI")));
}

// A project and the program compiled from it talk DDE: the compiled program publishes its
// server component's input under its own name, and a client of this program reads it.
TEST_F(CompileTest, CompiledProgramServesItsDdeItems)
{
    TPlatine& board = *f->MainBoard;
    auto* value = static_cast<TBTFest*>(board.AddComponent(NewObject<TBTFest>()));
    value->FixValue = 42.0L;
    auto* server = static_cast<TIOBauteil*>(board.AddComponent(NewObject<TBT_DDE_Server>()));
    server->MoveBy(600, 0);
    const QPoint out(value->Outputs[0]->X, value->Outputs[0]->Y);
    const QPoint in(server->Inputs[0]->X, server->Inputs[0]->Y);
    const int lane = out.x() + 40;
    board.AddWire(out, QPoint(lane, out.y()));
    board.AddWire(QPoint(lane, out.y()), QPoint(lane, in.y()));
    board.AddWire(QPoint(lane, in.y()), in);
    ASSERT_TRUE(f->Projects->SaveProject(dir.filePath(QStringLiteral("Peer.prj"))));

    // A name of its own, so that test runs side by side do not meet.
    const QString name = QStringLiteral("ddepeer%1").arg(QCoreApplication::applicationPid());
    command->ExecutableFile = QStringLiteral(TAVRINOL_PROGRAM);
    ASSERT_TRUE(Compile(Target("peer/"), name));
    ASSERT_FALSE(HasError(command->StatusLines())) << qPrintable(command->StatusLines().join(u'\n'));

    QProcess program;
    Start(program, Target("peer"), name);
    ASSERT_TRUE(program.waitForStarted(30000));

    TPlatine reader;
    auto* client = static_cast<TBT_DDE_Client*>(reader.AddComponent(NewObject<TBT_DDE_Client>()));
    client->Service = name.toUpper();
    client->Topic = QStringLiteral("DDE");
    client->Item = QStringLiteral("MAIN_DDES1_S0");
    reader.StartSimulation();
    QElapsedTimer waited;
    waited.start();
    while (client->Outputs[0]->GetPinText() != QStringLiteral("42") && waited.elapsed() < 90000
           && program.state() == QProcess::Running) {
        reader.SimStep();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    reader.EndSimulation();
    const bool ran = program.state() == QProcess::Running;
    program.kill();
    program.waitForFinished(10000);
    QLocalServer::removeServer(DdeSocketName(name, QStringLiteral("DDE"))); // left by the kill
    EXPECT_TRUE(ran) << program.readAllStandardError().constData();
    EXPECT_EQ(client->Outputs[0]->GetPinText(), QStringLiteral("42"));
}
#endif
