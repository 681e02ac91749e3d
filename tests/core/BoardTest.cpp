// The board's items: adding, removing, numbering, board names, pin segments and events.
#include "core/BoardTestSupport.h"

#include <QStringList>

namespace {

class BoardTest : public BoardFixture {};

// Stands for the DDE server component of the communication subsystem.
class TFakeDdeServer : public TIOBauteil {
public:
    const char* ClassName() const override { return kDdeServerClassName; }
};

// Records the element names the board gives.
class TNamingFrontPanel : public TFrontPanelHooks {
public:
    QStringList names;
    QStringList web;
    void SetElementName(TFP_Element& element, const QString& name) override
    {
        names << QString::number(*reinterpret_cast<int*>(&element)) + QLatin1Char('=') + name;
    }
    void StopWebServer() override { web << QStringLiteral("stop"); }
    void StartWebServer() override { web << QStringLiteral("start"); }
};

QStringList Designators(const TPlatine& board)
{
    QStringList out;
    for (TIOBauteil* c : ItemsOf<TIOBauteil>(board))
        out << c->Prefix() + QString::number(c->Number);
    return out;
}

void SelectOnly(TPlatine& board, const std::vector<TBauteil*>& items)
{
    for (auto& item : board.Items)
        item->SetSelected(false);
    for (TBauteil* item : items)
        item->SetSelected(true);
}

TEST_F(BoardTest, NumbersAreDensePerClassAfterAdditionsAndRemovals)
{
    TNamingFrontPanel panel;
    InstallFrontPanelHooks(&panel);
    QStringList removed;
    TPlatine board;
    int elementIds[3] = {101, 102, 103};
    TTestLed* leds[3];
    for (int k = 0; k < 3; ++k) {
        leds[k] = Add<TTestLed>(board);
        Add<TTestAnd>(board);
    }
    for (int k = 0; k < 3; ++k)
        leds[k]->SetLink(reinterpret_cast<TFP_Element*>(&elementIds[k]));
    EXPECT_EQ(Designators(board), (QStringList{"LED1", "G1", "LED2", "G2", "LED3", "G3"}));

    // Deleting LED2 turns LED3 into LED2, and its element bears the new name.
    panel.names.clear();
    board.OnEntferneBauteil = [&](TPlatine* b, TIOBauteil* c) {
        EXPECT_GE(b->IndexOfItem(c), 0);  // still on the board when the event fires
        removed << c->Prefix() + QString::number(c->Number);
    };
    SelectOnly(board, {leds[1]});
    board.DeleteSelection();
    EXPECT_EQ(removed, QStringList{"LED2"});
    EXPECT_EQ(Designators(board), (QStringList{"LED1", "G1", "G2", "LED2", "G3"}));
    EXPECT_EQ(panel.names, (QStringList{"101=LED1", "103=LED2"}));
    EXPECT_EQ(panel.web, (QStringList{"stop", "start"}));

    // A new component takes the next number of its class only.
    Add<TTestAnd>(board);
    EXPECT_EQ(Designators(board).last(), QStringLiteral("G4"));
}

TEST_F(BoardTest, DestroyRemovesComponentsLastFirst)
{
    QStringList removed;
    {
        TPlatine board;
        Add<TTestLed>(board);
        Add<TTestAnd>(board);
        board.AddSegment(QPoint(0, 0), QPoint(20, 0));
        Add<TTestLed>(board);
        board.OnEntferneBauteil = [&](TPlatine*, TIOBauteil* c) {
            removed << c->Prefix() + QString::number(c->Number);
        };
    }
    EXPECT_EQ(removed, (QStringList{"LED2", "G1", "LED1"}));
}

TEST_F(BoardTest, ComponentTakesItsPinSegmentsAlong)
{
    TPlatine board;
    TTestAnd* gate = Add<TTestAnd>(board);
    TTestLed* led = Add<TTestLed>(board);
    EXPECT_EQ(PinSegments(board).size(), 4u);

    // A pin segment deselected on its own stays with its component when the component goes.
    SelectOnly(board, {gate});
    gate->Inputs[0]->Segment->Selected = false;
    board.DeleteSelection();
    ASSERT_EQ(PinSegments(board).size(), 1u);
    EXPECT_EQ(PinSegments(board)[0]->Owner, led);

    // A pin segment removed alone no longer hangs on its pin.
    board.RemoveObject(led->Inputs[0]->Segment);
    EXPECT_EQ(led->Inputs[0]->Segment, nullptr);
    led->SetSelected(true);  // must not touch the freed segment
}

TEST_F(BoardTest, PinCountChangeRebuildsPinSegments)
{
    TPlatine board;
    TMakro* macro = Add<TMakro>(board);
    EXPECT_EQ(PinSegments(board).size(), 2u);
    macro->SetPinTotal(6);
    const auto segments = PinSegments(board);
    ASSERT_EQ(segments.size(), 6u);
    for (const auto& pin : macro->Outputs) {
        auto* segment = static_cast<TSegment*>(pin->Segment);
        ASSERT_NE(segment, nullptr);
        EXPECT_EQ(board.IndexOfItem(segment) >= 0, true);
        EXPECT_FALSE(segment->InputSide);
        EXPECT_EQ(QPoint(segment->X1, segment->Y1), QPoint(pin->X, pin->Y));
    }
}

TEST_F(BoardTest, BoardNamesFollowTheMacroHierarchy)
{
    QStringList dde;  // outlives the boards, whose removals rename DDE servers
    BoardServiceHooks().SetDdeServerTopic = [&](TIOBauteil&, const QString& topic) {
        dde << QStringLiteral("topic ") + topic;
    };
    BoardServiceHooks().CreateDdeServerItems = [&](TIOBauteil&) { dde << QStringLiteral("items"); };

    TPlatine top;
    TMakro* first = Add<TMakro>(top);
    TPlatine* firstInner = top.CreateInnerBoard(*first);
    TMakro* second = Add<TMakro>(top);
    TPlatine* secondInner = top.CreateInnerBoard(*second);
    TMakro* nested = Add<TMakro>(*secondInner);
    TPlatine* nestedInner = secondInner->CreateInnerBoard(*nested);

    // An inner board that is not named yet registers no DDE items.
    dde.clear();
    nestedInner->AddComponent(NewObject<TFakeDdeServer>());
    EXPECT_EQ(dde, QStringList{QStringLiteral("topic MAIN")});

    top.SetBoardName(QStringLiteral("MAIN"));
    EXPECT_EQ(firstInner->BoardName, QStringLiteral("MAIN_MCR1"));
    EXPECT_EQ(secondInner->BoardName, QStringLiteral("MAIN_MCR2"));
    EXPECT_EQ(nestedInner->BoardName, QStringLiteral("MAIN_MCR2_MCR1"));
    EXPECT_EQ(dde.last(), QStringLiteral("topic MAIN_MCR2_MCR1"));

    // Removing the first macro renumbers the second, and the names follow recursively.
    dde.clear();
    SelectOnly(top, {first});
    top.DeleteSelection();
    EXPECT_EQ(second->Number, 1);
    EXPECT_EQ(secondInner->BoardName, QStringLiteral("MAIN_MCR1"));
    EXPECT_EQ(nestedInner->BoardName, QStringLiteral("MAIN_MCR1_MCR1"));
    EXPECT_TRUE(dde.contains(QStringLiteral("topic MAIN_MCR1_MCR1")));
    EXPECT_TRUE(dde.contains(QStringLiteral("items")));
}

TEST_F(BoardTest, DeletingMacroPinFlagIsRaisedOnlyForMacroPins)
{
    QStringList seen;
    TPlatine board;
    TBTPin* pin = Add<TBTPin>(board);
    TTestLed* led = Add<TTestLed>(board);
    board.OnEntferneBauteil = [&](TPlatine* b, TIOBauteil* c) {
        seen << QString::fromLatin1(c->ClassName()) + (b->DeletingMacroPin ? "+" : "-")
                    + (b->NoPaint ? "n" : "");
    };
    SelectOnly(board, {led, pin});
    board.DeleteSelection();
    EXPECT_EQ(seen, (QStringList{"TBTPin+n", "TTestLed-n"}));
    EXPECT_FALSE(board.DeletingMacroPin);
    EXPECT_FALSE(board.NoPaint);
    EXPECT_TRUE(board.Items.empty());
}

TEST_F(BoardTest, InnerMacroPinRenameReachesTheMacroBlock)
{
    TPlatine top;
    TMakro* macro = Add<TMakro>(top);
    TPlatine* inner = top.CreateInnerBoard(*macro);
    TBTPin* a = Add<TBTPin>(*inner);
    TBTPin* b = Add<TBTPin>(*inner);
    macro->TakePinsFromBoard(*inner);
    EXPECT_EQ(inner->MacroPinCount(), 2);
    b->SetPinName(QStringLiteral("OUT"));
    ASSERT_TRUE(b->OnNameChanged);
    b->OnNameChanged(b);
    EXPECT_EQ(macro->Outputs[0]->Name(), QStringLiteral("OUT"));
    EXPECT_EQ(inner->MacroPinLabel(2), QStringLiteral("OUT"));
    EXPECT_EQ(inner->MacroPinLabel(3), QString());
    (void)a;
}

TEST_F(BoardTest, RedrawRequestsAreSkippedWhileNoPaint)
{
    TPlatine board;
    std::vector<TRect> areas;
    int repaints = 0;
    board.OnInvalidateRect = [&](const TRect& r) { areas.push_back(r); };
    board.OnRepaint = [&]() { ++repaints; };
    TSegment* wire = board.AddSegment(QPoint(0, 0), QPoint(100, 0));
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0], (TRect{-8, -8, 108, 8}));

    areas.clear();
    SelectOnly(board, {wire});
    board.DeleteSelection();  // removals paint nothing; one repaint at the end
    EXPECT_TRUE(areas.empty());
    EXPECT_EQ(repaints, 1);
}

TEST_F(BoardTest, JumpsAreCollectedInItemOrder)
{
    class TFakeJump : public TIOBauteil {
    public:
        const char* ClassName() const override { return kJumpClassName; }
    };
    TPlatine board;
    TIOBauteil* first = board.AddComponent(NewObject<TFakeJump>());
    Add<TTestLed>(board);
    TIOBauteil* second = board.AddComponent(NewObject<TFakeJump>());
    board.CollectJumps();
    EXPECT_EQ(board.Jumps, (std::vector<TIOBauteil*>{first, second}));
    board.RemoveObject(first);
    EXPECT_EQ(board.Jumps, std::vector<TIOBauteil*>{second});  // no dangling reference
}

} // namespace
