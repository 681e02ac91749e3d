// Simulation engine during a run: steps run from inside a step, the live refresh, the
// clock tick, the end of a run, the hardware and DDE hooks.
#include "core/EngineTestSupport.h"

#include "platform/Canvas.h"

#include <QImage>
#include <QPainter>
#include <stdexcept>

namespace {

// A hardware component whose device waits: its step runs further board steps through the step
// callback it was handed, WaitSteps of them when it runs in an outermost step, or in every
// step (also nested ones) when Runaway is set.
class TSimWaiter : public TSimProbe {
public:
    TV_CLASS_NAME(TSimWaiter)
    void Calculate() override
    {
        TSimProbe::Calculate();
        const int depth = Board->StepDepth();
        MaxDepth = std::max(MaxDepth, depth);
        if (!Step)
            return;
        if (Runaway) {
            Step();
            return;
        }
        if (depth == 1) {
            for (int k = 0; k < WaitSteps; ++k)
                Step();
        }
    }
    TStepCallback Step;
    int WaitSteps = 0;
    bool Runaway = false;
    int MaxDepth = 0;
};

// A component whose step fails.
class TSimFailing : public TSimProbe {
public:
    TV_CLASS_NAME(TSimFailing)
    void Calculate() override
    {
        if (Fail)
            throw std::runtime_error("device failed");
    }
    bool Fail = true;
};

// Stands for the DDE client component of the communication subsystem.
class TBT_DDE_Client : public TSimProbe {
public:
    TV_CLASS_NAME(TBT_DDE_Client)
};

class EngineRunTest : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        BoardServiceHooks().IsHardwareComponent = [](const TBauteil& item) {
            return dynamic_cast<const TSimWaiter*>(&item) != nullptr;
        };
        SimulationHooks().SetStepCallback = [this](TBauteil& item, const TStepCallback& step) {
            auto& waiter = static_cast<TSimWaiter&>(item);
            waiter.Step = step;
            events.push_back((step ? "callback " : "clear ") + waiter.Prefix()
                             + QString::number(waiter.Number));
        };
        SimulationHooks().PrepareInterface = [this](TBauteil& item) {
            auto& waiter = static_cast<TSimWaiter&>(item);
            events.push_back("prepare " + waiter.Prefix() + QString::number(waiter.Number));
        };
    }
    QStringList events;
};

TSimWaiter* PlaceWaiter(TPlatine& board, int column, int row = 0)
{
    auto* waiter = Place<TSimWaiter>(board, column, row);
    waiter->SetPrefix(QStringLiteral("HW"));
    return waiter;
}

TEST_F(EngineRunTest, AWaitingDeviceRunsWholeStepsFromInsideItsStep)
{
    TPlatine board;
    auto* source = Place<TSimSource>(board, 0);
    auto* waiter = PlaceWaiter(board, 2);
    auto* probe = Place<TSimProbe>(board, 4);
    WirePins(board, *source->Outputs[0], *probe->Inputs[0]);
    waiter->WaitSteps = 3;
    board.StartSimulation();
    ASSERT_TRUE(waiter->Step);

    source->Value = 1.0L;
    board.SimStep();
    // The outer step and the three it ran while waiting.
    EXPECT_EQ(board.StepCount, 4);
    EXPECT_EQ(waiter->Values.size(), 4u);
    EXPECT_EQ(probe->Values.size(), 4u);
    EXPECT_EQ(waiter->MaxDepth, 2);
    EXPECT_EQ(board.StepDepth(), 0);
}

TEST_F(EngineRunTest, NestedStepsStopAtTheDepthLimit)
{
    TPlatine board;
    auto* waiter = PlaceWaiter(board, 0);
    auto* probe = Place<TSimProbe>(board, 2);
    waiter->Runaway = true;
    board.StartSimulation();

    board.SimStep();
    EXPECT_EQ(waiter->MaxDepth, TPlatine::kMaxStepNesting);
    EXPECT_EQ(int(waiter->Values.size()), TPlatine::kMaxStepNesting);
    EXPECT_EQ(int(probe->Values.size()), TPlatine::kMaxStepNesting);
    EXPECT_EQ(board.StepCount, TPlatine::kMaxStepNesting);
    EXPECT_EQ(board.StepDepth(), 0);

    // The board steps normally afterwards.
    waiter->Runaway = false;
    board.SimStep();
    EXPECT_EQ(board.StepCount, TPlatine::kMaxStepNesting + 1);
}

TEST_F(EngineRunTest, HardwareInsideAMacroStepsTheTopBoard)
{
    TPlatine top;
    auto* outerWaiter = PlaceWaiter(top, 0);
    TMakro* macro = PlaceMacro(top, 2, 1, 1);
    auto* innerWaiter = PlaceWaiter(*macro->InnerBoard(), 0);
    auto* outerProbe = Place<TSimProbe>(top, 4);
    innerWaiter->WaitSteps = 2;

    top.StartSimulation();
    // Every callback is installed before any interface is prepared, board by board.
    EXPECT_EQ(events, (QStringList{"callback HW1", "prepare HW1", "callback HW1", "prepare HW1"}));
    ASSERT_TRUE(outerWaiter->Step && innerWaiter->Step);

    top.SimStep();
    EXPECT_EQ(top.StepCount, 3);
    EXPECT_EQ(outerProbe->Values.size(), 3u);
    EXPECT_EQ(macro->InnerBoard()->StepCount, 0);
}

TEST_F(EngineRunTest, EndingARunClearsEveryCallbackAndReleasesTheConversations)
{
    TPlatine top;
    auto* waiter = PlaceWaiter(top, 0);
    TMakro* macro = PlaceMacro(top, 2, 1, 1);
    auto* innerWaiter = PlaceWaiter(*macro->InnerBoard(), 0);
    auto* probe = Place<TSimProbe>(top, 4);
    auto* innerProbe = Place<TSimProbe>(*macro->InnerBoard(), 3);
    int released = 0;
    SimulationHooks().ReleaseDdeConversations = [&released] { ++released; };

    top.StartSimulation();
    EXPECT_EQ(probe->Resets, 1);
    EXPECT_EQ(innerProbe->Resets, 1);
    const TStepCallback kept = waiter->Step;  // a device that kept a copy
    kept();
    EXPECT_EQ(top.StepCount, 1);

    events.clear();
    top.EndSimulation();
    EXPECT_FALSE(waiter->Step);
    EXPECT_FALSE(innerWaiter->Step);
    EXPECT_EQ(events, (QStringList{"clear HW1", "clear HW1"}));
    EXPECT_EQ(released, 1);
    EXPECT_EQ(probe->Ends, 1);
    EXPECT_EQ(innerProbe->Ends, 1);
    EXPECT_EQ(probe->Resets, 2);  // SimEnd resets by default
    EXPECT_EQ(innerProbe->Resets, 2);

    kept();  // after the end the callback steps nothing
    EXPECT_EQ(top.StepCount, 1);
    EXPECT_EQ(probe->Values.size(), 1u);

    top.StartSimulation();  // a new run brings the callbacks back
    ASSERT_TRUE(waiter->Step);
    waiter->Step();
    EXPECT_EQ(top.StepCount, 2);
}

TEST_F(EngineRunTest, CallbackOfADestroyedBoardDoesNothing)
{
    TStepCallback kept;
    {
        TPlatine board;
        auto* waiter = PlaceWaiter(board, 0);
        board.StartSimulation();
        kept = waiter->Step;
    }
    ASSERT_TRUE(kept);
    kept();  // must not touch the freed board
}

TEST_F(EngineRunTest, AFailingStepLeavesTheBoardSteppable)
{
    TPlatine board;
    auto* failing = Place<TSimFailing>(board, 0);
    auto* probe = Place<TSimProbe>(board, 2);
    board.StartSimulation();
    EXPECT_THROW(board.SimStep(), std::runtime_error);
    EXPECT_EQ(board.StepDepth(), 0);
    failing->Fail = false;
    board.SimStep();
    EXPECT_EQ(board.StepCount, 2);
    EXPECT_EQ(probe->Values.size(), 1u);
}

TEST_F(EngineRunTest, WireRefreshMarksTheComponentsWhosePinsChanged)
{
    TPlatine board;
    auto* source = Place<TSimSource>(board, 0);
    auto* probe = Place<TSimProbe>(board, 2);
    WirePins(board, *source->Outputs[0], *probe->Inputs[0]);
    board.StartSimulation();
    board.SimStep();
    board.RefreshWires();
    board.RefreshLiveDisplays();
    EXPECT_FALSE(probe->StateChanged);

    source->Value = 5.0L;
    board.SimStep();
    board.RefreshWires();
    EXPECT_FALSE(probe->PinsChanged);  // its pin lines were repainted
    EXPECT_TRUE(probe->StateChanged);
    EXPECT_TRUE(source->StateChanged);
    board.RefreshLiveDisplays();
    EXPECT_FALSE(probe->StateChanged);

    board.SimStep();  // nothing changed: nothing marked
    board.RefreshWires();
    EXPECT_FALSE(probe->StateChanged);
}

TEST_F(EngineRunTest, StateDisplaysFollowTheButtonsOnEveryBoard)
{
    TPlatine top;
    auto* probe = Place<TSimProbe>(top, 0);
    TMakro* macro = PlaceMacro(top, 2, 1, 1);
    auto* innerProbe = Place<TSimProbe>(*macro->InnerBoard(), 0);
    int invalidated = 0;
    top.OnInvalidateRect = [&invalidated](const TRect&) { ++invalidated; };
    top.PrepareSimulation();
    probe->PinsChanged = innerProbe->PinsChanged = true;
    probe->StateChanged = innerProbe->StateChanged = true;

    top.SetShowWireStates(true);
    EXPECT_TRUE(probe->ShowLineStates);
    EXPECT_TRUE(innerProbe->ShowLineStates);
    EXPECT_FALSE(probe->PinsChanged);
    EXPECT_FALSE(innerProbe->PinsChanged);
    EXPECT_EQ(invalidated, 0);  // not shown: nothing to repaint

    top.Visible = true;
    top.SetShowComponentStates(true);
    EXPECT_TRUE(probe->ShowStates);
    EXPECT_TRUE(innerProbe->ShowStates);
    EXPECT_FALSE(innerProbe->StateChanged);
    EXPECT_EQ(invalidated, int(top.Items.size()));

    top.SetShowWireStates(false);
    EXPECT_FALSE(innerProbe->ShowLineStates);
}

TEST_F(EngineRunTest, DdeClientsOfEveryBoardAreConnected)
{
    TPlatine top;
    auto* client = Place<TBT_DDE_Client>(top, 0);
    Place<TSimProbe>(top, 1);
    TMakro* macro = PlaceMacro(top, 2, 1, 1);
    auto* innerClient = Place<TBT_DDE_Client>(*macro->InnerBoard(), 0);
    const int conversation = 0;
    std::vector<std::pair<TIOBauteil*, TPlatine*>> connected;
    std::vector<TIOBauteil*> closed;
    SimulationHooks().ConnectDdeClient = [&](TIOBauteil& c, TPlatine& board) {
        connected.emplace_back(&c, &board);
        board.DdeConversationClosed(&conversation);  // a close while connecting is ignored
    };
    SimulationHooks().DdeConversationClosed = [&](TIOBauteil& c, const void* which) {
        EXPECT_EQ(which, &conversation);
        closed.push_back(&c);
    };

    top.StartSimulation();
    ASSERT_EQ(connected.size(), 2u);
    EXPECT_EQ(connected[0], std::make_pair(static_cast<TIOBauteil*>(client), &top));
    EXPECT_EQ(connected[1],
              std::make_pair(static_cast<TIOBauteil*>(innerClient), macro->InnerBoard()));
    EXPECT_TRUE(closed.empty());

    // Later a conversation closes: the clients of the board it reported to hear of it.
    top.DdeConversationClosed(&conversation);
    EXPECT_EQ(closed, std::vector<TIOBauteil*>{client});
}

} // namespace
