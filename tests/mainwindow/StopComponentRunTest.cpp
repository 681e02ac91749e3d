// A project started from the command line with " /RUN" runs until its stop component sees a
// falling edge; the stop writes the component state file as it fires, so a counter listed
// after the stop has not yet counted the edge that stopped the run.

#include "MainWindowTestSupport.h"

#include "components/core/SimulationStop.h"
#include "components/digital/Counters.h"
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
        // An inverter fed back on itself toggles every step; the stop watches its output, and
        // two counters, one listed before the stop and one after it, count the same edges.
        auto* inverter = static_cast<TIOBauteil*>(board.AddComponent(NewObject<TBTInverter>()));
        auto* before = static_cast<TIOBauteil*>(board.AddComponent(NewObject<TBTCNT8>()));
        auto* stop = static_cast<TIOBauteil*>(board.AddComponent(NewObject<TBTStop>()));
        auto* after = static_cast<TIOBauteil*>(board.AddComponent(NewObject<TBTCNT8>()));
        stop->MoveBy(600, 0);
        before->MoveBy(600, 600);
        after->MoveBy(600, 1400);
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
        // The clock line runs down the lane to each counter's clock input on its right.
        QPoint tap(lane, out.y());
        for (TIOBauteil* counter : {before, after}) {
            const QPoint clock(counter->Inputs[0]->X, counter->Inputs[0]->Y);
            ASSERT_GT(clock.x(), lane);
            board.AddWire(tap, QPoint(lane, clock.y()));
            board.AddWire(QPoint(lane, clock.y()), clock);
            tap = QPoint(lane, clock.y());
        }
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
    // Both counters saw the falling edge that fired the stop; only the one before it counted.
    EXPECT_EQ(states.ReadInteger(QStringLiteral("MAIN.Z8BIN1"), QStringLiteral("Z"), -1), 1);
    EXPECT_EQ(states.ReadInteger(QStringLiteral("MAIN.Z8BIN2"), QStringLiteral("Z"), -1), 0);
}
