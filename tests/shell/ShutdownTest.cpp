// Closing the main window: the save question, a close during a run (stop, then the close timer),
// a second request while the timer runs, and what a compiled program writes at its end.

#include "mainwindow/MainWindowTestSupport.h"

#include "components/digital/Gates.h"
#include "frontpanel/FrontPanel.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"

#include <QDateTime>
#include <QTimer>

namespace {

class ShutdownTest : public MainWindowFixture {
protected:
    // A window with one gate on its board, running in slow mode when asked.
    TForm1& Window(bool running, const QString& exe = QStringLiteral("/usr/local/bin/tavrinol40"))
    {
        WriteFile(QStringLiteral("Settings/SPEED.INI"), "[Speed]\r\nFast=0\r\n");
        TForm1& f = Make({}, exe);
        f.show();
        f.FormShow();
        f.MainBoard->AddComponent(NewObject<TBTAnd>());
        if (running) {
            f.Simulation->StartSimulation();
            EXPECT_TRUE(f.Simulation->Running());
        }
        messages.Clear();
        items = f.MainBoard->Items.size();
        return f;
    }
    QString Quorin() const { return dir.filePath(QStringLiteral("Settings/QUORIN.INI")); }

    TScopedMessageResponder messages;
    size_t items = 0;  // items of the board made by Window
};

} // namespace

// The save question decides: Cancel leaves project, run state and settings as they were; No
// closes, clears the project and writes the options back.
TEST_F(ShutdownTest, SaveQuestionDecidesTheClose)
{
    TForm1& f = Window(false);
    messages.Answer(mrCancel);
    EXPECT_FALSE(f.close());
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(f.MainBoard->Items.size(), items);
    EXPECT_FALSE(TIniFile(Quorin()).SectionExists(QStringLiteral("HAUPTFENSTER")));

    messages.Answer(mrNo);
    EXPECT_TRUE(f.close());
    EXPECT_EQ(messages.Requests().size(), 2u);
    EXPECT_TRUE(f.MainBoard->Items.empty());
    const TIniFile ini(Quorin());
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("OPTIONS"), QStringLiteral("RASTER")));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("HAUPTFENSTER"), QStringLiteral("W")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("DIRECTORIES"), QStringLiteral("MACROS"), QString()),
              f.MacroFolder);
}

// A close during a run stops it and refuses; the close timer brings the close back, now with
// the save question.
TEST_F(ShutdownTest, CloseDuringARunStopsFirstAndClosesAfterTheTimer)
{
    TForm1& f = Window(true);
    EXPECT_FALSE(f.close());
    EXPECT_FALSE(f.Simulation->Running());
    EXPECT_TRUE(f.CloseTimer->isActive());
    EXPECT_EQ(f.CloseTimer->interval(), 1000);
    EXPECT_TRUE(messages.Requests().empty());

    messages.Answer(mrNo);
    f.CloseTimerTimer();
    EXPECT_FALSE(f.CloseTimer->isActive());
    EXPECT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(f.MainBoard->Items.empty());  // closed: the project was cleared
}

// A second request while the timer runs still asks: Cancel keeps the window and the circuit,
// and the timer does not close it later.
TEST_F(ShutdownTest, SecondRequestDuringTheTimerStillAsks)
{
    TForm1& f = Window(true);
    EXPECT_FALSE(f.close());
    ASSERT_TRUE(f.CloseTimer->isActive());
    messages.Answer(mrCancel);
    EXPECT_FALSE(f.close());
    EXPECT_EQ(messages.Requests().size(), 1u);
    EXPECT_FALSE(f.CloseTimer->isActive());
    EXPECT_FALSE(f.Simulation->Closing);
    EXPECT_EQ(f.MainBoard->Items.size(), items);
}

// A compiled program writes its device settings at every close, and comp.mod only with the
// front panel's auto-save option.
TEST_F(ShutdownTest, CompiledProgramWritesItsFilesAtClose)
{
    for (const bool autoSave : {false, true}) {
        SCOPED_TRACE(autoSave);
        form.reset();
        const QString compMod = dir.filePath(QStringLiteral("comp.mod"));
        {
            TForm1& writer = Make();
            writer.MainBoard->AddComponent(NewObject<TBTAnd>());
            writer.Projects->CompiledCopy = true;
            ASSERT_TRUE(writer.Projects->SaveProject(compMod));
            form.reset();
        }
        {
            QFile file(compMod);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)),
                                         QFileDevice::FileModificationTime));
        }
        QFile::remove(dir.filePath(QStringLiteral("Settings/HARDWARE.INI")));
        TFrontplatte panel;
        TForm1& f = Make({}, QStringLiteral("/opt/anlage/Messplatz"));
        f.Simulation->SimFast = false;
        f.show();
        f.FormShow();
        ASSERT_TRUE(f.Simulation->Running());
        panel.Options.AutoSave = autoSave;  // the option as the opened project has it
        EXPECT_FALSE(f.close());
        f.CloseTimerTimer();
        EXPECT_TRUE(messages.Requests().empty());
        EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("Settings/HARDWARE.INI"))));
        EXPECT_EQ(QFileInfo(compMod).lastModified().date().year() != 2001, autoSave);
        EXPECT_TRUE(Ctx().RuntimeMode);
        form.reset();
    }
}
