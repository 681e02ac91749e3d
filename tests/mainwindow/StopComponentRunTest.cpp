// A project started from the command line with " /RUN" runs until its stop component sees a
// falling edge; the stop writes the component state file.

#include "MainWindowTestSupport.h"

#include "components/core/SimulationStop.h"
#include "components/digital/FlipFlops.h"
#include "components/digital/Gates.h"
#include "core/engine/StateFile.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"

#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>

TEST_F(MainWindowFixture, StopComponentEndsACommandLineRunAndWritesTheStateFile)
{
    const QString project = dir.path() + QStringLiteral("/Stopp.prj");
    {
        TForm1& writer = Make();
        TPlatine& board = *writer.MainBoard;
        // An inverter fed back on itself toggles every step; the stop watches its output.
        auto* inverter = static_cast<TIOBauteil*>(board.AddComponent(NewObject<TBTInverter>()));
        auto* stop = static_cast<TIOBauteil*>(board.AddComponent(NewObject<TBTStop>()));
        stop->MoveBy(600, 0);
        // A flip-flop keeps its state in the state file.
        board.AddComponent(NewObject<TBTRSFF>())->MoveBy(0, 600);
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
        ASSERT_TRUE(writer.Projects->SaveProject(project));
        form.reset();
    }
    const QString stateFile = ComponentStateFileName(project);
    QFile::remove(stateFile);

    TForm1& f = Make({project, QStringLiteral("/RUN")});
    f.FormShow();
    QElapsedTimer guard;
    guard.start();
    while (f.Simulation->Running() && guard.elapsed() < 20000)
        QCoreApplication::processEvents();
    EXPECT_FALSE(f.Simulation->Running());
    ASSERT_TRUE(QFileInfo::exists(stateFile)) << qPrintable(stateFile);
    TIniFile states(stateFile);
    EXPECT_TRUE(states.SectionExists(QStringLiteral("MAIN.RS1")));
}
